// The preview's drop-down list with the skin's bar, under the real mouse: the list keeps its own
// border, the bar stays the skin's after the system handles an arrow click, and the skin taken
// off gives the system's bar back.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "SkinPreview.h"
#include "StdCtrls.h"
#include "UserInput.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinScrollbars.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

using namespace fw;
using preview::TFormSkinView;

namespace {

bool PumpUntil(const std::function<bool()>& done, DWORD ms = 2000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > ms) return false;
    Application->ProcessMessages();
    Sleep(5);
  }
  return true;
}

void Pump(DWORD ms = 100) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    Application->ProcessMessages();
    Sleep(5);
  }
}

// A column of the list's window pixels over the bar's first arrow.
std::vector<COLORREF> ArrowColumn(HWND list) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  std::vector<COLORREF> out;
  if (!GetScrollBarInfo(list, OBJID_VSCROLL, &info)) return out;
  RECT wr{};
  GetWindowRect(list, &wr);
  const int a = GetSystemMetrics(SM_CXVSCROLL);
  HDC dc = GetWindowDC(list);
  for (int y = 1; y < a - 1; ++y)
    out.push_back(GetPixel(dc, info.rcScrollBar.left - wr.left + a / 2, info.rcScrollBar.top - wr.top + y));
  ReleaseDC(list, dc);
  return out;
}

}  // namespace

TEST(PreviewCombo, TheOpenListKeepsTheSkinsBarThroughAnArrowClickAndGivesItBack) {
  auto* form = new TFormSkinView(Application);
  form->AfterConstruction();
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return SendMessageW(form->Handle(), skin::WM_SKIN_QUERY, 0, 0) == 1; }));
  Pump();
  auto* box = dynamic_cast<TComboBox*>(form->FindComponent(L"ComboBox1"));
  ASSERT_NE(box, nullptr);
  HWND combo = box->Handle();
  COMBOBOXINFO ci{};
  ci.cbSize = sizeof ci;
  ASSERT_TRUE(GetComboBoxInfo(combo, &ci));
  HWND list = ci.hwndList;
  skin::TWinSkinForm* skinForm = skin::SkinManager->FindSkinForm(form->Handle());
  ASSERT_NE(skinForm, nullptr);
  EXPECT_NE(dynamic_cast<skin::TComboxScrollBar*>(skinForm->FindControlByHandle(list)), nullptr);

  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  ASSERT_TRUE(IsWindowVisible(list));
  const std::vector<COLORREF> skinned = ArrowColumn(list);
  ASSERT_FALSE(skinned.empty());
  HDC dc = GetWindowDC(list);
  const COLORREF border = GetPixel(dc, 0, 0);
  ReleaseDC(list, dc);
  EXPECT_EQ(border, GetSysColor(COLOR_WINDOWFRAME));  // the list's own one-pixel frame

  // A real click on the second arrow: the system scrolls one row, the skin's bar is drawn again.
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &info));
  const int a = GetSystemMetrics(SM_CXVSCROLL);
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  userinput::Click({info.rcScrollBar.left + a / 2, info.rcScrollBar.bottom - a / 2});
  PumpUntil([&] { return SendMessageW(list, LB_GETTOPINDEX, 0, 0) != top; }, 1000);
  Pump();
  EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), top + 1);
  EXPECT_EQ(ArrowColumn(list), skinned);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  Pump();

  // Skin off: the same list opens with the system's bar.
  form->SkinOffClick(form->MSkinOff);
  ASSERT_TRUE(PumpUntil([&] { return SendMessageW(form->Handle(), skin::WM_SKIN_QUERY, 0, 0) != 1; }));
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  EXPECT_NE(ArrowColumn(list), skinned);
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  SetCursorPos(1200, 1000);
  delete form;
  Application->ProcessMessages();
}
