// The skin control base: attaching, the message entry, painting, giving the control back, and the
// drawing and property routines every control skin shares.
#include "skin/controls/WinSubClass.h"

#include <algorithm>

#include "GdiHandles.h"
#include "ImgList.h"
#include "TypInfo.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"

namespace skin {

namespace {

int g_liveSkinControls = 0;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
bool IsEmptyRect(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

}  // namespace

FW_DEFINE_CLASS(TSkinControl, fw::TComponent)

TSkinControl::TSkinControl(fw::TComponent* owner) : fw::TComponent(owner) { ++g_liveSkinControls; }

TSkinControl::~TSkinControl() {
  *FAlive = false;
  ReleaseWindowProc();  // nothing left to give back when the form released us first
  FHook.Remove();
  if (FForm) FForm->RemoveControl(this);
  --g_liveSkinControls;
}

int TSkinControl::LiveCount() { return g_liveSkinControls; }

fw::TColor TSkinControl::FaceColour() const {
  return FSkinData ? FSkinData->ButtonFaceColour() : static_cast<fw::TColor>(fw::clBtnFace);
}

void TSkinControl::RegisterWithForm() {
  if (FForm) FForm->RegisterControl(this);
}

void TSkinControl::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  if (FInitialized) return;
  auto* control = dynamic_cast<fw::TWinControl*>(Owner());
  if (!control) return;
  FRecolor = recolor;
  FSkinData = skinData;
  FForm = form;
  FCanvas = canvas;
  FControl = control;
  FHandle = control->Handle();
  FUnicode = IsWindowUnicode(FHandle) != FALSE;
  HookWindowProc(control);
  RegisterWithForm();
  if (FRecolor) {
    SetParentBackground(true);
    FOldColor = control->Color();
    FOldParentColor = control->ParentColor();
    control->SetColor(FaceColour());
  }
  if (FParentBackgroundChanged) FKind = 1;
  control->Invalidate();
  FInitialized = true;
  FStatus = scAttached;
}

void TSkinControl::InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) {
  if (FInitialized) return;
  FSkinData = skinData;
  FCanvas = canvas;
  FForm = form;
  FHandle = window;
  FEnabled = true;
  FKind = 0;
  RegisterWithForm();
  FUnicode = IsWindowUnicode(window) != FALSE;
  FCaption = GetWindowTextWide(window);
  if (!FHook.Install(window, &TSkinControl::Entry, this)) return;
  InvalidateRect(window, nullptr, TRUE);
  FInitialized = true;
  FStatus = scAttached;
}

LRESULT CALLBACK TSkinControl::Entry(void* self, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* skin = static_cast<TSkinControl*>(self);
  fw::TMessage m{msg, wParam, lParam, 0};
  try {
    skin->NewWndProc(m);
  } catch (...) {
    fw::HandleCallbackException(skin);
  }
  return m.Result;
}

void TSkinControl::NewWndProc(fw::TMessage& m) {
  if (m.Msg == WM_SKIN_ENABLE) {
    FActive = static_cast<int>(m.WParam) > 0;
    if (!FActive) FState = 0;
    Repaint();  // on or off, the control shows its new look at once
    return;
  }
  if (!FActive) {
    CallDefault(m);
    return;
  }
  // Handlers may free this object (a click that closes the form): nothing of it is touched once
  // it is gone.
  const std::shared_ptr<bool> alive = FAlive;
  if (BeforeMessage(m)) {
    CallDefault(m);
    if (*alive) AfterMessage(m);
  }
}

void TSkinControl::CallDefault(fw::TMessage& m) {
  if (FOldWindowProc) {
    FOldWindowProc(m);
  } else if (FHook.Installed() || FHook.Handle()) {
    m.Result = FHook.CallOld(m.Msg, m.WParam, m.LParam);
  } else if (FHandle) {
    m.Result = FUnicode ? DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam)
                        : DefWindowProcA(FHandle, m.Msg, m.WParam, m.LParam);
  }
}

bool TSkinControl::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY: {
      CallDefault(m);
      FActive = false;
      FStatus = scWindowGone;
      RestoreControl();
      // The control keeps running without us from here: its WindowProc is handed back at once,
      // and the bare window's stub is freed now that its last message has gone through.
      ReleaseWindowProc();
      FHook.Remove();
      FHandle = nullptr;
      return false;
    }
    case WM_SKIN_QUERY:
      m.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinControl::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case fw::CM_ENABLEDCHANGED:
      Repaint();
      break;
    case WM_PAINT:
      PaintControl(reinterpret_cast<HDC>(m.WParam));
      break;
    default:
      break;
  }
}

void TSkinControl::PaintControl(HDC dc) {
  if (!FHandle) return;
  RECT r{};
  if (!GetWindowRect(FHandle, &r)) return;
  FWindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  try {
    if (dc) {
      DrawControl(dc, r);
    } else {
      fw::TWindowDC window = fw::TWindowDC::Whole(FHandle);
      if (window) DrawControl(window, r);
    }
  } catch (...) {
    // A failed paint leaves what the window's own procedure drew.
  }
}

void TSkinControl::DrawControl(HDC, const RECT&) {}

void TSkinControl::PaintNow(fw::TMessage& m) {
  if (!FHandle) return;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps{};
  const bool own = dc == nullptr;
  if (own) dc = BeginPaint(FHandle, &ps);
  try {
    RECT r{};
    if (dc && GetWindowRect(FHandle, &r)) {
      FWindowRect = r;
      OffsetRect(&r, -r.left, -r.top);
      DrawControl(dc, r);
    }
  } catch (...) {
    // As PaintControl: the paint is given up, the paint cycle still ends.
  }
  if (own) EndPaint(FHandle, &ps);
  m.Result = 0;
}

void TSkinControl::Repaint() {
  if (FPaintControl) {
    FPaintControl->Invalidate();
  } else if (FHandle) {
    InvalidateRect(FHandle, nullptr, TRUE);
    UpdateWindow(FHandle);
  }
}

void TSkinControl::RestoreControl() {
  if (FRecolor && FControl) SetParentBackground(false);
}

void TSkinControl::SkinChanged() {
  if (FRecolor && FControl && !FControl->IsDestroying()) FControl->SetColor(FaceColour());
  Repaint();
}

void TSkinControl::SetParentBackground(bool attaching) {
  if (!FControl) return;
  if (attaching) {
    if (!FSkinData || !(FSkinData->Options & SetOf(xoParentBackGround))) {
      if (HasPropByName(FControl, "ParentBackground")) {
        std::string value = GetEnumPropByName(FControl, "ParentBackground");
        std::transform(value.begin(), value.end(), value.begin(), [](unsigned char c) { return std::tolower(c); });
        FParentBackgroundChanged = value == "true";
        if (FParentBackgroundChanged) SetPropByName(FControl, "ParentBackground", L"False");
      }
    }
    return;
  }
  // A control on its way out is not written to: it is gone in a moment anyway.
  if (FControl->IsDestroying()) return;
  if (FParentBackgroundChanged) {
    SetPropByName(FControl, "ParentBackground", L"True");
    FParentBackgroundChanged = false;
  }
  if (FRecolor) {
    FControl->SetColor(FOldColor);
    if (FOldParentColor) FControl->SetParentColor(true);
  }
}

void TSkinControl::HookWindowProc(fw::TControl* control) {
  FHookedControl = control;
  FOldWindowProc = control->WindowProc;
  control->WindowProc = fw::TWndMethod::Of<&TSkinControl::NewWndProc>(this);
}

bool TSkinControl::ReleaseWindowProc() {
  if (!FOldWindowProc) return true;
  fw::TControl* control = FHookedControl;
  // A control on its way out is left alone: nobody sends it anything through us any more.
  if (!control || control->IsDestroying()) {
    FOldWindowProc.Clear();
    return true;
  }
  if (control->WindowProc != fw::TWndMethod::Of<&TSkinControl::NewWndProc>(this)) return false;
  control->WindowProc = FOldWindowProc;
  FOldWindowProc.Clear();
  return true;
}

bool TSkinControl::Release() {
  FHook.Remove();  // a bare window's stub parks itself when someone subclassed on top
  if (ReleaseWindowProc()) return true;
  // Someone hooked into the control's WindowProc on top of us and calls us as their next: we
  // stay, as a pass-through to what we had replaced, until the control (our owner) frees us.
  FActive = false;
  FState = 0;
  if (FForm) FForm->RemoveControl(this);
  FForm = nullptr;
  return false;
}

void TSkinControl::EraseBackground(fw::TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (FControl) {
    DrawParentImage(FControl, dc);
  } else if (FHandle) {
    RECT r{};
    GetClientRect(FHandle, &r);
    FillColor(dc, r, GetParentColor(FaceColour()));
  }
  m.Result = 1;
}

fw::TColor TSkinControl::GetParentColor(fw::TColor fallback) const {
  fw::TWinControl* parent = FControl ? FControl->Parent() : nullptr;
  if (!parent) return fallback;
  const std::optional<int64_t> colour = fw::GetIntProp(parent, "Color");
  return colour ? static_cast<fw::TColor>(*colour) : fallback;
}

void TSkinControl::FillColor(HDC dc, const RECT& rect, fw::TColor colour) const {
  if (!dc || IsEmptyRect(rect)) return;
  fw::TBrushHandle brush(CreateSolidBrush(fw::ColorToRGB(colour)));
  FillRect(dc, &rect, brush.Get());
}

void TSkinControl::FillFace(HDC dc, const RECT& rect) const { FillColor(dc, rect, FaceColour()); }

void TSkinControl::FillParentColor(HDC dc, const RECT& rect) const {
  FillColor(dc, rect, GetParentColor(FaceColour()));
}

void TSkinControl::DrawFocusAround(HDC dc, UINT flags, const RECT& rect) const {
  if (!dc || IsEmptyRect(rect)) return;
  RECT r = rect;
  DrawTextWide(dc, FCaption, r, flags | DT_CALCRECT | DT_NOCLIP);
  const int w = Width(r), h = Height(r);
  if (flags & DT_CENTER)
    OffsetRect(&r, (Width(rect) - w) / 2, (Height(rect) - h) / 2 - 1);
  else if (flags & DT_RIGHT)
    OffsetRect(&r, Width(rect) - w, 0);
  InflateRect(&r, 2, 1);
  r.left = std::max(r.left, rect.left);
  r.top = std::max(r.top, rect.top);
  r.right = std::min(r.right, rect.right);
  r.bottom = std::min(r.bottom, rect.bottom);
  DrawFocusRect(dc, &r);
}

LONG TSkinControl::WindowLong(int index) const {
  return FUnicode ? GetWindowLongW(FHandle, index) : GetWindowLongA(FHandle, index);
}

void TSkinControl::PressThrough(fw::TMessage& m) {
  const std::shared_ptr<bool> alive = FAlive;
  CallDefault(m);
  if (!*alive) return;
  FState |= ssDown;
  PaintControl(nullptr);
}

void TSkinControl::ForwardMouseDown(const fw::TMessage& m) {
  if (!FControl) return;
  POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  // Beyond the 16 bits of the message the cursor tells where the press was.
  if (FControl->Width() > 0x8000 || FControl->Height() > 0x8000) {
    GetCursorPos(&p);
    p = FControl->ScreenToClient(p);
  }
  FControl->MouseDown(fw::mbLeft, fw::MouseShiftState(m.WParam), p.x, p.y);
}

UINT TSkinControl::TextFlags(UINT flags) const {
  HWND window = FHandle;
  if (!window && FPaintControl && FPaintControl->Parent()) window = FPaintControl->Parent()->HandleIfAllocated();
  if (window && (GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL))) flags |= DT_RTLREADING;
  return flags;
}

// ---------------------------------------------------------------------------
// Drawing routines
// ---------------------------------------------------------------------------

void DrawSkinFrame(HDC dc, const RECT& rect, int count, int index, TDataSkinObject* element) {
  if (!element || element->Bitmap.Empty() || IsEmptyRect(rect)) return;
  DrawSkinFrame(dc, rect, count, index, element->Bitmap, element->Margins, element->Tile != 0, element->Trans == 1);
}

void DrawCaptionText(fw::TControl* control, HDC dc, const RECT& rect, UINT alignment, bool enabled,
                     const std::wstring& text) {
  UINT extra = 0;
  if (auto* wc = dynamic_cast<fw::TWinControl*>(control); wc && wc->HandleAllocated() &&
      (GetWindowLongW(wc->HandleIfAllocated(), GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)))
    extra = DT_RTLREADING;
  DrawCaptionText(dc, rect, alignment, enabled, text, extra);
}

void DrawImageAndText(TSkinControl* skin, HDC dc, const RECT& rect, int alignment, const std::wstring& text,
                      int imageIndex, fw::TImageList* images) {
  DrawImageAndText(skin, dc, rect, alignment, text, imageIndex, images ? images->Handle() : nullptr);
}

void DrawImageAndText(TSkinControl* skin, HDC dc, const RECT& rect, int alignment, const std::wstring& text,
                      int imageIndex, HIMAGELIST images) {
  if (!dc || IsEmptyRect(rect)) return;
  const int W = Width(rect), H = Height(rect);
  int cx = 0, cy = 0;
  if (images && !ImageList_GetIconSize(images, &cx, &cy)) images = nullptr;
  RECT icon{0, 0, 0, 0};
  if (imageIndex != -1 && images && cx < W)
    icon = {0, 0, cx, cy};
  else
    cx = 0;
  RECT t = rect;
  int w = 0, h = 0;
  if (text.empty()) {
    t.right = t.left;
  } else {
    DrawTextWide(dc, text, t, DT_END_ELLIPSIS | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    w = Width(t);
    h = Height(t);
  }
  OffsetRect(&icon, rect.left, rect.top);
  int x = 3;
  if (alignment == 1)
    x = (W - cx - w) / 2;
  else if (alignment == 2)
    x = W - cx - w - 2;
  if (x < 2) x = 1;
  OffsetRect(&icon, x, (H - cy) / 2);
  OffsetRect(&t, x + cx, (H - h) / 2);
  if (cx > 0) ImageList_Draw(images, imageIndex, dc, icon.left, icon.top, ILD_TRANSPARENT);
  if (text.empty()) return;
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour =
      skin && !skin->FEnabled ? SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW)) : CLR_INVALID;
  t.left = std::max(t.left, rect.left);
  t.right = std::min(t.right, rect.right);
  UINT flags = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE;
  if (skin && skin->FHandle && (GetWindowLongW(skin->FHandle, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)))
    flags |= DT_RTLREADING;
  DrawTextWide(dc, text, t, flags);
  if (oldColour != CLR_INVALID) SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

// ---------------------------------------------------------------------------
// Properties by name
// ---------------------------------------------------------------------------

int GetIntPropByName(fw::TObject* object, const std::string& name) {
  const std::optional<int64_t> v = object ? fw::GetIntProp(object, name) : std::nullopt;
  return v ? static_cast<int>(*v) : -1;
}

std::string GetEnumPropByName(fw::TObject* object, const std::string& name) {
  return object ? fw::GetEnumProp(object, name) : std::string();
}

std::wstring GetTextPropByName(fw::TObject* object, const std::string& name) {
  const fw::TPropInfo* p = object ? fw::FindPublishedProp(object, name) : nullptr;
  if (!p || p->Kind != fw::TPropKind::String) return {};
  return fw::GetPropText(object, name);
}

fw::TObject* GetObjectPropByName(fw::TObject* object, const std::string& name, const fw::TClassInfo& cls) {
  fw::TObject* value = object ? fw::GetObjectProp(object, name) : nullptr;
  return value && value->InheritsFrom(cls) ? value : nullptr;
}

void SetPropByName(fw::TObject* object, const std::string& name, const std::wstring& text) {
  if (object) fw::SetPropText(object, name, text);
}

bool HasPropByName(fw::TObject* object, const std::string& name) {
  return object && fw::FindPublishedProp(object, name) != nullptr;
}

std::wstring GetWindowTextWide(HWND window) {
  if (IsNT()) {
    const int n = GetWindowTextLengthW(window);
    if (n <= 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
  }
  char buffer[1000] = {};
  SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  buffer[sizeof buffer - 1] = 0;
  return AnsiToWide(buffer);
}

bool IsPopupWindow(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & WS_POPUP) || GetParent(window) == GetDesktopWindow();
}

}  // namespace skin
