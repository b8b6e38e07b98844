// TControl, TGraphicControl, TWinControl, TCustomControl: bounds, alignment, events, window
// creation with thunk subclassing, reflection of child notifications, graphic children and
// dialog keyboard navigation.
#include "Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "Forms.h"

namespace fw {

// ---------------------------------------------------------------------------
// Helpers
// ---------------------------------------------------------------------------

TShiftState KeyboardShiftState() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState MouseShiftState(WPARAM mk) {
  TShiftState s = 0;
  if (mk & MK_SHIFT) s |= ssShift;
  if (mk & MK_CONTROL) s |= ssCtrl;
  if (mk & MK_LBUTTON) s |= ssLeft;
  if (mk & MK_RBUTTON) s |= ssRight;
  if (mk & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

const std::wstring& ControlAtomString() {
  thread_local std::wstring name = [] {
    wchar_t buf[64];
    swprintf(buf, 64, L"ControlOfs%.8X%.8X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
             static_cast<unsigned>(GetCurrentThreadId()));
    return std::wstring(buf);
  }();
  return name;
}

TWinControl* FindControl(HWND wnd) {
  if (!wnd || !IsWindow(wnd)) return nullptr;
  return static_cast<TWinControl*>(GetPropW(wnd, ControlAtomString().c_str()));
}

TWinControl* FindWindowControl(HWND wnd) {
  while (wnd) {
    if (TWinControl* c = FindControl(wnd)) return c;
    wnd = GetParent(wnd);
  }
  return nullptr;
}

namespace {

bool IsMouseButtonMsg(UINT msg) { return msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK; }
bool IsButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDBLCLK ||
         msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}
bool IsButtonUp(UINT msg) { return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP; }

TMouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return mbRight;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return mbMiddle;
    default: return mbLeft;
  }
}

// The control whose window is being created on this thread, claimed by the creation hook.
thread_local TWinControl* gCreatingControl = nullptr;
thread_local unsigned gNextChildId = 100;

const std::vector<std::string> AlignNames{"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};

}  // namespace

// ---------------------------------------------------------------------------
// TControl
// ---------------------------------------------------------------------------

const TClassInfo& TControl::StaticClassInfo() {
  static const TClassInfo info{
      "TControl",
      &TComponent::StaticClassInfo(),
      {},
      {{"Left", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TControl>(o)->Left()); },
        [](TObject* o, const TPropValue& v) { As<TControl>(o)->SetLeft(static_cast<int>(PropInt(v))); }},
       {"Top", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TControl>(o)->Top()); },
        [](TObject* o, const TPropValue& v) { As<TControl>(o)->SetTop(static_cast<int>(PropInt(v))); }},
       {"Width", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TControl>(o)->Width()); },
        [](TObject* o, const TPropValue& v) { As<TControl>(o)->SetWidth(static_cast<int>(PropInt(v))); }},
       {"Height", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TControl>(o)->Height()); },
        [](TObject* o, const TPropValue& v) { As<TControl>(o)->SetHeight(static_cast<int>(PropInt(v))); }},
       {"Caption", TPropKind::String, [](TObject* o) -> TPropValue { return As<TControl>(o)->Caption(); },
        [](TObject* o, const TPropValue& v) { As<TControl>(o)->SetCaption(PropStr(v)); }},
       {"Visible", TPropKind::Boolean, [](TObject* o) -> TPropValue { return As<TControl>(o)->Visible(); },
        [](TObject* o, const TPropValue& v) { As<TControl>(o)->SetVisible(PropBool(v)); }},
       {"Enabled", TPropKind::Boolean, [](TObject* o) -> TPropValue { return As<TControl>(o)->Enabled(); },
        [](TObject* o, const TPropValue& v) { As<TControl>(o)->SetEnabled(PropBool(v)); }},
       {"Color", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TControl>(o)->Color()); },
        [](TObject* o, const TPropValue& v) {
          TColor c = 0;
          if (auto s = std::get_if<std::wstring>(&v)) {
            if (!IdentToColor(*s, c)) throw EPropertyError(L"无效的颜色值: " + *s);
          } else {
            c = static_cast<TColor>(PropInt(v));
          }
          As<TControl>(o)->SetColor(c);
        }},
       {"Font", TPropKind::Object, [](TObject* o) -> TPropValue { return static_cast<TObject*>(As<TControl>(o)->Font()); },
        nullptr},
       {"ParentColor", TPropKind::Boolean, [](TObject* o) -> TPropValue { return As<TControl>(o)->ParentColor(); },
        [](TObject* o, const TPropValue& v) { As<TControl>(o)->SetParentColor(PropBool(v)); }},
       {"ParentFont", TPropKind::Boolean, [](TObject* o) -> TPropValue { return As<TControl>(o)->ParentFont(); },
        [](TObject* o, const TPropValue& v) { As<TControl>(o)->SetParentFont(PropBool(v)); }},
       {"Align", TPropKind::Enumeration,
        [](TObject* o) -> TPropValue { return int64_t(As<TControl>(o)->Align()); },
        [](TObject* o, const TPropValue& v) { As<TControl>(o)->SetAlign(static_cast<TAlign>(PropInt(v))); },
        AlignNames},
       MethodProp<TControl, &TControl::OnClick>("OnClick"),
       MethodProp<TControl, &TControl::OnDblClick>("OnDblClick"),
       MethodProp<TControl, &TControl::OnResize>("OnResize"),
       MethodProp<TControl, &TControl::OnMouseDown>("OnMouseDown"),
       MethodProp<TControl, &TControl::OnMouseUp>("OnMouseUp"),
       MethodProp<TControl, &TControl::OnMouseMove>("OnMouseMove"),
       MethodProp<TControl, &TControl::OnMouseEnter>("OnMouseEnter"),
       MethodProp<TControl, &TControl::OnMouseLeave>("OnMouseLeave")},
      {}};
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {
  WindowProc = TWndMethod::Of<&TControl::WndProc>(this);
  FFont->OnChange = TNotifyEvent::Of<&TControl::FontChanged>(this);
}

// A font change made through Font(): the control no longer follows its parent's font.
void TControl::FontChanged(TObject*) {
  if (!FFollowingParentFont) FParentFont = false;
  Perform(CM_FONTCHANGED);
  Invalidate();
}

TControl::~TControl() {
  SetDestroying();
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) throw EInvalidOperation(L"控件不能成为自己的父控件");
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  Invalidate();
  UpdateBoundsFields(left, top, width, height);
  Invalidate();
}

void TControl::UpdateBoundsFields(int l, int t, int w, int h) {
  bool sized = w != FWidth || h != FHeight;
  bool changed = sized || l != FLeft || t != FTop;
  FLeft = l;
  FTop = t;
  FWidth = w;
  FHeight = h;
  if (!changed) return;
  BoundsChanged();
  if (sized) Resize();
  if (FAlign != alNone) RequestAlign();
}

void TControl::BoundsChanged() {}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

POINT TControl::ClientToScreen(POINT p) const {
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->HandleAllocated()) {
    ::ClientToScreen(w->HandleIfAllocated(), &p);
    return p;
  }
  if (!FParent) return p;
  return FParent->ClientToScreen({p.x + FLeft, p.y + FTop});
}

POINT TControl::ScreenToClient(POINT p) const {
  if (auto* w = dynamic_cast<const TWinControl*>(this); w && w->HandleAllocated()) {
    ::ScreenToClient(w->HandleIfAllocated(), &p);
    return p;
  }
  if (!FParent) return p;
  POINT q = FParent->ScreenToClient(p);
  return {q.x - FLeft, q.y - FTop};
}

void TControl::SetAlign(TAlign a) {
  if (a == FAlign) return;
  FAlign = a;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent) FParent->Realign();
}

void TControl::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (FParent && FParent->HandleAllocated()) {
    RECT r = BoundsRect();
    InvalidateRect(FParent->HandleIfAllocated(), &r, TRUE);
  }
  Perform(CM_VISIBLECHANGED, v);
  if (FAlign != alNone) RequestAlign();
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetColor(TColor c) {
  FParentColor = false;
  if (c == FColor) return;
  FColor = c;
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::SetParentColor(bool v) {
  FParentColor = v;
  if (v && FParent) ParentColorChanged();
}

void TControl::SetParentFont(bool v) {
  FParentFont = v;
  if (v && FParent) ParentFontChanged();
}

void TControl::ParentColorChanged() {
  if (FParentColor && FParent && FParent->Color() != FColor) {
    FColor = FParent->Color();
    FParentColor = true;
    Perform(CM_COLORCHANGED);
    Invalidate();
  }
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FFollowingParentFont = true;
  FFont->Assign(*FParent->Font());
  FFollowingParentFont = false;
}

void TControl::SetText(const std::wstring& s) {
  if (s == FText) return;
  FText = s;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (WindowProc)
    WindowProc(m);
  else
    WndProc(m);
  return m.Result;
}

void TControl::Invalidate() {
  if (FVisible && FParent && FParent->HandleAllocated()) {
    RECT r = BoundsRect();
    InvalidateRect(FParent->HandleIfAllocated(), &r, !(ControlStyle & csOpaque));
  }
}

void TControl::Update() {
  if (FParent && FParent->HandleAllocated()) UpdateWindow(FParent->HandleIfAllocated());
}

void TControl::BringToFront() {
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    SetWindowPos(w->HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (FParent) {
    auto& v = FParent->FControls;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    v.push_back(this);
  }
  Invalidate();
}

TCustomForm* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

bool TControl::IsAccel(wchar_t key) const {
  std::wstring s = Caption();
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    if (s[i] != L'&') continue;
    if (s[i + 1] == L'&') {
      ++i;
      continue;
    }
    return CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(s[i + 1]))) ==
           CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(key)));
  }
  return false;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}

void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}

void TControl::MouseMove(TShiftState s, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, s, x, y);
}

// Mouse events, click generation, enter/leave and inherited colour; everything else goes to
// DefaultHandler (mouse messages too, after their events).
void TControl::WndProc(TMessage& m) {
  UINT msg = m.Msg;
  if (msg == WM_MOUSEMOVE) {
    MouseMove(MouseShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  } else if (IsMouseButtonMsg(msg)) {
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    TShiftState s = MouseShiftState(m.WParam);
    if (IsButtonDown(msg)) {
      bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
      if (msg == WM_LBUTTONDOWN && (ControlStyle & csClickEvents)) FClicked = true;
      if (dbl && msg == WM_LBUTTONDBLCLK && (ControlStyle & csDoubleClicks)) DblClick();
      MouseDown(ButtonOf(msg), s | (dbl ? ssDouble : 0), x, y);
    } else {
      bool click = msg == WM_LBUTTONUP && FClicked;
      if (msg == WM_LBUTTONUP) FClicked = false;
      MouseUp(ButtonOf(msg), s, x, y);
      DefaultHandler(m);
      if (click && x >= 0 && y >= 0 && x < FWidth && y < FHeight) Click();
      return;  // the control may be gone after Click
    }
  } else if (msg == CM_MOUSEENTER) {
    if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
      FMouseInControl = true;
      if (OnMouseEnter) OnMouseEnter(this);
    }
    return;
  } else if (msg == CM_MOUSELEAVE) {
    if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
      FMouseInControl = false;
      if (OnMouseLeave) OnMouseLeave(this);
    }
    return;
  } else if (msg == CM_PARENTCOLORCHANGED) {
    ParentColorChanged();
    return;
  } else if (msg == CM_PARENTFONTCHANGED) {
    ParentFontChanged();
    return;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m) { m.Result = m.Msg == CM_HITTEST ? 1 : 0; }

// ---------------------------------------------------------------------------
// TGraphicControl
// ---------------------------------------------------------------------------

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo info{"TGraphicControl", &TControl::StaticClassInfo(), {}, {}, {}};
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    FPaintDC = reinterpret_cast<HDC>(m.WParam);
    FCanvas.SetHandle(FPaintDC);
    FCanvas.Font().Assign(*Font());
    struct TEnd {
      TGraphicControl* C;
      ~TEnd() { C->FCanvas.SetHandle(nullptr); C->FPaintDC = nullptr; }
    } end{this};
    Paint();
    m.Result = 0;
    return;
  }
  TControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TWinControl
// ---------------------------------------------------------------------------

const TClassInfo& TWinControl::StaticClassInfo() {
  static const TClassInfo info{
      "TWinControl",
      &TControl::StaticClassInfo(),
      {},
      {{"TabOrder", TPropKind::Integer, [](TObject* o) -> TPropValue { return int64_t(As<TWinControl>(o)->TabOrder()); },
        [](TObject* o, const TPropValue& v) { As<TWinControl>(o)->SetTabOrder(static_cast<int>(PropInt(v))); }},
       {"TabStop", TPropKind::Boolean, [](TObject* o) -> TPropValue { return As<TWinControl>(o)->TabStop(); },
        [](TObject* o, const TPropValue& v) { As<TWinControl>(o)->SetTabStop(PropBool(v)); }},
       MethodProp<TWinControl, &TWinControl::OnKeyDown>("OnKeyDown"),
       MethodProp<TWinControl, &TWinControl::OnKeyUp>("OnKeyUp"),
       MethodProp<TWinControl, &TWinControl::OnKeyPress>("OnKeyPress"),
       MethodProp<TWinControl, &TWinControl::OnEnter>("OnEnter"),
       MethodProp<TWinControl, &TWinControl::OnExit>("OnExit")},
      {}};
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // Marked before anything goes, so the window's last messages and the children see it.
  SetDestroying();
  if (TCustomForm* f = GetParentForm(); f && f != this && f->ActiveControl() == this) f->SetActiveControl(nullptr);
  // Children go first (as the framework defines it, a parent frees the controls it holds). A
  // child's destructor takes it out of the list, so its window goes while it still has its parent.
  while (!FControls.empty()) {
    TControl* c = FControls.back();
    delete c;
    if (!FControls.empty() && FControls.back() == c) FControls.pop_back();
  }
  DestroyHandle();
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  if (FHandle) return;  // the parent's creation created ours too
  CreateWnd();
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  CreateChildHandles();
  CreateHandleDone();
  Realign();
}

void TWinControl::CreateChildHandles() {
  for (TControl* c : std::vector<TControl*>(FControls))
    if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->FHandle) w->HandleNeeded();
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = FText;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle & csAcceptsControls) p.Style |= WS_CLIPCHILDREN;
  if (FVisible) p.Style |= WS_VISIBLE;
  if (FTabStop) p.Style |= WS_TABSTOP;
  if (!FEnabled) p.Style |= WS_DISABLED;
  p.X = FLeft;
  p.Y = FTop;
  p.Width = FWidth;
  p.Height = FHeight;
  if (FParent) p.WndParent = FParent->Handle();
  p.Menu = reinterpret_cast<HMENU>(static_cast<uintptr_t>(gNextChildId++));
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent)
    throw EInvalidOperation(L"控件 '" + Name() + L"' 没有父窗口");
  FFrameworkClass = p.WinClassName.empty();
  std::wstring cls = FFrameworkClass ? Utf8ToWide(ClassName()) : p.WinClassName;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (FFrameworkClass) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(inst, cls.c_str(), &wc)) {
      wc = WNDCLASSEXW{};
      wc.cbSize = sizeof(wc);
      wc.style = p.ClassStyle;
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = inst;
      wc.hCursor = p.Cursor ? p.Cursor : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
      wc.hbrBackground = p.Background;
      wc.hIcon = LoadIconW(inst, L"MAINICON");
      if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
      wc.lpszClassName = cls.c_str();
      if (!RegisterClassExW(&wc)) throw EWin32Error(L"RegisterClass " + cls + L": " + SysErrorMessage(GetLastError()));
    }
  }
  // The creation hook attaches this object (property + thunk) before the first message.
  TWinControl* savedCreating = gCreatingControl;
  gCreatingControl = this;
  HHOOK hook = SetWindowsHookExW(WH_CBT, &TWinControl::CreationHook, nullptr, GetCurrentThreadId());
  HWND wnd = CreateWindowExW(p.ExStyle, cls.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
                             p.WndParent, p.Menu, inst, p.Param);
  DWORD err = GetLastError();
  if (hook) UnhookWindowsHookEx(hook);
  gCreatingControl = savedCreating;
  if (!wnd) throw EWin32Error(L"CreateWindowEx " + cls + L": " + SysErrorMessage(err));
  if (FHandle != wnd) AttachHandle(wnd);  // no hook (should not happen): attach late
  ApplyBoundsFromWindow();
}

LRESULT CALLBACK TWinControl::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && gCreatingControl) {
    TWinControl* c = gCreatingControl;
    gCreatingControl = nullptr;
    c->AttachHandle(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void TWinControl::AttachHandle(HWND wnd) {
  FHandle = wnd;
  SetPropW(wnd, ControlAtomString().c_str(), this);
  FThunk.Init(&TWinControl::StdWndProc, this);
  FDefWndProc = SubclassWindow(wnd, FThunk.Proc());
}

LRESULT CALLBACK TWinControl::StdWndProc(void* self, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* c = static_cast<TWinControl*>(self);
  TMessage m{msg, wParam, lParam, 0};
  try {
    c->WindowProc(m);
  } catch (...) {
    HandleCallbackException(c);
  }
  if (msg == WM_NCDESTROY) {
    // The window is gone: forget it and give the window its own procedure back.
    HWND wnd = c->FHandle;
    if (wnd) {
      RemovePropW(wnd, ControlAtomString().c_str());
      RestoreWindowProc(wnd, c->FThunk.Proc(), c->FDefWndProc);
    }
    c->FHandle = nullptr;
    c->FTrackingMouse = false;
  }
  return m.Result;
}

void TWinControl::DestroyWnd() {
  if (FHandle) DestroyWindow(FHandle);
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  FText = Text();
  // Children's windows go with ours; keep their texts.
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FHandle) w->FText = w->Text();
  DestroyWnd();
  FHandle = nullptr;
}

void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND);
}

void TWinControl::DoRecreateWnd() {
  if (!FHandle) return;
  FRecreating = true;
  DestroyHandle();
  HandleNeeded();
  FRecreating = false;
}

void TWinControl::ApplyBoundsFromWindow() {
  if (!FHandle) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  if (HWND parent = GetParent(FHandle); parent && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  UpdateBoundsFields(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::InsertControl(TControl* c) {
  c->FParent = this;
  FControls.push_back(c);
  if (auto* w = dynamic_cast<TWinControl*>(c)) FTabList.push_back(w);
  if (c->FParentColor) {
    c->ParentColorChanged();
    c->FParentColor = true;
  }
  if (c->FParentFont) c->ParentFontChanged();
  if (auto* w = dynamic_cast<TWinControl*>(c); w && FHandle && !w->FHandle && w->FVisible) w->HandleNeeded();
  if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FHandle && FHandle) ::SetParent(w->FHandle, FHandle);
  c->Invalidate();
  if (c->FAlign != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
  if (c->FParent != this) return;
  c->Invalidate();
  if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FHandle && !IsDestroying()) w->DestroyHandle();
  FControls.erase(std::remove(FControls.begin(), FControls.end(), c), FControls.end());
  FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), c), FTabList.end());
  if (FMouseControl == c) FMouseControl = nullptr;
  if (FCaptureControl == c) FCaptureControl = nullptr;
  c->FParent = nullptr;
  if (c->FAlign != alNone) Realign();
}

std::vector<TWinControl*> TWinControl::TabList() const { return FTabList; }

std::vector<TWinControl*> TWinControl::TabOrderList() const {
  std::vector<TWinControl*> list;
  for (TWinControl* w : FTabList) {
    list.push_back(w);
    const std::vector<TWinControl*> inner = w->TabOrderList();
    list.insert(list.end(), inner.begin(), inner.end());
  }
  return list;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->FVisible || (!c->FEnabled && !allowDisabled)) continue;
    RECT r = c->BoundsRect();
    if (!PtInRect(&r, p)) continue;
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(p.x - c->FLeft, p.y - c->FTop)) == 0) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::Realign() {
  if (FAlignLevel > 0 || IsLoading()) {
    FAlignPending = true;
    return;
  }
  RECT r{0, 0, ClientWidth(), ClientHeight()};
  ++FAlignLevel;
  AlignControls(r);
  --FAlignLevel;
  FAlignPending = false;
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (FAlignPending) Realign();
}

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && FAlignPending) Realign();
}

void TWinControl::AlignControls(RECT& r) {
  auto place = [&](TAlign a) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
      if (c->FAlign != a || !c->FVisible) continue;
      switch (a) {
        case alTop:
          c->SetBounds(r.left, r.top, r.right - r.left, c->FHeight);
          r.top += c->FHeight;
          break;
        case alBottom:
          c->SetBounds(r.left, r.bottom - c->FHeight, r.right - r.left, c->FHeight);
          r.bottom -= c->FHeight;
          break;
        case alLeft:
          c->SetBounds(r.left, r.top, c->FWidth, r.bottom - r.top);
          r.left += c->FWidth;
          break;
        case alRight:
          c->SetBounds(r.right - c->FWidth, r.top, c->FWidth, r.bottom - r.top);
          r.right -= c->FWidth;
          break;
        case alClient:
          c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
          break;
        case alNone:
          break;
      }
    }
  };
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) place(a);
}

void TWinControl::SetTabStop(bool v) {
  if (v == FTabStop) return;
  FTabStop = v;
  if (FHandle) {
    LONG s = GetWindowLongW(FHandle, GWL_STYLE);
    SetWindowLongW(FHandle, GWL_STYLE, v ? (s | WS_TABSTOP) : (s & ~WS_TABSTOP));
  }
}

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& l = FParent->FTabList;
  auto it = std::find(l.begin(), l.end(), this);
  return it == l.end() ? -1 : static_cast<int>(it - l.begin());
}

void TWinControl::SetTabOrder(int v) {
  if (!FParent) return;
  auto& l = FParent->FTabList;
  l.erase(std::remove(l.begin(), l.end(), this), l.end());
  v = std::clamp(v, 0, static_cast<int>(l.size()));
  l.insert(l.begin() + v, this);
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible || !c->FEnabled) return false;
  return GetParentForm() != nullptr || !FParent;
}

void TWinControl::SetFocus() {
  HandleNeeded();
  ::SetFocus(FHandle);
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  std::vector<TWinControl*> order;
  auto collect = [&](auto&& self, const TWinControl* parent) -> void {
    for (TWinControl* w : parent->FTabList) {
      order.push_back(w);
      self(self, w);
    }
  };
  collect(collect, this);
  if (order.empty()) return false;
  int n = static_cast<int>(order.size());
  auto it = std::find(order.begin(), order.end(), current);
  int start = it == order.end() ? (forward ? n - 1 : 0) : static_cast<int>(it - order.begin());
  for (int k = 1; k <= n; ++k) {
    int i = ((start + (forward ? k : -k)) % n + n) % n;
    TWinControl* c = order[static_cast<size_t>(i)];
    if (c == current) break;
    if ((!checkTabStop || c->FTabStop) && c->CanFocus()) {
      c->SetFocus();
      return true;
    }
  }
  return false;
}

void TWinControl::SetParent(TWinControl* parent) {
  TControl::SetParent(parent);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (FHandle) {
    if (left != FLeft || top != FTop || width != FWidth || height != FHeight)
      SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyBoundsFromWindow();  // in case the window refused or adjusted the size
  } else {
    UpdateBoundsFields(left, top, width, height);
  }
}

void TWinControl::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  if (v && !FHandle && FParent && FParent->HandleAllocated()) HandleNeeded();
  if (FHandle) ShowWindow(FHandle, v ? SW_SHOWNA : SW_HIDE);
  Perform(CM_VISIBLECHANGED, v);
  if (FAlign != alNone) RequestAlign();
}

void TWinControl::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  if (FHandle) EnableWindow(FHandle, v);
  Perform(CM_ENABLEDCHANGED);
}

std::wstring TWinControl::Text() const {
  if (!FHandle) return FText;
  int n = GetWindowTextLengthW(FHandle);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(FHandle, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(n, 0)));
  return s;
}

void TWinControl::SetText(const std::wstring& s) {
  if (s == Text()) return;
  FText = s;
  if (FHandle) SetWindowTextW(FHandle, s.c_str());
  Perform(CM_TEXTCHANGED);
}

int TWinControl::ClientWidth() const {
  if (!FHandle) return FWidth;
  RECT r;
  GetClientRect(FHandle, &r);
  return r.right;
}

int TWinControl::ClientHeight() const {
  if (!FHandle) return FHeight;
  RECT r;
  GetClientRect(FHandle, &r);
  return r.bottom;
}

void TWinControl::SetClientWidth(int v) {
  SetWidth(v + (FHandle ? FWidth - ClientWidth() : 0));
}

void TWinControl::SetClientHeight(int v) {
  SetHeight(v + (FHandle ? FHeight - ClientHeight() : 0));
}

bool TWinControl::Showing() const {
  return FHandle && IsWindowVisible(FHandle);
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !(ControlStyle & csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift) {
  TCustomForm* f = GetParentForm();
  if (f && f != this && f->PreviewKeyDown(key, shift)) return true;
  if (key == 0) return true;
  if (OnKeyDown) OnKeyDown(this, key, shift);
  return key == 0;
}

bool TWinControl::DoKeyUp(WORD& key, TShiftState shift) {
  TCustomForm* f = GetParentForm();
  if (f && f != this && f->PreviewKeyUp(key, shift)) return true;
  if (key == 0) return true;
  if (OnKeyUp) OnKeyUp(this, key, shift);
  return key == 0;
}

bool TWinControl::DoKeyPress(wchar_t& key) {
  TCustomForm* f = GetParentForm();
  if (f && f != this && f->PreviewKeyPress(key)) return true;
  if (key == 0) return true;
  if (OnKeyPress) OnKeyPress(this, key);
  return key == 0;
}

// Sends WM_COMMAND / WM_NOTIFY / WM_DRAWITEM / WM_CTLCOLOR* / scroll messages of a framework
// child back to that child as CN_BASE + msg.
bool TWinControl::ReflectNotification(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
      child = reinterpret_cast<HWND>(m.LParam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (d->CtlType != ODT_MENU) child = d->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* d = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (d->CtlType != ODT_MENU && FHandle) child = GetDlgItem(FHandle, static_cast<int>(d->CtlID));
      break;
    }
    case WM_DELETEITEM: {
      auto* d = reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam);
      if (d->CtlType != ODT_MENU) child = d->hwndItem;
      break;
    }
    case WM_COMPAREITEM:
      child = reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem;
      break;
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
      child = reinterpret_cast<HWND>(m.LParam);
      break;
    default:
      return false;
  }
  if (!child || child == FHandle) return false;
  TWinControl* c = FindControl(child);
  if (!c) return false;
  m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

void TWinControl::SetMouseControl(TControl* c) {
  if (c == FMouseControl) return;
  TControl* old = FMouseControl;
  FMouseControl = c;
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (c) c->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(c));
}

// Mouse messages over a graphic child (or while one holds the capture) go to that child in
// its own coordinates.
bool TWinControl::ForwardMouseToGraphic(TMessage& m) {
  if (m.Msg != WM_MOUSEMOVE && !IsMouseButtonMsg(m.Msg)) return false;
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = FCaptureControl;
  if (!target) {
    TControl* c = ControlAtPos(p);
    if (c && !dynamic_cast<TWinControl*>(c)) target = c;
  }
  if (m.Msg == WM_MOUSEMOVE) {
    TControl* hot = target;
    if (hot) {
      RECT r = hot->BoundsRect();
      if (!PtInRect(&r, p)) hot = nullptr;
    }
    SetMouseControl(hot);
  }
  if (!target) return false;
  LPARAM local = MAKELPARAM(p.x - target->FLeft, p.y - target->FTop);
  if (IsButtonDown(m.Msg)) {
    FCaptureControl = target;
    if (target->ControlStyle & csCaptureMouse) SetCapture(FHandle);
  } else if (IsButtonUp(m.Msg)) {
    FCaptureControl = nullptr;
    if (GetCapture() == FHandle) ReleaseCapture();
  }
  m.Result = target->Perform(m.Msg, m.WParam, local);
  return true;
}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : std::vector<TControl*>(FControls)) {
    if (dynamic_cast<TWinControl*>(c) || !c->FVisible) continue;
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, c->FLeft, c->FTop, nullptr);
    IntersectClipRect(dc, 0, 0, c->FWidth, c->FHeight);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::WndProc(TMessage& m) {
  if (ReflectNotification(m)) return;
  if (ForwardMouseToGraphic(m)) {
    if (m.Msg == WM_MOUSEMOVE && !FTrackingMouse && FHandle) {
      TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, FHandle, 0};
      FTrackingMouse = TrackMouseEvent(&t);
    }
    return;
  }
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (!FTrackingMouse && FHandle) {
        TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, FHandle, 0};
        FTrackingMouse = TrackMouseEvent(&t);
        if (!FMouseInControl) Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
      }
      break;
    case WM_MOUSELEAVE:
      FTrackingMouse = false;
      SetMouseControl(nullptr);
      if (FMouseInControl) Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
      break;
    case WM_LBUTTONDOWN:
      if (FFrameworkClass && (ControlStyle & csCaptureMouse)) SetCapture(FHandle);
      break;
    case WM_LBUTTONUP:
      if (FFrameworkClass && GetCapture() == FHandle) ReleaseCapture();
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = static_cast<WORD>(m.WParam);
      if (DoKeyDown(key, KeyboardShiftState())) {
        m.Result = 0;
        return;
      }
      m.WParam = key;
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = static_cast<WORD>(m.WParam);
      if (DoKeyUp(key, KeyboardShiftState())) {
        m.Result = 0;
        return;
      }
      m.WParam = key;
      break;
    }
    case WM_CHAR: {
      wchar_t key = static_cast<wchar_t>(m.WParam);
      if (DoKeyPress(key)) {
        m.Result = 0;
        return;
      }
      m.WParam = key;
      break;
    }
    case WM_SETFOCUS:
      if (TCustomForm* f = GetParentForm(); f && f != this) f->SetActiveControl(this);
      if (OnEnter) OnEnter(this);
      break;
    case WM_KILLFOCUS:
      if (OnExit) OnExit(this);
      break;
    case WM_WINDOWPOSCHANGED:
      TControl::WndProc(m);
      ApplyBoundsFromWindow();
      return;
    case WM_SIZE:
      TControl::WndProc(m);
      Realign();
      return;
    case WM_ERASEBKGND:
      if (FFrameworkClass) {
        RECT r;
        GetClientRect(FHandle, &r);
        HBRUSH b = CreateSolidBrush(ColorToRGB(FColor));
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, b);
        DeleteObject(b);
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (FFrameworkClass) {
        if (m.WParam) {
          PaintWindow(reinterpret_cast<HDC>(m.WParam));
          PaintControls(reinterpret_cast<HDC>(m.WParam));
        } else {
          PAINTSTRUCT ps;
          HDC dc = BeginPaint(FHandle, &ps);
          PaintWindow(dc);
          PaintControls(dc);
          EndPaint(FHandle, &ps);
        }
        m.Result = 0;
        return;
      }
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
      // Dialog keys the control does not want itself go to the form (Tab, arrows, Enter, Esc).
      WORD key = static_cast<WORD>(m.WParam);
      UINT want = 0;
      switch (key) {
        case VK_TAB: want = DLGC_WANTTAB; break;
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: want = DLGC_WANTARROWS; break;
        case VK_RETURN: case VK_ESCAPE: case VK_EXECUTE: case VK_CANCEL: want = DLGC_WANTALLKEYS; break;
        default: m.Result = 0; return;
      }
      if (FHandle) {
        MSG msg{FHandle, m.Msg - CN_BASE, m.WParam, m.LParam, 0, {}};
        LRESULT code = SendMessageW(FHandle, WM_GETDLGCODE, m.WParam, reinterpret_cast<LPARAM>(&msg));
        if (code & (want | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) {
          m.Result = 0;
          return;
        }
      }
      TCustomForm* f = GetParentForm();
      m.Result = f ? f->Perform(CM_DIALOGKEY, m.WParam, m.LParam) : 0;
      return;
    }
    case CN_SYSCHAR: {
      TCustomForm* f = GetParentForm();
      m.Result = f ? f->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) : 0;
      return;
    }
    case CN_KEYUP:
    case CN_CHAR:
      m.Result = 0;
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      for (TControl* c : std::vector<TControl*>(FControls)) {
        if (!c->FVisible || !c->FEnabled) continue;
        if (c->Perform(m.Msg, m.WParam, m.LParam)) {
          m.Result = 1;
          return;
        }
      }
      if (m.Msg == CM_DIALOGCHAR && IsAccel(static_cast<wchar_t>(m.WParam)) && FParent && CanFocus()) {
        SetFocus();
        Click();
        m.Result = 1;
        return;
      }
      m.Result = 0;
      return;
    case CM_COLORCHANGED:
      for (TControl* c : std::vector<TControl*>(FControls)) c->Perform(CM_PARENTCOLORCHANGED);
      Invalidate();
      break;
    case CM_FONTCHANGED:
      if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
      for (TControl* c : std::vector<TControl*>(FControls)) c->Perform(CM_PARENTFONTCHANGED);
      break;
    case CM_RECREATEWND:
      DoRecreateWnd();
      m.Result = 0;
      return;
    default:
      break;
  }
  TControl::WndProc(m);
}

// Unhandled messages: the window's own procedure; unhandled reflected notifications get the
// parent's default processing of the original message. The private messages sharing the range
// are answered 0 and go nowhere: their lParam is a signature, not the original message's
// argument (and CN_BASE + WM_KEYF1 would make the parent's default procedure send WM_HELP).
void TWinControl::DefaultHandler(TMessage& m) {
  if (m.Msg >= CN_PRIVATE_FIRST && m.Msg <= CN_PRIVATE_LAST) {
    m.Result = 0;
    return;
  }
  if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400 - 0x200 && FHandle) {
    HWND parent = GetParent(FHandle);
    m.Result = parent ? DefWindowProcW(parent, m.Msg - CN_BASE, m.WParam, m.LParam) : 0;
    return;
  }
  if ((m.Msg >= CM_BASE && m.Msg < CN_BASE) || !FHandle || !FDefWndProc) {
    TControl::DefaultHandler(m);
    return;
  }
  m.Result = CallWindowProcW(FDefWndProc, FHandle, m.Msg, m.WParam, m.LParam);
}

// ---------------------------------------------------------------------------
// TCustomControl
// ---------------------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClassInfo() {
  static const TClassInfo info{"TCustomControl", &TWinControl::StaticClassInfo(), {}, {}, {}};
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) { ControlStyle |= csAcceptsControls; }

void TCustomControl::PaintWindow(HDC dc) {
  FPaintDC = dc;
  FCanvas.SetHandle(dc);
  FCanvas.Font().Assign(*Font());
  struct TEnd {
    TCustomControl* C;
    ~TEnd() { C->FCanvas.SetHandle(nullptr); C->FPaintDC = nullptr; }
  } end{this};
  Paint();
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* p = dynamic_cast<TWinControl*>(parent)) SetParent(p);
}

}  // namespace fw
