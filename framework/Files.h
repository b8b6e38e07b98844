// Untyped binary files with a record size of 1 byte: every failure raises EInOutError
// naming the file and the system's reason. Sizes and positions are 64-bit.
#pragma once
#include <cstdint>
#include <string>

namespace fw {

class TBinaryFile {
public:
  TBinaryFile() = default;
  ~TBinaryFile();  // closes the file if still open
  TBinaryFile(const TBinaryFile&) = delete;
  TBinaryFile& operator=(const TBinaryFile&) = delete;

  void Assign(const std::wstring& path) { FPath = path; }
  const std::wstring& Path() const { return FPath; }
  void Reset();    // open the existing file for reading
  void Rewrite();  // create the file, or truncate it if it exists, for writing
  void Close();    // no-op when closed
  bool IsOpen() const { return FHandle != nullptr; }

  // Reads up to count bytes; returns the number read (0 at the end of the file).
  uint32_t BlockRead(void* buffer, uint32_t count);
  // Writes all count bytes or raises.
  void BlockWrite(const void* buffer, uint32_t count);
  uint64_t Size() const;
  uint64_t Position() const;
  void* Handle() const { return FHandle; }

private:
  [[noreturn]] void Fail(const wchar_t* what, unsigned long code) const;
  std::wstring FPath;
  void* FHandle = nullptr;
};

// True when both paths name the same existing file (also through another spelling or a link).
bool SameFile(const std::wstring& a, const std::wstring& b);

}  // namespace fw
