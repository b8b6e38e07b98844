// Menus: items with captions, accelerators and click events, built into system menus.
//
// Classes in this file:
//   TMenuItem  - one command, separator ("-") or submenu; children nest in stored forms
//   TMenu      - base of the menus: the root item, the HMENU built from it, command dispatch,
//                owner drawing of its items (OwnerDraw, Images)
//   TMainMenu  - the menu bar of a form (its WM_COMMAND reaches the item's OnClick)
//   TPopupMenu - a context menu shown at a point (TrackPopupMenu) or on a control's right click
//
// Command identifiers of items lie in 1..4095 and are unique among the live items of the process.
// Items are put into their menu with InsertMenuItemW, so an item with a submenu keeps its own
// command identifier in the system menu (AppendMenuW with MF_POPUP would make it the submenu's
// handle); the handle of an item's submenu is its Handle().
//
// Owner-drawn items (OwnerDraw or Images set on the menu) keep their caption in the system menu, so
// typing an item's "&" letter still chooses it. Their WM_MEASUREITEM and WM_DRAWITEM reach the item
// (DoMeasureItem, DoDrawItem) through DispatchMenuItemMessage, which the forms and the application
// window call for the menus they show.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Controls.h"

namespace fw {

class TMenu;
class TCustomForm;
class TImageList;

// Owner of one menu handle: DestroyMenu (with its submenus) on release.
class TMenuHandle {
public:
  TMenuHandle() = default;
  explicit TMenuHandle(HMENU m) : FMenu(m) {}
  ~TMenuHandle() { Reset(); }
  TMenuHandle(const TMenuHandle&) = delete;
  TMenuHandle& operator=(const TMenuHandle&) = delete;
  HMENU Get() const { return FMenu; }
  // Gives up ownership without destroying (the menu now belongs to a parent menu).
  HMENU Release() { return std::exchange(FMenu, nullptr); }
  void Reset(HMENU m = nullptr) {
    if (FMenu && FMenu != m && IsMenu(FMenu)) DestroyMenu(FMenu);
    FMenu = m;
  }

private:
  HMENU FMenu = nullptr;
};

// How TMenu::FindItem reads its value: a command identifier or a submenu handle.
enum class TFindItemKind { fkCommand, fkHandle };
using enum TFindItemKind;

// Measuring of an owner-drawn item: width and height arrive with the item's default measure
// and may be changed. Drawing of an owner-drawn item into rect of canvas, in place of the default.
using TMenuMeasureItemEvent = TMethod<void(TObject* sender, TCanvas& canvas, int& width, int& height)>;
using TMenuDrawItemEvent = TMethod<void(TObject* sender, TCanvas& canvas, const RECT& rect, bool selected)>;

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
  // Index into the menu's Images, -1 for none.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  // The WM_COMMAND identifier of this item: 1..4095, unique among the live items of the process.
  UINT Command() const { return FCommand; }
  // The system menu of this item's children (the menu's own handle for the root item), built
  // with the menu when needed; nullptr for an item without children, a hidden item and an item
  // that belongs to no menu. Valid until the menu is next rebuilt.
  HMENU Handle();

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
  // The menu's image list, or nullptr.
  TImageList* GetImageList() const;
  // The system draws this item through DoMeasureItem / DoDrawItem (MFT_OWNERDRAW): its menu is
  // owner-drawn or has images, and it is not a top-level item of a menu bar (the bar keeps the
  // system's drawing).
  bool IsOwnerDraw() const;

  TNotifyEvent OnClick;
  virtual void Click();

  // -- owner drawing
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;
  // The default measure in the canvas's font: room for the check mark or image, the caption
  // and, after a tab in the caption, the shortcut text. Sets width and height.
  virtual void MeasureItem(TCanvas& canvas, int& width, int& height);
  // The default drawing in system colours: background (highlighted when selected), check mark or
  // image, caption and shortcut text (greyed when disabled); a separator is an etched line.
  virtual void DrawItem(TCanvas& canvas, const RECT& rect, bool selected);
  // Entry points of the menu messages: the default measure, then OnMeasureItem when assigned;
  // OnDrawItem when assigned, else the default drawing.
  void DoMeasureItem(TCanvas& canvas, int& width, int& height);
  void DoDrawItem(TCanvas& canvas, const RECT& rect, bool selected);

  // A stored item nested in a menu or another item joins it.
  void SetParentComponent(TComponent* parent) override;

private:
  friend class TMenu;
  void Changed();
  // Appends this item (and its submenu) to menu.
  void AppendTo(HMENU menu);
  // Forgets the handles of this subtree (they go with the menu that is rebuilt or left).
  void ClearHandles();
  TMenuItem* FindByHandle(HMENU handle);

  std::wstring FCaption;
  bool FEnabled = true;
  bool FVisible = true;
  bool FChecked = false;
  int FImageIndex = -1;
  UINT FCommand;
  HMENU FHandle = nullptr;  // the submenu built for the children; owned by the menu's handle
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
  // The item with this command identifier, or whose submenu has this handle (the root item for
  // the menu's own handle); nullptr when none (and for 0).
  TMenuItem* FindItem(UINT value, TFindItemKind kind = fkCommand) const;

  // Items drawn by the program (MFT_OWNERDRAW): changing it rebuilds the handle.
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool v);
  // Images of the items (ImageIndex); a menu with images is owner-drawn. Not owned.
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);

  // Measures (WM_MEASUREITEM) or draws (WM_DRAWITEM) the owner-drawn item of this menu that the
  // message is for (CtlType ODT_MENU; found by itemID as command, else as submenu handle): the
  // measuring canvas is over window's device context (the screen's for nullptr), both canvases
  // start with the screen's menu font. Sets m.Result to TRUE; false when the message is for no item
  // of this menu.
  bool DispatchDrawMessage(HWND window, TMessage& m);

  void Loaded() override;

protected:
  friend class TMenuItem;
  // Builds a fresh handle: a menu bar for main menus, a popup menu otherwise.
  virtual HMENU CreateMenuHandle() = 0;
  // An item changed: the handle is rebuilt.
  virtual void MenuChanged();
  void Notification(TComponent* c, TOperation op) override;
  TMenuHandle FHandle;

private:
  friend bool DispatchMenuItemMessage(HWND window, TMessage& m);
  TMenuItem* FItems;
  bool FOwnerDraw = false;
  TImageList* FImages = nullptr;
  TMenu* FPrevLive = nullptr;  // the menus alive in the process
  TMenu* FNextLive = nullptr;
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
  // Rebuilds the handle; a window that shows the old one gets the new one (a window whose menu
  // was taken off stays without), and the form's window is sent CM_MENUCHANGED.
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

  // Shows the menu at a screen point and runs the chosen item's OnClick before returning. The
  // menu's window is the form of PopupComponent when it has one, else the application's window.
  virtual void Popup(int x, int y);
  // The same with owner as the menu's window: it receives the menu's messages (owner drawing
  // included) while the menu is open, and DispatchMenuItemMessage finds this menu's items for it.
  void Popup(int x, int y, HWND owner);
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

// Measures or draws an owner-drawn menu item (WM_MEASUREITEM / WM_DRAWITEM with CtlType ODT_MENU)
// that window received, among the menus window shows: the popup menus open with window as their
// owner, then for a framework form its main menu and the menus it owns, and for the application's
// window every popup menu. False (m untouched) when the item is none of theirs. What the items'
// events throw comes out of it: a window procedure calling it catches at its boundary.
bool DispatchMenuItemMessage(HWND window, TMessage& m);

// Registers the classes of this unit with the class registry.
void RegisterMenus();

}  // namespace fw
