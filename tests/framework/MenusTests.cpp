// Menus on real system menus: command identifiers and submenu handles, the rebuild notice to
// the form's window, the screen's menu font, owner-drawn items (their texts, default measure and
// drawing, the messages that reach them through forms, the application window and an explicit
// owner) and the stored Images / ImageIndex / OwnerDraw properties.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include "FormReader.h"
#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"

using namespace fw;

namespace {

void Pump() { Application->ProcessMessages(); }

TMenuItem* NewItem(TComponent* owner, const std::wstring& caption, TMenuItem* parent = nullptr) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  if (parent) parent->Add(item);
  return item;
}

// A Win32 subclass of a window (below the framework's own procedure) that sees every message
// sent through the window, and only those.
class TSubclass {
public:
  using THandler = std::function<void(UINT msg, WPARAM wParam, LPARAM lParam)>;
  TSubclass(HWND wnd, THandler handler) : FWnd(wnd), FHandler(std::move(handler)) {
    SetWindowSubclass(FWnd, &Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~TSubclass() { RemoveWindowSubclass(FWnd, &Proc, 1); }
  TSubclass(const TSubclass&) = delete;
  TSubclass& operator=(const TSubclass&) = delete;

private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    reinterpret_cast<TSubclass*>(data)->FHandler(msg, wp, lp);
    return DefSubclassProc(w, msg, wp, lp);
  }
  HWND FWnd;
  THandler FHandler;
};

BOOL CALLBACK CollectMenuWindow(HWND w, LPARAM p) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (wcscmp(cls, L"#32768") == 0 && IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

// Visible popup menu windows of this thread.
std::vector<HWND> OpenMenuWindows() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), &CollectMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Drives a menu loop from a thread timer: step(tick, open menu windows) runs every 50 ms and
// returns true when it is done. A watchdog ends the menu after five seconds, so a menu that does
// not react fails the test instead of hanging it.
class TMenuScript {
public:
  using TStep = std::function<bool(int tick, const std::vector<HWND>& menus)>;
  explicit TMenuScript(TStep step) : FStep(std::move(step)) {
    gCurrent = this;
    FTimer = SetTimer(nullptr, 0, 50, &TMenuScript::Tick);
  }
  ~TMenuScript() {
    KillTimer(nullptr, FTimer);
    gCurrent = nullptr;
  }
  TMenuScript(const TMenuScript&) = delete;
  TMenuScript& operator=(const TMenuScript&) = delete;
  bool TimedOut = false;

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TMenuScript* s = gCurrent;
    if (!s) return;
    if (++s->FTicks > 100) {
      s->TimedOut = true;
      EndMenu();
      return;
    }
    if (!s->FDone) s->FDone = s->FStep(s->FTicks, OpenMenuWindows());
  }
  static inline TMenuScript* gCurrent = nullptr;
  TStep FStep;
  UINT_PTR FTimer = 0;
  int FTicks = 0;
  bool FDone = false;
};

// Once the menu has been on the screen for two ticks (so it has measured and painted its items),
// one Escape a tick until it is closed.
TMenuScript::TStep CloseAfterPaint() {
  return [seen = 0](int, const std::vector<HWND>& menus) mutable {
    if (menus.empty() || ++seen < 3) return false;
    PostMessageW(menus.back(), WM_KEYDOWN, VK_ESCAPE, 0);
    return false;
  };
}

// Records the owner-drawing events of items.
struct TDrawLog {
  std::vector<TMenuItem*> Measured, Drawn;
  int AddWidth = 0;
  std::vector<int> WidthsSeen;
  void Measure(TObject* sender, TCanvas&, int& width, int& height) {
    Measured.push_back(static_cast<TMenuItem*>(sender));
    WidthsSeen.push_back(width);
    width += AddWidth;
    (void)height;
  }
  void Draw(TObject* sender, TCanvas& canvas, const RECT& rect, bool selected) {
    Drawn.push_back(static_cast<TMenuItem*>(sender));
    static_cast<TMenuItem*>(sender)->DrawItem(canvas, rect, selected);
  }
  void Attach(TMenuItem* item) {
    item->OnMeasureItem = TMenuMeasureItemEvent::Of<&TDrawLog::Measure>(this);
    item->OnDrawItem = TMenuDrawItemEvent::Of<&TDrawLog::Draw>(this);
  }
  bool WasMeasured(TMenuItem* i) const { return std::count(Measured.begin(), Measured.end(), i) > 0; }
  bool WasDrawn(TMenuItem* i) const { return std::count(Drawn.begin(), Drawn.end(), i) > 0; }
};

struct TClickLog {
  std::vector<TObject*> Clicks;
  void Click(TObject* sender) { Clicks.push_back(sender); }
};

UINT ItemType(HMENU menu, int pos) {
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &mi);
  return mi.fType;
}

std::wstring ItemText(HMENU menu, int pos) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(pos), text, 128, MF_BYPOSITION);
  return text;
}

}  // namespace

TEST(MenuItems, SubmenuItemsKeepTheirCommandAndAreFoundByCommandAndByHandle) {
  TForm form(nullptr);
  form.SetBounds(40, 40, 320, 200);
  auto* menu = new TMainMenu(&form);
  TMenuItem* file = NewItem(&form, L"&F 文件", menu->Items());
  TMenuItem* quit = NewItem(&form, L"&Q 结束", file);
  TMenuItem* help = NewItem(&form, L"&H 帮助", menu->Items());
  TMenuItem* more = NewItem(&form, L"&M 更多", help);
  TMenuItem* about = NewItem(&form, L"&A 关于...", more);
  TMenuItem* exitTop = NewItem(&form, L"&Q 结束", menu->Items());
  menu->AttachTo(&form);
  form.Show();
  Pump();

  HMENU bar = GetMenu(form.Handle());
  ASSERT_EQ(bar, menu->Handle());
  EXPECT_EQ(menu->Items()->Handle(), bar);
  for (int pos : {0, 1}) {
    TMenuItem* item = menu->Items()->Items(pos);
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_SUBMENU;
    ASSERT_TRUE(GetMenuItemInfoW(bar, static_cast<UINT>(pos), TRUE, &mi));
    EXPECT_EQ(mi.wID, item->Command()) << pos;
    ASSERT_NE(mi.hSubMenu, nullptr);
    EXPECT_EQ(mi.hSubMenu, item->Handle());
    EXPECT_EQ(menu->FindItem(item->Command(), fkCommand), item);
    EXPECT_EQ(menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(mi.hSubMenu)), fkHandle), item);
  }
  // A second level: its item sits in the first submenu with its own command and submenu.
  HMENU helpMenu = help->Handle();
  EXPECT_EQ(GetMenuItemID(helpMenu, 0), static_cast<UINT>(-1));  // the system's answer for a submenu item
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_ID | MIIM_SUBMENU;
  ASSERT_TRUE(GetMenuItemInfoW(helpMenu, 0, TRUE, &mi));
  EXPECT_EQ(mi.wID, more->Command());
  EXPECT_EQ(mi.hSubMenu, more->Handle());
  EXPECT_EQ(menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(more->Handle())), fkHandle), more);
  EXPECT_EQ(GetMenuItemID(more->Handle(), 0), about->Command());
  // Items without children have no handle; the root item has the menu's; 0 finds nothing.
  EXPECT_EQ(quit->Handle(), nullptr);
  EXPECT_EQ(exitTop->Handle(), nullptr);
  EXPECT_EQ(menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(bar)), fkHandle), menu->Items());
  EXPECT_EQ(menu->FindItem(0, fkCommand), nullptr);
  EXPECT_EQ(menu->FindItem(0, fkHandle), nullptr);
  EXPECT_EQ(menu->FindItem(menu->Items()->Command(), fkCommand), nullptr);  // the root is no command
  EXPECT_EQ(menu->FindItem(about->Command()), about);

  // After a rebuild the items name the new submenus of the bar.
  file->SetCaption(L"&F 文件(新)");
  HMENU newBar = GetMenu(form.Handle());
  ASSERT_EQ(newBar, menu->Handle());
  EXPECT_EQ(GetSubMenu(newBar, 0), file->Handle());
  EXPECT_EQ(GetSubMenu(newBar, 1), help->Handle());
  EXPECT_EQ(menu->FindItem(static_cast<UINT>(reinterpret_cast<UINT_PTR>(file->Handle())), fkHandle), file);
  EXPECT_EQ(ItemText(newBar, 0), L"&F 文件(新)");
  // An item taken out of the menu no longer names a submenu of it.
  help->Remove(more);
  EXPECT_EQ(more->Handle(), nullptr);
  EXPECT_EQ(menu->FindItem(about->Command()), nullptr);
  delete more;
  // A command of a submenu item reaches nothing: only leaves run their OnClick.
  TClickLog log;
  file->OnClick = TNotifyEvent::Of<&TClickLog::Click>(&log);
  quit->OnClick = TNotifyEvent::Of<&TClickLog::Click>(&log);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(quit->Command(), 0), 0);
  ASSERT_EQ(log.Clicks.size(), 1u);
  EXPECT_EQ(log.Clicks[0], quit);
}

TEST(MenuItems, CommandsStayInTheApplicationsRangeAndNoTwoLiveItemsShareOne) {
  // Many items made and freed one after the other go round the range more than once.
  for (int i = 0; i < 9000; ++i) {
    TMenuItem item(nullptr);
    ASSERT_GE(item.Command(), 1u);
    ASSERT_LE(item.Command(), 4095u);
  }
  // Live items keep their identifiers while others come and go.
  std::vector<std::unique_ptr<TMenuItem>> live;
  for (int i = 0; i < 3000; ++i) live.push_back(std::make_unique<TMenuItem>(nullptr));
  for (size_t i = 0; i < live.size(); i += 2) live[i].reset();
  for (int i = 0; i < 2000; ++i) live.push_back(std::make_unique<TMenuItem>(nullptr));
  std::set<UINT> ids;
  size_t count = 0;
  for (auto& item : live) {
    if (!item) continue;
    ++count;
    EXPECT_GE(item->Command(), 1u);
    EXPECT_LE(item->Command(), 4095u);
    ids.insert(item->Command());
  }
  EXPECT_EQ(ids.size(), count);
  // When the whole range is taken a new item is refused instead of sharing an identifier.
  bool refused = false;
  for (int more = 0; !refused && more < 5000; ++more) {
    try {
      live.push_back(std::make_unique<TMenuItem>(nullptr));
    } catch (const EInvalidOperation&) {
      refused = true;
    }
  }
  EXPECT_TRUE(refused);
  ids.clear();
  count = 0;
  for (auto& item : live)
    if (item) {
      ++count;
      ids.insert(item->Command());
    }
  EXPECT_EQ(ids.size(), count);
  EXPECT_LE(count, 4095u);
  // A freed identifier is handed out again.
  UINT freed = 0;
  for (auto& item : live)
    if (item) {
      freed = item->Command();
      item.reset();
      break;
    }
  TMenuItem again(nullptr);
  EXPECT_EQ(again.Command(), freed);
  live.clear();
  TMenuItem after(nullptr);
  EXPECT_GE(after.Command(), 1u);
}

TEST(MainMenu, EachChangeRebuildsTheMenuAndTellsTheFormsWindowAlsoWhenItsMenuWasTakenOff) {
  TForm form(nullptr);
  form.SetBounds(40, 40, 320, 200);
  auto* menu = new TMainMenu(&form);
  TMenuItem* file = NewItem(&form, L"&F 文件", menu->Items());
  TMenuItem* quit = NewItem(&form, L"&Q 结束", file);
  menu->AttachTo(&form);
  form.Show();
  Pump();
  HWND h = form.Handle();
  // What the window sees: the notices, and the caption of the menu built by the time each arrives.
  std::vector<std::wstring> seen;
  TSubclass spy(h, [&](UINT msg, WPARAM, LPARAM) {
    if (msg == CM_MENUCHANGED) seen.push_back(ItemText(menu->Handle(), 0));
  });

  file->SetCaption(L"&F 文件一");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], L"&F 文件一");
  EXPECT_EQ(GetMenu(h), menu->Handle());  // the window showed the menu: it shows the new one
  EXPECT_EQ(ItemText(GetMenu(h), 0), L"&F 文件一");
  quit->SetEnabled(false);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_TRUE(GetMenuState(GetSubMenu(GetMenu(h), 0), 0, MF_BYPOSITION) & MF_GRAYED);
  quit->SetEnabled(false);  // no change, no rebuild
  file->SetCaption(L"&F 文件一");
  EXPECT_EQ(seen.size(), 2u);

  // Someone takes the menu off the window (a skin drawing the bar itself): the changes still
  // rebuild the menu and reach the window, which stays without a menu.
  SetMenu(h, nullptr);
  file->SetCaption(L"&F 文件二");
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[2], L"&F 文件二");
  EXPECT_EQ(GetMenu(h), nullptr);
  quit->SetEnabled(true);
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_EQ(GetMenu(h), nullptr);
  EXPECT_FALSE(GetMenuState(GetSubMenu(menu->Handle(), 0), 0, MF_BYPOSITION) & MF_GRAYED);
  NewItem(&form, L"&H 帮助", menu->Items());
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(GetMenuItemCount(menu->Handle()), 2);
  menu->SetOwnerDraw(true);
  EXPECT_EQ(seen.size(), 6u);
  EXPECT_EQ(GetMenu(h), nullptr);
}

TEST(Screen, MenuFontIsTheSystemsMenuFont) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  TFont& font = Screen->MenuFont();
  EXPECT_EQ(font.Name(), std::wstring(metrics.lfMenuFont.lfFaceName));
  EXPECT_EQ(font.Height(), metrics.lfMenuFont.lfHeight);
  EXPECT_EQ(font.Charset(), metrics.lfMenuFont.lfCharSet);
  EXPECT_EQ(font.Color(), clMenuText);
  EXPECT_FALSE(font.Name().empty());
  // A change of the system's settings makes it read the metrics again.
  font.SetName(L"Changed");
  font.SetHeight(-40);
  EXPECT_EQ(Screen->MenuFont().Name(), L"Changed");
  SendMessageW(Application->Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  EXPECT_EQ(&Screen->MenuFont(), &font);
  EXPECT_EQ(font.Name(), std::wstring(metrics.lfMenuFont.lfFaceName));
  EXPECT_EQ(font.Height(), metrics.lfMenuFont.lfHeight);
}

TEST(MenuItems, OwnerDrawnItemsKeepTheirTextsSoTheirLettersStillChooseThem) {
  TForm form(nullptr);
  form.SetBounds(40, 40, 320, 200);
  auto* popup = new TPopupMenu(&form);
  TMenuItem* open = NewItem(&form, L"&O 打开", popup->Items());
  TMenuItem* sep = NewItem(&form, L"-", popup->Items());
  TMenuItem* recent = NewItem(&form, L"&R 最近", popup->Items());
  NewItem(&form, L"&1 一.txt", recent);
  TMenuItem* del = NewItem(&form, L"&D 删除", popup->Items());
  TClickLog clicks;
  del->OnClick = TNotifyEvent::Of<&TClickLog::Click>(&clicks);
  open->OnClick = TNotifyEvent::Of<&TClickLog::Click>(&clicks);

  HMENU plain = popup->Handle();
  for (int pos = 0; pos < 4; ++pos) EXPECT_FALSE(ItemType(plain, pos) & MFT_OWNERDRAW) << pos;
  popup->SetOwnerDraw(true);
  HMENU drawn = popup->Handle();
  ASSERT_EQ(GetMenuItemCount(drawn), 4);
  for (int pos = 0; pos < 4; ++pos) EXPECT_TRUE(ItemType(drawn, pos) & MFT_OWNERDRAW) << pos;
  EXPECT_TRUE(ItemType(drawn, 1) & MFT_SEPARATOR);
  EXPECT_EQ(GetMenuItemID(drawn, 1), sep->Command());  // found by command when it is drawn
  EXPECT_EQ(ItemText(drawn, 0), L"&O 打开");
  EXPECT_EQ(ItemText(drawn, 2), L"&R 最近");
  EXPECT_EQ(ItemText(drawn, 3), L"&D 删除");
  EXPECT_TRUE(ItemType(recent->Handle(), 0) & MFT_OWNERDRAW);
  EXPECT_EQ(ItemText(recent->Handle(), 0), L"&1 一.txt");
  EXPECT_EQ(GetMenuItemID(drawn, 3), del->Command());

  // Typing an item's letter in the open menu chooses it.
  form.Show();
  Pump();
  popup->PopupComponent = &form;
  TMenuScript script([](int, const std::vector<HWND>& menus) {
    if (menus.empty()) return false;
    PostMessageW(menus[0], WM_CHAR, L'd', 0);
    return true;
  });
  popup->Popup(100, 100);
  EXPECT_FALSE(script.TimedOut);
  ASSERT_EQ(clicks.Clicks.size(), 1u);
  EXPECT_EQ(clicks.Clicks[0], del);

  // A menu bar keeps the system's drawing of its own items; their submenus are owner-drawn.
  auto* bar = new TMainMenu(&form);
  TMenuItem* file = NewItem(&form, L"&F 文件", bar->Items());
  NewItem(&form, L"&Q 结束", file);
  NewItem(&form, L"&X 退出", bar->Items());
  bar->SetOwnerDraw(true);
  EXPECT_FALSE(ItemType(bar->Handle(), 0) & MFT_OWNERDRAW);
  EXPECT_FALSE(ItemType(bar->Handle(), 1) & MFT_OWNERDRAW);
  EXPECT_TRUE(ItemType(file->Handle(), 0) & MFT_OWNERDRAW);
  EXPECT_TRUE(file->IsOwnerDraw() == false && file->Items(0)->IsOwnerDraw());
  // A menu with images is owner-drawn too.
  popup->SetOwnerDraw(false);
  EXPECT_FALSE(ItemType(popup->Handle(), 0) & MFT_OWNERDRAW);
  TImageList images(nullptr, 16, 16);
  popup->SetImages(&images);
  EXPECT_TRUE(ItemType(popup->Handle(), 0) & MFT_OWNERDRAW);
  popup->SetImages(nullptr);
}

namespace {

// A bitmap of one menu item drawn by DoDrawItem in the menu font.
struct TItemPicture {
  TBitmap Bitmap{220, 24};
  explicit TItemPicture(TMenuItem& item, bool selected) {
    Bitmap.Canvas().Brush().SetColor(clWhite);
    Bitmap.Canvas().FillRect({0, 0, 220, 24});
    Bitmap.Canvas().Font().Assign(Screen->MenuFont());
    item.DoDrawItem(Bitmap.Canvas(), RECT{0, 0, 220, 24}, selected);
  }
  TColor At(int x, int y) { return Bitmap.Canvas().Pixel(x, y) & 0xFFFFFF; }
  // Pixels of a rectangle that differ from colour.
  int Differing(const RECT& r, TColor colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(x, y) != colour;
    return n;
  }
};

TColor Sys(int index) { return GetSysColor(index) & 0xFFFFFF; }

}  // namespace

TEST(MenuItems, DefaultMeasureAndDrawingAndTheEventsThatAdjustOrReplaceThem) {
  TPopupMenu popup(nullptr);
  TMenuItem* open = NewItem(&popup, L"&O 打开", popup.Items());
  TMenuItem* longer = NewItem(&popup, L"&O 打开一个名字很长的文件", popup.Items());
  TMenuItem* keys = NewItem(&popup, L"&O 打开\tCtrl+O", popup.Items());
  TMenuItem* sep = NewItem(&popup, L"-", popup.Items());
  TMenuItem* sub = NewItem(&popup, L"&O 打开", popup.Items());
  NewItem(&popup, L"&1 一", sub);
  TBitmap scratch(10, 10);
  TCanvas& canvas = scratch.Canvas();
  canvas.Font().Assign(Screen->MenuFont());
  auto measure = [&](TMenuItem* item) {
    int w = -1, h = -1;
    item->DoMeasureItem(canvas, w, h);
    return std::pair{w, h};
  };
  auto [w, h] = measure(open);
  TEXTMETRICW tm{};
  GetTextMetricsW(canvas.Handle(), &tm);
  EXPECT_GE(h, tm.tmHeight);
  EXPECT_GE(h, 16);
  EXPECT_GT(w, 16 + canvas.TextExtent(L"O 打开").cx);
  EXPECT_GT(measure(longer).first, w + canvas.TextExtent(L"一个名字很长的文件").cx - 2);
  EXPECT_GE(measure(keys).first, w + canvas.TextExtent(L"Ctrl+O").cx);
  EXPECT_GT(measure(sub).first, w);  // room for the submenu arrow
  EXPECT_EQ(measure(sep), (std::pair{0, 8}));
  // Images set the box: taller images make a taller item.
  TImageList big(nullptr, 32, 32);
  popup.SetImages(&big);
  EXPECT_GE(measure(open).second, 34);
  EXPECT_GT(measure(open).first, w + 15);
  popup.SetImages(nullptr);
  // The measure event gets the default size and may change it.
  TDrawLog log;
  log.AddWidth = 10;
  log.Attach(open);
  auto [w2, h2] = measure(open);
  ASSERT_EQ(log.WidthsSeen.size(), 1u);
  EXPECT_EQ(log.WidthsSeen[0], w);
  EXPECT_EQ(w2, w + 10);
  EXPECT_EQ(h2, h);

  // Default drawing: highlight behind a selected item, menu colour otherwise; the caption shows.
  {
    TItemPicture selected(*keys, true);
    EXPECT_EQ(selected.At(218, 1), Sys(COLOR_HIGHLIGHT));
    EXPECT_GT(selected.Differing({20, 0, 120, 24}, Sys(COLOR_HIGHLIGHT)), 10);
    EXPECT_GT(selected.Differing({150, 0, 209, 24}, Sys(COLOR_HIGHLIGHT)), 5);  // the shortcut, right-aligned
    EXPECT_EQ(selected.Differing({0, 0, 18, 24}, Sys(COLOR_HIGHLIGHT)), 0);     // no check, no image
    TItemPicture normal(*keys, false);
    EXPECT_EQ(normal.At(218, 1), Sys(COLOR_MENU));
  }
  // A checked item without an image shows the check mark in its box.
  keys->SetChecked(true);
  EXPECT_GT(TItemPicture(*keys, false).Differing({1, 2, 17, 22}, Sys(COLOR_MENU)), 4);
  keys->SetChecked(false);
  // A separator is a line across the middle, nothing above or below it.
  {
    TItemPicture line(*sep, true);
    EXPECT_GT(line.Differing({0, 10, 220, 14}, Sys(COLOR_MENU)), 100);
    EXPECT_EQ(line.Differing({0, 0, 220, 8}, Sys(COLOR_MENU)), 0);
    EXPECT_EQ(line.Differing({0, 16, 220, 24}, Sys(COLOR_MENU)), 0);
  }
  // An item with an image draws it in the box; checked, the box gets a sunken frame.
  {
    TImageList images(nullptr, 16, 16);
    TBitmap red(16, 16);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect({0, 0, 16, 16});
    ASSERT_EQ(images.Add(red, nullptr), 0);
    popup.SetImages(&images);
    keys->SetImageIndex(0);
    TItemPicture withImage(*keys, false);
    EXPECT_EQ(withImage.At(9, 12), clRed);
    keys->SetChecked(true);
    TItemPicture checked(*keys, false);
    EXPECT_EQ(checked.At(9, 12), clRed);
    EXPECT_NE(checked.At(1, 4), Sys(COLOR_MENU));  // the frame's corner
    keys->SetImageIndex(5);  // out of range: no image, the check mark instead
    TItemPicture noImage(*keys, false);
    EXPECT_NE(noImage.At(9, 12), clRed);
    popup.SetImages(nullptr);
  }
  // The draw event replaces the default drawing.
  struct TPlain {
    int Calls = 0;
    void Draw(TObject*, TCanvas&, const RECT&, bool) { ++Calls; }
  } plain;
  keys->OnDrawItem = TMenuDrawItemEvent::Of<&TPlain::Draw>(&plain);
  TItemPicture replaced(*keys, true);
  EXPECT_EQ(plain.Calls, 1);
  EXPECT_EQ(replaced.At(218, 1), clWhite);
}

namespace {

// A plain window (no framework) whose procedure hands menu item messages to the framework, as
// a skinned window does for the menus it shows.
LRESULT CALLBACK PlainOwnerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MEASUREITEM || msg == WM_DRAWITEM) {
    TMessage m{msg, wp, lp, 0};
    try {
      if (DispatchMenuItemMessage(w, m)) return m.Result;
    } catch (...) {
      HandleCallbackException(nullptr);
      return FALSE;
    }
  }
  return DefWindowProcW(w, msg, wp, lp);
}

struct TPlainWindow {
  HWND Handle = nullptr;
  TPlainWindow() {
    static bool registered = false;
    if (!registered) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &PlainOwnerProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"MenusTestsPlainOwner";
      RegisterClassW(&wc);
      registered = true;
    }
    Handle = CreateWindowExW(0, L"MenusTestsPlainOwner", L"主人", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300, 200,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~TPlainWindow() {
    if (Handle) DestroyWindow(Handle);
  }
  TPlainWindow(const TPlainWindow&) = delete;
  TPlainWindow& operator=(const TPlainWindow&) = delete;
};

// The item identifiers of the WM_MEASUREITEM messages for menus that a window receives.
struct TMeasureSpy {
  std::vector<UINT> Ids;
  std::unique_ptr<TSubclass> Spy;
  explicit TMeasureSpy(HWND w)
      : Spy(std::make_unique<TSubclass>(w, [this](UINT msg, WPARAM, LPARAM lp) {
          if (msg == WM_MEASUREITEM && reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlType == ODT_MENU)
            Ids.push_back(reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemID);
        })) {}
  bool Saw(UINT id) const { return std::count(Ids.begin(), Ids.end(), id) > 0; }
};

}  // namespace

TEST(PopupMenu, OwnerDrawnItemsAreMeasuredAndDrawnThroughTheWindowThatOwnsTheMenu) {
  TForm form(nullptr);
  form.SetBounds(40, 40, 320, 240);
  auto* popup = new TPopupMenu(&form);
  TMenuItem* first = NewItem(&form, L"&A 第一", popup->Items());
  TMenuItem* sep = NewItem(&form, L"-", popup->Items());
  TMenuItem* sub = NewItem(&form, L"&S 子菜单", popup->Items());
  TMenuItem* inner = NewItem(&form, L"&I 里面", sub);
  TMenuItem* last = NewItem(&form, L"&B 最后", popup->Items());
  TDrawLog log;
  for (TMenuItem* i : {first, sep, sub, inner, last}) log.Attach(i);
  popup->SetOwnerDraw(true);
  form.Show();
  Pump();

  // The form's own popup menu, with the form's window as owner; the submenu is opened too.
  {
    TMeasureSpy ids(form.Handle());
    popup->PopupComponent = &form;
    TMenuScript script([step = 0](int, const std::vector<HWND>& menus) mutable {
      if (menus.empty()) return false;
      switch (step++) {
        case 0: return false;
        case 1:  // to the submenu item (the separator is skipped) and open it
          PostMessageW(menus[0], WM_KEYDOWN, VK_DOWN, 0);
          PostMessageW(menus[0], WM_KEYDOWN, VK_DOWN, 0);
          PostMessageW(menus[0], WM_KEYDOWN, VK_RIGHT, 0);
          return false;
        case 2:
        case 3: return false;
        default:  // one Escape a tick until every menu is closed
          PostMessageW(menus.back(), WM_KEYDOWN, VK_ESCAPE, 0);
          return false;
      }
    });
    popup->Popup(80, 80);
    EXPECT_FALSE(script.TimedOut);
    for (TMenuItem* i : {first, sep, sub, last}) {
      EXPECT_TRUE(log.WasMeasured(i)) << WideToUtf8(i->Caption());
      EXPECT_TRUE(log.WasDrawn(i)) << WideToUtf8(i->Caption());
    }
    EXPECT_TRUE(log.WasMeasured(inner));
    EXPECT_TRUE(log.WasDrawn(inner));
    // The system names a submenu item by its command identifier.
    EXPECT_TRUE(ids.Saw(sub->Command()));
    EXPECT_FALSE(ids.Saw(static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub->Handle()))));
  }

  // A menu of nobody's, shown with a plain window as its owner: that window's messages reach the
  // items while the menu is open.
  {
    TPopupMenu loose(nullptr);
    TMenuItem* one = NewItem(&loose, L"&O 一", loose.Items());
    TMenuItem* two = NewItem(&loose, L"&T 二", loose.Items());
    TDrawLog looseLog;
    looseLog.Attach(one);
    looseLog.Attach(two);
    loose.SetOwnerDraw(true);
    TPlainWindow owner;
    ASSERT_NE(owner.Handle, nullptr);
    TMeasureSpy ids(owner.Handle);
    TMenuScript script(CloseAfterPaint());
    loose.Popup(90, 90, owner.Handle);
    EXPECT_FALSE(script.TimedOut);
    EXPECT_TRUE(looseLog.WasMeasured(one));
    EXPECT_TRUE(looseLog.WasMeasured(two));
    EXPECT_TRUE(looseLog.WasDrawn(one));
    EXPECT_TRUE(ids.Saw(one->Command()));
    // Once it is closed, the same window no longer finds them.
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, one->Command(), 0, 0, 0};
    TMessage m{WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), 0};
    EXPECT_FALSE(DispatchMenuItemMessage(owner.Handle, m));
  }

  // A popup without a clicked control is owned by the application's window, which draws it.
  {
    TPopupMenu appMenu(nullptr);
    TMenuItem* one = NewItem(&appMenu, L"&O 一", appMenu.Items());
    TDrawLog appLog;
    appLog.Attach(one);
    appMenu.SetOwnerDraw(true);
    TMeasureSpy ids(Application->Handle());
    TMenuScript script(CloseAfterPaint());
    appMenu.Popup(100, 100);
    EXPECT_FALSE(script.TimedOut);
    EXPECT_TRUE(ids.Saw(one->Command()));
    EXPECT_TRUE(appLog.WasMeasured(one));
    EXPECT_TRUE(appLog.WasDrawn(one));
  }
}

TEST(MainMenu, DropDownTrackedWithTheFormsWindowDrawsItsItemsThroughTheForm) {
  // A skin takes the bar off the window and tracks each drop-down itself, owned by the window.
  TForm form(nullptr);
  form.SetBounds(40, 40, 320, 240);
  auto* menu = new TMainMenu(&form);
  TMenuItem* file = NewItem(&form, L"&F 文件", menu->Items());
  TMenuItem* quit = NewItem(&form, L"&Q 结束", file);
  TMenuItem* sep = NewItem(&form, L"-", file);
  TMenuItem* more = NewItem(&form, L"&M 更多", file);
  NewItem(&form, L"&A 关于", more);
  TDrawLog log;
  for (TMenuItem* i : {file, quit, sep, more}) log.Attach(i);
  menu->AttachTo(&form);
  menu->SetOwnerDraw(true);
  form.Show();
  Pump();
  SetMenu(form.Handle(), nullptr);
  HMENU dropDown = file->Handle();
  ASSERT_NE(dropDown, nullptr);
  TMenuScript script(CloseAfterPaint());
  TrackPopupMenu(dropDown, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, 100, 100, 0, form.Handle(),
                 nullptr);
  EXPECT_FALSE(script.TimedOut);
  for (TMenuItem* i : {quit, sep, more}) {
    EXPECT_TRUE(log.WasMeasured(i)) << WideToUtf8(i->Caption());
    EXPECT_TRUE(log.WasDrawn(i)) << WideToUtf8(i->Caption());
  }
  EXPECT_FALSE(log.WasMeasured(file));  // the bar's own item is not owner-drawn
  // A message for an item the form does not know is left to the window's own handling.
  MEASUREITEMSTRUCT mis{ODT_MENU, 0, 0xF060, 0, 0, 0};
  TMessage m{WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), 0};
  EXPECT_FALSE(DispatchMenuItemMessage(form.Handle(), m));
  // A draw message naming another system menu than the item's is not the item's.
  TBitmap target(50, 20);
  DRAWITEMSTRUCT dis{ODT_MENU, 0, quit->Command(), ODA_DRAWENTIRE, 0,
                     reinterpret_cast<HWND>(menu->Handle()), target.Canvas().Handle(), {0, 0, 50, 20}, 0};
  TMessage d{WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis), 0};
  size_t drawn = log.Drawn.size();
  EXPECT_FALSE(DispatchMenuItemMessage(form.Handle(), d));
  dis.hwndItem = reinterpret_cast<HWND>(file->Handle());
  EXPECT_TRUE(DispatchMenuItemMessage(form.Handle(), d));
  EXPECT_EQ(d.Result, TRUE);
  EXPECT_EQ(log.Drawn.size(), drawn + 1);
}

namespace {

class TStoredMenuForm : public TForm {
  FW_DECLARE_CLASS()
public:
  using TForm::TForm;
  int Measures = 0, Draws = 0;
  void PItemMeasure(TObject*, TCanvas&, int&, int&) { ++Measures; }
  void PItemDraw(TObject*, TCanvas&, const RECT&, bool) { ++Draws; }
};

const TClassInfo& TStoredMenuForm::StaticClassInfo() {
  static const TClassInfo info{"TStoredMenuForm",
                               &TForm::StaticClassInfo(),
                               {},
                               {},
                               {FW_PUBLISHED_METHOD(TStoredMenuForm, PItemMeasure),
                                FW_PUBLISHED_METHOD(TStoredMenuForm, PItemDraw)}};
  return info;
}

const char* kStoredMenus = R"(object StoredMenuForm: TStoredMenuForm
  Width = 300
  Height = 200
  object PopupMenu1: TPopupMenu
    Images = ImageList1
    OwnerDraw = True
    object PItem: TMenuItem
      Caption = '&P 项'
      ImageIndex = 2
      OnMeasureItem = PItemMeasure
      OnDrawItem = PItemDraw
    end
    object PPlain: TMenuItem
      Caption = '&N 无图'
    end
  end
  object MainMenu1: TMainMenu
    Images = ImageList1
    object MFile: TMenuItem
      Caption = '&F 文件'
      ImageIndex = 0
    end
  end
  object ImageList1: TImageList
    Width = 20
    Height = 18
  end
end
)";

}  // namespace

TEST(Menus, StoredImagesImageIndexOwnerDrawAndDrawingEventsAreRead) {
  RegisterMenus();
  RegisterImageLists();
  auto form = std::make_unique<TStoredMenuForm>(nullptr);
  ReadComponentTree(form.get(), ParseFormText(kStoredMenus));
  auto* popup = FindStored<TPopupMenu>(form.get(), L"PopupMenu1");
  auto* images = FindStored<TImageList>(form.get(), L"ImageList1");
  auto* item = FindStored<TMenuItem>(form.get(), L"PItem");
  EXPECT_EQ(popup->Images(), images);
  EXPECT_TRUE(popup->OwnerDraw());
  EXPECT_EQ(FindStored<TMainMenu>(form.get(), L"MainMenu1")->Images(), images);
  EXPECT_FALSE(FindStored<TMainMenu>(form.get(), L"MainMenu1")->OwnerDraw());
  EXPECT_EQ(item->ImageIndex(), 2);
  EXPECT_EQ(FindStored<TMenuItem>(form.get(), L"PPlain")->ImageIndex(), -1);
  EXPECT_EQ(FindStored<TMenuItem>(form.get(), L"MFile")->ImageIndex(), 0);
  EXPECT_EQ(item->GetImageList(), images);
  EXPECT_TRUE(ItemType(popup->Handle(), 0) & MFT_OWNERDRAW);
  // The bound events run through the entry points.
  TBitmap scratch(10, 10);
  int w = 0, h = 0;
  item->DoMeasureItem(scratch.Canvas(), w, h);
  EXPECT_GE(h, 20);  // the list's 18-pixel images
  item->DoDrawItem(scratch.Canvas(), RECT{0, 0, 10, 10}, false);
  EXPECT_EQ(form->Measures, 1);
  EXPECT_EQ(form->Draws, 1);
  // The properties read back through the property table.
  const TPropInfo* p = popup->ClassInfo().FindProp("Images");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::get<TObject*>(p->Get(popup)), images);
  ASSERT_NE(item->ClassInfo().FindProp("ImageIndex"), nullptr);
  EXPECT_EQ(PropInt(item->ClassInfo().FindProp("ImageIndex")->Get(item)), 2);
  // Freeing the image list leaves the menus without one, drawn by the system again.
  delete images;
  EXPECT_EQ(popup->Images(), nullptr);
  EXPECT_TRUE(ItemType(popup->Handle(), 0) & MFT_OWNERDRAW);  // still owner-drawn by its switch
  EXPECT_EQ(FindStored<TMainMenu>(form.get(), L"MainMenu1")->Images(), nullptr);
}
