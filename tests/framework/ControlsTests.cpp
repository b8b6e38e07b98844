// Standard and common controls on real windows: clicks, radio selection, memo lines,
// labelled edit placement, status bar owner drawing, progress range, rich edit text and
// controls built from a stored form.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include "ComCtrls.h"
#include "FormReader.h"
#include "Forms.h"
#include "StdCtrls.h"

using namespace fw;

namespace {

void Pump() { Application->ProcessMessages(); }

// Records the clicks and panel draws of the controls under test.
struct TRecorder {
  std::vector<TObject*> Clicks;
  std::vector<std::pair<int, RECT>> Draws;
  void Click(TObject* sender) { Clicks.push_back(sender); }
  void DrawPanel(TCustomStatusBar*, TStatusPanel* panel, const RECT& r) { Draws.emplace_back(panel->Index(), r); }
};

// A form shown off to the side, freed at the end of the test.
struct TTestForm {
  TForm Form{nullptr};
  TTestForm() {
    Form.SetBounds(40, 40, 500, 400);
    Form.Show();
    Pump();
  }
  // A new control of class T on the form.
  template <class T>
  T* Add() {
    auto* c = new T(&Form);
    c->SetParent(&Form);
    return c;
  }
};

}  // namespace

TEST(StdControls, ButtonClickFiresOnClickAndGivesTheFormItsModalResult) {
  TTestForm t;
  TRecorder rec;
  auto* b = t.Add<TButton>();
  b->SetCaption(L"&C 关闭");
  b->OnClick = TNotifyEvent::Of<&TRecorder::Click>(&rec);
  SendMessageW(b->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(rec.Clicks.size(), 1u);
  EXPECT_EQ(rec.Clicks[0], b);
  EXPECT_EQ(t.Form.ModalResult(), mrNone);
  b->SetModalResult(mrOk);
  SendMessageW(b->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(rec.Clicks.size(), 2u);
  EXPECT_EQ(t.Form.ModalResult(), mrOk);
  wchar_t cls[32];
  GetClassNameW(b->Handle(), cls, 32);
  EXPECT_STREQ(cls, L"Button");
}

TEST(StdControls, EnterPressesTheDefaultButtonAndEscapeTheCancelButton) {
  TTestForm t;
  TRecorder rec;
  auto* ok = t.Add<TButton>();
  ok->SetDefault(true);
  ok->OnClick = TNotifyEvent::Of<&TRecorder::Click>(&rec);
  auto* cancel = t.Add<TButton>();
  cancel->SetLeft(100);
  cancel->SetCancel(true);
  cancel->OnClick = TNotifyEvent::Of<&TRecorder::Click>(&rec);
  auto* edit = t.Add<TEdit>();
  edit->SetTop(50);
  edit->SetFocus();
  EXPECT_EQ(t.Form.Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(t.Form.Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  ASSERT_EQ(rec.Clicks.size(), 2u);
  EXPECT_EQ(rec.Clicks[0], ok);
  EXPECT_EQ(rec.Clicks[1], cancel);
  // With another button focused, Enter belongs to that button.
  cancel->SetFocus();
  t.Form.Perform(CM_DIALOGKEY, VK_RETURN, 0);
  ASSERT_EQ(rec.Clicks.size(), 3u);
  EXPECT_EQ(rec.Clicks[2], cancel);
}

TEST(StdControls, RadioGroupClickAndArrowsChangeItemIndexAndFireOnClickOncePerChange) {
  TTestForm t;
  TRecorder rec;
  auto* g = t.Add<TRadioGroup>();
  g->SetBounds(18, 17, 177, 33);
  g->SetColumns(2);
  g->Items()->Add(L"加密");
  g->Items()->Add(L"解密");
  g->SetItemIndex(0);
  g->OnClick = TNotifyEvent::Of<&TRecorder::Click>(&rec);
  g->Handle();
  ASSERT_EQ(g->ButtonCount(), 2);
  // Two columns side by side on one row.
  EXPECT_EQ(g->Buttons(0)->Top(), g->Buttons(1)->Top());
  EXPECT_GT(g->Buttons(1)->Left(), g->Buttons(0)->Left() + 50);
  wchar_t cls[32];
  GetClassNameW(g->Buttons(1)->Handle(), cls, 32);
  EXPECT_STREQ(cls, L"Button");
  EXPECT_EQ(g->Buttons(1)->Caption(), L"解密");

  SendMessageW(g->Buttons(1)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(g->ItemIndex(), 1);
  EXPECT_EQ(SendMessageW(g->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(g->Buttons(0)->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(rec.Clicks.size(), 1u);
  SendMessageW(g->Buttons(1)->Handle(), BM_CLICK, 0, 0);  // no change, no event
  EXPECT_EQ(rec.Clicks.size(), 1u);
  // Arrow key on the focused button: the key message as the message loop delivers it.
  g->Buttons(1)->SetFocus();
  MSG msg{g->Buttons(1)->Handle(), WM_KEYDOWN, VK_DOWN, 0, 0, {}};
  EXPECT_TRUE(Application->IsKeyMsg(msg));
  EXPECT_EQ(g->ItemIndex(), 0);  // wraps round
  EXPECT_EQ(rec.Clicks.size(), 2u);
  EXPECT_EQ(GetFocus(), g->Buttons(0)->Handle());
  // Setting it in code changes the checks without an event; out of range clamps.
  g->SetItemIndex(7);
  EXPECT_EQ(g->ItemIndex(), 1);
  EXPECT_EQ(rec.Clicks.size(), 2u);
  g->Items()->Delete(1);
  EXPECT_EQ(g->ButtonCount(), 1);
  EXPECT_EQ(g->ItemIndex(), 0);
}

TEST(StdControls, MemoAppendsLinesScrollsAndKeepsEverythingPastTheEditLimit) {
  TTestForm t;
  auto* m = t.Add<TMemo>();
  m->SetBounds(0, 0, 300, 60);
  m->SetScrollBars(ssVertical);
  m->SetReadOnly(true);
  m->Lines()->Add(L"C:\\out\\a.txt.sbx");
  m->Handle();
  m->Lines()->Add(L"第二行");
  EXPECT_EQ(m->Lines()->Count(), 2);
  EXPECT_EQ(m->Lines()->Strings(1), L"第二行");
  EXPECT_TRUE(GetWindowLongW(m->Handle(), GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(GetWindowLongW(m->Handle(), GWL_STYLE) & WS_VSCROLL);
  // A typed character does not reach a read-only memo.
  SendMessageW(m->Handle(), WM_CHAR, L'x', 0);
  EXPECT_EQ(m->Lines()->Count(), 2);
  // A text without a final line break still gets the new line on a line of its own.
  m->SetText(L"open");
  m->Lines()->Add(L"next");
  EXPECT_EQ(m->Lines()->ToVector(), (std::vector<std::wstring>{L"open", L"next"}));
  // A long log: more than the edit's default 32K characters, all kept, the last line in view.
  m->Lines()->Clear();
  std::wstring line(99, L'w');
  for (int i = 0; i < 400; ++i) m->Lines()->Add(line);
  EXPECT_EQ(m->Lines()->Count(), 400);
  EXPECT_EQ(GetWindowTextLengthW(m->Handle()), 400 * 101);
  EXPECT_GT(SendMessageW(m->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 390);
  EXPECT_THROW(m->Lines()->Strings(400), EListError);
}

TEST(StdControls, LabelledEditLabelFollowsTheEdit) {
  TTestForm t;
  auto* e = t.Add<TLabeledEdit>();
  e->EditLabel()->SetCaption(L"操作密钥");
  e->EditLabel()->Font()->SetColor(clRed);
  e->SetBounds(69, 61, 365, 21);
  TBoundLabel* l = e->EditLabel();
  EXPECT_EQ(l->Parent(), &t.Form);
  EXPECT_EQ(l->Left(), 69);
  EXPECT_EQ(l->Top() + l->Height() + e->LabelSpacing(), 61);  // above by default
  e->SetLabelPosition(lpLeft);
  EXPECT_EQ(l->Left() + l->Width() + e->LabelSpacing(), 69);
  EXPECT_EQ(l->Top(), 61 + (21 - l->Height()) / 2);
  e->SetLeft(100);
  EXPECT_EQ(l->Left() + l->Width() + 3, 100);
  // A longer caption grows the label leftwards from the edit.
  int w = l->Width();
  l->SetCaption(L"操作密钥（重复）");
  EXPECT_GT(l->Width(), w);
  EXPECT_EQ(l->Left() + l->Width() + 3, 100);
  e->SetPasswordChar(L'*');
  e->SetText(L"470913");
  EXPECT_EQ(SendMessageW(e->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
  e->SetVisible(false);
  EXPECT_FALSE(l->Visible());
  // The label is painted red on the form.
  e->SetVisible(true);
  RedrawWindow(t.Form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC dc = GetDC(t.Form.Handle());
  int red = 0;
  for (int y = l->Top(); y < l->Top() + l->Height(); ++y)
    for (int x = l->Left(); x < l->Left() + l->Width(); ++x)
      if (COLORREF c = GetPixel(dc, x, y); GetRValue(c) > 160 && GetGValue(c) < 90 && GetBValue(c) < 90) ++red;
  ReleaseDC(t.Form.Handle(), dc);
  EXPECT_GT(red, 5);
}

TEST(ComControls, OwnerDrawnStatusPanelIsDrawnInItsRectangleAndPanelChangesReachTheWindow) {
  TTestForm t;
  TRecorder rec;
  auto* sb = t.Add<TStatusBar>();
  int widths[] = {200, 60, 200, 50};
  for (int w : widths) sb->Panels()->Add()->SetWidth(w);
  sb->Panels()->Items(0)->SetAlignment(taRightJustify);
  sb->Panels()->Items(1)->SetAlignment(taCenter);
  sb->Panels()->Items(2)->SetStyle(psOwnerDraw);
  sb->Panels()->Items(3)->SetBevel(pbRaised);
  sb->OnDrawPanel = TDrawPanelEvent::Of<&TRecorder::DrawPanel>(&rec);
  HWND h = sb->Handle();
  EXPECT_EQ(sb->Top() + sb->Height(), t.Form.ClientHeight());  // aligned to the bottom
  EXPECT_EQ(SendMessageW(h, SB_GETPARTS, 0, 0), 4);
  UpdateWindow(t.Form.Handle());
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_FALSE(rec.Draws.empty());
  EXPECT_EQ(rec.Draws.back().first, 2);
  RECT expected = sb->PanelRect(2);
  EXPECT_EQ(rec.Draws.back().second.left, expected.left);
  EXPECT_EQ(rec.Draws.back().second.right, expected.right);
  EXPECT_GE(expected.left, 260);

  sb->Panels()->Items(1)->SetText(L"42%");
  wchar_t text[32] = {};
  SendMessageW(h, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"\t42%");  // centred
  sb->Panels()->Items(0)->SetWidth(150);
  EXPECT_LT(sb->PanelRect(1).left, 160);
  LRESULT type = SendMessageW(h, SB_GETTEXTLENGTHW, 3, 0);
  EXPECT_TRUE(HIWORD(type) & SBT_POPOUT);
}

TEST(ComControls, ProgressBarClampsAndReportsItsPosition) {
  TTestForm t;
  auto* p = t.Add<TProgressBar>();
  p->SetPosition(150);
  EXPECT_EQ(p->Position(), 100);
  HWND h = p->Handle();
  p->SetPosition(42);
  EXPECT_EQ(SendMessageW(h, PBM_GETPOS, 0, 0), 42);
  p->SetMax(10);
  EXPECT_EQ(p->Position(), 10);
  EXPECT_EQ(SendMessageW(h, PBM_GETRANGE, FALSE, 0), 10);
}

TEST(ComControls, RichEditShowsChineseLinesReadOnly) {
  TTestForm t;
  auto* r = t.Add<TRichEdit>();
  r->SetBounds(0, 0, 400, 200);
  r->SetReadOnly(true);
  r->SetPlainText(true);
  r->SetScrollBars(ssVertical);
  r->Lines()->Assign({L"一、概述", L"CryptoAPI是一个有足够强度的加密标准。本软件把CryptoAPI变成了现实工具。 "});
  HWND h = r->Handle();
  wchar_t cls[32];
  GetClassNameW(h, cls, 32);
  EXPECT_TRUE(wcscmp(cls, L"RichEdit20W") == 0 || wcscmp(cls, L"RICHEDIT50W") == 0);
  EXPECT_EQ(r->Lines()->Count(), 2);
  EXPECT_EQ(r->Lines()->Strings(0), L"一、概述");
  EXPECT_EQ(r->Lines()->Strings(1).back(), L' ');  // a trailing blank survives
  r->Lines()->Add(L"二、使用 ");
  EXPECT_EQ(r->Lines()->Count(), 3);
  EXPECT_TRUE(SendMessageW(h, EM_GETOPTIONS, 0, 0) & ECO_READONLY);
}

namespace {

class THelpForm : public TForm {
  FW_DECLARE_CLASS()
public:
  using TForm::TForm;
  int Closes = 0;
  void Button1Click(TObject*) { ++Closes; }
};

const TClassInfo& THelpForm::StaticClassInfo() {
  static const TClassInfo info{"THelpForm", &TForm::StaticClassInfo(), {}, {}, {FW_PUBLISHED_METHOD(THelpForm, Button1Click)}};
  return info;
}

const char* kStored = R"(object HelpForm: THelpForm
  Left = 30
  Top = 30
  Width = 640
  Height = 400
  Caption = '简要说明'
  object Panel1: TPanel
    Align = alBottom
    Height = 35
    BevelOuter = bvNone
    object Button1: TButton
      Left = 279
      Top = 6
      Width = 75
      Height = 25
      Caption = '&C 关闭'
      OnClick = Button1Click
    end
  end
  object RGAction: TRadioGroup
    Left = 18
    Top = 17
    Width = 177
    Height = 33
    Caption = '方式选择'
    Columns = 2
    ItemIndex = 0
    Items.Strings = (
      '加密'
      '解密')
  end
  object LEPassword: TLabeledEdit
    Left = 69
    Top = 61
    Width = 365
    Height = 21
    EditLabel.Caption = '操作密钥'
    LabelPosition = lpLeft
    PasswordChar = '*'
  end
  object GroupBox2: TGroupBox
    Left = 200
    Top = 90
    Width = 400
    Height = 150
    Caption = '操作结果'
    object MemoDest: TMemo
      Align = alClient
      ReadOnly = True
      ScrollBars = ssVertical
    end
  end
  object StatusBar1: TStatusBar
    Panels = <
      item
        Alignment = taRightJustify
        Width = 200
      end
      item
        Style = psOwnerDraw
        Width = 60
      end>
  end
end
)";

}  // namespace

TEST(StdControls, StoredFormCreatesTheControlsByClassName) {
  RegisterStdControls();
  RegisterComCtrls();
  THelpForm form(nullptr);
  ReadComponentTree(&form, ParseFormText(kStored));
  form.Show();
  Pump();
  auto* button = FindStored<TButton>(&form, L"Button1");
  EXPECT_EQ(button->Caption(), L"&C 关闭");
  EXPECT_EQ(button->Parent(), FindStored<TPanel>(&form, L"Panel1"));
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form.Closes, 1);
  auto* rg = FindStored<TRadioGroup>(&form, L"RGAction");
  EXPECT_TRUE(dynamic_cast<TCustomGroupBox*>(rg));
  ASSERT_EQ(rg->ButtonCount(), 2);
  EXPECT_EQ(rg->ItemIndex(), 0);
  EXPECT_EQ(SendMessageW(rg->Buttons(0)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  auto* le = FindStored<TLabeledEdit>(&form, L"LEPassword");
  EXPECT_EQ(le->EditLabel()->Caption(), L"操作密钥");
  EXPECT_EQ(le->EditLabel()->Left() + le->EditLabel()->Width() + 3, 69);
  EXPECT_EQ(le->PasswordChar(), L'*');
  auto* memo = FindStored<TMemo>(&form, L"MemoDest");
  auto* box = FindStored<TGroupBox>(&form, L"GroupBox2");
  EXPECT_GT(memo->Top(), 5);  // below the group box caption
  EXPECT_LT(memo->Width(), box->Width());
  auto* sb = FindStored<TStatusBar>(&form, L"StatusBar1");
  ASSERT_EQ(sb->Panels()->Count(), 2);
  EXPECT_EQ(sb->Panels()->Items(1)->Style(), psOwnerDraw);
  EXPECT_EQ(SendMessageW(sb->Handle(), SB_GETPARTS, 0, 0), 2);
}
