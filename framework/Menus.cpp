// Menu items, main menus attached to forms, popup menus shown on right click, and the owner
// drawing of their items.
#include "Menus.h"

#include <windowsx.h>

#include <algorithm>
#include <bitset>

#include "Forms.h"
#include "GdiHandles.h"
#include "ImgList.h"
#include "PropTables.h"

namespace fw {

namespace {

using props::Field;
using props::Prop;

// Command identifiers of menu items. 1..4095 is the application's range of menu commands (the
// system's own commands start at 0xF000, and a skin keeps the identifiers above this range for
// the menus it builds itself). Identifiers are handed out round the range, skipping the ones live
// items still hold, so a freed item's identifier is the last to come back.
class TCommandPool {
public:
  static constexpr UINT Last = 4095;
  UINT Acquire() {
    for (UINT tries = 0; tries < Last; ++tries) {
      UINT id = FNext;
      FNext = FNext % Last + 1;
      if (!FUsed[id]) {
        FUsed[id] = true;
        return id;
      }
    }
    throw EInvalidOperation(L"菜单项太多：命令标识 1..4095 都已使用");
  }
  void Release(UINT id) {
    if (id >= 1 && id <= Last) FUsed[id] = false;
  }

private:
  std::bitset<Last + 1> FUsed;
  UINT FNext = 1;
};
// Constant-initialised and trivially destructible: items freed at exit still find it.
constinit TCommandPool gCommands;

// Menus alive in the process (the application's window draws the items of any popup menu).
constinit TMenu* gFirstMenu = nullptr;

// A popup menu being tracked, with the window that owns it; the innermost first.
struct TOpenPopup {
  TMenu* Menu;  // nullptr once the menu is freed
  HWND Owner;
  TOpenPopup* Next;
};
constinit TOpenPopup* gOpenPopups = nullptr;

// The caption as drawn: the text before the first tab, and the shortcut text after it.
std::pair<std::wstring, std::wstring> SplitCaption(const std::wstring& caption) {
  size_t tab = caption.find(L'\t');
  if (tab == std::wstring::npos) return {caption, {}};
  return {caption.substr(0, tab), caption.substr(tab + 1)};
}

// The text the reader sees: "&" marks removed, "&&" kept as one "&".
std::wstring WithoutAccelerators(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && ++i == text.size()) break;  // the character after a mark shows as it is
    out += text[i];
  }
  return out;
}

// The system's check mark in colour, centred in box: the mark is drawn black on white into a
// monochrome bitmap, which then masks the colour onto dc.
void DrawCheckMark(HDC dc, const RECT& box, COLORREF colour) {
  const int w = box.right - box.left, h = box.bottom - box.top;
  if (w <= 0 || h <= 0) return;
  TMemoryDC mask(dc);
  TBitmapHandle bits(CreateBitmap(w, h, 1, 1, nullptr));
  if (!mask || !bits) return;
  TSelectObject select(mask, bits);
  RECT r{0, 0, w, h};
  DrawFrameControl(mask, &r, DFC_MENU, DFCS_MENUCHECK);
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0)), back = SetBkColor(dc, RGB(255, 255, 255));
  BitBlt(dc, box.left, box.top, w, h, mask, 0, 0, SRCAND);
  SetTextColor(dc, colour);
  SetBkColor(dc, RGB(0, 0, 0));
  BitBlt(dc, box.left, box.top, w, h, mask, 0, 0, SRCPAINT);
  SetTextColor(dc, text);
  SetBkColor(dc, back);
}

// Side of the square an item's check mark or image takes.
int ImageBoxWidth(const TImageList* images, bool checked) {
  int w = images ? images->Width() : 16;
  return checked ? std::max(w, 16) : w;
}
int ImageBoxHeight(const TImageList* images, bool checked) {
  int h = images ? images->Height() : 16;
  return checked ? std::max(h, 16) : h;
}

constexpr int kSeparatorHeight = 8;
constexpr int kTextGap = 3;         // between the image box and the caption
constexpr int kShortcutGap = 16;    // between the caption and the shortcut text
constexpr int kShortcutRight = 11;  // right of the shortcut text
constexpr int kArrowRoom = 12;      // the submenu arrow the system draws at the right

}  // namespace

// ---------------------------------------------------------------------------
// TMenuItem
// ---------------------------------------------------------------------------

const TClassInfo& TMenuItem::StaticClassInfo() {
  static const TClassInfo info{
      "TMenuItem",
      &TComponent::StaticClassInfo(),
      &NewComponent<TMenuItem>,
      {Prop("Caption", TPropKind::String, &TMenuItem::Caption, &TMenuItem::SetCaption),
       Prop("Enabled", TPropKind::Boolean, &TMenuItem::Enabled, &TMenuItem::SetEnabled),
       Prop("Visible", TPropKind::Boolean, &TMenuItem::Visible, &TMenuItem::SetVisible),
       Prop("Checked", TPropKind::Boolean, &TMenuItem::Checked, &TMenuItem::SetChecked),
       Prop("ImageIndex", TPropKind::Integer, &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex),
       MethodProp<TMenuItem, &TMenuItem::OnClick>("OnClick"),
       MethodProp<TMenuItem, &TMenuItem::OnMeasureItem>("OnMeasureItem"),
       MethodProp<TMenuItem, &TMenuItem::OnDrawItem>("OnDrawItem")},
      {}};
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(gCommands.Acquire()) {}

TMenuItem::~TMenuItem() {
  // An item frees its children, as a window control frees the controls it holds.
  while (!FItems.empty()) {
    TMenuItem* c = FItems.back();
    FItems.pop_back();
    c->FParent = nullptr;
    delete c;
  }
  if (FParent) FParent->Remove(this);
  gCommands.Release(FCommand);
}

void TMenuItem::SetCaption(const std::wstring& s) {
  if (s == FCaption) return;
  FCaption = s;
  Changed();
}

void TMenuItem::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  Changed();
}

void TMenuItem::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  Changed();
}

void TMenuItem::SetImageIndex(int v) {
  if (v == FImageIndex) return;
  FImageIndex = v;
  Changed();
}

HMENU TMenuItem::Handle() {
  TMenu* menu = GetParentMenu();
  if (!menu) return nullptr;
  menu->Handle();
  return FHandle;
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this) throw EInvalidOperation(L"菜单项不能插入自身");
  for (TMenuItem* p = this; p; p = p->FParent)
    if (p == item) throw EInvalidOperation(L"菜单项不能插入自己的子项");
  if (item->FParent) item->FParent->Remove(item);
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  item->FParent = nullptr;
  item->ClearHandles();  // they stay with this menu's system menu
  Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* p = this;
  while (p->FParent) p = p->FParent;
  return p->FMenu;
}

TMenuItem* TMenuItem::Find(UINT command) {
  if (command == FCommand) return this;
  for (TMenuItem* c : FItems)
    if (TMenuItem* f = c->Find(command)) return f;
  return nullptr;
}

TMenuItem* TMenuItem::FindByHandle(HMENU handle) {
  if (handle == FHandle) return this;
  for (TMenuItem* c : FItems)
    if (TMenuItem* f = c->FindByHandle(handle)) return f;
  return nullptr;
}

void TMenuItem::ClearHandles() {
  FHandle = nullptr;
  for (TMenuItem* c : FItems) c->ClearHandles();
}

TImageList* TMenuItem::GetImageList() const {
  TMenu* menu = GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

bool TMenuItem::IsOwnerDraw() const {
  TMenu* menu = GetParentMenu();
  if (!menu || !FParent || (!menu->OwnerDraw() && !menu->Images())) return false;
  return !(FParent == menu->Items() && dynamic_cast<TMainMenu*>(menu));
}

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* item = dynamic_cast<TMenuItem*>(parent)) item->Add(this);
  else if (auto* menu = dynamic_cast<TMenu*>(parent)) menu->Items()->Add(this);
}

void TMenuItem::Changed() {
  if (TMenu* m = GetParentMenu()) m->MenuChanged();
}

// The item goes in with its own command identifier, its submenu and its caption, also when it is
// owner-drawn (the system then still finds it by its "&" letter).
void TMenuItem::AppendTo(HMENU menu) {
  FHandle = nullptr;
  if (!FVisible) return;
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
  mi.fType = IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
  if (IsOwnerDraw()) mi.fType |= MFT_OWNERDRAW;
  mi.fState = (FEnabled ? MFS_ENABLED : MFS_GRAYED) | (FChecked ? MFS_CHECKED : MFS_UNCHECKED);
  mi.wID = FCommand;
  if (!IsSeparator()) {
    mi.fMask |= MIIM_STRING;
    mi.dwTypeData = const_cast<wchar_t*>(FCaption.c_str());
    mi.cch = static_cast<UINT>(FCaption.size());
  }
  TMenuHandle sub;
  if (!FItems.empty() && !IsSeparator()) {
    sub.Reset(CreatePopupMenu());
    for (TMenuItem* c : FItems) c->AppendTo(sub.Get());
    mi.hSubMenu = sub.Get();
  }
  const int count = GetMenuItemCount(menu);
  if (!InsertMenuItemW(menu, static_cast<UINT>(std::max(count, 0)), TRUE, &mi)) {
    ClearHandles();
    return;  // the submenu is destroyed by its holder
  }
  FHandle = sub.Release();  // destroyed with menu from now on
}

// -- owner drawing

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
  if (IsSeparator()) {
    width = 0;
    height = kSeparatorHeight;
    return;
  }
  const TImageList* images = GetImageList();
  auto [text, shortcut] = SplitCaption(FCaption);
  std::wstring shown = WithoutAccelerators(text);
  if (shown.empty()) shown = L" ";
  const int textWidth = canvas.TextExtent(shown).cx;
  TEXTMETRICW tm{};
  GetTextMetricsW(canvas.Handle(), &tm);
  width = 1 + ImageBoxWidth(images, FChecked) + kTextGap + textWidth + 1;
  if (!shortcut.empty()) width += kShortcutGap + canvas.TextExtent(shortcut).cx + kShortcutRight - 1;
  if (!FItems.empty()) width += kArrowRoom;
  height = std::max<int>(tm.tmHeight + 4, ImageBoxHeight(images, FChecked) + 2);
}

void TMenuItem::DrawItem(TCanvas& canvas, const RECT& rect, bool selected) {
  const bool separator = IsSeparator();
  canvas.Brush().SetStyle(TBrushStyle::bsSolid);
  canvas.Brush().SetColor(selected && !separator ? clHighlight : clMenu);
  canvas.FillRect(rect);
  HDC dc = canvas.Handle();
  if (separator) {
    RECT line{rect.left, rect.top + (rect.bottom - rect.top) / 2 - 1, rect.right, rect.bottom};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const TColor textColour = !FEnabled ? clGrayText : selected ? clHighlightText : clMenuText;
  TImageList* images = GetImageList();
  const int boxWidth = ImageBoxWidth(images, FChecked);
  const bool hasImage = images && FImageIndex >= 0 && FImageIndex < images->Count();
  RECT box{rect.left + 1, 0, rect.left + 1 + boxWidth, 0};
  box.top = rect.top + (rect.bottom - rect.top - ImageBoxHeight(images, FChecked)) / 2;
  box.bottom = box.top + ImageBoxHeight(images, FChecked);
  if (hasImage) {
    if (FChecked) {
      RECT frame = box;
      canvas.Brush().SetColor(selected ? clHighlight : cl3DLight);
      canvas.FillRect(frame);
      DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    }
    images->Draw(canvas, box.left + (boxWidth - images->Width()) / 2,
                 box.top + (box.bottom - box.top - images->Height()) / 2, FImageIndex, FEnabled);
  } else if (FChecked) {
    DrawCheckMark(dc, box, ColorToRGB(textColour));
  }
  auto [text, shortcut] = SplitCaption(FCaption);
  canvas.TextExtent(text);  // the canvas's font goes into the DC
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, ColorToRGB(textColour));
  RECT textRect{box.right + kTextGap, rect.top, rect.right - 1, rect.bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
  if (!shortcut.empty()) {
    RECT keys{textRect.left, rect.top, rect.right - kShortcutRight, rect.bottom};
    DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &keys,
              DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

void TMenuItem::DoMeasureItem(TCanvas& canvas, int& width, int& height) {
  MeasureItem(canvas, width, height);
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DoDrawItem(TCanvas& canvas, const RECT& rect, bool selected) {
  if (OnDrawItem) OnDrawItem(this, canvas, rect, selected);
  else DrawItem(canvas, rect, selected);
}

// ---------------------------------------------------------------------------
// TMenu
// ---------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClassInfo() {
  static const TClassInfo info{
      "TMenu",
      &TComponent::StaticClassInfo(),
      {},
      {{"Images", TPropKind::Object, [](TObject* o) -> TPropValue { return static_cast<TObject*>(As<TMenu>(o)->Images()); },
        [](TObject* o, const TPropValue& v) {
          TObject* const* p = std::get_if<TObject*>(&v);
          As<TMenu>(o)->SetImages(p ? dynamic_cast<TImageList*>(*p) : nullptr);
        }},
       Prop("OwnerDraw", TPropKind::Boolean, &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)},
      {}};
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) {
  FItems->FMenu = this;
  FNextLive = gFirstMenu;
  if (gFirstMenu) gFirstMenu->FPrevLive = this;
  gFirstMenu = this;
}

TMenu::~TMenu() {
  if (FPrevLive) FPrevLive->FNextLive = FNextLive;
  else gFirstMenu = FNextLive;
  if (FNextLive) FNextLive->FPrevLive = FPrevLive;
  for (TOpenPopup* p = gOpenPopups; p; p = p->Next)
    if (p->Menu == this) p->Menu = nullptr;
  // The root item goes first so that item changes no longer reach this menu.
  TMenuItem* root = std::exchange(FItems, nullptr);
  root->FMenu = nullptr;
  delete root;
}

HMENU TMenu::Handle() {
  if (!FHandle.Get()) {
    TMenuHandle m(CreateMenuHandle());
    if (!m.Get()) return nullptr;
    for (int i = 0; i < FItems->Count(); ++i) FItems->Items(i)->AppendTo(m.Get());
    FHandle.Reset(m.Release());
    FItems->FHandle = FHandle.Get();
  }
  return FHandle.Get();
}

void TMenu::MenuChanged() {
  if (!FItems || (ComponentState() & csReading)) return;
  FHandle.Reset();
  FItems->ClearHandles();
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

TMenuItem* TMenu::FindItem(UINT value, TFindItemKind kind) const {
  if (!value || !FItems) return nullptr;
  if (kind == fkHandle) return FItems->FindByHandle(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(value)));
  TMenuItem* item = FItems->Find(value);
  return item == FItems ? nullptr : item;  // the root is in no system menu
}

void TMenu::SetOwnerDraw(bool v) {
  if (v == FOwnerDraw) return;
  FOwnerDraw = v;
  MenuChanged();
}

void TMenu::SetImages(TImageList* images) {
  if (images == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = images;
  if (FImages) FImages->FreeNotification(this);
  MenuChanged();
}

void TMenu::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == TOperation::opRemove && c && c == FImages) {
    FImages = nullptr;
    MenuChanged();
  }
}

bool TMenu::DispatchDrawMessage(HWND window, TMessage& m) {
  if (!FItems || !m.LParam) return false;
  auto itemOf = [this](UINT id) {
    TMenuItem* item = FindItem(id, fkCommand);
    if (!item) item = FindItem(id, fkHandle);
    return item == FItems ? nullptr : item;
  };
  if (m.Msg == WM_MEASUREITEM) {
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    if (mis->CtlType != ODT_MENU) return false;
    TMenuItem* item = itemOf(mis->itemID);
    if (!item) return false;
    TWindowDC dc(window);
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (Screen) canvas.Font().Assign(Screen->MenuFont());
    int width = static_cast<int>(mis->itemWidth), height = static_cast<int>(mis->itemHeight);
    item->DoMeasureItem(canvas, width, height);
    mis->itemWidth = static_cast<UINT>(std::max(width, 0));
    mis->itemHeight = static_cast<UINT>(std::max(height, 0));
    m.Result = TRUE;
    return true;
  }
  if (m.Msg == WM_DRAWITEM) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (dis->CtlType != ODT_MENU) return false;
    TMenuItem* item = itemOf(dis->itemID);
    // hwndItem names the system menu that holds the item: the submenu of the item's parent.
    if (!item || !item->FParent || !item->FParent->FHandle ||
        reinterpret_cast<HMENU>(dis->hwndItem) != item->FParent->FHandle)
      return false;
    TSaveDC saved(dis->hDC);
    TCanvas canvas;
    canvas.SetHandle(dis->hDC);
    if (Screen) canvas.Font().Assign(Screen->MenuFont());
    item->DoDrawItem(canvas, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
    m.Result = TRUE;
    return true;
  }
  return false;
}

void TMenu::Loaded() {
  TComponent::Loaded();
  FHandle.Reset();
  FItems->ClearHandles();
}

bool DispatchMenuItemMessage(HWND window, TMessage& m) {
  if ((m.Msg != WM_MEASUREITEM && m.Msg != WM_DRAWITEM) || !m.LParam) return false;
  // Both structures start with the kind of control; list boxes, buttons and others go elsewhere.
  if (*reinterpret_cast<const UINT*>(m.LParam) != ODT_MENU) return false;
  for (TOpenPopup* p = gOpenPopups; p; p = p->Next)
    if (p->Menu && p->Owner == window && p->Menu->DispatchDrawMessage(window, m)) return true;
  if (auto* form = dynamic_cast<TCustomForm*>(FindControl(window))) {
    auto* bar = dynamic_cast<TMenu*>(form->Menu);
    if (bar && bar->DispatchDrawMessage(window, m)) return true;
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (auto* menu = dynamic_cast<TMenu*>(form->Components(i)); menu && menu != bar && menu->DispatchDrawMessage(window, m))
        return true;
  }
  if (Application && window && window == Application->Handle()) {
    for (TMenu* menu = gFirstMenu; menu; menu = menu->FNextLive)
      if (dynamic_cast<TPopupMenu*>(menu) && menu->DispatchDrawMessage(window, m)) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// TMainMenu
// ---------------------------------------------------------------------------

FW_DEFINE_CREATABLE_CLASS(TMainMenu, TMenu)

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() { Detach(); }

HMENU TMainMenu::CreateMenuHandle() { return CreateMenu(); }

void TMainMenu::Loaded() {
  TMenu::Loaded();
  auto* form = dynamic_cast<TCustomForm*>(Owner());
  if (form && !FForm && (!form->Menu || form->Menu == this)) AttachTo(form);
}

void TMainMenu::AttachTo(TCustomForm* form) {
  if (form == FForm) return;
  Detach();
  if (!form) return;
  FForm = form;
  form->Menu = this;
  form->FreeNotification(this);
  FOldWindowProc = form->WindowProc;
  form->WindowProc = TWndMethod::Of<&TMainMenu::FormWindowProc>(this);
  if (HWND h = form->HandleIfAllocated()) {
    SetMenu(h, Handle());
    DrawMenuBar(h);
  }
}

void TMainMenu::Detach() {
  TCustomForm* form = std::exchange(FForm, nullptr);
  if (!form) return;
  form->RemoveFreeNotification(this);
  if (form->IsDestroying()) return;  // the form's window and procedure are going anyway
  if (form->WindowProc == TWndMethod::Of<&TMainMenu::FormWindowProc>(this)) form->WindowProc = FOldWindowProc;
  if (form->Menu == this) form->Menu = nullptr;
  if (HWND h = form->HandleIfAllocated(); h && GetMenu(h) == FHandle.Get()) {
    SetMenu(h, nullptr);
    DrawMenuBar(h);
  }
}

void TMainMenu::Notification(TComponent* c, TOperation op) {
  TMenu::Notification(c, op);
  if (op == TOperation::opRemove && c == FForm) FForm = nullptr;
}

// The window keeps showing this menu only when it showed it before the change: a window whose
// menu was taken off (a skin draws the bar itself) stays without, and learns of the change from
// CM_MENUCHANGED like every other window of the form.
void TMainMenu::MenuChanged() {
  if (ComponentState() & csReading) return;
  HWND h = FForm && !FForm->IsDestroying() ? FForm->HandleIfAllocated() : nullptr;
  bool shown = h && FHandle.Get() && GetMenu(h) == FHandle.Get();
  if (shown) SetMenu(h, nullptr);  // detach before the old handle is destroyed
  TMenu::MenuChanged();
  if (shown) {
    SetMenu(h, Handle());
    DrawMenuBar(h);
  }
  if (h) SendMessageW(h, CM_MENUCHANGED, 0, 0);
}

// Runs before the form's own procedure: menu commands, and the menu bar on window creation.
// The menu is taken off the window before it is destroyed, so the system does not free it.
void TMainMenu::FormWindowProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (m.LParam == 0 && HIWORD(m.WParam) == 0 && DispatchCommand(LOWORD(m.WParam))) {
        m.Result = 0;
        return;
      }
      break;
    case WM_CREATE:
      FOldWindowProc(m);
      if (FForm && FForm->HandleIfAllocated() && m.Result != -1) SetMenu(FForm->HandleIfAllocated(), Handle());
      return;
    case WM_DESTROY:
      if (FForm && FForm->HandleIfAllocated()) SetMenu(FForm->HandleIfAllocated(), nullptr);
      break;
    default:
      break;
  }
  FOldWindowProc(m);
}

// ---------------------------------------------------------------------------
// TPopupMenu
// ---------------------------------------------------------------------------

// One control that shows the menu on right click: its window procedure runs through Proc first.
struct TPopupMenu::TLink {
  TPopupMenu* Menu;
  TControl* Control;
  TWndMethod Old;

  void Proc(TMessage& m) {
    if (m.Msg == WM_CONTEXTMENU && Menu && Control->PopupMenu == Menu && Menu->AutoPopup) {
      POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      if (p.x == -1 && p.y == -1) {  // from the keyboard: the control's centre
        p = Control->ClientToScreen(POINT{Control->ClientWidth() / 2, Control->ClientHeight() / 2});
      }
      Menu->PopupComponent = Control;
      Menu->Popup(p.x, p.y);
      m.Result = 0;
      return;
    }
    Old(m);
  }
  TWndMethod Hook() { return TWndMethod::Of<&TLink::Proc>(this); }
};

const TClassInfo& TPopupMenu::StaticClassInfo() {
  static const TClassInfo info{
      "TPopupMenu",
      &TMenu::StaticClassInfo(),
      &NewComponent<TPopupMenu>,
      {Field<&TPopupMenu::AutoPopup>("AutoPopup", TPropKind::Boolean),
       MethodProp<TPopupMenu, &TPopupMenu::OnPopup>("OnPopup")},
      {}};
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() {
  while (!FLinks.empty()) UnbindControl(FLinks.back()->Control);
}

HMENU TPopupMenu::CreateMenuHandle() { return CreatePopupMenu(); }

void TPopupMenu::BindControl(TControl* control) {
  if (!control) return;
  control->PopupMenu = this;
  for (auto& l : FLinks)
    if (l->Control == control) return;
  auto link = std::make_unique<TLink>(TLink{this, control, control->WindowProc});
  control->WindowProc = link->Hook();
  control->FreeNotification(this);
  FLinks.push_back(std::move(link));
}

void TPopupMenu::UnbindControl(TControl* control) {
  auto it = std::find_if(FLinks.begin(), FLinks.end(), [&](auto& l) { return l->Control == control; });
  if (it == FLinks.end()) return;
  std::unique_ptr<TLink> link = std::move(*it);
  FLinks.erase(it);
  control->RemoveFreeNotification(this);
  if (control->IsDestroying()) return;
  // Someone may have hooked the control after us: then our stub stays and passes everything on.
  if (control->WindowProc == link->Hook()) control->WindowProc = link->Old;
  else link.release()->Menu = nullptr;  // a later hook still calls it: it stays as a pass-through
  if (control->PopupMenu == this) control->PopupMenu = nullptr;
}

void TPopupMenu::Notification(TComponent* c, TOperation op) {
  TMenu::Notification(c, op);
  if (op != TOperation::opRemove) return;
  FLinks.erase(std::remove_if(FLinks.begin(), FLinks.end(), [&](auto& l) { return l->Control == c; }), FLinks.end());
  if (PopupComponent == c) PopupComponent = nullptr;
}

void TPopupMenu::Loaded() {
  TMenu::Loaded();
  if (!Owner()) return;
  for (int i = 0; i < Owner()->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<TControl*>(Owner()->Components(i)); c && c->PopupMenu == this) BindControl(c);
}

void TPopupMenu::Popup(int x, int y) {
  // The menu's owner window: the form of the clicked control, else the application window.
  HWND owner = nullptr;
  if (auto* c = dynamic_cast<TControl*>(PopupComponent))
    if (TCustomForm* f = c->GetParentForm()) owner = f->HandleIfAllocated();
  if (!owner && Application) owner = Application->Handle();
  Popup(x, y, owner);
}

void TPopupMenu::Popup(int x, int y, HWND owner) {
  if (OnPopup) OnPopup(this);
  if (!owner || !IsWindow(owner)) return;
  SetForegroundWindow(owner);
  // While the menu is open its owner-drawn items are found for owner's messages.
  struct TOpen {
    TOpenPopup Entry;
    explicit TOpen(TPopupMenu* menu, HWND w) : Entry{menu, w, gOpenPopups} { gOpenPopups = &Entry; }
    ~TOpen() { gOpenPopups = Entry.Next; }
  } open(this, owner);
  UINT cmd = static_cast<UINT>(TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD |
                                                            TPM_NONOTIFY, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);  // lets the menu close properly when focus moves away
  if (!open.Entry.Menu) return;        // the menu was freed while it was open
  if (cmd) DispatchCommand(cmd);
}

void RegisterMenus() {
  for (const TClassInfo* c :
       {&TMenuItem::StaticClassInfo(), &TMainMenu::StaticClassInfo(), &TPopupMenu::StaticClassInfo()})
    RegisterClass(c);
}

}  // namespace fw
