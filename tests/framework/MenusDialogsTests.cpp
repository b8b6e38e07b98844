// Menus, file dialogs, the folder browser and the speed button on real windows: menu
// commands reach items, stored menus nest, dialogs run for real and return their files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>
#include <dlgs.h>

#include <functional>

#include "Buttons.h"
#include "Dialogs.h"
#include "Files.h"
#include "FormReader.h"
#include "Forms.h"
#include "Menus.h"

using namespace fw;

namespace {

void Pump() { Application->ProcessMessages(); }

struct TRecorder {
  std::vector<TObject*> Clicks;
  void Click(TObject* sender) { Clicks.push_back(sender); }
};

// Runs a step from a thread timer while a modal loop (dialog, menu) runs on this thread.
// The step returns true when it is done.
class TTimerScript {
public:
  explicit TTimerScript(std::function<bool()> step) : FStep(std::move(step)) {
    gCurrent = this;
    FTimer = SetTimer(nullptr, 0, 100, &TTimerScript::Tick);
  }
  ~TTimerScript() {
    KillTimer(nullptr, FTimer);
    gCurrent = nullptr;
  }
  int Ticks = 0;

private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!gCurrent || gCurrent->FDone) return;
    if (++gCurrent->Ticks > 100) return;  // give up after ten seconds: the test then fails
    gCurrent->FDone = gCurrent->FStep();
  }
  static inline TTimerScript* gCurrent = nullptr;
  std::function<bool()> FStep;
  UINT_PTR FTimer = 0;
  bool FDone = false;
};

BOOL CALLBACK CollectDialog(HWND w, LPARAM p) {
  wchar_t cls[32] = {};
  GetClassNameW(w, cls, 32);
  if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

// Visible dialog windows ("#32770") of this thread.
std::vector<HWND> ThreadDialogs() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring WindowText(HWND w) {
  wchar_t buf[256] = {};
  GetWindowTextW(w, buf, 256);
  return buf;
}

// A scratch folder with files, removed at the end.
struct TScratch {
  std::wstring Dir;
  std::vector<std::wstring> Made;
  TScratch() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    Dir = std::wstring(tmp) + L"fwdlg" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(Dir.c_str(), nullptr);
  }
  std::wstring File(const std::wstring& name) {
    std::wstring p = Dir + L"\\" + name;
    HANDLE h = CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
    Made.push_back(p);
    return p;
  }
  ~TScratch() {
    for (auto& p : Made) DeleteFileW(p.c_str());
    RemoveDirectoryW(Dir.c_str());
  }
};

}  // namespace

TEST(Menus, MainMenuBarCommandsRunTheItemsAndChangesRebuildTheBar) {
  TForm form(nullptr);
  form.SetBounds(50, 50, 300, 200);
  TRecorder rec;
  auto* menu = new TMainMenu(&form);
  auto* file = new TMenuItem(&form);
  file->SetCaption(L"&F 文件");
  auto* exit = new TMenuItem(&form);
  exit->SetCaption(L"&Q 结束");
  exit->OnClick = TNotifyEvent::Of<&TRecorder::Click>(&rec);
  auto* sep = new TMenuItem(&form);
  sep->SetCaption(L"-");
  file->Add(sep);
  file->Add(exit);
  menu->Items()->Add(file);
  menu->AttachTo(&form);
  form.Show();
  Pump();
  HMENU bar = GetMenu(form.Handle());
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  wchar_t text[64];
  GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&F 文件");
  HMENU sub = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(sub), 2);
  EXPECT_EQ(GetMenuState(sub, 0, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(GetMenuItemID(sub, 1), exit->Command());

  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(exit->Command(), 0), 0);
  ASSERT_EQ(rec.Clicks.size(), 1u);
  EXPECT_EQ(rec.Clicks[0], exit);
  // A disabled item does not run; the bar shows it greyed after the rebuild.
  exit->SetEnabled(false);
  HMENU rebuilt = GetSubMenu(GetMenu(form.Handle()), 0);
  EXPECT_TRUE(GetMenuState(rebuilt, 1, MF_BYPOSITION) & MF_GRAYED);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(exit->Command(), 0), 0);
  EXPECT_EQ(rec.Clicks.size(), 1u);
  // Freeing an item takes it out of its parent and off the bar.
  delete exit;
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(form.Handle()), 0)), 1);
}

TEST(Menus, PopupMenuShowsOnRightClickOfItsControlAndRunsTheChosenItem) {
  TForm form(nullptr);
  form.SetBounds(50, 50, 300, 200);
  TRecorder rec;
  auto* popup = new TPopupMenu(&form);
  popup->OnPopup = TNotifyEvent::Of<&TRecorder::Click>(&rec);
  auto* select = new TMenuItem(&form);
  select->SetCaption(L"&S 选择源文件");
  select->OnClick = TNotifyEvent::Of<&TRecorder::Click>(&rec);
  popup->Items()->Add(select);
  form.Show();
  Pump();
  popup->BindControl(&form);
  EXPECT_EQ(form.PopupMenu, popup);
  // Choose the first item from the keyboard while the menu tracks.
  TTimerScript script([] {
    HWND m = FindWindowW(L"#32768", nullptr);
    if (!m || !IsWindowVisible(m)) return false;
    PostMessageW(m, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(m, WM_KEYDOWN, VK_RETURN, 0);
    return true;
  });
  SendMessageW(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.Handle()), MAKELPARAM(120, 120));
  ASSERT_EQ(rec.Clicks.size(), 2u);
  EXPECT_EQ(rec.Clicks[0], popup);  // OnPopup first
  EXPECT_EQ(rec.Clicks[1], select);
  EXPECT_EQ(popup->PopupComponent, &form);
  // Unbinding gives the control its window procedure back.
  popup->UnbindControl(&form);
  EXPECT_EQ(form.PopupMenu, nullptr);
  SendMessageW(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.Handle()), MAKELPARAM(120, 120));
  EXPECT_EQ(rec.Clicks.size(), 2u);
}

namespace {

class TMenuForm : public TForm {
  FW_DECLARE_CLASS()
public:
  using TForm::TForm;
  int Exits = 0;
  void MFExitClick(TObject*) { ++Exits; }
};

const TClassInfo& TMenuForm::StaticClassInfo() {
  static const TClassInfo info{"TMenuForm", &TForm::StaticClassInfo(), {}, {}, {FW_PUBLISHED_METHOD(TMenuForm, MFExitClick)}};
  return info;
}

const char* kMenuForm = R"(object MenuForm: TMenuForm
  Left = 60
  Top = 60
  Width = 300
  Height = 200
  object MainMenu1: TMainMenu
    object MFile: TMenuItem
      Caption = '&F 文件'
      object MFExit: TMenuItem
        Caption = '&Q 结束'
        OnClick = MFExitClick
      end
    end
    object MHelp: TMenuItem
      Caption = '&H 帮助'
      object MHDoc: TMenuItem
        Caption = '&D 帮助文档'
      end
      object MHAbout: TMenuItem
        Caption = '&A 关于...'
      end
    end
    object MExit: TMenuItem
      Caption = '&Q 结束'
      OnClick = MFExitClick
    end
  end
  object SBSD: TSpeedButton
    Left = 200
    Top = 30
    Width = 33
    Height = 22
    Caption = '选择'
  end
end
)";

}  // namespace

TEST(Menus, StoredMenusNestTheirItemsAndBecomeTheFormsMenuBar) {
  RegisterMenus();
  RegisterButtons();
  TMenuForm form(nullptr);
  ReadComponentTree(&form, ParseFormText(kMenuForm));
  auto* menu = FindStored<TMainMenu>(&form, L"MainMenu1");
  EXPECT_EQ(form.Menu, menu);
  ASSERT_EQ(menu->Items()->Count(), 3);
  EXPECT_EQ(menu->Items()->Items(1)->Count(), 2);
  EXPECT_EQ(menu->Items()->Items(1)->Items(1)->Caption(), L"&A 关于...");
  form.Show();
  Pump();
  HMENU bar = GetMenu(form.Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  auto* exitTop = FindStored<TMenuItem>(&form, L"MExit");
  EXPECT_EQ(GetMenuItemID(bar, 2), exitTop->Command());  // a top-level command item
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(exitTop->Command(), 0), 0);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(FindStored<TMenuItem>(&form, L"MFExit")->Command(), 0), 0);
  EXPECT_EQ(form.Exits, 2);
  EXPECT_EQ(FindStored<TSpeedButton>(&form, L"SBSD")->Caption(), L"选择");
}

TEST(SpeedButton, ClickedThroughItsParentOnlyWhenReleasedInside) {
  TForm form(nullptr);
  form.SetBounds(50, 50, 300, 200);
  TRecorder rec;
  auto* b = new TSpeedButton(&form);
  b->SetParent(&form);
  b->SetBounds(100, 40, 33, 22);
  b->SetCaption(L"选择");
  b->OnClick = TNotifyEvent::Of<&TRecorder::Click>(&rec);
  form.Show();
  Pump();
  HWND h = form.Handle();
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 50));
  Pump();
  EXPECT_TRUE(b->Pressed());
  // Pressed face: the sunken edge puts the shadow colour on the top-left.
  HDC dc = GetDC(h);
  COLORREF topLeft = GetPixel(dc, 100, 40);
  ReleaseDC(h, dc);
  EXPECT_EQ(topLeft, GetSysColor(COLOR_BTNSHADOW));
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(110, 50));
  Pump();
  EXPECT_FALSE(b->Pressed());
  ASSERT_EQ(rec.Clicks.size(), 1u);
  EXPECT_EQ(rec.Clicks[0], b);
  // Down inside, released outside: no click.
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 50));
  PostMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 150));
  Pump();
  EXPECT_FALSE(b->Pressed());
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(250, 150));
  Pump();
  EXPECT_EQ(rec.Clicks.size(), 1u);
}

TEST(Dialogs, ResultBuffersGiveFullPathsInTheDialogsOrder) {
  const wchar_t single[] = L"C:\\data\\a.txt\0";
  EXPECT_EQ(ParseDialogFiles(single, std::size(single)), (std::vector<std::wstring>{L"C:\\data\\a.txt"}));
  const wchar_t multi[] = L"C:\\data\0b.txt\0a.txt\0\0";
  EXPECT_EQ(ParseDialogFiles(multi, std::size(multi)),
            (std::vector<std::wstring>{L"C:\\data\\b.txt", L"C:\\data\\a.txt"}));
  const wchar_t root[] = L"C:\\\0x.sbx\0y.sbx\0\0";
  EXPECT_EQ(ParseDialogFiles(root, std::size(root)), (std::vector<std::wstring>{L"C:\\x.sbx", L"C:\\y.sbx"}));
  const wchar_t unterminated[] = {L'C', L':', L'\\', L'a', 0, L'b'};  // no double NUL: stop at the end
  EXPECT_EQ(ParseDialogFiles(unterminated, std::size(unterminated)),
            (std::vector<std::wstring>{L"C:\\a\\b"}));
  EXPECT_EQ(DialogFilter(L"源文件(*.*)|*.*"), std::wstring(L"源文件(*.*)\0*.*\0\0", 14));
}

TEST(Dialogs, OpenDialogRunsAndReturnsEveryChosenFile) {
  TScratch s;
  std::wstring a = s.File(L"甲.txt"), b = s.File(L"b.txt");
  TOpenDialog d(nullptr);
  d.Title = L"请选择被加密文件";
  d.Filter = L"任意文件(*.*)|*.*";
  d.InitialDir = s.Dir;
  d.Options = ofAllowMultiSelect | ofPathMustExist | ofFileMustExist | ofHideReadOnly | ofEnableSizing;
  std::wstring seenTitle;
  TTimerScript script([&] {
    auto dialogs = ThreadDialogs();
    if (dialogs.empty()) return false;
    HWND dlg = dialogs[0];
    seenTitle = WindowText(dlg);
    const wchar_t* names = L"\"b.txt\" \"甲.txt\"";
    if (!SetDlgItemTextW(dlg, cmb13, names)) SetDlgItemTextW(dlg, edt1, names);
    PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    return true;
  });
  ASSERT_TRUE(d.Execute());
  EXPECT_EQ(seenTitle, L"请选择被加密文件");
  ASSERT_EQ(d.Files.size(), 2u);
  EXPECT_TRUE(SameFile(d.Files[0], b));
  EXPECT_TRUE(SameFile(d.Files[1], a));
  EXPECT_EQ(d.FileName, d.Files[0]);
}

TEST(Dialogs, CancelledOpenDialogReturnsFalseWithNoFiles) {
  TOpenDialog d(nullptr);
  d.Files = {L"stale"};
  TTimerScript script([] {
    auto dialogs = ThreadDialogs();
    if (dialogs.empty()) return false;
    PostMessageW(dialogs[0], WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  EXPECT_FALSE(d.Execute());
  EXPECT_TRUE(d.Files.empty());
}

TEST(Dialogs, SaveDialogAsksBeforeOverwritingAnExistingFile) {
  TScratch s;
  std::wstring existing = s.File(L"a.txt.sbx");
  TSaveDialog d(nullptr);
  d.Title = L"请选择文件。";
  d.FileName = existing;
  d.Options = ofOverwritePrompt | ofHideReadOnly | ofNoReadOnlyReturn | ofEnableSizing;
  HWND saveDlg = nullptr;
  bool prompted = false;
  TTimerScript script([&] {
    auto dialogs = ThreadDialogs();
    if (!saveDlg) {
      if (dialogs.empty()) return false;
      saveDlg = dialogs[0];
      PostMessageW(saveDlg, WM_COMMAND, IDOK, 0);
      return false;
    }
    for (HWND w : dialogs)
      if (w != saveDlg && GetWindow(w, GW_OWNER) == saveDlg) {
        prompted = true;
        PostMessageW(w, WM_COMMAND, IDYES, 0);
        return true;
      }
    return false;
  });
  ASSERT_TRUE(d.Execute());
  EXPECT_TRUE(prompted);
  EXPECT_TRUE(SameFile(d.FileName, existing));
}

TEST(Dialogs, FolderBrowserCancelledLeavesTheFolderAndReenablesTheWindows) {
  TForm form(nullptr);
  form.SetBounds(50, 50, 200, 100);
  form.Show();
  Pump();
  bool disabledWhileOpen = false;
  TTimerScript script([&] {
    auto dialogs = ThreadDialogs();
    if (dialogs.empty()) return false;
    disabledWhileOpen = !IsWindowEnabled(form.Handle());
    PostMessageW(dialogs[0], WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  UINT before = SetErrorMode(0);
  SetErrorMode(before);
  std::wstring folder = L"C:\\windows";
  EXPECT_FALSE(SelectDirectory(L"请选择结果文件夹", L"", folder));
  EXPECT_EQ(folder, L"C:\\windows");
  EXPECT_TRUE(disabledWhileOpen);
  EXPECT_TRUE(IsWindowEnabled(form.Handle()));
  UINT after = SetErrorMode(before);
  EXPECT_EQ(after, before);  // the previous error mode is back
}
