// Status bars, progress bars and track bars.
#include "skin/controls/SkinStatus.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ComCtrls.h"
#include "GdiHandles.h"
#include "skin/SkinMessages.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"

namespace skin {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool HasImage(const TDataSkinObject* e) { return e && !e->Bitmap.Empty(); }

// The work bitmaps: one for every status bar of the process, one for every progress bar (a
// progress bar may be laid out, and so painted, while its status bar paints).
fw::TBitmap& StatusWork() {
  static fw::TBitmap bitmap;
  return bitmap;
}
fw::TBitmap& ProgressWork() {
  static fw::TBitmap bitmap;
  return bitmap;
}

// A work bitmap of the given size in 24 bits.
HDC SizeWork(fw::TBitmap& work, int w, int h) {
  if (work.PixelFormat() != fw::TPixelFormat::pf24bit) work.SetPixelFormat(fw::TPixelFormat::pf24bit);
  if (work.Width() != w || work.Height() != h) work.SetSize(w, h);
  return work.Canvas().Handle();
}

bool RightToLeft(HWND window) {
  return window && (GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL));
}

// Keeps the visible child windows out of what is drawn into dc (a status bar carries a progress
// bar, which paints itself).
void ExcludeChildWindows(HWND window, HDC dc) {
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    RECT r{};
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
}

// Panel frames: 1 lowered, 2 raised, 3 flat. From the skin's StatusBarEdges when it has them,
// else a one-pixel 3-D frame (none for 3).
void DrawPanelFrame(TSkinData& data, HDC dc, const RECT& r, int code) {
  if (TDataSkinObject* edges = data.StatusBarEdges(); HasImage(edges)) {
    DrawSkinImage(dc, r, edges->Bitmap, false, edges->Tile != 0, false, 3, code, edges->Margins);
    return;
  }
  if (code == 3 || Width(r) <= 0 || Height(r) <= 0) return;
  COLORREF topLeft = GetSysColor(COLOR_BTNSHADOW), bottomRight = GetSysColor(COLOR_BTNHIGHLIGHT);
  if (code == 2) std::swap(topLeft, bottomRight);
  fw::TBrushHandle first(CreateSolidBrush(topLeft)), second(CreateSolidBrush(bottomRight));
  const RECT top{r.left, r.top, r.right, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom};
  const RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
  FillRect(dc, &top, first.Get());
  FillRect(dc, &left, first.Get());
  FillRect(dc, &bottom, second.Get());
  FillRect(dc, &right, second.Get());
}

UINT PanelAlignment(fw::TAlignment a, bool rightToLeft) {
  if (a == fw::taCenter) return DT_CENTER;
  const bool right = (a == fw::taRightJustify) != rightToLeft;
  return right ? DT_RIGHT : DT_LEFT;
}

int PanelFrameCode(fw::TStatusPanelBevel b) { return b == fw::pbRaised ? 2 : b == fw::pbNone ? 3 : 1; }

}  // namespace

// ---------------------------------------------------------------------------
// TSkinStatusBar
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinStatusBar, TSkinControl)

TSkinStatusBar::TSkinStatusBar(fw::TComponent* owner) : TSkinControl(owner) {}

bool TSkinStatusBar::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!dynamic_cast<fw::TCustomStatusBar*>(FControl)) return true;
      PaintNow(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinStatusBar::DrawControl(HDC dc, const RECT& rect) {
  auto* bar = dynamic_cast<fw::TCustomStatusBar*>(FControl);
  if (!dc || !bar || !FSkinData || !FHandle) return;
  const int W = Width(rect), H = Height(rect);
  if (W <= 0 || H <= 0) return;
  TSkinData& data = *FSkinData;
  fw::TBitmap& work = StatusWork();
  HDC b = SizeWork(work, W, H);
  const RECT all{0, 0, W, H};
  FillFace(b, all);
  fw::TSelectObject font(b, bar->Font()->Handle());
  fw::TColor textColour = bar->Font()->Color();
  if (TDataSkinObject* edges = data.StatusBarEdges();
      edges && edges->NormalColour2 != static_cast<fw::TColor>(-1) && edges->NormalColour2 != clNone)
    textColour = edges->NormalColour2;
  const COLORREF oldText = SetTextColor(b, fw::ColorToRGB(textColour));
  const bool rtl = RightToLeft(FHandle);

  fw::TStatusPanels& panels = *bar->Panels();
  if (bar->SimplePanel() || panels.Count() == 0) {
    DrawPanelFrame(data, b, all, 1);
    std::wstring text = GetTextPropByName(bar, "SimpleText");
    if (text.empty()) text = L" ";
    RECT t = all;
    InflateRect(&t, -2, 0);
    DrawCaptionText(bar, b, t, rtl ? DT_RIGHT : DT_LEFT, true, text);
  } else {
    for (int i = 0; i < panels.Count(); ++i) {
      RECT r{};
      if (!SendMessageW(FHandle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
      // The gap between two parts belongs to the left one; the last one reaches the bar's end.
      r.right = i == panels.Count() - 1 ? all.right : r.right + 2;
      fw::TStatusPanel* panel = panels[i];
      DrawPanelFrame(data, b, r, PanelFrameCode(panel->Bevel()));
      if (panel->Style() != fw::psText) continue;
      const std::wstring text = panel->Text().empty() ? L" " : panel->Text();
      RECT t = r;
      InflateRect(&t, -2, 0);
      DrawCaptionText(bar, b, t, PanelAlignment(panel->Alignment(), rtl), true, text);
    }
  }

  // The size grip, one pixel inside the bar's bottom-right corner.
  if (TDataSkinObject* extra = data.ExtraImages();
      (WindowLong(GWL_STYLE) & SBARS_SIZEGRIP) && HasImage(extra) && extra->FrameCount >= 5) {
    const int gw = extra->Bitmap.Width() / extra->FrameCount, gh = extra->Bitmap.Height();
    const RECT grip{W - 1 - gw, H - 1 - gh, W - 1, H - 1};
    DrawKeyedFrame(b, grip, extra->FrameCount, 5, extra->Bitmap);
  }
  SetTextColor(b, oldText);

  fw::TSaveDC saved(dc);
  ExcludeChildWindows(FHandle, dc);
  BitBlt(dc, rect.left, rect.top, W, H, b, 0, 0, SRCCOPY);
  bar->PaintControls(dc);
  // Owner-drawn panels by the bar's own panel drawing, over the skin's frame.
  const std::shared_ptr<bool> alive = FAlive;
  if (!bar->SimplePanel())
    for (int i = 0; i < panels.Count(); ++i) {
      if (panels[i]->Style() != fw::psOwnerDraw) continue;
      RECT r{};
      if (!SendMessageW(FHandle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
      InflateRect(&r, -2, -2);
      bar->PaintPanel(dc, i, r, FaceColour());
      if (!*alive || !FHandle) return;  // the drawing took the bar away
    }
}

// ---------------------------------------------------------------------------
// TSkinProgress
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinProgress, TSkinControl)

TSkinProgress::TSkinProgress(fw::TComponent* owner) : TSkinControl(owner) {}

bool TSkinProgress::CanDraw() const {
  if (!FSkinData) return false;
  TDataSkinBorder* bar = FSkinData->Progress();
  if (!HasImage(bar)) return false;
  return bar->Style != 1 || HasImage(FSkinData->ProgressChunk());
}

bool TSkinProgress::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!CanDraw()) return true;  // the bar paints itself
      PaintNow(m);
      m.Result = 0;
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinProgress::DrawControl(HDC dc, const RECT& rect) {
  if (!dc || !FHandle || !CanDraw()) return;
  TDataSkinBorder& bar = *FSkinData->Progress();
  // A vertical bar is drawn lying, its start at the left, and turned so that it fills upwards.
  const bool vertical = (WindowLong(GWL_STYLE) & PBS_VERTICAL) != 0;
  const int W = Width(rect), H = Height(rect);
  if (W <= 0 || H <= 0) return;
  const int w = vertical ? H : W, h = vertical ? W : H;
  fw::TBitmap& work = ProgressWork();
  HDC b = SizeWork(work, w, h);
  const RECT all{0, 0, w, h};
  FillFace(b, all);

  const int pos = static_cast<int>(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
  const int max = static_cast<int>(SendMessageW(FHandle, PBM_GETRANGE, FALSE, 0));
  const int done = pos > 0 && max > 0 ? std::min(MulDiv(w, pos, max), w) : 0;
  const bool tile = bar.Tile != 0;
  if (bar.Style != 1) {
    DrawSkinImage(b, all, bar.Bitmap, false, tile, true, 2, 1, bar.Margins);
    if (done > 0) DrawSkinImage(b, {0, 0, done, h}, bar.Bitmap, false, tile, true, 2, 2, bar.Margins);
  } else {
    DrawSkinImage(b, all, bar.Bitmap, false, false, true, 1, 1, bar.Margins);
    TDataSkinObject& chunk = *FSkinData->ProgressChunk();
    if (done > 0) {
      const RECT cell = FrameRect(chunk.Bitmap, 1, 1, false);
      const int cw = Width(cell), ch = Height(cell);
      if (chunk.Tile == 1 && cw > 0) {
        // Whole chunks side by side from just after the bar's left edge, kept off its right edge
        // by the same gap.
        const int x = chunk.Margins.Left + 2;
        const int right = std::min(x + done, w - x);
        if (right > x) {
          fw::TBitmap strip(right - x, ch);
          DrawTiled(strip.Canvas().Handle(), {0, 0, right - x, ch}, chunk.Bitmap, cell);
          const int y = (h - ch) / 2;
          if (chunk.Trans == 1)
            TransparentBlit(b, {x, y, right, y + ch}, strip);
          else
            BitBlt(b, x, y, right - x, ch, strip.Canvas().Handle(), 0, 0, SRCCOPY);
        }
      } else {
        // One chunk over the part done, inside a two-pixel edge all round.
        const int right = std::min(2 + done, w - 2);
        if (right > 2 && h > 4)
          DrawSkinImage(b, {2, 2, right, h - 2}, chunk.Bitmap, false, chunk.Tile != 0, true, 1, 1, chunk.Margins);
      }
    }
  }
  if (vertical) {
    RotateLeft(work);
    b = work.Canvas().Handle();
  }
  BitBlt(dc, rect.left, rect.top, W, H, b, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinTrackBar
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinTrackBar, TSkinControl)

TSkinTrackBar::TSkinTrackBar(fw::TComponent* owner) : TSkinControl(owner) {}

bool TSkinTrackBar::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_NOTIFY:
    case fw::CN_NOTIFY: {
      // The reflected number is also the skin's own "just skinned" message, whose lParam is the
      // signature and no notification.
      if (m.LParam == 0 || (m.Msg == fw::CN_NOTIFY && m.LParam == kSkinSignature)) return true;
      const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
      if (header->code != static_cast<UINT>(NM_CUSTOMDRAW) || header->hwndFrom != FHandle) return true;
      m.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(m.LParam));
      return false;
    }
    case fw::CN_CTLCOLORSTATIC:
      // The control erases its background with what its parent gives: the skin's face.
      if (!FSkinData || !FSkinData->FaceBrush()) return true;
      SetBkColor(reinterpret_cast<HDC>(m.WParam), fw::ColorToRGB(FaceColour()));
      m.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& cd) {
  if (!FSkinData) return CDRF_DODEFAULT;
  switch (cd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      if (cd.dwItemSpec == TBCD_THUMB) {
        DrawThumb(cd.hdc);
        return CDRF_SKIPDEFAULT;
      }
      if (cd.dwItemSpec == TBCD_CHANNEL) return DrawChannel(cd.hdc) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
      return CDRF_DODEFAULT;  // the tics
    default:
      // The erase stages too: the control erases its background itself.
      return CDRF_DODEFAULT;
  }
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  RECT r{};
  SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  if (Width(r) <= 0 || Height(r) <= 0) return;
  const bool vertical = (WindowLong(GWL_STYLE) & TBS_VERT) != 0;
  TDataSkinObject* image = nullptr;
  if (vertical && HasImage(FSkinData->TrackbarThumbVert()))
    image = FSkinData->TrackbarThumbVert();
  else if (HasImage(FSkinData->TrackbarThumbHorz()))
    image = FSkinData->TrackbarThumbHorz();
  if (image) {
    // The same frame whether the thumb is idle, hot or pressed.
    DrawKeyedFrame(dc, r, 5, 2, image->Bitmap);
    return;
  }
  fw::TPenHandle pen(CreatePen(PS_SOLID, 1, fw::ColorToRGB(FSkinData->Colours().ButtonShadowColour)));
  fw::TBrushHandle face(CreateSolidBrush(fw::ColorToRGB(FaceColour())));
  fw::TSelectObject p(dc, pen.Get()), f(dc, face.Get());
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

bool TSkinTrackBar::DrawChannel(HDC dc) {
  RECT r{};
  SendMessageW(FHandle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
  const bool vertical = (WindowLong(GWL_STYLE) & TBS_VERT) != 0;
  TDataSkinObject* vert = FSkinData->TrackVert();
  TDataSkinObject* horz = FSkinData->Track();
  if (vertical && HasImage(vert)) {
    // Some systems report the channel of a vertical bar lying; it is always taller than wide.
    if (Width(r) > Height(r)) r = {r.top, r.left, r.bottom, r.right};
    const int frames = std::max(1, vert->FrameCount);
    const int w = vert->Bitmap.Width() / frames;
    const int x = Width(r) > w ? r.left + (Width(r) - w) / 2 : r.left;
    DrawSkinImage(dc, {x, r.top, x + w, r.bottom}, vert->Bitmap, false, false, vert->Trans == 1, frames, 1,
                  {0, vert->Margins.Top, 0, vert->Margins.Bottom});
    return true;
  }
  if (!HasImage(horz)) return false;
  const int h = horz->Bitmap.Height();
  const int y = h < Height(r) ? r.top + (Height(r) - h) / 2 : r.top;
  DrawSkinImage(dc, {r.left, y, r.right, y + h}, horz->Bitmap, false, false, horz->Trans == 1,
                std::max(1, horz->FrameCount), 1, {horz->Margins.Left, 0, horz->Margins.Right, 0});
  return true;
}

void TSkinTrackBar::SkinChanged() {
  if (FRecolor && FControl && !FControl->IsDestroying()) FControl->SetColor(FaceColour());
  if (FHandle) RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

}  // namespace skin
