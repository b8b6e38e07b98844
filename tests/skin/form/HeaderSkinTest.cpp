// Column headers drawn by the skin: a list view's header and a stand-alone header control, the
// hot item under a real mouse, item images, and the header given back.
#include <gtest/gtest.h>

#include "Pixels.h"
#include "ComCtrls.h"
#include "FormSkinFixture.h"
#include "UserInput.h"
#include "skin/controls/SkinHeader.h"

using namespace formtest;
using skin::SetOf;
using skin::SkinManager;
using skin::TWinSkinForm;

namespace {

using pixels::Rgb;
constexpr std::uint32_t kNormal = 0x4070C0, kHot = 0xC07040;

TestSkin HeaderSkin() {
  TestSkin s = FrameSkin();
  s.ScrollParts(GetSystemMetrics(SM_CXVSCROLL), [](int i) { return static_cast<std::uint32_t>(i) << 16; }, 0x30C0A0,
                0x606060, 0xD04080);
  s.Strip("header.bmp", 20, 20, {kNormal, kHot});
  s.Ini += "[Headerbar]\nImage=header.bmp\nFrame=2\nLeftWidth=2\nRightWidth=2\nTopHeight=2\nBottomHeight=2\n";
  return s;
}

struct THeaderWorld {
  THeaderWorld() {
    LoadTestSkin(*World.Data, HeaderSkin());
    World.Data->SkinControls = SetOf(skin::xcScrollbar) | SetOf(skin::xcButton);
    Form.SetBounds(100, 100, 420, 320);
    List = new fw::TListView(&Form);
    List->SetParent(&Form);
    List->SetBounds(10, 10, 380, 200);
    List->SetViewStyle(fw::vsReport);
    for (const wchar_t* caption : {L"名称", L"大小", L"日期"}) {
      auto* column = List->Columns()->Add();
      column->SetCaption(caption);
      column->SetWidth(100);
    }
    for (int i = 0; i < 5; ++i) List->AddItem(L"文件 " + std::to_wstring(i), {L"1 KB", L"今天"});
    Form.Show();
    Pump();
    SkinManager->SkinWindow(Form.Handle());
    Pump();
    Skin = SkinManager->FindSkinForm(Form.Handle());
    Header = reinterpret_cast<HWND>(SendMessageW(List->Handle(), LVM_GETHEADER, 0, 0));
    ListSkin = Skin ? dynamic_cast<skin::TSkinListView*>(Skin->FindControlByHandle(List->Handle())) : nullptr;
  }
  std::uint32_t HeaderPixel(int x, int y) const {
    RedrawWindow(Header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return pixels::ClientPixel(Header, x, y);
  }
  RECT Item(int i) const {
    RECT r{};
    SendMessageW(Header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  POINT ScreenOf(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(Header, &p);
    return p;
  }
  TSkinnedWorld World;
  fw::TForm Form{nullptr};
  fw::TListView* List = nullptr;
  TWinSkinForm* Skin = nullptr;
  HWND Header = nullptr;
  skin::TSkinListView* ListSkin = nullptr;
};

}  // namespace

TEST(HeaderSkin, AListViewsHeaderIsDrawnFromTheHeaderBarAndFollowsTheMouse) {
  THeaderWorld w;
  ASSERT_NE(w.ListSkin, nullptr);
  ASSERT_NE(w.ListSkin->FHeader, nullptr);
  ASSERT_TRUE(w.Header);
  EXPECT_EQ(SendMessageW(w.Header, skin::WM_SKIN_QUERY, 0, 0), 1);
  const RECT first = w.Item(0), second = w.Item(1);
  const int y = (first.bottom - first.top) / 2;
  // Every item and the empty area to the right in the normal frame (item text avoided).
  EXPECT_EQ(w.HeaderPixel(first.right - 4, y), kNormal);
  EXPECT_EQ(w.HeaderPixel(second.right - 4, y), kNormal);
  RECT client{};
  GetClientRect(w.Header, &client);
  EXPECT_EQ(w.HeaderPixel(client.right - 4, y), kNormal);

  // One item hot at a time as the mouse crosses the header.
  userinput::Mouse(0, w.ScreenOf(first.right - 10, y));
  PumpUntil([&] { return w.ListSkin->FHeader->FHotItem == 0; }, 1000);
  EXPECT_EQ(w.ListSkin->FHeader->FHotItem, 0);
  EXPECT_EQ(w.HeaderPixel(first.right - 4, y), kHot);
  EXPECT_EQ(w.HeaderPixel(second.right - 4, y), kNormal);
  userinput::Mouse(0, w.ScreenOf(second.right - 10, y));
  PumpUntil([&] { return w.ListSkin->FHeader->FHotItem == 1; }, 1000);
  EXPECT_EQ(w.HeaderPixel(first.right - 4, y), kNormal);
  EXPECT_EQ(w.HeaderPixel(second.right - 4, y), kHot);
  // Leaving the header clears it.
  userinput::Mouse(0, {1200, 1000});
  PumpUntil([&] { return w.ListSkin->FHeader->FHotItem == -1; }, 1000);
  EXPECT_EQ(w.ListSkin->FHeader->FHotItem, -1);
  EXPECT_EQ(w.HeaderPixel(second.right - 4, y), kNormal);
}

TEST(HeaderSkin, AnImageItemShowsItsImageAndAnEmptyHeaderShowsOnlyTheEmptyArea) {
  THeaderWorld w;
  ASSERT_NE(w.ListSkin, nullptr);
  // An image list of solid green 12x12 images on the header; item 1 asks for image 0.
  HIMAGELIST images = ImageList_Create(12, 12, ILC_COLOR24, 1, 1);
  {
    HDC screen = GetDC(nullptr);
    HBITMAP green = CreateCompatibleBitmap(screen, 12, 12);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, green);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0xC0, 0));
    RECT all{0, 0, 12, 12};
    FillRect(dc, &all, brush);
    SelectObject(dc, old);  // a bitmap goes into an image list only when no DC holds it
    DeleteObject(brush);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(ImageList_Add(images, green, nullptr), 0);
    DeleteObject(green);
  }
  SendMessageW(w.Header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  HDITEMW item{};
  item.mask = HDI_FORMAT | HDI_IMAGE;
  item.fmt = HDF_LEFT | HDF_STRING | HDF_IMAGE;
  item.iImage = 0;
  SendMessageW(w.Header, HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  const RECT second = w.Item(1);
  const int h = second.bottom - second.top;
  bool green = false;
  RedrawWindow(w.Header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(w.Header);
  for (int x = second.left; x < second.left + 30 && !green; ++x) green = Rgb(GetPixel(dc, x, h / 2)) == 0x00C000;
  ReleaseDC(w.Header, dc);
  EXPECT_TRUE(green) << "the item's image is drawn";
  // Item 0 has no image flag: none of its pixels is the image's.
  dc = GetDC(w.Header);
  bool firstGreen = false;
  for (int x = 0; x < 40; ++x) firstGreen |= Rgb(GetPixel(dc, x, h / 2)) == 0x00C000;
  ReleaseDC(w.Header, dc);
  EXPECT_FALSE(firstGreen);

  // Without items the frame of the empty area spans the whole header.
  while (SendMessageW(w.Header, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageW(w.Header, HDM_DELETEITEM, 0, 0);
  EXPECT_EQ(w.HeaderPixel(10, h / 2), kNormal);
  EXPECT_TRUE(w.ListSkin->FHeader->FItemRects.empty());
  SendMessageW(w.Header, HDM_SETIMAGELIST, 0, 0);
  ImageList_Destroy(images);
}

TEST(HeaderSkin, SkinOffGivesTheHeaderBackAndOnAgainSkinsItOnce) {
  THeaderWorld w;
  ASSERT_NE(w.ListSkin, nullptr);
  const int live = skin::TSkinControl::LiveCount();
  EXPECT_GE(live, 2);  // the list view's and its header's
  const RECT first = w.Item(0);
  const int y = (first.bottom - first.top) / 2;
  TSkinnedWorld::TakeOff(w.Skin);
  Pump();
  EXPECT_NE(SendMessageW(w.Header, skin::WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_NE(SendMessageW(w.List->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_NE(w.HeaderPixel(first.right - 4, y), kNormal);  // the system's look
  EXPECT_EQ(skin::TSkinControl::LiveCount(), 0);  // the header skin is gone too
  SkinManager->SkinWindow(w.Form.Handle());
  Pump();
  TWinSkinForm* skin = SkinManager->FindSkinForm(w.Form.Handle());
  ASSERT_NE(skin, nullptr);
  int headers = 0;
  for (skin::TSkinControl* c : skin->FControls) headers += c->Handle() == w.Header;
  EXPECT_EQ(headers, 1);
  EXPECT_EQ(w.HeaderPixel(first.right - 4, y), kNormal);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
}

TEST(HeaderSkin, AStandAloneHeaderControlIsSkinnedAsAButtonRow) {
  TSkinnedWorld world;
  LoadTestSkin(*world.Data, HeaderSkin());
  world.Data->SkinControls = SetOf(skin::xcButton);
  fw::TForm form{nullptr};
  form.SetBounds(100, 100, 300, 200);
  auto* header = new fw::THeaderControl(&form);
  header->SetParent(&form);
  header->Sections()->Add()->SetText(L"甲");
  form.Show();
  Pump();
  SkinManager->SkinWindow(form.Handle());
  Pump();
  EXPECT_EQ(SendMessageW(header->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);
  RedrawWindow(header->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(header->Handle());
  EXPECT_EQ(Rgb(GetPixel(dc, 200, 5)), kNormal);  // the empty area right of the one section
  ReleaseDC(header->Handle(), dc);
}

TEST(HeaderSkin, AListViewTurnedToReportViewGetsItsHeaderSkinned) {
  THeaderWorld w;
  ASSERT_NE(w.ListSkin, nullptr);
  w.List->SetViewStyle(fw::vsIcon);
  PumpUntil([&] { return w.Skin->FindControlByHandle(w.List->Handle()) != nullptr; }, 2000);
  w.List->SetViewStyle(fw::vsReport);
  HWND header = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] {
        header = reinterpret_cast<HWND>(SendMessageW(w.List->Handle(), LVM_GETHEADER, 0, 0));
        return header && SendMessageW(header, skin::WM_SKIN_QUERY, 0, 0) == 1;
      },
      2000));
  int skins = 0;
  for (skin::TSkinControl* c : w.Skin->FControls) skins += c->Handle() == w.List->Handle();
  EXPECT_EQ(skins, 1);
}
