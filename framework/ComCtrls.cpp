// Status bar with panels and owner drawing, progress bar, rich-edit text viewer.
#include "ComCtrls.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "PropTables.h"

namespace fw {

namespace {

using props::Prop;
using props::SubObject;

const std::vector<std::string> AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};
const std::vector<std::string> PanelStyleNames{"psText", "psOwnerDraw"};
const std::vector<std::string> PanelBevelNames{"pbNone", "pbLowered", "pbRaised"};
const std::vector<std::string> ProgressOrientationNames{"pbHorizontal", "pbVertical"};

// The rich-edit library of the process, loaded on first use and kept until exit (windows of
// its classes may live until then).
class TRichEditLibrary {
public:
  static const wchar_t* ClassName() {
    static TRichEditLibrary lib;
    return lib.FClass;
  }
  ~TRichEditLibrary() {
    if (FModule) FreeLibrary(FModule);
  }

private:
  TRichEditLibrary() {
    if ((FModule = LoadLibraryW(L"riched20.dll"))) {
      FClass = L"RichEdit20W";
    } else if ((FModule = LoadLibraryW(L"Msftedit.dll"))) {
      FClass = L"RICHEDIT50W";
    } else {
      throw EWin32Error(L"无法载入 RichEdit 组件: " + SysErrorMessage(GetLastError()));
    }
  }
  HMODULE FModule = nullptr;
  const wchar_t* FClass = L"";
};

}  // namespace

void InitCommonControlClasses() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES |
                                              ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

// ---------------------------------------------------------------------------
// TStatusPanel / TStatusPanels
// ---------------------------------------------------------------------------

const TClassInfo& TStatusPanel::StaticClassInfo() {
  static const TClassInfo info{
      "TStatusPanel",
      &TPersistent::StaticClassInfo(),
      {},
      {Prop("Text", TPropKind::String, &TStatusPanel::Text, &TStatusPanel::SetText),
       Prop("Width", TPropKind::Integer, &TStatusPanel::Width, &TStatusPanel::SetWidth),
       Prop("Alignment", TPropKind::Enumeration, &TStatusPanel::Alignment, &TStatusPanel::SetAlignment,
            AlignmentNames),
       Prop("Style", TPropKind::Enumeration, &TStatusPanel::Style, &TStatusPanel::SetStyle, PanelStyleNames),
       Prop("Bevel", TPropKind::Enumeration, &TStatusPanel::Bevel, &TStatusPanel::SetBevel, PanelBevelNames)},
      {}};
  return info;
}

int TStatusPanel::Index() const { return FOwner->IndexOf(this); }

void TStatusPanel::Changed(bool layout) { FOwner->Changed(this, layout); }

void TStatusPanel::SetText(const std::wstring& s) {
  if (s == FText) return;
  FText = s;
  Changed(false);
}

void TStatusPanel::SetWidth(int w) {
  if (w == FWidth) return;
  FWidth = w;
  Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment a) {
  if (a == FAlignment) return;
  FAlignment = a;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle s) {
  if (s == FStyle) return;
  FStyle = s;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel b) {
  if (b == FBevel) return;
  FBevel = b;
  Changed(false);
}

FW_DEFINE_CLASS(TStatusPanels, TCollection)

TStatusPanel* TStatusPanels::Add() {
  TStatusPanel* p = FItems.emplace_back(std::make_unique<TStatusPanel>(this)).get();
  Changed(p, true);
  return p;
}

void TStatusPanels::Delete(int i) {
  FItems.erase(FItems.begin() + (Items(i), i));
  Changed(nullptr, true);
}

void TStatusPanels::Clear() {
  FItems.clear();
  Changed(nullptr, true);
}

int TStatusPanels::IndexOf(const TStatusPanel* p) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == p) return static_cast<int>(i);
  return -1;
}

void TStatusPanels::Changed(const TStatusPanel* panel, bool layout) {
  if (layout || !panel) FBar->UpdatePanels();
  else FBar->UpdatePanel(IndexOf(panel));
}

// ---------------------------------------------------------------------------
// TCustomStatusBar
// ---------------------------------------------------------------------------

const TClassInfo& TCustomStatusBar::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomStatusBar",
      &TWinControl::StaticClassInfo(),
      {},
      {SubObject("Panels", &TCustomStatusBar::Panels),
       Prop("SimplePanel", TPropKind::Boolean, &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel),
       Prop("SimpleText", TPropKind::String, &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText),
       Prop("SizeGrip", TPropKind::Boolean, &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip),
       MethodProp<TCustomStatusBar, &TCustomStatusBar::OnDrawPanel>("OnDrawPanel")},
      {}};
  return info;
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TWinControl(owner) {
  ControlStyle &= ~csSetCaption;
  SetBounds(0, 0, 200, 19);
  SetAlign(alBottom);
}

TCustomStatusBar::~TCustomStatusBar() {
  SetDestroying();
  DestroyHandle();
}

void TCustomStatusBar::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.WinClassName = STATUSCLASSNAMEW;
  // The framework lays the bar out (Align); the control must not move itself.
  p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (FSizeGrip) p.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateHandleDone() { UpdatePanels(); }

void TCustomStatusBar::SetSimplePanel(bool v) {
  FSimplePanel = v;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), SB_SIMPLE, v, 0);
  UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::wstring& s) {
  FSimpleText = s;
  if (HandleAllocated())
    SendMessageW(HandleIfAllocated(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
}

void TCustomStatusBar::SetSizeGrip(bool v) {
  if (v == FSizeGrip) return;
  FSizeGrip = v;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomStatusBar::UpdatePanels() {
  HWND h = HandleIfAllocated();
  if (!h) return;
  SendMessageW(h, SB_SIMPLE, FSimplePanel, 0);
  if (FSimplePanel) {
    SendMessageW(h, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
    return;
  }
  // Right edges of the parts; the last one reaches the end of the bar.
  int n = std::min(FPanels.Count(), 255);
  std::vector<int> edges(static_cast<size_t>(std::max(n, 1)), -1);
  int x = 0;
  for (int i = 0; i < n - 1; ++i) edges[static_cast<size_t>(i)] = x += FPanels[i]->Width();
  SendMessageW(h, SB_SETPARTS, static_cast<WPARAM>(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < n; ++i) UpdatePanel(i);
  InvalidateRect(h, nullptr, TRUE);
}

void TCustomStatusBar::UpdatePanel(int index) {
  HWND h = HandleIfAllocated();
  if (!h || FSimplePanel || index < 0 || index >= FPanels.Count() || index > 254) return;
  TStatusPanel* p = FPanels[index];
  WPARAM type = static_cast<WPARAM>(index);
  if (p->Bevel() == pbNone) type |= SBT_NOBORDERS;
  else if (p->Bevel() == pbRaised) type |= SBT_POPOUT;
  if (p->Style() == psOwnerDraw) {
    SendMessageW(h, SB_SETTEXTW, type | SBT_OWNERDRAW, static_cast<LPARAM>(index));
    return;
  }
  // The control centres text after one tab and right-aligns it after two.
  std::wstring text = p->Alignment() == taCenter ? L"\t" + p->Text()
                      : p->Alignment() == taRightJustify ? L"\t\t" + p->Text()
                                                         : p->Text();
  SendMessageW(h, SB_SETTEXTW, type, reinterpret_cast<LPARAM>(text.c_str()));
}

RECT TCustomStatusBar::PanelRect(int i) {
  RECT r{0, 0, 0, 0};
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomStatusBar::DrawPanel(TStatusPanel* panel, const RECT& rect) {
  if (OnDrawPanel) OnDrawPanel(this, panel, rect);
  else FCanvas.FillRect(rect);
}

void TCustomStatusBar::PaintPanel(HDC dc, int index, const RECT& rect, TColor background) {
  if (!dc || index < 0 || index >= FPanels.Count()) return;
  TSaveDC saved(dc);
  FCanvas.SetHandle(dc);
  struct TRelease {
    TCanvas& C;
    ~TRelease() { C.SetHandle(nullptr); }
  } release{FCanvas};
  FCanvas.Font().Assign(*Font());
  FCanvas.Brush().SetColor(background == clDefault ? Color() : background);
  DrawPanel(FPanels[index], rect);
}

void TCustomStatusBar::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    PaintPanel(d->hDC, static_cast<int>(d->itemID), d->rcItem);
    m.Result = TRUE;
    return;
  }
  TWinControl::WndProc(m);
}

FW_DEFINE_CREATABLE_CLASS(TStatusBar, TCustomStatusBar)

// ---------------------------------------------------------------------------
// TProgressBar
// ---------------------------------------------------------------------------

const TClassInfo& TProgressBar::StaticClassInfo() {
  static const TClassInfo info{
      "TProgressBar",
      &TWinControl::StaticClassInfo(),
      &NewComponent<TProgressBar>,
      {Prop("Min", TPropKind::Integer, &TProgressBar::Min, &TProgressBar::SetMin),
       Prop("Max", TPropKind::Integer, &TProgressBar::Max, &TProgressBar::SetMax),
       Prop("Position", TPropKind::Integer, &TProgressBar::Position, &TProgressBar::SetPosition),
       Prop("Orientation", TPropKind::Enumeration, &TProgressBar::Orientation, &TProgressBar::SetOrientation,
            ProgressOrientationNames)},
      {}};
  return info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
  ControlStyle &= ~csSetCaption;
  SetBounds(0, 0, 150, 16);
}

void TProgressBar::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.WinClassName = PROGRESS_CLASSW;
  if (FOrientation == pbVertical) p.Style |= PBS_VERTICAL;
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == FOrientation) return;
  FPosition = Position();
  FOrientation = v;
  if (HandleAllocated()) RecreateWnd();
}

void TProgressBar::CreateHandleDone() {
  SendMessageW(HandleIfAllocated(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetRange(int min, int max) {
  FMin = min;
  FMax = std::max(min, max);
  FPosition = std::clamp(FPosition, FMin, FMax);
  if (HandleAllocated()) {
    SendMessageW(HandleIfAllocated(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
  }
}

void TProgressBar::SetMin(int v) { SetRange(v, std::max(v, FMax)); }
void TProgressBar::SetMax(int v) { SetRange(std::min(v, FMin), v); }

int TProgressBar::Position() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageW(HandleIfAllocated(), PBM_GETPOS, 0, 0));
  return FPosition;
}

void TProgressBar::SetPosition(int v) {
  FPosition = std::clamp(v, FMin, FMax);
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

// ---------------------------------------------------------------------------
// TCustomRichEdit
// ---------------------------------------------------------------------------

const TClassInfo& TCustomRichEdit::StaticClassInfo() {
  static const TClassInfo info{
      "TCustomRichEdit",
      &TCustomMemo::StaticClassInfo(),
      {},
      {Prop("PlainText", TPropKind::Boolean, &TCustomRichEdit::PlainText, &TCustomRichEdit::SetPlainText)},
      {}};
  return info;
}

TCustomRichEdit::TCustomRichEdit(TComponent* owner) : TCustomMemo(owner) {}

void TCustomRichEdit::CreateParams(TCreateParams& p) {
  TCustomMemo::CreateParams(p);
  p.WinClassName = TRichEditLibrary::ClassName();
  p.Caption.clear();  // the text follows once the limit and the text mode are set
}

void TCustomRichEdit::CreateHandleDone() {
  HWND h = HandleIfAllocated();
  TCustomMemo::CreateHandleDone();
  // Rich edits hold 32K characters unless told otherwise; lift the limit.
  SendMessageW(h, EM_EXLIMITTEXT, 0, MaxLength() > 0 ? MaxLength() : 0x7FFFFFFE);
  if (FPlainText) SendMessageW(h, EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
  SendMessageW(h, EM_SETEVENTMASK, 0, ENM_CHANGE);
  SendMessageW(h, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof(cf);
  cf.dwMask = CFM_COLOR;
  cf.crTextColor = ColorToRGB(Font()->Color());
  SendMessageW(h, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
  SetWindowTextW(h, FText.c_str());
}

void TCustomRichEdit::SetPlainText(bool v) {
  if (v == FPlainText) return;
  FPlainText = v;
  if (HandleAllocated()) RecreateWnd();
}

FW_DEFINE_CREATABLE_CLASS(TRichEdit, TCustomRichEdit)

void RegisterComCtrls() {
  for (const TClassInfo* c :
       {&TStatusBar::StaticClassInfo(), &TProgressBar::StaticClassInfo(), &TRichEdit::StaticClassInfo(),
        &TUpDown::StaticClassInfo(), &TTrackBar::StaticClassInfo(), &TDateTimePicker::StaticClassInfo(),
        &TTabControl::StaticClassInfo(), &TTabSheet::StaticClassInfo(), &TPageControl::StaticClassInfo(),
        &THeaderControl::StaticClassInfo(), &TListView::StaticClassInfo()})
    RegisterClass(c);
}

}  // namespace fw
