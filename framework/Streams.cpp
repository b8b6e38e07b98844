// Byte streams: memory, file and resource streams over one abstract interface.
#include "Streams.h"

#include <algorithm>
#include <cstring>

namespace fw {

// ---------------------------------------------------------------------------
// TStream
// ---------------------------------------------------------------------------

int64_t TStream::Size() {
  int64_t pos = Seek(0, TSeekOrigin::soCurrent);
  int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(pos, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, int32_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError(L"流读取错误");
}

void TStream::WriteBuffer(const void* buffer, int32_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(L"流写入错误");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  const int64_t total = count;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, 0xF000)));
  while (count > 0) {
    int32_t n = static_cast<int32_t>(std::min<int64_t>(count, static_cast<int64_t>(buffer.size())));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    count -= n;
  }
  return total;
}

std::vector<uint8_t> TStream::ReadAll() {
  int64_t rest = Size() - Position();
  std::vector<uint8_t> data(static_cast<size_t>(std::max<int64_t>(rest, 0)));
  if (!data.empty()) ReadBuffer(data.data(), static_cast<int32_t>(data.size()));
  return data;
}

// ---------------------------------------------------------------------------
// Memory streams
// ---------------------------------------------------------------------------

int32_t TCustomMemoryStream::Read(void* buffer, int32_t count) {
  if (count <= 0 || FPos >= FSize) return 0;
  int32_t n = static_cast<int32_t>(std::min<int64_t>(count, FSize - FPos));
  std::memcpy(buffer, static_cast<const uint8_t*>(FMemory) + FPos, static_cast<size_t>(n));
  FPos += n;
  return n;
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? FPos : FSize;
  int64_t pos = base + offset;
  if (pos < 0) throw EStreamError(L"流定位超出范围");
  FPos = pos;  // beyond the end is allowed; a later write fills the gap with zeros
  return FPos;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
  if (FSize > 0) stream.WriteBuffer(FMemory, static_cast<int32_t>(FSize));
}

void TCustomMemoryStream::SaveToFile(const std::wstring& path) {
  TFileStream f(path, fmCreate);
  SaveToStream(f);
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  int64_t end = FPos + count;
  if (end > 0x7FFFFFFF) throw EOutOfMemory(L"内存流过大");
  if (end > Size()) SetSize(end);
  std::memcpy(FData.data() + FPos, buffer, static_cast<size_t>(count));
  FPos = end;
  return count;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0 || size > 0x7FFFFFFF) throw EStreamError(L"内存流大小无效");
  if (static_cast<size_t>(size) > FData.capacity())
    FData.reserve(std::max<size_t>(static_cast<size_t>(size), FData.capacity() + FData.capacity() / 2));
  FData.resize(static_cast<size_t>(size));
  SetPointer(FData.data(), size);
  if (FPos > size) FPos = size;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  int64_t size = stream.Size();
  SetSize(size);
  if (size > 0) stream.ReadBuffer(FData.data(), static_cast<int32_t>(size));
  FPos = 0;
}

void TMemoryStream::LoadFromFile(const std::wstring& path) {
  TFileStream f(path, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(f);
}

// ---------------------------------------------------------------------------
// TFileStream
// ---------------------------------------------------------------------------

TFileStream::TFileStream(const std::wstring& path, uint16_t mode) : FPath(path) {
  if (mode == fmCreate) {
    FHandle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE) {
      DWORD code = GetLastError();
      throw EFCreateError(L"无法创建文件 \"" + path + L"\"。" + SysErrorMessage(code), code);
    }
    return;
  }
  static const DWORD access[3] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static const DWORD share[5] = {FILE_SHARE_READ | FILE_SHARE_WRITE, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE};
  unsigned openMode = mode & 0x3, shareMode = (mode & 0xF0) >> 4;
  if (openMode > 2 || shareMode > 4) throw EFOpenError(L"无法打开文件 \"" + path + L"\"：访问方式无效", 0);
  FHandle = CreateFileW(path.c_str(), access[openMode], share[shareMode], nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (FHandle == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    throw EFOpenError(L"无法打开文件 \"" + path + L"\"。" + SysErrorMessage(code), code);
  }
}

TFileStream::~TFileStream() {
  if (FHandle != INVALID_HANDLE_VALUE) CloseHandle(FHandle);
}

void TFileStream::Fail(const wchar_t* what, DWORD code) const {
  throw EInOutError(std::wstring(what) + L" \"" + FPath + L"\"：" + SysErrorMessage(code), code);
}

int32_t TFileStream::Read(void* buffer, int32_t count) {
  if (count <= 0) return 0;
  DWORD n = 0;
  if (!ReadFile(FHandle, buffer, static_cast<DWORD>(count), &n, nullptr)) Fail(L"读取文件出错", GetLastError());
  return static_cast<int32_t>(n);
}

int32_t TFileStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  DWORD n = 0;
  if (!WriteFile(FHandle, buffer, static_cast<DWORD>(count), &n, nullptr)) Fail(L"写入文件出错", GetLastError());
  return static_cast<int32_t>(n);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  static const DWORD method[3] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER dist, result;
  dist.QuadPart = offset;
  if (!SetFilePointerEx(FHandle, dist, &result, method[static_cast<int>(origin)]))
    Fail(L"文件定位出错", GetLastError());
  return result.QuadPart;
}

void TFileStream::SetSize(int64_t size) {
  int64_t pos = Position();
  Seek(size, TSeekOrigin::soBeginning);
  if (!SetEndOfFile(FHandle)) Fail(L"无法改变文件大小", GetLastError());
  Seek(std::min(pos, size), TSeekOrigin::soBeginning);
}

// ---------------------------------------------------------------------------
// TResourceStream
// ---------------------------------------------------------------------------

TResourceStream::TResourceStream(HINSTANCE instance, const std::wstring& name, const wchar_t* type) {
  HRSRC res = FindResourceW(instance, name.c_str(), type);
  HGLOBAL data = res ? LoadResource(instance, res) : nullptr;
  void* memory = data ? LockResource(data) : nullptr;
  if (!memory) throw EResNotFound(L"找不到资源 " + name);
  // Resource memory belongs to the module and needs no release.
  SetPointer(memory, SizeofResource(instance, res));
}

int32_t TResourceStream::Write(const void*, int32_t) { throw EStreamError(L"资源流不能写入"); }

void TResourceStream::SetSize(int64_t) { throw EStreamError(L"资源流不能改变大小"); }

}  // namespace fw
