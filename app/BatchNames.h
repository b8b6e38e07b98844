// Naming rules of a batch, shared by the main window and the command-line program: the output
// path of each source in the destination folder, the refusals, and the log lines about them.
#pragma once
#include <string>

namespace batch {

// The output path of one source, or why there is none.
struct TOutputName {
  bool Ok = false;
  std::wstring Path;    // set when Ok
  std::wstring Reason;  // set when not Ok: a sentence for the user naming the file
};

// Encrypting: Dest + "\" + the file-name part of Source + ".sbx".
TOutputName EncryptedName(const std::wstring& dest, const std::wstring& source);
// Decrypting: Dest + "\" + the file-name part of Source less its last four characters. A file
// name of four characters or fewer is refused, so the cut never reaches into the folder part.
TOutputName DecryptedName(const std::wstring& dest, const std::wstring& source);

// Collapses every run of backslashes to one, except the two that open a network path
// ("\\server\share") or a device path ("\\?\C:\..."), which are kept.
std::wstring CollapseBackslashes(const std::wstring& path);

// True when Output names the Source file itself, under any spelling or through a link.
// Such an output is never written: opening it for writing would destroy the source.
bool IsSameFile(const std::wstring& source, const std::wstring& output);
std::wstring SameFileReason(const std::wstring& source);

// Log lines of the result list for a file that was skipped or whose run failed.
std::wstring SkippedLine(const std::wstring& source, const std::wstring& reason);
std::wstring FailedLine(const std::wstring& output, const std::wstring& message);

}  // namespace batch
