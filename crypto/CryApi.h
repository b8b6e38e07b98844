// TCryptoApi: the crypto engine. Turns one source file into one destination file through
// CryptoAPI (MD5 key derivation, RC4 or RC2) in chunks of 40000 bytes, raising a progress event
// after every chunk; owns the encrypted file format (derived-key form and key-blob form).
//
// Classes in this file: TCryptHandle (owner of one CryptoAPI handle), TCryptoApi.
#pragma once
// The framework first: <windows.h> defines RegisterClass as a macro.
#include "Classes.h"
#include "ChunkFile.h"

#include <windows.h>
#include <wincrypt.h>
// <windows.h> maps EncryptFile and DecryptFile to the file system's own calls; here they are
// the engine's operations.
#undef EncryptFile
#undef DecryptFile

#include <cstdint>
#include <memory>
#include <string>

namespace crypto {

// Cipher choice of the engine: RC2 over 8-byte blocks, or RC4 over the whole file as one stream.
enum TCipherMode : int { cmBlock, cmStream };

// Progress event, raised once per chunk: Position is the read position in the source after the
// chunk (64-bit, so sources of 4 GiB and more report correctly); setting Stop ends the run
// after that chunk.
using TSolutionEvent = fw::TMethod<void(fw::TObject* Sender, uint64_t Position, bool& Stop)>;

// Size of one chunk of the loop and the largest key blob the one-byte length field can hold.
inline constexpr uint32_t kChunkSize = 40000;
inline constexpr uint32_t kMaxKeyBlob = 255;

// Percentage of a file done, as the progress display shows it: Position / Size x 100 in floating
// point, rounded to the nearest integer with halves to even. Both values are 64-bit; Size 0 gives 0.
uint32_t ProgressPercent(uint64_t position, uint64_t size);

// Owns one provider context, key or hash handle (0 when none held).
class TCryptHandle {
public:
  enum TKind { hkContext, hkKey, hkHash };
  explicit TCryptHandle(TKind kind) : FKind(kind) {}
  ~TCryptHandle() { Release(); }
  TCryptHandle(const TCryptHandle&) = delete;
  TCryptHandle& operator=(const TCryptHandle&) = delete;

  ULONG_PTR Get() const { return FHandle; }
  bool Held() const { return FHandle != 0; }
  // Address for an API call that fills the handle; releases a held one first.
  ULONG_PTR* Put() {
    Release();
    return &FHandle;
  }
  // Destroys the key or hash, or releases the context, when held; the handle becomes 0.
  void Release();

private:
  TKind FKind;
  ULONG_PTR FHandle = 0;
};

class TCryptoApi : public fw::TComponent {
  FW_DECLARE_CLASS()
public:
  explicit TCryptoApi(fw::TComponent* owner);
  ~TCryptoApi() override;

  // --- published properties, in stored-form order ---
  const std::wstring& Source() const { return FSource; }
  void SetSource(const std::wstring& path) { FSource = path; }
  // Created, or truncated when it exists; never the source file itself.
  const std::wstring& Destination() const { return FDestination; }
  void SetDestination(const std::wstring& path) { FDestination = path; }
  // Key text as 8-bit characters. Not empty: derived-key form; empty: key-blob form.
  const std::string& Password() const { return FPassword; }
  void SetPassword(const std::string& text) { FPassword = text; }
  TCipherMode Mode() const { return FMode; }
  // cmBlock: RC2, block length 8; cmStream: RC4, block length 1. Any other value is ignored.
  void SetMode(TCipherMode mode);
  // Trigger: writing true runs CheckUserKeys; reads false afterwards whatever the outcome.
  bool InitUser() const { return FInitUser; }
  void SetInitUser(bool value);
  TSolutionEvent onSolution;

  // --- public, read-only ---
  // Size of the current source in bytes, taken when source and destination are opened.
  uint64_t SourceSize() const { return FSourceSize; }
  ALG_ID Algorithm() const { return FAlgorithm; }
  uint32_t BlockLength() const { return FBlockLength; }

  // --- public, not stored ---
  // How the chunk loop moves the data. False (the default): each chunk is read, ciphered and
  // written in turn on one buffer. True: the files are opened for overlapped transfers and the
  // next chunk is read and the last one written while the provider ciphers the current one, on
  // three buffers. Both give the same bytes, events, stops and errors; the blocking loop is the
  // faster under Wine, where every overlapped transfer of a disk file costs a trip through the
  // Wine server. Read when an operation starts.
  bool OverlappedIo() const { return FOverlappedIo; }
  void SetOverlappedIo(bool value) { FOverlappedIo = value; }

  // --- operations ---
  // Each returns true when the loop ended at the end of the source or on Stop, false after a
  // provider failure (shown in a message box) or an allocation failure. File errors, and a
  // Destination that is the Source itself, raise fw::EInOutError; everything the operation
  // held is released on every way out.
  bool EncryptFile();
  bool DecryptFile();
  // Makes sure the user's default key container exists and holds a signature and a
  // key-exchange pair.
  bool CheckUserKeys();

private:
  bool Run(bool encrypt);
  void ResetState();
  void OpenFiles();
  bool AcquireContext();
  bool DeriveKey();
  bool ExportKey();  // key-blob form, encryption: new session key, blob written as the header
  bool ImportKey();  // key-blob form, decryption: blob read from the header
  bool Cipher(bool encrypt, uint8_t* data, DWORD& count);
  bool CipherBlocking(bool encrypt);
  bool CipherOverlapped(bool encrypt);
  bool Fail(const std::wstring& call);
  void ReleaseAll();

  std::wstring FSource, FDestination;
  std::string FPassword;
  TCipherMode FMode = cmStream;
  bool FInitUser = false;
  bool FOverlappedIo = false;

  TCryptHandle FContext{TCryptHandle::hkContext};
  TCryptHandle FKey{TCryptHandle::hkKey};
  TCryptHandle FExchangeKey{TCryptHandle::hkKey};
  TCryptHandle FHash{TCryptHandle::hkHash};
  ALG_ID FAlgorithm = CALG_RC4;
  uint32_t FBlockLength = 1;

  std::unique_ptr<uint8_t[]> FKeyBlob;
  uint32_t FKeyBlobLength = 0;
  std::unique_ptr<uint8_t[]> FBuffer;  // one buffer, or three side by side for overlapped transfers
  uint32_t FChunkLength = 0;
  uint32_t FBufferLength = 0;  // of one buffer
  uint32_t FCount = 0;
  bool FEndOfInput = false;
  // Passed to onSolution as Stop. Cleared by the constructor only: a stopped run leaves it set,
  // and the next operation processes one chunk before the event can clear it.
  bool FStop = false;

  uint64_t FSourceSize = 0;
  TChunkFile FSourceFile, FDestFile;
};

// Registers TCryptoApi with the framework's class registry, for the form reader.
void RegisterCryptoClasses();

}  // namespace crypto
