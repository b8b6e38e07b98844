// TWinSkinForm core: construction, attaching to a framework form or a bare window, set-up,
// activation, the three stages of the window procedure, the framework form's hook, the MDI
// client's procedure, skin changes, and taking the skin off again.
#include "skin/form/WinSkinForm.h"

#include "skin/controls/WinSubClass.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/SkinMessages.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/manager/SkinManage.h"
#include "skin/manager/WinSkinMenu.h"

namespace skin {

FW_DEFINE_CLASS(TWinSkinForm, fw::TComponent)

namespace {

bool SameTextAscii(const std::wstring& a, const wchar_t* b) { return lstrcmpiW(a.c_str(), b) == 0; }

constexpr LONG kCaption = WS_CAPTION;  // 0xC00000
constexpr UINT kFrameChangedFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

}  // namespace

// ---------------------------------------------------------------------------
// Life cycle
// ---------------------------------------------------------------------------

TWinSkinForm::TWinSkinForm(fw::TComponent* owner) : fw::TComponent(owner) { LoadCaptionFont(); }

TWinSkinForm::~TWinSkinForm() {
  *FAlive = false;
  if (MenuTracking.TrackingForm == this) MenuTracking.TrackingForm = nullptr;
  FreeAllControls();
  FreeSysButtons();
  FreeMenuBar(false);
  FSysMenu.reset();
  // No menu of the form may keep a painter of this object.
  if (FForm && !(FForm->ComponentState() & fw::csDestroying)) SetPopupMenusOwnerDraw(FForm, false);
  // A form skin freed without Unskin or Unhook (the window went away first) leaves nothing behind.
  if (FForm && FOldFormProc.Assigned()) FForm->WindowProc = FOldFormProc;
  FClientHook.Remove();
  FHook.Remove();
  ForgetMDIClient();
  if (SkinManager) SkinManager->RemoveForm(this);
}

void TWinSkinForm::Notification(fw::TComponent* component, fw::TOperation operation) {
  fw::TComponent::Notification(component, operation);
}

void TWinSkinForm::LoadCaptionFont() { FCaptionFont.Reset(CreateCaptionFont()); }

void TWinSkinForm::AttachForm(TSkinData* skinData, fw::TCustomForm* form) {
  FForm = form;
  if (skinData->OnBeforeSkinForm) skinData->OnBeforeSkinForm(form, FHandle, FClassName);
  if (skinData->SkinControls & SetOf(xcMenuItem)) {
    if (const fw::TPropInfo* p = form->ClassInfo().FindProp("AutoScroll"); p && p->Set) p->Set(form, false);
  }
  Setup(skinData);
  if (FFrameOn && !FOldFormProc.Assigned()) {
    FOldFormProc = form->WindowProc;
    form->WindowProc = fw::TWndMethod::Of<&TWinSkinForm::FormWindowProc>(this);
  }
  FSavedColor = form->Color();
  form->SetColor(skinData->ButtonFaceColour());
}

void TWinSkinForm::AttachWindow(TSkinData* skinData) { Setup(skinData); }

void TWinSkinForm::Setup(TSkinData* skinData) {
  if (FHook.Installed()) return;  // set up once
  FSkinData = skinData;
  FTimer = std::make_unique<fw::TTimer>(nullptr);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(250);
  FTimer->SetOnTimer(fw::TNotifyEvent::Of<&TWinSkinForm::TimerTick>(this));

  FFrameOn = (skinData->SkinControls & SetOf(xcMainMenu)) != 0;
  FStyle = GetWindowLongW(FHandle, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(FHandle, GWL_EXSTYLE);
  FRightToLeft = exStyle & WS_EX_LEFTSCROLLBAR;
  FIsChild = FStyle & WS_CHILD;
  FWndClass = ClassNameOf(FHandle);
  FOwnerWnd = GetWindow(FHandle, GW_OWNER);

  FHasSysMenu = (FStyle & WS_SYSMENU) || FSysMenuHandle;
  FCanMinimize = FStyle & WS_MINIMIZEBOX;
  FCanMaximize = FStyle & WS_MAXIMIZEBOX;
  UpdateShowState();
  FSizeable = FStyle & WS_THICKFRAME;

  FindMDIClient();
  if (exStyle & WS_EX_MDICHILD) {
    FMDIRole = mrChild;
    if (skinData->Options & SetOf(xoMDIChildBorder)) FFrameOn = false;
  }
  FFrameKind = fkFixed;
  if ((FStyle & kCaption) != kCaption) FFrameKind = fkNoCaption;
  else if (FStyle & WS_THICKFRAME) FFrameKind = fkSizeable;
  else if (FStyle & DS_MODALFRAME) FFrameKind = fkDialog;
  if (exStyle & WS_EX_DLGMODALFRAME) FFrameKind = fkDialog;

  // The caption style work-around is for exactly Windows 2000, not for any later x.0 version.
  FStripCaption = IsWindows2000() && ((exStyle & WS_EX_APPWINDOW) || (!FOwnerWnd && FMDIRole != mrChild));
  FUnicode = IsWindowUnicode(FHandle);
  if (SameTextAscii(FWndClass, L"#32770") || SameTextAscii(FWndClass, L"TMessageForm")) {
    FFrameKind = fkDialog;
    FIsDialog = true;
  }
  // Hide while skinning, when the manager asks for it.
  if (SkinManager && SkinManager->FHideWhileSkinning && !FIsChild && FFrameOn && FFrameKind != fkNoCaption) {
    const LONG style = GetWindowLongW(FHandle, GWL_STYLE);
    SetWindowLongW(FHandle, GWL_STYLE, style & ~WS_VISIBLE);
  }

  if (FMDIRole == mrFrame) {
    FMenuUpdateSaved = skinData->MenuUpdate;
    FClientHook.Install(FClientWnd, &TWinSkinForm::Entry<&TWinSkinForm::ClientWndProc>, this);
  }
  FHook.Install(FHandle, &TWinSkinForm::Entry<&TWinSkinForm::WndProc>, this);

  if (FFrameOn) {
    FMenu = GetMenu(FHandle);
    // The menu bar is drawn in a band of the frame, and the window no longer shows it itself.
    CreateMenuBar();
    if (!(FMDIRole == mrChild && SkinManager && SkinManager->FMDIMaximized) && FShowState != ssMinimized)
      SetCaptionStyle(false);
    CreateSysButtons();
  } else {
    FState = fsRunning;
  }
  // An MDI child whose caption is lower than the system's gets a band below it.
  if (FMDIRole == mrChild) {
    const int system = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    if (FCaptionHeight < system) FMenuHeight = system - FCaptionHeight;
    if (FShowState == ssMaximized && SkinManager) SkinManager->SetMDIMaximized(true);
  }
}

void TWinSkinForm::FindMDIClient() {
  FMDIRole = mrNone;
  for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (SameTextAscii(ClassNameOf(child), L"MDIClient")) {
      FMDIRole = mrFrame;
      FClientWnd = child;
      if (SkinManager) {
        SkinManager->FMDIClient = child;
        SkinManager->FMDIFrame = FForm;
      }
      return;
    }
  }
}

void TWinSkinForm::UpdateShowState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(FHandle, &wp);
  switch (wp.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FShowState = ssMinimized; break;
    case SW_SHOWMAXIMIZED: FShowState = ssMaximized; break;
    default: FShowState = ssNormal; break;
  }
  // A window not yet shown reports its placement as normal; its style knows better.
  const LONG style = GetWindowLongW(FHandle, GWL_STYLE);
  if (style & WS_MINIMIZE) FShowState = ssMinimized;
  else if (style & WS_MAXIMIZE) FShowState = ssMaximized;
}

void TWinSkinForm::RecordSystemFrame() {
  RECT w{};
  GetWindowRect(FHandle, &w);
  GetClientRect(FHandle, &FClientRect);
  FSysFrame = {0, 0, (w.right - w.left) - (FClientRect.right - FClientRect.left),
               (w.bottom - w.top) - (FClientRect.bottom - FClientRect.top)};
  if (IsIconic(FHandle)) {
    // An iconic window has no client area to measure: the frame its style gives it restored.
    const LONG style = GetWindowLongW(FHandle, GWL_STYLE), exStyle = GetWindowLongW(FHandle, GWL_EXSTYLE);
    RECT r{};
    AdjustWindowRectEx(&r, style & ~WS_MINIMIZE, !(style & WS_CHILD) && GetMenu(FHandle), exStyle);
    FSysFrame = {0, 0, (r.right - r.left) + (style & WS_VSCROLL ? GetSystemMetrics(SM_CXVSCROLL) : 0),
                 (r.bottom - r.top) + (style & WS_HSCROLL ? GetSystemMetrics(SM_CYHSCROLL) : 0)};
  }
  // The menu bar has taken the window's menu off, which gave the client area the menu's rows: they
  // are the menu band's. A menu still attached to the window is counted in its system frame; its
  // place is the band too, which stays in the window's height when the frame changes back.
  if (FMenuBar) FClientRect.bottom = std::max(FClientRect.top, FClientRect.bottom - FMenuHeight);
  else if (GetMenu(FHandle) && FMDIRole != mrChild) FSysFrame.bottom -= FMenuHeight;
}

// A window skinned while maximised or minimised keeps the client area it had once restored: its
// restored rectangle is fitted to the skin's frame as ResizeToSkin fits a normal window, and
// Unskin gives the difference back.
void TWinSkinForm::FitRestoredPlacement() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(FHandle, &wp)) return;
  wp.rcNormalPosition.right -= FSysFrame.right - FBorderLeft - FBorderRight;
  wp.rcNormalPosition.bottom -= FSysFrame.bottom - FCaptionHeight - FBorderBottom;
  if (wp.showCmd == SW_SHOWMINIMIZED) wp.showCmd = SW_SHOWMINNOACTIVE;
  ++FOwnResize;
  SetWindowPlacement(FHandle, &wp);
  --FOwnResize;
}

void TWinSkinForm::ActivateSkin() {
  FActivated = true;
  FSysMenuHandle = GetSystemMenu(FHandle, FALSE);
  LoadIcon();
  RecordSystemFrame();
  if (SkinManager && SkinManager->FHideWhileSkinning) {
    SkinManager->FHideWhileSkinning = false;
    const LONG style = GetWindowLongW(FHandle, GWL_STYLE);
    if (!(style & WS_VISIBLE)) SetWindowLongW(FHandle, GWL_STYLE, style | WS_VISIBLE);
  }
  // The child controls: a framework form's by component and tab order, others' by window class.
  if (FForm) SkinFormControls(FForm);
  else SkinChildWindows(FHandle);
  if (FState == fsCreated && FFrameOn) {
    if (FMDIRole == mrChild) {
      if (FShowState == ssMaximized) {
        FitRestoredPlacement();
        if (SkinManager && SkinManager->FMDIClient)
          PostMessageW(SkinManager->FMDIClient, WM_SKIN_REDRAWFRAME, reinterpret_cast<WPARAM>(FHandle), 0);
      } else if (FShowState == ssMinimized) {
        FitRestoredPlacement();
        SetCaptionStyle(true);
      } else {
        FState = fsActivating;
        ResizeToSkin(false);
        FState = fsRunning;
        UpdateRegion();
      }
    } else if (!FIsChild && FFrameKind != fkNoCaption && FShowState != ssMinimized) {
      FState = fsActivating;
      ResizeToSkin(false);
      FState = fsRunning;
      if (FShowState == ssMaximized) {
        FitRestoredPlacement();
        FrameChanged();
      } else {
        UpdateRegion();
      }
    } else if (!FIsChild && FFrameKind != fkNoCaption) {
      FitRestoredPlacement();
    }
  }
  // The form's popup menus draw their items from the skin.
  if (FForm && FFrameOn && FSkinData && (FSkinData->SkinControls & SetOf(xcPopupMenu)))
    SetPopupMenusOwnerDraw(FForm, true);
  AfterSkin();
  FState = fsRunning;
  if (FTimer) FTimer->SetEnabled(FActive);
}

void TWinSkinForm::AfterSkin() {
  SendMessageW(FHandle, WM_SKIN_AFTERSKIN, 0, kSkinSignature);
  if (FSkinData && FSkinData->OnAfterSkinForm) FSkinData->OnAfterSkinForm(FForm, FHandle, FClassName);
}

// Makes the outer size fit the skinned frame around an unchanged client area.
void TWinSkinForm::ResizeToSkin(bool keepClient) {
  if (FShowState == ssMaximized) {
    FrameChanged();
    return;
  }
  RECT w{};
  GetWindowRect(FHandle, &w);
  if (FIsDialog || FState == fsReskinning) GetClientRect(FHandle, &FClientRect);
  int width = (FClientRect.right - FClientRect.left) + FBorderLeft + FBorderRight;
  int clientHeight = FClientRect.bottom - FClientRect.top;
  if (keepClient) {
    GetClientRect(FHandle, &FClientRect);
    width = (FClientRect.right - FClientRect.left) + FBorderLeft + FBorderRight;
    clientHeight = FClientRect.bottom - FClientRect.top;
  } else if (FForm) {
    width = FForm->ClientWidth() + FBorderLeft + FBorderRight;
    clientHeight = FMDIRole == mrChild ? FForm->ClientHeight() : FForm->ClientHeight() - FMenuHeight;
  }
  const int height = clientHeight + FCaptionHeight + FBorderBottom + FMenuHeight;
  if (FIsDialog && !keepClient) {
    // A dialog is widened to show its whole title; its controls move to stay centred.
    FTitleText = WindowText();
    fw::TWindowDC dc(FHandle, GetWindowDC(FHandle));
    fw::TSelectObject font(dc, FCaptionFont.Get());
    SIZE size{};
    GetTextExtentPoint32W(dc, FTitleText.c_str(), static_cast<int>(FTitleText.size()), &size);
    FTitleWidth = size.cx;
    const TDataSkinTitle* title = FSkinData ? FSkinData->Title() : nullptr;
    const int minimum = (title ? title->Margins.Left + title->Margins.Right : 0) + FTitleWidth;
    if (width < minimum) {
      const int shift = (minimum - width) / 2;
      for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
      }
      width = minimum;
    }
  }
  SetOwnSize(0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::SetOwnSize(int x, int y, int width, int height, UINT flags) {
  ++FOwnResize;
  SetWindowPos(FHandle, nullptr, x, y, width, height, flags);
  --FOwnResize;
}

// A size the skin sets itself goes through even where the window refuses to be resized.
LRESULT TWinSkinForm::OwnPosChanging(WPARAM wParam, LPARAM lParam) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
  const WINDOWPOS wanted = *pos;
  const LRESULT result = CallOld(WM_WINDOWPOSCHANGING, wParam, lParam);
  if (!(wanted.flags & SWP_NOSIZE)) {
    pos->flags &= ~SWP_NOSIZE;
    pos->cx = wanted.cx;
    pos->cy = wanted.cy;
  }
  return result;
}

void TWinSkinForm::FrameChanged() { SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, kFrameChangedFlags); }

void TWinSkinForm::SetCaptionStyle(bool on) {
  if (!FStripCaption) return;
  const LONG style = GetWindowLongW(FHandle, GWL_STYLE);
  SetWindowLongW(FHandle, GWL_STYLE, on ? style | kCaption : style & ~kCaption);
}

void TWinSkinForm::SetSysMenuStyle(bool on) {
  if (FStripCaption) return;
  const LONG style = GetWindowLongW(FHandle, GWL_STYLE);
  if (on) {
    // Only what the skin took away comes back.
    if (FRemovedStyle & WS_SYSMENU) SetWindowLongW(FHandle, GWL_STYLE, style | WS_SYSMENU);
    FRemovedStyle &= ~WS_SYSMENU;
  } else if (style & WS_SYSMENU) {
    FRemovedStyle |= WS_SYSMENU;
    SetWindowLongW(FHandle, GWL_STYLE, style & ~WS_SYSMENU);
  }
}


// ---------------------------------------------------------------------------
// The window procedure
// ---------------------------------------------------------------------------

// The stubs' entry: no exception leaves a window procedure.
template <LRESULT (TWinSkinForm::*Proc)(UINT, WPARAM, LPARAM)>
LRESULT CALLBACK TWinSkinForm::Entry(void* self, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* form = static_cast<TWinSkinForm*>(self);
  try {
    return (form->*Proc)(msg, wParam, lParam);
  } catch (...) {
    fw::HandleCallbackException(form);
    return 0;
  }
}

LRESULT TWinSkinForm::CallOld(UINT msg, WPARAM wParam, LPARAM lParam) { return FHook.CallOld(msg, wParam, lParam); }

LRESULT TWinSkinForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  // This object may be freed by what a message does (a released form, a dialog destroyed from
  // its own handler); once it is, nothing of it is touched again.
  const std::shared_ptr<bool> alive = FAlive;
  ++FDepth;
  struct TDepth {
    TWinSkinForm* form;
    const std::shared_ptr<bool>& alive;
    ~TDepth() {
      if (*alive) --form->FDepth;
    }
  } depth{this, alive};

  if (msg == WM_WINDOWPOSCHANGING && FOwnResize > 0) return OwnPosChanging(wParam, lParam);
  if (FUnskinning) return CallOld(msg, wParam, lParam);
  LRESULT result = 0;
  if (Stage1(msg, wParam, lParam, result) || !*alive) return result;
  if (FIsChild && FMDIRole != mrChild) return CallOld(msg, wParam, lParam);
  bool handled = false;
  if (Stage2(msg, wParam, lParam, result, handled) || !*alive) return result;
  if (!handled && ((FMDIRole == mrChild && FShowState == ssMaximized) || FState == fsCreated))
    return CallOld(msg, wParam, lParam);
  Stage3(msg, wParam, lParam, result, handled);
  return result;
}

// Every state. Returns true when the message is finished.
bool TWinSkinForm::Stage1(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_NCPAINT:
      if (FState != fsCreated) break;
      result = 0;  // nothing is painted before activation
      return true;
    case WM_ERASEBKGND:
      result = CallOld(msg, wParam, lParam);
      if (!FForm && FSkinData) {
        RECT r{};
        GetClientRect(FHandle, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, FSkinData->FaceBrush());
        result = 1;
      }
      return true;
    case WM_NCDESTROY: {
      const std::shared_ptr<bool> alive = FAlive;
      FState = fsDestroying;
      Unhook();
      result = CallOld(msg, wParam, lParam);  // the hook still knows the old procedure
      if (*alive) FState = fsFinished;
      return true;
    }
    case WM_NCACTIVATE:
      if (FState == fsCreated && FMDIRole != mrChild) {
        // Not yet skinned: nothing painted. Deactivation must still be allowed.
        result = wParam ? 0 : TRUE;
        return true;
      }
      if (!FFrameOn) {
        result = CallOld(msg, wParam, lParam);
        return true;
      }
      return false;
    case 0xAE:  // the system's themed caption paint request
      result = 0;
      return true;
    case WM_INITMENUPOPUP:
      if (SkinManager) SkinManager->FMenuMode = reinterpret_cast<HMENU>(wParam) == FSysMenuHandle ? 2 : 1;
      result = CallOld(msg, wParam, lParam);
      return true;
    case WM_CTLCOLORBTN:
      result = CallOld(msg, wParam, lParam);
      if (!FForm) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return true;
    case WM_CTLCOLORSTATIC:
      result = CallOld(msg, wParam, lParam);
      if (!FForm && FSkinData) {
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
      }
      return true;
    case WM_SKIN_ACTIVATE:
      if (lParam == kActivateSignature && !FActivated) ActivateSkin();
      result = 0;
      return true;
    case WM_SKIN_QUERY:
      result = 1;
      PostMessageW(FHandle, WM_SKIN_AFTERSKIN, 0, kSkinSignature);
      return true;
    case WM_SKIN_SKINCONTROL:
      if (FActivated) SkinLateWindow(reinterpret_cast<HWND>(wParam));
      result = 0;
      return true;
    case WM_SKIN_RESKINSCROLL:
      ReskinScrollbars(reinterpret_cast<HWND>(wParam));
      result = 0;
      return true;
    case WM_SKIN_TABCLOSE:
      result = TabClose(wParam, lParam);
      return true;
    default:
      break;
  }
  if (!FFrameOn) {
    result = CallOld(msg, wParam, lParam);
    return true;
  }
  return false;
}

// Returns true when the message is finished; handled tells stage 3 that stage 2 dealt with it.
bool TWinSkinForm::Stage2(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, bool& handled) {
  switch (msg) {
    case WM_SIZE:
      result = SizeHandler(msg, wParam, lParam);
      return true;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      FActive = (wParam & 0xFF) != 0;  // WA_INACTIVE is 0 as FALSE is
      return false;
    case WM_GETMINMAXINFO: {
      result = CallOld(msg, wParam, lParam);
      UpdateShowState();
      SetCaptionStyle(FShowState == ssMinimized || (FMDIRole == mrChild && FShowState == ssMaximized));
      // The window can never be made smaller than its skinned frame.
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (FState != fsCreated && info) {
        info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, FBorderLeft + FBorderRight);
        info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, FCaptionHeight + FBorderBottom + FMenuHeight);
        // Maximised, the skinned frame fills the work area exactly, its caption in view (the
        // system would push its own, wider frame off the screen).
        if (FMDIRole != mrChild && !FIsChild) {
          MONITORINFO monitor{};
          monitor.cbSize = sizeof monitor;
          if (GetMonitorInfoW(MonitorFromWindow(FHandle, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& work = monitor.rcWork;
            info->ptMaxPosition = {work.left - monitor.rcMonitor.left, work.top - monitor.rcMonitor.top};
            info->ptMaxSize = {work.right - work.left, work.bottom - work.top};
          }
        }
      }
      return true;
    }
    case WM_WINDOWPOSCHANGED:
      UpdateShowState();
      result = CallOld(msg, wParam, lParam);
      return true;
    case WM_SETTEXT:
    case WM_SETICON: {
      // The system paints its own caption straight away for these: the skinned frame is painted
      // again over it, never with messages pumped in between.
      result = CallOld(msg, wParam, lParam);
      if (msg == WM_SETICON) LoadIcon();
      if (FState == fsRunning) PaintFrame(nullptr);
      return true;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
      LRESULT r = 0;
      Stage1(msg, wParam, lParam, r);
      result = r;
      return true;
    }
    case fw::CM_MENUCHANGED:
      if (FSkinData) {
        const bool saved = FSkinData->FramePaintEnabled;
        FSkinData->FramePaintEnabled = false;
        result = CallOld(msg, wParam, lParam);
        FSkinData->FramePaintEnabled = saved;
      } else {
        result = CallOld(msg, wParam, lParam);
      }
      MenuChanged();
      return true;
    case WM_SYSCOMMAND: {
      const std::shared_ptr<bool> alive = FAlive;
      if (OnSysCommand(wParam, lParam, result) || !*alive) return true;
      result = CallOld(msg, wParam, lParam);
      return true;
    }
    case WM_COMMAND:
      if (OnCommand(wParam)) {
        result = 0;
        return true;
      }
      result = CallOld(msg, wParam, lParam);
      return true;
    case WM_SKIN_MENUCLICK:
      MenuClick(ScreenToWindow(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      result = 0;
      return true;
    case WM_MENUSELECT:
      // The owner sees the selection of a tracked drop-down; the message filter does not.
      if (FTracking && MenuTracking.TrackingForm == this) TrackMenuSelect(wParam, lParam);
      result = CallOld(msg, wParam, lParam);
      return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      if (FPressed && OnCapturedMouse(msg, lParam)) {
        result = 0;
        return true;
      }
      handled = false;
      return false;
    case WM_CAPTURECHANGED:
      // Someone else took the mouse: the press is over without its action.
      if (FPressed && reinterpret_cast<HWND>(lParam) != FHandle) {
        TNCObject* pressed = std::exchange(FPressed, nullptr);
        pressed->MouseLeave();
      }
      handled = false;
      return false;
    default:
      handled = false;
      return false;
  }
}

// The active frame. Returns true when the message was answered here.
bool TWinSkinForm::Stage3(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, bool handled) {
  switch (msg) {
    case WM_NCCALCSIZE:
      result = OnNcCalcSize(wParam, lParam);
      return true;
    case WM_NCPAINT:
      result = OnNcPaint(wParam, lParam);
      return true;
    case WM_NCACTIVATE:
      result = OnNcActivate(wParam, lParam);
      return true;
    case WM_SKIN_NCPAINT:
      PaintFrame(nullptr);
      result = 0;
      return true;
    case WM_NCHITTEST:
      result = OnNcHitTest(wParam, lParam);
      return true;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (OwnerDrawSysMenu(msg, wParam, lParam, result)) return true;
      // A drop-down of the band is drawn by the skin while it is open.
      if (wParam == 0 && FTracking && FTrackedMenu &&
          (msg == WM_MEASUREITEM ? OnMeasureMenuItem(lParam) : OnDrawMenuItem(lParam))) {
        result = TRUE;
        return true;
      }
      break;
    case WM_NCMOUSEMOVE:
      if (OnNcMouseMove(wParam, lParam)) {
        result = 0;
        return true;
      }
      break;
    case WM_NCLBUTTONDOWN: {
      WPARAM code = wParam;
      if (OnNcLButtonDown(code, lParam)) {
        result = 0;
        return true;
      }
      result = CallOld(msg, code, lParam);
      return true;
    }
    case WM_NCLBUTTONUP:
      if (OnNcLButtonUp(wParam, lParam)) {
        result = 0;
        return true;
      }
      break;
    case WM_NCLBUTTONDBLCLK:
      if (OnNcLButtonDblClk(wParam, lParam)) {
        result = 0;
        return true;
      }
      break;
    case WM_NCRBUTTONDOWN:
      if (OnNcRButtonDown(wParam, lParam)) {
        result = 0;
        return true;
      }
      break;
    default:
      if (!handled) result = CallOld(msg, wParam, lParam);
      return !handled;
  }
  result = CallOld(msg, wParam, lParam);
  return true;
}

LRESULT TWinSkinForm::SizeHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallOld(msg, wParam, lParam);
  FShowState = wParam == SIZE_MINIMIZED ? ssMinimized : wParam == SIZE_MAXIMIZED ? ssMaximized : ssNormal;
  if (FShowState == ssMinimized) return result;
  // However a child gets maximised (WM_MDIMAXIMIZE, its system menu, a new maximised child),
  // the children enter the maximised mode together, which takes their regions away; a child
  // restored brings them back.
  if (FMDIRole == mrChild && SkinManager) {
    if (FShowState == ssMaximized) SkinManager->SetMDIMaximized(true);
    else if (SkinManager->FMDIMaximized) SkinManager->SetMDIMaximized(false);
  }
  if (FMDIRole == mrChild && ((SkinManager && SkinManager->FMDIMaximized) || FShowState != ssNormal)) return result;
  if (FState == fsRunning || FState == fsReskinning) {
    FInSizeHandler = true;
    UpdateRegion();
    FInSizeHandler = false;
  }
  return result;
}

// ---------------------------------------------------------------------------
// The framework form's hook and the MDI client
// ---------------------------------------------------------------------------

void TWinSkinForm::FormWindowProc(fw::TMessage& m) {
  switch (m.Msg) {
    case fw::CM_DIALOGCHAR: {
      const std::shared_ptr<bool> alive = FAlive;
      if (FOldFormProc.Assigned()) FOldFormProc(m);
      if (!*alive || m.Result) return;
      DialogChar(m);
      return;
    }
    case WM_SKIN_REFRESH:
      SkinChanged();
      return;
    case WM_SKIN_PAINTFRAME:
      if (m.LParam == kSkinSignature) {
        if (m.WParam) PaintFrame(reinterpret_cast<HDC>(m.WParam));
        m.Result = kSkinSignature;
      }
      return;
    case WM_SKIN_PING:
      m.Result = m.LParam == kSkinSignature ? kSkinSignature : 1;
      return;
    default:
      if (FOldFormProc.Assigned()) FOldFormProc(m);
      return;
  }
}

LRESULT TWinSkinForm::ClientWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCDESTROY: {
      const LRESULT r = FClientHook.CallOld(msg, wParam, lParam);
      FClientHook.Remove();
      ForgetMDIClient();
      return r;
    }
    case WM_NCCALCSIZE:
      if (FFrameOn && FSkinData && !(FSkinData->Options & SetOf(xoMDIScrollbar))) {
        const LONG style = GetWindowLongW(FClientWnd, GWL_STYLE);
        SetWindowLongW(FClientWnd, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
      }
      return FClientHook.CallOld(msg, wParam, lParam);
    case WM_MDICREATE:
      if (FSkinData) FSkinData->MenuUpdate = false;
      return FClientHook.CallOld(msg, wParam, lParam);
    case WM_MDIDESTROY: {
      const LRESULT r = FClientHook.CallOld(msg, wParam, lParam);
      if (FFrameOn && SkinManager) {
        BOOL maximized = FALSE;
        const auto active = reinterpret_cast<HWND>(SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        SkinManager->SetMDIMaximized(active && maximized);
        if (!active && FSkinData) FSkinData->MenuUpdate = FMenuUpdateSaved;
      }
      return r;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (FFrameOn && SkinManager && SkinManager->FMDIMaximized) SkinManager->SetMDIMaximized(false);
      return FClientHook.CallOld(msg, wParam, lParam);
    case WM_SKIN_REDRAWFRAME:
      RedrawWindow(reinterpret_cast<HWND>(wParam), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      return 0;
    default:
      return FClientHook.CallOld(msg, wParam, lParam);
  }
}

void TWinSkinForm::UnhookClient() { FClientHook.Remove(); }

// The manager's record of the application's MDI client and frame form goes with the client
// window or with this frame's skin, so that it never names a window or form that is gone.
void TWinSkinForm::ForgetMDIClient() {
  if (FMDIRole != mrFrame || !SkinManager || SkinManager->FMDIClient != FClientWnd) return;
  SkinManager->FMDIClient = nullptr;
  SkinManager->FMDIFrame = nullptr;
}

// ---------------------------------------------------------------------------
// Skin changes and taking the skin off
// ---------------------------------------------------------------------------

void TWinSkinForm::SkinChanged() {
  ForgetBorderImages();
  if (FForm && FSkinData) {
    FForm->SetColor(FSkinData->ButtonFaceColour());
    for (int i = 0; i < FForm->ComponentCount(); ++i)
      if (auto* f = dynamic_cast<fw::TCustomForm*>(FForm->Components(i))) f->SetColor(FSkinData->ButtonFaceColour());
  }
  // Copied: a control skin may re-register itself while it reloads.
  const std::vector<TSkinControl*> controls = FControls;
  for (TSkinControl* c : controls)
    if (std::find(FControls.begin(), FControls.end(), c) != FControls.end() && c->FStatus != scWindowGone)
      c->SkinChanged();
  FState = fsReskinning;
  if (FFrameOn && FForm) {
    if (FSkinData && (FSkinData->SkinControls & SetOf(xcPopupMenu))) SetPopupMenusOwnerDraw(FForm, true);
    ResizeToSkin(true);
  } else if (FFrameOn) {
    FrameChanged();
  }
  AfterSkin();
  FState = fsRunning;
}

void TWinSkinForm::Unskin() {
  if (FTimer) FTimer->SetEnabled(false);
  if (!FHook.Installed()) return;
  const bool destroying = FState == fsDestroying;
  if (FForm && FOldFormProc.Assigned()) {
    FForm->WindowProc = FOldFormProc;
    FOldFormProc.Clear();
  }
  FreeAllControls();
  if (FForm && !destroying) FForm->SetColor(FSavedColor);
  if (FForm) SetPopupMenusOwnerDraw(FForm, false);
  if (!FFrameOn) {
    UnhookClient();
    FHook.Remove();
    if (FForm && !destroying) FForm->Invalidate();
    return;
  }
  SetSysMenuStyle(true);
  SetCaptionStyle(true);
  UnhookClient();

  // Back to the system frame around the same client area. The hook stays in place meanwhile,
  // passing everything on, so that this resize is not refused like a user's.
  FUnskinning = true;
  if (GetCapture() == FHandle) ReleaseCapture();
  FPressed = nullptr;
  FSysMenu.reset();
  // The window shows its menu itself again, in the menu band's place.
  if (!destroying) FreeMenuBar(true);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(FHandle, &wp);
  const LONG style = GetWindowLongW(FHandle, GWL_STYLE);
  if (!destroying && (FMDIRole == mrChild || !(style & WS_CHILD))) {
    const int dx = FSysFrame.right - FBorderLeft - FBorderRight;
    const int dy = FSysFrame.bottom - FCaptionHeight - FBorderBottom;
    if (wp.showCmd == SW_SHOWMAXIMIZED || wp.showCmd == SW_SHOWMINIMIZED || (style & (WS_MAXIMIZE | WS_MINIMIZE))) {
      // The restored size is kept in the placement.
      wp.rcNormalPosition.right += dx;
      wp.rcNormalPosition.bottom += dy;
      ++FOwnResize;
      SetWindowPlacement(FHandle, &wp);
      --FOwnResize;
      FrameChanged();
      if ((style & WS_MAXIMIZE) && FMDIRole != mrChild && !(style & WS_CHILD)) {
        // Maximised with the system frame again: its borders lie just outside the work area.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(FHandle, MONITOR_DEFAULTTONEAREST), &monitor)) {
          RECT r = monitor.rcWork;
          AdjustWindowRectEx(&r, style & ~WS_DLGFRAME, FALSE, GetWindowLongW(FHandle, GWL_EXSTYLE));
          const RECT& work = monitor.rcWork;
          SetOwnSize(r.left, r.top, r.right - r.left, (work.bottom - work.top) + 2 * (work.top - r.top),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        }
      }
    } else {
      RECT r{};
      GetWindowRect(FHandle, &r);
      if (FMDIRole == mrChild) MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
      SetOwnSize(r.left, r.top, (r.right - r.left) + dx, (r.bottom - r.top) + dy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
  }
  if (FRegionSet || !destroying) SetWindowRgn(FHandle, nullptr, TRUE);
  FRegionSet = false;
  FHook.Remove();
  FUnskinning = false;
  // The system's caption shows the right activation state again, and the whole window is
  // painted once more in its own colours: the frame change moved the old client picture, whose
  // first rows would otherwise keep the skin's face colour.
  if (!destroying) {
    SendMessageW(FHandle, WM_NCACTIVATE, GetActiveWindow() == FHandle, 0);
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void TWinSkinForm::Unhook() {
  if (FTimer) FTimer->SetEnabled(false);
  FreeAllControls();
  if (FForm && !(FForm->ComponentState() & fw::csDestroying)) SetPopupMenusOwnerDraw(FForm, false);
  FSysMenu.reset();
  FPressed = nullptr;
  // A window of the system's own kind going away gets its menu back, to be freed with it; a
  // framework form's menu belongs to the framework, which took it off the window already.
  FreeMenuBar(!FForm);
  if (FForm && FOldFormProc.Assigned()) {
    FForm->WindowProc = FOldFormProc;
    FOldFormProc.Clear();
  }
  UnhookClient();
  FHook.Remove();
}

}  // namespace skin
