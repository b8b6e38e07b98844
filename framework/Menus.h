// Menus: items with captions, accelerators and click events, built into system menus.
//
// Classes in this file:
//   TMenuItem  - one command, separator ("-") or submenu; children nest in stored forms
//   TMenu      - base of the menus: the root item, the HMENU built from it, command dispatch
//   TMainMenu  - the menu bar of a form (its WM_COMMAND reaches the item's OnClick)
//   TPopupMenu - a context menu shown at a point (TrackPopupMenu) or on a control's right click
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Controls.h"

namespace fw {

class TMenu;
class TCustomForm;

// Owner of one menu handle: DestroyMenu (with its submenus) on release.
class TMenuHandle {
public:
  TMenuHandle() = default;
  explicit TMenuHandle(HMENU m) : FMenu(m) {}
  ~TMenuHandle() { Reset(); }
  TMenuHandle(const TMenuHandle&) = delete;
  TMenuHandle& operator=(const TMenuHandle&) = delete;
  HMENU Get() const { return FMenu; }
  void Reset(HMENU m = nullptr) {
    if (FMenu && FMenu != m && IsMenu(FMenu)) DestroyMenu(FMenu);
    FMenu = m;
  }

private:
  HMENU FMenu = nullptr;
};

class TMenuItem : public TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(const std::wstring& s);
  bool IsSeparator() const { return FCaption == L"-"; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  // The WM_COMMAND identifier of this item (unique in the process).
  UINT Command() const { return FCommand; }

  // -- children
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int i) const { return FItems.at(static_cast<size_t>(i)); }
  TMenuItem* operator[](int i) const { return Items(i); }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return FParent; }
  // The menu this item belongs to (through its parents), or nullptr.
  TMenu* GetParentMenu() const;
  // The item with this command in this subtree.
  TMenuItem* Find(UINT command);

  TNotifyEvent OnClick;
  virtual void Click();

  // A stored item nested in a menu or another item joins it.
  void SetParentComponent(TComponent* parent) override;

private:
  friend class TMenu;
  void Changed();
  // Appends this item (and its submenu) to menu.
  void AppendTo(HMENU menu);

  std::wstring FCaption;
  bool FEnabled = true;
  bool FVisible = true;
  bool FChecked = false;
  UINT FCommand;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item only
};

class TMenu : public TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem* Items() const { return FItems; }
  // The system menu built from the items, created on first use and rebuilt after changes.
  HMENU Handle();
  bool HandleAllocated() const { return FHandle.Get() != nullptr; }
  // Runs the OnClick of the item with this command; false when no item of this menu has it.
  bool DispatchCommand(UINT command);
  // Finds an item by command identifier.
  TMenuItem* FindItem(UINT command) const { return FItems->Find(command); }

  void Loaded() override;

protected:
  friend class TMenuItem;
  // Builds a fresh handle: a menu bar for main menus, a popup menu otherwise.
  virtual HMENU CreateMenuHandle() = 0;
  // An item changed: the handle is rebuilt.
  virtual void MenuChanged();
  TMenuHandle FHandle;

private:
  TMenuItem* FItems;
};

class TMainMenu : public TMenu {
  FW_DECLARE_CLASS()
public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  // Makes this the menu bar of form: the form's window shows it and its menu commands run
  // the items' OnClick. Called automatically after loading when the owner is a form.
  void AttachTo(TCustomForm* form);
  TCustomForm* Form() const { return FForm; }
  void Loaded() override;

protected:
  HMENU CreateMenuHandle() override;
  void MenuChanged() override;
  void Notification(TComponent* c, TOperation op) override;

private:
  void FormWindowProc(TMessage& m);
  void Detach();
  TCustomForm* FForm = nullptr;
  TWndMethod FOldWindowProc;
};

class TPopupMenu : public TMenu {
  FW_DECLARE_CLASS()
public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  // Shows the menu at a screen point and runs the chosen item's OnClick before returning.
  virtual void Popup(int x, int y);
  // The control that was right-clicked for the current popup.
  TComponent* PopupComponent = nullptr;
  bool AutoPopup = true;
  TNotifyEvent OnPopup;

  // Shows this menu when control is right-clicked (WM_CONTEXTMENU) and sets its PopupMenu.
  void BindControl(TControl* control);
  void UnbindControl(TControl* control);
  // After loading: binds every control of the owner whose PopupMenu is this menu.
  void Loaded() override;

protected:
  HMENU CreateMenuHandle() override;
  void Notification(TComponent* c, TOperation op) override;

private:
  struct TLink;
  std::vector<std::unique_ptr<TLink>> FLinks;
};

// Registers the classes of this unit with the class registry.
void RegisterMenus();

}  // namespace fw
