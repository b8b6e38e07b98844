// Standard controls over the system's window classes and their framework companions.
//
// Classes in this file:
//   TCustomEdit / TEdit          - single-line EDIT: ReadOnly, PasswordChar, MaxLength, OnChange
//   TMemoStrings                 - the lines of a multi-line edit window as a string list
//   TCustomMemo / TMemo          - multi-line EDIT with Lines and ScrollBars
//   TCustomLabel / TLabel        - text painted on the parent (no window), & accelerators
//   TBoundLabel / TLabeledEdit   - an edit with a label that follows it
//   TButtonControl / TButton     - BUTTON push button: Default, Cancel, ModalResult
//   TCustomGroupBox / TGroupBox  - a framed container with a caption
//   TGroupButton                 - one radio button of a radio group
//   TCustomRadioGroup/TRadioGroup- a group box of BUTTON radio buttons from a list of items
//   TCustomPanel / TPanel        - a bevelled container with a centred caption
//   TCustomCheckBox / TCheckBox  - BUTTON check box: State (with grayed), Checked, Alignment
//   TRadioButton                 - BUTTON radio button; checking one clears its siblings
//   TCustomComboBox / TComboBox  - COMBOBOX: Items, ItemIndex, Style, DropDownCount
//   TCustomListBox / TListBox    - LISTBOX: Items, ItemIndex, Style
//   TScrollBar                   - SCROLLBAR control: Kind, Min, Max, Position, page and steps
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include <algorithm>

#include "Controls.h"
#include "GdiHandles.h"
#include "Lists.h"

namespace fw {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;

// A string list whose published "Strings" takes a stored list ("Items.Strings = ( ... )").
class TControlStrings : public TStringList {
  FW_DECLARE_CLASS()
public:
  TNotifyEvent OnListChanged;  // every change, also inside BeginUpdate/EndUpdate pairs' end

protected:
  void Changed() override;
};

// ---------------------------------------------------------------------------
// Edits
// ---------------------------------------------------------------------------
class TCustomEdit : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomEdit(TComponent* owner);

  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  // 0: plain text; any other character masks what is typed.
  wchar_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(wchar_t c);
  // Maximum number of characters the user can type; 0 = no limit.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int n);
  void Clear() { SetText(L""); }
  void SelectAll();

  TNotifyEvent OnChange;

  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  virtual void Change();
  // Colours of the edit area: the control's Color and its font colour.
  LRESULT CtlColor(HDC dc);

private:
  bool FReadOnly = false;
  wchar_t FPasswordChar = 0;
  int FMaxLength = 0;
  TBrushHandle FBrush;
  COLORREF FBrushColor = CLR_INVALID;
};

class TEdit : public TCustomEdit {
  FW_DECLARE_CLASS()
public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// The lines of a memo, read from and written to its window (or its stored text while it has
// none). Lines are separated by CRLF, CR or LF; Add appends at the end without rewriting the
// text and scrolls the new line into view.
class TMemoStrings : public TPersistent {
  FW_DECLARE_CLASS()
public:
  explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}
  int Count() const;
  std::wstring Strings(int index) const;  // raises EListError outside 0..Count-1
  std::wstring operator[](int index) const { return Strings(index); }
  std::vector<std::wstring> ToVector() const;
  void Assign(const std::vector<std::wstring>& lines);
  int Add(const std::wstring& line);
  void Clear();
  // The lines, each ending with CRLF.
  std::wstring Text() const;
  void SetText(const std::wstring& text);

private:
  TCustomMemo* FMemo;
};

class TCustomMemo : public TCustomEdit {
  FW_DECLARE_CLASS()
public:
  explicit TCustomMemo(TComponent* owner);
  TMemoStrings* Lines() const { return &FLines; }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle s);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  // Moves the caret to the end and scrolls it into view.
  void ScrollToEnd();

protected:
  void CreateParams(TCreateParams& p) override;

private:
  mutable TMemoStrings FLines{this};
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
};

class TMemo : public TCustomMemo {
  FW_DECLARE_CLASS()
public:
  using TCustomMemo::TCustomMemo;
};

// ---------------------------------------------------------------------------
// Labels
// ---------------------------------------------------------------------------
// Draws a caption in the given colour, or embossed (a highlight copy one pixel down and right
// under the shadow-coloured text) when the control is disabled. The caller selects the font
// and the background mode.
void DrawCaptionText(HDC dc, const std::wstring& text, const RECT& rect, UINT flags, bool enabled, TColor color);

class TCustomLabel : public TGraphicControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomLabel(TComponent* owner);

  void SetText(const std::wstring& s) override;
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  // Alt + the label's accelerator focuses this control.
  TWinControl* FocusControl = nullptr;
  bool ShowAccelChar = true;

  void WndProc(TMessage& m) override;

protected:
  void Paint() override;
  // Fits the bounds to the caption when AutoSize is on.
  virtual void AdjustBounds();
  UINT DrawFlags() const;

private:
  bool FAutoSize = true;
  bool FTransparent = false;
  TAlignment FAlignment = taLeftJustify;
};

class TLabel : public TCustomLabel {
  FW_DECLARE_CLASS()
public:
  using TCustomLabel::TCustomLabel;
};

class TLabeledEdit;

// The label of a labelled edit; moving or resizing it places it again beside its edit.
class TBoundLabel : public TCustomLabel {
  FW_DECLARE_CLASS()
public:
  explicit TBoundLabel(TLabeledEdit* edit);

protected:
  void AdjustBounds() override;

private:
  TLabeledEdit* FEdit;
};

enum class TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };
using enum TLabelPosition;

class TLabeledEdit : public TCustomEdit {
  FW_DECLARE_CLASS()
public:
  explicit TLabeledEdit(TComponent* owner);
  ~TLabeledEdit() override;

  TBoundLabel* EditLabel() const { return FEditLabel; }
  TLabelPosition LabelPosition() const { return FLabelPosition; }
  void SetLabelPosition(TLabelPosition p);
  int LabelSpacing() const { return FLabelSpacing; }
  void SetLabelSpacing(int v);

  void SetParent(TWinControl* parent) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  // Places the label beside the edit by LabelPosition and LabelSpacing.
  void PlaceLabel();

protected:
  void BoundsChanged() override;
  void Notification(TComponent* c, TOperation op) override;

private:
  TBoundLabel* FEditLabel = nullptr;
  TLabelPosition FLabelPosition = lpAbove;
  int FLabelSpacing = 3;
  bool FPlacing = false;
};

// ---------------------------------------------------------------------------
// Buttons
// ---------------------------------------------------------------------------
class TButtonControl : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TButtonControl(TComponent* owner);
  // The window's background (around a check box's or radio button's caption) in the control's
  // Color, which follows its parent's.
  void WndProc(TMessage& m) override;

private:
  TBrushHandle FBackBrush;
  TColor FBackColor = clNone;
};

class TButton : public TButtonControl {
  FW_DECLARE_CLASS()
public:
  explicit TButton(TComponent* owner);

  // Enter presses the default button of the form (unless another button has the focus).
  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  // Escape presses the cancel button.
  bool Cancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  // A non-zero value is given to the form as its ModalResult when the button is clicked.
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int v) { FModalResult = v; }

  void Click() override;
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;

private:
  bool FDefault = false;
  bool FCancel = false;
  int FModalResult = 0;
};

// ---------------------------------------------------------------------------
// Group boxes and radio groups
// ---------------------------------------------------------------------------
class TCustomGroupBox : public TCustomControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomGroupBox(TComponent* owner);
  void SetText(const std::wstring& s) override;
  void WndProc(TMessage& m) override;

protected:
  void Paint() override;
  // The children are laid out inside the frame, below the caption.
  void AlignControls(RECT& rect) override;
  // Height of the caption in the control's font.
  int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
  FW_DECLARE_CLASS()
public:
  using TCustomGroupBox::TCustomGroupBox;
};

class TCustomRadioGroup;

// One radio button (BUTTON, BS_RADIOBUTTON) of a radio group; the group keeps the checks.
class TGroupButton : public TButtonControl {
  FW_DECLARE_CLASS()
public:
  TGroupButton(TCustomRadioGroup* group);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  TCustomRadioGroup* FGroup;
  bool FChecked = false;
};

class TCustomRadioGroup : public TCustomGroupBox {
  FW_DECLARE_CLASS()
public:
  explicit TCustomRadioGroup(TComponent* owner);
  ~TCustomRadioGroup() override;

  TControlStrings* Items() const { return &FItems; }
  // -1: nothing selected. Setting it does not raise OnClick.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int i);
  int Columns() const { return FColumns; }
  void SetColumns(int n);
  int ButtonCount() const { return static_cast<int>(FButtons.size()); }
  TGroupButton* Buttons(int i) const { return FButtons.at(static_cast<size_t>(i)); }

  void WndProc(TMessage& m) override;

protected:
  friend class TGroupButton;
  // A button was chosen by the user (click, space or arrow keys).
  void ButtonChosen(TGroupButton* button);
  void MoveSelection(TGroupButton* from, int delta);
  void BoundsChanged() override;
  void Loaded() override;

private:
  void ItemsChanged(TObject*);
  void UpdateButtons();
  void ArrangeButtons();
  void Notification(TComponent* c, TOperation op) override;

  mutable TControlStrings FItems;
  std::vector<TGroupButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
};

class TRadioGroup : public TCustomRadioGroup {
  FW_DECLARE_CLASS()
public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

// ---------------------------------------------------------------------------
// Panels
// ---------------------------------------------------------------------------
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using enum TBevelCut;

class TCustomPanel : public TCustomControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut b);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut b);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int w);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  void SetText(const std::wstring& s) override;

protected:
  void Paint() override;
  void AlignControls(RECT& rect) override;
  int BorderInset() const;

private:
  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
  int FBevelWidth = 1;
  TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
  FW_DECLARE_CLASS()
public:
  using TCustomPanel::TCustomPanel;
};

// ---------------------------------------------------------------------------
// Check boxes and radio buttons (StdCtrlsChoice.cpp)
// ---------------------------------------------------------------------------
enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
using enum TCheckBoxState;

// A BUTTON check box that keeps its own state: a click moves unchecked -> checked (-> grayed when
// AllowGrayed) -> unchecked and raises OnClick; setting the state from code raises nothing.
class TCustomCheckBox : public TButtonControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomCheckBox(TComponent* owner);
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState s);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v) { FAllowGrayed = v; }
  // taRightJustify (default): the caption right of the box; taLeftJustify: left of it.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  // The user's click: the next state, then OnClick.
  virtual void Toggle();

private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  FW_DECLARE_CLASS()
public:
  using TCustomCheckBox::TCustomCheckBox;
};

// A BUTTON radio button; checking it (by a click or from code) clears the radio buttons beside it
// (same parent). A click on an unchecked button raises OnClick.
class TRadioButton : public TButtonControl {
  FW_DECLARE_CLASS()
public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const { return FChecked; }
  void SetChecked(bool v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  bool FChecked = false;
  TAlignment FAlignment = taRightJustify;
};

// ---------------------------------------------------------------------------
// Combo boxes and list boxes (StdCtrlsChoice.cpp)
// ---------------------------------------------------------------------------
enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
using enum TComboBoxStyle;
enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
using enum TListBoxStyle;

// COMBOBOX. Items are kept by the control and given to the window whenever they change (or the
// window is made); ItemIndex is the window's selection while it exists. The window is made as
// tall as DropDownCount items below the edit, the height the drop-down list opens with.
class TCustomComboBox : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;
  TControlStrings* Items() const { return &FItems; }
  int ItemIndex() const;
  void SetItemIndex(int i);
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle s);  // re-creates the window
  int DropDownCount() const { return FDropDownCount; }
  // The open list shows at most n items: the window's height for the classic control, the
  // minimum of visible items (CB_SETMINVISIBLE) for the themed one, which ignores the height.
  void SetDropDownCount(int n);
  bool DroppedDown() const;
  TNotifyEvent OnChange;  // the text was edited or another item chosen
  void WndProc(TMessage& m) override;
  // Height is the closed control's; the window keeps room below it for the open list.
  void SetBounds(int left, int top, int width, int height) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  void ItemsChanged(TObject*);
  int WindowHeight(int height) const;
  mutable TControlStrings FItems;
  int FItemIndex = -1;
  TComboBoxStyle FStyle = csDropDown;
  int FDropDownCount = 8;
};

class TComboBox : public TCustomComboBox {
  FW_DECLARE_CLASS()
public:
  using TCustomComboBox::TCustomComboBox;
};

// LISTBOX with a border and a vertical scroll bar; a change of selection raises OnClick.
class TCustomListBox : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;
  TControlStrings* Items() const { return &FItems; }
  int ItemIndex() const;
  void SetItemIndex(int i);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle s);  // re-creates the window
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  void ItemsChanged(TObject*);
  mutable TControlStrings FItems;
  int FItemIndex = -1;
  TListBoxStyle FStyle = lbStandard;
};

class TListBox : public TCustomListBox {
  FW_DECLARE_CLASS()
public:
  using TCustomListBox::TCustomListBox;
};

// ---------------------------------------------------------------------------
// Scroll bar control (StdCtrlsChoice.cpp)
// ---------------------------------------------------------------------------
enum class TScrollBarKind { sbHorizontal, sbVertical };
using enum TScrollBarKind;

// A SCROLLBAR window that moves its own thumb: arrows by SmallChange, the track by LargeChange,
// dragging to the thumb's place; every move raises OnChange.
class TScrollBar : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TScrollBar(TComponent* owner);
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind k);  // re-creates the window, swapping width and height
  int Min() const { return FMin; }
  void SetMin(int v) { SetParams(FPosition, v, std::max(v, FMax)); }
  int Max() const { return FMax; }
  void SetMax(int v) { SetParams(FPosition, std::min(v, FMin), v); }
  int Position() const { return FPosition; }
  void SetPosition(int v) { SetParams(v, FMin, FMax); }
  // Clamps the position into min..max and shows all three.
  void SetParams(int position, int min, int max);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int v);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int v) { FSmallChange = v; }
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int v) { FLargeChange = v; }
  TNotifyEvent OnChange;
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  void UpdateWindow();
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0, FSmallChange = 1, FLargeChange = 1;
};

// Registers the classes of this unit with the class registry.
void RegisterStdControls();

}  // namespace fw
