// Status bars, progress bars and track bars under the skin: panel frames, texts, the size grip
// and owner-drawn panels drawn by the bar's own drawing after the skin; progress filled by
// position over the upper limit, chunks kept inside the bar, standing bars filling upwards; the
// track bar's channel and thumb lying and standing, the skin engine's private message on the
// reflected notification number, a skin change; the skin taken off and put on again; and which
// of them are skinned under which kinds, also as other libraries' classes and bare windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ComCtrls.h"
#include "ControlsFixture.h"
#include "PropTables.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinStatus.h"

using namespace ctltest;

namespace {

constexpr std::uint32_t kLowered = 0x4060A0, kRaised = 0xA06040, kFlat = 0x60A040, kGrip = 0x202020;
constexpr std::uint32_t kText = 0xC00000;
constexpr std::uint32_t kEmpty = 0x30C0A0, kFull = 0xA030C0, kChunk = 0xC0A030;
constexpr std::uint32_t kTrack = 0x8080F0, kTrackVert = 0xF08080;
inline std::uint32_t ThumbColour(int frame, bool vertical) {
  return (vertical ? 0x105000u : 0x100050u) | static_cast<std::uint32_t>(frame * 40) << 16;
}

// The control skin plus solid status-bar edges, size grip, progress frames, channels and thumbs.
TestSkin StatusSkin(bool chunks = false, int thumbShift = 0) {
  TestSkin s = ControlSkin();
  s.Strip("edges.bmp", 10, 10, {kLowered, kRaised, kFlat})
      .Strip("extra.bmp", 8, 8, {0x111111, 0x222222, 0x333333, 0x444444, kGrip})
      .Strip("track.bmp", 16, 6, {kTrack})
      .Strip("trackv.bmp", 6, 16, {kTrackVert});
  std::vector<std::uint32_t> horz, vert;
  for (int i = 1; i <= 5; ++i) {
    horz.push_back(ThumbColour(i, false) + static_cast<std::uint32_t>(thumbShift));
    vert.push_back(ThumbColour(i, true) + static_cast<std::uint32_t>(thumbShift));
  }
  s.Strip("thumbh.bmp", 11, 21, horz).Strip("thumbv.bmp", 21, 11, vert);
  s.Ini += "[StatusBarEdges]\nImage=edges.bmp\nFrame=3\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\n"
           "NormalColour2=192 0 0\n"
           "[ExtraImages]\nImage=extra.bmp\nFrame=5\nTrans=1\n"
           "[Track]\nImage=track.bmp\nFrame=1\nLeftWidth=3\nRightWidth=3\nTrans=1\n"
           "[TRACKVERT]\nImage=trackv.bmp\nFrame=1\nTopHeight=3\nBottomHeight=3\nTrans=1\n"
           "[Trackbar.ThumbHorz]\nImage=thumbh.bmp\nFrame=5\nTrans=1\n"
           "[Trackbar.ThumbVert]\nImage=thumbv.bmp\nFrame=5\nTrans=1\n";
  if (chunks) {
    s.Strip("progress.bmp", 10, 10, {kEmpty}).Strip("chunk.bmp", 8, 8, {kChunk});
    s.Ini += "[Progress]\nBitmap=progress.bmp\nStyle=1\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\n"
             "Trans=1\n"
             "[Progress.Chunk]\nImage=chunk.bmp\nFrame=1\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\n"
             "Trans=1\nTile=0\n";
  } else {
    s.Strip("progress.bmp", 10, 10, {kEmpty, kFull});
    s.Ini += "[Progress]\nBitmap=progress.bmp\nStyle=0\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\n"
             "Trans=1\n";
  }
  return s;
}

// A status bar whose owner-drawn panels are drawn by an override of DrawPanel, as the main
// window's is: it notes what the panel showed when its drawing began.
class TOwnDrawnBar : public fw::TStatusBar {
public:
  using fw::TStatusBar::TStatusBar;
  int Calls = 0;
  RECT Last{};
  std::uint32_t Beneath = 0;  // a pixel of the panel's frame as the drawing found it
  static constexpr std::uint32_t kInk = 0x10C010;  // the same read either way round

protected:
  void DrawPanel(fw::TStatusPanel*, const RECT& rect) override {
    ++Calls;
    Last = rect;
    Beneath = Rgb(GetPixel(Canvas().Handle(), rect.left - 1, rect.top - 1));
    Canvas().Brush().SetColor(kInk);
    Canvas().FillRect(rect);
  }
};

// A track bar and a progress bar of another library, known to the skin data by class name.
class TThirdTrackBar : public fw::TTrackBar {
  FW_DECLARE_CLASS()
public:
  using fw::TTrackBar::TTrackBar;
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v) { FTransparent = v; }

private:
  bool FTransparent = false;
};
class TThirdProgress : public fw::TProgressBar {
  FW_DECLARE_CLASS()
public:
  using fw::TProgressBar::TProgressBar;
};

RECT PanelRect(HWND bar, int i) {
  RECT r{};
  SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
  return r;
}

void Redraw(HWND w) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump(40);
}

// The colour along the middle row of a control's client area at a fraction of its width.
std::uint32_t RowAt(HWND w, double fraction) {
  RECT r{};
  GetClientRect(w, &r);
  return ClientAt(w, static_cast<int>(r.right * fraction), r.bottom / 2);
}
std::uint32_t ColumnAt(HWND w, double fraction) {
  RECT r{};
  GetClientRect(w, &r);
  return ClientAt(w, r.right / 2, static_cast<int>(r.bottom * fraction));
}

}  // namespace

const fw::TClassInfo& TThirdTrackBar::StaticClassInfo() {
  static const fw::TClassInfo info{
      "TThirdTrackBar",
      &fw::TTrackBar::StaticClassInfo(),
      {},
      {fw::props::Prop("Transparent", fw::TPropKind::Boolean, &TThirdTrackBar::Transparent,
                       &TThirdTrackBar::SetTransparent)},
      {}};
  return info;
}
const fw::TClassInfo& TThirdProgress::StaticClassInfo() {
  static const fw::TClassInfo info{"TThirdProgress", &fw::TProgressBar::StaticClassInfo(), {}, {}, {}};
  return info;
}

TEST(SkinStatusBar, FramesTextsGripAndOwnerDrawnPanelsAfterTheSkin) {
  TControlWorld world(StatusSkin());
  TTestForm f;
  auto* bar = new TOwnDrawnBar(f.Form.get());
  bar->SetParent(f.Form.get());
  bar->SetHeight(24);
  bar->Panels()->Clear();
  for (int w : {100, 90, 80}) bar->Panels()->Add()->SetWidth(w);
  bar->Panels()->Items(0)->SetText(L"甲");
  bar->Panels()->Items(1)->SetStyle(fw::psOwnerDraw);
  bar->Panels()->Items(2)->SetBevel(fw::pbRaised);
  bar->Panels()->Items(2)->SetText(L"");  // a space is drawn: the frame is still there
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  const HWND h = bar->Handle();
  ASSERT_NE(dynamic_cast<skin::TSkinStatusBar*>(fs->FindControlByHandle(h)), nullptr);
  bar->Calls = 0;
  Redraw(h);
  RECT client{};
  GetClientRect(h, &client);

  // Panel 0: lowered, its text in the edges' text colour.
  const RECT p0 = PanelRect(h, 0);
  EXPECT_EQ(ClientAt(h, p0.left + 1, p0.top + 1), kLowered);
  bool text = false;
  for (int x = p0.left + 2; x < p0.left + 30 && !text; ++x)
    for (int y = p0.top + 2; y < p0.bottom - 2 && !text; ++y) text = ClientAt(h, x, y) == kText;
  EXPECT_TRUE(text);
  // The gap after a panel belongs to it.
  EXPECT_EQ(ClientAt(h, p0.right + 1, p0.top + 4), kLowered);

  // Panel 1: the bar's own drawing, after the skin drew the panel's frame, inside it.
  const RECT p1 = PanelRect(h, 1);
  EXPECT_GE(bar->Calls, 1);
  EXPECT_EQ(bar->Last.left, p1.left + 2);
  EXPECT_EQ(bar->Last.right, p1.right - 2);
  EXPECT_EQ(bar->Beneath, kLowered);
  EXPECT_EQ(ClientAt(h, (p1.left + p1.right) / 2, (p1.top + p1.bottom) / 2), TOwnDrawnBar::kInk);
  EXPECT_EQ(ClientAt(h, p1.left, p1.top), kLowered);

  // Panel 2, the last: raised, and reaching the bar's right end (past the system's part).
  EXPECT_EQ(ClientAt(h, PanelRect(h, 2).left + 4, 3), kRaised);
  EXPECT_EQ(ClientAt(h, client.right - 1, 3), kRaised);
  EXPECT_EQ(ClientAt(h, client.right - 1, client.bottom / 2 - 4), kRaised);
  // The size grip one pixel inside the bottom-right corner.
  EXPECT_EQ(ClientAt(h, client.right - 2, client.bottom - 2), kGrip);
  EXPECT_EQ(ClientAt(h, client.right - 9, client.bottom - 9), kGrip);
  EXPECT_NE(ClientAt(h, client.right - 1, client.bottom - 1), kGrip);
  EXPECT_NE(ClientAt(h, client.right - 10, client.bottom - 10), kGrip);

  // A flat panel shows the third frame; without the grip the corner is the panel's. The bar's
  // window is made again for that, and skinned again as it comes.
  TControlWorld::Hook();
  bar->Panels()->Items(0)->SetBevel(fw::pbNone);
  bar->SetSizeGrip(false);
  Pump(80);
  EXPECT_EQ(Query(bar->Handle()), 1);
  Redraw(bar->Handle());
  const RECT flat = PanelRect(bar->Handle(), 0);
  EXPECT_EQ(ClientAt(bar->Handle(), flat.left + 1, flat.top + 1), kFlat);
  GetClientRect(bar->Handle(), &client);
  EXPECT_EQ(ClientAt(bar->Handle(), client.right - 2, client.bottom - 2), kRaised);
}

TEST(SkinStatusBar, SimplePanelWithoutTextKeepsItsFrameAndTheHandlerRunsAfter) {
  TControlWorld world(StatusSkin());
  TTestForm f;
  auto* bar = f.Add<fw::TStatusBar>(0, 0, 0, 24);
  bar->SetSimplePanel(true);
  bar->SetSimpleText(L"");
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  Redraw(bar->Handle());
  RECT client{};
  GetClientRect(bar->Handle(), &client);
  for (POINT p : {POINT{1, 1}, POINT{client.right / 2, client.bottom / 2}, POINT{client.right - 20, client.bottom - 2}})
    EXPECT_EQ(ClientAt(bar->Handle(), p.x, p.y), kLowered) << p.x << "," << p.y;

  // With text, the text; the event of an owner-drawn panel is not raised for a simple bar.
  struct TRecord {
    int N = 0;
    void Draw(fw::TCustomStatusBar*, fw::TStatusPanel*, const RECT&) { ++N; }
  } record;
  bar->OnDrawPanel = fw::TDrawPanelEvent::Of<&TRecord::Draw>(&record);
  bar->Panels()->Add()->SetStyle(fw::psOwnerDraw);
  bar->SetSimpleText(L"简单");
  Redraw(bar->Handle());
  EXPECT_EQ(record.N, 0);
  bool text = false;
  for (int x = 2; x < 40 && !text; ++x)
    for (int y = 2; y < client.bottom - 2 && !text; ++y) text = ClientAt(bar->Handle(), x, y) == kText;
  EXPECT_TRUE(text);

  // As panels, the event draws the owner-drawn one.
  bar->SetSimplePanel(false);
  Redraw(bar->Handle());
  EXPECT_GE(record.N, 1);
}

TEST(SkinProgress, FillsByPositionOverTheUpperLimit) {
  TControlWorld world(StatusSkin());
  TTestForm f;
  auto* bar = f.Add<fw::TProgressBar>(20, 20, 200, 20);
  auto* standing = f.Add<fw::TProgressBar>(250, 20, 20, 200);
  standing->SetOrientation(fw::pbVertical);
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  const HWND h = bar->Handle(), v = standing->Handle();
  ASSERT_NE(dynamic_cast<skin::TSkinProgress*>(fs->FindControlByHandle(h)), nullptr);
  ASSERT_NE(dynamic_cast<skin::TSkinProgress*>(fs->FindControlByHandle(v)), nullptr);
  ASSERT_TRUE(GetWindowLongW(v, GWL_STYLE) & PBS_VERTICAL);

  const auto show = [&](int pos) {
    bar->SetPosition(pos);
    standing->SetPosition(pos);
    Pump(60);  // the bars repaint themselves
  };
  show(0);
  for (double x : {0.05, 0.5, 0.95}) EXPECT_EQ(RowAt(h, x), kEmpty) << x;
  show(50);
  EXPECT_EQ(RowAt(h, 0.25), kFull);
  EXPECT_EQ(RowAt(h, 0.75), kEmpty);
  // Standing: filled from the bottom.
  EXPECT_EQ(ColumnAt(v, 0.75), kFull);
  EXPECT_EQ(ColumnAt(v, 0.25), kEmpty);
  show(100);
  for (double x : {0.05, 0.5, 0.95}) EXPECT_EQ(RowAt(h, x), kFull) << x;
  EXPECT_EQ(ColumnAt(v, 0.05), kFull);

  // The lower limit does not count: 75 of 50..100 fills three quarters.
  bar->SetRange(50, 100);
  bar->SetPosition(75);
  Pump(60);
  EXPECT_EQ(RowAt(h, 0.70), kFull);
  EXPECT_EQ(RowAt(h, 0.80), kEmpty);
  // An upper limit of 0 shows the empty bar only.
  bar->SetRange(0, 0);
  Redraw(h);
  EXPECT_EQ(RowAt(h, 0.05), kEmpty);
  EXPECT_EQ(RowAt(h, 0.5), kEmpty);
}

TEST(SkinProgress, ChunksStayInsideTheBarsEdge) {
  TControlWorld world(StatusSkin(true));
  TTestForm f;
  auto* bar = f.Add<fw::TProgressBar>(20, 20, 200, 20);
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  const HWND h = bar->Handle();
  bar->SetPosition(50);
  Pump(60);
  EXPECT_EQ(ClientAt(h, 1, 10), kEmpty);  // the bar's edge before the chunk
  EXPECT_EQ(ClientAt(h, 50, 10), kChunk);
  EXPECT_EQ(ClientAt(h, 150, 10), kEmpty);
  EXPECT_EQ(ClientAt(h, 50, 1), kEmpty);  // two pixels above and below
  EXPECT_EQ(ClientAt(h, 50, 18), kEmpty);
  // Full: the chunk ends two pixels before the bar's end, as it began two after its start.
  bar->SetPosition(100);
  Pump(60);
  EXPECT_EQ(ClientAt(h, 197, 10), kChunk);
  EXPECT_EQ(ClientAt(h, 198, 10), kEmpty);
  EXPECT_EQ(ClientAt(h, 199, 10), kEmpty);
}

TEST(SkinTrackBar, ChannelAndThumbLyingAndStandingInEveryState) {
  TControlWorld world(StatusSkin());
  TTestForm f;
  auto* lying = f.Add<fw::TTrackBar>(20, 20, 200, 40);
  auto* standing = f.Add<fw::TTrackBar>(250, 20, 40, 200);
  standing->SetOrientation(fw::trVertical);
  standing->SetBounds(250, 20, 40, 200);
  for (fw::TTrackBar* t : {lying, standing}) {
    t->SetMax(10);
    t->SetPosition(2);
  }
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  for (fw::TTrackBar* t : {lying, standing}) {
    const bool vertical = t == standing;
    SCOPED_TRACE(vertical ? "standing" : "lying");
    const HWND h = t->Handle();
    ASSERT_NE(dynamic_cast<skin::TSkinTrackBar*>(fs->FindControlByHandle(h)), nullptr);
    Redraw(h);
    RECT thumb{}, channel{};
    SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessageW(h, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    if (vertical && channel.right - channel.left > channel.bottom - channel.top)
      channel = {channel.top, channel.left, channel.bottom, channel.right};
    const POINT mid{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    EXPECT_EQ(ClientAt(h, mid.x, mid.y), ThumbColour(2, vertical));
    // The channel away from the thumb, at its middle across.
    const POINT away = vertical ? POINT{(channel.left + channel.right) / 2, channel.bottom - 8}
                               : POINT{channel.right - 8, (channel.top + channel.bottom) / 2};
    EXPECT_EQ(ClientAt(h, away.x, away.y), vertical ? kTrackVert : kTrack);
    // The channel image keeps its own thickness across a wider rectangle.
    if (vertical) {
      EXPECT_NE(ClientAt(h, away.x - 4, away.y), kTrackVert);
      EXPECT_NE(ClientAt(h, away.x + 4, away.y), kTrackVert);
    }

    // Hot and pressed: still the second frame.
    const POINT screen = t->ClientToScreen(mid);
    MoveTo(screen);
    EXPECT_EQ(Await([&] { return ClientAt(h, mid.x, mid.y); }, ThumbColour(4, vertical), 300), ThumbColour(2, vertical));
    userinput::Mouse(MOUSEEVENTF_LEFTDOWN, screen);
    Pump(100);
    EXPECT_EQ(ClientAt(h, mid.x, mid.y), ThumbColour(2, vertical));
    userinput::Mouse(MOUSEEVENTF_LEFTUP, screen);
    Pump(60);
    MouseAway();
  }
}

TEST(SkinTrackBar, TheSkinsMessageOnTheNotificationNumberIsPassedOn) {
  TControlWorld world(StatusSkin());
  TTestForm f;
  auto* t = f.Add<fw::TTrackBar>(20, 20, 200, 40);
  f.Show();
  ASSERT_NE(f.Skin(), nullptr);
  ASSERT_EQ(Query(t->Handle()), 1);
  // Not a notification header: taken for one, it would be read at address 0x41A2.
  EXPECT_EQ(t->Perform(fw::CN_NOTIFY, 0, skin::kSkinSignature), 0);
  EXPECT_EQ(SendMessageW(t->Handle(), skin::WM_SKIN_AFTERSKIN, 0, skin::kSkinSignature), 0);
  EXPECT_EQ(t->Perform(fw::CN_NOTIFY, 0, 0), 0);
  // A custom-draw notification of another window is not answered as the track bar's.
  NMCUSTOMDRAW cd{};
  cd.hdr.hwndFrom = f.Handle();
  cd.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
  cd.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(t->Perform(fw::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd)), CDRF_DODEFAULT);
  cd.hdr.hwndFrom = t->Handle();
  EXPECT_EQ(t->Perform(fw::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd)), CDRF_NOTIFYITEMDRAW);
  // The erase stages are left to the control.
  cd.dwDrawStage = CDDS_PREERASE;
  EXPECT_EQ(t->Perform(fw::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd)), CDRF_DODEFAULT);
}

TEST(SkinTrackBar, ASkinChangeRedrawsItWhereTheFocusIs) {
  TControlWorld world(StatusSkin());
  TTestForm f;
  auto* t = f.Add<fw::TTrackBar>(20, 20, 200, 40);
  auto* edit = f.Add<fw::TEdit>(20, 80, 120, 22);
  f.Show();
  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  edit->SetFocus();
  Pump(60);
  const HWND h = t->Handle();
  RECT thumb{};
  SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const POINT mid{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  ASSERT_EQ(ClientAt(h, mid.x, mid.y), ThumbColour(2, false));

  int focusChanges = 0;
  struct TCount {
    int* N;
    void Enter(fw::TObject*) { ++*N; }
  } count{&focusChanges};
  edit->OnExit = fw::TNotifyEvent::Of<&TCount::Enter>(&count);
  ASSERT_TRUE(formtest::LoadTestSkin(*world.Data, StatusSkin(false, 7)));
  fs->SkinChanged();
  // Redrawn at once, before any message is handled; the focus stayed where it was.
  EXPECT_EQ(ClientAt(h, mid.x, mid.y), ThumbColour(2, false) + 7);
  EXPECT_EQ(GetFocus(), edit->Handle());
  Pump(60);
  EXPECT_EQ(focusChanges, 0);
  EXPECT_EQ(GetFocus(), edit->Handle());
}

TEST(SkinStatusFamily, OffGivesBackTheSystemLookAndOnAgainSkinsEachOnce) {
  const int live = skin::TSkinControl::LiveCount();
  TControlWorld world(StatusSkin());
  TTestForm f;
  auto* bar = f.Add<fw::TStatusBar>(0, 0, 0, 24);
  bar->Panels()->Clear();
  for (int w : {100, 100}) bar->Panels()->Add()->SetWidth(w);
  bar->Panels()->Items(0)->SetText(L"状态");
  auto* progress = f.Add<fw::TProgressBar>(20, 20, 200, 20);
  progress->SetPosition(40);
  auto* track = f.Add<fw::TTrackBar>(20, 60, 200, 40);
  std::vector<fw::TWinControl*> all{bar, progress, track};
  f.Show();
  MouseAway();
  SetFocus(f.Handle());
  Pump(100);
  std::vector<fw::TWndMethod> procs;
  std::vector<LONG_PTR> wndProcs;
  for (fw::TWinControl* c : all) {
    procs.push_back(c->WindowProc);
    wndProcs.push_back(GetWindowLongPtrW(c->Handle(), GWLP_WNDPROC));
  }
  std::vector<TCapture> looks;
  for (fw::TWinControl* c : all) looks.push_back(TCapture::Of(c->Handle()));

  skin::TWinSkinForm* fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  Pump(60);
  for (std::size_t i = 0; i < all.size(); ++i) {
    SCOPED_TRACE(all[i]->ClassName());
    EXPECT_EQ(Query(all[i]->Handle()), 1);
    Redraw(all[i]->Handle());
    EXPECT_GT(TCapture::Of(all[i]->Handle()).Differences(looks[i]), 20);
  }
  EXPECT_EQ(skin::TSkinControl::LiveCount() - live, 3);

  formtest::TSkinnedWorld::TakeOff(fs);
  SetFocus(f.Handle());
  Pump(100);
  EXPECT_EQ(skin::TSkinControl::LiveCount(), live);
  for (std::size_t i = 0; i < all.size(); ++i) {
    SCOPED_TRACE(all[i]->ClassName());
    EXPECT_TRUE(all[i]->WindowProc == procs[i]);
    EXPECT_EQ(GetWindowLongPtrW(all[i]->Handle(), GWLP_WNDPROC), wndProcs[i]);
    EXPECT_EQ(Query(all[i]->Handle()), 0);
    Redraw(all[i]->Handle());
    const TCapture now = TCapture::Of(all[i]->Handle());
    EXPECT_EQ(now.Differences(looks[i]), 0) << now.Where(looks[i]);
  }

  fs = f.Skin();
  ASSERT_NE(fs, nullptr);
  EXPECT_EQ(skin::TSkinControl::LiveCount() - live, 3);
  for (fw::TWinControl* c : all) {
    int skins = 0;
    for (skin::TSkinControl* s : fs->Controls()) skins += s->FControl == c;
    EXPECT_EQ(skins, 1) << c->ClassName();
  }
  Redraw(progress->Handle());
  EXPECT_EQ(RowAt(progress->Handle(), 0.2), kFull);
}

TEST(StatusDispatch, EachUnderItsKindAlsoAsAnotherLibrarysClass) {
  TControlWorld world(StatusSkin());
  world.Data->SetSkin3rd({L"TThirdTrackBar=trackbar", L"tthirdprogress=Progress"});
  const auto skinOf = [](skin::TWinSkinForm* fs, fw::TWinControl* c) -> std::string {
    skin::TSkinControl* s = fs->FindControlByHandle(c->Handle());
    return s ? s->ClassName() : "";
  };
  for (const bool kinds : {true, false}) {
    SCOPED_TRACE(kinds ? "with their kinds" : "without");
    if (!kinds)
      world.Data->SkinControls &= ~(SetOf(skin::xcStatusBar) | SetOf(skin::xcProgress) | SetOf(skin::xcTrackBar) |
                                    SetOf(skin::xcButton));
    TTestForm f;
    auto* status = f.Add<fw::TStatusBar>(0, 0, 0, 22);
    auto* progress = f.Add<fw::TProgressBar>(10, 10, 100, 16);
    auto* track = f.Add<fw::TTrackBar>(10, 40, 150, 40);
    auto* thirdTrack = f.Add<TThirdTrackBar>(10, 90, 150, 40);
    auto* thirdProgress = f.Add<TThirdProgress>(200, 10, 100, 16);
    f.Show();
    skin::TWinSkinForm* fs = f.Skin();
    ASSERT_NE(fs, nullptr);
    EXPECT_EQ(skinOf(fs, status), kinds ? "TSkinStatusBar" : "");
    EXPECT_EQ(skinOf(fs, progress), kinds ? "TSkinProgress" : "");
    EXPECT_EQ(skinOf(fs, track), kinds ? "TSkinTrackBar" : "");
    EXPECT_EQ(skinOf(fs, thirdTrack), kinds ? "TSkinTrackBar" : "");
    EXPECT_EQ(thirdTrack->Transparent(), kinds);
    EXPECT_EQ(skinOf(fs, thirdProgress), kinds ? "TSkinProgress" : "");
  }
}

TEST(StatusDispatch, ABareProgressWindowIsDrawnByTheSkin) {
  TControlWorld world(StatusSkin());
  formtest::TWindow w(L"对话", 420, 200);
  HWND bar = CreateWindowW(PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, w.Handle, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  SendMessageW(bar, PBM_SETPOS, 50, 0);
  ASSERT_TRUE(skin::SkinManager->SkinWindow(w.Handle));
  Pump(60);
  skin::TWinSkinForm* fs = skin::SkinManager->FindSkinForm(w.Handle);
  ASSERT_NE(fs, nullptr);
  skin::TSkinControl* s = fs->FindControlByHandle(bar);
  ASSERT_NE(dynamic_cast<skin::TSkinProgress*>(s), nullptr);
  EXPECT_EQ(s->Owner(), fs);
  Redraw(bar);
  EXPECT_EQ(RowAt(bar, 0.25), kFull);
  EXPECT_EQ(RowAt(bar, 0.75), kEmpty);
  const auto proc = GetClassLongPtrW(bar, GCLP_WNDPROC);
  formtest::TSkinnedWorld::TakeOff(fs);
  EXPECT_EQ(Query(bar), 0);
  EXPECT_EQ(static_cast<ULONG_PTR>(GetWindowLongPtrW(bar, GWLP_WNDPROC)), static_cast<ULONG_PTR>(proc));
}
