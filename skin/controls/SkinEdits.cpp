// Edit borders and up-down buttons from the skin.
#include "skin/controls/SkinEdits.h"

#include <algorithm>
#include <cwctype>

#include "GdiHandles.h"
#include "skin/SkinMessages.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"

namespace skin {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// A one-pixel frame of rect in colour.
void FrameIn(HDC dc, const RECT& rect, COLORREF colour) {
  fw::TBrushHandle brush(CreateSolidBrush(colour));
  FrameRect(dc, &rect, brush.Get());
}

bool IsUpDownClass(HWND window) {
  std::wstring cls = ClassNameOf(window);
  std::transform(cls.begin(), cls.end(), cls.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return cls == L"msctls_updown32" || cls.find(L"spin") != std::wstring::npos ||
         cls.find(L"updown") != std::wstring::npos;
}

}  // namespace

// ---------------------------------------------------------------------------
// TSkinEdit
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinEdit, TSkinControl)

TSkinEdit::TSkinEdit(fw::TComponent* owner) : TSkinControl(owner) {}

bool TSkinEdit::BeforeMessage(fw::TMessage& m) {
  if (m.Msg == WM_SKIN_PRINT && m.LParam == kSkinSignature) {
    // The edit paints its content into the DC it is given, inside a saved state of that DC; the
    // request ends here and never reaches a parent.
    if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
      const int saved = SaveDC(dc);
      fw::TMessage paint{WM_PAINT, m.WParam, 0, 0};
      CallDefault(paint);
      RestoreDC(dc, saved);
    }
    m.Result = kSkinSignature;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinEdit::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case WM_NCPAINT:  // the system draws its edge again, on focus changes among others
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case fw::CM_ENABLEDCHANGED:
      // The edit has drawn its text already: only the border is drawn again, so nothing of the
      // text flickers.
      PaintBorder();
      break;
    case WM_PRINTCLIENT:
    case WM_PRINT: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      if (dc) {
        PrintBorder(dc);
      } else if (FHandle) {
        fw::TWindowDC window = fw::TWindowDC::Whole(FHandle);
        if (window) PrintBorder(window);
      }
      break;
    }
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinEdit::PaintBorder() {
  if (!FHandle || !IsWindowVisible(FHandle)) return;
  const bool caret = GetFocus() == FHandle && HideCaret(FHandle);
  PaintControl(nullptr);
  if (caret) ShowCaret(FHandle);
}

void TSkinEdit::FindUpDown() {
  if (FUpDown || !FSkinData || !(FSkinData->SkinControls & SetOf(xcSpin))) return;
  for (HWND c = GetTopWindow(FHandle); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsUpDownClass(c)) continue;
    FUpDown = new TSkinUpDown(FControl ? static_cast<fw::TComponent*>(FControl) : Owner());
    FUpDown->FEmbedded = true;
    FUpDown->InitWindow(c, FSkinData, FCanvas, FForm);
    break;
  }
}

void TSkinEdit::DrawControl(HDC dc, const RECT& rect) {
  if (!dc || !FSkinData) return;
  FindUpDown();
  RECT client{};
  GetClientRect(FHandle, &client);
  if (client.right >= Width(rect) || client.bottom >= Height(rect)) return;  // no border
  RECT r = rect;
  FrameIn(dc, r, fw::ColorToRGB(FSkinData->Colours().ButtonShadowColour));
  for (int i = 0; i < 2; ++i) {
    InflateRect(&r, -1, -1);
    FrameIn(dc, r, RGB(255, 255, 255));
  }
}

void TSkinEdit::PrintBorder(HDC dc) {
  if (!FSkinData || !FHandle) return;
  RECT w{}, client{};
  GetWindowRect(FHandle, &w);
  GetClientRect(FHandle, &client);
  OffsetRect(&w, -w.left, -w.top);
  if (client.right > w.right - 2 || client.bottom > w.bottom - 2) return;
  RECT inner = w;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  FrameIn(dc, w, fw::ColorToRGB(FSkinData->Colours().ButtonShadowColour));
}

// ---------------------------------------------------------------------------
// Date pickers
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TArrowButton, fw::TCustomControl)

TArrowButton::TArrowButton(fw::TComponent* owner) : fw::TCustomControl(owner) {
  FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
  SetTabStop(false);
}

void TArrowButton::AttachToPicker(TSkinDateTime* owner, fw::TWinControl* picker) {
  FOwnerSkin = owner;
  FPicker = picker;
  FPickerHandle = picker->Handle();
  const bool left = GetWindowLongW(FPickerHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
  SetParent(picker);
  SetBounds(left ? 2 : picker->Width() - FArrowSize - 4, 0, FArrowSize, FArrowSize + 1);
  const LONG style = GetWindowLongW(FPickerHandle, GWL_STYLE);
  if (!(style & WS_CLIPCHILDREN)) {
    SetWindowLongW(FPickerHandle, GWL_STYLE, style | WS_CLIPCHILDREN);
    owner->FAddedClipChildren = true;
  }
  HandleNeeded();
}

void TArrowButton::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_SKIN_QUERY:  // never dispatched as a control of its own
      m.Result = 1;
      return;
    case fw::CM_MOUSEENTER:
    case fw::CM_MOUSELEAVE:
      fw::TCustomControl::WndProc(m);
      if (FPicker && FPicker->Enabled()) {
        FHot = m.Msg == fw::CM_MOUSEENTER;
        Invalidate();
      }
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      fw::TCustomControl::WndProc(m);
      if (!FPickerHandle || !IsWindowEnabled(FPickerHandle)) return;
      // The picker has the focus before it sees the press: a focus coming back to it later
      // would close the calendar it opens.
      if (GetFocus() != FPickerHandle) ::SetFocus(FPickerHandle);
      const LPARAM at = MAKELPARAM(static_cast<short>(LOWORD(m.LParam)) + Left(), static_cast<short>(HIWORD(m.LParam)) + Top());
      PostMessageW(FPickerHandle, WM_LBUTTONDOWN, m.WParam, at);
      PostMessageW(FPickerHandle, WM_LBUTTONUP, m.WParam & ~MK_LBUTTON, at);
      Invalidate();
      return;
    }
    default:
      fw::TCustomControl::WndProc(m);
      return;
  }
}

void TArrowButton::Paint() {
  HDC dc = Canvas().Handle();
  const RECT r{0, 0, ClientWidth(), ClientHeight()};
  TSkinData* data = FOwnerSkin ? FOwnerSkin->FSkinData : nullptr;
  fw::TBrushHandle face(CreateSolidBrush(fw::ColorToRGB(data ? data->ButtonFaceColour() : fw::TColor(fw::clBtnFace))));
  FillRect(dc, &r, face.Get());
  TDataSkinObject* arrow = data && !data->NoSkin() ? data->ComboxArrow() : nullptr;
  if (!arrow || arrow->Bitmap.Empty()) return;
  DrawStripFrame(dc, r, arrow->Bitmap, false, std::max(arrow->FrameCount, 1), FHot ? 4 : 1);
}

FW_DEFINE_CLASS(TSkinDateTime, TSkinControl)

TSkinDateTime::TSkinDateTime(fw::TComponent* owner) : TSkinControl(owner) {}

TSkinDateTime::~TSkinDateTime() {
  delete FArrow;  // its window goes with it
  FArrow = nullptr;
}

void TSkinDateTime::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  if (FInitialized) return;
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  if (!FControl) return;
  FArrow = new TArrowButton(this);
  FArrow->AttachToPicker(this, FControl);
}

void TSkinDateTime::RestoreControl() {
  TSkinControl::RestoreControl();
  delete FArrow;
  FArrow = nullptr;
  // The picker's style as it was, unless it is on its way out.
  if (FAddedClipChildren && FHandle && IsWindow(FHandle) && FControl && !FControl->IsDestroying())
    SetWindowLongW(FHandle, GWL_STYLE, GetWindowLongW(FHandle, GWL_STYLE) & ~WS_CLIPCHILDREN);
  FAddedClipChildren = false;
}

void TSkinDateTime::DrawControl(HDC dc, const RECT& rect) {
  if (!dc || !FSkinData) return;
  RECT client{};
  GetClientRect(FHandle, &client);
  if (client.right >= Width(rect) || client.bottom >= Height(rect)) return;
  RECT r = rect;
  FrameIn(dc, r, fw::ColorToRGB(FSkinData->Colours().ButtonShadowColour));
  InflateRect(&r, -1, -1);
  FrameIn(dc, r, RGB(255, 255, 255));
}

// ---------------------------------------------------------------------------
// TSkinUpDown
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinUpDown, TSkinControl)

TSkinUpDown::TSkinUpDown(fw::TComponent* owner) : TSkinControl(owner) {}

bool TSkinUpDown::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintNow(m);
      return false;
    case WM_ERASEBKGND:
      if (!FControl) {
        RECT r{};
        GetClientRect(FHandle, &r);
        FillColor(reinterpret_cast<HDC>(m.WParam), r, 0xFFFFFF);
      }
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The up-down runs its own repeat loop inside the press.
      PressThrough(m);
      return false;
    }
    case WM_LBUTTONUP: {
      FState &= ~ssDown;
      const std::shared_ptr<bool> alive = FAlive;
      CallDefault(m);
      if (*alive) PaintControl(nullptr);
      return false;
    }
    case WM_ENABLE:
      if (!m.WParam) FState = 0;
      return TSkinControl::BeforeMessage(m);
    case WM_CANCELMODE:
      FState = 0;
      return TSkinControl::BeforeMessage(m);
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinUpDown::DrawControl(HDC dc, const RECT& rect) {
  if (!dc || !FSkinData || FSkinData->NoSkin()) return;
  RECT r = rect;
  if (FEmbedded) {
    RECT client{};
    GetClientRect(FHandle, &client);
    FillColor(dc, client, 0xFFFFFF);
    // At least 3 pixels from the edit's top, right and bottom edges.
    HWND parent = GetParent(FHandle);
    RECT self{}, outer{};
    GetWindowRect(FHandle, &self);
    GetWindowRect(parent, &outer);
    r.top = std::max<LONG>(r.top, outer.top + 3 - self.top);
    r.right = std::min<LONG>(r.right, outer.right - 3 - self.left);
    r.bottom = std::min<LONG>(r.bottom, outer.bottom - 3 - self.top);
  }
  const int w = Width(r), h = Height(r);
  if (w <= 0 || h <= 0) return;
  if (FBuffer.Width() != w || FBuffer.Height() != h) FBuffer.SetSize(w, h);
  HDC buffer = FBuffer.Canvas().Handle();
  const RECT all{0, 0, w, h};
  FillFace(buffer, all);
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(FHandle, &cursor);
  cursor.x -= r.left;
  cursor.y -= r.top;
  const bool enabled = !(WindowLong(GWL_STYLE) & WS_DISABLED);
  const bool horizontal = FHorizontal || (WindowLong(GWL_STYLE) & UDS_HORZ);
  RECT halves[2] = {all, all};
  if (horizontal) {
    halves[0].right = w / 2;
    halves[1].left = w / 2;
  } else {
    halves[0].bottom = h / 2;
    halves[1].top = h / 2;
  }
  TDataSkinBorder* e = horizontal ? FSkinData->UpDownHorz() : FSkinData->UpDownVert();
  if (e && e->Bitmap.Empty()) e = nullptr;
  const fw::TColor dark = FSkinData->Colours().ButtonDkShadowColour;
  const fw::TColor shadow = FSkinData->Colours().ButtonShadowColour;
  for (int k = 0; k < 2; ++k) {
    const RECT& half = halves[k];
    int state = PtInRect(&half, cursor) && (FState & ssDown) ? 2 : 1;
    if (!enabled) state = 3;
    const int frame = state + 4 * k;
    if (e) {
      DrawKeyedFrame(buffer, half, e->FrameCount, frame, e->Bitmap);
      if (!e->Bitmap2.Empty()) DrawStripFrameCentred(buffer, half, e->Bitmap2, true, e->FrameCount, frame);
      continue;
    }
    // Without the element: a plain box with a small arrow.
    {
      fw::TPenHandle pen(CreatePen(PS_SOLID, 1, fw::ColorToRGB(dark)));
      fw::TBrushHandle brush(CreateSolidBrush(fw::ColorToRGB(state == 2 || state == 4 ? shadow : FaceColour())));
      fw::TSelectObject p(buffer, pen.Get()), b(buffer, brush.Get());
      Rectangle(buffer, half.left, half.top, half.right, half.bottom);
    }
    fw::TPenHandle arrowPen(CreatePen(PS_SOLID, 1, fw::ColorToRGB(enabled ? 0xFF000012 : shadow)));
    fw::TSelectObject p(buffer, arrowPen.Get());
    const int cx = (half.left + half.right) / 2, cy = (half.top + half.bottom) / 2;
    for (int i = 0; i < 3; ++i) {
      if (horizontal) {
        const int x = k == 0 ? cx - 1 + i : cx + 1 - i;  // left arrow, then right arrow
        MoveToEx(buffer, x, cy - i, nullptr);
        LineTo(buffer, x, cy + i + 1);
      } else {
        // Rows from two pixels above the centre: widening for the up arrow, narrowing for down.
        const int y = cy - 2 + i, reach = k == 0 ? i : 2 - i;
        MoveToEx(buffer, cx - reach, y, nullptr);
        LineTo(buffer, cx + reach + 1, y);
      }
    }
  }
  BitBlt(dc, r.left, r.top, w, h, buffer, 0, 0, SRCCOPY);
}

}  // namespace skin
