// TChunkFile: one file of the engine's chunk loop, opened either for plain blocking transfers at
// the file pointer or for overlapped transfers (one in flight at a time) at the position the
// file keeps itself. Failures raise fw::EInOutError naming the file and the system's reason,
// with the same texts as the framework's binary files.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace crypto {

class TChunkFile {
public:
  TChunkFile() = default;
  ~TChunkFile() { Close(); }
  TChunkFile(const TChunkFile&) = delete;
  TChunkFile& operator=(const TChunkFile&) = delete;

  // Opens an existing file for reading / creates or truncates one for writing. Overlapped
  // files transfer through BeginRead/EndRead and BeginWrite/EndWrite; Read and Write work on both.
  void OpenForReading(const std::wstring& path, bool overlapped);
  void Create(const std::wstring& path, bool overlapped);
  // A read in flight is cancelled and a write in flight is waited for, then the file is closed.
  // No-op when closed; never raises.
  void Close() noexcept;
  bool IsOpen() const { return FHandle != INVALID_HANDLE_VALUE; }
  bool Overlapped() const { return FOverlapped; }

  uint64_t Size() const;
  // Bytes transferred since the file was opened: the read or write position.
  uint64_t Position() const { return FPosition; }

  // Blocking transfers at Position: Read returns the bytes read, 0 at the end of the file;
  // Write writes every byte or raises.
  uint32_t Read(void* buffer, uint32_t count);
  void Write(const void* buffer, uint32_t count);

  // Overlapped transfers at Position, one at a time. Begin never raises: a failure that the
  // system reports at once is kept and reported by the matching End, like one that comes later.
  // EndRead waits and returns the bytes read (0 at the end of the file), or 0 with the system's
  // error code in `error`, for RaiseReadError to raise when the caller reaches that chunk.
  void BeginRead(void* buffer, uint32_t count);
  uint32_t EndRead(unsigned long& error);
  [[noreturn]] void RaiseReadError(unsigned long error) const;
  // EndWrite waits and raises when the write failed or was short.
  void BeginWrite(const void* buffer, uint32_t count);
  void EndWrite();

private:
  enum TState { tsIdle, tsInFlight, tsFailed };
  void Open(const std::wstring& path, bool overlapped, bool forWriting);
  void Begin(bool reading, void* buffer, uint32_t count);
  // Waits for the transfer in flight; returns the bytes moved, or 0 with `error` set.
  uint32_t Finish(unsigned long& error);
  [[noreturn]] void Fail(const wchar_t* what, unsigned long code) const;

  std::wstring FPath;
  HANDLE FHandle = INVALID_HANDLE_VALUE;
  HANDLE FEvent = nullptr;  // manual-reset event of the overlapped transfer
  bool FOverlapped = false;
  bool FWriting = false;
  uint64_t FPosition = 0;

  OVERLAPPED FTransfer{};
  TState FState = tsIdle;
  uint32_t FRequested = 0;
  unsigned long FError = 0;  // kept from a Begin that failed at once
};

}  // namespace crypto
