// Tab skins on real windows: the images a tab control shows on each side of it (flipped and
// turned), tabs scrolled out of view, close boxes on a page control clicked with the real mouse
// (with a sheet that has no tab, and the form's answer), and which skin each tab family gets,
// including the old tab set, a tabbed notebook and another library's page control (test
// classes with the published properties the skins read).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "ComCtrls.h"
#include "ControlsFixture.h"
#include "PropTables.h"
#include "StdCtrls.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinTabs.h"

using namespace ctltest;

namespace {

// Tabs frames: the half of a tab away from the page in TabOuter, the half next to it in
// TabInner. The page frame: the half toward the tabs in kPaneNear, the far half in kPaneFar.
std::uint32_t TabOuter(int frame) { return 0x30A000u + static_cast<std::uint32_t>(frame) * 0x100000u; }
std::uint32_t TabInner(int frame) { return 0x3000A0u + static_cast<std::uint32_t>(frame) * 0x100000u; }
constexpr std::uint32_t kPaneNear = 0x008080, kPaneFar = 0x804000;
constexpr std::uint32_t kTabText = 0x101010, kSelectedText = 0xF00000;

TestSkin TabSkin() {
  TestSkin s = ControlSkin();
  s.Entries.push_back({"tabs.bmp", TestSkin::Bmp(100, 20, [](int x, int y) {
                         return y < 10 ? TabOuter(x / 20 + 1) : TabInner(x / 20 + 1);
                       })});
  s.Entries.push_back({"tabborder.bmp", TestSkin::Bmp(20, 20, [](int, int y) { return y < 10 ? kPaneNear : kPaneFar; })});
  s.Ini += "[Tabs]\nImage=tabs.bmp\nBorder=tabborder.bmp\nStyle=0\nTrans=0\nTile=0\n"
           "NormalColour2=16 16 16\nMouseOverColour2=240 0 0\n";
  return s;
}

void ClickTab(POINT p) { ctltest::ClickAt(p, 120); }

RECT ItemRect(HWND tabs, int i) {
  RECT r{};
  SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
  return r;
}

// The skin object of a window in a form skin.
template <class T>
T* SkinOf(skin::TWinSkinForm* f, HWND h) {
  return f ? dynamic_cast<T*>(f->FindControlByHandle(h)) : nullptr;
}

// -- the old tab set: tabs from its Tabs list, its scroll arrows its first own component
class TTabSet : public fw::TCustomControl {
  FW_DECLARE_CLASS()
public:
  explicit TTabSet(fw::TComponent* owner) : fw::TCustomControl(owner) {
    Arrows = new fw::TUpDown(this);
    Arrows->SetOrientation(fw::udHorizontal);
    Arrows->SetParent(this);
  }
  fw::TStringList* Tabs() const { return &FTabs; }
  fw::TUpDown* Arrows = nullptr;
  int TabIndex = 0, FirstIndex = 0, StartMargin = 4, EndMargin = 6;

protected:
  void Paint() override {
    Canvas().Brush().SetColor(fw::clBtnFace);
    Canvas().FillRect({0, 0, Width(), Height()});
  }

private:
  mutable fw::TStringList FTabs;
};

const fw::TClassInfo& TTabSet::StaticClassInfo() {
  using namespace fw::props;
  static const fw::TClassInfo info{"TTabSet",
                                   &fw::TCustomControl::StaticClassInfo(),
                                   {},
                                   {SubObject("Tabs", &TTabSet::Tabs),
                                    Field<&TTabSet::TabIndex>("TabIndex", fw::TPropKind::Integer),
                                    Field<&TTabSet::FirstIndex>("FirstIndex", fw::TPropKind::Integer),
                                    Field<&TTabSet::StartMargin>("StartMargin", fw::TPropKind::Integer),
                                    Field<&TTabSet::EndMargin>("EndMargin", fw::TPropKind::Integer)},
                                   {}};
  return info;
}

// -- a notebook of pages under a tab window
class TTabbedNotebook : public fw::TTabControl {
  FW_DECLARE_CLASS()
public:
  using fw::TTabControl::TTabControl;
};
FW_DEFINE_CLASS(TTabbedNotebook, fw::TTabControl)

// -- a tab control of another library, given the kind "tab"
class TMyTabs : public fw::TTabControl {
  FW_DECLARE_CLASS()
public:
  using fw::TTabControl::TTabControl;
};
FW_DEFINE_CLASS(TMyTabs, fw::TTabControl)

// -- another library's page control: it draws its tabs from two published pictures
class TAdvPageControl : public fw::TPageControl {
  FW_DECLARE_CLASS()
public:
  using fw::TPageControl::TPageControl;
  fw::TBitmap* TabBackGround() const { return &FBack; }
  fw::TBitmap* TabBackGroundActive() const { return &FActive; }

private:
  mutable fw::TBitmap FBack, FActive;
};

const fw::TClassInfo& TAdvPageControl::StaticClassInfo() {
  using namespace fw::props;
  static const fw::TClassInfo info{"TAdvPageControl",
                                   &fw::TPageControl::StaticClassInfo(),
                                   {},
                                   {SubObject("TabBackGround", &TAdvPageControl::TabBackGround),
                                    SubObject("TabBackGroundActive", &TAdvPageControl::TabBackGroundActive)},
                                   {}};
  return info;
}

// What the form skin's OnTabClose saw, and what it answers.
struct TCloseAnswer {
  int Calls = 0;
  fw::TWinControl* Tabs = nullptr;
  int Index = -1;
  fw::TControl* Page = nullptr;
  bool Keep = false, FreeItself = false;
  void Handle(fw::TComponent*, fw::TWinControl* tabs, int index, fw::TControl* page, bool& canClose) {
    ++Calls;
    Tabs = tabs;
    Index = index;
    Page = page;
    if (FreeItself) delete page;
    canClose = !Keep;
  }
};

}  // namespace

// Every side: the half of a tab away from the page shows the image's top, the half next to the
// page its bottom; the page frame shows the border image's top on the tabs' side. The selected
// tab is frame 2, frame 5 while the control has the focus; the others frame 1.
TEST(TabSkin, ImagesFollowTheSideOfTheTabs) {
  TControlWorld world(TabSkin());
  TTestForm f;
  f.Form->SetBounds(60, 60, 820, 300);
  const fw::TTabPosition sides[] = {fw::tpTop, fw::tpBottom, fw::tpLeft, fw::tpRight};
  std::vector<fw::TTabControl*> controls;
  for (int k = 0; k < 4; ++k) {
    auto* t = f.Add<fw::TTabControl>(10 + 200 * k, 10, 180, 180);
    t->SetTabPosition(sides[k]);
    for (const wchar_t* text : {L"甲", L"乙", L"丙"}) t->Tabs()->Add(text);
    t->SetTabIndex(1);
    controls.push_back(t);
  }
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  SetFocus(f.Handle());
  Pump(100);
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k == 0 ? "top" : k == 1 ? "bottom" : k == 2 ? "left" : "right");
    HWND h = controls[k]->Handle();
    ASSERT_NE(SkinOf<skin::TSkinTab>(fs, h), nullptr);
    EXPECT_EQ(SkinOf<skin::TSkinTab>(fs, h)->FSide, static_cast<skin::TTabSide>(k));
    const bool across = k < 2;  // tabs side by side along the top or bottom edge
    // Two points of a tab along its depth, a quarter in from its outer and its inner edge, and
    // a few pixels from its start (its text is in the middle).
    const auto depth = [&](const RECT& r, bool outer) -> POINT {
      const bool outerIsLow = k == 0 || k == 2;  // the outer edge is r.top or r.left
      const int lo = across ? r.top : r.left, hi = across ? r.bottom : r.right;
      const int q = (hi - lo) / 4;
      const int d = outer == outerIsLow ? lo + q : hi - 1 - q;
      const int along = (across ? r.left : r.top) + 4;
      return across ? POINT{along, d} : POINT{d, along};
    };
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      const RECT r = ItemRect(h, i);
      const int frame = i == 1 ? 2 : 1;
      const POINT o = depth(r, true), n = depth(r, false);
      EXPECT_EQ(ClientAt(h, o.x, o.y), TabOuter(frame));
      EXPECT_EQ(ClientAt(h, n.x, n.y), TabInner(frame));
    }
    // The page frame, a quarter and three quarters across from the tabs' side.
    RECT c{};
    GetClientRect(h, &c);
    RECT d = c;
    SendMessageW(h, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    const int cx = (d.left + d.right) / 2, cy = (d.top + d.bottom) / 2;
    const int qx = (d.right - d.left) / 4, qy = (d.bottom - d.top) / 4;
    const POINT nearPane[] = {{cx, d.top + qy}, {cx, d.bottom - qy}, {d.left + qx, cy}, {d.right - qx, cy}};
    const POINT farPane[] = {{cx, d.bottom - qy}, {cx, d.top + qy}, {d.right - qx, cy}, {d.left + qx, cy}};
    EXPECT_EQ(ClientAt(h, nearPane[k].x, nearPane[k].y), kPaneNear);
    EXPECT_EQ(ClientAt(h, farPane[k].x, farPane[k].y), kPaneFar);
  }
  // The focus on the top one: its selected tab shows the focused frame.
  SetFocus(controls[0]->Handle());
  Pump(100);
  const RECT r = ItemRect(controls[0]->Handle(), 1);
  EXPECT_EQ(ClientAt(controls[0]->Handle(), r.left + 4, r.top + 4), TabOuter(5));
  // The mouse over a tab shows the skin's hot frame, nothing the window would draw itself.
  const RECT other = ItemRect(controls[0]->Handle(), 2);
  MoveTo(controls[0]->ClientToScreen({other.left + 8, other.top + 8}));
  Pump(200);
  EXPECT_EQ(ClientAt(controls[0]->Handle(), other.left + 4, other.top + 4), TabOuter(4));
  MouseAway();
}

// A tab scrolled out of view (the window gives it no rectangle) is not drawn; the scroll arrows
// get the up-down skin and keep their own picture.
TEST(TabSkin, TabsScrolledOutOfViewAreNotDrawn) {
  TControlWorld world(TabSkin());
  TTestForm f;
  auto* t = f.Add<fw::TTabControl>(10, 10, 160, 120);
  for (int i = 0; i < 8; ++i) t->Tabs()->Add(L"很长的标签" + std::to_wstring(i));
  t->SetTabIndex(0);
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  HWND h = t->Handle();
  HWND arrows = FindWindowExW(h, nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr);
  ASSERT_TRUE(IsWindowVisible(arrows));
  SendMessageW(h, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), reinterpret_cast<LPARAM>(arrows));
  InvalidateRect(h, nullptr, TRUE);
  Pump(100);
  RECT r{};
  ASSERT_FALSE(SendMessageW(h, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
  int first = 1;
  while (!SendMessageW(h, TCM_GETITEMRECT, static_cast<WPARAM>(first), reinterpret_cast<LPARAM>(&r))) ++first;
  // The first tab in view starts at the left, in the normal frame; the selected tab, out of
  // view, shows nowhere.
  EXPECT_EQ(ClientAt(h, r.left + 3, r.top + 4), TabOuter(1));
  RECT a{};
  GetWindowRect(arrows, &a);
  MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&a), 2);
  HDC dc = GetDC(h);
  int selected = 0;
  for (int y = 0; y < r.bottom + 2; ++y)
    for (int x = 0; x < a.left; ++x) {
      const std::uint32_t c = Rgb(GetPixel(dc, x, y));
      selected += c == TabOuter(2) || c == TabInner(2);
    }
  ReleaseDC(h, dc);
  EXPECT_EQ(selected, 0);
  auto* arrowSkin = SkinOf<skin::TSkinUpDown>(fs, arrows);
  ASSERT_NE(arrowSkin, nullptr);
  EXPECT_EQ(SkinOf<skin::TSkinTab>(fs, h)->FUpDown, arrowSkin);
  // The arrows draw their own picture: no tab strip over them.
  const std::uint32_t mid = At(arrows, (a.right - a.left) / 4, (a.bottom - a.top) / 2);
  EXPECT_NE(mid, TabOuter(1));
  EXPECT_NE(mid, TabInner(1));
}

// A page control tagged 7777: a press on a tab's body still picks the tab; a press on its close
// box asks the form and frees the tab's page (past a sheet without a tab) unless the form keeps
// it; a page the form frees itself is not freed twice. FixedPages and a tag on the form only
// give no close boxes.
TEST(TabSkin, CloseBoxesFreeTheRightPageOnlyWhenPressed) {
  const int live = skin::TSkinControl::LiveCount();
  TControlWorld world(TabSkin());
  TCloseAnswer answer;
  world.Data->OnTabClose = skin::TOnTabClose::Of<&TCloseAnswer::Handle>(&answer);
  TTestForm f;
  f.Form->SetBounds(60, 60, 520, 300);
  auto* pc = f.Add<fw::TPageControl>(10, 10, 300, 200);
  pc->Tag = skin::kCloseBoxTag;
  std::vector<fw::TTabSheet*> sheets;
  for (const wchar_t* caption : {L"一", L"隐", L"三", L"四"}) {
    auto* s = new fw::TTabSheet(f.Form.get());
    s->SetPageControl(pc);
    s->SetCaption(caption);
    sheets.push_back(s);
  }
  sheets[1]->SetTabVisible(false);
  auto* plain = f.Add<fw::TPageControl>(320, 10, 180, 200);  // its form has the tag, not it
  auto* other = new fw::TTabSheet(f.Form.get());
  other->SetPageControl(plain);
  other->SetCaption(L"页");
  f.Form->Tag = skin::kCloseBoxTag;
  MouseAway();
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  HWND h = pc->Handle();
  auto* skinTab = SkinOf<skin::TSkinTab>(fs, h);
  ASSERT_NE(skinTab, nullptr);
  ASSERT_TRUE(skinTab->FCloseBoxes);
  ASSERT_EQ(skinTab->FCloseRects.size(), 3u);
  const auto closeBox = [&](int tab) {
    const RECT b = skinTab->FCloseRects.at(static_cast<std::size_t>(tab)).value();
    return POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
  };
  // The box is drawn where it is pressed: its diagonals cross in the selected tab's text colour.
  const POINT c0 = closeBox(0);
  EXPECT_EQ(ClientAt(h, c0.x, c0.y), kSelectedText);
  EXPECT_EQ(ClientAt(h, closeBox(1).x, closeBox(1).y), kTabText);
  // The other page control has no close boxes.
  auto* plainSkin = SkinOf<skin::TSkinTab>(fs, plain->Handle());
  ASSERT_NE(plainSkin, nullptr);
  EXPECT_FALSE(plainSkin->FCloseBoxes);
  EXPECT_TRUE(std::none_of(plainSkin->FCloseRects.begin(), plainSkin->FCloseRects.end(),
                           [](const auto& r) { return r.has_value(); }));

  // The body of the second tab picks it: the third sheet (the second has no tab).
  const RECT second = ItemRect(h, 1);
  ClickTab(pc->ClientToScreen({second.left + 5, (second.top + second.bottom) / 2}));
  EXPECT_EQ(pc->ActivePage(), sheets[2]);
  EXPECT_EQ(answer.Calls, 0);
  EXPECT_EQ(pc->PageCount(), 4);

  // Its close box: the form is asked about that page and lets it go.
  const int skins = skin::TSkinControl::LiveCount();
  ClickTab(pc->ClientToScreen(closeBox(1)));
  EXPECT_EQ(answer.Calls, 1);
  EXPECT_EQ(answer.Tabs, pc);
  EXPECT_EQ(answer.Index, 1);
  EXPECT_EQ(answer.Page, sheets[2]);
  ASSERT_EQ(pc->PageCount(), 3);
  EXPECT_EQ(pc->Pages(0), sheets[0]);
  EXPECT_EQ(pc->Pages(1), sheets[1]);
  EXPECT_EQ(pc->Pages(2), sheets[3]);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), skins - 1);  // the sheet's skin went with it
  EXPECT_EQ(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0), 2);

  // The form keeps the first page.
  answer.Keep = true;
  ASSERT_EQ(skinTab->FCloseRects.size(), 2u);
  ClickTab(pc->ClientToScreen(closeBox(0)));
  EXPECT_EQ(answer.Calls, 2);
  EXPECT_EQ(answer.Page, sheets[0]);
  EXPECT_EQ(pc->PageCount(), 3);

  // The form frees the last page itself and lets it go: freed once.
  answer.Keep = false;
  answer.FreeItself = true;
  ClickTab(pc->ClientToScreen(closeBox(1)));
  EXPECT_EQ(answer.Calls, 3);
  ASSERT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->Pages(1), sheets[1]);

  // Pages that stay: no close box; a press there picks the tab.
  pc->SetActivePage(sheets[1]);
  pc->SetFixedPages(true);
  Pump(100);
  EXPECT_FALSE(skinTab->FCloseBoxes);
  const RECT first = ItemRect(h, 0);
  ClickTab(pc->ClientToScreen({first.right - 5, (first.top + first.bottom) / 2}));
  EXPECT_EQ(answer.Calls, 3);
  EXPECT_EQ(pc->PageCount(), 2);
  EXPECT_EQ(pc->ActivePage(), sheets[0]);

  f.Form.reset();
  Pump();
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
}

// Which skin each tab family gets; the tab set's tabs as its own list lays them out; the other
// library's page control gets the two tab pictures and gives them back; bare tab windows by their
// style.
TEST(TabSkin, EveryTabFamilyGetsItsSkin) {
  TControlWorld world(TabSkin());
  world.Data->SetSkin3rd({L"TAdvPageControl=advpagecontrol", L"TMyTabs=tab"});
  TTestForm f;
  f.Form->SetBounds(60, 60, 700, 400);
  auto* set = f.Add<TTabSet>(10, 10, 300, 22);
  for (const wchar_t* text : {L"一", L"二", L"三三三三", L"四"}) set->Tabs()->Add(text);
  set->TabIndex = 1;
  // Tabs from the start margin (4), each its text's width and 9 wide. The tab set is made so
  // wide that the third tab fits before the end margin (6) and 9 pixels more, but not before
  // the end margin and the arrows' 21 pixels.
  const auto width = [&](const wchar_t* text) {
    HDC dc = GetDC(nullptr);
    fw::TSelectObject font(dc, set->Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    ReleaseDC(nullptr, dc);
    return static_cast<int>(size.cx) + 9;
  };
  const int x1 = 4, x2 = x1 + width(L"一"), x3 = x2 + width(L"二"), x4 = x3 + width(L"三三三三");
  const int setWidth = x4 + 6 + 9;
  set->SetBounds(10, 10, setWidth, 22);
  set->Arrows->SetBounds(setWidth - 6 - 21, 0, 21, 22);
  auto* mine = f.Add<TMyTabs>(640, 10, 40, 30);
  auto* notebook = f.Add<TTabbedNotebook>(10, 50, 200, 120);
  notebook->Tabs()->Add(L"本");
  auto* buttons = f.Add<fw::TTabControl>(220, 50, 200, 120);
  buttons->SetStyle(fw::tsButtons);
  buttons->Tabs()->Add(L"甲");
  buttons->Tabs()->Add(L"乙");
  buttons->SetTabIndex(1);
  auto* adv = f.Add<TAdvPageControl>(430, 50, 200, 120);
  auto* advSheet = new fw::TTabSheet(f.Form.get());
  advSheet->SetPageControl(adv);
  advSheet->SetCaption(L"页");
  // A bare tab window of each style in a window of no framework form.
  formtest::TWindow window(L"裸窗口", 520, 160);
  const auto bare = [&](DWORD style, int x) {
    return CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | style, x, 10, 150, 100,
                           window.Handle, nullptr, nullptr, nullptr);
  };
  HWND bareTabs = bare(0, 10), bareButtons = bare(TCS_BUTTONS, 170), bareOwner = bare(TCS_OWNERDRAWFIXED, 330);
  for (HWND w : {bareTabs, bareButtons, bareOwner}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"裸");
    SendMessageW(w, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  const LONG_PTR setProcedure = GetWindowLongPtrW(set->Handle(), GWLP_WNDPROC);
  ASSERT_TRUE(skin::SkinManager->SkinWindow(window.Handle));
  Pump(100);
  skin::TWinSkinForm* bareForm = skin::SkinManager->FindSkinForm(window.Handle);
  ASSERT_NE(bareForm, nullptr);
  EXPECT_NE(SkinOf<skin::TSkinTab>(bareForm, bareTabs), nullptr);
  EXPECT_NE(SkinOf<skin::TSkinTabBtn>(bareForm, bareButtons), nullptr);
  EXPECT_EQ(bareForm->FindControlByHandle(bareOwner), nullptr);
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  Pump(100);

  // The tab set: its own window hooked, its arrows a horizontal up-down.
  auto* setSkin = SkinOf<skin::TSkinTab31>(fs, set->Handle());
  ASSERT_NE(setSkin, nullptr);
  EXPECT_EQ(setSkin->FControl, set);
  ASSERT_NE(setSkin->FUpDown, nullptr);
  EXPECT_EQ(setSkin->FUpDown->FControl, set->Arrows);
  EXPECT_TRUE(setSkin->FUpDown->FHorizontal);
  // The selected tab in frame 2, the others in frame 1, from the flipped image (its top at the
  // tabs' bottom); the third tab does not fit while the arrows are shown.
  EXPECT_EQ(ClientAt(set->Handle(), x1 + 1, 2), TabInner(1));
  EXPECT_EQ(ClientAt(set->Handle(), x1 + 1, 19), TabOuter(1));
  EXPECT_EQ(ClientAt(set->Handle(), x2 + 1, 19), TabOuter(2));
  EXPECT_EQ(ClientAt(set->Handle(), x3 + 2, 19), kFace);
  // Without its arrows the tab set keeps only 9 pixels free: the third tab shows, the fourth
  // still does not.
  set->Arrows->SetVisible(false);
  InvalidateRect(set->Handle(), nullptr, TRUE);
  Pump(100);
  EXPECT_EQ(ClientAt(set->Handle(), x3 + 2, 19), TabOuter(1));
  EXPECT_EQ(ClientAt(set->Handle(), x4 + 2, 19), kFace);

  EXPECT_NE(SkinOf<skin::TSkinTab>(fs, notebook->Handle()), nullptr);
  EXPECT_NE(SkinOf<skin::TSkinTab>(fs, mine->Handle()), nullptr);
  EXPECT_NE(SkinOf<skin::TSkinTabBtn>(fs, buttons->Handle()), nullptr);
  // Button tabs: the selected one is pressed.
  const RECT b0 = ItemRect(buttons->Handle(), 0), b1 = ItemRect(buttons->Handle(), 1);
  EXPECT_EQ(ClientAt(buttons->Handle(), b0.left + 2, b0.top + 4), kNormal);
  EXPECT_EQ(ClientAt(buttons->Handle(), b1.left + 2, b1.top + 4), kPressed);
  EXPECT_NE(SkinOf<skin::TSkinTabSheet>(fs, advSheet->Handle()), nullptr);

  // The other library's page control: 100 x 21 pictures of the Tabs frames 1 and 2.
  ASSERT_NE(SkinOf<skin::TSkinAdvPage>(fs, adv->Handle()), nullptr);
  fw::TBitmap* back = adv->TabBackGround();
  fw::TBitmap* active = adv->TabBackGroundActive();
  ASSERT_EQ(back->Width(), 100);
  ASSERT_EQ(back->Height(), 21);
  EXPECT_EQ(Rgb(fw::ColorToRGB(back->Canvas().Pixel(50, 2))), TabOuter(1));
  EXPECT_EQ(Rgb(fw::ColorToRGB(active->Canvas().Pixel(50, 18))), TabInner(2));

  // Skin off: the pictures are taken back, the tab set's window given back.
  formtest::TSkinnedWorld::TakeOff(fs);
  formtest::TSkinnedWorld::TakeOff(bareForm);
  Pump(100);
  EXPECT_TRUE(back->Empty());
  EXPECT_TRUE(active->Empty());
  EXPECT_EQ(GetWindowLongPtrW(set->Handle(), GWLP_WNDPROC), setProcedure);
  EXPECT_EQ(Query(set->Handle()), 0);
  EXPECT_EQ(Query(bareTabs), 0);

  // Without xcTab nothing of them is skinned.
  world.Data->SkinControls &= ~skin::SetOf(skin::xcTab);
  fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  for (HWND w : {set->Handle(), notebook->Handle(), mine->Handle(), buttons->Handle(), adv->Handle(),
                 advSheet->Handle()})
    EXPECT_EQ(fs->FindControlByHandle(w), nullptr);
}

// The tab under the mouse shows the hot frame, one tab at a time; the selected tab keeps its own
// frame, and leaving the control clears the hot one.
TEST(TabSkin, TheTabUnderTheMouseIsHot) {
  TControlWorld world(TabSkin());
  TTestForm f;
  f.Form->SetBounds(60, 60, 400, 240);
  auto* t = f.Add<fw::TTabControl>(10, 10, 300, 160);
  for (const wchar_t* text : {L"甲", L"乙", L"丙"}) t->Tabs()->Add(text);
  t->SetTabIndex(1);
  SetCursorPos(1250, 1000);
  f.Show();
  ASSERT_NE(SkinOf<skin::TSkinTab>(f.Skin(), t->Handle()), nullptr);
  HWND h = t->Handle();
  const auto outer = [&](int i) {
    const RECT r = ItemRect(h, i);
    return ClientAt(h, r.left + 4, r.top + (r.bottom - r.top) / 4 + 1);
  };
  const auto moveTo = [&](int i) {
    const RECT r = ItemRect(h, i);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(h, &p);
    userinput::Mouse(0, p);
    Pump(120);
  };
  EXPECT_EQ(outer(0), TabOuter(1));
  moveTo(0);
  EXPECT_EQ(outer(0), TabOuter(4));
  EXPECT_EQ(outer(2), TabOuter(1));
  moveTo(2);
  EXPECT_EQ(outer(0), TabOuter(1));
  EXPECT_EQ(outer(2), TabOuter(4));
  moveTo(1);  // the selected tab keeps its own frame
  EXPECT_NE(outer(1), TabOuter(4));
  EXPECT_EQ(outer(2), TabOuter(1));
  userinput::Mouse(0, {1250, 1000});
  Pump(150);
  for (int i : {0, 2}) EXPECT_EQ(outer(i), TabOuter(1));
}
