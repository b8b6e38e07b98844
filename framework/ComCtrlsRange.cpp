// Common controls that hold a value in a range: up-down buttons, track bar, date-time picker.
#include "ComCtrls.h"

#include <commctrl.h>

#include "PropTables.h"

namespace fw {

namespace {

using props::Prop;

const std::vector<std::string> UDOrientationNames{"udHorizontal", "udVertical"};
const std::vector<std::string> UDAlignNames{"udLeft", "udRight"};
const std::vector<std::string> TrackOrientationNames{"trHorizontal", "trVertical"};
const std::vector<std::string> TickStyleNames{"tsNone", "tsAuto", "tsManual"};
const std::vector<std::string> TickMarkNames{"tmBottomRight", "tmTopLeft", "tmBoth"};
const std::vector<std::string> DateKindNames{"dtkDate", "dtkTime"};
const std::vector<std::string> DateFormatNames{"dfShort", "dfLong"};

}  // namespace

// ---------------------------------------------------------------------------
// TUpDown
// ---------------------------------------------------------------------------

const TClassInfo& TUpDown::StaticClassInfo() {
  static const TClassInfo info{
      "TUpDown",
      &TWinControl::StaticClassInfo(),
      &NewComponent<TUpDown>,
      {{"Associate", TPropKind::Object,
        [](TObject* o) -> TPropValue { return static_cast<TObject*>(As<TUpDown>(o)->Associate()); },
        [](TObject* o, const TPropValue& v) {
          auto* c = std::get_if<TObject*>(&v);
          As<TUpDown>(o)->SetAssociate(c ? dynamic_cast<TWinControl*>(*c) : nullptr);
        }},
       Prop("Min", TPropKind::Integer, &TUpDown::Min, &TUpDown::SetMin),
       Prop("Max", TPropKind::Integer, &TUpDown::Max, &TUpDown::SetMax),
       Prop("Position", TPropKind::Integer, &TUpDown::Position, &TUpDown::SetPosition),
       Prop("Increment", TPropKind::Integer, &TUpDown::Increment, &TUpDown::SetIncrement),
       Prop("Orientation", TPropKind::Enumeration, &TUpDown::Orientation, &TUpDown::SetOrientation,
            UDOrientationNames),
       Prop("AlignButton", TPropKind::Enumeration, &TUpDown::AlignButton, &TUpDown::SetAlignButton, UDAlignNames),
       Prop("Wrap", TPropKind::Boolean, &TUpDown::Wrap, &TUpDown::SetWrap),
       MethodProp<TUpDown, &TUpDown::OnClick>("OnClick")},
      {}};
  return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
  ControlStyle &= ~(csSetCaption | csClickEvents);
  SetBounds(0, 0, 17, 25);
}

TUpDown::~TUpDown() {
  SetDestroying();
  if (FAssociate) RemoveFreeNotification(FAssociate);
}

void TUpDown::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.WinClassName = UPDOWN_CLASSW;
  p.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
  p.Style |= FAlignButton == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT;
  if (FOrientation == udHorizontal) p.Style |= UDS_HORZ;
  if (FWrap) p.Style |= UDS_WRAP;
}

void TUpDown::CreateHandleDone() {
  HWND h = HandleIfAllocated();
  SendMessageW(h, UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
  UDACCEL accel{0, static_cast<UINT>(FIncrement)};
  SendMessageW(h, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  if (FAssociate) SendMessageW(h, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->Handle()), 0);
  SendMessageW(h, UDM_SETPOS32, 0, FPosition);
}

void TUpDown::SetAssociate(TWinControl* c) {
  if (c == this) c = nullptr;
  if (FAssociate) RemoveFreeNotification(FAssociate);
  FAssociate = c;
  if (c) FreeNotification(c);
  if (HandleAllocated() && !IsLoading())
    SendMessageW(HandleIfAllocated(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(c ? c->Handle() : nullptr), 0);
}

void TUpDown::Notification(TComponent* c, TOperation op) {
  TWinControl::Notification(c, op);
  if (op == TOperation::opRemove && c == FAssociate) {
    FAssociate = nullptr;
    if (HandleAllocated()) SendMessageW(HandleIfAllocated(), UDM_SETBUDDY, 0, 0);
  }
}

void TUpDown::SetMin(int v) {
  FMin = v;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

void TUpDown::SetMax(int v) {
  FMax = v;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

int TUpDown::Position() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageW(HandleIfAllocated(), UDM_GETPOS32, 0, 0));
  return FPosition;
}

void TUpDown::SetPosition(int v) {
  FPosition = v;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), UDM_SETPOS32, 0, v);
}

void TUpDown::SetIncrement(int v) {
  FIncrement = v;
  if (!HandleAllocated()) return;
  UDACCEL accel{0, static_cast<UINT>(v)};
  SendMessageW(HandleIfAllocated(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TUpDown::SetOrientation(TUDOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  RecreateWnd();
}

void TUpDown::SetAlignButton(TUDAlignButton v) {
  if (v == FAlignButton) return;
  FAlignButton = v;
  RecreateWnd();
}

void TUpDown::SetWrap(bool v) {
  if (v == FWrap) return;
  FWrap = v;
  RecreateWnd();
}

void TUpDown::WndProc(TMessage& m) {
  if ((m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL) && LOWORD(m.WParam) == SB_THUMBPOSITION) {
    FPosition = Position();
    Click();
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TTrackBar
// ---------------------------------------------------------------------------

const TClassInfo& TTrackBar::StaticClassInfo() {
  static const TClassInfo info{
      "TTrackBar",
      &TWinControl::StaticClassInfo(),
      &NewComponent<TTrackBar>,
      {Prop("Min", TPropKind::Integer, &TTrackBar::Min, &TTrackBar::SetMin),
       Prop("Max", TPropKind::Integer, &TTrackBar::Max, &TTrackBar::SetMax),
       Prop("Position", TPropKind::Integer, &TTrackBar::Position, &TTrackBar::SetPosition),
       Prop("Frequency", TPropKind::Integer, &TTrackBar::Frequency, &TTrackBar::SetFrequency),
       Prop("PageSize", TPropKind::Integer, &TTrackBar::PageSize, &TTrackBar::SetPageSize),
       Prop("Orientation", TPropKind::Enumeration, &TTrackBar::Orientation, &TTrackBar::SetOrientation,
            TrackOrientationNames),
       Prop("TickStyle", TPropKind::Enumeration, &TTrackBar::TickStyle, &TTrackBar::SetTickStyle, TickStyleNames),
       Prop("TickMarks", TPropKind::Enumeration, &TTrackBar::TickMarks, &TTrackBar::SetTickMarks, TickMarkNames),
       MethodProp<TTrackBar, &TTrackBar::OnChange>("OnChange")},
      {}};
  return info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  ControlStyle &= ~(csSetCaption | csClickEvents);
  SetBounds(0, 0, 150, 45);
}

void TTrackBar::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.WinClassName = TRACKBAR_CLASSW;
  p.Style |= FOrientation == trVertical ? TBS_VERT : TBS_HORZ;
  if (FTickStyle == tsAuto) p.Style |= TBS_AUTOTICKS;
  if (FTickStyle == tsNone) p.Style |= TBS_NOTICKS;
  if (FTickMarks == tmBoth) p.Style |= TBS_BOTH;
  else if (FTickMarks == tmTopLeft) p.Style |= TBS_TOP;
}

void TTrackBar::SendRange() {
  if (!HandleAllocated()) return;
  HWND h = HandleIfAllocated();
  SendMessageW(h, TBM_SETRANGEMIN, FALSE, FMin);
  SendMessageW(h, TBM_SETRANGEMAX, FALSE, FMax);
  SendMessageW(h, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::CreateHandleDone() {
  HWND h = HandleIfAllocated();
  SendRange();
  SendMessageW(h, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
  SendMessageW(h, TBM_SETPAGESIZE, 0, FPageSize);
}

void TTrackBar::SetMin(int v) {
  FMin = v;
  FMax = std::max(FMax, v);
  FPosition = std::clamp(FPosition, FMin, FMax);
  SendRange();
}

void TTrackBar::SetMax(int v) {
  FMax = v;
  FMin = std::min(FMin, v);
  FPosition = std::clamp(FPosition, FMin, FMax);
  SendRange();
}

int TTrackBar::Position() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageW(HandleIfAllocated(), TBM_GETPOS, 0, 0));
  return FPosition;
}

void TTrackBar::SetPosition(int v) {
  FPosition = IsLoading() ? v : std::clamp(v, FMin, FMax);
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::SetFrequency(int v) {
  FFrequency = v;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), TBM_SETTICFREQ, static_cast<WPARAM>(v), 0);
}

void TTrackBar::SetPageSize(int v) {
  FPageSize = v;
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), TBM_SETPAGESIZE, 0, v);
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle v) {
  if (v == FTickStyle) return;
  FTickStyle = v;
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark v) {
  if (v == FTickMarks) return;
  FTickMarks = v;
  RecreateWnd();
}

void TTrackBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    const int now = Position();
    if (now != FPosition) {
      FPosition = now;
      if (OnChange) OnChange(this);
    }
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TDateTimePicker
// ---------------------------------------------------------------------------

const TClassInfo& TDateTimePicker::StaticClassInfo() {
  static const TClassInfo info{
      "TDateTimePicker",
      &TWinControl::StaticClassInfo(),
      &NewComponent<TDateTimePicker>,
      {Prop("Kind", TPropKind::Enumeration, &TDateTimePicker::Kind, &TDateTimePicker::SetKind, DateKindNames),
       Prop("DateFormat", TPropKind::Enumeration, &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat,
            DateFormatNames),
       MethodProp<TDateTimePicker, &TDateTimePicker::OnChange>("OnChange")},
      {}};
  return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  ControlStyle &= ~(csSetCaption | csClickEvents);
  SetBounds(0, 0, 186, 21);
  GetLocalTime(&FDateTime);
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
  InitCommonControlClasses();
  TWinControl::CreateParams(p);
  p.WinClassName = DATETIMEPICK_CLASSW;
  if (FKind == dtkTime) p.Style |= DTS_TIMEFORMAT;
  else p.Style |= FDateFormat == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT;
}

void TDateTimePicker::CreateHandleDone() {
  SendMessageW(HandleIfAllocated(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FDateTime));
}

SYSTEMTIME TDateTimePicker::DateTime() const {
  SYSTEMTIME t = FDateTime;
  if (HandleAllocated() &&
      SendMessageW(HandleIfAllocated(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)) != GDT_VALID)
    t = FDateTime;
  return t;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& t) {
  FDateTime = t;
  if (HandleAllocated())
    SendMessageW(HandleIfAllocated(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FDateTime));
}

void TDateTimePicker::SetKind(TDateTimeKind k) {
  if (k == FKind) return;
  FDateTime = DateTime();
  FKind = k;
  RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat f) {
  if (f == FDateFormat) return;
  FDateTime = DateTime();
  FDateFormat = f;
  RecreateWnd();
}

void TDateTimePicker::WndProc(TMessage& m) {
  if (const NMHDR* h = ReflectedNotifyHeader(m); h && h->code == DTN_DATETIMECHANGE) {
    FDateTime = DateTime();
    if (OnChange) OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
