// Stored forms: parsing every value kind, building components, dotted properties,
// collections, component references, handlers bound by name, and errors with line numbers.
#include <gtest/gtest.h>

#include "FormReader.h"

using namespace fw;

namespace {

// A persistent sub-object set through dotted names.
struct TSubFont : TPersistent {
  FW_DECLARE_CLASS()
public:
  std::wstring Name;
  int64_t Height = 0;
  int64_t Style = 0;
};

struct TItem : TPersistent {
  FW_DECLARE_CLASS()
public:
  int64_t Width = 0;
  std::wstring Text;
};

struct TItems : TCollection {
  FW_DECLARE_CLASS()
public:
  std::vector<std::unique_ptr<TItem>> Items;
  TPersistent* AddItem() override { return Items.emplace_back(std::make_unique<TItem>()).get(); }
  void ClearItems() override { Items.clear(); }
};

struct TWidget : TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TWidget(TComponent* owner) : TComponent(owner) {}
  TComponent* ParentSeen = nullptr;
  std::wstring Caption;
  int64_t Left = 0, Kind = 0;
  bool Enabled = true;
  TSubFont Font;
  TItems Panels;
  TComponent* Buddy = nullptr;
  std::vector<std::wstring> Lines;
  std::vector<int64_t> Widths;
  std::vector<uint8_t> Blob;
  TNotifyEvent OnClick;
  int LoadedCalls = 0;
  TComponent* BuddyAtLoaded = nullptr;
  void SetParentComponent(TComponent* p) override { ParentSeen = p; }
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCalls;
    BuddyAtLoaded = Buddy;
  }
};

struct TTestForm : TComponent {
  FW_DECLARE_CLASS()
public:
  TTestForm() : TComponent(nullptr) {}
  std::wstring Caption;
  int Clicks = 0;
  TObject* LastSender = nullptr;
  void ButtonClick(TObject* sender) {
    ++Clicks;
    LastSender = sender;
  }
};

const TClassInfo& TSubFont::StaticClassInfo() {
  static const TClassInfo info{
      "TSubFont",
      &TPersistent::StaticClassInfo(),
      {},
      {{"Name", TPropKind::String, nullptr, [](TObject* o, const TPropValue& v) { As<TSubFont>(o)->Name = PropStr(v); }},
       {"Height", TPropKind::Integer, nullptr,
        [](TObject* o, const TPropValue& v) { As<TSubFont>(o)->Height = PropInt(v); }},
       {"Style", TPropKind::Set, nullptr, [](TObject* o, const TPropValue& v) { As<TSubFont>(o)->Style = PropInt(v); },
        {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}}},
      {}};
  return info;
}

const TClassInfo& TItem::StaticClassInfo() {
  static const TClassInfo info{
      "TItem",
      &TPersistent::StaticClassInfo(),
      {},
      {{"Width", TPropKind::Integer, nullptr, [](TObject* o, const TPropValue& v) { As<TItem>(o)->Width = PropInt(v); }},
       {"Text", TPropKind::String, nullptr, [](TObject* o, const TPropValue& v) { As<TItem>(o)->Text = PropStr(v); }}},
      {}};
  return info;
}

FW_DEFINE_CLASS(TItems, TCollection)

const TClassInfo& TWidget::StaticClassInfo() {
  static const TClassInfo info{
      "TWidget",
      &TComponent::StaticClassInfo(),
      &NewComponent<TWidget>,
      {{"Caption", TPropKind::String, nullptr,
        [](TObject* o, const TPropValue& v) { As<TWidget>(o)->Caption = PropStr(v); }},
       {"Left", TPropKind::Integer, nullptr, [](TObject* o, const TPropValue& v) { As<TWidget>(o)->Left = PropInt(v); }},
       {"Kind", TPropKind::Enumeration, nullptr,
        [](TObject* o, const TPropValue& v) { As<TWidget>(o)->Kind = PropInt(v); }, {"wkPlain", "wkFancy"}},
       {"Enabled", TPropKind::Boolean, nullptr,
        [](TObject* o, const TPropValue& v) { As<TWidget>(o)->Enabled = PropBool(v); }},
       {"Font", TPropKind::Object, [](TObject* o) -> TPropValue { return static_cast<TObject*>(&As<TWidget>(o)->Font); },
        nullptr},
       {"Panels", TPropKind::Object,
        [](TObject* o) -> TPropValue { return static_cast<TObject*>(&As<TWidget>(o)->Panels); }, nullptr},
       {"Buddy", TPropKind::Object, nullptr,
        [](TObject* o, const TPropValue& v) {
          As<TWidget>(o)->Buddy = dynamic_cast<TComponent*>(std::get<TObject*>(v));
        }},
       {"Lines", TPropKind::Strings, nullptr,
        [](TObject* o, const TPropValue& v) { As<TWidget>(o)->Lines = std::get<std::vector<std::wstring>>(v); }},
       {"Widths", TPropKind::Integers, nullptr,
        [](TObject* o, const TPropValue& v) { As<TWidget>(o)->Widths = std::get<std::vector<int64_t>>(v); }},
       {"Blob", TPropKind::Data, nullptr,
        [](TObject* o, const TPropValue& v) { As<TWidget>(o)->Blob = std::get<std::vector<uint8_t>>(v); }},
       {"OnClick", TPropKind::Method, nullptr,
        [](TObject* o, const TPropValue& v) { As<TWidget>(o)->OnClick = TNotifyEvent(std::get<TMethodRef>(v)); }}},
      {}};
  return info;
}

const TClassInfo& TTestForm::StaticClassInfo() {
  static const TClassInfo info{
      "TTestForm",
      &TComponent::StaticClassInfo(),
      {},
      {{"Caption", TPropKind::String, nullptr,
        [](TObject* o, const TPropValue& v) { As<TTestForm>(o)->Caption = PropStr(v); }}},
      {FW_PUBLISHED_METHOD(TTestForm, ButtonClick)}};
  return info;
}

const char* kForm = R"(object TestForm: TTestForm
  Caption = '专用文件加密工具'
  object Outer: TWidget
    Left = -12
    Kind = wkFancy
    Enabled = False
    Caption = 'it''s ' + #25991#20214 +
      ' done'
    Font.Name = '宋体'
    Font.Height = $0C
    Font.Style = [fsBold, fsUnderline]
    Buddy = Inner
    Panels = <
      item
        Width = 200
      end
      item
        Width = 60
        Text = '100%'
      end>
    Lines = (
      '一、概述'
      'line two')
    Widths = (
      48
      357 -1 $10)
    Blob = {
      0A0b FF
      00}
    object Inner: TWidget
      OnClick = ButtonClick
    end
  end
end
)";

}  // namespace

TEST(FormReader, BuildsComponentsWithEveryKindOfValue) {
  RegisterClass(&TWidget::StaticClassInfo());
  TTestForm form;
  ReadComponentTree(&form, ParseFormText(kForm));
  EXPECT_EQ(form.Name(), L"TestForm");
  EXPECT_EQ(form.Caption, L"专用文件加密工具");
  auto* outer = FindStored<TWidget>(&form, L"Outer");
  auto* inner = FindStored<TWidget>(&form, L"Inner");
  EXPECT_EQ(outer->Owner(), &form);
  EXPECT_EQ(inner->Owner(), &form);  // every component is owned by the form
  EXPECT_EQ(outer->ParentSeen, &form);
  EXPECT_EQ(inner->ParentSeen, outer);  // nesting gives the parent
  EXPECT_EQ(outer->Left, -12);
  EXPECT_EQ(outer->Kind, 1);
  EXPECT_FALSE(outer->Enabled);
  EXPECT_EQ(outer->Caption, L"it's 文件 done");
  EXPECT_EQ(outer->Font.Name, L"宋体");
  EXPECT_EQ(outer->Font.Height, 12);
  EXPECT_EQ(outer->Font.Style, 1 + 4);
  ASSERT_EQ(outer->Panels.Items.size(), 2u);
  EXPECT_EQ(outer->Panels.Items[1]->Width, 60);
  EXPECT_EQ(outer->Panels.Items[1]->Text, L"100%");
  EXPECT_EQ(outer->Lines, (std::vector<std::wstring>{L"一、概述", L"line two"}));
  EXPECT_EQ(outer->Widths, (std::vector<int64_t>{48, 357, -1, 16}));
  EXPECT_EQ(outer->Blob, (std::vector<uint8_t>{0x0A, 0x0B, 0xFF, 0x00}));
  // A reference to a component declared later is resolved before Loaded runs.
  EXPECT_EQ(outer->Buddy, inner);
  EXPECT_EQ(outer->BuddyAtLoaded, inner);
  EXPECT_EQ(outer->LoadedCalls, 1);
  EXPECT_FALSE(outer->IsLoading());
  ASSERT_TRUE(Assigned(inner->OnClick));
  inner->OnClick(inner);
  EXPECT_EQ(form.Clicks, 1);
  EXPECT_EQ(form.LastSender, inner);
}

TEST(FormReader, ErrorsNameTheLineAndTheProblem) {
  RegisterClass(&TWidget::StaticClassInfo());
  struct Case {
    const char* text;
    const wchar_t* expect;
  } cases[] = {
      {"object F: TTestForm\n  object A: TUnknownThing\n  end\nend\n", L"第 2 行"},
      {"object F: TTestForm\n  object A: TWidget\n    Colour = 3\n  end\nend\n", L"Colour"},
      {"object F: TTestForm\n  object A: TWidget\n    Kind = wkOther\n  end\nend\n", L"wkOther"},
      {"object F: TTestForm\n  object A: TWidget\n    OnClick = NoSuchHandler\n  end\nend\n", L"NoSuchHandler"},
      {"object F: TTestForm\n  object A: TWidget\n    Buddy = Nobody\n  end\nend\n", L"Nobody"},
      {"object F: TTestForm\n  Caption = 'open\nend\n", L"第 2 行"},
      {"object F: TTestForm\n  object A: TWidget\n    Blob = {0A1}\n  end\nend\n", L"第 3 行"},
      {"object F: TTestForm\n  object A: TWidget\n    Widths = (48 'x')\n  end\nend\n", L"Widths"},
      {"object F: TOtherForm\nend\n", L"TOtherForm"},
      {"object F: TTestForm\n", L"end"},
  };
  for (const Case& c : cases) {
    TTestForm form;
    try {
      ReadComponentTree(&form, ParseFormText(c.text));
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find(c.expect), std::wstring::npos) << e.what() << "\nfor: " << c.text;
    }
  }
}
