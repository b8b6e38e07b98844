// The key/value list editor: two columns over a string list of "key=value" lines.
#include <algorithm>

#include "Grids.h"
#include "PropTables.h"

namespace fw {

// ---------------------------------------------------------------------------
// TValueListEditor
// ---------------------------------------------------------------------------

TValueListEditor::TValueListEditor(TComponent* owner)
    : TCustomDrawGrid(owner), FStrings(std::make_unique<TControlStrings>()),
      FTitleCaptions(std::make_unique<TControlStrings>()) {
  FTitleCaptions->Add(L"键");
  FTitleCaptions->Add(L"值");
  FStrings->OnListChanged = TNotifyEvent::Of<&TValueListEditor::StringsChanged>(this);
  FTitleCaptions->OnListChanged = TNotifyEvent::Of<&TValueListEditor::TitlesChanged>(this);
  SetColCount(2);
  SetFixedCols(0);
  SetDefaultColWidth(150);
  SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goColSizing | goEditing |
             goAlwaysShowEditor | goThumbTracking);
  SetDefaultRowHeight(18);
  SetWidth(306);
  SetHeight(300);
  UpdateRowCount();
}

TValueListEditor::~TValueListEditor() {
  // The lists outlive nothing that calls back into a half-destroyed grid.
  FStrings->OnListChanged.Clear();
  FTitleCaptions->OnListChanged.Clear();
}

int TValueListEditor::StringIndex(int row) const {
  int i = row - FixedRows();
  return i >= 0 && i < FStrings->Count() ? i : -1;
}

// A line without the separator has no key: its whole text is the value.
std::wstring TValueListEditor::Keys(int row) const {
  int i = StringIndex(row);
  return i < 0 ? std::wstring() : FStrings->Names(i);
}

std::wstring TValueListEditor::Cells(int col, int row) const {
  if (row < FixedRows()) return col >= 0 && col < FTitleCaptions->Count() ? FTitleCaptions->Strings(col) : L"";
  int i = StringIndex(row);
  if (i < 0) return L"";
  const std::wstring& line = FStrings->Strings(i);
  if (line.find(FStrings->NameValueSeparator) == std::wstring::npos) return col == 1 ? line : L"";
  return col == 0 ? FStrings->Names(i) : FStrings->ValueFromIndex(i);
}

void TValueListEditor::SetDisplayOptions(TDisplayOptions o) {
  if (o == FDisplayOptions) return;
  FDisplayOptions = o;
  UpdateRowCount();
  AutoSizeColumns(false);
  InvalidateGrid();
}

// One row per line plus the title row; an empty list still shows one empty row.
void TValueListEditor::UpdateRowCount() {
  int titles = (FDisplayOptions & doColumnTitles) ? 1 : 0;
  int rows = std::max(FStrings->Count(), 1) + titles;
  if (rows > RowCount()) {
    SetRowCount(rows);
    SetFixedRows(titles);
  } else {
    SetFixedRows(titles);
    SetRowCount(rows);
  }
}

void TValueListEditor::StringsChanged(TObject*) {
  UpdateRowCount();
  UpdateScrollRange();
}

void TValueListEditor::TitlesChanged(TObject*) { InvalidateGrid(); }

// Without in-place editing the row is the unit of selection.
bool TValueListEditor::RowSelectMode() const { return TCustomGrid::RowSelectMode() || !(Options() & goEditing); }

// The key column can always be dragged; the value column's edge follows the window while
// the columns are fitted to it.
bool TValueListEditor::CanSizeColumn(int col) const {
  return col == 0 || !(FDisplayOptions & doAutoColResize);
}

void TValueListEditor::AutoSizeColumns(bool resized) {
  if (!(FDisplayOptions & doAutoColResize) || FAutoSizing || !HandleAllocated() || IsLoading()) return;
  FAutoSizing = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FAutoSizing};
  // A scroll bar that comes or goes while fitting changes the width again.
  for (int pass = 0; pass < 3; ++pass) {
    int total = ClientWidth() - 2 * VertLine(false);
    if (total <= 0) return;
    int key = ColWidths(0);
    if (resized && !(FDisplayOptions & doKeyColFixed) && FAutoWidth > 0 && FAutoWidth != total)
      key = MulDiv(key, total, FAutoWidth);
    key = std::clamp(key, MinColumnWidth, std::max(MinColumnWidth, total - MinColumnWidth));
    SetColWidths(0, key);
    SetColWidths(1, std::max(total - key, MinColumnWidth));
    FAutoWidth = total;
    if (ClientWidth() - 2 * VertLine(false) == total) break;
    resized = true;
  }
}

void TValueListEditor::ColWidthsChanged() {
  TCustomDrawGrid::ColWidthsChanged();
  AutoSizeColumns(false);
}

void TValueListEditor::ClientResized() {
  AutoSizeColumns(true);
  TCustomDrawGrid::ClientResized();
}

void TValueListEditor::Loaded() {
  TCustomDrawGrid::Loaded();
  AutoSizeColumns(false);
}

void TValueListEditor::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
  std::wstring text = Cells(col, row);
  if (!text.empty()) {
    TCanvas& canvas = Canvas();
    int y = rect.top + (rect.bottom - rect.top - canvas.TextHeight(text)) / 2;
    canvas.TextRect(rect, rect.left + TextIndent, y, text);
  }
  TCustomDrawGrid::DrawCell(col, row, rect, state);
}

const TClassInfo& TValueListEditor::StaticClassInfo() {
  static const TClassInfo info{
      "TValueListEditor",
      &TCustomDrawGrid::StaticClassInfo(),
      &NewComponent<TValueListEditor>,
      {props::Prop("DisplayOptions", TPropKind::Set, &TValueListEditor::DisplayOptions,
                   &TValueListEditor::SetDisplayOptions, {"doColumnTitles", "doAutoColResize", "doKeyColFixed"}),
       props::Field<&TValueListEditor::KeyOptions>("KeyOptions", TPropKind::Set,
                                                   {"keyEdit", "keyAdd", "keyDelete", "keyUnique"}),
       {"Strings", TPropKind::Object,
        [](TObject* o) -> TPropValue { return static_cast<TObject*>(&As<TValueListEditor>(o)->Strings()); }, nullptr},
       {"TitleCaptions", TPropKind::Object,
        [](TObject* o) -> TPropValue { return static_cast<TObject*>(&As<TValueListEditor>(o)->TitleCaptions()); },
        nullptr}},
      {}};
  return info;
}

void RegisterGridControls() { RegisterClass(&TValueListEditor::StaticClassInfo()); }

}  // namespace fw
