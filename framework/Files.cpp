// Untyped binary files over Win32 file handles.
#include "Files.h"

#include <windows.h>

#include "SysUtils.h"

namespace fw {

TBinaryFile::~TBinaryFile() {
  if (FHandle) CloseHandle(FHandle);
}

void TBinaryFile::Fail(const wchar_t* what, unsigned long code) const {
  throw EInOutError(std::wstring(what) + L" \"" + FPath + L"\": " + SysErrorMessage(code), code);
}

void TBinaryFile::Reset() {
  Close();
  HANDLE h = CreateFileW(FPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail(L"无法打开文件", GetLastError());
  FHandle = h;
}

void TBinaryFile::Rewrite() {
  Close();
  HANDLE h = CreateFileW(FPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail(L"无法创建文件", GetLastError());
  FHandle = h;
}

void TBinaryFile::Close() {
  if (!FHandle) return;
  CloseHandle(FHandle);
  FHandle = nullptr;
}

uint32_t TBinaryFile::BlockRead(void* buffer, uint32_t count) {
  if (!FHandle) Fail(L"文件未打开", ERROR_INVALID_HANDLE);
  DWORD got = 0;
  if (!ReadFile(FHandle, buffer, count, &got, nullptr)) Fail(L"读取文件失败", GetLastError());
  return got;
}

void TBinaryFile::BlockWrite(const void* buffer, uint32_t count) {
  if (!FHandle) Fail(L"文件未打开", ERROR_INVALID_HANDLE);
  DWORD put = 0;
  if (!WriteFile(FHandle, buffer, count, &put, nullptr)) Fail(L"写入文件失败", GetLastError());
  if (put != count) Fail(L"写入文件失败", ERROR_DISK_FULL);
}

uint64_t TBinaryFile::Size() const {
  LARGE_INTEGER s{};
  if (!FHandle || !GetFileSizeEx(FHandle, &s)) Fail(L"无法取得文件大小", GetLastError());
  return static_cast<uint64_t>(s.QuadPart);
}

uint64_t TBinaryFile::Position() const {
  LARGE_INTEGER zero{}, pos{};
  if (!FHandle || !SetFilePointerEx(FHandle, zero, &pos, FILE_CURRENT)) Fail(L"无法取得文件位置", GetLastError());
  return static_cast<uint64_t>(pos.QuadPart);
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  auto open = [](const std::wstring& p) {
    return CreateFileW(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  };
  HANDLE ha = open(a);
  if (ha == INVALID_HANDLE_VALUE) return false;
  HANDLE hb = open(b);
  bool same = false;
  if (hb != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    if (GetFileInformationByHandle(ha, &ia) && GetFileInformationByHandle(hb, &ib))
      same = ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
             ia.nFileIndexLow == ib.nFileIndexLow;
    CloseHandle(hb);
  }
  CloseHandle(ha);
  if (!same) {
    // Some file systems report no file index; fall back to the full path names.
    wchar_t fa[MAX_PATH * 4], fb[MAX_PATH * 4];
    DWORD na = GetFullPathNameW(a.c_str(), MAX_PATH * 4, fa, nullptr);
    DWORD nb = GetFullPathNameW(b.c_str(), MAX_PATH * 4, fb, nullptr);
    if (na && nb && na < MAX_PATH * 4 && nb < MAX_PATH * 4) {
      wchar_t la[MAX_PATH * 4], lb[MAX_PATH * 4];
      DWORD ka = GetLongPathNameW(fa, la, MAX_PATH * 4), kb = GetLongPathNameW(fb, lb, MAX_PATH * 4);
      same = SameText(ka ? la : fa, kb ? lb : fb);
    }
  }
  return same;
}

}  // namespace fw
