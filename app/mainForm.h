// TFormSealbox: the main window. Direction, the numbered source list, the destination folder,
// encrypt and decrypt batches with progress, stop, logging and the close guard.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComCtrls.h"
#include "CryApi.h"
#include "Dialogs.h"
#include "Forms.h"
#include "Grids.h"
#include "Menus.h"
#include "StdCtrls.h"

namespace app {

class TMyStatusBar;

// The operation key every batch passes to the engine (derived-key form).
inline constexpr char kOperationKey[] = "470913";

// Window-wide state of the main window.
// BuiltInKey holds the operation key while a command runs; start-up and shutdown clear it.
extern std::string BuiltInKey;
// Set by "中断", cleared when a batch starts, read by the progress handler.
extern bool StopRequested;
// True when no batch runs (the stop command also sets it at once); closing needs it.
extern bool Idle;

class TFormSealbox : public fw::TForm {
  FW_DECLARE_CLASS()
public:
  // Builds the window from its stored form "TFORMSEALBOX".
  explicit TFormSealbox(fw::TComponent* owner);
  ~TFormSealbox() override;

  // -- stored components
  fw::TRadioGroup* RGAction = nullptr;
  fw::TLabeledEdit* LEDest = nullptr;
  fw::TSpeedButton* SBSD = nullptr;
  fw::TLabeledEdit* LEPassword = nullptr;
  fw::TLabeledEdit* LEPassword1 = nullptr;
  fw::TGroupBox* GroupBox1 = nullptr;
  fw::TGroupBox* GroupBox2 = nullptr;
  fw::TValueListEditor* VLDSource = nullptr;
  fw::TMemo* MemoDest = nullptr;
  fw::TButton* SelectFile = nullptr;
  fw::TButton* ClearFile = nullptr;
  fw::TButton* Cifra = nullptr;
  fw::TButton* Decifra = nullptr;
  fw::TButton* SSTop = nullptr;
  TMyStatusBar* MyStatusBar1 = nullptr;
  crypto::TCryptoApi* Encrypt = nullptr;
  crypto::TCryptoApi* Decrypt = nullptr;
  fw::TOpenDialog* OpenDialogS = nullptr;
  fw::TSaveDialog* SaveDialogD = nullptr;
  fw::TPopupMenu* PMSource = nullptr;
  fw::TMenuItem* PSelect = nullptr;
  fw::TMenuItem* PDelete = nullptr;
  fw::TMenuItem* PClear = nullptr;
  fw::TMainMenu* MainMenu1 = nullptr;

  // -- handlers bound by name from the stored form
  void FormCreate(fw::TObject* sender);
  void FormShow(fw::TObject* sender);
  void FormCloseQuery(fw::TObject* sender, bool& canClose);
  void RGActionClick(fw::TObject* sender);
  void SelectFileClick(fw::TObject* sender);
  void PDeleteClick(fw::TObject* sender);
  void VLDSourceKeyUp(fw::TObject* sender, WORD& key, fw::TShiftState shift);
  // Files dragged from the shell onto the list: added as "选择源文件" adds chosen files.
  void VLDSourceDropFiles(fw::TObject* sender, const std::vector<std::wstring>& files);
  void ClearFileClick(fw::TObject* sender);
  void SBSDClick(fw::TObject* sender);
  void CifraClick(fw::TObject* sender);
  void DecifraClick(fw::TObject* sender);
  void SSTopClick(fw::TObject* sender);
  void DecryptSolution(fw::TObject* sender, uint64_t position, bool& stop);
  void MFExitClick(fw::TObject* sender);
  void MHDocClick(fw::TObject* sender);
  void MHAboutClick(fw::TObject* sender);

  // -- the source list
  // Full paths in list order.
  std::vector<std::wstring> SourceFiles() const;
  // Appends paths as new entries and renumbers the list 1..count.
  void AddSourceFiles(const std::vector<std::wstring>& paths);
  // True while a batch loop runs (commands that touch the list or the engine are disabled).
  bool BatchRunning() const { return FBatchRunning; }

private:
  void RunBatch(bool encrypt);
  // Runs one file through the engine; false when it failed (the reason is logged).
  bool RunEngine(bool encrypt, const std::wstring& source, const std::wstring& output);
  void SetBatchRunning(bool running);
  void UpdateCommands();
  void SetLines(const std::vector<std::wstring>& values);
  void Log(const std::wstring& line);
  void Say(const std::wstring& text);

  bool FBatchRunning = false;
};

// The main window of the program.
extern TFormSealbox* FormSealbox;

// Registers the program's form and component classes with the form reader (idempotent).
void RegisterAppClasses();

}  // namespace app
