// Menu items, main menus attached to forms and popup menus shown on right click.
#include "Menus.h"

#include <windowsx.h>

#include <algorithm>

#include "Forms.h"
#include "PropTables.h"

namespace fw {

namespace {

using props::Field;
using props::Prop;

// Command identifiers of menu items: below the system commands (0xF000) and above the child
// window identifiers the framework hands out from 100.
UINT NextCommand() {
  static UINT next = 0x4000;
  UINT id = next++;
  if (next >= 0xF000) next = 0x4000;
  return id;
}

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
       MethodProp<TMenuItem, &TMenuItem::OnClick>("OnClick")},
      {}};
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(NextCommand()) {}

TMenuItem::~TMenuItem() {
  // An item frees its children, as a window control frees the controls it holds.
  while (!FItems.empty()) {
    TMenuItem* c = FItems.back();
    FItems.pop_back();
    c->FParent = nullptr;
    delete c;
  }
  if (FParent) FParent->Remove(this);
}

void TMenuItem::SetCaption(const std::wstring& s) {
  FCaption = s;
  Changed();
}

void TMenuItem::SetEnabled(bool v) {
  FEnabled = v;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  FVisible = v;
  Changed();
}

void TMenuItem::SetChecked(bool v) {
  FChecked = v;
  Changed();
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

void TMenuItem::AppendTo(HMENU menu) {
  if (!FVisible) return;
  if (IsSeparator()) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  UINT flags = MF_STRING | (FEnabled ? MF_ENABLED : MF_GRAYED) | (FChecked ? MF_CHECKED : MF_UNCHECKED);
  if (FItems.empty()) {
    AppendMenuW(menu, flags, FCommand, FCaption.c_str());
    return;
  }
  // The submenu belongs to menu once appended and is destroyed with it.
  HMENU sub = CreatePopupMenu();
  for (TMenuItem* c : FItems) c->AppendTo(sub);
  if (!AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), FCaption.c_str())) DestroyMenu(sub);
}

// ---------------------------------------------------------------------------
// TMenu
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TMenu, TComponent)

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) { FItems->FMenu = this; }

TMenu::~TMenu() {
  // The root item goes first so that item changes no longer reach this menu.
  TMenuItem* root = std::exchange(FItems, nullptr);
  root->FMenu = nullptr;
  delete root;
}

HMENU TMenu::Handle() {
  if (!FHandle.Get()) {
    HMENU m = CreateMenuHandle();
    for (int i = 0; i < FItems->Count(); ++i) FItems->Items(i)->AppendTo(m);
    FHandle.Reset(m);
  }
  return FHandle.Get();
}

void TMenu::MenuChanged() {
  if (!FItems || (ComponentState() & csReading)) return;
  FHandle.Reset();
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FItems ? FItems->Find(command) : nullptr;
  if (!item || item == FItems) return false;
  item->Click();
  return true;
}

void TMenu::Loaded() {
  TComponent::Loaded();
  FHandle.Reset();
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

void TMainMenu::MenuChanged() {
  if (ComponentState() & csReading) return;
  HWND h = FForm ? FForm->HandleIfAllocated() : nullptr;
  bool shown = h && FHandle.Get() && GetMenu(h) == FHandle.Get();
  if (shown) SetMenu(h, nullptr);  // detach before the old handle is destroyed
  TMenu::MenuChanged();
  if (shown) {
    SetMenu(h, Handle());
    DrawMenuBar(h);
  }
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
  if (OnPopup) OnPopup(this);
  // The menu's owner window: the form of the clicked control, else the application window.
  HWND owner = nullptr;
  if (auto* c = dynamic_cast<TControl*>(PopupComponent))
    if (TCustomForm* f = c->GetParentForm()) owner = f->HandleIfAllocated();
  if (!owner && Application) owner = Application->Handle();
  if (!owner) return;
  SetForegroundWindow(owner);
  UINT cmd = static_cast<UINT>(TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD |
                                                            TPM_NONOTIFY, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);  // lets the menu close properly when focus moves away
  if (cmd) DispatchCommand(cmd);
}

void RegisterMenus() {
  for (const TClassInfo* c :
       {&TMenuItem::StaticClassInfo(), &TMainMenu::StaticClassInfo(), &TPopupMenu::StaticClassInfo()})
    RegisterClass(c);
}

}  // namespace fw
