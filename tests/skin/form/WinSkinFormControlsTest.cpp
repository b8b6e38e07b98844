// Which skin object a skinned window gives each of its controls: the fixed chain on one test
// form and its variants (disabling tag, kinds missing, the other libraries' list, the
// application's own choice), bare button windows by style, controls created after activation,
// and the skins coming off again.
#include <gtest/gtest.h>

#include "Buttons.h"
#include "ComCtrls.h"
#include "FormSkinFixture.h"
#include "StdCtrls.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/controls/SkinButtons.h"

using namespace formtest;
using skin::SetOf;
using skin::SkinManager;
using skin::TSkinControl;
using skin::TWinSkinForm;

namespace {

// Every control kind the skins know: all of them on.
constexpr skin::TSkinControlTypes kAllKinds =
    SetOf(skin::xcMainMenu) | SetOf(skin::xcPopupMenu) | SetOf(skin::xcCheckBox) | SetOf(skin::xcRadioButton) |
    SetOf(skin::xcButton) | SetOf(skin::xcBitBtn) | SetOf(skin::xcSpeedButton) | SetOf(skin::xcPanel) |
    SetOf(skin::xcGroupBox) | SetOf(skin::xcEdit) | SetOf(skin::xcScrollbar) | SetOf(skin::xcStatusBar);

template <class T>
T* Place(fw::TWinControl* parent, fw::TComponent* owner, int x, int y, int w = 90, int h = 24) {
  auto* c = new T(owner);
  c->SetParent(parent);
  c->SetBounds(x, y, w, h);
  return c;
}

// The test form: one of each control the dispatch decides about.
struct TControlsForm {
  explicit TControlsForm(const std::function<void(TControlsForm&)>& before = {}) : Form(nullptr) {
    Form.SetBounds(60, 60, 560, 420);
    Form.SetCaption(L"控件分派");
    Button = Place<fw::TButton>(&Form, &Form, 10, 10);
    Button->SetCaption(L"确定");
    Marked = Place<fw::TButton>(&Form, &Form, 110, 10);
    Marked->Tag = 99;
    Speed = Place<fw::TSpeedButton>(&Form, &Form, 210, 10, 40, 22);
    Bit = Place<fw::TBitBtn>(&Form, &Form, 260, 10);
    Check = Place<fw::TCheckBox>(&Form, &Form, 10, 44, 120, 20);
    Radio = Place<fw::TRadioButton>(&Form, &Form, 140, 44, 120, 20);
    Group = Place<fw::TRadioGroup>(&Form, &Form, 10, 74, 200, 80);
    Group->Items()->Add(L"加密");
    Group->Items()->Add(L"解密");
    MarkedGroup = Place<fw::TRadioGroup>(&Form, &Form, 220, 74, 200, 80);
    MarkedGroup->Tag = 99;
    MarkedGroup->Items()->Add(L"甲");
    Box = Place<fw::TGroupBox>(&Form, &Form, 10, 164, 200, 80);
    Inner = Place<fw::TButton>(Box, &Form, 10, 20);
    Panel = Place<fw::TPanel>(&Form, &Form, 220, 164, 200, 80);
    Edit = Place<fw::TEdit>(&Form, &Form, 10, 254, 200, 22);
    Status = new fw::TStatusBar(&Form);
    Status->SetParent(&Form);
    if (before) before(*this);
    Form.Show();
    Pump();
  }
  fw::TForm Form;
  fw::TButton *Button, *Marked, *Inner;
  fw::TSpeedButton* Speed;
  fw::TBitBtn* Bit;
  fw::TCheckBox* Check;
  fw::TRadioButton* Radio;
  fw::TRadioGroup *Group, *MarkedGroup;
  fw::TGroupBox* Box;
  fw::TPanel* Panel;
  fw::TEdit* Edit;
  fw::TStatusBar* Status;
};

// The classes of the skin objects registered for a control, in registration order.
std::vector<std::string> SkinsOf(const TWinSkinForm& f, const fw::TControl* c) {
  std::vector<std::string> names;
  for (TSkinControl* s : f.Controls())
    if (s->FControl == c || s->FPaintControl == c) names.emplace_back(s->ClassName());
  return names;
}
using Names = std::vector<std::string>;

std::size_t IndexOf(const TWinSkinForm& f, const fw::TControl* c) {
  for (std::size_t i = 0; i < f.Controls().size(); ++i)
    if (f.Controls()[i]->FControl == c) return i;
  return f.Controls().size();
}

// The form's skin (the manager's hook may have put it on at the first show already).
TWinSkinForm* SkinIt(fw::TForm& form) {
  SkinManager->SkinWindow(form.Handle());
  Pump();
  return SkinManager->FindSkinForm(form.Handle());
}

}  // namespace

TEST(ControlDispatch, EachControlGetsTheSkinItsRuleGivesOnce) {
  TSkinnedWorld world;
  world.Data->SkinControls = kAllKinds;
  TControlsForm t;
  TWinSkinForm* f = SkinIt(t.Form);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(SkinsOf(*f, t.Button), Names{"TSkinButton"});
  EXPECT_EQ(SkinsOf(*f, t.Marked), Names{});
  EXPECT_EQ(SkinsOf(*f, t.Speed), Names{"TSkinSpeedButton"});
  EXPECT_EQ(SkinsOf(*f, t.Bit), Names{"TSkinBitButton"});
  EXPECT_EQ(SkinsOf(*f, t.Check), Names{"TSkinCheckBox"});
  EXPECT_EQ(SkinsOf(*f, t.Radio), Names{"TSkinRadioButton"});
  EXPECT_EQ(SkinsOf(*f, t.Group), Names{"TSkinGroupBox"});
  for (int i = 0; i < t.Group->ButtonCount(); ++i) EXPECT_EQ(SkinsOf(*f, t.Group->Buttons(i)), Names{"TSkinRadioButton"});
  EXPECT_EQ(SkinsOf(*f, t.MarkedGroup), Names{});
  EXPECT_EQ(t.MarkedGroup->Buttons(0)->Tag, 99);  // the mark is passed on to the items
  EXPECT_EQ(SkinsOf(*f, t.MarkedGroup->Buttons(0)), Names{});
  EXPECT_EQ(SkinsOf(*f, t.Box), Names{"TSkinGroupBox"});
  EXPECT_EQ(SkinsOf(*f, t.Inner), Names{"TSkinButton"});
  EXPECT_LT(IndexOf(*f, t.Inner), IndexOf(*f, t.Box));  // a group box's children first
  EXPECT_EQ(SkinsOf(*f, t.Panel), Names{"TSkinBox"});
  EXPECT_EQ(t.Panel->Color(), world.Data->ButtonFaceColour());
  EXPECT_EQ(SkinsOf(*f, t.Edit), Names{"TSkinEdit"});
  EXPECT_EQ(SkinsOf(*f, t.Status), Names{"TSkinStatusBar"});
  // Every skinned window says so.
  for (fw::TWinControl* c : std::vector<fw::TWinControl*>{t.Button, t.Bit, t.Check, t.Radio, t.Group, t.Box, t.Status})
    EXPECT_EQ(SendMessageW(c->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1) << c->ClassName();
  EXPECT_EQ(SendMessageW(t.Marked->Handle(), skin::WM_SKIN_QUERY, 0, 0), 0);

  // Dispatching again adds nothing.
  const std::size_t count = f->Controls().size();
  f->SkinFormControls(&t.Form);
  EXPECT_EQ(f->Controls().size(), count);
}

TEST(ControlDispatch, KindsTheSkinDataLeavesOutAndTheOtherLibrariesList) {
  TSkinnedWorld world;
  // Without panels: group boxes and panels keep the system's look, their children do not.
  world.Data->SkinControls = kAllKinds & ~SetOf(skin::xcPanel);
  // A mixed-case line keeps buttons plain; an unknown kind stops the chain for check boxes.
  world.Data->SetSkin3rd({L"TbUtToN=nil", L"TCheckBox=nosuchkind", L"TPanel=container"});
  {
    TControlsForm t;
    TWinSkinForm* f = SkinIt(t.Form);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(SkinsOf(*f, t.Box), Names{});
    EXPECT_EQ(SkinsOf(*f, t.Panel), Names{});
    EXPECT_EQ(SkinsOf(*f, t.Button), Names{});
    EXPECT_EQ(SkinsOf(*f, t.Inner), Names{});
    EXPECT_EQ(SkinsOf(*f, t.Check), Names{});
    EXPECT_EQ(SkinsOf(*f, t.Bit), Names{"TSkinBitButton"});  // its own class name has no line
    EXPECT_EQ(SkinsOf(*f, t.Radio), Names{"TSkinRadioButton"});
  }
  // A kind the list names for the class, under its own requirement.
  world.Data->SkinControls = kAllKinds;
  world.Data->SetSkin3rd({L"tpanel=groupbox", L"TRadioButton=checkbox"});
  {
    TControlsForm t;
    TWinSkinForm* f = SkinIt(t.Form);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(SkinsOf(*f, t.Panel), Names{"TSkinGroupBox"});
    EXPECT_EQ(SkinsOf(*f, t.Radio), Names{"TSkinCheckBox"});
  }
}

namespace {

// The application's own choice: a button skin for the panel, and one made for another control.
struct TChooser {
  fw::TControl* Stray = nullptr;
  std::vector<std::wstring> Seen;
  void Choose(fw::TComponent*, skin::TSkinData*, fw::TControl*, fw::TControl* control, const std::wstring& cls,
              fw::TComponent*& result) {
    Seen.push_back(cls);
    if (cls == L"TPANEL") result = new skin::TSkinButton(control);
    if (cls == L"TEDIT" && Stray) result = new skin::TSkinButton(Stray);
  }
};

}  // namespace

TEST(ControlDispatch, TheApplicationsOwnChoiceIsTakenOnlyForItsControl) {
  TSkinnedWorld world;
  world.Data->SkinControls = kAllKinds;
  TChooser chooser;
  world.Data->OnSkinControl = skin::TOnSkinControl::Of<&TChooser::Choose>(&chooser);
  TControlsForm t([&](TControlsForm& form) { chooser.Stray = form.Marked; });
  TWinSkinForm* f = SkinIt(t.Form);
  ASSERT_NE(f, nullptr);
  EXPECT_NE(std::find(chooser.Seen.begin(), chooser.Seen.end(), L"TBUTTON"), chooser.Seen.end());  // upper case
  EXPECT_EQ(SkinsOf(*f, t.Panel), Names{"TSkinButton"});
  EXPECT_EQ(SendMessageW(t.Panel->Handle(), skin::WM_SKIN_QUERY, 0, 0), 1);
  // The one made for the marked button is not registered, and the edit stays plain.
  EXPECT_EQ(SkinsOf(*f, t.Marked), Names{});
  EXPECT_EQ(SkinsOf(*f, t.Edit), Names{});
  world.Data->OnSkinControl.Clear();
}

TEST(ControlDispatch, BareButtonWindowsByStyle) {
  TSkinnedWorld world;
  world.Data->SkinControls = kAllKinds;
  TWindow w(L"对话", 420, 300);
  struct TCase {
    DWORD Style;
    const char* Skin;
  };
  const TCase cases[] = {{BS_PUSHBUTTON, "TSkinButton"},     {BS_DEFPUSHBUTTON, "TSkinButton"},
                         {BS_USERBUTTON, "TSkinButton"},     {BS_CHECKBOX, "TSkinCheckBox"},
                         {BS_AUTOCHECKBOX, "TSkinCheckBox"}, {BS_3STATE, "TSkinCheckBox"},
                         {BS_AUTO3STATE, "TSkinCheckBox"},   {BS_RADIOBUTTON, "TSkinRadioButton"},
                         {BS_AUTORADIOBUTTON, "TSkinRadioButton"}, {BS_GROUPBOX, nullptr},
                         {BS_OWNERDRAW, nullptr},            {0xC /* split button */, nullptr},
                         {0xE /* command link */, nullptr}};
  std::vector<HWND> buttons;
  int y = 4;
  for (const TCase& c : cases) {
    buttons.push_back(CreateWindowW(L"BUTTON", L"按钮", WS_CHILD | WS_VISIBLE | c.Style, 4, y, 120, 18, w.Handle,
                                    nullptr, GetModuleHandleW(nullptr), nullptr));
    y += 20;
  }
  ASSERT_TRUE(SkinManager->SkinWindow(w.Handle));
  Pump();
  TWinSkinForm* f = SkinManager->FindSkinForm(w.Handle);
  ASSERT_NE(f, nullptr);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    SCOPED_TRACE(i);
    TSkinControl* s = f->FindControlByHandle(buttons[i]);
    if (!cases[i].Skin) {
      EXPECT_EQ(s, nullptr);
      continue;
    }
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s->ClassName(), cases[i].Skin);
    EXPECT_EQ(s->Owner(), f);  // bare windows' skins belong to the form skin
    EXPECT_EQ(SendMessageW(buttons[i], skin::WM_SKIN_QUERY, 0, 0), 1);
  }
  // Off: every window's procedure is its own again.
  const auto proc = GetClassLongPtrW(buttons[0], GCLP_WNDPROC);
  world.TakeOff(f);
  for (HWND b : buttons) {
    EXPECT_EQ(SendMessageW(b, skin::WM_SKIN_QUERY, 0, 0), 0);
    EXPECT_EQ(static_cast<ULONG_PTR>(GetWindowLongPtrW(b, GWLP_WNDPROC)), static_cast<ULONG_PTR>(proc));
  }
  EXPECT_EQ(TSkinControl::LiveCount(), 0);
}

TEST(ControlDispatch, ControlsCreatedLaterAreSkinnedToo) {
  TSkinnedWorld world;
  world.Data->SkinControls = kAllKinds;
  SkinManager->InstallHook();
  TControlsForm t;
  TWinSkinForm* f = SkinIt(t.Form);
  ASSERT_NE(f, nullptr);
  // A button added to the skinned form.
  auto* late = Place<fw::TButton>(&t.Form, &t.Form, 300, 300);
  late->HandleNeeded();
  EXPECT_TRUE(PumpUntil([&] { return SkinsOf(*f, late) == Names{"TSkinButton"}; }));
  // A radio item added to the skinned group.
  t.Group->Items()->Add(L"第三");
  ASSERT_EQ(t.Group->ButtonCount(), 3);
  fw::TGroupButton* third = t.Group->Buttons(2);
  EXPECT_TRUE(PumpUntil([&] { return SkinsOf(*f, third) == Names{"TSkinRadioButton"}; }));
  // A window made again: the old skin object goes, the new window has one.
  const HWND old = t.Button->Handle();
  t.Button->RecreateWnd();
  const HWND again = t.Button->Handle();
  EXPECT_NE(old, again);
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(again, skin::WM_SKIN_QUERY, 0, 0) == 1; }));
  Pump();
  EXPECT_EQ(SkinsOf(*f, t.Button), Names{"TSkinButton"});
  // Controls destroyed while skinned take their skin objects with them.
  delete late;
  delete t.Inner;
  t.Inner = nullptr;
  EXPECT_EQ(SkinsOf(*f, late), Names{});
  world.TakeOff(f);
  EXPECT_EQ(TSkinControl::LiveCount(), 0);
}

namespace {
HWND g_boxButton = nullptr;
LRESULT g_boxButtonQuery = -1;
void CALLBACK LookAtBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowW(L"#32770", L"皮肤消息");
  if (!box) return;
  KillTimer(nullptr, id);
  g_boxButton = GetDlgItem(box, IDOK);
  g_boxButtonQuery = g_boxButton ? SendMessageW(g_boxButton, skin::WM_SKIN_QUERY, 0, 0) : -1;
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

TEST(ControlDispatch, AMessageBoxShownAfterSkinningHasSkinnedButtons) {
  TSkinnedWorld world;
  world.Data->SkinControls = kAllKinds;
  SkinManager->FMainSkinData = world.Data.get();
  SkinManager->InstallHook();
  UseSystemDialogClass();
  TWindow owner(L"所有者");
  g_boxButton = nullptr;
  g_boxButtonQuery = -1;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &LookAtBox);
  MessageBoxW(owner.Handle, L"内容", L"皮肤消息", MB_OK);
  KillTimer(nullptr, timer);
  ASSERT_NE(g_boxButton, nullptr);
  EXPECT_EQ(g_boxButtonQuery, 1);
  Pump();
  EXPECT_EQ(TSkinControl::LiveCount(), 0);  // gone with the box
}

TEST(ControlDispatch, SkinsComeOffAndOnWithTheFormsSkin) {
  TSkinnedWorld world;
  world.Data->SkinControls = kAllKinds;
  TControlsForm t;
  const fw::TColor panelColour = t.Panel->Color();
  const bool parentColour = t.Panel->ParentColor();
  TWinSkinForm* f = SkinIt(t.Form);
  ASSERT_NE(f, nullptr);
  const std::size_t count = f->Controls().size();
  EXPECT_GT(count, 8u);
  for (int cycle = 0; cycle < 2; ++cycle) {
    SCOPED_TRACE(cycle);
    world.TakeOff(f);
    EXPECT_EQ(TSkinControl::LiveCount(), 0);
    EXPECT_EQ(t.Panel->Color(), panelColour);
    EXPECT_EQ(t.Panel->ParentColor(), parentColour);
    for (fw::TWinControl* c : std::vector<fw::TWinControl*>{t.Button, t.Check, t.Group, t.Group->Buttons(0), t.Box})
      EXPECT_EQ(SendMessageW(c->Handle(), skin::WM_SKIN_QUERY, 0, 0), 0) << c->ClassName();
    EXPECT_EQ(t.Speed->Perform(skin::WM_SKIN_QUERY), 0);
    f = SkinIt(t.Form);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Controls().size(), count);  // each once again
  }
  // The form freed while skinned: its controls and their skins go with it.
  world.TakeOff(f);
}
