// The main window's stored form: every component with its class, caption, bounds and font,
// the menus, dialogs and status panels, the handlers bound by name, and the start-up state.
#include <gtest/gtest.h>

#include "AppTestUtil.h"
#include "MyStatusBar.h"
#include "skin/SkinMessages.h"
#include "skin/data/WinSkinData.h"

using namespace apptest;
using fw::TControl;

namespace {

struct Expected {
  const wchar_t* Name;
  const char* Class;
  const wchar_t* Caption;  // nullptr: not checked
  int Left, Top, Width, Height;  // -1: not checked
};

const Expected kControls[] = {
    {L"RGAction", "TRadioGroup", L"方式选择", 18, 17, 177, 33},
    {L"LEDest", "TLabeledEdit", nullptr, 455, 32, 361, -1},
    {L"SBSD", "TSpeedButton", L"选择", 817, 32, 33, 22},
    {L"LEPassword", "TLabeledEdit", nullptr, 69, 61, 365, -1},
    {L"LEPassword1", "TLabeledEdit", nullptr, 69, 84, 365, -1},
    {L"GroupBox1", "TGroupBox", L"源文件", 18, 110, 415, 250},
    {L"GroupBox2", "TGroupBox", L"操作结果", 453, 62, 400, 298},
    {L"VLDSource", "TValueListEditor", nullptr, -1, -1, -1, -1},
    {L"MemoDest", "TMemo", nullptr, -1, -1, -1, -1},
    {L"SelectFile", "TButton", L"选择源文件", 126, 375, 75, 25},
    {L"ClearFile", "TButton", L"全部清除", 233, 375, 75, 25},
    {L"Cifra", "TButton", L"加密", 532, 375, 75, 25},
    {L"Decifra", "TButton", L"解密", 625, 375, 75, 25},
    {L"SSTop", "TButton", L"中断", 719, 375, 75, 25},
    {L"MyStatusBar1", "TMyStatusBar", nullptr, -1, -1, -1, 19},
};

std::vector<std::wstring> MenuCaptions(fw::TMenuItem* item) {
  std::vector<std::wstring> out;
  for (int i = 0; i < item->Count(); ++i) out.push_back(item->Items(i)->Caption());
  return out;
}

}  // namespace

TEST(StoredForm, MainWindowComponents) {
  BoxRecorder boxes;
  MainWindow w;
  for (const Expected& e : kControls) {
    SCOPED_TRACE(fw::WideToUtf8(e.Name));
    auto* c = dynamic_cast<TControl*>(w->FindComponent(e.Name));
    ASSERT_NE(c, nullptr);
    EXPECT_STREQ(c->ClassName(), e.Class);
    if (e.Caption) {
      EXPECT_EQ(c->Caption(), e.Caption);
    }
    if (e.Left >= 0) {
      EXPECT_EQ(c->Left(), e.Left);
    }
    if (e.Top >= 0) {
      EXPECT_EQ(c->Top(), e.Top);
    }
    if (e.Width >= 0) {
      EXPECT_EQ(c->Width(), e.Width);
    }
    if (e.Height >= 0) {
      EXPECT_EQ(c->Height(), e.Height);
    }
    ASSERT_NE(c->Font(), nullptr);
    EXPECT_EQ(c->Font()->Name(), L"宋体");
    EXPECT_EQ(c->Font()->Height(), -12);
  }
  EXPECT_EQ(w->Font()->Charset(), GB2312_CHARSET);
  EXPECT_EQ(w->Menu, w->MainMenu1);

  // Radio group, labelled edits.
  EXPECT_EQ(w->RGAction->Columns(), 2);
  EXPECT_EQ(w->RGAction->ItemIndex(), 0);
  EXPECT_EQ(w->RGAction->Items()->Count(), 2);
  EXPECT_EQ((*w->RGAction->Items())[0], L"加密");
  EXPECT_EQ((*w->RGAction->Items())[1], L"解密");
  EXPECT_EQ(w->LEDest->EditLabel()->Caption(), L"目标路径");
  EXPECT_EQ(w->LEDest->LabelPosition(), fw::lpAbove);
  for (auto [edit, label] : {std::pair{w->LEPassword, L"操作密钥"}, std::pair{w->LEPassword1, L"重复密钥"}}) {
    EXPECT_EQ(edit->EditLabel()->Caption(), label);
    EXPECT_EQ(edit->LabelPosition(), fw::lpLeft);
    EXPECT_EQ(edit->EditLabel()->Font()->Color(), fw::clRed);
    EXPECT_EQ(edit->PasswordChar(), L'*');
    // Start-up: filled with the operation key, masked and not editable.
    EXPECT_EQ(edit->Text(), L"470913");
    EXPECT_FALSE(edit->Enabled());
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
  }

  // The list and the log fill their group boxes.
  EXPECT_EQ(w->VLDSource->Parent(), w->GroupBox1);
  EXPECT_EQ(w->VLDSource->Align(), fw::alClient);
  EXPECT_EQ(w->VLDSource->TitleCaptions()[0], L"序号");
  EXPECT_EQ(w->VLDSource->TitleCaptions()[1], L"名称");
  EXPECT_EQ(w->VLDSource->ColWidths(0), 48);
  EXPECT_EQ(w->VLDSource->PopupMenu, w->PMSource);
  EXPECT_FALSE(w->VLDSource->Options() & fw::goEditing);
  EXPECT_TRUE(w->VLDSource->Options() & fw::goColSizing);
  EXPECT_TRUE(w->VLDSource->Options() & fw::goThumbTracking);
  EXPECT_EQ(w->MemoDest->Parent(), w->GroupBox2);
  EXPECT_EQ(w->MemoDest->Align(), fw::alClient);
  EXPECT_TRUE(w->MemoDest->ReadOnly());
  EXPECT_EQ(w->MemoDest->Font()->Color(), fw::clBlue);
  EXPECT_TRUE(GetWindowLongW(w->MemoDest->Handle(), GWL_STYLE) & WS_VSCROLL);

  // Buttons: the batch commands follow the direction, "中断" waits for a batch.
  EXPECT_TRUE(w->Cifra->Enabled());
  EXPECT_FALSE(w->Decifra->Enabled());
  EXPECT_FALSE(w->SSTop->Enabled());

  // Status bar panels.
  auto& panels = *w->MyStatusBar1->Panels();
  ASSERT_EQ(panels.Count(), 4);
  EXPECT_EQ(panels.Items(0)->Alignment(), fw::taRightJustify);
  EXPECT_EQ(panels.Items(0)->Width(), 200);
  EXPECT_EQ(panels.Items(1)->Alignment(), fw::taCenter);
  EXPECT_EQ(panels.Items(1)->Width(), 60);
  EXPECT_EQ(panels.Items(2)->Style(), fw::psOwnerDraw);
  EXPECT_EQ(panels.Items(2)->Width(), 200);
  EXPECT_EQ(panels.Items(3)->Bevel(), fw::pbRaised);
  EXPECT_EQ(panels.Items(3)->Width(), 50);
  EXPECT_EQ(w->MyStatusBar1->PIndex(), 2);
  EXPECT_EQ(w->MyStatusBar1->Align(), fw::alBottom);
  EXPECT_TRUE(w->MyStatusBar1->Font()->Style() & fw::fsUnderline);
  EXPECT_EQ(w->MyStatusBar1->Font()->Color(), fw::clBlack);

  // Engines: stream mode, the progress handler bound, the user key check already run.
  for (crypto::TCryptoApi* e : {w->Encrypt, w->Decrypt}) {
    EXPECT_EQ(e->Mode(), crypto::cmStream);
    EXPECT_FALSE(e->InitUser());
    ASSERT_TRUE(e->onSolution.Assigned());
    EXPECT_EQ(e->onSolution.Data(), w.Form);
  }

  // Dialogs, after the start-up direction ("加密").
  EXPECT_TRUE(w->OpenDialogS->Options & fw::ofAllowMultiSelect);
  EXPECT_TRUE(w->OpenDialogS->Options & fw::ofFileMustExist);
  EXPECT_TRUE(w->SaveDialogD->Options & fw::ofOverwritePrompt);
  EXPECT_EQ(w->OpenDialogS->Title, L"请选择被加密文件");
  EXPECT_EQ(w->OpenDialogS->Filter, L"任意文件(*.*)|*.*");
  EXPECT_EQ(w->OpenDialogS->DefaultExt, L"");
  EXPECT_EQ(w->SaveDialogD->Title, L"请选择文件。");
  EXPECT_EQ(w->SaveDialogD->Filter, L"sbx 文件(*.sbx)|*.sbx");
  EXPECT_EQ(w->SaveDialogD->DefaultExt, L".sbx");

  // Menus.
  EXPECT_EQ(MenuCaptions(w->PMSource->Items()),
            (std::vector<std::wstring>{L"&S 选择源文件", L"-", L"&D 删除此文件", L"&A 全部清除"}));
  EXPECT_EQ(MenuCaptions(w->MainMenu1->Items()), (std::vector<std::wstring>{L"&F 文件", L"&H 帮助", L"&Q 结束"}));
  EXPECT_EQ(MenuCaptions(w->MainMenu1->Items()->Items(0)), std::vector<std::wstring>{L"&Q 结束"});
  EXPECT_EQ(MenuCaptions(w->MainMenu1->Items()->Items(1)),
            (std::vector<std::wstring>{L"&D 帮助文档", L"&A 关于..."}));
  // The window starts skinned: its menu is drawn in the skinned frame's band, not by the system.
  EXPECT_EQ(SendMessageW(w->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_EQ(GetMenu(w->Handle()), nullptr);
  EXPECT_NE(w->MainMenu1->Handle(), nullptr);

  // Title.
  EXPECT_EQ(w->Caption(), L"sbx 文件加密工具");
  EXPECT_EQ(fw::Application->Title(), L"sbx 文件加密工具");
  EXPECT_TRUE(app::Idle);
  EXPECT_TRUE(app::BuiltInKey.empty());
}

TEST(StoredForm, HandlersFireFromTheirControls) {
  BoxRecorder boxes;
  MainWindow w;
  // About, through the menu command of its item.
  SendMessageW(w->Handle(), WM_COMMAND, MAKEWPARAM(static_cast<fw::TMenuItem*>(w->FindComponent(L"MHAbout"))->Command(), 0), 0);
  Pump();
  ASSERT_EQ(boxes.Boxes.size(), 1u);
  EXPECT_EQ(boxes.Boxes[0].Caption, L"关于本软件");
  EXPECT_EQ(boxes.Boxes[0].Text.rfind(L"  本软件使用微软CryptoAPI加密标准对文件进行加密，\n确保关键信息的安全。", 0), 0u);
  EXPECT_EQ(boxes.Boxes[0].Flags & 0xF, static_cast<unsigned>(MB_OK));
  // "中断" sets the stop request (enabled here only to press it).
  app::StopRequested = false;
  w->SSTop->SetEnabled(true);
  Click(w->SSTop);
  EXPECT_TRUE(app::StopRequested);
  w->SSTop->SetEnabled(false);
  // The popup's "全部清除" clears the list.
  w->AddSourceFiles({L"C:\\a", L"C:\\b"});
  w->PClear->Click();
  EXPECT_EQ(w->VLDSource->Strings().Count(), 0);
  // The direction radio group.
  Click(w->RGAction->Buttons(1));
  Pump();
  EXPECT_EQ(w->RGAction->ItemIndex(), 1);
  EXPECT_TRUE(w->Decifra->Enabled());
  EXPECT_EQ(w->OpenDialogS->DefaultExt, L".sbx");
}

TEST(StoredForm, ShowingSizesTheWindowToItsContents) {
  BoxRecorder boxes;
  MainWindow w;
  RECT r{};
  GetWindowRect(w->Handle(), &r);
  const POINT memo = w->MemoDest->ClientToScreen({0, 0});
  const POINT button = w->Cifra->ClientToScreen({0, 0});
  EXPECT_EQ(r.right, memo.x + w->MemoDest->Width() + 24);
  EXPECT_EQ(r.bottom, button.y + w->Cifra->Height() + 44);
}

// The skin data component with the built-in skin, as the build wrote it into the form.
TEST(StoredForm, SkinDataWithTheBuiltInSkin) {
  BoxRecorder boxes;
  MainWindow w;
  auto* data = dynamic_cast<skin::TSkinData*>(w->FindComponent(L"SkinData1"));
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(boxes.Boxes.empty());  // the stored skin loaded without a word
  EXPECT_FALSE(data->NoSkin());
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(data->DisableTag, 99);
  using skin::SetOf;
  const skin::TSkinControlTypes stored =
      SetOf(skin::xcMainMenu) | SetOf(skin::xcPopupMenu) | SetOf(skin::xcToolbar) | SetOf(skin::xcControlbar) |
      SetOf(skin::xcCombo) | SetOf(skin::xcCheckBox) | SetOf(skin::xcRadioButton) | SetOf(skin::xcProgress) |
      SetOf(skin::xcScrollbar) | SetOf(skin::xcEdit) | SetOf(skin::xcButton) | SetOf(skin::xcBitBtn) |
      SetOf(skin::xcSpeedButton) | SetOf(skin::xcSpin) | SetOf(skin::xcPanel) | SetOf(skin::xcGroupBox) |
      SetOf(skin::xcTab) | SetOf(skin::xcTrackBar) | SetOf(skin::xcSystemMenu);
  EXPECT_EQ(data->SkinControls, stored);
  EXPECT_EQ(data->Options, SetOf(skin::xoPreview) | SetOf(skin::xoToolbarBK));
  EXPECT_EQ(data->SkinFormtype(), skin::sfMainform);
  EXPECT_TRUE(data->MenuUpdate);
  EXPECT_FALSE(data->MenuMerge);
  ASSERT_EQ(data->Skin3rd()->Count(), 124);
  for (int i = 0; i < 124; ++i) EXPECT_EQ(data->Skin3rd()->Strings(i), skin::DefaultSkin3rd()[static_cast<size_t>(i)]);
  // Every element the painting reads is there (the chunked progress bar and the tab pane are
  // the second skin's variants).
  EXPECT_FALSE(data->BorderTop()->Bitmap.Empty());
  EXPECT_FALSE(data->Buttons()->Bitmap.Empty());
  for (size_t i = 0; i < skin::kSlotCount; ++i) {
    const auto slot = static_cast<skin::TSlot>(i);
    if (slot == skin::TSlot::ProgressChunk || slot == skin::TSlot::TabPane) continue;
    ASSERT_NE(data->Slot(slot), nullptr) << skin::SlotSection(slot);
    EXPECT_FALSE(data->Slot(slot)->Bitmap.Empty()) << skin::SlotSection(slot);
  }
}
