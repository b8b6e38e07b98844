// TFormSealbox: start-up, the direction, the source list commands, the destination browse,
// the batch loop with its progress handler, stop and close guard, size to contents, about box.
#include "mainForm.h"

#include "BatchNames.h"
#include "FormReader.h"
#include "ImgList.h"
#include "MsgBox.h"
#include "MyStatusBar.h"
#include "UnitHelp.h"
#include "skin/data/WinSkinData.h"

// <windows.h> maps RegisterClass to RegisterClassW; this unit means the framework's registry.
#undef RegisterClass

namespace app {

using namespace fw;

std::string BuiltInKey;
bool StopRequested = false;
bool Idle = true;
TFormSealbox* FormSealbox = nullptr;

namespace {

const wchar_t kTitle[] = L"sbx 文件加密工具";
const wchar_t kNoDestination[] = L"没有选择目标路径!";
const wchar_t kInterrupted[] = L"****操作被用户中断,上面这个文件可能是不完整的...";
const wchar_t kBusy[] = L"系统正在工作之中，无法终止。";
const wchar_t kBrowseTitle[] = L"请选择结果文件夹";
const wchar_t kAboutCaption[] = L"关于本软件";
const wchar_t kAboutText[] =
    L"  本软件使用微软CryptoAPI加密标准对文件进行加密，\n确保关键信息的安全。"
    L"加密结果写入目标路径，文件名加上 .sbx；解密时去掉这一扩展名。";
const wchar_t kAnyFilter[] = L"任意文件(*.*)|*.*";
const wchar_t kSbxFilter[] = L"sbx 文件(*.sbx)|*.sbx";
constexpr WORD kDeleteKey = 46;  // VK_DELETE

// Text after the first "=" of a list line (the whole line when it has none).
std::wstring LineValue(const std::wstring& line) {
  const size_t eq = line.find(L'=');
  return eq == std::wstring::npos ? line : line.substr(eq + 1);
}

}  // namespace

// ---------------------------------------------------------------------------
// Class identity: the handlers the stored form binds by name
// ---------------------------------------------------------------------------

const TClassInfo& TFormSealbox::StaticClassInfo() {
  static const TClassInfo info{"TFormSealbox",
                               &TForm::StaticClassInfo(),
                               {},
                               {},
                               {FW_PUBLISHED_METHOD(TFormSealbox, FormCreate),
                                FW_PUBLISHED_METHOD(TFormSealbox, FormShow),
                                FW_PUBLISHED_METHOD(TFormSealbox, FormCloseQuery),
                                FW_PUBLISHED_METHOD(TFormSealbox, RGActionClick),
                                FW_PUBLISHED_METHOD(TFormSealbox, SelectFileClick),
                                FW_PUBLISHED_METHOD(TFormSealbox, PDeleteClick),
                                FW_PUBLISHED_METHOD(TFormSealbox, VLDSourceKeyUp),
                                FW_PUBLISHED_METHOD(TFormSealbox, VLDSourceDropFiles),
                                FW_PUBLISHED_METHOD(TFormSealbox, ClearFileClick),
                                FW_PUBLISHED_METHOD(TFormSealbox, SBSDClick),
                                FW_PUBLISHED_METHOD(TFormSealbox, CifraClick),
                                FW_PUBLISHED_METHOD(TFormSealbox, DecifraClick),
                                FW_PUBLISHED_METHOD(TFormSealbox, SSTopClick),
                                FW_PUBLISHED_METHOD(TFormSealbox, DecryptSolution),
                                FW_PUBLISHED_METHOD(TFormSealbox, MFExitClick),
                                FW_PUBLISHED_METHOD(TFormSealbox, MHDocClick),
                                FW_PUBLISHED_METHOD(TFormSealbox, MHAboutClick)}};
  return info;
}

void RegisterAppClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterFormClasses();
  RegisterStdControls();
  RegisterComCtrls();
  RegisterButtons();
  RegisterMenus();
  RegisterDialogs();
  RegisterGridControls();
  RegisterImageLists();
  crypto::RegisterCryptoClasses();
  skin::RegisterSkinDataClasses();
  RegisterClass(&TMyStatusBar::StaticClassInfo());
}

// ---------------------------------------------------------------------------
// Construction
// ---------------------------------------------------------------------------

TFormSealbox::TFormSealbox(TComponent* owner) : TForm(owner) {
  RegisterAppClasses();
  ReadFormResource(this, L"TFORMSEALBOX");
  RGAction = FindStored<TRadioGroup>(this, L"RGAction");
  LEDest = FindStored<TLabeledEdit>(this, L"LEDest");
  SBSD = FindStored<TSpeedButton>(this, L"SBSD");
  LEPassword = FindStored<TLabeledEdit>(this, L"LEPassword");
  LEPassword1 = FindStored<TLabeledEdit>(this, L"LEPassword1");
  GroupBox1 = FindStored<TGroupBox>(this, L"GroupBox1");
  GroupBox2 = FindStored<TGroupBox>(this, L"GroupBox2");
  VLDSource = FindStored<TValueListEditor>(this, L"VLDSource");
  MemoDest = FindStored<TMemo>(this, L"MemoDest");
  SelectFile = FindStored<TButton>(this, L"SelectFile");
  ClearFile = FindStored<TButton>(this, L"ClearFile");
  Cifra = FindStored<TButton>(this, L"Cifra");
  Decifra = FindStored<TButton>(this, L"Decifra");
  SSTop = FindStored<TButton>(this, L"SSTop");
  MyStatusBar1 = FindStored<TMyStatusBar>(this, L"MyStatusBar1");
  Encrypt = FindStored<crypto::TCryptoApi>(this, L"Encrypt");
  Decrypt = FindStored<crypto::TCryptoApi>(this, L"Decrypt");
  OpenDialogS = FindStored<TOpenDialog>(this, L"OpenDialogS");
  SaveDialogD = FindStored<TSaveDialog>(this, L"SaveDialogD");
  PMSource = FindStored<TPopupMenu>(this, L"PMSource");
  PSelect = FindStored<TMenuItem>(this, L"PSelect");
  PDelete = FindStored<TMenuItem>(this, L"PDelete");
  PClear = FindStored<TMenuItem>(this, L"PClear");
  MainMenu1 = FindStored<TMainMenu>(this, L"MainMenu1");
  VLDSource->OnDropFiles = TDropFilesEvent::Of<&TFormSealbox::VLDSourceDropFiles>(this);
}

TFormSealbox::~TFormSealbox() {
  BuiltInKey.clear();
  if (FormSealbox == this) FormSealbox = nullptr;
}

// ---------------------------------------------------------------------------
// Start-up, showing, closing
// ---------------------------------------------------------------------------

void TFormSealbox::FormCreate(TObject*) {
  Application->SetTitle(kTitle);
  SetCaption(kTitle);
  RGActionClick(RGAction);
  Idle = true;
  Encrypt->SetInitUser(true);
  BuiltInKey.clear();
  for (TLabeledEdit* e : {LEPassword, LEPassword1}) {
    e->SetEnabled(false);
    e->SetText(L"470913");
  }
  // Files dragged from the shell onto the list are added like chosen ones.
  VLDSource->SetAcceptFiles(true);
}

void TFormSealbox::FormShow(TObject*) {
  const POINT memo = MemoDest->ClientToScreen({0, 0});
  const POINT button = Cifra->ClientToScreen({0, 0});
  SetBounds(Left(), Top(), (memo.x - Left()) + MemoDest->Width() + 20 + 4,
            (button.y - Top()) + Cifra->Height() + 40 + 4);
}

void TFormSealbox::FormCloseQuery(TObject*, bool& canClose) {
  canClose = Idle;
  if (!canClose) MyStatusBar1->Panels()->Items(0)->SetText(kBusy);
}

void TFormSealbox::MFExitClick(TObject*) { Close(); }

void TFormSealbox::MHDocClick(TObject*) {
  if (!FormHelp) {
    // Made here only when the entry did not make it; it must never become the main form.
    FormHelp = new TFormHelp(Application);
    FormHelp->AfterConstruction();
  }
  FormHelp->ShowModal();
}

void TFormSealbox::MHAboutClick(TObject*) {
  ShowMessageBox(Handle(), kAboutText, kAboutCaption, MB_OK | MB_ICONINFORMATION);
}

// ---------------------------------------------------------------------------
// Direction and command state
// ---------------------------------------------------------------------------

void TFormSealbox::RGActionClick(TObject*) {
  if (FBatchRunning) return;
  if (RGAction->ItemIndex() == 1) {
    OpenDialogS->DefaultExt = L".sbx";
    OpenDialogS->Filter = kSbxFilter;
    OpenDialogS->Title = L"请选择文件。";
    SaveDialogD->DefaultExt = L"";
    SaveDialogD->Filter = kAnyFilter;
    SaveDialogD->Title = L"清选择文件。";
  } else {
    OpenDialogS->DefaultExt = L"";
    OpenDialogS->Filter = kAnyFilter;
    OpenDialogS->Title = L"请选择被加密文件";
    SaveDialogD->DefaultExt = L".sbx";
    SaveDialogD->Filter = kSbxFilter;
    SaveDialogD->Title = L"请选择文件。";
  }
  UpdateCommands();
}

void TFormSealbox::UpdateCommands() {
  const bool idle = !FBatchRunning;
  const bool decrypting = RGAction->ItemIndex() == 1;
  Cifra->SetEnabled(idle && !decrypting);
  Decifra->SetEnabled(idle && decrypting);
  RGAction->SetEnabled(idle);
  SelectFile->SetEnabled(idle);
  ClearFile->SetEnabled(idle);
  PSelect->SetEnabled(idle);
  PDelete->SetEnabled(idle);
  PClear->SetEnabled(idle);
  SSTop->SetEnabled(FBatchRunning);
}

void TFormSealbox::SetBatchRunning(bool running) {
  const bool stopHadFocus = SSTop->Focused();
  FBatchRunning = running;
  // Keyboard users keep a focus: the stop button while busy, the batch button afterwards.
  if (running) SSTop->SetEnabled(true);
  UpdateCommands();
  if (!running && stopHadFocus) {
    TButton* next = Cifra->Enabled() ? Cifra : Decifra;
    if (next->CanFocus()) next->SetFocus();
  }
}

// ---------------------------------------------------------------------------
// The source list
// ---------------------------------------------------------------------------

std::vector<std::wstring> TFormSealbox::SourceFiles() const {
  std::vector<std::wstring> out;
  const TStringList& lines = VLDSource->Strings();
  for (int i = 0; i < lines.Count(); ++i) out.push_back(LineValue(lines[i]));
  return out;
}

// Rewrites the list as "1=value", "2=value", ... in the given order.
void TFormSealbox::SetLines(const std::vector<std::wstring>& values) {
  TStringList& lines = VLDSource->Strings();
  lines.BeginUpdate();
  lines.Clear();
  for (size_t i = 0; i < values.size(); ++i) lines.Add(std::to_wstring(i + 1) + L"=" + values[i]);
  lines.EndUpdate();
}

void TFormSealbox::AddSourceFiles(const std::vector<std::wstring>& paths) {
  // New entries are numbered at once, so a path holding "=" keeps its whole text.
  std::vector<std::wstring> values = SourceFiles();
  values.insert(values.end(), paths.begin(), paths.end());
  SetLines(values);
}

void TFormSealbox::SelectFileClick(TObject*) {
  if (FBatchRunning) return;
  OpenDialogS->Files.clear();
  OpenDialogS->FileName.clear();
  if (!OpenDialogS->Execute()) return;
  AddSourceFiles(OpenDialogS->Files);
}

void TFormSealbox::PDeleteClick(TObject*) {
  if (FBatchRunning) return;
  std::vector<std::wstring> values = SourceFiles();
  const int index = VLDSource->StringIndex(VLDSource->Row());
  if (values.empty() || index < 0 || index >= static_cast<int>(values.size())) return;
  values.erase(values.begin() + index);
  SetLines(values);
}

void TFormSealbox::VLDSourceKeyUp(TObject* sender, WORD& key, TShiftState) {
  if (key == kDeleteKey) PDeleteClick(sender);
}

void TFormSealbox::ClearFileClick(TObject*) {
  if (FBatchRunning) return;
  SetLines({});
}

void TFormSealbox::VLDSourceDropFiles(TObject*, const std::vector<std::wstring>& files) {
  // A batch feeds the engine from the list: nothing is added while one runs.
  if (FBatchRunning) return;
  // Only files, as the open dialog allows: folders are passed over.
  std::vector<std::wstring> paths;
  for (const std::wstring& f : files) {
    const DWORD attributes = GetFileAttributesW(f.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) paths.push_back(f);
  }
  if (!paths.empty()) AddSourceFiles(paths);
}

// ---------------------------------------------------------------------------
// Destination, batches, progress, stop
// ---------------------------------------------------------------------------

void TFormSealbox::SBSDClick(TObject*) {
  std::wstring folder;
  SelectDirectory(kBrowseTitle, L"", folder);
  LEDest->SetText(folder);
}

void TFormSealbox::CifraClick(TObject*) { RunBatch(true); }

void TFormSealbox::DecifraClick(TObject*) { RunBatch(false); }

void TFormSealbox::SSTopClick(TObject*) {
  StopRequested = true;
  Idle = true;
}

void TFormSealbox::Log(const std::wstring& line) { MemoDest->Lines()->Add(line); }

void TFormSealbox::Say(const std::wstring& text) { ShowMessageBox(Handle(), text, Application->Title(), MB_OK); }

void TFormSealbox::RunBatch(bool encrypt) {
  if (FBatchRunning) return;
  BuiltInKey = kOperationKey;
  const std::wstring dest = Trim(LEDest->Text());
  LEDest->SetText(dest);
  if (dest.empty()) {
    Say(kNoDestination);
    return;
  }
  Idle = false;
  MemoDest->Lines()->Clear();
  std::vector<std::wstring> sources = SourceFiles();
  if (sources.empty() || sources.front().empty()) {
    Idle = true;
    return;
  }
  // Lines that are blank after trimming are dropped (the list's own commands make none).
  std::vector<std::wstring> kept;
  for (const std::wstring& s : sources)
    if (!Trim(s).empty()) kept.push_back(s);
  if (kept.size() != sources.size()) SetLines(kept);

  StopRequested = false;
  SetBatchRunning(true);
  // Whatever ends the loop (also an exception on its way to the application's report),
  // the window is idle again afterwards.
  struct TBatchEnd {
    TFormSealbox* Form;
    ~TBatchEnd() {
      Idle = true;
      try {
        Form->SetBatchRunning(false);
      } catch (...) {
        // Re-enabling controls does not fail in practice; a destructor must not throw.
      }
    }
  } batchEnd{this};
  for (const std::wstring& src : kept) {
    const batch::TOutputName name = encrypt ? batch::EncryptedName(dest, src) : batch::DecryptedName(dest, src);
    std::wstring out = name.Path;
    if (!name.Ok) {
      Say(name.Reason);
      Log(batch::SkippedLine(src, name.Reason));
    } else {
      bool run = true;
      if (FileExists(out)) {
        // An existing file is replaced only after the save dialog's confirmation.
        SaveDialogD->FileName = out;
        run = SaveDialogD->Execute();
        if (run) out = SaveDialogD->FileName;
      }
      if (run && batch::IsSameFile(src, out)) {
        // The source itself is never the output: it would be truncated before it is read.
        const std::wstring reason = batch::SameFileReason(src);
        Say(reason);
        Log(batch::SkippedLine(src, reason));
        run = false;
      }
      if (run) RunEngine(encrypt, src, out);
    }
    if (StopRequested) {
      Log(kInterrupted);
      break;
    }
    if (Application->Terminated()) break;
  }
}

bool TFormSealbox::RunEngine(bool encrypt, const std::wstring& source, const std::wstring& output) {
  crypto::TCryptoApi* engine = Encrypt;
  engine->SetSource(source);
  engine->SetDestination(output);
  engine->SetPassword(BuiltInKey);
  engine->SetMode(crypto::cmStream);
  try {
    const bool ok = encrypt ? engine->EncryptFile() : engine->DecryptFile();
    Log(ok ? output : batch::FailedLine(output, L""));
    return ok;
  } catch (const EInOutError& e) {
    // The message names the file and the system's reason; the batch goes on.
    Say(e.Message());
    Log(batch::FailedLine(output, e.Message()));
    return false;
  }
}

void TFormSealbox::DecryptSolution(TObject* sender, uint64_t position, bool& stop) {
  const auto* engine = dynamic_cast<const crypto::TCryptoApi*>(sender);
  const uint32_t percent = crypto::ProgressPercent(position, engine ? engine->SourceSize() : 0);
  MyStatusBar1->ProgressBar()->SetPosition(static_cast<int>(percent));
  MyStatusBar1->Panels()->Items(1)->SetText(std::to_wstring(percent) + L"%");
  stop = StopRequested;
  Application->ProcessMessages();
}

}  // namespace app
