// Common file dialogs and the folder browser.
//
// Classes in this file:
//   TOpenDialog - GetOpenFileNameW: title, "text|pattern" filter, default extension, multi-select
//   TSaveDialog - GetSaveFileNameW with the overwrite prompt
// plus SelectDirectory, the shell's folder browser with an optional root and initial folder.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "Classes.h"

namespace fw {

// Option bits of the file dialogs (set ordinal i is bit 1 << i).
enum TOpenOption : unsigned {
  ofReadOnly = 1u << 0,
  ofOverwritePrompt = 1u << 1,
  ofHideReadOnly = 1u << 2,
  ofNoChangeDir = 1u << 3,
  ofShowHelp = 1u << 4,
  ofNoValidate = 1u << 5,
  ofAllowMultiSelect = 1u << 6,
  ofExtensionDifferent = 1u << 7,
  ofPathMustExist = 1u << 8,
  ofFileMustExist = 1u << 9,
  ofCreatePrompt = 1u << 10,
  ofShareAware = 1u << 11,
  ofNoReadOnlyReturn = 1u << 12,
  ofNoTestFileCreate = 1u << 13,
  ofNoNetworkButton = 1u << 14,
  ofNoLongNames = 1u << 15,
  ofOldStyleDialog = 1u << 16,
  ofNoDereferenceLinks = 1u << 17,
  ofEnableIncludeNotify = 1u << 18,
  ofEnableSizing = 1u << 19,
};
using TOpenOptions = unsigned;

class TOpenDialog : public TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}

  std::wstring Title;
  // Pairs of description and pattern separated by "|": "源文件(*.*)|*.*|文本(*.txt)|*.txt".
  std::wstring Filter;
  int FilterIndex = 1;
  // Appended when the user types a name without extension (a leading dot is ignored).
  std::wstring DefaultExt;
  std::wstring InitialDir;
  // In: the name shown first; out: the first chosen file.
  std::wstring FileName;
  TOpenOptions Options = ofHideReadOnly | ofEnableSizing;
  // The chosen files as full paths, in the dialog's order; emptied by Execute.
  std::vector<std::wstring> Files;

  // Shows the dialog; true when the user chose a file, false on cancel. A dialog failure
  // other than cancel raises EWin32Error.
  virtual bool Execute();

protected:
  virtual bool RunDialog(OPENFILENAMEW& ofn);
  // Reads the chosen names out of the buffer: one full path, or the folder followed by the
  // names (NUL-separated, double NUL at the end).
  void ReadFiles(const wchar_t* buffer, size_t size);
};

class TSaveDialog : public TOpenDialog {
  FW_DECLARE_CLASS()
public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

protected:
  bool RunDialog(OPENFILENAMEW& ofn) override;
};

// The filter as the dialog wants it: "|" becomes NUL, ending with a double NUL.
std::wstring DialogFilter(const std::wstring& filter);
// Splits a dialog's result buffer into full paths (see TOpenDialog::ReadFiles).
std::vector<std::wstring> ParseDialogFiles(const wchar_t* buffer, size_t size);

// Lets the user pick a folder. root: the top of the tree ("" = the desktop); folder: in, the
// initial selection (ignored unless it exists); out, the chosen folder. Returns false when
// cancelled or when the shell's allocator is not available. Other windows of the thread are
// disabled while the browser runs and the critical-error mode is restored afterwards, also
// when an exception passes through.
bool SelectDirectory(const std::wstring& caption, const std::wstring& root, std::wstring& folder);

// Registers the classes of this unit with the class registry.
void RegisterDialogs();

}  // namespace fw
