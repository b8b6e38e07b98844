// Open and save dialogs over comdlg32 and the shell's folder browser.
#include "Dialogs.h"

#include <cderr.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "Forms.h"
#include "PropTables.h"

namespace fw {

namespace {

using props::Field;

const std::vector<std::string> OpenOptionNames{
    "ofReadOnly",       "ofOverwritePrompt",  "ofHideReadOnly",       "ofNoChangeDir",      "ofShowHelp",
    "ofNoValidate",     "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",    "ofFileMustExist",
    "ofCreatePrompt",   "ofShareAware",       "ofNoReadOnlyReturn",   "ofNoTestFileCreate", "ofNoNetworkButton",
    "ofNoLongNames",    "ofOldStyleDialog",   "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing"};

// The OFN_* flag of each option, in option order (ofOldStyleDialog has none: it drops OFN_EXPLORER).
constexpr DWORD OptionFlags[] = {
    OFN_READONLY,       OFN_OVERWRITEPROMPT,  OFN_HIDEREADONLY,       OFN_NOCHANGEDIR,      OFN_SHOWHELP,
    OFN_NOVALIDATE,     OFN_ALLOWMULTISELECT, OFN_EXTENSIONDIFFERENT, OFN_PATHMUSTEXIST,    OFN_FILEMUSTEXIST,
    OFN_CREATEPROMPT,   OFN_SHAREAWARE,       OFN_NOREADONLYRETURN,   OFN_NOTESTFILECREATE, OFN_NONETWORKBUTTON,
    OFN_NOLONGNAMES,    0,                    OFN_NODEREFERENCELINKS, OFN_ENABLEINCLUDENOTIFY, OFN_ENABLESIZING};

constexpr size_t InitialBufferChars = 64 * 1024;

// The window that owns dialogs: the active window of this thread, else the application window.
HWND DialogOwner() {
  if (HWND active = GetActiveWindow()) return active;
  return Application ? Application->Handle() : nullptr;
}

// The file buffer of a running dialog; the hook enlarges it when a large selection is made,
// so the dialog never has to report that the names do not fit.
struct TFileBuffer {
  std::vector<wchar_t> Chars;
};

UINT_PTR CALLBACK FileDialogHook(HWND dlg, UINT msg, WPARAM, LPARAM lParam) noexcept {
  try {
    if (msg != WM_NOTIFY) return 0;
    auto* n = reinterpret_cast<OFNOTIFYW*>(lParam);
    if (n->hdr.code != CDN_SELCHANGE || !n->lpOFN) return 0;
    HWND parent = GetParent(dlg);
    LRESULT nameLength = SendMessageW(parent, CDM_GETSPEC, 0, 0);
    LRESULT path = SendMessageW(parent, CDM_GETFOLDERPATH, 0, 0);
    if (nameLength < 0 || path < 0) return 0;
    size_t needed = static_cast<size_t>(nameLength + path) + 16;
    auto* buf = reinterpret_cast<TFileBuffer*>(n->lpOFN->lCustData);
    if (buf && needed > n->lpOFN->nMaxFile) {
      buf->Chars.resize(needed * 2, L'\0');
      n->lpOFN->lpstrFile = buf->Chars.data();
      n->lpOFN->nMaxFile = static_cast<DWORD>(buf->Chars.size());
    }
  } catch (...) {
    // Out of memory: the dialog reports the buffer as too small and Execute grows it.
  }
  return 0;
}

bool IsAbsolutePath(const std::wstring& s) {
  return (s.size() >= 2 && s[1] == L':') || (s.size() >= 2 && s[0] == L'\\' && s[1] == L'\\');
}

// Disables the visible, enabled top-level windows of this thread and enables them again.
class TDisabledTaskWindows {
public:
  TDisabledTaskWindows() {
    EnumThreadWindows(GetCurrentThreadId(), &TDisabledTaskWindows::Collect, reinterpret_cast<LPARAM>(this));
    for (HWND w : FWindows) EnableWindow(w, FALSE);
  }
  ~TDisabledTaskWindows() {
    for (HWND w : FWindows)
      if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  TDisabledTaskWindows(const TDisabledTaskWindows&) = delete;
  TDisabledTaskWindows& operator=(const TDisabledTaskWindows&) = delete;

private:
  static BOOL CALLBACK Collect(HWND w, LPARAM self) noexcept {
    try {
      if (IsWindowVisible(w) && IsWindowEnabled(w)) reinterpret_cast<TDisabledTaskWindows*>(self)->FWindows.push_back(w);
    } catch (...) {
    }
    return TRUE;
  }
  std::vector<HWND> FWindows;
};

// Sets the process's error mode and puts the previous one back.
class TErrorModeScope {
public:
  explicit TErrorModeScope(UINT mode) : FOld(SetErrorMode(mode)) {}
  ~TErrorModeScope() { SetErrorMode(FOld); }
  TErrorModeScope(const TErrorModeScope&) = delete;
  TErrorModeScope& operator=(const TErrorModeScope&) = delete;

private:
  UINT FOld;
};

// COM for this thread while the folder browser runs (the browser needs an apartment).
class TComScope {
public:
  TComScope() : FInit(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~TComScope() {
    if (FInit) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

private:
  bool FInit;
};

// Memory of the shell's allocator (item lists, the path buffer): freed through it.
class TShellMemory {
public:
  TShellMemory(IMalloc* m, void* p) : FMalloc(m), FPtr(p) {}
  ~TShellMemory() {
    if (FPtr) FMalloc->Free(FPtr);
  }
  TShellMemory(const TShellMemory&) = delete;
  TShellMemory& operator=(const TShellMemory&) = delete;
  void* Get() const { return FPtr; }

private:
  IMalloc* FMalloc;
  void* FPtr;
};

template <class I>
class TComPtr {
public:
  TComPtr() = default;
  ~TComPtr() {
    if (FPtr) FPtr->Release();
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  I** Out() { return &FPtr; }
  I* operator->() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }

private:
  I* FPtr = nullptr;
};

// Browser callback: selects the initial folder (lpData) once the dialog is up.
int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM, LPARAM data) noexcept {
  if (msg == BFFM_INITIALIZED && data) SendMessageW(wnd, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

std::wstring DialogFilter(const std::wstring& filter) {
  if (filter.empty()) return {};
  std::wstring f = filter;
  std::replace(f.begin(), f.end(), L'|', L'\0');
  f.push_back(L'\0');
  f.push_back(L'\0');
  return f;
}

std::vector<std::wstring> ParseDialogFiles(const wchar_t* buffer, size_t size) {
  std::vector<std::wstring> parts;
  size_t i = 0;
  while (i < size && buffer[i]) {
    size_t start = i;
    while (i < size && buffer[i]) ++i;
    parts.emplace_back(buffer + start, i - start);
    ++i;  // the NUL after the name
  }
  if (parts.size() <= 1) return parts;  // one full path
  std::wstring dir = parts[0];
  if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
  std::vector<std::wstring> files;
  for (size_t k = 1; k < parts.size(); ++k) files.push_back(IsAbsolutePath(parts[k]) ? parts[k] : dir + parts[k]);
  return files;
}

// ---------------------------------------------------------------------------
// TOpenDialog / TSaveDialog
// ---------------------------------------------------------------------------

const TClassInfo& TOpenDialog::StaticClassInfo() {
  static const TClassInfo info{
      "TOpenDialog",
      &TComponent::StaticClassInfo(),
      &NewComponent<TOpenDialog>,
      {Field<&TOpenDialog::Title>("Title", TPropKind::String),
       Field<&TOpenDialog::Filter>("Filter", TPropKind::String),
       Field<&TOpenDialog::DefaultExt>("DefaultExt", TPropKind::String),
       Field<&TOpenDialog::InitialDir>("InitialDir", TPropKind::String),
       Field<&TOpenDialog::FileName>("FileName", TPropKind::String),
       Field<&TOpenDialog::FilterIndex>("FilterIndex", TPropKind::Integer),
       Field<&TOpenDialog::Options>("Options", TPropKind::Set, OpenOptionNames)},
      {}};
  return info;
}

bool TOpenDialog::Execute() {
  Files.clear();
  TFileBuffer buffer;
  buffer.Chars.assign(std::max(InitialBufferChars, FileName.size() + 2), L'\0');
  std::copy(FileName.begin(), FileName.end(), buffer.Chars.begin());
  std::wstring filter = DialogFilter(Filter);
  std::wstring ext = !DefaultExt.empty() && DefaultExt[0] == L'.' ? DefaultExt.substr(1) : DefaultExt;
  DWORD flags = OFN_ENABLEHOOK;
  if (!(Options & ofOldStyleDialog)) flags |= OFN_EXPLORER;
  for (size_t i = 0; i < std::size(OptionFlags); ++i)
    if (Options & (1u << i)) flags |= OptionFlags[i];

  for (int attempt = 0; attempt < 4; ++attempt) {
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = DialogOwner();
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(FilterIndex, 0));
    ofn.lpstrFile = buffer.Chars.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.Chars.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = flags;
    ofn.lCustData = reinterpret_cast<LPARAM>(&buffer);
    ofn.lpfnHook = &FileDialogHook;
    if (RunDialog(ofn)) {
      // The hook may have replaced the buffer; the dialog wrote into the one ofn names.
      ReadFiles(ofn.lpstrFile, ofn.nMaxFile);
      if (Files.empty()) return false;
      FileName = Files.front();
      FilterIndex = static_cast<int>(ofn.nFilterIndex);
      if (ofn.Flags & OFN_READONLY) Options |= ofReadOnly;
      else Options &= ~ofReadOnly;
      return true;
    }
    DWORD err = CommDlgExtendedError();
    if (err == 0) return false;  // cancelled
    if (err != FNERR_BUFFERTOOSMALL) throw EWin32Error(L"文件对话框失败，错误码 " + std::to_wstring(err));
    // The first character holds the size needed; show the dialog again with room for it.
    size_t needed = static_cast<size_t>(static_cast<uint16_t>(buffer.Chars[0])) + 2;
    buffer.Chars.assign(std::max(needed, buffer.Chars.size() * 2), L'\0');
    std::copy(FileName.begin(), FileName.end(), buffer.Chars.begin());
  }
  return false;
}

bool TOpenDialog::RunDialog(OPENFILENAMEW& ofn) { return GetOpenFileNameW(&ofn) != FALSE; }

void TOpenDialog::ReadFiles(const wchar_t* buffer, size_t size) { Files = ParseDialogFiles(buffer, size); }

FW_DEFINE_CREATABLE_CLASS(TSaveDialog, TOpenDialog)

bool TSaveDialog::RunDialog(OPENFILENAMEW& ofn) { return GetSaveFileNameW(&ofn) != FALSE; }

// ---------------------------------------------------------------------------
// SelectDirectory
// ---------------------------------------------------------------------------

bool SelectDirectory(const std::wstring& caption, const std::wstring& root, std::wstring& folder) {
  std::wstring initial = !folder.empty() && DirectoryExists(folder) ? folder : std::wstring();
  TComScope com;
  TComPtr<IMalloc> malloc;
  if (SHGetMalloc(malloc.Out()) != S_OK || !malloc) return false;
  TShellMemory path(malloc.operator->(), malloc->Alloc(MAX_PATH * sizeof(wchar_t)));
  if (!path.Get()) return false;
  auto* pathChars = static_cast<wchar_t*>(path.Get());
  pathChars[0] = L'\0';
  HWND owner = Application ? Application->Handle() : nullptr;

  LPITEMIDLIST rootList = nullptr;
  if (!root.empty()) {
    TComPtr<IShellFolder> desktop;
    if (SUCCEEDED(SHGetDesktopFolder(desktop.Out())) && desktop) {
      std::wstring name = root;
      ULONG eaten = 0;
      if (FAILED(desktop->ParseDisplayName(owner, nullptr, name.data(), &eaten, &rootList, nullptr))) rootList = nullptr;
    }
  }
  TShellMemory rootMemory(malloc.operator->(), rootList);

  BROWSEINFOW bi{};
  bi.hwndOwner = owner;
  bi.pidlRoot = rootList;
  bi.pszDisplayName = pathChars;
  bi.lpszTitle = caption.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!initial.empty()) {
    bi.lpfn = &BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  }
  LPITEMIDLIST chosen = nullptr;
  {
    TDisabledTaskWindows disabled;
    TErrorModeScope errorMode(SEM_FAILCRITICALERRORS);
    chosen = SHBrowseForFolderW(&bi);
  }
  if (!chosen) return false;
  TShellMemory chosenMemory(malloc.operator->(), chosen);
  // Only a file-system path is an answer; the display name of a virtual folder is not.
  if (!SHGetPathFromIDListW(chosen, pathChars)) return false;
  folder = pathChars;
  return true;
}

void RegisterDialogs() {
  RegisterClass(&TOpenDialog::StaticClassInfo());
  RegisterClass(&TSaveDialog::StaticClassInfo());
}

}  // namespace fw
