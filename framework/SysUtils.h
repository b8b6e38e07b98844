// Exception family of the framework and small text helpers shared by every unit.
#pragma once
#include <stdexcept>
#include <string>

namespace fw {

// Base of every failure the system raises as an exception. Message is UTF-16 so that
// Chinese texts survive on every locale; what() gives UTF-8 for logs and tests.
class Exception : public std::exception {
public:
  explicit Exception(std::wstring message);
  const std::wstring& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FUtf8.c_str(); }
  virtual const char* ClassName() const noexcept { return "Exception"; }

private:
  std::wstring FMessage;
  std::string FUtf8;
};

#define FW_DECLARE_EXCEPTION(Name, Base)                                   \
  class Name : public Base {                                               \
  public:                                                                  \
    using Base::Base;                                                      \
    const char* ClassName() const noexcept override { return #Name; }     \
  }

// Input/output failure of a file operation; ErrorCode is the system error (GetLastError).
class EInOutError : public Exception {
public:
  EInOutError(std::wstring message, unsigned long errorCode = 0)
      : Exception(std::move(message)), ErrorCode(errorCode) {}
  const char* ClassName() const noexcept override { return "EInOutError"; }
  unsigned long ErrorCode;
};

FW_DECLARE_EXCEPTION(EConvertError, Exception);
FW_DECLARE_EXCEPTION(EOutOfMemory, Exception);
FW_DECLARE_EXCEPTION(EListError, Exception);
FW_DECLARE_EXCEPTION(EStringListError, Exception);
FW_DECLARE_EXCEPTION(EComponentError, Exception);
FW_DECLARE_EXCEPTION(EInvalidOperation, Exception);
FW_DECLARE_EXCEPTION(EReadError, Exception);
FW_DECLARE_EXCEPTION(EPropertyError, Exception);
FW_DECLARE_EXCEPTION(EWin32Error, Exception);
// Silent exception: leaves an operation without the default report.
FW_DECLARE_EXCEPTION(EAbort, Exception);

// UTF-8 <-> UTF-16 and ANSI (system code page) <-> UTF-16 conversions.
std::wstring Utf8ToWide(const std::string& s);
std::string WideToUtf8(const std::wstring& s);
std::wstring AnsiToWide(const std::string& s);
std::string WideToAnsi(const std::wstring& s);

std::wstring Trim(const std::wstring& s);
std::wstring IntToStr(long long v);
std::wstring UpperCase(const std::wstring& s);
// Case-insensitive comparison as the platform sorts text (CompareStringW, ignore case).
int CompareText(const std::wstring& a, const std::wstring& b);
bool SameText(const std::wstring& a, const std::wstring& b);
// Text of a system error code (FormatMessageW), without the trailing line break.
std::wstring SysErrorMessage(unsigned long code);

bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
// Text after the last '\', '/' or ':'.
std::wstring ExtractFileName(const std::wstring& path);
// Text up to and including the last '\', '/' or ':'.
std::wstring ExtractFilePath(const std::wstring& path);

}  // namespace fw
