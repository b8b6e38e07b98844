// The main window's progress bar drawn by the skin, in both built-in skins: it follows the
// progress handler (the filled part from the skin's filled image, the rest from the empty one),
// is skinned again each time the status bar makes it anew for another panel, and follows every
// chunk of a batch started by real clicks on the skinned buttons, whose output is that of the
// engine alone. The status bar itself keeps the system's look: the window's skin data does not
// name status bars.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <set>

#include "AppTestUtil.h"
#include "CryApi.h"
#include "MyStatusBar.h"
#include "TestUtil.h"
#include "UserInput.h"
#include "skin/SkinMessages.h"
#include "skin/controls/SkinStatus.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

using namespace apptest;

namespace {

std::uint32_t Rgb(COLORREF c) {
  return static_cast<std::uint32_t>(GetRValue(c)) << 16 | static_cast<std::uint32_t>(GetGValue(c)) << 8 | GetBValue(c);
}

// The colours down the middle column of a frame of an element's image, between its top and
// bottom margins: what the middle row of a bar drawn from that frame shows.
std::set<std::uint32_t> MiddleColumn(skin::TDataSkinObject& e, int frames, int frame) {
  std::set<std::uint32_t> colours;
  const RECT cell = skin::FrameRect(e.Bitmap, frames, frame, false);
  HDC dc = e.Bitmap.Canvas().Handle();
  const int x = (cell.left + cell.right) / 2;
  for (int y = cell.top + e.Margins.Top; y < cell.bottom - e.Margins.Bottom; ++y)
    if (const std::uint32_t c = Rgb(GetPixel(dc, x, y)); c != 0xFF00FF) colours.insert(c);
  return colours;
}

// The look of a progress bar in a skin: its filled part and the rest.
struct TProgressLook {
  std::set<std::uint32_t> Filled, Empty;
};
TProgressLook LookOf(skin::TSkinData& d) {
  skin::TDataSkinBorder* p = d.Progress();
  if (p->Style == 1) return {MiddleColumn(*d.ProgressChunk(), 1, 1), MiddleColumn(*p, 1, 1)};
  return {MiddleColumn(*p, 2, 2), MiddleColumn(*p, 2, 1)};
}

// The bar's middle row as the screen shows it: filled up to percent of its width, empty after.
::testing::AssertionResult Shows(HWND bar, const TProgressLook& look, int percent) {
  RECT r{};
  GetClientRect(bar, &r);
  const int w = r.right, y = r.bottom / 2, done = MulDiv(w, percent, 100);
  std::vector<std::pair<int, bool>> probes;  // x, filled
  if (done >= 12) probes.emplace_back(done / 2, true);
  if (w - done >= 12) probes.emplace_back(done + (w - done) / 2, false);
  if (percent == 0) probes = {{w / 8, false}, {w / 2, false}, {w * 7 / 8, false}};
  if (percent == 100) probes = {{w / 8, true}, {w / 2, true}, {w * 7 / 8, true}};
  HDC dc = GetDC(bar);
  std::string wrong;
  for (auto [x, filled] : probes) {
    const std::uint32_t c = Rgb(GetPixel(dc, x, y));
    if (!(filled ? look.Filled : look.Empty).count(c)) {
      char text[80];
      std::snprintf(text, sizeof text, " x %d of %d shows %06X, not the %s part;", x, w, c, filled ? "filled" : "empty");
      wrong += text;
    }
  }
  ReleaseDC(bar, dc);
  if (wrong.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "at " << percent << "%:" << wrong;
}

// The main window skinned with one of the built-in skins: the one stored in it, or slate.
struct TBuiltInMain {
  explicit TBuiltInMain(bool slate) {
    Data = dynamic_cast<skin::TSkinData*>(W->FindComponent(L"SkinData1"));
    if (!Data) {
      ADD_FAILURE() << "no skin data";
      return;
    }
    if (slate) {
      Data->SetActive(false);
      PumpUntil([&] { return !Skinned(); });
      const std::vector<unsigned char> bytes = ReadBytes(BesideThisSuite(SLATE_SKIN_RELATIVE_PATH));
      EXPECT_FALSE(bytes.empty());
      Data->SkinStream().Clear();
      Data->SkinStream().WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
      EXPECT_TRUE(Data->LoadSkin());
    }
    Data->SetActive(true);
    EXPECT_TRUE(PumpUntil([&] { return Skinned(); }));
    SetForegroundWindow(W->Handle());
    Form = skin::SkinManager ? skin::SkinManager->FindSkinForm(W->Handle()) : nullptr;
    EXPECT_TRUE(PumpUntil([&] { return BarSkin() != nullptr; }));
    Pump();
  }
  ~TBuiltInMain() { SetCursorPos(1200, 1000); }
  TBuiltInMain(const TBuiltInMain&) = delete;
  TBuiltInMain& operator=(const TBuiltInMain&) = delete;

  bool Skinned() const { return SendMessageW(W->Handle(), skin::WM_SKIN_QUERY, 0, 0) == 1; }
  fw::TProgressBar* Bar() const { return W->MyStatusBar1->ProgressBar(); }
  // The bar's skin object while its window lies in the status bar.
  skin::TSkinProgress* BarSkin() const {
    HWND h = Bar()->HandleIfAllocated();
    if (!Form || !h || Bar()->Parent() != W->MyStatusBar1) return nullptr;
    return dynamic_cast<skin::TSkinProgress*>(Form->FindControlByHandle(h));
  }
  // Progress skin objects of the form whose windows still live.
  int LiveProgressSkins() const {
    int n = 0;
    for (skin::TSkinControl* c : Form->Controls())
      n += dynamic_cast<skin::TSkinProgress*>(c) && c->FStatus != skin::scWindowGone;
    return n;
  }
  MainWindow W;
  skin::TSkinData* Data = nullptr;
  skin::TWinSkinForm* Form = nullptr;
};

// Forwards every progress event to the main window's handler, then notes what the bar shows
// once the handler's message processing is over.
struct TProgressProbe {
  app::TFormSealbox* Window = nullptr;
  TProgressLook Look;
  std::vector<int> Percents, Positions;
  std::vector<bool> LeftToPaint;
  std::vector<::testing::AssertionResult> Looks;
  void Solution(fw::TObject* sender, uint64_t position, bool& stop) {
    Window->DecryptSolution(sender, position, stop);
    const auto* engine = static_cast<crypto::TCryptoApi*>(sender);
    const int percent = static_cast<int>(crypto::ProgressPercent(position, engine->SourceSize()));
    HWND bar = Window->MyStatusBar1->ProgressBar()->Handle();
    Percents.push_back(percent);
    Positions.push_back(static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)));
    LeftToPaint.push_back(GetUpdateRect(bar, nullptr, FALSE) != FALSE);
    Looks.push_back(Shows(bar, Look, percent));
  }
};

void EncryptAlone(const std::wstring& source, const std::wstring& destination, crypto::TSolutionEvent progress = {}) {
  crypto::TCryptoApi engine(nullptr);
  engine.SetSource(source);
  engine.SetDestination(destination);
  engine.SetPassword(app::kOperationKey);
  engine.SetMode(crypto::cmStream);
  engine.onSolution = progress;
  EXPECT_TRUE(engine.EncryptFile());
}

}  // namespace

TEST(SkinnedStatusBar, TheProgressBarFollowsTheHandlerInBothBuiltInSkins) {
  for (const bool slate : {false, true}) {
    SCOPED_TRACE(slate ? "slate" : "default");
    TBuiltInMain m(slate);
    ASSERT_NE(m.Form, nullptr);
    ASSERT_NE(m.BarSkin(), nullptr);
    EXPECT_EQ(m.Data->Progress()->Style, slate ? 1 : 0);
    const TProgressLook look = LookOf(*m.Data);
    ASSERT_FALSE(look.Filled.empty());
    ASSERT_FALSE(look.Empty.empty());
    for (std::uint32_t c : look.Filled) EXPECT_EQ(look.Empty.count(c), 0u) << std::hex << c;
    const HWND bar = m.Bar()->Handle();

    // An engine that has not run has no size: 0 %.
    crypto::TCryptoApi idle(nullptr);
    bool stop = false;
    m.W->DecryptSolution(&idle, 0, stop);
    EXPECT_EQ(m.W->MyStatusBar1->Panels()->Items(1)->Text(), L"0%");
    EXPECT_TRUE(Shows(bar, look, 0));

    // Two chunks: 50 %, then 100 %, each shown by the time the handler returns.
    TempDir dir;
    WriteBytes(dir.Path(L"two.bin"), Pattern(2 * crypto::kChunkSize, 3));
    TProgressProbe probe;
    probe.Window = m.W.Form;
    probe.Look = look;
    EncryptAlone(dir.Path(L"two.bin"), dir.Path(L"two.sbx"),
                 crypto::TSolutionEvent::Of<&TProgressProbe::Solution>(&probe));
    EXPECT_EQ(probe.Percents, (std::vector<int>{50, 100}));
    EXPECT_EQ(probe.Positions, probe.Percents);
    for (std::size_t i = 0; i < probe.Looks.size(); ++i) {
      EXPECT_TRUE(probe.Looks[i]);
      EXPECT_FALSE(probe.LeftToPaint[i]) << i;
    }
    // And back to nothing.
    m.W->DecryptSolution(&idle, 0, stop);
    EXPECT_TRUE(Shows(bar, look, 0));

    // The status bar is the system's: no skin object, the system's painting.
    EXPECT_EQ(SendMessageW(m.W->MyStatusBar1->Handle(), skin::WM_SKIN_QUERY, 0, 0), 0);
    EXPECT_EQ(m.Form->FindControlByHandle(m.W->MyStatusBar1->Handle()), nullptr);
  }
}

TEST(SkinnedStatusBar, TheStatusBarsPanelsKeepTheirLookWhileTheProgressBarIsSkinned) {
  TBuiltInMain m(false);
  ASSERT_NE(m.BarSkin(), nullptr);
  fw::TStatusBar* status = m.W->MyStatusBar1;
  status->Panels()->Items(0)->SetText(L"就绪");
  status->Panels()->Items(1)->SetText(L"42%");
  const auto capture = [&] {
    RedrawWindow(status->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    RECT r{};
    GetClientRect(status->Handle(), &r);
    const RECT bar = m.Bar()->BoundsRect();
    std::vector<std::uint32_t> pixels;
    HDC dc = GetDC(status->Handle());
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x) {
        const POINT p{x, y};
        pixels.push_back(PtInRect(&bar, p) ? 0 : Rgb(GetPixel(dc, x, y)));
      }
    ReleaseDC(status->Handle(), dc);
    return pixels;
  };
  const std::vector<std::uint32_t> skinned = capture();
  m.Data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !m.Skinned(); }));
  ASSERT_EQ(SendMessageW(m.Bar()->Handle(), skin::WM_SKIN_QUERY, 0, 0), 0);
  const std::vector<std::uint32_t> plain = capture();
  ASSERT_EQ(skinned.size(), plain.size());
  std::size_t differ = 0;
  for (std::size_t i = 0; i < plain.size(); ++i) differ += skinned[i] != plain[i];
  EXPECT_EQ(differ, 0u);
}

TEST(SkinnedStatusBar, TheProgressBarIsSkinnedAgainEachTimeItsPanelMoves) {
  TBuiltInMain m(false);
  ASSERT_NE(m.BarSkin(), nullptr);
  const TProgressLook look = LookOf(*m.Data);
  app::TMyStatusBar* status = m.W->MyStatusBar1;
  for (const int panel : {1, 0, 2}) {
    SCOPED_TRACE(panel);
    status->SetPIndex(panel);
    EXPECT_EQ(m.Bar()->HandleIfAllocated(), nullptr);  // taken off with its window
    RedrawWindow(status->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_TRUE(PumpUntil([&] { return m.BarSkin() != nullptr; }));
    // Inside its new panel, one live skin object for it, and drawn by the skin.
    RECT part{};
    SendMessageW(status->Handle(), SB_GETRECT, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(&part));
    EXPECT_LE(m.Bar()->Left(), part.left);
    EXPECT_GE(m.Bar()->Left() + m.Bar()->Width(), part.right - 14);
    EXPECT_EQ(m.LiveProgressSkins(), 1);
    EXPECT_EQ(SendMessageW(m.Bar()->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);
    m.Bar()->SetPosition(50);
    Pump();
    EXPECT_TRUE(Shows(m.Bar()->Handle(), look, 50));
    m.Bar()->SetPosition(0);
    Pump();
  }
}

TEST(SkinnedStatusBar, ABatchClickedThroughTheSkinnedWindowEncryptsAsTheEngineAloneAndTheBarFollowsEachChunk) {
  BoxRecorder boxes;
  TBuiltInMain m(false);
  ASSERT_NE(m.BarSkin(), nullptr);
  TempDir dir;
  const std::wstring src = dir.Path(L"src"), out = dir.Path(L"out"), ref = dir.Path(L"ref");
  for (const auto& d : {src, out, ref}) CreateDirectoryW(d.c_str(), nullptr);
  // 1, 6 and 3 chunks.
  const std::pair<const wchar_t*, size_t> files[] = {
      {L"a.txt", 1000}, {L"b.bin", 5 * crypto::kChunkSize + 1}, {L"c.dat", 2 * crypto::kChunkSize + 17}};
  std::vector<std::wstring> sources;
  unsigned seed = 11;
  for (const auto& [name, size] : files) {
    sources.push_back(src + L"\\" + name);
    WriteBytes(sources.back(), Pattern(size, seed++));
    EncryptAlone(sources.back(), ref + L"\\" + name + L".sbx");
  }
  m.W->AddSourceFiles(sources);
  m.W->LEDest->SetText(out);
  TProgressProbe probe;
  probe.Window = m.W.Form;
  probe.Look = LookOf(*m.Data);
  m.W->Encrypt->onSolution = crypto::TSolutionEvent::Of<&TProgressProbe::Solution>(&probe);
  Pump();

  // A real click on the skinned button.
  ASSERT_EQ(SendMessageW(m.W->Cifra->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);
  userinput::Click(m.W->Cifra->ClientToScreen({m.W->Cifra->Width() / 2, m.W->Cifra->Height() / 2}));
  ASSERT_TRUE(PumpUntil([&] { return m.W.Log().size() == 3 && app::Idle; }, 20000));
  EXPECT_TRUE(boxes.Boxes.empty());

  for (const auto& [name, size] : files) {
    SCOPED_TRACE(fw::WideToUtf8(name));
    const std::wstring file = std::wstring(name) + L".sbx";
    const std::vector<unsigned char> got = ReadBytes(out + L"\\" + file);
    EXPECT_EQ(got.size(), size);
    EXPECT_TRUE(got == ReadBytes(ref + L"\\" + file));
  }
  EXPECT_EQ(probe.Percents, (std::vector<int>{100, 20, 40, 60, 80, 100, 100, 50, 100, 100}));
  EXPECT_EQ(probe.Positions, probe.Percents);
  for (std::size_t i = 0; i < probe.Looks.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(probe.Looks[i]);
    EXPECT_FALSE(probe.LeftToPaint[i]);
  }
  EXPECT_NE(m.BarSkin(), nullptr);
}
