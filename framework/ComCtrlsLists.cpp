// Header control with its sections and the list view with its columns and rows.
#include "ComCtrls.h"

#include <commctrl.h>

#include "PropTables.h"

namespace fw {

namespace {

using props::Prop;
using props::SubObject;

const std::vector<std::string> AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> ViewStyleNames{"vsIcon", "vsSmallIcon", "vsList", "vsReport"};

int HeaderFormat(TAlignment a) {
  return a == taCenter ? HDF_CENTER : a == taRightJustify ? HDF_RIGHT : HDF_LEFT;
}

int ColumnFormat(TAlignment a) {
  return a == taCenter ? LVCFMT_CENTER : a == taRightJustify ? LVCFMT_RIGHT : LVCFMT_LEFT;
}

}  // namespace

// ---------------------------------------------------------------------------
// THeaderSection / THeaderControl
// ---------------------------------------------------------------------------

const TClassInfo& THeaderSection::StaticClassInfo() {
  static const TClassInfo info{
      "THeaderSection",
      &TPersistent::StaticClassInfo(),
      {},
      {Prop("Text", TPropKind::String, &THeaderSection::Text, &THeaderSection::SetText),
       Prop("Width", TPropKind::Integer, &THeaderSection::Width, &THeaderSection::SetWidth),
       Prop("MinWidth", TPropKind::Integer, &THeaderSection::MinWidth, &THeaderSection::SetMinWidth),
       Prop("MaxWidth", TPropKind::Integer, &THeaderSection::MaxWidth, &THeaderSection::SetMaxWidth),
       Prop("Alignment", TPropKind::Enumeration, &THeaderSection::Alignment, &THeaderSection::SetAlignment,
            AlignmentNames)},
      {}};
  return info;
}

void THeaderSection::SetText(const std::wstring& s) {
  FText = s;
  FOwner->Changed();
}

void THeaderSection::SetWidth(int w) {
  FWidth = std::clamp(w, FMinWidth, std::max(FMinWidth, FMaxWidth));
  FOwner->Changed();
}

void THeaderSection::SetMinWidth(int w) {
  FMinWidth = std::max(w, 0);
  SetWidth(FWidth);
}

void THeaderSection::SetMaxWidth(int w) {
  FMaxWidth = std::max(w, 0);
  SetWidth(FWidth);
}

void THeaderSection::SetAlignment(TAlignment a) {
  FAlignment = a;
  FOwner->Changed();
}

const TClassInfo& THeaderControl::StaticClassInfo() {
  static const TClassInfo info{"THeaderControl",
                               &TWinControl::StaticClassInfo(),
                               &NewComponent<THeaderControl>,
                               {SubObject("Sections", &THeaderControl::Sections)},
                               {}};
  return info;
}

THeaderControl::THeaderControl(TComponent* owner) : TWinControl(owner) {
  ControlStyle &= ~(csSetCaption | csClickEvents);
  SetBounds(0, 0, 200, 20);
  SetAlign(alTop);
  FSections.OnChanged = [this] { UpdateSections(); };
}

THeaderControl::~THeaderControl() {
  SetDestroying();
  FSections.OnChanged = nullptr;
}

void THeaderControl::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.WinClassName = WC_HEADERW;
  p.Style |= HDS_BUTTONS | HDS_HORZ | HDS_FULLDRAG;
}

void THeaderControl::CreateHandleDone() { UpdateSections(); }

void THeaderControl::UpdateSections() {
  if (!HandleAllocated() || FUpdating) return;
  HWND h = HandleIfAllocated();
  while (SendMessageW(h, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageW(h, HDM_DELETEITEM, 0, 0);
  for (int i = 0; i < FSections.Count(); ++i) {
    THeaderSection* s = FSections.Items(i);
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = const_cast<wchar_t*>(s->Text().c_str());
    item.cxy = s->Width();
    item.fmt = HDF_STRING | HeaderFormat(s->Alignment());
    SendMessageW(h, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

void THeaderControl::WndProc(TMessage& m) {
  if (const NMHDR* h = ReflectedNotifyHeader(m); h && (h->code == HDN_ITEMCHANGEDW || h->code == HDN_ITEMCHANGEDA)) {
    // A section dragged to a new width keeps it (within its limits).
    const auto* n = reinterpret_cast<const NMHEADERW*>(h);
    if (n->pitem && (n->pitem->mask & HDI_WIDTH) && n->iItem >= 0 && n->iItem < FSections.Count()) {
      THeaderSection* s = FSections.Items(n->iItem);
      FUpdating = true;
      s->SetWidth(n->pitem->cxy);
      FUpdating = false;
    }
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TListColumn / TListView
// ---------------------------------------------------------------------------

const TClassInfo& TListColumn::StaticClassInfo() {
  static const TClassInfo info{
      "TListColumn",
      &TPersistent::StaticClassInfo(),
      {},
      {Prop("Caption", TPropKind::String, &TListColumn::Caption, &TListColumn::SetCaption),
       Prop("Width", TPropKind::Integer, &TListColumn::Width, &TListColumn::SetWidth),
       Prop("Alignment", TPropKind::Enumeration, &TListColumn::Alignment, &TListColumn::SetAlignment,
            AlignmentNames)},
      {}};
  return info;
}

void TListColumn::SetCaption(const std::wstring& s) {
  FCaption = s;
  FOwner->Changed();
}

void TListColumn::SetWidth(int w) {
  FWidth = w;
  FOwner->Changed();
}

void TListColumn::SetAlignment(TAlignment a) {
  FAlignment = a;
  FOwner->Changed();
}

const TClassInfo& TListView::StaticClassInfo() {
  static const TClassInfo info{
      "TListView",
      &TWinControl::StaticClassInfo(),
      &NewComponent<TListView>,
      {SubObject("Columns", &TListView::Columns),
       Prop("ViewStyle", TPropKind::Enumeration, &TListView::ViewStyle, &TListView::SetViewStyle, ViewStyleNames),
       Prop("RowSelect", TPropKind::Boolean, &TListView::RowSelect, &TListView::SetRowSelect),
       Prop("GridLines", TPropKind::Boolean, &TListView::GridLines, &TListView::SetGridLines),
       MethodProp<TListView, &TListView::OnClick>("OnClick")},
      {}};
  return info;
}

TListView::TListView(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  ControlStyle &= ~csSetCaption;
  SetBounds(0, 0, 250, 150);
  FColumns.OnChanged = [this] { UpdateColumns(); };
}

TListView::~TListView() {
  SetDestroying();
  FColumns.OnChanged = nullptr;
}

void TListView::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.WinClassName = WC_LISTVIEWW;
  p.Style |= LVS_SHOWSELALWAYS | LVS_SINGLESEL;
  switch (FViewStyle) {
    case vsIcon: p.Style |= LVS_ICON; break;
    case vsSmallIcon: p.Style |= LVS_SMALLICON; break;
    case vsList: p.Style |= LVS_LIST; break;
    case vsReport: p.Style |= LVS_REPORT; break;
  }
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListView::CreateHandleDone() {
  UpdateExtendedStyle();
  UpdateColumns();
  for (int i = 0; i < ItemCount(); ++i) InsertRow(i);
  SetItemIndex(FItemIndex);
}

void TListView::UpdateExtendedStyle() {
  if (!HandleAllocated()) return;
  const DWORD mask = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
  const DWORD bits = (FRowSelect ? LVS_EX_FULLROWSELECT : 0) | (FGridLines ? LVS_EX_GRIDLINES : 0);
  SendMessageW(HandleIfAllocated(), LVM_SETEXTENDEDLISTVIEWSTYLE, mask, bits);
}

void TListView::UpdateColumns() {
  if (!HandleAllocated()) return;
  HWND h = HandleIfAllocated();
  // From the last column down: each index exists when it is deleted.
  HWND header = reinterpret_cast<HWND>(SendMessageW(h, LVM_GETHEADER, 0, 0));
  for (int i = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) - 1 : -1; i >= 0; --i)
    SendMessageW(h, LVM_DELETECOLUMN, static_cast<WPARAM>(i), 0);
  for (int i = 0; i < FColumns.Count(); ++i) {
    TListColumn* c = FColumns.Items(i);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.fmt = ColumnFormat(c->Alignment());
    col.cx = c->Width();
    col.pszText = const_cast<wchar_t*>(c->Caption().c_str());
    col.iSubItem = i;
    SendMessageW(h, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
  }
}

void TListView::InsertRow(int i) {
  HWND h = HandleIfAllocated();
  const TListItem& row = FItems[static_cast<size_t>(i)];
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = i;
  item.pszText = const_cast<wchar_t*>(row.Caption.c_str());
  SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  for (size_t k = 0; k < row.SubItems.size(); ++k) {
    LVITEMW sub{};
    sub.iSubItem = static_cast<int>(k + 1);
    sub.pszText = const_cast<wchar_t*>(row.SubItems[k].c_str());
    SendMessageW(h, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
  }
}

int TListView::AddItem(const std::wstring& caption, const std::vector<std::wstring>& subItems) {
  FItems.push_back({caption, subItems});
  const int i = ItemCount() - 1;
  if (HandleAllocated()) InsertRow(i);
  return i;
}

void TListView::Clear() {
  FItems.clear();
  FItemIndex = -1;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), LVM_DELETEALLITEMS, 0, 0);
}

int TListView::ItemIndex() const {
  if (!HandleAllocated()) return FItemIndex;
  return static_cast<int>(SendMessageW(HandleIfAllocated(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TListView::SetItemIndex(int i) {
  FItemIndex = i >= 0 && i < ItemCount() ? i : -1;
  if (!HandleAllocated()) return;
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(HandleIfAllocated(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  if (FItemIndex < 0) return;
  LVITEMW sel{};
  sel.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  sel.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(HandleIfAllocated(), LVM_SETITEMSTATE, static_cast<WPARAM>(FItemIndex), reinterpret_cast<LPARAM>(&sel));
}

void TListView::SetViewStyle(TViewStyle v) {
  if (v == FViewStyle) return;
  FItemIndex = ItemIndex();
  FViewStyle = v;
  RecreateWnd();
}

void TListView::SetRowSelect(bool v) {
  FRowSelect = v;
  UpdateExtendedStyle();
}

void TListView::SetGridLines(bool v) {
  FGridLines = v;
  UpdateExtendedStyle();
}

}  // namespace fw
