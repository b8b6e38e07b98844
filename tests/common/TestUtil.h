// Helpers shared by the Windows test suites: temporary folders and files.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under %TEMP%, removed with everything in it at the end of the test.
class TempDir {
public:
  TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    FPath = std::wstring(base) + L"sbxtest_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++counter);
    CreateDirectoryW(FPath.c_str(), nullptr);
  }
  ~TempDir() { RemoveTree(FPath); }
  const std::wstring& Path() const { return FPath; }
  std::wstring Path(const std::wstring& name) const { return FPath + L"\\" + name; }

  static void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::wstring n = fd.cFileName;
        if (n == L"." || n == L"..") continue;
        std::wstring p = dir + L"\\" + n;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(p);
        else {
          SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(p.c_str());
        }
      } while (FindNextFileW(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
  }

private:
  std::wstring FPath;
};

inline void WriteBytes(const std::wstring& path, const std::vector<unsigned char>& data) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  if (!data.empty()) WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &n, nullptr);
  CloseHandle(h);
}

inline std::vector<unsigned char> ReadBytes(const std::wstring& path) {
  std::vector<unsigned char> data;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return data;
  LARGE_INTEGER size{};
  GetFileSizeEx(h, &size);
  data.resize(static_cast<size_t>(size.QuadPart));
  DWORD n = 0;
  if (!data.empty()) ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &n, nullptr);
  CloseHandle(h);
  return data;
}
