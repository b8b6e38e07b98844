// Tab controls: the tab window with its display area, a tab control over a list of texts, and
// the page control that shows one of its sheets.
#include "ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "PropTables.h"

namespace fw {

namespace {

using props::Prop;
using props::SubObject;

const std::vector<std::string> TabStyleNames{"tsTabs", "tsButtons", "tsFlatButtons"};
const std::vector<std::string> TabPositionNames{"tpTop", "tpBottom", "tpLeft", "tpRight"};

}  // namespace

// ---------------------------------------------------------------------------
// TCustomTabControl
// ---------------------------------------------------------------------------

const TClassInfo& TCustomTabControl::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomTabControl",
      &TWinControl::StaticClassInfo(),
      {},
      {Prop("Style", TPropKind::Enumeration, &TCustomTabControl::Style, &TCustomTabControl::SetStyle, TabStyleNames),
       Prop("MultiLine", TPropKind::Boolean, &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine),
       Prop("TabPosition", TPropKind::Enumeration, &TCustomTabControl::TabPosition,
            &TCustomTabControl::SetTabPosition, TabPositionNames),
       MethodProp<TCustomTabControl, &TCustomTabControl::OnChange>("OnChange")},
      {}};
  return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  ControlStyle |= csAcceptsControls;
  ControlStyle &= ~(csSetCaption | csClickEvents);
  SetBounds(0, 0, 289, 193);
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.WinClassName = WC_TABCONTROLW;
  if (FStyle == tsButtons) p.Style |= TCS_BUTTONS;
  if (FStyle == tsFlatButtons) p.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
  if (FMultiLine) p.Style |= TCS_MULTILINE;
  if (FTabPosition == tpBottom) p.Style |= TCS_BOTTOM;
  if (FTabPosition == tpLeft) p.Style |= TCS_VERTICAL | TCS_MULTILINE;
  if (FTabPosition == tpRight) p.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
}

void TCustomTabControl::CreateHandleDone() { UpdateTabs(); }

void TCustomTabControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  HWND h = HandleIfAllocated();
  const int keep = FTabIndex;
  SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
  const std::vector<std::wstring> texts = TabTexts();
  for (size_t i = 0; i < texts.size(); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(texts[i].c_str());
    SendMessageW(h, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  FTabIndex = keep < static_cast<int>(texts.size()) ? keep : -1;
  SendMessageW(h, TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
  Realign();
}

int TCustomTabControl::TabIndex() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageW(HandleIfAllocated(), TCM_GETCURSEL, 0, 0));
  return FTabIndex;
}

void TCustomTabControl::SetTabIndex(int i) {
  FTabIndex = i;
  if (HandleAllocated()) {
    SendMessageW(HandleIfAllocated(), TCM_SETCURSEL, static_cast<WPARAM>(i), 0);
    FTabIndex = TabIndex();
  }
}

void TCustomTabControl::SetStyle(TTabStyle s) {
  if (s == FStyle) return;
  FStyle = s;
  RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool v) {
  if (v == FMultiLine) return;
  FMultiLine = v;
  RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition p) {
  if (p == FTabPosition) return;
  FTabPosition = p;
  RecreateWnd();
}

RECT TCustomTabControl::DisplayRect() const {
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  if (HandleAllocated()) {
    SendMessageW(HandleIfAllocated(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  } else {
    InflateRect(&r, -4, -4);
    r.top += 20;
  }
  if (r.bottom < r.top) r.bottom = r.top;
  if (r.right < r.left) r.right = r.left;
  return r;
}

void TCustomTabControl::AlignControls(RECT& rect) {
  rect = DisplayRect();
  TWinControl::AlignControls(rect);
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& m) {
  if (const NMHDR* h = ReflectedNotifyHeader(m); h && h->code == TCN_SELCHANGE) {
    FTabIndex = TabIndex();
    Change();
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TTabControl
// ---------------------------------------------------------------------------

const TClassInfo& TTabControl::StaticClassInfo() {
  static const TClassInfo info{
      "TTabControl",
      &TCustomTabControl::StaticClassInfo(),
      &NewComponent<TTabControl>,
      {SubObject("Tabs", &TTabControl::Tabs),
       Prop("TabIndex", TPropKind::Integer, &TTabControl::TabIndex, &TTabControl::SetTabIndex)},
      {}};
  return info;
}

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner) {
  FTabs.OnListChanged = TNotifyEvent::Of<&TTabControl::TabsChanged>(this);
}

TTabControl::~TTabControl() { FTabs.OnListChanged.Clear(); }

std::vector<std::wstring> TTabControl::TabTexts() const {
  std::vector<std::wstring> texts;
  for (int i = 0; i < FTabs.Count(); ++i) texts.push_back(FTabs.Strings(i));
  return texts;
}

// ---------------------------------------------------------------------------
// TTabSheet
// ---------------------------------------------------------------------------

const TClassInfo& TTabSheet::StaticClassInfo() {
  static const TClassInfo info{
      "TTabSheet",
      &TCustomControl::StaticClassInfo(),
      &NewComponent<TTabSheet>,
      {Prop("TabVisible", TPropKind::Boolean, &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)},
      {}};
  return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) { SetVisible(false); }

TTabSheet::~TTabSheet() {
  if (FPageControl && !FPageControl->IsDestroying()) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* p) { SetParent(p); }

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetParent(TWinControl* parent) {
  if (FPageControl && parent != FPageControl) FPageControl->RemovePage(this);
  TCustomControl::SetParent(parent);
  if (auto* pc = dynamic_cast<TPageControl*>(parent); pc && pc != FPageControl) pc->InsertPage(this);
}

void TTabSheet::SetText(const std::wstring& s) {
  TCustomControl::SetText(s);
  if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == FTabVisible) return;
  FTabVisible = v;
  if (!FPageControl) return;
  FPageControl->FTabIndex = FPageControl->FActivePage ? FPageControl->FActivePage->TabIndex() : -1;
  FPageControl->UpdateTabs();
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int tab = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return tab;
    if (p->FTabVisible) ++tab;
  }
  return -1;
}

// ---------------------------------------------------------------------------
// TPageControl
// ---------------------------------------------------------------------------

const TClassInfo& TPageControl::StaticClassInfo() {
  static const TClassInfo info{
      "TPageControl",
      &TCustomTabControl::StaticClassInfo(),
      &NewComponent<TPageControl>,
      {{"ActivePage", TPropKind::Object,
        [](TObject* o) -> TPropValue { return static_cast<TObject*>(As<TPageControl>(o)->ActivePage()); },
        [](TObject* o, const TPropValue& v) {
          auto* c = std::get_if<TObject*>(&v);
          As<TPageControl>(o)->SetActivePage(c ? dynamic_cast<TTabSheet*>(*c) : nullptr);
        }},
       Prop("FixedPages", TPropKind::Boolean, &TPageControl::FixedPages, &TPageControl::SetFixedPages)},
      {}};
  return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
  SetDestroying();
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
  page->FPageControl = this;
  FPages.push_back(page);
  UpdateTabs();
  if (!FActivePage && !IsLoading()) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
  page->FPageControl = nullptr;
  FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
  if (FActivePage == page) {
    FActivePage = nullptr;
    if (!FPages.empty()) SetActivePage(FPages.front());
  }
  FTabIndex = FActivePage ? FActivePage->TabIndex() : -1;
  UpdateTabs();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int i) {
  SetActivePage(i >= 0 && i < PageCount() ? Pages(i) : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->FPageControl != this) return;
  FActivePage = page;
  for (TTabSheet* p : FPages)
    if (p != page) p->SetVisible(false);
  if (page) {
    Realign();
    page->SetVisible(true);
    page->BringToFront();
  }
  FTabIndex = page ? page->TabIndex() : -1;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  if (!FActivePage && !FPages.empty()) SetActivePage(FPages.front());
  else SetActivePage(FActivePage);
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TTabSheet* p : FPages)
    if (p->FTabVisible && tabIndex-- == 0) return p;
  return nullptr;
}

void TPageControl::SetFixedPages(bool v) {
  if (v == FFixedPages) return;
  FFixedPages = v;
  Invalidate();
}

std::vector<std::wstring> TPageControl::TabTexts() const {
  std::vector<std::wstring> texts;
  for (TTabSheet* p : FPages)
    if (p->FTabVisible) texts.push_back(p->Caption());
  return texts;
}

void TPageControl::AlignControls(RECT& rect) {
  rect = DisplayRect();
  for (TTabSheet* p : FPages) p->SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  TWinControl::AlignControls(rect);
}

void TPageControl::Change() {
  SetActivePage(PageOfTab(TabIndex()));
  TCustomTabControl::Change();
}

}  // namespace fw
