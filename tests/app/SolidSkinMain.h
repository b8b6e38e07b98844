// The main window in a skin of solid colours, so that a pixel tells which part of the skin was
// drawn: the frame every such skin has, and the main window wearing a given one.
#pragma once
#include <string>

#include "AppTestUtil.h"
#include "TestSkin.h"
#include "skin/SkinMessages.h"
#include "skin/data/WinSkinData.h"
#include "skin/form/WinSkinForm.h"
#include "skin/manager/SkinManage.h"

namespace apptest {

// Borders and caption in solid colours; personality and colours keys may be added.
inline TestSkin SolidFrame(const std::string& personality = {}, const std::string& colours = {}) {
  TestSkin s;
  s.Strip("left.bmp", 4, 40, {0x10A020, 0x106020})
      .Strip("right.bmp", 4, 40, {0x20A010, 0x206010})
      .Strip("top.bmp", 60, 24, {0x3050C0, 0x707080}, true)
      .Strip("bottom.bmp", 60, 5, {0xC05030, 0x805050}, true);
  s.Ini = "[Personality]\nLeft=left.bmp\nLeftFrame=2\nLeftTopHeight=24\nLeftBotHeight=5\n"
          "Right=right.bmp\nRightFrame=2\nRightTopHeight=24\nRightBotHeight=5\n"
          "Top=top.bmp\nTopFrame=2\nTopTopHeight=4\nTopBotHeight=4\nTopStretch=1\n"
          "Bottom=bottom.bmp\nBottomFrame=2\nTextShift=8\nTextRightClip=10\n" +
          personality +
          "[Colours]\nButtonFace=236 238 242\nTitleTextActive=255 255 255\nTitleTextNoActive=200 200 200\n" +
          colours;
  return s;
}

// The main window built from its stored form, its skin data given the skin, skinned and in front.
struct TSolidSkinMain {
  explicit TSolidSkinMain(const TestSkin& skin) {
    Data = dynamic_cast<skin::TSkinData*>(W->FindComponent(L"SkinData1"));
    EXPECT_NE(Data, nullptr);
    if (!Data) return;
    Data->SetActive(false);
    PumpUntil([&] { return !Skinned(); });
    const auto stored = skin.Stored();
    Data->SkinStream().Clear();
    Data->SkinStream().WriteBuffer(stored.data(), static_cast<std::int32_t>(stored.size()));
    EXPECT_TRUE(Data->LoadSkin());
    Data->SetActive(true);
    EXPECT_TRUE(PumpUntil([&] { return Skinned(); }));
    SetForegroundWindow(W->Handle());
    Pump();
    Form = skin::SkinManager ? skin::SkinManager->FindSkinForm(W->Handle()) : nullptr;
  }
  ~TSolidSkinMain() { SetCursorPos(1200, 1000); }
  TSolidSkinMain(const TSolidSkinMain&) = delete;
  TSolidSkinMain& operator=(const TSolidSkinMain&) = delete;
  bool Skinned() const { return SendMessageW(W->Handle(), skin::WM_SKIN_QUERY, 0, 0) == 1; }
  MainWindow W;
  skin::TSkinData* Data = nullptr;
  skin::TWinSkinForm* Form = nullptr;
};

}  // namespace apptest
