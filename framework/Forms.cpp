// TCustomForm, TApplication, TScreen and the process-wide Application and Screen objects.
#include "Forms.h"

#include <commctrl.h>

#include <algorithm>

#include "Menus.h"
#include "MsgBox.h"

// windows.h defines RegisterClass as a macro, which renamed the declaration in Classes.h for
// this file; declare the framework's registry function under its own name.
#undef RegisterClass
namespace fw {
void RegisterClass(const TClassInfo* info);
}

namespace fw {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// Creates the globals before main and frees them (with the forms the application owns) at exit.
struct TGlobals {
  TGlobals() {
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
  }
  ~TGlobals() {
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
  }
} gGlobals;

const std::vector<std::string> BorderStyleNames{"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
                                                "bsSizeToolWin"};
const std::vector<std::string> PositionNames{"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                             "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                                             "poOwnerFormCenter"};
const std::vector<std::string> BorderIconNames{"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
const std::vector<std::string> WindowStateNames{"wsNormal", "wsMinimized", "wsMaximized"};

}  // namespace

void HandleCallbackException(TObject* sender) noexcept {
  try {
    if (Application) {
      Application->HandleException(sender);
      return;
    }
    try {
      throw;
    } catch (const Exception& e) {
      ShowMessageBox(nullptr, e.Message(), L"Error", MB_OK | MB_ICONERROR);
    } catch (const std::exception& e) {
      ShowMessageBox(nullptr, Utf8ToWide(e.what()), L"Error", MB_OK | MB_ICONERROR);
    }
  } catch (...) {
  }
}

// ---------------------------------------------------------------------------
// TCustomForm
// ---------------------------------------------------------------------------

const TClassInfo& TCustomForm::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomForm",
      &TWinControl::StaticClassInfo(),
      {},
      {{"ClientWidth", TPropKind::Integer,
        [](TObject* o) -> TPropValue { return int64_t(As<TCustomForm>(o)->ClientWidth()); },
        [](TObject* o, const TPropValue& v) { As<TCustomForm>(o)->SetClientWidth(static_cast<int>(PropInt(v))); }},
       {"ClientHeight", TPropKind::Integer,
        [](TObject* o) -> TPropValue { return int64_t(As<TCustomForm>(o)->ClientHeight()); },
        [](TObject* o, const TPropValue& v) { As<TCustomForm>(o)->SetClientHeight(static_cast<int>(PropInt(v))); }},
       {"Position", TPropKind::Enumeration,
        [](TObject* o) -> TPropValue { return int64_t(As<TCustomForm>(o)->Position()); },
        [](TObject* o, const TPropValue& v) { As<TCustomForm>(o)->SetPosition(static_cast<TPosition>(PropInt(v))); },
        PositionNames},
       {"BorderStyle", TPropKind::Enumeration,
        [](TObject* o) -> TPropValue { return int64_t(As<TCustomForm>(o)->BorderStyle()); },
        [](TObject* o, const TPropValue& v) {
          As<TCustomForm>(o)->SetBorderStyle(static_cast<TFormBorderStyle>(PropInt(v)));
        },
        BorderStyleNames},
       {"BorderIcons", TPropKind::Set,
        [](TObject* o) -> TPropValue { return int64_t(As<TCustomForm>(o)->BorderIcons()); },
        [](TObject* o, const TPropValue& v) { As<TCustomForm>(o)->SetBorderIcons(static_cast<TBorderIcons>(PropInt(v))); },
        BorderIconNames},
       {"WindowState", TPropKind::Enumeration,
        [](TObject* o) -> TPropValue { return int64_t(As<TCustomForm>(o)->WindowState()); },
        [](TObject* o, const TPropValue& v) { As<TCustomForm>(o)->SetWindowState(static_cast<TWindowState>(PropInt(v))); },
        WindowStateNames},
       {"Menu", TPropKind::Object, [](TObject* o) -> TPropValue { return static_cast<TObject*>(As<TCustomForm>(o)->Menu); },
        [](TObject* o, const TPropValue& v) {
          As<TCustomForm>(o)->Menu = dynamic_cast<TComponent*>(std::get<TObject*>(v));
        }},
       {"KeyPreview", TPropKind::Boolean, [](TObject* o) -> TPropValue { return As<TCustomForm>(o)->KeyPreview; },
        [](TObject* o, const TPropValue& v) { As<TCustomForm>(o)->KeyPreview = PropBool(v); }},
       MethodProp<TCustomForm, &TCustomForm::OnCreate>("OnCreate"),
       MethodProp<TCustomForm, &TCustomForm::OnDestroy>("OnDestroy"),
       MethodProp<TCustomForm, &TCustomForm::OnShow>("OnShow"),
       MethodProp<TCustomForm, &TCustomForm::OnHide>("OnHide"),
       MethodProp<TCustomForm, &TCustomForm::OnActivate>("OnActivate"),
       MethodProp<TCustomForm, &TCustomForm::OnDeactivate>("OnDeactivate"),
       MethodProp<TCustomForm, &TCustomForm::OnClose>("OnClose"),
       MethodProp<TCustomForm, &TCustomForm::OnCloseQuery>("OnCloseQuery"),
       MethodProp<TCustomForm, &TCustomForm::OnCanResize>("OnCanResize")},
      {}};
  return info;
}

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info{"TForm", &TCustomForm::StaticClassInfo(),
                               [](TComponent* owner) -> TComponent* { return new TForm(owner); }, {}, {}};
  return info;
}

void RegisterFormClasses() { RegisterClass(&TForm::StaticClassInfo()); }

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  FVisible = false;
  FParentColor = false;
  FColor = clBtnFace;
  ControlStyle |= csAcceptsControls;
  FLeft = FTop = static_cast<int>(CW_USEDEFAULT);
  FWidth = 320;
  FHeight = 240;
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  SetDestroying();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      HandleCallbackException(this);
    }
  }
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  // Destroy the window while the form's own message handling still exists.
  DestroyHandle();
}

void TCustomForm::AfterConstruction() {
  if (FCreated) return;
  FCreated = true;
  if (OnCreate) OnCreate(this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == FBorderStyle) return;
  FBorderStyle = v;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  if (v == FBorderIcons) return;
  FBorderIcons = v;
  if (HandleAllocated()) RecreateWnd();
}

TWindowState TCustomForm::WindowState() const {
  if (HandleAllocated()) {
    if (IsIconic(HandleIfAllocated())) return wsMinimized;
    if (IsZoomed(HandleIfAllocated())) return wsMaximized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState v) {
  FWindowState = v;
  if (HandleAllocated() && FVisible)
    ShowWindow(HandleIfAllocated(), v == wsMinimized ? SW_MINIMIZE : v == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  FActiveControl = c;
  if (c && FActive && HandleAllocated() && !c->Focused() && c->CanFocus()) c->SetFocus();
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.Menu = nullptr;
  p.WndParent = nullptr;
  if (Application && Application->MainForm() && Application->MainForm() != this &&
      Application->MainForm()->HandleAllocated())
    p.WndParent = Application->MainForm()->HandleIfAllocated();
  p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (!FEnabled) p.Style |= WS_DISABLED;
  p.ExStyle = 0;
  DWORD icons = 0;
  if (FBorderIcons & biSystemMenu) {
    icons |= WS_SYSMENU;
    if (FBorderIcons & biMinimize) icons |= WS_MINIMIZEBOX;
    if (FBorderIcons & biMaximize) icons |= WS_MAXIMIZEBOX;
  }
  switch (FBorderStyle) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle: p.Style |= WS_CAPTION | WS_BORDER | icons; break;
    case bsSizeable: p.Style |= WS_CAPTION | WS_THICKFRAME | icons; break;
    case bsDialog:
      p.Style |= WS_POPUP | WS_CAPTION | (icons & WS_SYSMENU);
      p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      if (FBorderIcons & biHelp) p.ExStyle |= WS_EX_CONTEXTHELP;
      break;
    case bsToolWindow: p.Style |= WS_CAPTION | (icons & WS_SYSMENU); p.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin:
      p.Style |= WS_CAPTION | WS_THICKFRAME | (icons & WS_SYSMENU);
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (!p.WndParent && FBorderStyle != bsNone) p.ExStyle |= WS_EX_APPWINDOW;
  if (FClientWidth > 0 || FClientHeight > 0) {
    RECT r{0, 0, FClientWidth, FClientHeight};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    if (FClientWidth > 0) p.Width = r.right - r.left;
    if (FClientHeight > 0) p.Height = r.bottom - r.top;
  }
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  // The frame may differ from the computed one (menus, themes): make the client size exact.
  if (FClientWidth > 0) SetClientWidth(FClientWidth);
  if (FClientHeight > 0) SetClientHeight(FClientHeight);
}

int TCustomForm::ClientWidth() const {
  if (HandleAllocated() || FClientWidth <= 0) return TWinControl::ClientWidth();
  return FClientWidth;
}

int TCustomForm::ClientHeight() const {
  if (HandleAllocated() || FClientHeight <= 0) return TWinControl::ClientHeight();
  return FClientHeight;
}

void TCustomForm::SetClientWidth(int v) {
  FClientWidth = v;
  if (HandleAllocated()) {
    TWinControl::SetClientWidth(v);
    return;
  }
  TCreateParams p;
  CreateParams(p);
  UpdateBoundsFields(FLeft, FTop, p.Width, FHeight);
}

void TCustomForm::SetClientHeight(int v) {
  FClientHeight = v;
  if (HandleAllocated()) {
    TWinControl::SetClientHeight(v);
    return;
  }
  TCreateParams p;
  CreateParams(p);
  UpdateBoundsFields(FLeft, FTop, FWidth, p.Height);
}

void TCustomForm::PlaceByPosition() {
  if (FPlaced) return;
  FPlaced = true;
  int w = FWidth, h = FHeight;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
      SetBounds((GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h);
      break;
    case poMainFormCenter:
    case poOwnerFormCenter:
      if (Application && Application->MainForm() && Application->MainForm() != this) {
        TCustomForm* m = Application->MainForm();
        SetBounds(m->Left() + (m->Width() - w) / 2, m->Top() + (m->Height() - h) / 2, w, h);
      } else {
        SetBounds((GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h);
      }
      break;
    default:
      break;
  }
}

void TCustomForm::SetVisible(bool v) {
  if (v == FVisible && (!v || (HandleAllocated() && IsWindowVisible(HandleIfAllocated())))) return;
  FVisible = v;
  if (v) {
    HandleNeeded();
    PlaceByPosition();
    // Whoever dresses the window before its first show does it before OnShow, so that the form's
    // own OnShow code measures the frame it is shown with.
    if (Screen && Screen->OnFormShowing && !IsWindowVisible(HandleIfAllocated())) Screen->OnFormShowing(this);
    DoShow();
    ShowWindow(HandleIfAllocated(), FWindowState == wsMinimized   ? SW_SHOWMINIMIZED
                                    : FWindowState == wsMaximized ? SW_SHOWMAXIMIZED
                                                                  : SW_SHOWNORMAL);
    SetForegroundWindow(HandleIfAllocated());
  } else {
    DoHide();
    if (HandleAllocated()) ShowWindow(HandleIfAllocated(), SW_HIDE);
  }
  Perform(CM_VISIBLECHANGED, v);
}

bool TCustomForm::Showing() const { return HandleAllocated() && IsWindowVisible(HandleIfAllocated()); }

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::BringToFront() {
  if (HandleAllocated()) SetWindowPos(HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  bool isMain = Application && Application->MainForm() == this;
  TCloseAction action = isMain ? caFree : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (isMain) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    case caNone: break;
  }
}

void TCustomForm::Release() {
  if (HandleAllocated()) PostMessageW(HandleIfAllocated(), CM_RELEASE, 0, 0);
}

namespace {
struct TDisabledWindows {
  HWND Except;
  std::vector<HWND> List;
  static BOOL CALLBACK Collect(HWND wnd, LPARAM data) {
    auto* self = reinterpret_cast<TDisabledWindows*>(data);
    if (wnd != self->Except && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) self->List.push_back(wnd);
    return TRUE;
  }
  explicit TDisabledWindows(HWND except) : Except(except) {
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
    for (HWND w : List) EnableWindow(w, FALSE);
  }
  ~TDisabledWindows() {
    for (HWND w : List)
      if (IsWindow(w)) EnableWindow(w, TRUE);
  }
};
}  // namespace

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FModal) throw EInvalidOperation(L"不能将可见窗口设为模态");
  if (GetCapture()) ReleaseCapture();
  HWND previous = GetActiveWindow();
  HandleNeeded();
  FModal = true;
  FModalResult = mrNone;
  {
    TDisabledWindows disabled(HandleIfAllocated());
    struct TModalEnd {
      TCustomForm* F;
      ~TModalEnd() { F->FModal = false; }
    } end{this};
    Show();
    while (FModalResult == mrNone) {
      Application->HandleMessage();
      if (Application->Terminated()) FModalResult = mrCancel;
      if (FModalResult != mrNone) {
        // Close protocol on the way out; a refused close keeps the form open.
        TCloseAction action = caNone;
        if (CloseQuery()) {
          action = caHide;
          DoClose(action);
        }
        if (action == caNone && !Application->Terminated()) FModalResult = mrNone;
      }
    }
  }
  if (previous && IsWindow(previous)) SetActiveWindow(previous);
  Hide();
  return FModalResult;
}

bool TCustomForm::CanResize(int& newWidth, int& newHeight) {
  bool resize = true;
  if (OnCanResize) OnCanResize(this, newWidth, newHeight, resize);
  return resize;
}

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      m.Result = 0;
      return;
    case CM_RELEASE:
      delete this;  // nothing of this object is touched after this point
      return;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      // Owner-drawn items of the form's menus; other items go on to the controls.
      if (m.WParam == 0 && DispatchMenuItemMessage(HandleIfAllocated(), m)) return;
      break;
    case WM_WINDOWPOSCHANGING: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
      if (!(wp->flags & SWP_NOSIZE) && !IsIconic(HandleIfAllocated())) {
        int w = wp->cx, h = wp->cy;
        if (CanResize(w, h)) {
          wp->cx = w;
          wp->cy = h;
        } else {
          wp->flags |= SWP_NOSIZE;
        }
      }
      break;
    }
    case WM_SIZING: {
      auto* r = reinterpret_cast<RECT*>(m.LParam);
      int w = r->right - r->left, h = r->bottom - r->top;
      if (!CanResize(w, h)) {
        GetWindowRect(HandleIfAllocated(), r);
      } else {
        if (m.WParam == WMSZ_LEFT || m.WParam == WMSZ_TOPLEFT || m.WParam == WMSZ_BOTTOMLEFT)
          r->left = r->right - w;
        else
          r->right = r->left + w;
        if (m.WParam == WMSZ_TOP || m.WParam == WMSZ_TOPLEFT || m.WParam == WMSZ_TOPRIGHT)
          r->top = r->bottom - h;
        else
          r->bottom = r->top + h;
      }
      m.Result = TRUE;
      return;
    }
    case WM_ACTIVATE: {
      TWinControl::WndProc(m);
      bool active = LOWORD(m.WParam) != WA_INACTIVE;
      FActive = active;
      if (active) {
        if (Screen) Screen->FormActivated(this);
        if (FActiveControl && FActiveControl->CanFocus())
          FActiveControl->SetFocus();
        else
          SelectNext(nullptr, true, true);
        if (OnActivate) OnActivate(this);
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      return;
    }
    case CM_DIALOGKEY: {
      TWinControl::WndProc(m);  // children first (default and cancel buttons)
      if (m.Result) return;
      WORD key = static_cast<WORD>(m.WParam);
      TShiftState shift = KeyboardShiftState();
      if (shift & (ssAlt | ssCtrl)) return;
      TWinControl* current = FindWindowControl(GetFocus());
      if (key == VK_TAB) {
        m.Result = SelectNext(current, !(shift & ssShift), true) ? 1 : 0;
      } else if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
        if (current && current != this && current->Parent())
          m.Result = current->Parent()->SelectNext(current, key == VK_RIGHT || key == VK_DOWN, false) ? 1 : 0;
      }
      return;
    }
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TApplication
// ---------------------------------------------------------------------------

const TClassInfo& TApplication::StaticClassInfo() {
  static const TClassInfo info{"TApplication", &TComponent::StaticClassInfo(), {}, {}, {}};
  return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = ExtractFileName(std::wstring(path, n));
  if (auto dot = name.rfind(L'.'); dot != std::wstring::npos) name.resize(dot);
  FTitle = name;
  FWindow = std::make_unique<TUtilWindow>(TUtilWindow::THandler::Of<&TApplication::WndProc>(this), L"TApplication",
                                          FTitle.c_str());
}

TApplication::~TApplication() {
  SetDestroying();
  DestroyComponents();  // forms first, while the application window still exists
  FWindow.reset();
}

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_DATE_CLASSES |
                                            ICC_USEREX_CLASSES | ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterFormClasses();
}

void TApplication::SetTitle(const std::wstring& s) {
  FTitle = s;
  if (FWindow) SetWindowTextW(FWindow->Handle(), s.c_str());
}

void TApplication::Run() {
  if (FMainForm && ShowMainForm) FMainForm->Show();
  while (!FTerminated) HandleMessage();
}

bool TApplication::IsKeyMsg(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  TWinControl* c = FindWindowControl(msg.hwnd);
  if (!c) return false;
  return c->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  try {
    handled = IsKeyMsg(msg);
  } catch (...) {
    HandleException(this);
    handled = true;
  }
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) {
    if (OnIdle) {
      try {
        OnIdle(this);
      } catch (...) {
        HandleException(this);
      }
    }
    if (!FTerminated) WaitMessage();
  }
}

void TApplication::Terminate() {
  if (!FTerminated) PostQuitMessage(0);
}

void TApplication::HandleException(TObject* sender) {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    if (OnException)
      OnException(sender, e);
    else
      ShowException(e);
  } catch (...) {
    ShowException(Exception(L"未知异常"));
  }
}

void TApplication::ShowException(const std::exception& e) {
  std::wstring text;
  if (auto* fe = dynamic_cast<const Exception*>(&e))
    text = fe->Message();
  else
    text = Utf8ToWide(e.what());
  HWND owner = GetActiveWindow();
  ShowMessageBox(owner, text, FTitle, MB_OK | MB_ICONERROR);
}

void TApplication::WndProc(TMessage& m) {
  if (m.Msg == WM_CLOSE) {
    if (FMainForm) FMainForm->Close();
    m.Result = 0;
    return;
  }
  // Popup menus tracked with this window draw their owner-drawn items here.
  if ((m.Msg == WM_MEASUREITEM || m.Msg == WM_DRAWITEM) && m.WParam == 0 && FWindow &&
      DispatchMenuItemMessage(FWindow->Handle(), m))
    return;
  if (m.Msg == WM_SETTINGCHANGE && Screen) Screen->FMenuFontRead = false;
  m.Result = FWindow ? FWindow->Default(m) : 0;
}

void TApplication::Notification(TComponent* c, TOperation op) {
  TComponent::Notification(c, op);
  if (op == TOperation::opRemove && c == FMainForm) FMainForm = nullptr;
}

// ---------------------------------------------------------------------------
// TScreen
// ---------------------------------------------------------------------------

const TClassInfo& TScreen::StaticClassInfo() {
  static const TClassInfo info{"TScreen", &TComponent::StaticClassInfo(), {}, {}, {}};
  return info;
}

TFont& TScreen::MenuFont() {
  if (!FMenuFontRead) {
    FMenuFontRead = true;
    // The W structure at its full size: the system refuses sizes it does not know.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      TFontHandle font(CreateFontIndirectW(&metrics.lfMenuFont));
      if (font) FMenuFont.SetHandle(font);
    }
    FMenuFont.SetColor(clMenuText);
  }
  return FMenuFont;
}

void TScreen::RemoveForm(TCustomForm* f) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), f), FForms.end());
  if (FActiveForm == f) FActiveForm = nullptr;
}

void TScreen::FormActivated(TCustomForm* f) {
  auto it = std::find(FForms.begin(), FForms.end(), f);
  if (it != FForms.end()) std::rotate(FForms.begin(), it, it + 1);
  bool changed = FActiveForm != f;
  FActiveForm = f;
  if (changed && OnActiveFormChange) OnActiveFormChange(this);
}

}  // namespace fw
