// Byte streams: the abstract TStream, memory, file and read-only resource streams.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SysUtils.h"

namespace fw {

FW_DECLARE_EXCEPTION(EStreamError, Exception);
FW_DECLARE_EXCEPTION(EWriteError, Exception);
FW_DECLARE_EXCEPTION(EResNotFound, Exception);
// Opening or creating a file failed; the message names the file and the system's reason.
FW_DECLARE_EXCEPTION(EFOpenError, EInOutError);
FW_DECLARE_EXCEPTION(EFCreateError, EInOutError);

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
  virtual ~TStream() = default;
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Reads up to count bytes; returns the number read (0 at the end).
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  // Writes up to count bytes; returns the number written.
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  // Moves the position; returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size();
  virtual void SetSize(int64_t size) = 0;
  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::soBeginning); }

  // All count bytes or EReadError / EWriteError.
  void ReadBuffer(void* buffer, int32_t count);
  void WriteBuffer(const void* buffer, int32_t count);
  // Copies count bytes from source's position; count 0 copies the whole source from its start.
  // Returns the number of bytes copied.
  int64_t CopyFrom(TStream& source, int64_t count);
  // The rest of the stream from the position.
  std::vector<uint8_t> ReadAll();
};

// Memory block with a position; the base of memory and resource streams.
class TCustomMemoryStream : public TStream {
public:
  int32_t Read(void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return FSize; }
  void* Memory() const { return FMemory; }
  void SaveToStream(TStream& stream);
  void SaveToFile(const std::wstring& path);

protected:
  void SetPointer(void* memory, int64_t size) {
    FMemory = memory;
    FSize = size;
  }
  int64_t FPos = 0;

private:
  void* FMemory = nullptr;
  int64_t FSize = 0;
};

class TMemoryStream : public TCustomMemoryStream {
public:
  TMemoryStream() = default;
  int32_t Write(const void* buffer, int32_t count) override;
  void SetSize(int64_t size) override;  // the position stays, clipped to the new size
  void Clear() { SetSize(0); }
  void LoadFromStream(TStream& stream);  // the whole stream, position at 0 afterwards
  void LoadFromFile(const std::wstring& path);

private:
  std::vector<uint8_t> FData;
};

// File access modes: one of the open modes, optionally or-ed with one share mode.
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,  // create or truncate, read and write
};

class TFileStream : public TStream {
public:
  TFileStream(const std::wstring& path, uint16_t mode);
  ~TFileStream() override;
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  const std::wstring& FileName() const { return FPath; }
  HANDLE Handle() const { return FHandle; }

private:
  [[noreturn]] void Fail(const wchar_t* what, DWORD code) const;
  std::wstring FPath;
  HANDLE FHandle = INVALID_HANDLE_VALUE;
};

// A resource of a module, read in place; writing raises EStreamError. The name may be
// "#123" for the identifier 123; a missing resource raises EResNotFound.
class TResourceStream : public TCustomMemoryStream {
public:
  TResourceStream(HINSTANCE instance, const std::wstring& name, const wchar_t* type);
  int32_t Write(const void* buffer, int32_t count) override;
  void SetSize(int64_t size) override;
};

}  // namespace fw
