// The skin preview window built from its stored form: one of every kind of control the skin
// engine draws (with the states the preview promises), its menus and commands, and what the
// skin commands do to the skin data.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "MsgBox.h"
#include "SkinPreview.h"
#include "SysUtils.h"
#include "skin/data/WinSkinData.h"

using namespace fw;
using preview::TBuiltInSkin;
using preview::TFormSkinView;

namespace {

std::wstring BesideThisSuite(const wchar_t* relative) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring rel = relative;
  for (auto& c : rel)
    if (c == L'/') c = L'\\';
  return ExtractFilePath(self) + rel;
}

// Records the program's message boxes and answers them with OK.
struct TBoxes {
  std::vector<TMessageBoxRequest> Shown;
  TMessageBoxHook Previous;
  TBoxes() {
    Previous = SetMessageBoxHook([this](const TMessageBoxRequest& r) {
      Shown.push_back(r);
      return IDOK;
    });
  }
  ~TBoxes() { SetMessageBoxHook(Previous); }
};

// The preview window, shown, and freed at the end.
struct TPreview {
  TFormSkinView* Form = nullptr;
  TPreview() {
    Form = new TFormSkinView(Application);
    Form->AfterConstruction();
    Form->Show();
    Application->ProcessMessages();
  }
  ~TPreview() {
    delete Form;
    Application->ProcessMessages();
  }
  template <class T>
  std::vector<T*> All() const {
    std::vector<T*> out;
    for (int i = 0; i < Form->ComponentCount(); ++i)
      if (auto* t = dynamic_cast<T*>(Form->Components(i))) out.push_back(t);
    return out;
  }
};

std::vector<std::wstring> Captions(TMenuItem* item) {
  std::vector<std::wstring> out;
  for (int i = 0; i < item->Count(); ++i) out.push_back(item->Items(i)->Caption());
  return out;
}

// The menu item whose caption contains text, anywhere below item.
TMenuItem* FindItem(TMenuItem* item, const std::wstring& text) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* c = item->Items(i);
    if (c->Caption().find(text) != std::wstring::npos) return c;
    if (TMenuItem* inner = FindItem(c, text)) return inner;
  }
  return nullptr;
}

}  // namespace

TEST(Preview, HoldsEveryKindOfControl) {
  TPreview p;
  // Every class the skin engine gives a skin of its own, by class name.
  std::map<std::string, int> count;
  for (int i = 0; i < p.Form->ComponentCount(); ++i) ++count[p.Form->Components(i)->ClassName()];
  for (const char* cls : {"TButton", "TBitBtn", "TSpeedButton", "TCheckBox", "TRadioButton", "TRadioGroup",
                          "TGroupBox", "TPanel", "TEdit", "TMemo", "TComboBox", "TDateTimePicker", "TUpDown",
                          "TTrackBar", "TTabControl", "TPageControl", "TTabSheet", "THeaderControl", "TListView",
                          "TListBox", "TScrollBar", "TStatusBar", "TProgressBar", "TSkinData", "TMainMenu",
                          "TPopupMenu", "TOpenDialog"})
    EXPECT_GT(count[cls], 0) << cls;
  EXPECT_GE(count["TRadioButton"], 2);
  EXPECT_GE(count["TTabSheet"], 2);

  // Buttons: plain, default, disabled; the bit button has its glyph.
  bool plain = false, isDefault = false, disabled = false;
  for (TButton* b : p.All<TButton>()) {
    if (dynamic_cast<TBitBtn*>(b)) continue;
    plain |= b->Enabled() && !b->Default();
    isDefault |= b->Default();
    disabled |= !b->Enabled();
  }
  EXPECT_TRUE(plain && isDefault && disabled);
  EXPECT_FALSE(p.Form->BitBtn1->Glyph()->Empty());
  // Check boxes checked, unchecked and grayed.
  std::map<TCheckBoxState, int> states;
  for (TCheckBox* c : p.All<TCheckBox>()) ++states[c->State()];
  EXPECT_GT(states[cbChecked], 0);
  EXPECT_GT(states[cbUnchecked], 0);
  EXPECT_GT(states[cbGrayed], 0);
  // Scroll bars of both kinds; an up-down with its edit; a progress bar inside the status bar.
  bool horz = false, vert = false;
  for (TScrollBar* s : p.All<TScrollBar>()) (s->Kind() == sbVertical ? vert : horz) = true;
  EXPECT_TRUE(horz && vert);
  for (TUpDown* u : p.All<TUpDown>()) EXPECT_NE(dynamic_cast<TEdit*>(u->Associate()), nullptr);
  // Progress bars lying and standing, one of them inside the status bar; track bars of both kinds.
  TProgressBar* inBar = nullptr;
  bool standing = false;
  for (TProgressBar* b : p.All<TProgressBar>()) {
    if (b->Parent() == p.Form->StatusBar1) inBar = b;
    standing |= b->Orientation() == pbVertical;
  }
  ASSERT_NE(inBar, nullptr);
  EXPECT_TRUE(standing);
  bool trackHorz = false, trackVert = false;
  for (TTrackBar* t : p.All<TTrackBar>()) (t->Orientation() == trVertical ? trackVert : trackHorz) = true;
  EXPECT_TRUE(trackHorz && trackVert);
  EXPECT_TRUE(p.Form->StatusBar1->SizeGrip());
  EXPECT_GE(p.Form->StatusBar1->Panels()->Count(), 3);
  const std::vector<TWinControl*> tabOrder = p.Form->TabOrderList();
  EXPECT_NE(std::find(tabOrder.begin(), tabOrder.end(), inBar), tabOrder.end());
  EXPECT_EQ(p.Form->ListView1->ItemCount(), 3);

  // Nothing overlaps: the form's own children lie apart from each other and inside it (the
  // skin's overlays, which lie over their controls on purpose, belong to the skin).
  std::vector<TControl*> top;
  for (int i = 0; i < p.Form->ControlCount(); ++i)
    if (TControl* c = p.Form->Controls(i); c->Visible() && c->Owner() == p.Form) top.push_back(c);
  for (size_t i = 0; i < top.size(); ++i) {
    RECT a = top[i]->BoundsRect();
    EXPECT_GE(a.left, 0) << top[i]->ClassName();
    EXPECT_LE(a.right, p.Form->ClientWidth()) << top[i]->ClassName();
    EXPECT_LE(a.bottom, p.Form->ClientHeight()) << top[i]->ClassName();
    for (size_t k = i + 1; k < top.size(); ++k) {
      RECT b = top[k]->BoundsRect(), both{};
      EXPECT_FALSE(IntersectRect(&both, &a, &b)) << WideToUtf8(top[i]->Name()) << " / " << WideToUtf8(top[k]->Name());
    }
  }
}

TEST(Preview, MenusHoldTheCommands) {
  TPreview p;
  TMenuItem* items = p.Form->MainMenu1->Items();
  ASSERT_EQ(p.Form->Menu, p.Form->MainMenu1);
  TMenuItem* open = FindItem(items, L"打开皮肤…");
  TMenuItem* builtIn = FindItem(items, L"内置皮肤");
  TMenuItem* off = FindItem(items, L"关闭皮肤");
  ASSERT_NE(open, nullptr);
  ASSERT_NE(builtIn, nullptr);
  ASSERT_NE(off, nullptr);
  EXPECT_EQ(builtIn->Count(), 2);
  EXPECT_TRUE(builtIn->Items(0)->Checked());
  EXPECT_NE(FindItem(items, L"模态对话框"), nullptr);
  EXPECT_NE(FindItem(items, L"消息框"), nullptr);
  EXPECT_TRUE(open->OnClick.Assigned());
  EXPECT_TRUE(off->OnClick.Assigned());
  EXPECT_TRUE(builtIn->Items(1)->OnClick.Assigned());
  // The form's context menu.
  EXPECT_EQ(p.Form->PopupMenu, p.Form->PopupMenu1);
  EXPECT_NE(FindItem(p.Form->PopupMenu1->Items(), L"打开皮肤…"), nullptr);
  EXPECT_NE(FindItem(p.Form->PopupMenu1->Items(), L"关闭皮肤"), nullptr);
  EXPECT_EQ(Captions(items).size(), 2u);
}

TEST(Preview, SkinCommands) {
  TBoxes boxes;
  TPreview p;
  skin::TSkinData* data = p.Form->SkinData1;
  ASSERT_FALSE(data->NoSkin());
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(data->SkinName(), "Default");

  // The second built-in skin, and back.
  p.Form->BuiltInClick(p.Form->MBuiltInSlate);
  EXPECT_EQ(data->SkinName(), "Slate");
  EXPECT_TRUE(p.Form->MBuiltInSlate->Checked());
  EXPECT_FALSE(p.Form->MBuiltInDefault->Checked());
  EXPECT_EQ(p.Form->SkinDescription(), L"内置皮肤：石板");
  p.Form->BuiltInClick(p.Form->MBuiltInDefault);
  EXPECT_EQ(data->SkinName(), "Default");

  // Off and on: the menu items' checks follow.
  p.Form->SkinOffClick(p.Form->MSkinOff);
  EXPECT_FALSE(data->Active());
  EXPECT_TRUE(p.Form->MSkinOff->Checked());
  EXPECT_TRUE(p.Form->PSkinOff->Checked());
  p.Form->SkinOffClick(p.Form->PSkinOff);
  EXPECT_TRUE(data->Active());
  EXPECT_FALSE(p.Form->MSkinOff->Checked());

  // A file that is not there: said so in Chinese, and the skin in use stays.
  EXPECT_FALSE(p.Form->LoadSkinFile(L"C:\\没有这个皮肤.skn"));
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_NE(boxes.Shown[0].Text.find(L"无法读取皮肤文件"), std::wstring::npos);
  EXPECT_NE(boxes.Shown[0].Text.find(L"没有这个皮肤.skn"), std::wstring::npos);
  EXPECT_EQ(data->SkinName(), "Default");
  EXPECT_FALSE(data->NoSkin());
  // A packed skin file loads.
  EXPECT_TRUE(p.Form->LoadSkinFile(BesideThisSuite(SLATE_SKIN_RELATIVE_PATH)));
  EXPECT_EQ(data->SkinName(), "Slate");
  EXPECT_FALSE(p.Form->MBuiltInDefault->Checked());
  EXPECT_FALSE(p.Form->MBuiltInSlate->Checked());
  EXPECT_EQ(p.Form->SkinDescription(), L"皮肤文件：slate.skn");
  EXPECT_EQ(boxes.Shown.size(), 1u);
}

namespace {
bool DialogSeen = false;
// Closes the preview's modal dialog once it is up.
void CALLBACK CloseDialog(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND dlg = FindWindowW(L"TFormSkinDialog", nullptr); dlg && IsWindowVisible(dlg)) {
    DialogSeen = true;
    PostMessageW(dlg, WM_CLOSE, 0, 0);
  }
}
}  // namespace

TEST(Preview, DialogAndMessageBoxCommands) {
  TBoxes boxes;
  TPreview p;
  UINT_PTR timer = SetTimer(nullptr, 0, 100, &CloseDialog);
  DialogSeen = false;
  p.Form->DialogClick(p.Form->MDialog);  // returns once the dialog is closed
  KillTimer(nullptr, timer);
  EXPECT_TRUE(DialogSeen);
  p.Form->MessageClick(p.Form->MMessage);
  ASSERT_EQ(boxes.Shown.size(), 1u);
  EXPECT_EQ(boxes.Shown[0].Caption, L"皮肤预览");
}
