// Shared by the crypto engine suites: a fixture that answers and records every message box,
// an onSolution recorder, plaintext makers, the reference RC4, file checks and the user's
// default key container.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "CryApi.h"
#include "MsgBox.h"
#include "TestUtil.h"

using Bytes = std::vector<unsigned char>;

// Deterministic plaintext of `size` bytes that is not periodic within a chunk.
inline Bytes Pattern(size_t size, uint32_t seed = 1) {
  Bytes b(size);
  uint32_t x = seed * 2654435761u + 12345u;
  for (auto& c : b) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<unsigned char>(x);
  }
  return b;
}

// MD5("470913"), the 128-bit RC4 key of the built-in key text, as printed by
// `printf 470913 | openssl md5`.
inline constexpr unsigned char kKey[16] = {0xf4, 0xae, 0x04, 0x1e, 0xc6, 0x02, 0x23, 0x8e,
                                           0x2a, 0x59, 0x62, 0x38, 0xf8, 0x84, 0x22, 0xab};

// A small RC4 of the test's own, to check outputs of any length (itself checked against
// vectors recorded with openssl).
inline Bytes ReferenceRc4(const Bytes& data) {
  unsigned char s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<unsigned char>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + kKey[i % 16]) & 255;
    std::swap(s[i], s[j]);
  }
  Bytes out(data.size());
  for (size_t n = 0, i = 0, j = 0; n < data.size(); ++n) {
    i = (i + 1) & 255;
    j = (j + s[i]) & 255;
    std::swap(s[i], s[j]);
    out[n] = data[n] ^ s[(s[i] + s[j]) & 255];
  }
  return out;
}

inline uint64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return UINT64_MAX;
  return (uint64_t(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

// True when nobody holds the file open: an exclusive open for writing succeeds.
inline bool NotHeldOpen(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

// Records onSolution calls; sets Stop at event number StopAt (1-based) when given, and writes
// Stop := false on every event when ClearStop is set.
struct SolutionRecorder {
  std::vector<uint64_t> Positions;
  std::vector<fw::TObject*> Senders;
  size_t StopAt = 0;
  bool ClearStop = false;
  void Solution(fw::TObject* sender, uint64_t position, bool& stop) {
    Senders.push_back(sender);
    Positions.push_back(position);
    if (ClearStop) stop = false;
    if (StopAt && Positions.size() == StopAt) stop = true;
  }
  crypto::TSolutionEvent Event() { return crypto::TSolutionEvent::Of<&SolutionRecorder::Solution>(this); }
};

// Every test runs with a message-box hook that answers OK and keeps the request, so a modal box
// can never block the suite and each test can check exactly what the user would have seen.
class EngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    FOldHook = fw::SetMessageBoxHook([this](const fw::TMessageBoxRequest& r) {
      Boxes.push_back(r);
      return IDOK;
    });
  }
  void TearDown() override { fw::SetMessageBoxHook(std::move(FOldHook)); }

  // A ready engine: stream mode, built-in key, recorder attached.
  void Prepare(crypto::TCryptoApi& e, const std::wstring& src, const std::wstring& dst, const std::string& password,
               crypto::TCipherMode mode) {
    e.SetSource(src);
    e.SetDestination(dst);
    e.SetPassword(password);
    e.SetMode(mode);
    e.onSolution = Recorder.Event();
  }

  // Tests that delete the default key container or replace its key-exchange pair run only where
  // that container is the test's own: under Wine, in the project's prefix, or when the person
  // running the suite says so (SBX_DISPOSABLE_KEYS=1). On a real Windows account it holds the
  // user's keys, which a test must never destroy.
  static bool KeyContainerIsDisposable() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll && GetProcAddress(ntdll, "wine_get_version")) return true;
    wchar_t flag[8] = {};
    return GetEnvironmentVariableW(L"SBX_DISPOSABLE_KEYS", flag, 8) && flag[0] == L'1';
  }

  // Makes sure the user's default container holds both key pairs (the key-blob form needs them).
  static void EnsureUserKeys() {
    crypto::TCryptoApi e(nullptr);
    e.SetInitUser(true);
  }

  TempDir Dir;
  SolutionRecorder Recorder;
  std::vector<fw::TMessageBoxRequest> Boxes;

private:
  fw::TMessageBoxHook FOldHook;
};
