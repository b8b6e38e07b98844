// Combo box frames and drop-down buttons from the skin.
#include "skin/controls/SkinCombos.h"

#include <algorithm>

#include "GdiHandles.h"
#include "skin/controls/SkinScrollbars.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"

namespace skin {

namespace {
bool Usable(TDataSkinObject* e) { return e && !e->Bitmap.Empty(); }
}  // namespace

FW_DEFINE_CLASS(TSkinComBox, TSkinControl)

TSkinComBox::TSkinComBox(fw::TComponent* owner) : TSkinControl(owner) {}

TSkinComBox::~TSkinComBox() { FChildHook.Remove(); }

void TSkinComBox::Setup() {
  FStyle = WindowLong(GWL_STYLE);
  FExStyle = WindowLong(GWL_EXSTYLE);
  if (!QueryComboBoxInfo(FHandle, FComboInfo)) FComboInfo = {};
  if ((FStyle & 3) == CBS_SIMPLE) {
    FListHandle = FComboInfo.hwndList;
  } else if (!FUnicode) {
    // The edit part of an ANSI drop-down combo paints without telling the combo.
    FChildHandle = GetTopWindow(FHandle);
    if (FChildHandle) FChildHook.Install(FChildHandle, &TSkinComBox::ChildEntry, this);
  }
}

void TSkinComBox::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  if (FInitialized) return;
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  if (!FHandle) return;
  Setup();
  // The list's bars are drawn by the skin as well: a drop-down list's inside its frame, a simple
  // combo's (a child list) by overlays.
  if (!FComboInfo.hwndList || !(skinData->SkinControls & SetOf(xcScrollbar))) return;
  if ((FStyle & 3) != CBS_SIMPLE) {
    FDropBar = new TComboxScrollBar(this);
    FDropBar->InitWindow(FComboInfo.hwndList, skinData, nullptr, form);
  } else if (!IsPopupWindow(FComboInfo.hwndList) && (GetWindowLongW(FComboInfo.hwndList, GWL_STYLE) & WS_CHILD)) {
    FListBar = new TSkinScrollbarH(this);
    FListBar->InitWindow(FComboInfo.hwndList, skinData, canvas, form);
  }
}

void TSkinComBox::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == fw::TOperation::opRemove && component == FDropBar) FDropBar = nullptr;
  if (operation == fw::TOperation::opRemove && component == FListBar) FListBar = nullptr;
}

void TSkinComBox::InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) {
  if (FInitialized) return;
  TSkinControl::InitWindow(window, skinData, canvas, form);
  if (FHandle) Setup();
}

void TSkinComBox::RestoreControl() {
  TSkinControl::RestoreControl();
  FChildHook.Remove();
  for (TSkinControl* bar : {static_cast<TSkinControl*>(FDropBar), static_cast<TSkinControl*>(FListBar)}) {
    if (!bar) continue;
    if (bar->FStatus != scWindowGone) bar->RestoreControl();
    if (bar->Release()) delete bar;  // its owner hears of it and forgets it
  }
  FDropBar = nullptr;
  FListBar = nullptr;
}

LRESULT CALLBACK TSkinComBox::ChildEntry(void* self, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* combo = static_cast<TSkinComBox*>(self);
  const std::shared_ptr<bool> alive = combo->FAlive;
  const LRESULT result = combo->FChildHook.CallOld(msg, wParam, lParam);
  if (!*alive || !combo->FActive) return result;
  switch (msg) {
    case WM_PAINT:
      combo->PaintControl(nullptr);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      combo->FState |= ssDown;
      combo->Repaint();
      break;
    case WM_LBUTTONUP:
      combo->FState &= ~ssDown;
      combo->Repaint();
      break;
    case WM_NCDESTROY:
      combo->FChildHook.Remove();
      break;
    default:
      break;
  }
  return result;
}

bool TSkinComBox::BeforeMessage(fw::TMessage& m) {
  if ((m.Msg == WM_ENABLE && !m.WParam) || m.Msg == WM_CANCELMODE) FState = 0;
  return TSkinControl::BeforeMessage(m);
}

void TSkinComBox::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      break;
    case WM_MOUSEMOVE: {
      const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      const bool enabled = IsWindowEnabled(FHandle);
      const bool over = PtInRect(&FButtonRect, p) != FALSE;
      if ((FState & ssHot) && !over && enabled) {
        FState &= ~ssHot;
        Repaint();
      } else if (!(FState & ssHot) && over && enabled) {
        FState |= ssHot;
        Repaint();
      }
      // A bare window has no framework to say the mouse left it.
      TrackMouseLeave(FHandle);
      break;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT:
      Repaint();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FState |= ssDown;
      Repaint();
      break;
    case WM_LBUTTONUP:
      FState &= ~ssDown;
      Repaint();
      break;
    case fw::CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
      if (FState & ssHot) {
        FState &= ~ssHot;
        Repaint();
      }
      break;
    case fw::CN_COMMAND:
      if (HIWORD(m.WParam) == CBN_DROPDOWN) FDropped = true;
      if (HIWORD(m.WParam) == CBN_CLOSEUP) FDropped = false;
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

int TSkinComBox::StateFrame() const {
  if (WindowLong(GWL_STYLE) & WS_DISABLED) return 3;
  if (FState & ssDown) return 2;
  if ((FState & ssHot) || GetFocus() == FHandle || (FChildHandle && GetFocus() == FChildHandle)) return 4;
  return 1;
}

void TSkinComBox::DrawControl(HDC dc, const RECT& rect) {
  TDataSkinBorder* button = FSkinData && !FSkinData->NoSkin() ? FSkinData->ComboButton() : nullptr;
  if (!dc || !Usable(button)) return;
  FStyle = WindowLong(GWL_STYLE);
  FExStyle = WindowLong(GWL_EXSTYLE);
  if (QueryComboBoxInfo(FHandle, FComboInfo)) {
    FButtonRect = FComboInfo.rcButton;
    if (FComboInfo.stateButton & STATE_SYSTEM_INVISIBLE) return;
  }
  const RECT r{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  const int state = StateFrame();
  if (button->Style == 1) {
    DrawFlat(dc, r, state);
    return;
  }
  const bool left = FExStyle & WS_EX_LEFTSCROLLBAR;
  if (button->Style == 2) {
    TDataSkinObject* face = left ? FSkinData->SunkEdge() : button;
    if (Usable(face))
      DrawSkinImage(dc, r, face->Bitmap, false, face->Tile != 0, true, face->FrameCount, state, face->Margins);
    return;
  }
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  RECT buttonRect{}, glyph{};
  const int saved = SaveDC(dc);
  if (left) {
    ExcludeClipRect(dc, a + 4, 2, r.right - 2, r.bottom - 2);
    buttonRect = {0, 0, a + 2, r.bottom};
    glyph = {2, 0, a + 2, r.bottom};
  } else {
    ExcludeClipRect(dc, 2, 2, r.right - a - 4, r.bottom - 2);
    buttonRect = {r.right - a - 2, 0, r.right, r.bottom};
    glyph = {r.right - a - 2, 0, r.right - 2, r.bottom};
  }
  skin::DrawSkinFrame(dc, r, std::max(FSkinData->SunkEdge() ? FSkinData->SunkEdge()->FrameCount : 1, 1), state,
                      FSkinData->SunkEdge());
  fw::TBitmap& strip = left && !button->Bitmap2.Empty() ? button->Bitmap2 : button->Bitmap;
  DrawKeyedFrame(dc, buttonRect, button->FrameCount, state, strip);
  FButtonRect = buttonRect;
  if (TDataSkinObject* extra = FSkinData->ExtraImages(); Usable(extra))
    DrawStripFrameCentred(dc, glyph, extra->Bitmap, true, extra->FrameCount, state);
  RestoreDC(dc, saved);
}

void TSkinComBox::DrawFlat(HDC dc, const RECT& r, int state) {
  TDataSkinBorder* button = FSkinData->ComboButton();
  HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  RECT inner = r;
  InflateRect(&inner, -1, -1);
  FrameRect(dc, &inner, brush);
  const int strip = GetSystemMetrics(SM_CYVTHUMB);
  const bool left = FExStyle & WS_EX_LEFTSCROLLBAR;
  RECT fill = r;
  InflateRect(&fill, -2, -2);
  if (left) fill.right = fill.left + strip;
  else fill.left = fill.right - strip;
  FillRect(dc, &fill, brush);
  const int frameW = button->Bitmap.Width() / std::max(button->FrameCount, 1);
  RECT glyph = fill;
  if (left) glyph.right = glyph.left + frameW;
  else glyph.left = glyph.right - frameW;
  if (button->Bitmap.Height() < strip) glyph.bottom = glyph.top + button->Bitmap.Height();
  fw::TBrushHandle shadow(CreateSolidBrush(fw::ColorToRGB(FSkinData->Colours().ButtonShadowColour)));
  FrameRect(dc, &r, shadow.Get());
  FButtonRect = glyph;
  DrawKeyedFrame(dc, glyph, button->FrameCount, state, button->Bitmap);
}

}  // namespace skin
