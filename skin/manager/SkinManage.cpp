// The skin manager: the CBT hook of the user-interface thread, the acceptance of windows, the
// choice of the skin data for a window, the list of form skins, and the deferred actions.
#include "skin/manager/SkinManage.h"

#include <algorithm>

#include "skin/SkinMessages.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/WinSkinPopMenu.h"

namespace skin {

TSkinManage* SkinManager = nullptr;

namespace {

// Owns the manager until the process ends.
struct TManagerHolder {
  std::unique_ptr<TSkinManage> Manager;
  ~TManagerHolder() {
    Manager.reset();
    SkinManager = nullptr;
  }
};
TManagerHolder& Holder() {
  static TManagerHolder holder;
  return holder;
}

std::wstring Lower(std::wstring s) {
  for (auto& c : s)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return s;
}

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

}  // namespace

TSkinManage& EnsureSkinManager() {
  if (!SkinManager) {
    Holder().Manager = std::make_unique<TSkinManage>();
    SkinManager = Holder().Manager.get();
  }
  return *SkinManager;
}

void FreeSkinManager() {
  Holder().Manager.reset();
  SkinManager = nullptr;
}

TSkinManage::TSkinManage() : FTimer(std::make_unique<fw::TTimer>(nullptr)) {
  FTimer->SetEnabled(false);
  FTimer->SetInterval(100);
  FTimer->SetOnTimer(fw::TNotifyEvent::Of<&TSkinManage::RunAction>(this));
}

TSkinManage::~TSkinManage() {
  // The hook goes first: nothing new is offered while the forms are taken off.
  RemoveHook();
  FState = msShuttingDown;
  FEnabled = false;
  FTimer.reset();
  if (!FForms.empty()) FreeAllForms();
  FreePopups(nullptr);
  FSkinDatas.clear();
  if (SkinManager == this) SkinManager = nullptr;
}

// ---------------------------------------------------------------------------
// Skin data components
// ---------------------------------------------------------------------------

void TSkinManage::AddSkinData(TSkinData* data) {
  if (!data || std::find(FSkinDatas.begin(), FSkinDatas.end(), data) != FSkinDatas.end()) return;
  FSkinDatas.push_back(data);
  if (!FMainSkinData && data->SkinFormtype() == sfMainform) FMainSkinData = data;
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  std::erase(FSkinDatas, data);
  if (FMainSkinData == data) FMainSkinData = nullptr;
  if (FPendingSkinData == data) FPendingSkinData = nullptr;
  // Popups drawn with it pass their messages on from now on.
  FreePopups(data);
  // A skin that goes away takes its windows' skins with it.
  for (std::size_t i = FForms.size(); i-- > 0;)
    if (i < FForms.size() && FForms[i]->FSkinData == data) TakeOff(FForms[i]);
}

// ---------------------------------------------------------------------------
// The hook
// ---------------------------------------------------------------------------

void TSkinManage::InstallHook() {
  if (FHook) return;
  FHook = SetWindowsHookExW(WH_CBT, &TSkinManage::CBTHook, nullptr, GetCurrentThreadId());
  if (FHook && fw::Screen) {
    FPreviousFormShowing = fw::Screen->OnFormShowing;
    fw::Screen->OnFormShowing = fw::TNotifyEvent::Of<&TSkinManage::FormShowing>(this);
  }
}

void TSkinManage::RemoveHook() {
  if (FHook) UnhookWindowsHookEx(FHook);
  FHook = nullptr;
  if (fw::Screen && fw::Screen->OnFormShowing == fw::TNotifyEvent::Of<&TSkinManage::FormShowing>(this))
    fw::Screen->OnFormShowing = FPreviousFormShowing;
  FPreviousFormShowing = {};
}

// A framework form about to be shown for the first time is skinned while nothing of it is on the
// screen: its first visible frame is already the skin's, and the frame change costs no repaint.
// Windows of the system (dialogs, message boxes) are caught at their activation, as before.
void TSkinManage::FormShowing(fw::TObject* sender) {
  if (FPreviousFormShowing) FPreviousFormShowing(sender);
  auto* form = dynamic_cast<fw::TCustomForm*>(sender);
  if (!form || !form->HandleAllocated()) return;
  const HWND window = form->Handle();
  if (!SkinWindow(window)) return;
  // The activation posted by SkinWindow finds the skin already on and does nothing.
  SendMessageW(window, WM_SKIN_ACTIVATE, 0, kActivateSignature);
}

LRESULT CALLBACK TSkinManage::CBTHook(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* self = SkinManager;
  HHOOK hook = self ? self->FHook : nullptr;
  if (self && code >= 0) {
    try {
      const auto window = reinterpret_cast<HWND>(wParam);
      switch (code) {
        case HCBT_CREATEWND:
          self->OnCreateWindow(window, *reinterpret_cast<const CBT_CREATEWNDW*>(lParam));
          break;
        case HCBT_DESTROYWND:
          self->UnskinPopupMenu(window);
          break;
        case HCBT_ACTIVATE:
          if (self->FState == msWaiting) self->FState = msRunning;
          self->SkinWindow(window);
          break;
        default:
          break;
      }
    } catch (...) {
      fw::HandleCallbackException(nullptr);
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

void TSkinManage::OnCreateWindow(HWND window, const CBT_CREATEWNDW& create) {
  const CREATESTRUCTW* cs = create.lpcs;
  if (!cs) return;
  // The class is read from the window: the creation record may name it by an atom.
  const std::wstring className = ClassNameOf(window);
  // Size grips are skinned by the control part of the engine.
  if (!(cs->style & WS_CHILD) && className == L"#32768") SkinPopupMenu(window);
  if (cs->dwExStyle & WS_EX_MDICHILD) {
    SkinWindow(window);
    return;
  }
  // A control created inside a skinned window after its activation (added later, or a window
  // made again) is skinned by that window's form skin once it exists: the request is posted.
  if ((cs->style & WS_CHILD) && cs->hwndParent) {
    HWND root = GetAncestor(cs->hwndParent, GA_ROOT);
    TWinSkinForm* form = root ? FindSkinForm(root) : nullptr;
    if (form && form->FActivated && form->Hooked())
      PostMessageW(root, WM_SKIN_SKINCONTROL, reinterpret_cast<WPARAM>(window), 0);
  }
}

// ---------------------------------------------------------------------------
// Accepting a window
// ---------------------------------------------------------------------------

bool TSkinManage::SkinWindow(HWND window) {
  if (!FEnabled || !IsWindow(window)) return false;
  PurgeForms();
  if (FindSkinForm(window)) return false;  // before asking: a re-activation posts nothing
  if (SendMessageW(window, WM_SKIN_QUERY, 0, 0) == 1) return false;
  fw::TCustomForm* form = FindFrameworkForm(window);
  if (!FScanning && IsPlainChild(window)) return false;
  const std::wstring className = ClassNameOf(window);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  if (!form && instance != ModuleInstance() && className != L"#32770") return false;
  RECT r{};
  GetWindowRect(window, &r);
  const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  if ((r.right - r.left) * (r.bottom - r.top) == 0 && !(exStyle & WS_EX_MDICHILD)) return false;
  if (form && form->Tag == 99) return false;
  if (className.find(L"TcxPopupEditPopupWindow") != std::wstring::npos || className == L"TApplication") return false;
  if (!CanSkin(window, className)) return false;
  TSkinData* data = ChooseSkinData(window);
  if (!data || data->NoSkin()) return false;

  auto* skinForm = new TWinSkinForm(form);
  skinForm->FHandle = window;
  skinForm->FManagerTag = FManagerTag;
  skinForm->FClassName = form ? fw::Utf8ToWide(form->ClassName()) : className;
  FForms.push_back(skinForm);
  if (form) skinForm->AttachForm(data, form);
  else skinForm->AttachWindow(data);
  PostMessageW(window, WM_SKIN_ACTIVATE, 0, kActivateSignature);
  return true;
}

bool TSkinManage::SkinVisibleForm(fw::TCustomForm* form) {
  if (!form || !form->HandleAllocated()) return false;
  const LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
  if (!(style & WS_VISIBLE) || (style & WS_CHILD)) return false;
  return SkinWindow(form->Handle());
}

bool TSkinManage::IsPlainChild(HWND window) const {
  const LONG style = GetWindowLongW(window, GWL_STYLE), exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  return (style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD) && Lower(ClassNameOf(GetParent(window))) != L"mdiclient";
}

fw::TCustomForm* TSkinManage::FindFrameworkForm(HWND window) const {
  if (fw::Screen)
    for (int i = 0; i < fw::Screen->FormCount(); ++i)
      if (fw::TCustomForm* f = fw::Screen->Forms(i); f->HandleAllocated() && f->Handle() == window) return f;
  return dynamic_cast<fw::TCustomForm*>(fw::ControlFromWindow(window));
}

bool TSkinManage::CanSkin(HWND window, const std::wstring& className) const {
  bool result = true;
  if (!FMainSkinData) return result;
  if (!(FMainSkinData->Options & SetOf(xoPreview)) && Lower(className).find(L"preview") != std::wstring::npos)
    result = false;
  if (className == L"#32770" && (GetWindowLongW(window, GWL_STYLE) & 0x200)) result = false;
  FMainSkinData->QueryFormSkin(window, className, result);
  return result;
}

TSkinData* TSkinManage::ChooseSkinData(HWND window) const {
  for (auto it = FSkinDatas.rbegin(); it != FSkinDatas.rend(); ++it)
    if ((*it)->SkinFormtype() == sfOnlyThisForm)
      if (auto* owner = dynamic_cast<fw::TWinControl*>((*it)->Owner());
          owner && owner->HandleAllocated() && owner->Handle() == window)
        return *it;
  const std::wstring cls = Lower(ClassNameOf(window));
  if (cls == L"tmessageform" || cls == L"#32770")
    for (auto it = FSkinDatas.rbegin(); it != FSkinDatas.rend(); ++it)
      if ((*it)->SkinFormtype() == sfDialog) return *it;
  for (auto it = FSkinDatas.rbegin(); it != FSkinDatas.rend(); ++it)
    if ((*it)->SkinFormtype() == sfMainform) return *it;
  return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

// ---------------------------------------------------------------------------
// The list of form skins
// ---------------------------------------------------------------------------

TWinSkinForm* TSkinManage::FindSkinForm(HWND window) const {
  for (TWinSkinForm* f : FForms)
    if (f->FHandle == window) return f;
  return nullptr;
}

void TSkinManage::RemoveForm(TWinSkinForm* form) {
  if (FState == msShuttingDown) return;
  std::erase(FForms, form);
}

// Frees the form skins of windows that are gone, unless a message of theirs is still running.
void TSkinManage::PurgeForms() {
  if (FState == msShuttingDown) return;
  for (std::size_t i = FForms.size(); i-- > 0;) {
    if (i >= FForms.size()) continue;
    TWinSkinForm* f = FForms[i];
    if (f->FState == fsFinished && f->FManagerTag == FManagerTag && f->MessageDepth() == 0) {
      FForms.erase(FForms.begin() + static_cast<std::ptrdiff_t>(i));
      delete f;
    }
  }
}

// Unskins a form, repaints its window and frees it.
void TSkinManage::TakeOff(TWinSkinForm* form) {
  std::erase(FForms, form);
  const HWND window = form->FHandle;
  form->Unskin();
  delete form;
  if (IsWindow(window)) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
  }
}

void TSkinManage::FreeAllForms() {
  FEnabled = false;
  for (std::size_t i = FForms.size(); i-- > 0;) {
    TWinSkinForm* f = FForms[i];
    if (f->FManagerTag != FManagerTag) continue;
    FForms.erase(FForms.begin() + static_cast<std::ptrdiff_t>(i));
    f->Unhook();
    delete f;
  }
}

// ---------------------------------------------------------------------------
// Requests
// ---------------------------------------------------------------------------

void TSkinManage::RequestAction(int kind, int delayMs) {
  FPendingAction = kind;
  FTimer->SetInterval(static_cast<unsigned>(std::max(delayMs, 1)));
  if (FState != msWaiting) {
    FTimer->SetEnabled(true);
    return;
  }
  if (kind == saSkin) FEnabled = true;
  else if (kind == saUnskin) FEnabled = false;
}

void TSkinManage::RefreshSkinForms() {
  for (TWinSkinForm* f : FForms)
    if (f->FSkinData == FPendingSkinData) f->FreeSysButtons();
}

void TSkinManage::RunAction(fw::TObject*) {
  FTimer->SetEnabled(false);
  // The request is taken before anything runs, so a request made meanwhile (by a handler of
  // OnSkinChanged, say) is kept for the next round.
  TSkinData* data = std::exchange(FPendingSkinData, nullptr);
  const int action = std::exchange(FPendingAction, saNone);
  if (!data) return;
  auto usesData = [data](TWinSkinForm* f) { return f->FSkinData == data; };

  if (data->SkinFormtype() == sfOnlyThisForm) {
    if (action == saSkin) {
      FEnabled = true;
      FScanning = true;
      if (fw::Screen)
        for (int i = fw::Screen->FormCount(); i-- > 0;)
          if (fw::Screen->Forms(i) == data->Owner()) {
            SkinVisibleForm(fw::Screen->Forms(i));
            break;
          }
      FScanning = false;
    } else if (action == saUnskin) {
      FEnabled = false;
      PurgeForms();
      auto it = std::find_if(FForms.rbegin(), FForms.rend(), usesData);
      if (it != FForms.rend()) TakeOff(*it);
    } else if (action == saRefresh) {
      PurgeForms();
      auto it = std::find_if(FForms.begin(), FForms.end(), usesData);
      if (it != FForms.end()) {
        (*it)->FreeSysButtons();
        (*it)->CreateSysButtons();
        (*it)->SkinChanged();
      }
    }
  } else if (action == saSkin) {
    FEnabled = true;
    FHideWhileSkinning = false;
    FScanning = true;
    PurgeForms();
    if (fw::Screen)
      for (int i = fw::Screen->FormCount(); i-- > 0;) SkinVisibleForm(fw::Screen->Forms(i));
    FScanning = false;
  } else if (action == saUnskin) {
    FEnabled = false;
    PurgeForms();
    while (!FForms.empty()) TakeOff(FForms.front());
  } else if (action == saRefresh) {
    PurgeForms();
    const std::vector<TWinSkinForm*> forms = FForms;
    for (TWinSkinForm* f : forms)
      if (usesData(f)) {
        f->FreeSysButtons();
        f->CreateSysButtons();
      }
    for (TWinSkinForm* f : forms)
      if (usesData(f) && std::find(FForms.begin(), FForms.end(), f) != FForms.end()) f->SkinChanged();
  }
  // Last, so that a request made by the handler is kept.
  if (std::find(FSkinDatas.begin(), FSkinDatas.end(), data) != FSkinDatas.end()) data->SkinChanged();
}

// ---------------------------------------------------------------------------
// Popup menus
// ---------------------------------------------------------------------------

bool TSkinManage::SkinPopupMenu(HWND window) {
  if (!FEnabled || !IsWindow(window)) return false;
  if (SendMessageW(window, WM_SKIN_QUERY, 0, 0) == 1) return false;
  if (HasPopupSkin(window)) return false;
  TSkinData* data = ChooseSkinData(window);
  if (!data || data->NoSkin()) return false;
  const TSkinControlTypes kinds = data->SkinControls;
  bool allowed = false;
  switch (FMenuMode) {
    case 0: allowed = kinds & SetOf(xcPopupMenu); break;
    case 1: allowed = kinds & (SetOf(xcMainMenu) | SetOf(xcMenuItem)); break;
    case 2: allowed = kinds & SetOf(xcSystemMenu); break;
    default: allowed = true; break;
  }
  if (!allowed) return false;
  auto popup = std::make_unique<TWinSkinPopMenu>();
  popup->Attach(window, data, nullptr);
  if (FMenuBarPopup) popup->FMenuBarPopup = true;
  FPopups.push_back(std::move(popup));
  return false;
}

bool TSkinManage::UnskinPopupMenu(HWND window) {
  bool found = false;
  for (auto it = FPopups.begin(); it != FPopups.end(); ++it)
    if ((*it)->FHandle == window) {
      // Taken out of the list first: unhooking may run code that looks at the list.
      std::unique_ptr<TWinSkinPopMenu> popup = std::move(*it);
      FPopups.erase(it);
      popup->Unhook();
      found = true;
      break;
    }
  if (FPopups.empty()) {
    FMenuBarPopup = false;
    FMenuMode = 0;
  }
  return found;
}

bool TSkinManage::HasPopupSkin(HWND window) const {
  return std::any_of(FPopups.begin(), FPopups.end(), [window](const auto& p) { return p->FHandle == window; });
}

void TSkinManage::MarkMenuBarPopups() {
  for (const auto& p : FPopups) p->FMenuBarPopup = true;
}

void TSkinManage::TagPopup(HMENU menu) {
  if (!menu || FindPopup(menu)) return;  // already held, by its own window or an earlier tag
  for (auto it = FPopups.rbegin(); it != FPopups.rend(); ++it)
    if (!(*it)->FMenu) {
      (*it)->FMenu = menu;
      return;
    }
}

TWinSkinPopMenu* TSkinManage::FindPopup(HMENU menu) const {
  for (const auto& p : FPopups)
    if (p->FMenu == menu) return p.get();
  return nullptr;
}

fw::TBitmap* TSkinManage::PopupBitmapOf(HMENU menu) const {
  TWinSkinPopMenu* p = menu ? FindPopup(menu) : nullptr;
  return p ? &p->Bitmap() : nullptr;
}

POINT TSkinManage::PopupClientOrigin(HMENU menu) const {
  TWinSkinPopMenu* p = menu ? FindPopup(menu) : nullptr;
  return p ? p->ClientOrigin() : POINT{0, 0};
}

// Unhooks and frees the popup skins drawn with data (all of them for null).
void TSkinManage::FreePopups(TSkinData* data) {
  for (std::size_t i = FPopups.size(); i-- > 0;) {
    if (i >= FPopups.size() || (data && FPopups[i]->FSkinData != data)) continue;
    std::unique_ptr<TWinSkinPopMenu> popup = std::move(FPopups[i]);
    FPopups.erase(FPopups.begin() + static_cast<std::ptrdiff_t>(i));
    popup->Unhook();
  }
}

void TSkinManage::SetMDIMaximized(bool value) {
  if (value == FMDIMaximized) return;
  FMDIMaximized = value;
  if (FMainSkinData && (FMainSkinData->Options & SetOf(xoMDIChildBorder))) return;
  for (TWinSkinForm* f : FForms) {
    if (f->FMDIRole != mrChild) continue;
    if (value) {
      if (f->FRegionSet) f->FreeRegion();
      f->SetCaptionStyle(true);
    } else if (f->FShowState == ssMinimized) {
      f->SetCaptionStyle(true);
    } else {
      f->FShowState = ssNormal;
      f->FrameChanged();
      f->SetCaptionStyle(false);
      if (!f->FRegionSet) f->UpdateRegion();
    }
  }
}

}  // namespace skin
