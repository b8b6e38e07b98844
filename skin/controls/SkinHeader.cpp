#include "skin/controls/SkinHeader.h"

#include <commctrl.h>

#include <algorithm>

#include "GdiHandles.h"
#include "skin/data/WinSkinData.h"

namespace skin {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

// ---------------------------------------------------------------------------
// TSkinHeader
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinHeader, TSkinControl)

TSkinHeader::TSkinHeader(fw::TComponent* owner) : TSkinControl(owner) {}

void TSkinHeader::InitControl(TWinSkinForm* form, TSkinData* skinData, fw::TCanvas* canvas, bool recolor) {
  TSkinControl::InitControl(form, skinData, canvas, recolor);
  FHotItem = -1;
}

void TSkinHeader::InitWindow(HWND window, TSkinData* skinData, fw::TCanvas* canvas, TWinSkinForm* form) {
  TSkinControl::InitWindow(window, skinData, canvas, form);
  FHotItem = -1;
}

bool TSkinHeader::BeforeMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintNow(m);
      return false;
    case WM_ERASEBKGND:
      if (!FSkinData || !FSkinData->Headerbar() || FSkinData->Headerbar()->Bitmap.Empty()) break;
      m.Result = 1;
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinHeader::TrackLeave() {
  TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, FHandle, 0};
  TrackMouseEvent(&t);
}

void TSkinHeader::AfterMessage(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      for (std::size_t i = 0; i < FItemRects.size(); ++i) {
        if (!PtInRect(&FItemRects[i], p) || static_cast<int>(i) == FHotItem) continue;
        FHotItem = static_cast<int>(i);
        Repaint();
        break;
      }
      TrackLeave();
      break;
    }
    case WM_MOUSELEAVE:
      FHotItem = -1;
      Repaint();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinHeader::DrawControl(HDC dc, const RECT& rect) {
  TDataSkinObject* bar = FSkinData ? FSkinData->Headerbar() : nullptr;
  if (!dc || !bar || bar->Bitmap.Empty() || !FHandle) return;
  const int w = Width(rect), h = Height(rect);
  if (w <= 0 || h <= 0) return;
  const int frames = std::max(1, bar->FrameCount);
  fw::TBitmap work(w, h);
  HDC wdc = work.Canvas().Handle();
  fw::TSelectObject font(wdc, reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)));
  SetBkMode(wdc, TRANSPARENT);
  SetTextColor(wdc, fw::ColorToRGB(bar->NormalColour2 != static_cast<TColor>(-1) ? bar->NormalColour2 : fw::clBtnText));
  FEnabled = IsWindowEnabled(FHandle) != FALSE;
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, HDM_GETIMAGELIST, 0, 0));
  const int count = static_cast<int>(SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0));
  FItemRects.assign(static_cast<std::size_t>(std::max(0, count)), RECT{0, 0, 0, 0});
  int end = 0;  // right edge of the last item drawn
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(FHandle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    wchar_t text[201] = {};
    HDITEMW info{};
    info.mask = HDI_TEXT | HDI_IMAGE | HDI_FORMAT;
    info.pszText = text;
    info.cchTextMax = 201;
    if (!SendMessageW(FHandle, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info))) info = {};
    DrawSkinFrame(wdc, item, frames, i == FHotItem ? 2 : 1, bar);
    // An item shows its image only when its format asks for one.
    const bool withImage = (info.fmt & (HDF_IMAGE | HDF_BITMAP_ON_RIGHT)) != 0;
    const std::wstring caption = (info.mask & HDI_TEXT) ? std::wstring(text) : std::wstring();
    if (!caption.empty() || withImage) {
      const int justify = info.fmt & HDF_JUSTIFYMASK;
      const int alignment = justify == HDF_RIGHT ? 2 : justify == HDF_CENTER ? 1 : 0;
      DrawImageAndText(this, wdc, item, alignment, caption, withImage ? info.iImage : -1, images);
    }
    FItemRects[static_cast<std::size_t>(i)] = {item.left + 3, item.top, item.right - 3, item.bottom};
    end = std::max(end, static_cast<int>(item.right));
  }
  // The rest of the bar right of the last item.
  if (end < w) DrawSkinFrame(wdc, RECT{end, 0, w, h}, frames, 1, bar);
  BitBlt(dc, rect.left, rect.top, w, h, wdc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// TSkinListView
// ---------------------------------------------------------------------------

FW_DEFINE_CLASS(TSkinListView, TSkinScrollbar)

TSkinListView::TSkinListView(fw::TComponent* owner) : TSkinScrollbar(owner) {}

void TSkinListView::AttachScroll(fw::TWinControl* control, TSkinData* skinData, fw::TCanvas* canvas,
                                 TWinSkinForm* form) {
  const bool first = !FInitialized;
  TSkinScrollbar::AttachScroll(control, skinData, canvas, form);
  if (!first || !FInitialized || FHeader) return;
  HWND header = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
  if (!header || !IsWindow(header)) return;
  // Owned by the list view control, so that it goes with the control; the form frees it at
  // skin-off like every other skin object it holds.
  FHeader = new TSkinHeader(control);
  FHeader->FreeNotification(this);
  FHeader->InitWindow(header, skinData, canvas, form);
}

void TSkinListView::Notification(fw::TComponent* component, fw::TOperation operation) {
  TSkinScrollbar::Notification(component, operation);
  if (operation == fw::TOperation::opRemove && component == FHeader) FHeader = nullptr;
}

}  // namespace skin
