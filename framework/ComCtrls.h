// Common controls over comctl32 and rich-edit window classes.
//
// Classes in this file:
//   TStatusPanel / TStatusPanels - one part of a status bar and the stored collection of them
//   TCustomStatusBar / TStatusBar - msctls_statusbar32: panels, simple mode, size grip, owner draw
//   TProgressBar                 - msctls_progress32: Min, Max, Position
//   TCustomRichEdit / TRichEdit  - a rich-edit window used as a (plain) text viewer
//   TUpDown                      - msctls_updown32 beside its Associate: Min, Max, Position, Orientation
//   TTrackBar                    - msctls_trackbar32: Min, Max, Position, Orientation, ticks
//   TDateTimePicker              - SysDateTimePick32: Kind (date or time), DateFormat, DateTime
//   TCustomTabControl / TTabControl - SysTabControl32 with Tabs and TabIndex; children in the display area
//   TTabSheet / TPageControl     - a tab control that shows one of its sheets, the sheets' captions as tabs
//   THeaderSection / THeaderControl - SysHeader32 with a stored collection of Sections
//   TListColumn / TListView      - SysListView32: Columns, ViewStyle, rows added in code
//
// InitCommonControlClasses registers the common control window classes these controls use.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "StdCtrls.h"

namespace fw {

class TCustomStatusBar;

enum class TStatusPanelStyle { psText, psOwnerDraw };
using enum TStatusPanelStyle;
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };
using enum TStatusPanelBevel;

class TStatusPanels;

class TStatusPanel : public TPersistent {
  FW_DECLARE_CLASS()
public:
  explicit TStatusPanel(TStatusPanels* owner) : FOwner(owner) {}
  int Index() const;
  const std::wstring& Text() const { return FText; }
  void SetText(const std::wstring& s);
  int Width() const { return FWidth; }
  void SetWidth(int w);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  TStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TStatusPanelStyle s);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel b);

private:
  void Changed(bool layout);
  TStatusPanels* FOwner;
  std::wstring FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelStyle FStyle = psText;
  TStatusPanelBevel FBevel = pbLowered;
};

class TStatusPanels : public TCollection {
  FW_DECLARE_CLASS()
public:
  explicit TStatusPanels(TCustomStatusBar* bar) : FBar(bar) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  TStatusPanel* Items(int i) const { return FItems.at(static_cast<size_t>(i)).get(); }
  TStatusPanel* operator[](int i) const { return Items(i); }
  TStatusPanel* Add();
  void Delete(int i);
  void Clear();
  int IndexOf(const TStatusPanel* p) const;
  TPersistent* AddItem() override { return Add(); }
  void ClearItems() override { Clear(); }
  // The bar shows the panels again; layout: widths or count changed.
  void Changed(const TStatusPanel* panel, bool layout);
  TCustomStatusBar* Bar() const { return FBar; }

private:
  TCustomStatusBar* FBar;
  std::vector<std::unique_ptr<TStatusPanel>> FItems;
};

using TDrawPanelEvent = TMethod<void(TCustomStatusBar* bar, TStatusPanel* panel, const RECT& rect)>;

class TCustomStatusBar : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomStatusBar(TComponent* owner);
  ~TCustomStatusBar() override;

  TStatusPanels* Panels() const { return &FPanels; }
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool v);
  const std::wstring& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::wstring& s);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool v);
  // Valid during DrawPanel: a canvas on the bar's drawing context with the bar's font.
  TCanvas& Canvas() { return FCanvas; }
  // Rectangle of panel i in the bar's client coordinates (empty when the bar has no window).
  RECT PanelRect(int i);
  // Draws panel i into dc through DrawPanel, as the bar's own owner drawing does: Canvas on dc
  // with the bar's font and a brush of the bar's colour, or of background when it is given
  // (someone painting the bar in other colours). dc's state is kept. Nothing for a bad index.
  void PaintPanel(HDC dc, int index, const RECT& rect, TColor background = clDefault);

  TDrawPanelEvent OnDrawPanel;

  // Sends the parts, their texts and styles to the window.
  void UpdatePanels();
  void UpdatePanel(int index);
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  // Draws an owner-drawn panel; the default raises OnDrawPanel or fills the panel.
  virtual void DrawPanel(TStatusPanel* panel, const RECT& rect);

private:
  mutable TStatusPanels FPanels{this};
  TCanvas FCanvas;
  bool FSimplePanel = false;
  bool FSizeGrip = true;
  std::wstring FSimpleText;
};

class TStatusBar : public TCustomStatusBar {
  FW_DECLARE_CLASS()
public:
  using TCustomStatusBar::TCustomStatusBar;
};

enum class TProgressBarOrientation { pbHorizontal, pbVertical };
using enum TProgressBarOrientation;

class TProgressBar : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TProgressBar(TComponent* owner);
  // A vertical bar fills from the bottom up (the window is made again).
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation v);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  // Read from the window when it exists; values outside Min..Max are clamped.
  int Position() const;
  void SetPosition(int v);
  void SetRange(int min, int max);

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  int FMin = 0, FMax = 100, FPosition = 0;
  TProgressBarOrientation FOrientation = pbHorizontal;
};

class TCustomRichEdit : public TCustomMemo {
  FW_DECLARE_CLASS()
public:
  explicit TCustomRichEdit(TComponent* owner);
  // Text mode without formatting (set before the window is created, or it is re-created).
  bool PlainText() const { return FPlainText; }
  void SetPlainText(bool v);

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  bool FPlainText = false;
};

class TRichEdit : public TCustomRichEdit {
  FW_DECLARE_CLASS()
public:
  using TCustomRichEdit::TCustomRichEdit;
};

// Registers the common control window classes of this unit (once per process).
void InitCommonControlClasses();

// A stored collection of items of class I ("Sections = < item ... end >"); every change of the
// list or of an item calls OnChanged.
template <class I>
class TItemCollection : public TCollection {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  I* Items(int i) const { return FItems.at(static_cast<size_t>(i)).get(); }
  I* Add() {
    I* item = FItems.emplace_back(std::make_unique<I>(this)).get();
    Changed();
    return item;
  }
  void Clear() {
    FItems.clear();
    Changed();
  }
  int IndexOf(const I* item) const {
    for (size_t i = 0; i < FItems.size(); ++i)
      if (FItems[i].get() == item) return static_cast<int>(i);
    return -1;
  }
  TPersistent* AddItem() override { return Add(); }
  void ClearItems() override { Clear(); }
  void Changed() {
    if (OnChanged) OnChanged();
  }
  std::function<void()> OnChanged;

private:
  std::vector<std::unique_ptr<I>> FItems;
};

// ---------------------------------------------------------------------------
// Up-down, track bar, date-time picker (ComCtrlsRange.cpp)
// ---------------------------------------------------------------------------
enum class TUDOrientation { udHorizontal, udVertical };
using enum TUDOrientation;
enum class TUDAlignButton { udLeft, udRight };
using enum TUDAlignButton;

// Arrow buttons that step Position between Min and Max. With an Associate (a windowed control,
// usually an edit) the buttons sit at its AlignButton side and show the position as its text.
// Each step raises OnClick.
class TUpDown : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TUpDown(TComponent* owner);
  ~TUpDown() override;
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* c);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int Increment() const { return FIncrement; }
  void SetIncrement(int v);
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation v);  // re-creates the window
  TUDAlignButton AlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton v);  // re-creates the window
  bool Wrap() const { return FWrap; }
  void SetWrap(bool v);  // re-creates the window
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void Notification(TComponent* c, TOperation op) override;

private:
  TWinControl* FAssociate = nullptr;
  int FMin = 0, FMax = 100, FPosition = 0, FIncrement = 1;
  TUDOrientation FOrientation = udVertical;
  TUDAlignButton FAlignButton = udRight;
  bool FWrap = false;
};

enum class TTrackBarOrientation { trHorizontal, trVertical };
using enum TTrackBarOrientation;
enum class TTickStyle { tsNone, tsAuto, tsManual };
using enum TTickStyle;
enum class TTickMark { tmBottomRight, tmTopLeft, tmBoth };
using enum TTickMark;

// A slider between Min and Max; a move by the user raises OnChange.
class TTrackBar : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TTrackBar(TComponent* owner);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  int Frequency() const { return FFrequency; }
  void SetFrequency(int v);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int v);
  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation v);  // re-creates the window, swapping width and height
  TTickStyle TickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle v);  // re-creates the window
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark v);  // re-creates the window
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  void SendRange();
  int FMin = 0, FMax = 10, FPosition = 0, FFrequency = 1, FPageSize = 2;
  TTrackBarOrientation FOrientation = trHorizontal;
  TTickStyle FTickStyle = tsAuto;
  TTickMark FTickMarks = tmBottomRight;
};

enum class TDateTimeKind { dtkDate, dtkTime };
using enum TDateTimeKind;
enum class TDTDateFormat { dfShort, dfLong };
using enum TDTDateFormat;

// A date (or time) field with a drop-down calendar; a change by the user raises OnChange.
class TDateTimePicker : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TDateTimePicker(TComponent* owner);
  TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind k);  // re-creates the window
  TDTDateFormat DateFormat() const { return FDateFormat; }
  void SetDateFormat(TDTDateFormat f);  // re-creates the window
  // The shown date and time (the window's while it exists).
  SYSTEMTIME DateTime() const;
  void SetDateTime(const SYSTEMTIME& t);
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  TDateTimeKind FKind = dtkDate;
  TDTDateFormat FDateFormat = dfShort;
  SYSTEMTIME FDateTime{};
};

// ---------------------------------------------------------------------------
// Tabs (ComCtrlsTabs.cpp)
// ---------------------------------------------------------------------------
enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using enum TTabStyle;
// The side of the control the tabs sit on.
enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
using enum TTabPosition;

// SysTabControl32 whose tab texts a descendant supplies; child controls are laid out in the
// display area below the tabs. A tab chosen by the user calls Change.
class TCustomTabControl : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomTabControl(TComponent* owner);
  int TabIndex() const;
  void SetTabIndex(int i);
  TTabStyle Style() const { return FStyle; }
  void SetStyle(TTabStyle s);  // re-creates the window
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool v);  // re-creates the window
  // Tabs on the left or right are always laid out in rows (the system draws vertical tabs only so).
  TTabPosition TabPosition() const { return FTabPosition; }
  void SetTabPosition(TTabPosition p);  // re-creates the window
  // The area inside the tabs' frame, in client coordinates.
  RECT DisplayRect() const;
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  void AlignControls(RECT& rect) override;
  // The tab texts, in order.
  virtual std::vector<std::wstring> TabTexts() const = 0;
  // The tabs changed: gives the window the texts again.
  void UpdateTabs();
  virtual void Change();
  int FTabIndex = -1;

private:
  TTabStyle FStyle = tsTabs;
  bool FMultiLine = false;
  TTabPosition FTabPosition = tpTop;
};

class TTabControl : public TCustomTabControl {
  FW_DECLARE_CLASS()
public:
  explicit TTabControl(TComponent* owner);
  ~TTabControl() override;
  TControlStrings* Tabs() const { return &FTabs; }

protected:
  std::vector<std::wstring> TabTexts() const override;

private:
  void TabsChanged(TObject*) { UpdateTabs(); }
  mutable TControlStrings FTabs;
};

class TPageControl;

// One page of a page control: a container shown while its tab is chosen; its Caption is the
// tab's text. It belongs to the page control that is its parent.
class TTabSheet : public TCustomControl {
  FW_DECLARE_CLASS()
public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* p);
  int PageIndex() const;
  void SetParent(TWinControl* parent) override;
  void SetText(const std::wstring& s) override;
  // A sheet without its tab stays a page of the control; only a program can show it.
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  // Index of the sheet's tab; -1 while its tab is hidden.
  int TabIndex() const;

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

// A tab control over its sheets: one tab per sheet, the active sheet shown in the display area.
class TPageControl : public TCustomTabControl {
  FW_DECLARE_CLASS()
public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int i) const { return FPages.at(static_cast<size_t>(i)); }
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int i);
  // The sheet shown by a tab (sheets whose tab is hidden have none); null for no such tab.
  TTabSheet* PageOfTab(int tabIndex) const;
  // The pages must stay: no close box is offered on their tabs, whatever the Tag asks for.
  bool FixedPages() const { return FFixedPages; }
  void SetFixedPages(bool v);

protected:
  std::vector<std::wstring> TabTexts() const override;
  void AlignControls(RECT& rect) override;
  void Change() override;
  void Loaded() override;

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  bool FFixedPages = false;
};

// ---------------------------------------------------------------------------
// Header and list view (ComCtrlsLists.cpp)
// ---------------------------------------------------------------------------
class THeaderSection : public TPersistent {
  FW_DECLARE_CLASS()
public:
  explicit THeaderSection(TItemCollection<THeaderSection>* owner) : FOwner(owner) {}
  int Index() const { return FOwner->IndexOf(this); }
  const std::wstring& Text() const { return FText; }
  void SetText(const std::wstring& s);
  int Width() const { return FWidth; }
  void SetWidth(int w);
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int w);
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int w);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);

private:
  friend class THeaderControl;
  TItemCollection<THeaderSection>* FOwner;
  std::wstring FText;
  int FWidth = 50, FMinWidth = 0, FMaxWidth = 10000;
  TAlignment FAlignment = taLeftJustify;
};

using THeaderSections = TItemCollection<THeaderSection>;

// SysHeader32 with button sections along the top of its parent; a section resized by the user
// keeps its new width.
class THeaderControl : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit THeaderControl(TComponent* owner);
  ~THeaderControl() override;
  THeaderSections* Sections() const { return &FSections; }
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  void UpdateSections();
  mutable THeaderSections FSections;
  bool FUpdating = false;
};

class TListColumn : public TPersistent {
  FW_DECLARE_CLASS()
public:
  explicit TListColumn(TItemCollection<TListColumn>* owner) : FOwner(owner) {}
  int Index() const { return FOwner->IndexOf(this); }
  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(const std::wstring& s);
  int Width() const { return FWidth; }
  void SetWidth(int w);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);

private:
  TItemCollection<TListColumn>* FOwner;
  std::wstring FCaption;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
};

using TListColumns = TItemCollection<TListColumn>;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
using enum TViewStyle;

// One row of a list view: its caption and the texts of the further columns.
struct TListItem {
  std::wstring Caption;
  std::vector<std::wstring> SubItems;
};

// SysListView32 with a border. Columns are stored; rows are added in code and kept by the
// control, so the window can be made again.
class TListView : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TListView(TComponent* owner);
  ~TListView() override;
  TListColumns* Columns() const { return &FColumns; }
  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle v);
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool v);
  bool GridLines() const { return FGridLines; }
  void SetGridLines(bool v);
  int AddItem(const std::wstring& caption, const std::vector<std::wstring>& subItems = {});
  int ItemCount() const { return static_cast<int>(FItems.size()); }
  const TListItem& Item(int i) const { return FItems.at(static_cast<size_t>(i)); }
  void Clear();
  // The selected row (-1: none).
  int ItemIndex() const;
  void SetItemIndex(int i);

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  void UpdateColumns();
  void InsertRow(int i);
  void UpdateExtendedStyle();
  mutable TListColumns FColumns;
  std::vector<TListItem> FItems;
  TViewStyle FViewStyle = vsIcon;
  bool FRowSelect = false;
  bool FGridLines = false;
  int FItemIndex = -1;
};

// Registers the classes of this unit with the class registry.
void RegisterComCtrls();

}  // namespace fw
