// Files of the chunk loop over Win32 handles, blocking or overlapped.
#include "ChunkFile.h"

#include "SysUtils.h"

namespace crypto {

void TChunkFile::Fail(const wchar_t* what, unsigned long code) const {
  throw fw::EInOutError(std::wstring(what) + L" \"" + FPath + L"\": " + fw::SysErrorMessage(code), code);
}

void TChunkFile::Open(const std::wstring& path, bool overlapped, bool forWriting) {
  Close();
  FPath = path;
  const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | (overlapped ? FILE_FLAG_OVERLAPPED : 0);
  HANDLE h = CreateFileW(path.c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ, nullptr,
                         forWriting ? CREATE_ALWAYS : OPEN_EXISTING, flags, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail(forWriting ? L"无法创建文件" : L"无法打开文件", GetLastError());
  FHandle = h;
  FOverlapped = overlapped;
  FWriting = forWriting;
  FPosition = 0;
  FState = tsIdle;
  if (overlapped) {
    FEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!FEvent) {
      const DWORD code = GetLastError();
      Close();
      Fail(forWriting ? L"无法创建文件" : L"无法打开文件", code);
    }
  }
}

void TChunkFile::OpenForReading(const std::wstring& path, bool overlapped) { Open(path, overlapped, false); }
void TChunkFile::Create(const std::wstring& path, bool overlapped) { Open(path, overlapped, true); }

void TChunkFile::Close() noexcept {
  if (FState == tsInFlight) {
    // The buffer of a transfer in flight belongs to the system until it ends. A read is of no
    // more use; a write is data the caller handed over, so it is let through.
    if (!FWriting) CancelIoEx(FHandle, &FTransfer);
    DWORD moved = 0;
    GetOverlappedResult(FHandle, &FTransfer, &moved, TRUE);
  }
  FState = tsIdle;
  if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
  FHandle = INVALID_HANDLE_VALUE;
  if (FEvent) CloseHandle(FEvent);
  FEvent = nullptr;
}

uint64_t TChunkFile::Size() const {
  LARGE_INTEGER size{};
  if (!IsOpen() || !GetFileSizeEx(FHandle, &size)) Fail(L"无法取得文件大小", GetLastError());
  return static_cast<uint64_t>(size.QuadPart);
}

void TChunkFile::Begin(bool reading, void* buffer, uint32_t count) {
  FTransfer = OVERLAPPED{};
  FTransfer.Offset = static_cast<DWORD>(FPosition);
  FTransfer.OffsetHigh = static_cast<DWORD>(FPosition >> 32);
  FTransfer.hEvent = FEvent;
  FRequested = count;
  FError = 0;
  const BOOL started = reading ? ReadFile(FHandle, buffer, count, nullptr, &FTransfer)
                               : WriteFile(FHandle, buffer, count, nullptr, &FTransfer);
  const DWORD code = started ? 0 : GetLastError();
  if (started || code == ERROR_IO_PENDING) {
    FState = tsInFlight;
  } else {
    FState = tsFailed;
    FError = code;
  }
}

uint32_t TChunkFile::Finish(unsigned long& error) {
  error = 0;
  const TState state = FState;
  FState = tsIdle;
  if (state == tsFailed) {
    error = FError;
    return 0;
  }
  if (state != tsInFlight) {
    error = ERROR_INVALID_FUNCTION;  // nothing was started
    return 0;
  }
  DWORD moved = 0;
  if (!GetOverlappedResult(FHandle, &FTransfer, &moved, TRUE)) {
    error = GetLastError();
    return 0;
  }
  return moved;
}

void TChunkFile::BeginRead(void* buffer, uint32_t count) { Begin(true, buffer, count); }

uint32_t TChunkFile::EndRead(unsigned long& error) {
  uint32_t got = Finish(error);
  if (error == ERROR_HANDLE_EOF) error = 0;  // a read at or past the end: zero bytes
  if (error) return 0;
  FPosition += got;
  return got;
}

void TChunkFile::RaiseReadError(unsigned long error) const { Fail(L"读取文件失败", error); }

void TChunkFile::BeginWrite(const void* buffer, uint32_t count) { Begin(false, const_cast<void*>(buffer), count); }

void TChunkFile::EndWrite() {
  unsigned long error = 0;
  const uint32_t put = Finish(error);
  if (error) Fail(L"写入文件失败", error);
  FPosition += put;
  if (put != FRequested) Fail(L"写入文件失败", ERROR_DISK_FULL);
}

uint32_t TChunkFile::Read(void* buffer, uint32_t count) {
  if (!IsOpen()) Fail(L"文件未打开", ERROR_INVALID_HANDLE);
  if (FOverlapped) {
    unsigned long error = 0;
    BeginRead(buffer, count);
    const uint32_t got = EndRead(error);
    if (error) RaiseReadError(error);
    return got;
  }
  DWORD got = 0;
  if (!ReadFile(FHandle, buffer, count, &got, nullptr)) RaiseReadError(GetLastError());
  FPosition += got;
  return got;
}

void TChunkFile::Write(const void* buffer, uint32_t count) {
  if (!IsOpen()) Fail(L"文件未打开", ERROR_INVALID_HANDLE);
  if (FOverlapped) {
    BeginWrite(buffer, count);
    EndWrite();
    return;
  }
  DWORD put = 0;
  if (!WriteFile(FHandle, buffer, count, &put, nullptr)) Fail(L"写入文件失败", GetLastError());
  FPosition += put;
  if (put != count) Fail(L"写入文件失败", ERROR_DISK_FULL);
}

}  // namespace crypto
