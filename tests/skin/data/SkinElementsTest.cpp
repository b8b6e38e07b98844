// The layout of a skin from its description and bitmap headers: loaders, frame counts,
// caption-button rules, colours, normalisation of hostile values and the resource limits.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "TestSkin.h"
#include "skin/data/SkinElements.h"
#include "skin/data/SkinRead.h"

using namespace skin;

namespace {

// Every image of the description exists with the size given here (default 40 x 20).
struct Layout {
  std::map<std::string, TImageInfo> Sizes;
  TSkinLayout Result;
  std::string Error;

  bool Build(const std::string& text, const TSkinLimits& limits = {}) {
    TQuickIni ini;
    ini.Load(text);
    return BuildSkinLayout(
        ini,
        [this](const std::string& entry) -> std::optional<TImageInfo> {
          auto it = Sizes.find(entry);
          return it != Sizes.end() ? it->second : TImageInfo{40, 20, 24};
        },
        Result, Error, limits);
  }
  const TElementLayout& Slot(TSlot s) const { return Result.Slot(s).value(); }
};

std::string Sections(const std::vector<std::string>& names, const std::string& body = "Image=a.bmp\n") {
  std::string text;
  for (const auto& n : names) text += "[" + n + "]\n" + body;
  return text;
}

}  // namespace

TEST(SkinLayout, FrameCountsOverrideTheDescription) {
  Layout l;
  const std::vector<std::string> all = {
      "Progress.Chunk", "GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges", "Tab.Pane", "ToolBars", "ComboButton",
      "SunkEdge", "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll",
      "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
      "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown", "UpDown.Horz", "UpDown.Vert", "Track",
      "TRACKVERT"};
  ASSERT_TRUE(l.Build(Sections(all, "Image=a.bmp\nFrame=7\n") + "[Progress]\nBitmap=p.bmp\n[Personality]\nmenuBar=m.bmp\n"));
  const std::vector<std::pair<TSlot, int>> expected = {
      {TSlot::Progress, 2},          {TSlot::ProgressChunk, 7},      {TSlot::MenuBar, 2},
      {TSlot::GroupBoxEdge, 2},      {TSlot::GroupBox, 1},           {TSlot::Tabs, 5},
      {TSlot::StatusBarEdges, 3},    {TSlot::TabPane, 1},            {TSlot::ToolBars, 5},
      {TSlot::ComboButton, 4},       {TSlot::SunkEdge, 4},           {TSlot::ExtraImages, 5},
      {TSlot::Headerbar, 7},         {TSlot::MenuItem, 5},           {TSlot::MenuBackground, 1},
      {TSlot::Scrollbar, 23},        {TSlot::HorzScroll, 4},         {TSlot::VertScroll, 4},
      {TSlot::HorzScrollThumb, 3},   {TSlot::VertScrollThumb, 3},    {TSlot::TrackbarThumbHorz, 5},
      {TSlot::TrackbarThumbVert, 5}, {TSlot::TrackbarThumbLeft, 5},  {TSlot::TrackbarThumbRight, 5},
      {TSlot::TrackbarThumbUp, 5},   {TSlot::TrackbarThumbDown, 5},  {TSlot::UpDownHorz, 8},
      {TSlot::UpDownVert, 8},        {TSlot::Track, 7},              {TSlot::TrackVert, 7}};
  for (const auto& [slot, count] : expected) EXPECT_EQ(l.Slot(slot).Fields.FrameCount, count) << SlotSection(slot);
  EXPECT_EQ(l.Result.Buttons.Fields.FrameCount, 5);
  EXPECT_EQ(l.Result.Title.Fields.FrameCount, 2);
  for (const auto& b : l.Result.Borders) EXPECT_EQ(b.Fields.FrameCount, 1) << b.Fields.Name;
}

// One section varied at a time; each row checks what that variation must give.
TEST(SkinLayout, EachLoaderReadsItsKeys) {
  struct Row {
    const char* what;
    std::string text;
    std::function<void(const Layout&)> check;
  };
  const std::vector<Row> rows = {
      {"generic keys", "[MenuItem]\nImage=dir\\Sub:Item.bmp\nStyle=3\nLeftWidth=1\nTopHeight=2\nRightWidth=3\n"
                       "BottomHeight=4\nTrans=1\nTile=1\nNormalColour=$FF\nNormalColour2=1 2 3\n",
       [](const Layout& l) {
         const auto& e = l.Slot(TSlot::MenuItem);
         EXPECT_EQ(e.Image.Entry, "Item.bmp");
         EXPECT_EQ(e.Fields.Style, 3);
         EXPECT_EQ(e.Fields.Margins, (TMargins{1, 2, 3, 4}));
         EXPECT_EQ(e.Fields.Trans, 1);
         EXPECT_EQ(e.Fields.Tile, 1);
         EXPECT_EQ(e.Fields.NormalColour, 0xFFu);
         EXPECT_EQ(e.Fields.MouseOverColour, clNotGiven);
         EXPECT_EQ(e.Fields.NormalColour2, ColourRGB(1, 2, 3));
         EXPECT_EQ(e.Fields.PressedColour2, 0xFF000012u);  // the skin's button text (here the system's)
         EXPECT_EQ(e.Fields.Name, "MenuItem");
       }},
      {"capital extension clears the image", "[MenuItem]\nImage=item.BMP\n",
       [](const Layout& l) { EXPECT_FALSE(l.Slot(TSlot::MenuItem).Image.Present()); }},
      {"no image, no record", "[MenuItem]\nStyle=1\n",
       [](const Layout& l) { EXPECT_FALSE(l.Result.Slot(TSlot::MenuItem).has_value()); }},
      {"tile above 1 is stretched", "[MenuItem]\nImage=a.bmp\nTile=2\n",
       [](const Layout& l) { EXPECT_EQ(l.Slot(TSlot::MenuItem).Fields.Tile, 0); }},
      {"second image", "[Tabs]\nImage=t.bmp\nBorder=b.bmp\nFrame=9\n",
       [](const Layout& l) {
         EXPECT_EQ(l.Slot(TSlot::Tabs).Image2.Entry, "b.bmp");
         EXPECT_EQ(l.Slot(TSlot::Tabs).Fields.FrameCount, 5);
       }},
      {"progress", "[Progress]\nBitmap=p.bmp\nStyle=1\nTile=5\nNormalColour=7\n",
       [](const Layout& l) {
         const auto& p = l.Slot(TSlot::Progress);
         EXPECT_EQ(p.Fields.FrameCount, 1);
         EXPECT_EQ(p.Fields.Tile, 1);
         EXPECT_EQ(p.Fields.NormalColour, 0u);  // the progress loader reads no colours
       }},
      {"group box", "[GroupBox]\nImage=g.bmp\nBackgroundAlignment=2\nBackgroundLeftShift=-3\nBackgroundRightShift=4\n",
       [](const Layout& l) {
         EXPECT_EQ(l.Slot(TSlot::GroupBox).BoxLabel, (TBoxLabelFields{-3, 4, 2}));
       }},
      {"menu bar", "[Personality]\nMENUBAR=m.bmp\nTileMenu=3\n",
       [](const Layout& l) {
         const auto& m = l.Slot(TSlot::MenuBar);
         EXPECT_EQ(m.Fields.Name, "Personality");
         EXPECT_EQ(m.Fields.Margins, (TMargins{1, 0, 1, 0}));
         EXPECT_EQ(m.Fields.Tile, 1);
       }},
      {"tab pane margins at most 4", "[Tab.Pane]\nImage=p.bmp\nLeftWidth=9\nTopHeight=4\nRightWidth=5\nBottomHeight=1\n",
       [](const Layout& l) { EXPECT_EQ(l.Slot(TSlot::TabPane).Fields.Margins, (TMargins{4, 4, 4, 1})); }},
      {"header keeps a given frame count", "[Headerbar]\nImage=h.bmp\n",
       [](const Layout& l) { EXPECT_EQ(l.Slot(TSlot::Headerbar).Fields.FrameCount, 5); }},
      {"scroll thumb count from its own key", "[HorzScrollThumb]\nImage=t.bmp\nFrameCount=4\n",
       [](const Layout& l) { EXPECT_EQ(l.Slot(TSlot::HorzScrollThumb).Fields.FrameCount, 4); }},
      {"borders", "[Personality]\nTop=top.bmp\nTopTopHeight=6\nTopBotHeight=7\nTopFrame=2\nTopStretch=0\nTopTrans=0\n"
                  "Left=l.bmp\nLeftTopHeight=3\nLeftBotHeight=4\n",
       [](const Layout& l) {
         const auto& top = l.Result.Borders[2].Fields;
         EXPECT_EQ(top.Margins, (TMargins{6, 0, 7, 0}));
         EXPECT_EQ(top.FrameCount, 2);
         EXPECT_EQ(top.Tile, 0);
         EXPECT_EQ(top.Trans, 0);
         const auto& left = l.Result.Borders[0].Fields;
         EXPECT_EQ(left.Margins, (TMargins{0, 3, 0, 4}));
         EXPECT_EQ(left.Tile, 1);
         EXPECT_EQ(left.Trans, 1);
       }},
      {"title", "[Personality]\nTextBack=tb.bmp\nTextShift=-2\nTextShiftVert=3\nTextRightClip=40\nTextAlignment=1\n"
                "TXTBackleft=5\nTXTBackRight=6\nActiveTextR=1\nActiveTextG=2\nActiveTextB=3\nInActiveTextR=1\n"
                "[Fonts]\nFontHeight=16\n",
       [](const Layout& l) {
         EXPECT_EQ(l.Result.Title.Fields.Margins, (TMargins{-2, 3, 40, 0}));  // text offsets keep their sign
         EXPECT_EQ(l.Result.TitleFields.TextAlignment, 1);
         EXPECT_EQ(l.Result.TitleFields.FontHeight, 16);
         EXPECT_EQ(l.Result.TitleFields.TextBackLeft, 5);
         EXPECT_EQ(l.Result.TitleFields.ActiveTextColour, ColourRGB(1, 2, 3));
         EXPECT_EQ(l.Result.TitleFields.InactiveTextColour, clNone);  // incomplete triple
       }},
      {"buttons", "[Buttons]\nBitmap=b.bmp\nCheckButton=c.bmp\nRadioButton=r.bmp\nCheckButtonFrame=12\n"
                  "PressedColour2=9 9 9\n",
       [](const Layout& l) {
         EXPECT_EQ(l.Result.ButtonFields.CheckFrameCount, 12);
         EXPECT_EQ(l.Result.ButtonFields.RadioFrameCount, 4);  // 40 px wide, 20 high: 40 div 16 = 2, at least 4
         EXPECT_TRUE(l.Result.ButtonFields.HasPressedColour2);
         EXPECT_FALSE(l.Result.ButtonFields.HasNormalColour2);
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Layout l;
    ASSERT_TRUE(l.Build(row.text)) << l.Error;
    row.check(l);
  }
}

TEST(SkinLayout, CheckAndRadioStripsCountTheirCells) {
  Layout l;
  l.Sizes = {{"c.bmp", {13 * 8, 13, 24}}, {"r.bmp", {16 * 6, 16, 24}}};
  ASSERT_TRUE(l.Build("[Buttons]\nCheckButton=c.bmp\nRadioButton=r.bmp\n"));
  EXPECT_EQ(l.Result.ButtonFields.CheckFrameCount, 8);
  EXPECT_EQ(l.Result.ButtonFields.RadioFrameCount, 6);
}

TEST(SkinLayout, CaptionButtonsAreFilteredAndCounted) {
  Layout l;
  l.Sizes = {{"three.bmp", {40, 13, 24}}, {"six.bmp", {78, 13, 24}}, {"mdi.bmp", {12 * 10, 9, 24}}};
  ASSERT_TRUE(l.Build("[Buttons]\n[Button]\n[BUTTON.RADIO]\n[Button.CheckBox]\n"
                      "[ButtonClose]\nAction=0\nButtonImage=three.bmp\n"
                      "[buttonWide]\nAction=1\nButtonImage=six.bmp\nAlign=1\nXcoord=-20\n"
                      "[ButtonGone]\nAction=-1\nButtonImage=three.bmp\n"
                      "[ButtonKept]\nAction=-1\nVisibility=0\nButtonImage=three.bmp\n"
                      "[ButtonIcon]\nAction=3\nButtonImage=three.bmp\n"
                      "[ButtonIconFramed]\nAction=11\nframe=4\nButtonImage=three.bmp\n"
                      "[MDICONTROLS]\nImage=mdi.bmp\n"));
  const auto& b = l.Result.CaptionButtons;
  ASSERT_EQ(b.size(), 5u + 3u);
  EXPECT_EQ(b[0].Fields.Name, "BUTTONCLOSE");
  EXPECT_EQ(b[0].Fields.FrameCount, 3);  // 40 / 13 = 3.08
  EXPECT_EQ(b[0].Button.CombineOp, -1);
  EXPECT_EQ(b[1].Fields.FrameCount, 6);  // 78 / 13 = 6
  EXPECT_EQ(b[1].Button.Align, 1);
  EXPECT_EQ(b[1].Button.Xcoord, -20);
  EXPECT_EQ(b[2].Fields.Name, "BUTTONKEPT");
  EXPECT_EQ(b[2].Fields.FrameCount, 6);  // negative action
  EXPECT_EQ(b[2].Button.Visibility1, -1);
  EXPECT_FALSE(b[3].Image.Present());    // the icon button draws the window's icon
  EXPECT_EQ(b[4].Fields.FrameCount, 4);  // a given frame count keeps its image
  EXPECT_TRUE(b[4].Image.Present());
  for (int i = 0; i < 3; ++i) {
    const auto& m = b[5 + static_cast<std::size_t>(i)];
    EXPECT_EQ(m.Button.Action, 7 + i);
    EXPECT_EQ(m.Button.Align, 100);
    EXPECT_EQ(m.Fields.FrameCount, 4);
    EXPECT_EQ(m.Image.Width(), 40);
    EXPECT_EQ(m.Button.Xcoord, 14 * (3 - i));
  }
}

TEST(SkinLayout, ColoursAndTheirDefaults) {
  Layout l;
  ASSERT_TRUE(l.Build("[Colours]\nButtonFace=10 20 30\nMenuText=1,2,3\n[Colour1]\ncolor=5 6 7\n[COLOURS2]\n"
                      "[Customcolors]\nColor3=9 9 9\n"));
  const TSkinColours& c = l.Result.Colours;
  EXPECT_EQ(c.ButtonFaceColour, ColourRGB(10, 20, 30));
  EXPECT_EQ(c.MenubarColour, ColourRGB(10, 20, 30));  // follows the face colour
  EXPECT_EQ(c.MenuTextColour, ColourRGB(1, 2, 3));
  EXPECT_EQ(c.WindowTextColour, 0xFF000008u);
  EXPECT_EQ(c.IndexedColours, (std::vector<TColor>{ColourRGB(5, 6, 7), 0xFF000008}));
  EXPECT_EQ(c.CustomColours[3], ColourRGB(9, 9, 9));
  EXPECT_EQ(c.CustomColours[0], 0xFFFFFFu);

  Layout bare;
  ASSERT_TRUE(bare.Build("[Personality]\n"));
  EXPECT_TRUE(bare.Result.Colours.IndexedColours.empty());
  for (TColor c10 : bare.Result.Colours.CustomColours) EXPECT_EQ(c10, 0xFFFFFFu);
}

// Values a hostile or careless description may hold never reach the painting code.
TEST(SkinLayout, HostileGeometryIsNormalised) {
  Layout l;
  ASSERT_TRUE(l.Build("[ExtraImages]\nImage=a.bmp\nFrame=0\nLeftWidth=-2147483648\nTopHeight=2147483648\n"
                      "RightWidth=99999999\nTrans=7\n"
                      "[ProgressChunk]\n[Progress.Chunk]\nImage=a.bmp\nFrame=-3\n[Track]\nImage=a.bmp\nFrame=1000000\n"
                      "[Personality]\nTop=t.bmp\nTopFrame=0\nTopTopHeight=-5\n"
                      "[ButtonX]\nframe=-2\nButtonImage=a.bmp\n"));
  const auto& e = l.Slot(TSlot::ExtraImages).Fields;
  EXPECT_EQ(e.FrameCount, 5);
  EXPECT_EQ(e.Margins, (TMargins{0, 0, kGeometryLimit, 0}));  // 2^31 is no 32-bit number: default 0
  EXPECT_EQ(e.Trans, 0);
  EXPECT_EQ(l.Slot(TSlot::ProgressChunk).Fields.FrameCount, 1);
  EXPECT_EQ(l.Slot(TSlot::Track).Fields.FrameCount, kGeometryLimit);
  EXPECT_EQ(l.Result.Borders[2].Fields.FrameCount, 1);
  EXPECT_EQ(l.Result.Borders[2].Fields.Margins.Left, 0);
  EXPECT_EQ(l.Result.CaptionButtons[0].Fields.FrameCount, 1);
}

TEST(SkinLayout, LimitsRefuseHostileSkins) {
  std::string many;
  for (int i = 0; i < 10000; ++i) many += "[Button" + std::to_string(i) + "]\nAction=0\n";
  Layout buttons;
  EXPECT_FALSE(buttons.Build(many));
  EXPECT_NE(buttons.Error.find("64"), std::string::npos);

  Layout exactly;
  std::string sixtyFour;
  for (int i = 0; i < 64; ++i) sixtyFour += "[Button" + std::to_string(i) + "]\n";
  EXPECT_TRUE(exactly.Build(sixtyFour));

  Layout pixels;
  pixels.Sizes = {{"huge.bmp", {30000, 3000, 24}}};
  EXPECT_FALSE(pixels.Build("[MenuItem]\nImage=huge.bmp\n[MenuBackground]\nImage=huge.bmp\n"));
  EXPECT_FALSE(pixels.Error.empty());
}

TEST(SkinLayout, ImagesComeFromTheArchive) {
  TestSkin s;
  s.Strip("top.bmp", 30, 8, {0x102030, 0x405060}, true).Raw("broken.bmp", {'B', 'M', 1, 2}).Raw("empty.bmp", {});
  s.Ini = "[Personality]\nTop=top.bmp\nLeft=broken.bmp\nRight=empty.bmp\nBottom=missing.bmp\n";
  TSkinReader reader;
  ASSERT_TRUE(reader.ReadArchive(s.Stored()));
  std::vector<std::uint8_t> text;
  std::string name;
  ASSERT_TRUE(reader.FindEntry(".ini", text, name));
  TQuickIni ini;
  ini.Load(std::span<const std::uint8_t>(text));
  TSkinLayout layout;
  std::string error;
  ASSERT_TRUE(BuildSkinLayout(ini, ArchiveImageLookup(reader), layout, error));
  EXPECT_EQ(layout.Borders[2].Image.Info, (TImageInfo{30, 16, 24}));
  EXPECT_TRUE(layout.Borders[0].Image.Present());  // present but unreadable: decoding it fails later
  EXPECT_EQ(layout.Borders[0].Image.Width(), 0);
  EXPECT_FALSE(layout.Borders[1].Image.Present());
  EXPECT_FALSE(layout.Borders[3].Image.Present());
  EXPECT_EQ(layout.Pixels, 30 * 16);
}

TEST(SkinLayout, BitmapHeaders) {
  auto header = [](std::uint32_t size, std::int32_t w, std::int32_t h, int bits) {
    std::vector<std::uint8_t> v(54, 0);
    v[0] = 'B';
    v[1] = 'M';
    auto put = [&v](std::size_t at, std::uint32_t x, int n) {
      for (int i = 0; i < n; ++i) v[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(x >> (8 * i));
    };
    put(14, size, 4);
    if (size == 12) {
      put(18, static_cast<std::uint32_t>(w), 2);
      put(20, static_cast<std::uint32_t>(h), 2);
      put(24, static_cast<std::uint32_t>(bits), 2);
    } else {
      put(18, static_cast<std::uint32_t>(w), 4);
      put(22, static_cast<std::uint32_t>(h), 4);
      put(28, static_cast<std::uint32_t>(bits), 2);
    }
    return v;
  };
  EXPECT_EQ(ProbeBitmap(header(40, 30, -20, 24)), (TImageInfo{30, 20, 24}));  // top-down
  EXPECT_EQ(ProbeBitmap(header(12, 30, -20, 8)), (TImageInfo{30, 20, 8}));
  // Larger than the program decodes, or nonsense: unreadable.
  EXPECT_FALSE(ProbeBitmap(header(40, 40000, 10, 24)));
  EXPECT_FALSE(ProbeBitmap(header(40, 10000, 10000, 24)));
  EXPECT_FALSE(ProbeBitmap(header(40, 0, 10, 24)));
  EXPECT_FALSE(ProbeBitmap(header(20, 10, 10, 24)));
  EXPECT_FALSE(ProbeBitmap(std::vector<std::uint8_t>{'B', 'M', 0}));
}
