// Naming rules of a batch: output paths, refusals and the log lines about them.
#include "BatchNames.h"

#include "Files.h"
#include "SysUtils.h"

namespace batch {

namespace {

const wchar_t kEncryptedExtension[] = L".sbx";
constexpr size_t kCut = 4;  // characters a decryption removes from the file name

TOutputName Refused(std::wstring reason) { return {false, {}, std::move(reason)}; }

TOutputName Joined(const std::wstring& dest, const std::wstring& name) {
  return {true, CollapseBackslashes(dest + L"\\" + name), {}};
}

}  // namespace

std::wstring CollapseBackslashes(const std::wstring& path) {
  std::wstring out;
  out.reserve(path.size());
  size_t i = 0;
  if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
    out = L"\\\\";  // network or device path: its opening pair stays
    i = 2;
    while (i < path.size() && path[i] == L'\\') ++i;
  }
  const size_t kept = out.size();
  for (; i < path.size(); ++i) {
    if (path[i] == L'\\' && out.size() > kept && out.back() == L'\\') continue;
    out += path[i];
  }
  return out;
}

TOutputName EncryptedName(const std::wstring& dest, const std::wstring& source) {
  const std::wstring name = fw::ExtractFileName(source);
  if (name.empty()) return Refused(L"“" + source + L"”不是一个文件名，已跳过。");
  return Joined(dest, name + kEncryptedExtension);
}

TOutputName DecryptedName(const std::wstring& dest, const std::wstring& source) {
  const std::wstring name = fw::ExtractFileName(source);
  if (name.size() <= kCut)
    return Refused(L"文件名“" + name + L"”不超过四个字符，去掉扩展名后没有名字，已跳过。");
  return Joined(dest, name.substr(0, name.size() - kCut));
}

bool IsSameFile(const std::wstring& source, const std::wstring& output) { return fw::SameFile(source, output); }

std::wstring SameFileReason(const std::wstring& source) {
  return L"输出文件就是源文件“" + source + L"”本身，写入会毁掉源文件，已跳过。";
}

std::wstring SkippedLine(const std::wstring& source, const std::wstring& reason) {
  return L"（跳过）" + source + L"：" + reason;
}

std::wstring FailedLine(const std::wstring& output, const std::wstring& message) {
  return message.empty() ? L"（失败）" + output : L"（失败）" + output + L"：" + message;
}

}  // namespace batch
