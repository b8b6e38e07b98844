// The help window: stored layout and text, refused resizing, close hides, reopening.
#include <gtest/gtest.h>

#include "AppTestUtil.h"
#include "UnitHelp.h"
#include "skin/SkinMessages.h"
#include "skin/data/WinSkinData.h"

using namespace apptest;

namespace {
const std::vector<std::wstring> kUsage = {
    L"一、概述",
    L"    文件加密在信息时代必不可少。尽管像Word，Excel，WinZip，WinRAR等工具软件本身也有密码保护机",
    L"制，但是这是轻量级的，根本抵抗不住专业破解。因此，出现了各种加密API的国际标准和规范。其中微软",
    L"CryptoAPI是一个有足够强度的加密标准。本软件把CryptoAPI变成了现实工具。 ",
    L"二、使用 ",
    L"1.文件加密",
    L"（1）在“方式选择”上选择“加密”",
    L"（2）按“选择源文件”，选择需要加密的文件",
    L"（3）按“目标路径”右边的“选择”，选择加密文件的存放位置",
    L"（4）按“加密”",
    L"2.文件解密",
    L"（1）在“方式选择”上选择“解密”",
    L"（2）按“选择源文件”，选择需要解密的文件",
    L"（3）按“目标路径”右边的“选择”，选择解密文件的存放位置",
    L"（4）按“解密”",
};

bool* ModalSeen = nullptr;

// Timer procedure: presses "&C 关闭" of the help window once it runs modally.
void CALLBACK CloseModalHelp(HWND, UINT, UINT_PTR, DWORD) {
  if (app::FormHelp && app::FormHelp->Visible() && app::FormHelp->Modal()) {
    *ModalSeen = true;
    Click(app::FormHelp->Button1);
  }
}

}  // namespace

TEST(HelpWindow, StoredLayoutAndText) {
  app::RegisterAppClasses();
  app::TFormHelp help(fw::Application);
  help.AfterConstruction();
  EXPECT_EQ(help.Caption(), L"简要说明");
  EXPECT_FALSE(help.Visible());
  help.HandleNeeded();
  EXPECT_EQ(help.ClientWidth(), 606);
  EXPECT_EQ(help.ClientHeight(), 317);
  EXPECT_EQ(help.Font()->Name(), L"宋体");
  EXPECT_EQ(help.Font()->Height(), -12);
  EXPECT_EQ(help.Font()->Charset(), GB2312_CHARSET);
  EXPECT_EQ(help.Panel1->Align(), fw::alBottom);
  EXPECT_EQ(help.Panel1->Height(), 35);
  EXPECT_EQ(help.Button1->Parent(), help.Panel1);
  EXPECT_EQ(help.Button1->Caption(), L"&C 关闭");
  EXPECT_EQ(help.Button1->BoundsRect().left, 279);
  EXPECT_EQ(help.Button1->BoundsRect().top, 6);
  EXPECT_EQ(help.Button1->Width(), 75);
  EXPECT_EQ(help.Button1->Height(), 25);
  EXPECT_EQ(help.RichEdit1->Align(), fw::alClient);
  EXPECT_TRUE(help.RichEdit1->ReadOnly());
  EXPECT_EQ(help.RichEdit1->Font()->Name(), L"宋体");
  EXPECT_EQ(help.RichEdit1->Lines()->ToVector(), kUsage);
  // Centred on the desktop.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  help.Show();
  Pump();
  RECT r = WindowRect(help.Handle());
  EXPECT_LE(std::abs((r.left + r.right) / 2 - (work.left + work.right) / 2), 2);
}

TEST(HelpWindow, RefusesResizingHidesOnCloseAndReopensTheSame) {
  app::RegisterAppClasses();
  auto* help = new app::TFormHelp(fw::Application);
  help->AfterConstruction();
  help->Show();
  Pump();
  HWND wnd = help->Handle();
  const RECT before = WindowRect(wnd);
  // A border drag asks through WM_SIZING; a programmatic resize goes through WM_WINDOWPOSCHANGING.
  RECT drag = before;
  drag.right += 80;
  drag.bottom += 40;
  SendMessageW(wnd, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&drag));
  EXPECT_EQ(drag.right - drag.left, before.right - before.left);
  EXPECT_EQ(drag.bottom - drag.top, before.bottom - before.top);
  SetWindowPos(wnd, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  RECT after = WindowRect(wnd);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);

  // "&C 关闭" hides the window; opened again it shows the same text at the same size.
  Click(help->Button1);
  Pump();
  EXPECT_FALSE(IsWindowVisible(wnd));
  EXPECT_TRUE(IsWindow(wnd));
  help->Show();
  Pump();
  after = WindowRect(help->Handle());
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  EXPECT_EQ(help->RichEdit1->Lines()->ToVector(), kUsage);
  // A click on the bottom panel closes it too.
  SendMessageW(help->Panel1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(help->Panel1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  Pump();
  EXPECT_FALSE(IsWindowVisible(help->Handle()));
  delete help;
}

TEST(HelpWindow, OpensModallyFromTheMainWindow) {
  BoxRecorder boxes;
  MainWindow w;
  app::FormHelp = nullptr;
  bool shown = false;
  // The command runs a modal loop; a timer closes the help window from inside it.
  ModalSeen = &shown;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, &CloseModalHelp);
  SendMessageW(w->Handle(), WM_COMMAND, MAKEWPARAM(static_cast<fw::TMenuItem*>(w->FindComponent(L"MHDoc"))->Command(), 0), 0);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(shown);
  ASSERT_NE(app::FormHelp, nullptr);
  EXPECT_FALSE(app::FormHelp->Visible());
  delete app::FormHelp;
  app::FormHelp = nullptr;
}

namespace {

// The window's client area as the screen shows it, row by row.
std::vector<std::uint32_t> ClientPixels(HWND wnd) {
  RECT c{};
  GetClientRect(wnd, &c);
  const int w = c.right, h = c.bottom;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
  HDC screen = GetDC(wnd);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(), &bi, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(wnd, screen);
  return pixels;
}

}  // namespace

// The help window refuses resizing by the user; the skin's own size changes go through, and
// five times off and on leave it exactly as it was, pixel for pixel.
TEST(HelpWindow, SkinOffAndOnFiveTimesLeavesItExactly) {
  MainWindow w;
  auto* data = dynamic_cast<skin::TSkinData*>(w->FindComponent(L"SkinData1"));
  ASSERT_NE(data, nullptr);
  ASSERT_FALSE(data->NoSkin());
  ASSERT_TRUE(data->Active());  // the program starts skinned; the cycles start from the system look
  data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return SendMessageW(w->Handle(), skin::WM_SKIN_QUERY, 0, 0) == 0; }));
  auto help = std::make_unique<app::TFormHelp>(fw::Application);
  help->AfterConstruction();
  help->Show();
  Pump();
  HWND wnd = help->Handle();
  const RECT window = WindowRect(wnd);
  RECT client{};
  GetClientRect(wnd, &client);
  const LONG style = GetWindowLongW(wnd, GWL_STYLE);
  const auto pixels = ClientPixels(wnd);
  const auto skinned = [&] { return SendMessageW(wnd, skin::WM_SKIN_QUERY, 0, 0) == 1; };
  ASSERT_FALSE(skinned());
  for (int cycle = 0; cycle < 5; ++cycle) {
    SCOPED_TRACE(cycle);
    data->SetActive(true);
    ASSERT_TRUE(PumpUntil(skinned));
    Pump();
    RECT c{};
    GetClientRect(wnd, &c);
    EXPECT_TRUE(EqualRect(&c, &client));  // the skinned frame goes round the same client area
    data->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return !skinned(); }));
    Pump();
    const RECT r = WindowRect(wnd);
    GetClientRect(wnd, &c);
    EXPECT_TRUE(EqualRect(&r, &window));
    EXPECT_TRUE(EqualRect(&c, &client));
    EXPECT_EQ(GetWindowLongW(wnd, GWL_STYLE), style);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(wnd, region), ERROR);  // no region left
    DeleteObject(region);
    EXPECT_TRUE(ClientPixels(wnd) == pixels);
  }
  help->Hide();
}
