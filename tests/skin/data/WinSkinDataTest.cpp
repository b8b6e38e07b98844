// TSkinData: records built from packed test skins (by pixels), derived images, reloads and
// failed loads, hostile skins, the stored block, and the component's properties and requests.
#include <gtest/gtest.h>

#include "MsgBox.h"
#include "TestSkin.h"
#include "TestUtil.h"
#include "skin/data/SysEntries.h"
#include "skin/data/WinSkinData.h"
#include "skin/manager/SkinManage.h"

using namespace skin;

namespace {

// 0x00RRGGBB of a 24-bit pixel.
std::uint32_t At(fw::TBitmap& b, int x, int y) {
  const auto* p = static_cast<const std::uint8_t*>(b.ScanLine(y)) + 3 * x;
  return static_cast<std::uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
}

constexpr std::uint32_t kMagenta = 0xFF00FF;

// Counts the message boxes shown while it lives and answers them.
struct Messages {
  Messages() {
    FPrevious = fw::SetMessageBoxHook([this](const fw::TMessageBoxRequest& r) {
      Texts.push_back(r.Text);
      return IDOK;
    });
  }
  ~Messages() { fw::SetMessageBoxHook(FPrevious); }
  std::vector<std::wstring> Texts;
  fw::TMessageBoxHook FPrevious;
};

// A skin that fills every slot the tests look at, each frame in its own colour.
TestSkin SkinA() {
  TestSkin s;
  s.Strip("top.bmp", 60, 24, {0x3366AA, 0x778899}, true)
      .Strip("left.bmp", 4, 30, {0x112233, 0x445566})
      .Strip("sunk.bmp", 10, 10, {0x010101, 0x020202, 0x030303, 0x040404})
      .Strip("combo.bmp", 17, 21, {0x0A0000, 0x0B0000, 0x0C0000, 0x0D0000})
      .Strip("extra.bmp", 8, 8, {0x00000A, 0x00000B, 0x00000C, 0x00000D, 0x00000E})
      .Strip("faces.bmp", 20, 20, {0x100000, 0x200000, 0x300000, 0x400000, 0x500000})
      .Strip("mdi.bmp", 10, 9, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})
      .Strip("close.bmp", 18, 18, {0xA00000, 0xB00000, 0xC00000, 0xD00000});
  s.Ini =
      "[TitlebarSkin]\nSkinName=A\n"
      "[Personality]\nTop=top.bmp\nTopFrame=2\nLeft=left.bmp\nLeftFrame=2\n"
      "[Colours]\nButtonFace=200 210 220\nButtonText=1 2 3\n"
      "[Buttons]\nBitmap=faces.bmp\nLeftWidth=3\n"
      "[SunkEdge]\nImage=sunk.bmp\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\n"
      "[ComboButton]\nImage=combo.bmp\n[ExtraImages]\nImage=extra.bmp\n"
      "[MDICONTROLS]\nImage=mdi.bmp\n"
      "[ButtonClose]\nAction=0\nframe=4\nButtonImage=close.bmp\n";
  return s;
}

TestSkin SkinB() {
  TestSkin s;
  s.Strip("top.bmp", 50, 20, {0x00AA00, 0x005500}, true).Strip("combo.bmp", 16, 16, {kMagenta, 0x0B0000, 0x0C0000, 0x0D0000});
  s.Ini = "[TitlebarSkin]\nSkinName=B\n[Personality]\nTop=top.bmp\nTopFrame=2\n[Colours]\nButtonFace=9 8 7\n"
          "[ComboButton]\nImage=combo.bmp\n";
  return s;
}

bool Load(TSkinData& d, const std::vector<std::uint8_t>& stored) {
  d.SkinStream().Clear();
  d.SkinStream().WriteBuffer(stored.data(), static_cast<std::int32_t>(stored.size()));
  return d.LoadSkin();
}

// A comparable picture of everything a load built.
std::vector<std::string> Describe(TSkinData& d) {
  std::vector<std::string> out;
  auto record = [&](const char* slot, TDataSkinObject* r) {
    if (!r) {
      out.push_back(std::string(slot) + ": none");
      return;
    }
    std::string line = std::string(slot) + ": " + r->Name + " f" + std::to_string(r->FrameCount) + " m" +
                       std::to_string(r->Margins.Left) + "," + std::to_string(r->Margins.Right) + " s" +
                       std::to_string(r->Style) + " " + std::to_string(r->Bitmap.Width()) + "x" +
                       std::to_string(r->Bitmap.Height());
    std::uint32_t hash = 0;
    for (int y = 0; y < r->Bitmap.Height(); ++y)
      for (int x = 0; x < r->Bitmap.Width(); ++x) hash = hash * 31 + At(r->Bitmap, x, y);
    out.push_back(line + " #" + std::to_string(hash));
  };
  for (std::size_t i = 0; i < kSlotCount; ++i) record(SlotSection(static_cast<TSlot>(i)), d.Slot(static_cast<TSlot>(i)));
  for (int side = 1; side <= 4; ++side) record("border", d.Border(side));
  record("title", d.Title());
  record("buttons", d.Buttons());
  record("arrow", d.ComboxArrow());
  record("gradient", d.ToolbarGradient());
  for (const auto& b : d.CaptionButtons()) record("caption", b.get());
  out.push_back("colour " + std::to_string(d.FrameColour()) + " " + std::to_string(d.ButtonFaceColour()));
  return out;
}

}  // namespace

TEST(SkinRecords, BuiltFromTheArchive) {
  Messages messages;
  TSkinData d(nullptr);
  ASSERT_TRUE(Load(d, SkinA().Stored()));
  EXPECT_FALSE(d.NoSkin());
  EXPECT_TRUE(messages.Texts.empty());
  EXPECT_EQ(d.SkinName(), "A");
  EXPECT_EQ(d.BorderTop()->Bitmap.Height(), 48);
  EXPECT_EQ(d.BorderTop()->FrameCount, 2);
  // The frame colour is a pixel a third into the first Top frame.
  EXPECT_EQ(d.FrameColour(), ColourRGB(0x33, 0x66, 0xAA));
  EXPECT_EQ(d.Buttons()->Margins.Left, 3);
  EXPECT_EQ(d.Buttons()->NormalColour2, ColourRGB(1, 2, 3));  // the skin's button text colour
  EXPECT_EQ(d.ButtonFaceColour(), ColourRGB(200, 210, 220));
  LOGBRUSH brush{};
  ASSERT_TRUE(GetObjectW(d.FaceBrush(), sizeof brush, &brush));
  EXPECT_EQ(brush.lbColor, RGB(200, 210, 220));
  EXPECT_EQ(d.Slot(TSlot::MenuItem), nullptr);

  // The MDI strip of 12 frames is cut into three buttons of four.
  const auto& buttons = d.CaptionButtons();
  ASSERT_EQ(buttons.size(), 4u);
  EXPECT_EQ(buttons[0]->Name, "BUTTONCLOSE");
  EXPECT_EQ(At(buttons[0]->Bitmap, 18 * 2 + 1, 5), 0xC00000u);
  for (int i = 0; i < 3; ++i) {
    fw::TBitmap& b = buttons[1 + static_cast<std::size_t>(i)]->Bitmap;
    ASSERT_EQ(b.Width(), 40);
    EXPECT_EQ(At(b, 0, 0), static_cast<std::uint32_t>(4 * i + 1));
    EXPECT_EQ(At(b, 39, 8), static_cast<std::uint32_t>(4 * i + 4));
    EXPECT_EQ(buttons[1 + static_cast<std::size_t>(i)]->Xcoord, 14 * (3 - i));
  }

  // The toolbar background runs from light at the top to dark at the bottom.
  fw::TBitmap& g = d.ToolbarGradient()->Bitmap;
  ASSERT_EQ(g.Width(), 10);
  ASSERT_EQ(g.Height(), 40);
  EXPECT_GT(At(g, 5, 0) & 0xFF, At(g, 5, 39) & 0xFF);
  EXPECT_EQ(d.ToolbarGradient()->Name, "Toolbar");
}

TEST(SkinRecords, ComboCompositeByPixels) {
  TSkinData d(nullptr);
  const int b = GetSystemMetrics(SM_CXHSCROLL) + 2;
  for (int pass = 0; pass < 2; ++pass) {  // the second load must build the same strip again
    SCOPED_TRACE(pass);
    ASSERT_TRUE(Load(d, SkinA().Stored()));
    TDataSkinBorder& combo = *d.ComboButton();
    TDataSkinObject& sunk = *d.SunkEdge();
    ASSERT_EQ(combo.Bitmap.Width(), 200);
    ASSERT_EQ(combo.Bitmap.Height(), 21);
    EXPECT_EQ(combo.Style, 2);
    EXPECT_EQ(combo.Margins, (TMargins{2, 2, b + 2, 2}));
    EXPECT_EQ(sunk.Margins, (TMargins{b + 2, 2, 2, 2}));
    for (int k = 0; k < 4; ++k) {
      const int x0 = 50 * k;
      EXPECT_EQ(At(combo.Bitmap, x0 + 10, 10), kMagenta) << "edit area of cell " << k;
      EXPECT_EQ(At(combo.Bitmap, x0 + 0, 0), static_cast<std::uint32_t>(0x010101 * (k + 1))) << "edge of cell " << k;
      EXPECT_EQ(At(combo.Bitmap, x0 + 50 - b + 1, 1), static_cast<std::uint32_t>(0x0A0000 + 0x010000 * k))
          << "button of cell " << k;
      EXPECT_EQ(At(combo.Bitmap, x0 + 50 - b / 2 - 1, 10), static_cast<std::uint32_t>(0x0A + k)) << "glyph " << k;
      // SunkEdge is now the mirror image of the strip.
      EXPECT_EQ(At(sunk.Bitmap, 199 - (x0 + 50 - b + 1), 1), At(combo.Bitmap, x0 + 50 - b + 1, 1));
    }
    // The combo button's own image, mirrored, for left scroll bars.
    EXPECT_EQ(combo.Bitmap2.Width(), 68);
    EXPECT_EQ(At(combo.Bitmap2, 0, 0), 0x0D0000u);
    // The arrow strip is cut from the composite: 17 x 17 per SunkEdge frame.
    EXPECT_EQ(d.ComboxArrow()->Bitmap.Width(), 68);
    EXPECT_EQ(d.ComboxArrow()->FrameCount, 4);
  }
}

TEST(SkinRecords, ComboArrowWithoutSunkEdge) {
  TSkinData d(nullptr);
  ASSERT_TRUE(Load(d, SkinB().Stored()));
  TDataSkinObject& arrow = *d.ComboxArrow();
  EXPECT_EQ(arrow.FrameCount, 4);
  EXPECT_EQ(At(arrow.Bitmap, 3, 3), 0x090807u);  // magenta became the face colour
  EXPECT_EQ(At(arrow.Bitmap, 20, 3), 0x0B0000u);

  TestSkin none;
  none.Ini = "[Personality]\n";
  ASSERT_TRUE(Load(d, none.Stored()));
  EXPECT_TRUE(d.ComboxArrow()->Bitmap.Empty());
  EXPECT_EQ(d.FrameColour(), 0xFF00000Fu);  // no Top border: the button face
}

TEST(SkinRecords, ReloadsAndFailedLoads) {
  Messages messages;
  TSkinData d(nullptr);
  ASSERT_TRUE(Load(d, SkinA().Stored()));
  const auto first = Describe(d);
  ASSERT_TRUE(Load(d, SkinB().Stored()));
  EXPECT_NE(Describe(d), first);
  ASSERT_TRUE(Load(d, SkinA().Stored()));
  EXPECT_EQ(Describe(d), first);
  TDataSkinTitle* title = d.Title();

  // A load that fails leaves the skin before it whole and in charge.
  TestSkin corrupt = SkinB();
  corrupt.Raw("bad.bmp", {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 9, 0, 0, 0, 9, 0, 0, 0, 1, 0, 24, 0});
  corrupt.Ini += "[MenuItem]\nImage=bad.bmp\n";
  EXPECT_FALSE(Load(d, corrupt.Stored()));
  EXPECT_EQ(messages.Texts.size(), 1u);
  EXPECT_FALSE(d.NoSkin());
  EXPECT_EQ(d.Title(), title);
  EXPECT_EQ(Describe(d), first);
}

// Skins that must be refused: one message each, false, nothing of them loaded.
TEST(SkinRecords, HostileSkinsAreRefused) {
  struct Row {
    const char* what;
    std::vector<std::uint8_t> stored;
  };
  TestSkin corrupt;
  corrupt.Raw("bad.bmp", {'B', 'M', 'x'});
  corrupt.Ini = "[Personality]\nTop=bad.bmp\n";
  TestSkin many;
  for (int i = 0; i < 10000; ++i) many.Ini += "[Button" + std::to_string(i) + "]\nAction=0\n";
  TestSkin noIni;
  noIni.Strip("top.bmp", 4, 4, {1});
  std::vector<std::uint8_t> version = skin::pack::BuildArchive({{"skin.ini", {}}});
  version[0] = 0x11;  // an unknown container version
  const std::vector<Row> rows = {
      {"corrupt bitmap", corrupt.Stored()},
      {"10000 caption buttons", many.Stored()},
      {"no description", noIni.Stored(false)},
      {"unknown version", skin::pack::PackStoredSkin(version)},
      {"no archive at all", {1, 2}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Messages messages;
    TSkinData d(nullptr);
    EXPECT_FALSE(Load(d, row.stored));
    EXPECT_EQ(messages.Texts.size(), 1u);
    EXPECT_TRUE(d.NoSkin());
    EXPECT_TRUE(d.BorderTop()->Bitmap.Empty());
  }
}

TEST(SkinRecords, ResourceFallbackForTracks) {
  TSkinData d(nullptr);
  TestSkin s;
  s.Ini = "[Personality]\n";
  ASSERT_TRUE(Load(d, s.Stored()));
  for (TDataSkinObject* track : {d.Track(), d.TrackVert()}) {
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->Margins, (TMargins{3, 3, 3, 3}));
    EXPECT_EQ(track->FrameCount, 1);
    EXPECT_FALSE(track->Bitmap.Empty()) << track->Name;
  }
  EXPECT_EQ(d.Track()->Name, "TRACK");
  EXPECT_GE(d.Track()->Bitmap.Width(), 7);
  EXPECT_GE(d.TrackVert()->Bitmap.Height(), 7);
  EXPECT_EQ(d.MenuGlyphs().Count(), 4);

  fw::TBitmap missing;
  LoadResourceBitmap(missing, L"NO_SUCH_BITMAP");
  EXPECT_TRUE(missing.Empty());
}

TEST(SkinDataComponent, StoredBlock) {
  Messages messages;
  TSkinData d(nullptr);
  const auto stored = SkinA().Stored();
  const auto n = static_cast<std::uint32_t>(stored.size());
  std::vector<std::uint8_t> block = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                     static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
  block.resize(4 + stored.size());
  std::copy(stored.begin(), stored.end(), block.begin() + 4);
  d.ReadSkinStream(block);
  EXPECT_FALSE(d.NoSkin());
  EXPECT_EQ(d.WriteSkinStream(), block);

  // A count that is negative or runs past the data: one message, unskinned, no exception.
  for (std::uint8_t high : {std::uint8_t(0xFF), std::uint8_t(0x00)}) {
    TSkinData bad(nullptr);
    std::vector<std::uint8_t> b = block;
    b[3] = high;
    if (high == 0) b.resize(b.size() - 1);
    messages.Texts.clear();
    EXPECT_NO_THROW(bad.ReadSkinStream(b));
    EXPECT_EQ(messages.Texts.size(), 1u);
    EXPECT_TRUE(bad.NoSkin());
  }
}

TEST(SkinDataComponent, DefaultsAndIgnoredWrites) {
  TSkinData d(nullptr);
  EXPECT_FALSE(d.Active());
  EXPECT_EQ(d.DisableTag, 99);
  EXPECT_EQ(d.SkinControls & SetOf(xcMenuItem), 0u);
  EXPECT_EQ(d.SkinControls & SetOf(xcFastReport), 0u);
  EXPECT_NE(d.SkinControls & SetOf(xcSystemMenu), 0u);
  EXPECT_EQ(d.Options, SetOf(xoPreview) | SetOf(xoToolbarBK));
  EXPECT_TRUE(d.NoSkin());
  EXPECT_TRUE(d.FramePaintEnabled);
  EXPECT_EQ(d.MaxWidth(), GetSystemMetrics(SM_CXMAXIMIZED));

  const auto& list = DefaultSkin3rd();
  ASSERT_EQ(list.size(), 124u);
  EXPECT_EQ(d.Skin3rd()->Count(), 124);
  const auto groupbox = std::find(list.begin(), list.end(), L"TLMDGroupBox=Groupbox");
  const auto panel = std::find(list.begin(), list.end(), L"TLMDGROUPBOX=Panel");
  ASSERT_NE(groupbox, list.end());
  ASSERT_NE(panel, list.end());
  EXPECT_LT(groupbox, panel);

  const fw::TClassInfo& info = d.ClassInfo();
  const fw::TPropInfo* store = info.FindProp("SkinStore");
  const fw::TPropInfo* version = info.FindProp("Version");
  ASSERT_TRUE(store && version);
  ASSERT_TRUE(Load(d, SkinA().Stored()));
  EXPECT_EQ(fw::PropStr(store->Get(&d)), L"(none)");  // at run time, whatever is stored
  store->Set(&d, std::wstring(L"x"));
  version->Set(&d, std::wstring(L"1.0"));
  EXPECT_EQ(fw::PropStr(version->Get(&d)), L"4.42.12.06");
  EXPECT_FALSE(d.NoSkin());
}

TEST(SkinDataComponent, RequestsToTheManager) {
  TSkinData main(nullptr);
  main.SetActive(true);  // no manager yet, nothing loaded: only stored
  EXPECT_TRUE(main.Active());
  main.SetActive(false);
  main.Loaded();
  TSkinManage& manager = *SkinManager;
  EXPECT_TRUE(manager.HookInstalled());
  EXPECT_EQ(manager.FMainSkinData, &main);
  // After Loaded the menu kinds are consistent.
  EXPECT_FALSE((main.SkinControls & SetOf(xcMainMenu)) && (main.SkinControls & SetOf(xcMenuItem)));

  // Active while nothing is loaded is stored but requests nothing.
  manager.FState = 1;
  manager.FPendingAction = saNone;
  main.SetActive(true);
  EXPECT_EQ(manager.FPendingAction, saNone);
  main.SetActive(false);
  ASSERT_TRUE(Load(main, SkinA().Stored()));
  main.SetActive(true);
  EXPECT_EQ(manager.FPendingAction, saSkin);
  EXPECT_EQ(manager.Timer().Interval(), 250u);
  EXPECT_TRUE(manager.Timer().Enabled());
  EXPECT_EQ(manager.FPendingSkinData, &main);
  main.SetActive(false);
  EXPECT_EQ(manager.FPendingAction, saUnskin);

  TSkinData dialog(nullptr);
  dialog.SetSkinFormtype(sfDialog);
  ASSERT_TRUE(Load(dialog, SkinA().Stored()));
  dialog.Loaded();
  manager.FPendingAction = saNone;
  manager.FPendingSkinData = nullptr;
  dialog.SetActive(true);
  EXPECT_EQ(manager.FPendingAction, saNone);
  EXPECT_EQ(manager.FPendingSkinData, nullptr);

  // Without a scroll-bar information entry, scroll bars are not skinned.
  TSysEntries none = SysEntries();
  none.GetScrollBarInfo = nullptr;
  const TSysEntries saved = SetSysEntriesForTest(none);
  TSkinData old(nullptr);
  old.Loaded();
  SetSysEntriesForTest(saved);
  EXPECT_EQ(old.SkinControls & SetOf(xcScrollbar), 0u);
  manager.FState = 0;
}

TEST(SkinDataComponent, QueryFormSkin) {
  TSkinData d(nullptr);
  bool doSkin = true;
  d.QueryFormSkin(reinterpret_cast<HWND>(1), L"SysMonthCal32", doSkin);
  EXPECT_FALSE(doSkin);
  EXPECT_EQ(d.QueryWindow(), reinterpret_cast<HWND>(1));
  doSkin = true;
  d.QueryFormSkin(nullptr, L"TfrPreview", doSkin);
  EXPECT_TRUE(doSkin);  // report-designer windows are excluded only on request
  d.SkinControls |= SetOf(xcFastReport);
  d.QueryFormSkin(nullptr, L"TfrPreview", doSkin);
  EXPECT_FALSE(doSkin);

  // An assigned handler replaces the built-in exclusions.
  struct Handler {
    int calls = 0;
    void Ask(fw::TObject*, const std::wstring&, bool& skin) {
      ++calls;
      skin = true;
    }
  } handler;
  d.OnFormSkin = TOnFormSkin::Of<&Handler::Ask>(&handler);
  doSkin = false;
  d.QueryFormSkin(nullptr, L"SysMonthCal32", doSkin);
  EXPECT_TRUE(doSkin);
  EXPECT_EQ(handler.calls, 1);
}

TEST(SkinDataComponent, SkinFile) {
  Messages messages;
  TempDir dir;
  const std::wstring path = dir.Path(L"皮肤 B.skn");
  const auto stored = SkinB().Stored();
  {
    fw::TMemoryStream file;
    file.WriteBuffer(stored.data(), static_cast<std::int32_t>(stored.size()));
    file.SaveToFile(path);
  }
  TSkinData d(nullptr);
  ASSERT_TRUE(Load(d, SkinA().Stored()));
  d.SetSkinFile(path);
  EXPECT_FALSE(d.NoSkin());
  EXPECT_EQ(d.SkinName(), "B");
  EXPECT_EQ(d.SkinFile(), path);

  // A missing file changes no record; activation is refused until a skin loads.
  TDataSkinBorder* top = d.BorderTop();
  d.SetSkinFile(dir.Path(L"missing.skn"));
  EXPECT_TRUE(d.NoSkin());
  EXPECT_EQ(d.BorderTop(), top);
  EXPECT_EQ(d.SkinName(), "B");
  EXPECT_TRUE(messages.Texts.empty());
}

// The two skins the program is built with take every path of the loaders between them.
TEST(SkinRecords, BuiltInSkins) {
  struct Expect {
    const wchar_t* resource;
    const char* name;
    int checkFrames, radioFrames, captionFrames, trans, progressStyle;
    bool sunkEdge, tabPane, chunk;
  };
  const Expect skins[] = {{L"DEFAULTSKIN", "default", 4, 4, 4, 1, 0, true, false, false},
                          {L"SLATESKIN", "slate", 12, 8, 3, 0, 1, false, true, true}};
  for (const Expect& e : skins) {
    SCOPED_TRACE(e.name);
    HRSRC res = FindResourceW(nullptr, e.resource, MAKEINTRESOURCEW(10));
    ASSERT_NE(res, nullptr);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, res)));
    Messages messages;
    TSkinData d(nullptr);
    ASSERT_TRUE(Load(d, std::vector<std::uint8_t>(bytes, bytes + SizeofResource(nullptr, res))));
    EXPECT_TRUE(messages.Texts.empty());

    // Every frame of every element is whole, and its margins fit inside it.
    auto whole = [](TDataSkinObject* r, bool stacked) {
      ASSERT_FALSE(r->Bitmap.Empty()) << r->Name;
      const int along = stacked ? r->Bitmap.Height() : r->Bitmap.Width();
      EXPECT_EQ(along % r->FrameCount, 0) << r->Name;
      const int w = stacked ? r->Bitmap.Width() : along / r->FrameCount;
      const int h = stacked ? along / r->FrameCount : r->Bitmap.Height();
      EXPECT_LE(r->Margins.Left + r->Margins.Right, w) << r->Name;
      EXPECT_LE(r->Margins.Top + r->Margins.Bottom, h) << r->Name;
    };
    for (std::size_t i = 0; i < kSlotCount; ++i)
      if (TDataSkinObject* r = d.Slot(static_cast<TSlot>(i))) whole(r, static_cast<TSlot>(i) == TSlot::MenuBar);
    for (int side = 1; side <= 4; ++side) {
      whole(d.Border(side), side > 2);
      EXPECT_EQ(d.Border(side)->FrameCount, 2);  // active and inactive
      EXPECT_EQ(d.Border(side)->Trans, e.trans);
    }
    whole(d.Buttons(), false);
    EXPECT_EQ(d.Buttons()->CheckFrameCount, e.checkFrames);
    EXPECT_EQ(d.Buttons()->RadioFrameCount, e.radioFrames);
    EXPECT_EQ(d.Buttons()->CheckBitmap.Width() % e.checkFrames, 0);
    EXPECT_EQ(d.Buttons()->RadioBitmap.Width() % e.radioFrames, 0);

    EXPECT_EQ(d.SunkEdge() != nullptr, e.sunkEdge);
    EXPECT_EQ(d.TabPane() != nullptr, e.tabPane);
    EXPECT_EQ(d.ProgressChunk() != nullptr, e.chunk);
    EXPECT_EQ(d.Progress()->Style, e.progressStyle);
    EXPECT_EQ(d.Tabs()->Style, e.progressStyle);
    EXPECT_FALSE(d.Tabs()->Bitmap2.Empty());
    EXPECT_FALSE(d.UpDownHorz()->Bitmap2.Empty());
    EXPECT_FALSE(d.ComboxArrow()->Bitmap.Empty());
    EXPECT_EQ(d.ExtraImages()->FrameCount, 5);  // frame 5: the size grip

    // The scroll-bar strip: 23 cells as high as the system's scroll bars, give or take 2.
    EXPECT_EQ(d.Scrollbar()->FrameCount, 23);
    EXPECT_LE(std::abs(d.Scrollbar()->Bitmap.Height() - GetSystemMetrics(SM_CYHSCROLL)), 2);
    EXPECT_EQ(d.HorzScrollThumb()->FrameCount, d.VertScrollThumb()->FrameCount);

    int withImage = 0;
    for (const auto& b : d.CaptionButtons())
      if (b->Action < 7 && !b->Bitmap.Empty()) {
        ++withImage;
        if (b->Action != 3 && b->Action != 11) {
          EXPECT_EQ(b->FrameCount, e.captionFrames) << b->Name;
        }
      }
    EXPECT_GE(withImage, 4);  // close, maximise, restore, minimise
    EXPECT_FALSE(d.CaptionButtons().back()->Bitmap.Empty());  // the MDI child buttons

    EXPECT_NE(d.Colours().ButtonShadowColour, d.Colours().MenuTextColour);
    EXPECT_EQ(d.Colours().ButtonShadowColour >> 24, 0u);  // given by the skin, not the system's
    fw::TBitmap& top = d.BorderTop()->Bitmap;
    const std::uint32_t pixel = At(top, top.Width() / 3, top.Height() / 2 / 3);
    EXPECT_EQ(d.FrameColour(), ColourRGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF));
  }
}
