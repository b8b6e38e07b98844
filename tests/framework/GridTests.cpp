// Grids on real windows: rows following the string list, scroll range, current row by mouse and
// keys, key-up events, column sizing, thumb tracking, painting, stored forms and dropped files.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>  // DROPFILES

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "FormReader.h"
#include "Forms.h"
#include "Grids.h"
#include "Menus.h"

using namespace fw;

namespace {

void Pump() { Application->ProcessMessages(); }

constexpr int kRowHeight = 20;  // plus one pixel of grid line: rows are 21 pixels apart

// A form with one value list: titles "No" / "Name", columns 48 and 200, no automatic sizing.
class GridTest : public testing::Test {
protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 420, 320);
    grid = new TValueListEditor(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(10, 10, 300, 200);
    grid->SetDisplayOptions(doColumnTitles);
    grid->SetDefaultRowHeight(kRowHeight);
    grid->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing | goThumbTracking);
    grid->SetScrollBars(ssVertical);
    grid->TitleCaptions().SetText(L"No\r\nName");
    grid->SetColWidthList({48, 200});
    form->Show();
    Pump();
  }
  void TearDown() override { form.reset(); }

  void AddLines(int n) {
    for (int i = 1; i <= n; ++i) grid->Strings().Add(std::to_wstring(i) + L"=C:\\data\\file" + std::to_wstring(i) + L".txt");
    Pump();
  }
  // Client y in the middle of a data row while the grid shows row 1 at the top.
  static int RowY(int row) { return row * (kRowHeight + 1) + kRowHeight / 2; }
  SCROLLINFO VertInfo() {
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(grid->Handle(), SB_VERT, &si);
    return si;
  }
  bool VertBarShown() { return (GetWindowLongW(grid->Handle(), GWL_STYLE) & WS_VSCROLL) != 0; }
  void Click(int x, int y) {
    SendMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(grid->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  void Key(WORD vk) {
    PostMessageW(grid->Handle(), WM_KEYDOWN, vk, 1);
    PostMessageW(grid->Handle(), WM_KEYUP, vk, 0xC0000001);
    Pump();
  }

  std::unique_ptr<TForm> form;
  TValueListEditor* grid = nullptr;
};

struct TKeyRecorder {
  std::vector<WORD> Keys;
  void KeyUp(TObject*, WORD& key, TShiftState) { Keys.push_back(key); }
};

}  // namespace

TEST_F(GridTest, RowsAndScrollRangeFollowTheLines) {
  // An empty list shows the title row and one empty row.
  EXPECT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->Cells(0, 0), L"No");
  EXPECT_EQ(grid->Cells(1, 0), L"Name");
  EXPECT_EQ(grid->Values(L"1"), L"");
  EXPECT_EQ(grid->Cells(1, 1), L"");
  EXPECT_FALSE(VertBarShown());

  AddLines(3);
  EXPECT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(grid->Values(L"2"), L"C:\\data\\file2.txt");
  EXPECT_EQ(grid->Keys(3), L"3");
  EXPECT_EQ(grid->Cells(1, 3), L"C:\\data\\file3.txt");
  EXPECT_FALSE(VertBarShown());  // four rows fit

  AddLines(30);
  EXPECT_EQ(grid->RowCount(), 34);
  SCROLLINFO si = VertInfo();
  EXPECT_EQ(si.nMax, 33);
  EXPECT_LT(static_cast<int>(si.nPage), 33);
  EXPECT_TRUE(VertBarShown());

  // The current row stays inside the list when lines go away under it.
  grid->SetRow(30);
  EXPECT_EQ(grid->Row(), 30);
  EXPECT_GT(grid->TopRow(), 1);
  grid->Strings().Clear();
  Pump();
  EXPECT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->TopRow(), 1);
  EXPECT_FALSE(VertBarShown());
  EXPECT_EQ(grid->Keys(grid->Row()), L"");
}

TEST_F(GridTest, ClicksAndKeysMoveTheCurrentRow) {
  AddLines(40);
  Click(100, RowY(3));
  EXPECT_EQ(grid->Row(), 3);
  EXPECT_TRUE(grid->Focused());
  Click(100, RowY(0));  // the title row is not selectable
  EXPECT_EQ(grid->Row(), 3);

  Key(VK_DOWN);
  EXPECT_EQ(grid->Row(), 4);
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(grid->Row(), 2);
  Key(VK_UP);
  Key(VK_UP);  // stops at the first data row
  EXPECT_EQ(grid->Row(), 1);

  int page = grid->VisibleRowCount();
  EXPECT_GE(page, 5);
  Key(VK_NEXT);
  EXPECT_EQ(grid->Row(), 1 + page);
  Key(VK_END);
  EXPECT_EQ(grid->Row(), 40);
  // The last row is scrolled fully into view.
  RECT last = grid->CellRect(1, 40);
  EXPECT_FALSE(IsRectEmpty(&last));
  EXPECT_LE(last.bottom, grid->ClientHeight());
  EXPECT_EQ(GetScrollPos(grid->Handle(), SB_VERT), grid->TopRow());
  Key(VK_HOME);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->TopRow(), 1);

  // A click on a row while scrolled selects the row shown there, not the unscrolled one.
  grid->SetTopRow(10);
  Click(100, RowY(2));
  EXPECT_EQ(grid->Row(), 11);
}

TEST_F(GridTest, KeyUpReachesOnKeyUpWithTheKeyCode) {
  TKeyRecorder rec;
  grid->OnKeyUp = TKeyEvent::Of<&TKeyRecorder::KeyUp>(&rec);
  SendMessageW(grid->Handle(), WM_KEYUP, VK_DELETE, 0xC0000001);
  ASSERT_EQ(rec.Keys.size(), 1u);
  EXPECT_EQ(rec.Keys[0], 46);
}

TEST_F(GridTest, DraggingATitleEdgeSizesTheColumn) {
  AddLines(3);
  HWND h = grid->Handle();
  // The key column's right edge lies at x = 48.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(49, 8));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 8));
  EXPECT_EQ(grid->ColWidths(0), 70);  // follows the mouse while dragging
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 30));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(90, 30));
  EXPECT_EQ(grid->ColWidths(0), 90);
  EXPECT_EQ(grid->ColWidths(1), 200);
  EXPECT_NE(GetCapture(), h);
  // After the release, moving the mouse changes nothing.
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(120, 8));
  EXPECT_EQ(grid->ColWidths(0), 90);

  // An edge in a data row does not size.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, RowY(2)));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, RowY(2)));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(60, RowY(2)));
  EXPECT_EQ(grid->ColWidths(0), 90);
  // Without goColSizing no edge can be dragged.
  grid->SetOptions(grid->Options() & ~goColSizing);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, 8));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 8));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(60, 8));
  EXPECT_EQ(grid->ColWidths(0), 90);
}

TEST_F(GridTest, FittedColumnsFillTheWidthWhenDraggedAndResized) {
  HWND h = grid->Handle();
  auto fills = [&] { return grid->ColWidths(0) + grid->ColWidths(1) + 2 == grid->ClientWidth(); };
  grid->SetDisplayOptions(doColumnTitles | doAutoColResize | doKeyColFixed);
  EXPECT_EQ(grid->ColWidths(0), 48);
  EXPECT_TRUE(fills());
  // Dragging the key column: the value column takes the rest.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(48, 8));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(100, 8));
  EXPECT_EQ(grid->ColWidths(0), 100);
  EXPECT_TRUE(fills());
  // Wider window with a fixed key column: only the value column grows.
  grid->SetWidth(grid->Width() + 40);
  EXPECT_EQ(grid->ColWidths(0), 100);
  EXPECT_TRUE(fills());
  // A vertical scroll bar narrows the client area: still no horizontal scrolling.
  AddLines(40);
  EXPECT_TRUE(fills());
  EXPECT_EQ(grid->LeftCol(), 0);
  // Without doKeyColFixed both columns keep their proportion.
  grid->SetDisplayOptions(doColumnTitles | doAutoColResize);
  int before = grid->ClientWidth() - 2;
  int key = grid->ColWidths(0);
  grid->SetWidth(grid->Width() + 100);
  EXPECT_NEAR(grid->ColWidths(0), MulDiv(key, grid->ClientWidth() - 2, before), 1);
  EXPECT_TRUE(fills());
}

TEST_F(GridTest, ThumbTrackingScrollsTheTopRow) {
  AddLines(50);
  HWND h = grid->Handle();
  SendMessageW(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10), 0);
  EXPECT_EQ(grid->TopRow(), 10);
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 10);
  // Past the end: the last row ends at the bottom, no further.
  SendMessageW(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50), 0);
  int maxTop = grid->TopRow();
  EXPECT_LT(maxTop, 50);
  EXPECT_EQ(maxTop + grid->VisibleRowCount() - 1, 50);
  SendMessageW(h, WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(grid->TopRow(), maxTop - 1);
  SendMessageW(h, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(grid->TopRow(), 1);
  UINT wheelLines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &wheelLines, 0);
  if (wheelLines != WHEEL_PAGESCROLL) {
    SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(grid->TopRow(), 1 + static_cast<int>(wheelLines));
  }

  // Without goThumbTracking the rows move only when the thumb is released.
  grid->SetOptions(grid->Options() & ~goThumbTracking);
  int before = grid->TopRow();
  SendMessageW(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20), 0);
  EXPECT_EQ(grid->TopRow(), before);
  SendMessageW(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20), 0);
  EXPECT_EQ(grid->TopRow(), 20);
  EXPECT_EQ(grid->Row(), 1);  // scrolling does not move the current row
}

TEST_F(GridTest, PaintsButtonFaceTitlesTextAndTheCurrentRow) {
  AddLines(3);
  grid->SetRow(2);
  HWND h = grid->Handle();
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(h);
  auto count = [&](RECT r, COLORREF c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += GetPixel(dc, x, y) == c;
    return n;
  };
  COLORREF face = GetSysColor(COLOR_BTNFACE), window = GetSysColor(COLOR_WINDOW),
           highlight = GetSysColor(COLOR_HIGHLIGHT);
  // Both title cells: button face with the caption drawn on it.
  for (int col = 0; col < 2; ++col) {
    RECT title = grid->CellRect(col, 0);
    RECT inner{title.left + 2, title.top + 2, title.right - 2, title.bottom - 2};
    int area = (inner.right - inner.left) * (inner.bottom - inner.top);
    int facePixels = count(inner, face);
    EXPECT_GT(facePixels, area / 2) << "column " << col;
    EXPECT_LT(facePixels, area) << "column " << col;
  }
  RECT title = grid->CellRect(1, 0);
  EXPECT_EQ(title.left, 49);  // after the key column and its line
  // The raised edge: a highlight line on top, a shadow line at the bottom.
  EXPECT_EQ(GetPixel(dc, title.left + 10, title.top), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(GetPixel(dc, title.left + 10, title.bottom - 1), GetSysColor(COLOR_BTNSHADOW));
  // An empty part of the value column of row 1 is window colour, of the current row highlight.
  RECT row1 = grid->CellRect(1, 1), row2 = grid->CellRect(1, 2);
  EXPECT_EQ(GetPixel(dc, row1.right - 3, row1.top + 3), window);
  EXPECT_EQ(GetPixel(dc, row2.right - 3, row2.top + 3), highlight);
  // The value text itself is drawn.
  RECT text1{row1.left + 2, row1.top + 2, row1.left + 60, row1.bottom - 2};
  EXPECT_GT(count(text1, window), 0);
  EXPECT_LT(count(text1, window), (text1.right - text1.left) * (text1.bottom - text1.top));
  ReleaseDC(h, dc);
}

namespace {

// Closes the menu that is being tracked (runs from the menu's own message loop).
void CALLBACK EndMenuTimer(HWND wnd, UINT, UINT_PTR id, DWORD) {
  KillTimer(wnd, id);
  EndMenu();
}

struct TPopupSpy {
  int Shown = 0;
  int RowWhenShown = -1;
  TValueListEditor* Grid = nullptr;
  void Popup(TObject*) {
    ++Shown;
    RowWhenShown = Grid->Row();
    SetTimer(nullptr, 0, 50, &EndMenuTimer);
  }
};

}  // namespace

TEST_F(GridTest, RightClickSelectsTheRowAndShowsThePopupMenu) {
  AddLines(5);
  auto* menu = new TPopupMenu(form.get());
  auto* item = new TMenuItem(menu);
  item->SetCaption(L"&D 删除此文件");
  menu->Items()->Add(item);
  menu->BindControl(grid);
  EXPECT_EQ(grid->PopupMenu, menu);
  TPopupSpy spy{0, -1, grid};
  menu->OnPopup = TNotifyEvent::Of<&TPopupSpy::Popup>(&spy);

  HWND h = grid->Handle();
  SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, RowY(4)));
  SendMessageW(h, WM_RBUTTONUP, 0, MAKELPARAM(100, RowY(4)));  // default processing: WM_CONTEXTMENU
  Pump();
  EXPECT_EQ(grid->Row(), 4);
  EXPECT_EQ(spy.Shown, 1);
  EXPECT_EQ(spy.RowWhenShown, 4);
}

namespace {

// A host form for a stored grid description.
class TGridHostForm : public TForm {
  FW_DECLARE_CLASS()
public:
  using TForm::TForm;
  std::vector<WORD> KeysUp;
  void VLDSourceKeyUp(TObject*, WORD& key, TShiftState) { KeysUp.push_back(key); }
};
const TClassInfo& TGridHostForm::StaticClassInfo() {
  static const TClassInfo info{"TGridHostForm", &TForm::StaticClassInfo(), {}, {},
                               {FW_PUBLISHED_METHOD(TGridHostForm, VLDSourceKeyUp)}};
  return info;
}

const char* kStoredGrid = R"(object GridHostForm: TGridHostForm
  object PMSource: TPopupMenu
  end
  object VLDSource: TValueListEditor
    Left = 2
    Top = 14
    Width = 411
    Height = 234
    ColWidths = (
      48
      357)
    DefaultColWidth = 150
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goThumbTracking]
    PopupMenu = PMSource
    ScrollBars = ssVertical
    TabOrder = 0
    OnKeyUp = VLDSourceKeyUp
    TitleCaptions.Strings = (
      '序号'
      '名称')
  end
end
)";

}  // namespace

TEST(GridStoredForm, SetsEveryPublishedPropertyOfTheSourceList) {
  RegisterGridControls();
  RegisterMenus();
  TGridHostForm form(nullptr);
  ReadComponentTree(&form, ParseFormText(kStoredGrid));
  auto* grid = FindStored<TValueListEditor>(&form, L"VLDSource");
  EXPECT_TRUE(dynamic_cast<TCustomGrid*>(grid) != nullptr);
  EXPECT_STREQ(grid->ClassName(), "TValueListEditor");
  // The stored widths win over the default width read after them.
  EXPECT_EQ(grid->ColWidths(0), 48);
  EXPECT_EQ(grid->ColWidths(1), 357);
  EXPECT_EQ(grid->DisplayOptions(), unsigned(doColumnTitles | doAutoColResize | doKeyColFixed));  // defaults
  EXPECT_EQ(grid->Options(),
            unsigned(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing | goThumbTracking));
  EXPECT_EQ(grid->ScrollBars(), ssVertical);
  EXPECT_EQ(grid->PopupMenu, FindStored<TPopupMenu>(&form, L"PMSource"));
  EXPECT_EQ(grid->Cells(0, 0), L"序号");
  EXPECT_EQ(grid->Cells(1, 0), L"名称");
  EXPECT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->Width(), 411);
  const TPropInfo* widths = grid->ClassInfo().FindProp("ColWidths");
  ASSERT_NE(widths, nullptr);
  EXPECT_EQ(std::get<std::vector<int64_t>>(widths->Get(grid)), (std::vector<int64_t>{48, 357}));
  ASSERT_NE(grid->ClassInfo().FindProp("FixedColor"), nullptr);  // recoloured by the skin engine

  if (!grid->Parent()) grid->SetParent(&form);
  form.HandleNeeded();
  // Fitted to the window: 411 less the sunken edge, the key column and two grid lines.
  EXPECT_EQ(grid->ColWidths(0), 48);
  EXPECT_EQ(grid->ColWidths(1), 357);
  // Only the vertical bar, and only when the lines need it.
  EXPECT_FALSE(GetWindowLongW(grid->Handle(), GWL_STYLE) & WS_VSCROLL);
  for (int i = 1; i <= 30; ++i) grid->Strings().Add(std::to_wstring(i) + L"=x");
  grid->SetColWidths(1, 2000);
  EXPECT_TRUE(GetWindowLongW(grid->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongW(grid->Handle(), GWL_STYLE) & WS_HSCROLL);
  SendMessageW(grid->Handle(), WM_KEYUP, VK_DELETE, 0xC0000001);
  EXPECT_EQ(form.KeysUp, std::vector<WORD>{46});
}

TEST_F(GridTest, DroppedFilesReachOnDropFilesInOrder) {
  struct TDrop {
    std::vector<std::wstring> Files;
    void Dropped(TObject*, const std::vector<std::wstring>& files) { Files = files; }
  } drop;
  grid->OnDropFiles = TDropFilesEvent::Of<&TDrop::Dropped>(&drop);
  grid->SetAcceptFiles(true);
  EXPECT_TRUE(GetWindowLongW(grid->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

  const wchar_t raw[] = L"C:\\数据\\一.txt\0D:\\b.doc\0";  // ends with two nulls
  std::wstring list(raw, std::size(raw));
  size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GHND, bytes);
  ASSERT_NE(mem, nullptr);
  auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
  df->pFiles = sizeof(DROPFILES);
  df->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(mem);
  SendMessageW(grid->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);  // the grid frees it
  EXPECT_EQ(drop.Files, (std::vector<std::wstring>{L"C:\\数据\\一.txt", L"D:\\b.doc"}));
}
