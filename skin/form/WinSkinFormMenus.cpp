// TWinSkinForm: the menu bar in the frame — opening its drop-downs by mouse, by the menu key and
// by Alt+letter, and keeping the band in step with the window's menu.
#include <windows.h>

#include <cwctype>

#include "Forms.h"
#include "Menus.h"
#include "skin/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"
#include "skin/manager/WinSkinMenu.h"

// After the framework headers: it defines macros with the names of functions they declare.
#include <windowsx.h>

namespace skin {

// The menu bar of a window with a menu (not for an MDI child, whose menu is its frame's).
void TWinSkinForm::CreateMenuBar() {
  if (FMenuBar || !FMenu || FMDIRole == mrChild) return;
  FMenuBar = new TWinSkinMenu(this);
  FMenuBar->FSkinData = FSkinData;
  FMenuHeight = GetSystemMetrics(SM_CYMENU);
  FMenuBar->Build();
}

// The window gets its menu back and the band goes.
void TWinSkinForm::FreeMenuBar(bool giveMenuBack) {
  if (!FMenuBar) return;
  TWinSkinMenu* bar = std::exchange(FMenuBar, nullptr);
  if (giveMenuBack && bar->FMenuHandle && IsMenu(bar->FMenuHandle) && IsWindow(FHandle))
    SetMenu(FHandle, bar->FMenuHandle);
  if (FHot && dynamic_cast<TMenuBtn*>(FHot)) FHot = nullptr;
  delete bar;
}

// The framework has rebuilt the window's menu: the band follows it, and the window does not
// show it itself.
void TWinSkinForm::MenuChanged() {
  HMENU menu = GetMenu(FHandle);
  // The framework may leave a window that showed no menu without one: its new handle is asked for.
  if (!menu && FForm)
    if (auto* main = dynamic_cast<fw::TMainMenu*>(FForm->Menu)) menu = main->Handle();
  if (!menu) return;
  if (FMenuBar && FSkinData && FSkinData->MenuUpdate) {
    SetMenu(FHandle, menu);
    FMenuBar->FMenuHandle = menu;
    FMenuBar->Rebuild();
    if (FState == fsRunning) PaintFrame(nullptr);
  }
  if (FMenuBar && GetMenu(FHandle)) SetMenu(FHandle, nullptr);
}

void TWinSkinForm::ClickMenuButton(TMenuBtn* button) {
  if (!button) return;
  POINT p{button->FBounds.left + 1, button->FBounds.top + 1};
  // The button's window coordinates as a screen point.
  RECT wr{};
  GetWindowRect(FHandle, &wr);
  p.x += wr.left;
  p.y += wr.top;
  PostMessageW(FHandle, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(p.x, p.y));
}

TMenuBtn* TWinSkinForm::FindAccelButton(wchar_t key) const {
  if (!FMenuBar) return nullptr;
  const wchar_t wanted = static_cast<wchar_t>(std::towupper(key));
  for (const auto& b : FMenuBar->FButtons) {
    if (!b->FVisible || !b->FEnabled) continue;
    const std::wstring& c = b->FCaption;
    for (std::size_t i = 0; i + 1 < c.size(); ++i) {
      if (c[i] != L'&') continue;
      if (c[i + 1] == L'&') {
        ++i;  // a literal "&"
        continue;
      }
      if (static_cast<wchar_t>(std::towupper(c[i + 1])) == wanted) return b.get();
      break;
    }
  }
  return nullptr;
}

bool TWinSkinForm::TrackMenuButton(TMenuBtn* button) {
  MenuTracking.MenuSwitched = false;
  if (!button) return false;
  // An item without a drop-down is a command of its own; one with a drop-down only through the
  // framework, whose item runs its OnClick before the drop-down opens.
  if (button->FEnabled && (!button->FSubMenu || button->FItem))
    PostMessageW(FHandle, WM_COMMAND, button->FCommand, 0);
  if (!button->FSubMenu) return false;
  MenuTracking.OpenButtonIndex = button->FIndex;
  MenuTracking.TrackingForm = this;
  GetWindowRect(FHandle, &FWindowRect);
  FTracking = true;
  POINT p{FWindowRect.left + button->FBounds.left, FWindowRect.top + button->FBounds.bottom + 1};
  UINT flags = TPM_RIGHTBUTTON | TPM_NONOTIFY;
  if (FRightToLeft) {
    p.x = FWindowRect.left + button->FBounds.right;
    flags |= TPM_RIGHTALIGN;
  }
  if (SkinManager) {
    SkinManager->FMenuMode = 1;
    SkinManager->FMenuBarPopup = true;
  }
  FTrackedMenu = button->FSubMenu;
  const int index = button->FIndex;
  // The drop-down's items are drawn by the skin while it is open, their texts kept (typed letters
  // still choose them); afterwards they draw as before. Tracking ends on every way out, also when
  // the window goes away inside the menu's loop.
  struct TScope {
    TWinSkinForm* Form;
    std::shared_ptr<bool> Alive;
    std::vector<std::pair<HMENU, UINT>> OwnerDrawn;
    ~TScope() {
      EndTracking();
      Form->RestoreHandleItems(OwnerDrawn);
      if (!*Alive) return;
      if (MenuTracking.TrackingForm == Form) MenuTracking.TrackingForm = nullptr;
      Form->FTrackedMenu = nullptr;
      Form->FTracking = false;
    }
  } scope{this, FAlive, {}};
  SetHandleItemsOwnerDraw(button->FSubMenu, scope.OwnerDrawn);
  StartTracking();
  const bool enabled = button->FEnabled;
  if (enabled) TrackPopupMenuEx(FTrackedMenu, flags, p.x, p.y, FHandle, nullptr);
  if (!*scope.Alive) return true;
  // A click on this same button closed the drop-down: the system hands that click (a double click,
  // when it came soon after the one that opened it) to the window next, which must not open it
  // again.
  FClosedButton = -1;
  MSG next;
  if (enabled && !MenuTracking.MenuSwitched &&
      PeekMessageW(&next, FHandle, WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, PM_NOREMOVE) && next.message != WM_NCLBUTTONUP &&
      next.wParam != HTCLIENT) {
    const TMenuBtn* under =
        FMenuBar ? FMenuBar->ButtonAt(ScreenToWindow(GET_X_LPARAM(next.lParam), GET_Y_LPARAM(next.lParam))) : nullptr;
    if (under && under->FIndex == index) {
      FClosedButton = index;
      FClosedTick = GetTickCount();
    }
  }
  return true;
}

// A point in window coordinates (from WM_SKIN_MENUCLICK) opens the menu-bar button under it.
void TWinSkinForm::MenuClick(POINT p) {
  if (ButtonAt(p)) return;
  if (TMenuBtn* b = FMenuBar ? FMenuBar->ButtonAt(p) : nullptr) TrackMenuButton(b);
}

// Alt+letter while a control of the form has the focus: the framework asks the form.
bool TWinSkinForm::DialogChar(fw::TMessage& m) {
  const bool altOnly = (GetKeyState(VK_MENU) & 0x8000) && !(GetKeyState(VK_CONTROL) & 0x8000) &&
                       !(GetKeyState(VK_SHIFT) & 0x8000);
  if (altOnly)
    if (TMenuBtn* b = FindAccelButton(static_cast<wchar_t>(m.WParam))) {
      ClickMenuButton(b);
      m.Result = 1;
      return true;
    }
  return false;
}

}  // namespace skin
