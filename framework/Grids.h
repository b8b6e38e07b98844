// Grids: a custom-painted cell grid with fixed rows and columns, and the key/value list on top of it.
//
// Classes in this file:
//   TCustomGrid       - cells, fixed rows/columns, grid lines, current cell, keyboard and mouse
//                       navigation, window scroll bars, column sizing, off-screen painting
//   TCustomDrawGrid   - a grid whose cells are drawn by the OnDrawCell event
//   TValueListEditor  - two columns (key, value) over a string list of "key=value" lines
// RegisterGridControls() makes TValueListEditor known to the form reader. The list editor is
// implemented in ValueListEditor.cpp, the rest in Grids.cpp.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "Controls.h"
#include "Graphics.h"
#include "Lists.h"
#include "StdCtrls.h"  // TScrollStyle, TControlStrings

namespace fw {

// Grid options; set ordinal i is bit 1 << i.
enum TGridOption : unsigned {
  goFixedVertLine = 1u << 0,
  goFixedHorzLine = 1u << 1,
  goVertLine = 1u << 2,
  goHorzLine = 1u << 3,
  goRangeSelect = 1u << 4,
  goDrawFocusSelected = 1u << 5,
  goRowSizing = 1u << 6,
  goColSizing = 1u << 7,
  goRowMoving = 1u << 8,
  goColMoving = 1u << 9,
  goEditing = 1u << 10,
  goTabs = 1u << 11,
  goRowSelect = 1u << 12,
  goAlwaysShowEditor = 1u << 13,
  goThumbTracking = 1u << 14,
};
using TGridOptions = unsigned;

enum class TGridBorderStyle { bsNone, bsSingle };

// State bits passed to DrawCell.
using TGridDrawState = unsigned;
constexpr TGridDrawState gdSelected = 1, gdFocused = 2, gdFixed = 4;

struct TGridCoord {
  int X;  // column
  int Y;  // row
  bool operator==(const TGridCoord&) const = default;
};

using TDrawCellEvent = TMethod<void(TObject* sender, int col, int row, const RECT& rect, TGridDrawState state)>;
using TSelectCellEvent = TMethod<void(TObject* sender, int col, int row, bool& canSelect)>;
// Files dropped on the window (WM_DROPFILES), full paths in the order the shell gives them.
using TDropFilesEvent = TMethod<void(TObject* sender, const std::vector<std::wstring>& files)>;

// ---------------------------------------------------------------------------
// TCustomGrid
// ---------------------------------------------------------------------------
class TCustomGrid : public TCustomControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomGrid(TComponent* owner);
  ~TCustomGrid() override;

  // -- shape
  int ColCount() const { return static_cast<int>(FColWidths.size()); }
  void SetColCount(int n);
  int RowCount() const { return static_cast<int>(FRowHeights.size()); }
  void SetRowCount(int n);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int n);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int n);
  int DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(int w);  // resets every column to w
  int DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(int h);  // resets every row to h
  int ColWidths(int col) const;
  void SetColWidths(int col, int w);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int h);
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int w);

  // -- look and behaviour
  TGridOptions Options() const { return FOptions; }
  virtual void SetOptions(TGridOptions o);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle s);
  TGridBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TGridBorderStyle s);
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor c);
  // Registers the window for WM_DROPFILES (also after the window is re-created).
  bool AcceptFiles() const { return FAcceptFiles; }
  void SetAcceptFiles(bool on);

  // -- position
  // Current cell. Setting it scrolls it into view; cells in fixed rows or columns are refused.
  int Row() const { return FRow; }
  void SetRow(int r) { MoveCurrent(FCol, r); }
  int Col() const { return FCol; }
  void SetCol(int c) { MoveCurrent(c, FRow); }
  // First scrollable row / column shown after the fixed ones.
  int TopRow() const { return FTopRow; }
  void SetTopRow(int r) { ScrollTo(FLeftCol, r); }
  int LeftCol() const { return FLeftCol; }
  void SetLeftCol(int c) { ScrollTo(c, FTopRow); }
  // Scrollable rows / columns that fit entirely in the client area (at least one).
  int VisibleRowCount() const;
  int VisibleColCount() const;

  // -- geometry
  // Client rectangle of a cell without its grid lines; empty when the cell is not shown.
  RECT CellRect(int col, int row) const;
  // The cell under a client point; {-1, -1} outside every cell.
  TGridCoord MouseCoord(int x, int y) const;

  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;
  TDropFilesEvent OnDropFiles;

  // Valid during painting: the off-screen canvas the cells are drawn on.
  TCanvas& Canvas() { return FCellCanvas; }
  void WndProc(TMessage& m) override;
  void Loaded() override;
  // Draws the whole client area into dc (used for WM_PAINT and WM_PRINTCLIENT).
  void PaintTo(HDC dc);
  // Stored forms: column widths as one list; applied after loading so that a default column
  // width read later does not undo them.
  std::vector<int64_t> ColWidthList() const;
  void SetColWidthList(const std::vector<int64_t>& widths);

protected:
  // Draws the content of one cell. The canvas brush and font are set for the state and the
  // cell background is filled when this runs; fixed cells get their raised edge afterwards.
  virtual void DrawCell(int col, int row, const RECT& rect, TGridDrawState state);
  // Whether (col, row) may become the current cell.
  virtual bool SelectCell(int col, int row);
  // Whether the whole current row is shown selected.
  virtual bool RowSelectMode() const { return (FOptions & goRowSelect) != 0; }
  // Whether the user may drag the right edge of col in the fixed rows.
  virtual bool CanSizeColumn(int col) const;
  // Called after ColCount or RowCount changed.
  virtual void SizeChanged(int oldColCount, int oldRowCount);
  // Called after a column width changed (user sizing or SetColWidths).
  virtual void ColWidthsChanged();
  virtual void TopLeftChanged();
  // Called when the client area changed size.
  virtual void ClientResized();

  void Paint() override;
  void CreateParams(TCreateParams& params) override;
  void CreateHandleDone() override;
  bool DoKeyDown(WORD& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;

  // Moves the current cell (clamped to the scrollable cells) and scrolls it into view.
  void MoveCurrent(int col, int row);
  void ScrollTo(int leftCol, int topRow);
  // Recomputes the scroll bar ranges and positions and repaints.
  void UpdateScrollRange();
  void InvalidateGrid();
  // Width of the grid line right of a fixed or a normal cell (0 when those lines are off).
  int VertLine(bool fixed) const;
  // Narrowest column a user drag or a fitting can leave; space left of a cell's text.
  static constexpr int MinColumnWidth = 4, TextIndent = 2;

private:
  int ColumnLeft(int col) const;  // client x of a shown column, -1 when not shown
  int RowTop(int row) const;
  int MaxTopRow() const;
  int MaxLeftCol() const;
  int FixedWidth() const;
  int FixedHeight() const;
  int HorzLine(bool fixed) const;
  int SizingEdgeAt(int x, int y) const;  // column whose right edge is under (x, y), or -1
  void ClampPositions();
  void ScrollMessage(int bar, WPARAM wParam);
  bool NavigationKey(WORD key, TShiftState shift);
  void DropFiles(HDROP drop);
  void DrawFixedEdge(const RECT& r);
  void EndColumnSizing(int x);

  std::vector<int> FColWidths;
  std::vector<int> FRowHeights;
  int FFixedCols = 1, FFixedRows = 1;
  int FDefaultColWidth = 64, FDefaultRowHeight = 24;
  int FGridLineWidth = 1;
  TGridOptions FOptions = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
  TScrollStyle FScrollBars = ssBoth;
  TGridBorderStyle FBorderStyle = TGridBorderStyle::bsSingle;
  TColor FFixedColor = clBtnFace;
  bool FAcceptFiles = false;
  int FRow = 1, FCol = 1, FTopRow = 1, FLeftCol = 1;
  // Column sizing drag: the column and the client x where its left edge lies.
  int FSizingCol = -1, FSizingLeft = 0;
  bool FUpdatingScroll = false;
  std::vector<int64_t> FLoadedColWidths;
  TCanvas FCellCanvas;
};

// ---------------------------------------------------------------------------
// TCustomDrawGrid: cells drawn by OnDrawCell.
// ---------------------------------------------------------------------------
class TCustomDrawGrid : public TCustomGrid {
  FW_DECLARE_CLASS()
public:
  explicit TCustomDrawGrid(TComponent* owner);
  TDrawCellEvent OnDrawCell;

protected:
  void DrawCell(int col, int row, const RECT& rect, TGridDrawState state) override;
};

// ---------------------------------------------------------------------------
// TValueListEditor
// ---------------------------------------------------------------------------
enum TDisplayOption : unsigned { doColumnTitles = 1, doAutoColResize = 2, doKeyColFixed = 4 };
using TDisplayOptions = unsigned;
enum TKeyOption : unsigned { keyEdit = 1, keyAdd = 2, keyDelete = 4, keyUnique = 8 };
using TKeyOptions = unsigned;

// Column 0 shows the key (the text before the first '='), column 1 the value of each line of
// Strings, with an optional title row. The grid always shows at least one (empty) data row.
// The grid follows every change of Strings (OnChange of the list).
class TValueListEditor : public TCustomDrawGrid {
  FW_DECLARE_CLASS()
public:
  explicit TValueListEditor(TComponent* owner);
  ~TValueListEditor() override;

  TStringList& Strings() { return *FStrings; }
  TStringList& TitleCaptions() { return *FTitleCaptions; }
  TDisplayOptions DisplayOptions() const { return FDisplayOptions; }
  void SetDisplayOptions(TDisplayOptions o);
  TKeyOptions KeyOptions = 0;

  // Value of the first line named key ("" when there is none).
  std::wstring Values(const std::wstring& key) const { return FStrings->Values(key); }
  void SetValues(const std::wstring& key, const std::wstring& value) { FStrings->SetValue(key, value); }
  // Key of a data row ("" for the title row and for the empty row of an empty list).
  std::wstring Keys(int row) const;
  // Text shown in a cell: title, key or value.
  std::wstring Cells(int col, int row) const;
  // Index in Strings of a data row, -1 for the title row or a row past the lines.
  int StringIndex(int row) const;

  void Loaded() override;

protected:
  void DrawCell(int col, int row, const RECT& rect, TGridDrawState state) override;
  bool RowSelectMode() const override;
  bool CanSizeColumn(int col) const override;
  void ColWidthsChanged() override;
  void ClientResized() override;

private:
  void StringsChanged(TObject* sender);
  void TitlesChanged(TObject* sender);
  void UpdateRowCount();
  // With doAutoColResize the two columns fill the client width: the value column takes what
  // the key column leaves; on a resize without doKeyColFixed both keep their proportion.
  void AutoSizeColumns(bool resized);

  std::unique_ptr<TControlStrings> FStrings;
  std::unique_ptr<TControlStrings> FTitleCaptions;
  TDisplayOptions FDisplayOptions = doColumnTitles | doAutoColResize | doKeyColFixed;
  bool FAutoSizing = false;
  int FAutoWidth = 0;  // the width both columns were last fitted to
};

// Registers the grid classes with the form reader.
void RegisterGridControls();

}  // namespace fw
