// The main window's batch workflow on the real window: the numbered list, encrypt and decrypt
// batches with naming and logging, overwrite confirmation through the real save dialog,
// stop and the close guard, failures, and the commands locked while a batch runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "AppTestUtil.h"
#include "MyStatusBar.h"
#include "TestUtil.h"

using namespace apptest;
using app::TFormSealbox;

namespace {

const wchar_t kInterrupted[] = L"****操作被用户中断,上面这个文件可能是不完整的...";

std::vector<std::wstring> Lines(TFormSealbox* f) {
  std::vector<std::wstring> out;
  for (int i = 0; i < f->VLDSource->Strings().Count(); ++i) out.push_back(f->VLDSource->Strings()[i]);
  return out;
}

// An empty folder at path (a run that was killed may have left one with the same name).
void FreshDir(const std::wstring& path) {
  TempDir::RemoveTree(path);
  CreateDirectoryW(path.c_str(), nullptr);
}

// Source files a.txt (1000 bytes), b.bin (90001 bytes) and c.dat (empty) in dir\src.
struct Sources {
  TempDir Dir;
  std::wstring Src, Out, Back;
  std::vector<std::wstring> Paths;
  std::vector<std::vector<unsigned char>> Data;
  Sources() {
    Src = Dir.Path(L"src");
    Out = Dir.Path(L"out");
    Back = Dir.Path(L"back");
    for (const auto& d : {Src, Out, Back}) FreshDir(d);
    const std::pair<const wchar_t*, size_t> files[] = {{L"a.txt", 1000}, {L"b.bin", 90001}, {L"c.dat", 0}};
    unsigned seed = 1;
    for (const auto& [name, size] : files) {
      Paths.push_back(Src + L"\\" + name);
      Data.push_back(Pattern(size, seed++));
      WriteBytes(Paths.back(), Data.back());
    }
  }
};

// A small window that runs a function when a posted message reaches it, so that a test can
// act in the middle of a batch, at the first progress event's message pump.
class Probe {
public:
  explicit Probe(std::function<void()> action) : FAction(std::move(action)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Probe::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SealboxTestProbe";
    RegisterClassW(&wc);
    FWnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(FWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Probe() { DestroyWindow(FWnd); }
  void Post() { PostMessageW(FWnd, WM_APP, 0, 0); }
  int Runs = 0;

private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) {
      auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
      ++self->Runs;
      self->FAction();
      return 0;
    }
    return DefWindowProcW(wnd, msg, wp, lp);
  }
  std::function<void()> FAction;
  HWND FWnd = nullptr;
};

}  // namespace

TEST(SourceList, NumbersEntriesAfterAddDeleteAndDrop) {
  BoxRecorder boxes;
  MainWindow w;
  TempDir dir;
  std::vector<std::wstring> files;
  for (const wchar_t* n : {L"1.txt", L"2.txt", L"3.txt", L"x=y.txt", L"5.txt"}) {
    files.push_back(dir.Path(n));
    WriteBytes(files.back(), {1, 2, 3});
  }
  w->AddSourceFiles({files[0], files[1], files[2]});
  w->AddSourceFiles({files[3]});  // added to three entries: numbered from 4 on
  EXPECT_EQ(Lines(w.Form), (std::vector<std::wstring>{L"1=" + files[0], L"2=" + files[1], L"3=" + files[2],
                                                       L"4=" + files[3]}));
  EXPECT_EQ(w->VLDSource->Values(L"4"), files[3]);  // a path holding "=" keeps its whole text

  // Delete entry 2 of 4 with the Delete key in the list: the rest becomes 1..3.
  w->VLDSource->SetRow(2);
  w->VLDSource->SetFocus();
  HWND grid = w->VLDSource->Handle();
  PostMessageW(grid, WM_KEYDOWN, VK_DELETE, 0x01530001);
  PostMessageW(grid, WM_KEYUP, VK_DELETE, 0xC1530001);
  PumpUntil([&] { return w->VLDSource->Strings().Count() == 3; }, 2000);
  EXPECT_EQ(Lines(w.Form), (std::vector<std::wstring>{L"1=" + files[0], L"2=" + files[2], L"3=" + files[3]}));

  // Files dropped from the shell are added like chosen ones; folders are passed over.
  const std::vector<std::wstring> dropped = {files[4], dir.Path()};
  size_t chars = 0;
  for (const auto& p : dropped) chars += p.size() + 1;
  HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + (chars + 1) * sizeof(wchar_t));
  auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
  df->pFiles = sizeof(DROPFILES);
  df->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(df + 1);
  for (const auto& p : dropped) {
    std::copy(p.begin(), p.end(), text);
    text += p.size() + 1;
  }
  GlobalUnlock(mem);
  PostMessageW(grid, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
  PumpUntil([&] { return w->VLDSource->Strings().Count() == 4; }, 2000);
  EXPECT_EQ(Lines(w.Form).back(), L"4=" + files[4]);
  EXPECT_EQ(w->VLDSource->Strings().Count(), 4);

  Click(w->ClearFile);
  EXPECT_EQ(w->VLDSource->Strings().Count(), 0);
  EXPECT_EQ(w->VLDSource->RowCount(), 2);  // the title row and one empty row

  // "选择源文件" through the real open dialog; a cancelled dialog adds nothing.
  {
    DialogDriver driver({{DialogStep::SaveAs, files[1]}, {DialogStep::Cancel}});
    Click(w->SelectFile);
    Click(w->SelectFile);
    EXPECT_TRUE(driver.Done());
    ASSERT_FALSE(driver.Titles.empty());
    EXPECT_EQ(driver.Titles[0], L"请选择被加密文件");
  }
  EXPECT_EQ(Lines(w.Form), std::vector<std::wstring>{L"1=" + files[1]});
}

TEST(Batch, EncryptsThreeFilesAndDecryptsThemBack) {
  BoxRecorder boxes;
  MainWindow w;
  Sources s;
  w->AddSourceFiles(s.Paths);
  // A trailing backslash and a doubled one inside are collapsed when the names are joined.
  w->LEDest->SetText(L"  " + s.Dir.Path() + L"\\\\out\\  ");
  Click(w->Cifra);
  EXPECT_TRUE(boxes.Boxes.empty());
  EXPECT_EQ(w->LEDest->Text(), s.Dir.Path() + L"\\\\out\\");  // trimmed and written back
  const std::vector<std::wstring> outs = {s.Out + L"\\a.txt.sbx", s.Out + L"\\b.bin.sbx", s.Out + L"\\c.dat.sbx"};
  EXPECT_EQ(w.Log(), outs);
  for (size_t i = 0; i < 3; ++i) {
    auto cipher = ReadBytes(outs[i]);
    EXPECT_EQ(cipher.size(), s.Data[i].size()) << i;
    if (!s.Data[i].empty()) {
      EXPECT_NE(cipher, s.Data[i]) << i;
    }
  }
  // The last file was empty: the progress shown is that of b.bin, complete.
  EXPECT_EQ(w->MyStatusBar1->Panels()->Items(1)->Text(), L"100%");
  EXPECT_EQ(SendMessageW(w->MyStatusBar1->ProgressBar()->Handle(), PBM_GETPOS, 0, 0), 100);
  EXPECT_TRUE(app::Idle);
  EXPECT_FALSE(w->SSTop->Enabled());
  EXPECT_TRUE(w->Cifra->Enabled());

  // Decrypt: the direction radio button switches the commands; names lose ".sbx".
  Click(w->RGAction->Buttons(1));
  Pump();
  EXPECT_FALSE(w->Cifra->Enabled());
  EXPECT_TRUE(w->Decifra->Enabled());
  EXPECT_EQ(w->OpenDialogS->Title, L"请选择文件。");
  EXPECT_EQ(w->SaveDialogD->Title, L"清选择文件。");
  EXPECT_EQ(w->SaveDialogD->Filter, L"任意文件(*.*)|*.*");
  Click(w->ClearFile);
  w->AddSourceFiles(outs);
  w->LEDest->SetText(s.Back);
  Click(w->Decifra);
  EXPECT_TRUE(boxes.Boxes.empty());
  EXPECT_EQ(w.Log(), (std::vector<std::wstring>{s.Back + L"\\a.txt", s.Back + L"\\b.bin", s.Back + L"\\c.dat"}));
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(ReadBytes(s.Back + L"\\" + fw::ExtractFileName(s.Paths[i])), s.Data[i]) << i;
}

TEST(Batch, DecryptNamingSkipsShortNamesWithAMessage) {
  BoxRecorder boxes;
  MainWindow w;
  TempDir dir;
  const std::wstring ab = dir.Path(L"ab"), abcd = dir.Path(L"abcd"), abcde = dir.Path(L"abcde");
  for (const auto& p : {ab, abcd, abcde}) WriteBytes(p, {9, 8, 7});
  const std::wstring out = dir.Path(L"out");
  FreshDir(out);
  Click(w->RGAction->Buttons(1));
  w->AddSourceFiles({ab, abcd, abcde});
  w->LEDest->SetText(out);
  Click(w->Decifra);
  ASSERT_EQ(boxes.Boxes.size(), 2u);
  EXPECT_NE(boxes.Boxes[0].Text.find(L"ab"), std::wstring::npos);
  auto log = w.Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_NE(log[0].find(ab), std::wstring::npos);
  EXPECT_NE(log[1].find(abcd), std::wstring::npos);
  EXPECT_EQ(log[2], out + L"\\a");  // the four-character cut stays inside the name
  EXPECT_TRUE(fw::FileExists(out + L"\\a"));
  EXPECT_FALSE(fw::FileExists(dir.Path()));  // nothing written in place of the folder
  EXPECT_EQ(ReadBytes(ab), (std::vector<unsigned char>{9, 8, 7}));
}

TEST(Batch, EmptyDestinationAndEmptyList) {
  BoxRecorder boxes;
  MainWindow w;
  w->MemoDest->Lines()->Add(L"old");
  w->LEDest->SetText(L"   ");
  Click(w->Cifra);
  ASSERT_EQ(boxes.Boxes.size(), 1u);
  EXPECT_EQ(boxes.Boxes[0].Text, L"没有选择目标路径!");
  EXPECT_EQ(w.Log(), std::vector<std::wstring>{L"old"});  // nothing else happens
  w->LEDest->SetText(L"C:\\");
  Click(w->Cifra);
  EXPECT_TRUE(w.Log().empty());  // the log is emptied, the window stays idle
  EXPECT_TRUE(app::Idle);
  EXPECT_FALSE(w->SSTop->Enabled());
}

TEST(Batch, OverwriteNeedsTheSaveDialogsConfirmation) {
  BoxRecorder boxes;
  MainWindow w;
  Sources s;
  const std::wstring out = s.Out + L"\\a.txt.sbx";
  const std::vector<unsigned char> junk = {'o', 'l', 'd'};
  w->AddSourceFiles({s.Paths[0]});
  w->LEDest->SetText(s.Out);

  {  // Cancel: the file is skipped, untouched and not logged.
    WriteBytes(out, junk);
    DialogDriver driver({{DialogStep::Cancel}});
    Click(w->Cifra);
    EXPECT_TRUE(driver.Done());
    ASSERT_EQ(driver.Titles.size(), 1u);
    EXPECT_EQ(driver.Titles[0], L"请选择文件。");
    EXPECT_NE(driver.ShownNames[0].find(L"a.txt.sbx"), std::wstring::npos);
    EXPECT_EQ(ReadBytes(out), junk);
    EXPECT_TRUE(w.Log().empty());
  }
  {  // Save, then Yes in the system's own overwrite question: the file is replaced.
    DialogDriver driver({{DialogStep::Save}, {DialogStep::Yes}});
    Click(w->Cifra);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(w.Log(), std::vector<std::wstring>{out});
    EXPECT_EQ(ReadBytes(out).size(), s.Data[0].size());
  }
  {  // The source itself chosen in the dialog: never written, skipped with a message and a log line.
    DialogDriver driver({{DialogStep::SaveAs, s.Paths[0]}, {DialogStep::Yes}});
    boxes.Boxes.clear();
    Click(w->Cifra);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(ReadBytes(s.Paths[0]), s.Data[0]);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_NE(boxes.Boxes[0].Text.find(s.Paths[0]), std::wstring::npos);
    ASSERT_EQ(w.Log().size(), 1u);
    EXPECT_NE(w.Log()[0], s.Paths[0]);  // not logged like a success
    EXPECT_NE(w.Log()[0].find(s.Paths[0]), std::wstring::npos);
  }
}

TEST(Batch, FailedFilesAreLoggedAsFailuresAndTheBatchGoesOn) {
  BoxRecorder boxes;
  MainWindow w;
  Sources s;
  w->AddSourceFiles(s.Paths);
  const std::wstring missing = s.Dir.Path(L"no\\such\\folder");
  w->LEDest->SetText(missing);
  Click(w->Cifra);
  // Each file's input/output error is reported, naming the file; all three are tried.
  ASSERT_EQ(boxes.Boxes.size(), 3u);
  auto log = w.Log();
  ASSERT_EQ(log.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    const std::wstring out = missing + L"\\" + fw::ExtractFileName(s.Paths[i]) + L".sbx";
    EXPECT_NE(boxes.Boxes[i].Text.find(out), std::wstring::npos) << i;
    EXPECT_NE(log[i], out) << i;  // a failure never reads like a success
    EXPECT_NE(log[i].find(out), std::wstring::npos) << i;
  }
  // The window is idle again.
  EXPECT_TRUE(app::Idle);
  EXPECT_FALSE(w->SSTop->Enabled());
  EXPECT_TRUE(w->Cifra->Enabled());
  EXPECT_TRUE(w->SelectFile->Enabled());
  bool canClose = false;
  w->FormCloseQuery(w.Form, canClose);
  EXPECT_TRUE(canClose);
}

TEST(Batch, NetworkDestinationKeepsItsLeadingBackslashes) {
  BoxRecorder boxes;
  MainWindow w;
  Sources s;
  w->AddSourceFiles({s.Paths[0]});
  w->LEDest->SetText(L"\\\\localhost\\no-such-share\\");
  Click(w->Cifra);
  // The share does not exist: the run fails, and the path it names is the network path.
  ASSERT_EQ(w.Log().size(), 1u);
  EXPECT_NE(w.Log()[0].find(L"\\\\localhost\\no-such-share\\a.txt.sbx"), std::wstring::npos)
      << fw::WideToUtf8(w.Log()[0]);
  EXPECT_TRUE(app::Idle);
}

TEST(Batch, StopDuringTheFirstFileAndTheCloseGuard) {
  BoxRecorder boxes;
  MainWindow w;
  Sources s;
  // The first file spans many chunks; the second and third must stay untouched.
  const std::wstring big = s.Src + L"\\big.bin";
  WriteBytes(big, Pattern(40000 * 25 + 7, 9));
  w->AddSourceFiles({big, s.Paths[0], s.Paths[1]});
  w->LEDest->SetText(s.Out);

  struct {
    bool StopEnabled = false, CifraEnabled = true, DecifraEnabled = true, SelectEnabled = true,
         ClearEnabled = true, DirectionEnabled = true, PopupDeleteEnabled = true, AboutEnabled = false;
    bool VisibleAfterClose = false, CanCloseBeforeStop = true, CanCloseAfterStop = false;
    std::wstring Panel0;
    int Entries = 0;
  } seen;
  Probe during([&] {
    seen.StopEnabled = w->SSTop->Enabled();
    seen.CifraEnabled = w->Cifra->Enabled();
    seen.DecifraEnabled = w->Decifra->Enabled();
    seen.SelectEnabled = w->SelectFile->Enabled();
    seen.ClearEnabled = w->ClearFile->Enabled();
    seen.DirectionEnabled = w->RGAction->Enabled();
    seen.PopupDeleteEnabled = w->PDelete->Enabled();
    seen.AboutEnabled = w->FindComponent(L"MHAbout") && static_cast<fw::TMenuItem*>(w->FindComponent(L"MHAbout"))->Enabled();
    // The Delete key and a second batch are refused while this one runs.
    SendMessageW(w->VLDSource->Handle(), WM_KEYUP, VK_DELETE, 0xC1530001);
    w->CifraClick(w.Form);
    seen.Entries = w->VLDSource->Strings().Count();
    // Closing is refused with the panel 0 text.
    SendMessageW(w->Handle(), WM_CLOSE, 0, 0);
    seen.VisibleAfterClose = IsWindowVisible(w->Handle()) != 0;
    seen.Panel0 = w->MyStatusBar1->Panels()->Items(0)->Text();
    w->FormCloseQuery(w.Form, seen.CanCloseBeforeStop);
    Click(w->SSTop);
    w->FormCloseQuery(w.Form, seen.CanCloseAfterStop);  // allowed at once after "中断"
  });
  during.Post();  // handled in the first progress event's message pump
  Click(w->Cifra);

  EXPECT_EQ(during.Runs, 1);
  EXPECT_TRUE(seen.StopEnabled);
  EXPECT_FALSE(seen.CifraEnabled);
  EXPECT_FALSE(seen.DecifraEnabled);
  EXPECT_FALSE(seen.SelectEnabled);
  EXPECT_FALSE(seen.ClearEnabled);
  EXPECT_FALSE(seen.DirectionEnabled);
  EXPECT_FALSE(seen.PopupDeleteEnabled);
  EXPECT_TRUE(seen.AboutEnabled);
  EXPECT_EQ(seen.Entries, 3);
  EXPECT_TRUE(seen.VisibleAfterClose);
  EXPECT_EQ(seen.Panel0, L"系统正在工作之中，无法终止。");
  EXPECT_FALSE(seen.CanCloseBeforeStop);
  EXPECT_TRUE(seen.CanCloseAfterStop);

  EXPECT_EQ(w.Log(), (std::vector<std::wstring>{s.Out + L"\\big.bin.sbx", kInterrupted}));
  // The click reached the engine at the next event: the file ended one chunk later.
  EXPECT_EQ(ReadBytes(s.Out + L"\\big.bin.sbx").size(), 2u * 40000u);
  EXPECT_FALSE(fw::FileExists(s.Out + L"\\a.txt.sbx"));
  EXPECT_FALSE(fw::FileExists(s.Out + L"\\b.bin.sbx"));
  EXPECT_TRUE(boxes.Boxes.empty());
  // Everything is live again afterwards.
  EXPECT_FALSE(w->SSTop->Enabled());
  EXPECT_TRUE(w->Cifra->Enabled());
  EXPECT_TRUE(w->RGAction->Enabled());
  EXPECT_TRUE(w->PDelete->Enabled());
  SendMessageW(w->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(w->Handle()));
}
