// Grids: cell layout, scrolling, navigation, column sizing and off-screen painting of the grid.
#include "Grids.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "GdiHandles.h"
#include "PropTables.h"

namespace fw {

namespace {

// Half-width of the band around a column edge in which a press starts sizing.
constexpr int kSizingSlack = 3;

// Closes the drop handle however the handler leaves.
class TDropHandle {
public:
  explicit TDropHandle(HDROP drop) : FDrop(drop) {}
  ~TDropHandle() { DragFinish(FDrop); }
  TDropHandle(const TDropHandle&) = delete;
  TDropHandle& operator=(const TDropHandle&) = delete;

private:
  HDROP FDrop;
};

}  // namespace

// ---------------------------------------------------------------------------
// TCustomGrid: construction and shape
// ---------------------------------------------------------------------------

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
  FColWidths.assign(5, FDefaultColWidth);
  FRowHeights.assign(5, FDefaultRowHeight);
  FColor = clWindow;
  FParentColor = false;
  FWidth = 320;
  FHeight = 120;
  SetTabStop(true);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::SetColCount(int n) {
  n = std::max(n, 1);
  int old = ColCount();
  if (n == old) return;
  FColWidths.resize(static_cast<size_t>(n), FDefaultColWidth);
  if (FFixedCols >= n) FFixedCols = n - 1;
  SizeChanged(old, RowCount());
}

void TCustomGrid::SetRowCount(int n) {
  n = std::max(n, 1);
  int old = RowCount();
  if (n == old) return;
  FRowHeights.resize(static_cast<size_t>(n), FDefaultRowHeight);
  if (FFixedRows >= n) FFixedRows = n - 1;
  SizeChanged(ColCount(), old);
}

void TCustomGrid::SetFixedCols(int n) {
  n = std::clamp(n, 0, ColCount() - 1);
  if (n == FFixedCols) return;
  FFixedCols = n;
  FLeftCol = FCol = n;
  SizeChanged(ColCount(), RowCount());
}

void TCustomGrid::SetFixedRows(int n) {
  n = std::clamp(n, 0, RowCount() - 1);
  if (n == FFixedRows) return;
  FFixedRows = n;
  FTopRow = FRow = n;
  SizeChanged(ColCount(), RowCount());
}

void TCustomGrid::SetDefaultColWidth(int w) {
  FDefaultColWidth = std::max(w, 0);
  std::fill(FColWidths.begin(), FColWidths.end(), FDefaultColWidth);
  ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int h) {
  FDefaultRowHeight = std::max(h, 0);
  std::fill(FRowHeights.begin(), FRowHeights.end(), FDefaultRowHeight);
  UpdateScrollRange();
}

int TCustomGrid::ColWidths(int col) const {
  return col >= 0 && col < ColCount() ? FColWidths[static_cast<size_t>(col)] : FDefaultColWidth;
}

void TCustomGrid::SetColWidths(int col, int w) {
  if (col < 0 || col >= ColCount()) return;
  w = std::max(w, 0);
  if (FColWidths[static_cast<size_t>(col)] == w) return;
  FColWidths[static_cast<size_t>(col)] = w;
  ColWidthsChanged();
}

int TCustomGrid::RowHeights(int row) const {
  return row >= 0 && row < RowCount() ? FRowHeights[static_cast<size_t>(row)] : FDefaultRowHeight;
}

void TCustomGrid::SetRowHeights(int row, int h) {
  if (row < 0 || row >= RowCount()) return;
  FRowHeights[static_cast<size_t>(row)] = std::max(h, 0);
  UpdateScrollRange();
}

void TCustomGrid::SetGridLineWidth(int w) {
  FGridLineWidth = std::max(w, 0);
  UpdateScrollRange();
}

void TCustomGrid::SetOptions(TGridOptions o) {
  if (o == FOptions) return;
  FOptions = o;
  UpdateScrollRange();
}

void TCustomGrid::SetScrollBars(TScrollStyle s) {
  if (s == FScrollBars) return;
  FScrollBars = s;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TGridBorderStyle s) {
  if (s == FBorderStyle) return;
  FBorderStyle = s;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomGrid::SetFixedColor(TColor c) {
  FFixedColor = c;
  InvalidateGrid();
}

void TCustomGrid::SetAcceptFiles(bool on) {
  FAcceptFiles = on;
  if (HandleAllocated()) DragAcceptFiles(HandleIfAllocated(), on ? TRUE : FALSE);
}

void TCustomGrid::SizeChanged(int, int) {
  ClampPositions();
  UpdateScrollRange();
}

void TCustomGrid::ColWidthsChanged() { UpdateScrollRange(); }

void TCustomGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::ClientResized() { UpdateScrollRange(); }

// ---------------------------------------------------------------------------
// Geometry
// ---------------------------------------------------------------------------

int TCustomGrid::VertLine(bool fixed) const {
  return (FOptions & (fixed ? goFixedVertLine : goVertLine)) ? FGridLineWidth : 0;
}

int TCustomGrid::HorzLine(bool fixed) const {
  return (FOptions & (fixed ? goFixedHorzLine : goHorzLine)) ? FGridLineWidth : 0;
}

int TCustomGrid::FixedWidth() const {
  int w = 0;
  for (int c = 0; c < FFixedCols; ++c) w += ColWidths(c) + VertLine(true);
  return w;
}

int TCustomGrid::FixedHeight() const {
  int h = 0;
  for (int r = 0; r < FFixedRows; ++r) h += RowHeights(r) + HorzLine(true);
  return h;
}

int TCustomGrid::ColumnLeft(int col) const {
  if (col < 0 || col >= ColCount()) return -1;
  if (col < FFixedCols) {
    int x = 0;
    for (int c = 0; c < col; ++c) x += ColWidths(c) + VertLine(true);
    return x;
  }
  if (col < FLeftCol) return -1;
  int x = FixedWidth();
  for (int c = FLeftCol; c < col; ++c) x += ColWidths(c) + VertLine(false);
  return x;
}

int TCustomGrid::RowTop(int row) const {
  if (row < 0 || row >= RowCount()) return -1;
  if (row < FFixedRows) {
    int y = 0;
    for (int r = 0; r < row; ++r) y += RowHeights(r) + HorzLine(true);
    return y;
  }
  if (row < FTopRow) return -1;
  int y = FixedHeight();
  for (int r = FTopRow; r < row; ++r) y += RowHeights(r) + HorzLine(false);
  return y;
}

RECT TCustomGrid::CellRect(int col, int row) const {
  int x = ColumnLeft(col), y = RowTop(row);
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return {0, 0, 0, 0};
  return {x, y, x + ColWidths(col), y + RowHeights(row)};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
  TGridCoord result{-1, -1};
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return result;
  // Each cell owns the grid line to its right and below it.
  for (int c = 0, left = 0; c < ColCount() && left <= x; ++c) {
    if (c == FFixedCols) c = std::max(c, FLeftCol);
    if (c >= ColCount()) break;
    int right = left + ColWidths(c) + VertLine(c < FFixedCols);
    if (x < right) {
      result.X = c;
      break;
    }
    left = right;
  }
  for (int r = 0, top = 0; r < RowCount() && top <= y; ++r) {
    if (r == FFixedRows) r = std::max(r, FTopRow);
    if (r >= RowCount()) break;
    int bottom = top + RowHeights(r) + HorzLine(r < FFixedRows);
    if (y < bottom) {
      result.Y = r;
      break;
    }
    top = bottom;
  }
  if (result.X < 0 || result.Y < 0) return {-1, -1};
  return result;
}

int TCustomGrid::VisibleRowCount() const {
  int space = ClientHeight() - FixedHeight(), n = 0;
  for (int r = FTopRow; r < RowCount(); ++r) {
    space -= RowHeights(r) + HorzLine(false);
    if (space < 0) break;
    ++n;
  }
  return std::max(n, 1);
}

int TCustomGrid::VisibleColCount() const {
  int space = ClientWidth() - FixedWidth(), n = 0;
  for (int c = FLeftCol; c < ColCount(); ++c) {
    space -= ColWidths(c) + VertLine(false);
    if (space < 0) break;
    ++n;
  }
  return std::max(n, 1);
}

// The highest top row that still fills the client area down to the last row.
int TCustomGrid::MaxTopRow() const {
  int space = ClientHeight() - FixedHeight(), top = RowCount();
  while (top > FFixedRows) {
    space -= RowHeights(top - 1) + HorzLine(false);
    if (space < 0) break;
    --top;
  }
  return std::clamp(top, FFixedRows, std::max(FFixedRows, RowCount() - 1));
}

int TCustomGrid::MaxLeftCol() const {
  int space = ClientWidth() - FixedWidth(), left = ColCount();
  while (left > FFixedCols) {
    space -= ColWidths(left - 1) + VertLine(false);
    if (space < 0) break;
    --left;
  }
  return std::clamp(left, FFixedCols, std::max(FFixedCols, ColCount() - 1));
}

int TCustomGrid::SizingEdgeAt(int x, int y) const {
  if (!(FOptions & goColSizing) || y < 0 || y >= FixedHeight()) return -1;
  for (int c = 0; c < ColCount(); ++c) {
    int left = ColumnLeft(c);
    if (left < 0) continue;
    if (left >= ClientWidth()) break;
    int edge = left + ColWidths(c);
    if (x >= edge - kSizingSlack && x <= edge + kSizingSlack && CanSizeColumn(c)) return c;
  }
  return -1;
}

bool TCustomGrid::CanSizeColumn(int) const { return true; }

// ---------------------------------------------------------------------------
// Current cell and scrolling
// ---------------------------------------------------------------------------

void TCustomGrid::ClampPositions() {
  int lastRow = std::max(RowCount() - 1, FFixedRows), lastCol = std::max(ColCount() - 1, FFixedCols);
  FRow = std::clamp(FRow, FFixedRows, lastRow);
  FCol = std::clamp(FCol, FFixedCols, lastCol);
  FTopRow = std::clamp(FTopRow, FFixedRows, HandleAllocated() ? MaxTopRow() : lastRow);
  FLeftCol = std::clamp(FLeftCol, FFixedCols, HandleAllocated() ? MaxLeftCol() : lastCol);
}

bool TCustomGrid::SelectCell(int col, int row) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, col, row, can);
  return can;
}

void TCustomGrid::MoveCurrent(int col, int row) {
  if (RowCount() <= FFixedRows || ColCount() <= FFixedCols) return;
  col = std::clamp(col, FFixedCols, ColCount() - 1);
  row = std::clamp(row, FFixedRows, RowCount() - 1);
  if ((col != FCol || row != FRow) && !SelectCell(col, row)) return;
  bool moved = col != FCol || row != FRow;
  FCol = col;
  FRow = row;
  // Bring the cell into view: the smallest scroll that shows all of it.
  int top = FTopRow, left = FLeftCol;
  if (row < top) {
    top = row;
  } else {
    int space = ClientHeight() - FixedHeight();
    int needed = 0;
    for (int r = top; r <= row; ++r) needed += RowHeights(r) + HorzLine(false);
    while (needed > space && top < row) needed -= RowHeights(top++) + HorzLine(false);
  }
  if (!RowSelectMode()) {
    if (col < left) {
      left = col;
    } else {
      int space = ClientWidth() - FixedWidth();
      int needed = 0;
      for (int c = left; c <= col; ++c) needed += ColWidths(c) + VertLine(false);
      while (needed > space && left < col) needed -= ColWidths(left++) + VertLine(false);
    }
  }
  ScrollTo(left, top);
  if (moved) InvalidateGrid();
}

void TCustomGrid::ScrollTo(int leftCol, int topRow) {
  int top = std::clamp(topRow, FFixedRows, MaxTopRow());
  int left = std::clamp(leftCol, FFixedCols, MaxLeftCol());
  if (top == FTopRow && left == FLeftCol) return;
  FTopRow = top;
  FLeftCol = left;
  UpdateScrollRange();
  TopLeftChanged();
}

void TCustomGrid::InvalidateGrid() {
  if (HandleAllocated()) InvalidateRect(HandleIfAllocated(), nullptr, FALSE);
}

// Scroll bars count rows (columns) after the fixed ones; the page is what fits at the end, so
// the highest thumb position is exactly the highest top row.
void TCustomGrid::UpdateScrollRange() {
  if (!HandleAllocated() || FUpdatingScroll) {
    InvalidateGrid();
    return;
  }
  FUpdatingScroll = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FUpdatingScroll};
  HWND wnd = HandleIfAllocated();
  // Showing or hiding one bar changes the client area and thereby the other bar's page.
  for (int pass = 0; pass < 3; ++pass) {
    RECT before;
    GetClientRect(wnd, &before);
    FTopRow = std::clamp(FTopRow, FFixedRows, MaxTopRow());
    FLeftCol = std::clamp(FLeftCol, FFixedCols, MaxLeftCol());
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
      SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
      if (RowCount() > FFixedRows) {
        si.nMin = FFixedRows;
        si.nMax = RowCount() - 1;
        si.nPage = static_cast<UINT>(RowCount() - MaxTopRow());
        si.nPos = FTopRow;
      }
      SetScrollInfo(wnd, SB_VERT, &si, TRUE);
    }
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) {
      SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
      if (ColCount() > FFixedCols) {
        si.nMin = FFixedCols;
        si.nMax = ColCount() - 1;
        si.nPage = static_cast<UINT>(ColCount() - MaxLeftCol());
        si.nPos = FLeftCol;
      }
      SetScrollInfo(wnd, SB_HORZ, &si, TRUE);
    }
    RECT after;
    GetClientRect(wnd, &after);
    if (EqualRect(&before, &after)) break;
  }
  InvalidateGrid();
}

void TCustomGrid::ScrollMessage(int bar, WPARAM wParam) {
  WORD code = LOWORD(wParam);
  bool vert = bar == SB_VERT;
  int pos = vert ? FTopRow : FLeftCol;
  int page = vert ? VisibleRowCount() : VisibleColCount();
  int first = vert ? FFixedRows : FFixedCols;
  switch (code) {
    case SB_LINEUP: --pos; break;
    case SB_LINEDOWN: ++pos; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_TOP: pos = first; break;
    case SB_BOTTOM: pos = vert ? RowCount() : ColCount(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // While tracking, the content follows the thumb only with goThumbTracking; otherwise
      // it moves once the thumb is released.
      if (code == SB_THUMBTRACK && !(FOptions & goThumbTracking)) return;
      pos = HIWORD(wParam);
      if ((vert ? RowCount() : ColCount()) > 0xFFFF) {  // the message carries 16 bits only
        SCROLLINFO si{sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(HandleIfAllocated(), bar, &si);
        pos = si.nTrackPos;
      }
      break;
    }
    default: return;
  }
  if (vert) ScrollTo(FLeftCol, pos);
  else ScrollTo(pos, FTopRow);
}

// ---------------------------------------------------------------------------
// Keyboard and mouse
// ---------------------------------------------------------------------------

bool TCustomGrid::DoKeyDown(WORD& key, TShiftState shift) {
  if (TCustomControl::DoKeyDown(key, shift) || key == 0) return true;
  return NavigationKey(key, shift);
}

bool TCustomGrid::NavigationKey(WORD key, TShiftState shift) {
  bool ctrl = shift & ssCtrl;
  int row = FRow, col = FCol;
  switch (key) {
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_LEFT:
      if (RowSelectMode()) ScrollTo(FLeftCol - 1, FTopRow);
      else --col;
      break;
    case VK_RIGHT:
      if (RowSelectMode()) ScrollTo(FLeftCol + 1, FTopRow);
      else ++col;
      break;
    case VK_PRIOR: row -= VisibleRowCount(); break;
    case VK_NEXT: row += VisibleRowCount(); break;
    case VK_HOME:
      if (ctrl || RowSelectMode()) row = FFixedRows;
      if (!RowSelectMode()) col = FFixedCols;
      break;
    case VK_END:
      if (ctrl || RowSelectMode()) row = RowCount() - 1;
      if (!RowSelectMode()) col = ColCount() - 1;
      break;
    case VK_TAB:
      if (!(FOptions & goTabs)) return false;
      if (shift & ssShift) {
        if (--col < FFixedCols) col = ColCount() - 1, --row;
      } else if (++col >= ColCount()) {
        col = FFixedCols, ++row;
      }
      if (row < FFixedRows || row >= RowCount()) return true;
      break;
    default: return false;
  }
  MoveCurrent(col, row);
  return true;
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    int edge = SizingEdgeAt(x, y);
    if (edge >= 0) {
      FSizingCol = edge;
      FSizingLeft = ColumnLeft(edge);
      if (GetCapture() != HandleIfAllocated()) SetCapture(HandleIfAllocated());
    } else {
      TGridCoord cell = MouseCoord(x, y);
      if (cell.X >= FFixedCols && cell.Y >= FFixedRows) MoveCurrent(RowSelectMode() ? FCol : cell.X, cell.Y);
    }
  } else if (button == mbRight) {
    // The context menu acts on the row that was right-clicked, not on one the user cannot see.
    if (CanFocus() && !Focused()) SetFocus();
    TGridCoord cell = MouseCoord(x, y);
    if (cell.X >= FFixedCols && cell.Y >= FFixedRows) MoveCurrent(RowSelectMode() ? FCol : cell.X, cell.Y);
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
  if (FSizingCol >= 0) {
    SetColWidths(FSizingCol, std::max(x - FSizingLeft, MinColumnWidth));
  } else if ((shift & ssLeft) && GetCapture() == HandleIfAllocated()) {
    // Dragging over the cells moves the current cell with the mouse.
    TGridCoord cell = MouseCoord(std::clamp(x, 0, ClientWidth() - 1), std::clamp(y, 0, ClientHeight() - 1));
    if (cell.X >= FFixedCols && cell.Y >= FFixedRows) MoveCurrent(RowSelectMode() ? FCol : cell.X, cell.Y);
  }
  TCustomControl::MouseMove(shift, x, y);
}

// Sizing ends with the button release (before the capture goes, which would cancel it).
void TCustomGrid::EndColumnSizing(int x) {
  int col = std::exchange(FSizingCol, -1);
  SetColWidths(col, std::max(x - FSizingLeft, MinColumnWidth));
}

void TCustomGrid::DropFiles(HDROP drop) {
  TDropHandle closer(drop);
  std::vector<std::wstring> files;
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    UINT got = DragQueryFileW(drop, i, name.data(), length + 1);
    name.resize(got);
    if (!name.empty()) files.push_back(std::move(name));
  }
  if (OnDropFiles) OnDropFiles(this, files);
}

// ---------------------------------------------------------------------------
// Window
// ---------------------------------------------------------------------------

void TCustomGrid::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= WS_HSCROLL;
  if (FBorderStyle == TGridBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  params.Background = nullptr;
}

void TCustomGrid::CreateHandleDone() {
  TCustomControl::CreateHandleDone();
  if (FAcceptFiles) DragAcceptFiles(HandleIfAllocated(), TRUE);
  ClampPositions();
  UpdateScrollRange();
}

void TCustomGrid::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:  // every pixel is painted from the off-screen picture
      m.Result = 1;
      return;
    case WM_PRINTCLIENT:
      PaintTo(reinterpret_cast<HDC>(m.WParam));
      m.Result = 0;
      return;
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTARROWS | ((FOptions & goTabs) ? DLGC_WANTTAB : 0);
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (m.LParam == 0) {  // the window's own bar; bars of child controls are reflected
        ScrollMessage(m.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, m.WParam);
        m.Result = 0;
        return;
      }
      break;
    case WM_MOUSEWHEEL: {
      UINT lines = 3;
      SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      int notches = GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA;
      if (lines == WHEEL_PAGESCROLL) ScrollTo(FLeftCol, FTopRow - notches * VisibleRowCount());
      else ScrollTo(FLeftCol, FTopRow - notches * static_cast<int>(lines));
      m.Result = 0;
      return;
    }
    case WM_SETCURSOR:
      if (LOWORD(m.LParam) == HTCLIENT && HandleAllocated()) {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(HandleIfAllocated(), &p);
        if (FSizingCol >= 0 || SizingEdgeAt(p.x, p.y) >= 0) {
          SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
          m.Result = TRUE;
          return;
        }
      }
      break;
    case WM_LBUTTONUP:
      if (FSizingCol >= 0) EndColumnSizing(GET_X_LPARAM(m.LParam));
      break;
    case WM_CANCELMODE:
      FSizingCol = -1;
      break;
    case WM_CAPTURECHANGED:  // another window took the mouse: the drag is over
      if (reinterpret_cast<HWND>(m.LParam) != HandleIfAllocated()) FSizingCol = -1;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateGrid();
      break;
    case WM_DROPFILES:
      if (OnDropFiles) {
        DropFiles(reinterpret_cast<HDROP>(m.WParam));
        m.Result = 0;
        return;
      }
      break;
    default: break;
  }
  TCustomControl::WndProc(m);
  if (m.Msg == WM_SIZE) ClientResized();
}

// ---------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------

void TCustomGrid::Paint() { PaintTo(PaintDC()); }

void TCustomGrid::DrawFixedEdge(const RECT& r) {
  RECT edge = r;
  HDC dc = FCellCanvas.Handle();
  if ((FOptions & (goFixedVertLine | goFixedHorzLine)) == (goFixedVertLine | goFixedHorzLine))
    DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
}

void TCustomGrid::DrawCell(int, int, const RECT&, TGridDrawState) {}

void TCustomGrid::PaintTo(HDC dc) {
  if (!dc || !HandleAllocated()) return;
  RECT client;
  GetClientRect(HandleIfAllocated(), &client);
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  TMemoryDC mem(dc);
  TBitmapHandle picture(CreateCompatibleBitmap(dc, w, h));
  if (!mem || !picture) return;
  TSelectObject selected(mem, picture);
  FCellCanvas.SetHandle(mem);
  struct TRelease {
    TCanvas& Canvas;
    ~TRelease() { Canvas.SetHandle(nullptr); }
  } release{FCellCanvas};

  if (Font()) FCellCanvas.Font().Assign(*Font());
  TColor textColor = FCellCanvas.Font().Color();
  FCellCanvas.Brush().SetStyle(TBrushStyle::bsSolid);
  FCellCanvas.Brush().SetColor(static_cast<TColor>(Color()));
  FCellCanvas.FillRect(client);

  const TColor fixedLine = clBlack, normalLine = clSilver;
  bool focused = Focused();
  int y = 0;
  for (int r = 0; r < RowCount() && y < h; ++r) {
    if (r == FFixedRows) r = std::max(r, FTopRow);
    if (r >= RowCount()) break;
    bool fixedRow = r < FFixedRows;
    int rh = RowHeights(r), hl = HorzLine(fixedRow);
    int x = 0;
    for (int c = 0; c < ColCount() && x < w; ++c) {
      if (c == FFixedCols) c = std::max(c, FLeftCol);
      if (c >= ColCount()) break;
      bool fixedCol = c < FFixedCols;
      bool fixed = fixedRow || fixedCol;
      int cw = ColWidths(c), vl = VertLine(fixed);
      RECT cell{x, y, x + cw, y + rh};
      TGridDrawState state = 0;
      if (fixed) {
        state |= gdFixed;
      } else if (r == FRow && (c == FCol || RowSelectMode())) {
        state |= gdSelected;
        if (c == FCol && focused) state |= gdFocused;
      }
      if (fixed) {
        FCellCanvas.Brush().SetColor(FFixedColor);
        FCellCanvas.Font().SetColor(clBtnText);
      } else if ((state & gdSelected) && (!(state & gdFocused) || RowSelectMode() || (FOptions & goDrawFocusSelected))) {
        FCellCanvas.Brush().SetColor(clHighlight);
        FCellCanvas.Font().SetColor(clHighlightText);
      } else {
        FCellCanvas.Brush().SetColor(static_cast<TColor>(Color()));
        FCellCanvas.Font().SetColor(textColor);
      }
      FCellCanvas.FillRect(cell);
      DrawCell(c, r, cell, state);
      if (fixed) DrawFixedEdge(cell);
      if ((state & gdFocused) && !RowSelectMode()) DrawFocusRect(FCellCanvas.Handle(), &cell);
      // Grid lines: right of and below the cell.
      if (vl > 0 || hl > 0) {
        FCellCanvas.Brush().SetColor(fixed ? fixedLine : normalLine);
        if (vl > 0) FCellCanvas.FillRect({cell.right, y, cell.right + vl, y + rh + hl});
        if (hl > 0) FCellCanvas.FillRect({x, cell.bottom, x + cw + vl, cell.bottom + hl});
      }
      x += cw + vl;
    }
    y += rh + hl;
  }
  // A focused row-select grid marks the whole current row.
  if (focused && RowSelectMode()) {
    RECT row{ColumnLeft(FLeftCol), RowTop(FRow), 0, 0};
    if (row.left >= 0 && row.top >= 0) {
      int last = ColCount() - 1;
      RECT lastCell = CellRect(last, FRow);
      row.right = IsRectEmpty(&lastCell) ? w : lastCell.right;
      row.bottom = row.top + RowHeights(FRow);
      DrawFocusRect(FCellCanvas.Handle(), &row);
    }
  }
  FCellCanvas.Font().SetColor(textColor);
  BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
// Stored forms
// ---------------------------------------------------------------------------

std::vector<int64_t> TCustomGrid::ColWidthList() const { return {FColWidths.begin(), FColWidths.end()}; }

void TCustomGrid::SetColWidthList(const std::vector<int64_t>& widths) {
  if (IsLoading()) {
    FLoadedColWidths = widths;
    return;
  }
  bool changed = false;
  for (size_t i = 0; i < widths.size() && i < FColWidths.size(); ++i) {
    int w = static_cast<int>(std::clamp<int64_t>(widths[i], 0, 0x7FFF));
    changed |= FColWidths[i] != w;
    FColWidths[i] = w;
  }
  if (changed) ColWidthsChanged();
}

void TCustomGrid::Loaded() {
  TCustomControl::Loaded();
  if (!FLoadedColWidths.empty()) SetColWidthList(std::exchange(FLoadedColWidths, {}));
  ClampPositions();
  UpdateScrollRange();
}

// ---------------------------------------------------------------------------
// TCustomDrawGrid
// ---------------------------------------------------------------------------

TCustomDrawGrid::TCustomDrawGrid(TComponent* owner) : TCustomGrid(owner) {}

void TCustomDrawGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
  if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

// ---------------------------------------------------------------------------
// Class information
// ---------------------------------------------------------------------------

namespace {

const std::vector<std::string> kGridOptionNames = {
    "goFixedVertLine", "goFixedHorzLine", "goVertLine",  "goHorzLine", "goRangeSelect",
    "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
    "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"};

using props::Prop;

}  // namespace

const TClassInfo& TCustomGrid::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomGrid",
      &TCustomControl::StaticClassInfo(),
      {},
      {Prop("DefaultColWidth", TPropKind::Integer, &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth),
       Prop("DefaultRowHeight", TPropKind::Integer, &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight),
       Prop("GridLineWidth", TPropKind::Integer, &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth),
       Prop("FixedColor", TPropKind::Integer, &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor),
       Prop("Options", TPropKind::Set, &TCustomGrid::Options, &TCustomGrid::SetOptions, kGridOptionNames),
       {"ScrollBars", TPropKind::Enumeration,
        [](TObject* o) -> TPropValue { return int64_t(As<TCustomGrid>(o)->ScrollBars()); },
        [](TObject* o, const TPropValue& v) {
          As<TCustomGrid>(o)->SetScrollBars(static_cast<TScrollStyle>(std::clamp<int64_t>(PropInt(v), 0, 3)));
        },
        {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}},
       {"BorderStyle", TPropKind::Enumeration,
        [](TObject* o) -> TPropValue { return int64_t(As<TCustomGrid>(o)->BorderStyle()); },
        [](TObject* o, const TPropValue& v) {
          As<TCustomGrid>(o)->SetBorderStyle(PropInt(v) ? TGridBorderStyle::bsSingle : TGridBorderStyle::bsNone);
        },
        {"bsNone", "bsSingle"}},
       {"ColWidths", TPropKind::Integers, [](TObject* o) -> TPropValue { return As<TCustomGrid>(o)->ColWidthList(); },
        [](TObject* o, const TPropValue& v) {
          As<TCustomGrid>(o)->SetColWidthList(std::get<std::vector<int64_t>>(v));
        }},
       {"PopupMenu", TPropKind::Object, [](TObject* o) -> TPropValue { return static_cast<TObject*>(As<TCustomGrid>(o)->PopupMenu); },
        [](TObject* o, const TPropValue& v) {
          auto* const* obj = std::get_if<TObject*>(&v);
          As<TCustomGrid>(o)->PopupMenu = obj ? dynamic_cast<TComponent*>(*obj) : nullptr;
        }},
       MethodProp<TCustomGrid, &TCustomGrid::OnSelectCell>("OnSelectCell"),
       MethodProp<TCustomGrid, &TCustomGrid::OnTopLeftChanged>("OnTopLeftChanged")},
      {}};
  return info;
}

const TClassInfo& TCustomDrawGrid::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomDrawGrid",
      &TCustomGrid::StaticClassInfo(),
      {},
      {Prop("ColCount", TPropKind::Integer, &TCustomGrid::ColCount, &TCustomGrid::SetColCount),
       Prop("RowCount", TPropKind::Integer, &TCustomGrid::RowCount, &TCustomGrid::SetRowCount),
       Prop("FixedCols", TPropKind::Integer, &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols),
       Prop("FixedRows", TPropKind::Integer, &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows),
       MethodProp<TCustomDrawGrid, &TCustomDrawGrid::OnDrawCell>("OnDrawCell")},
      {}};
  return info;
}


}  // namespace fw
