// The crypto engine: provider calls in their fixed order, the chunk loop, the error path and
// the user key check. Every provider failure shows "Error during <call>" (caption "Error...").
#include "CryApi.h"

#include <cmath>
#include <new>

#include "Files.h"
#include "MsgBox.h"
#include "PropTables.h"
#include "SysUtils.h"

// <windows.h> maps RegisterClass to RegisterClassW; this unit means the framework's registry.
#undef RegisterClass

namespace crypto {

namespace {

const wchar_t kErrorCaption[] = L"Error...";

// Message box of the engine: no owner, one OK button.
void Say(const std::wstring& text, const std::wstring& caption) {
  fw::ShowMessageBox(nullptr, text, caption, MB_OK);
}

// Heap block for the key blob or the data buffer; null when the allocation fails.
std::unique_ptr<uint8_t[]> Allocate(uint32_t length) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[length == 0 ? 1 : length]);
}

}  // namespace

uint32_t ProgressPercent(uint64_t position, uint64_t size) {
  if (size == 0) return 0;
  // Division first, then x 100, as the display has always computed it; nearbyint rounds
  // halves to even in the default rounding mode.
  const double percent = static_cast<double>(position) / static_cast<double>(size) * 100.0;
  return static_cast<uint32_t>(std::nearbyint(percent));
}

void TCryptHandle::Release() {
  if (!FHandle) return;
  switch (FKind) {
    case hkContext: CryptReleaseContext(FHandle, 0); break;
    case hkKey: CryptDestroyKey(FHandle); break;
    case hkHash: CryptDestroyHash(FHandle); break;
  }
  FHandle = 0;
}

// ---------------------------------------------------------------------------
// Class identity and published properties
// ---------------------------------------------------------------------------

const fw::TClassInfo& TCryptoApi::StaticClassInfo() {
  using fw::As;
  using fw::TPropKind;
  using fw::TPropValue;
  static const fw::TClassInfo info{
      "TCryptoApi",
      &fw::TComponent::StaticClassInfo(),
      &fw::NewComponent<TCryptoApi>,
      {
          fw::props::Prop("Source", TPropKind::String, &TCryptoApi::Source, &TCryptoApi::SetSource),
          fw::props::Prop("Destination", TPropKind::String, &TCryptoApi::Destination, &TCryptoApi::SetDestination),
          // The key text is kept as 8-bit characters of the system code page.
          {"Password", TPropKind::String,
           [](fw::TObject* o) -> TPropValue { return fw::AnsiToWide(As<TCryptoApi>(o)->Password()); },
           [](fw::TObject* o, const TPropValue& v) { As<TCryptoApi>(o)->SetPassword(fw::WideToAnsi(fw::PropStr(v))); },
           {}},
          {"Mode", TPropKind::Enumeration,
           [](fw::TObject* o) -> TPropValue { return int64_t(As<TCryptoApi>(o)->Mode()); },
           [](fw::TObject* o, const TPropValue& v) {
             const int64_t ordinal = fw::PropInt(v);
             if (ordinal == cmBlock || ordinal == cmStream) As<TCryptoApi>(o)->SetMode(static_cast<TCipherMode>(ordinal));
           },
           {"cmBlock", "cmStream"}},
          fw::props::Prop("InitUser", TPropKind::Boolean, &TCryptoApi::InitUser, &TCryptoApi::SetInitUser),
          {"onSolution", TPropKind::Method,
           [](fw::TObject* o) -> TPropValue { return As<TCryptoApi>(o)->onSolution.Ref(); },
           [](fw::TObject* o, const TPropValue& v) {
             const auto* ref = std::get_if<fw::TMethodRef>(&v);
             As<TCryptoApi>(o)->onSolution = ref ? TSolutionEvent(*ref) : TSolutionEvent();
           },
           {}},
      },
      {}};
  return info;
}

void RegisterCryptoClasses() { fw::RegisterClass(&TCryptoApi::StaticClassInfo()); }

// ---------------------------------------------------------------------------
// Construction and properties
// ---------------------------------------------------------------------------

TCryptoApi::TCryptoApi(fw::TComponent* owner) : fw::TComponent(owner) {
  FInitUser = false;
  FStop = false;
  SetMode(cmStream);
}

TCryptoApi::~TCryptoApi() { ReleaseAll(); }

void TCryptoApi::SetMode(TCipherMode mode) {
  switch (mode) {
    case cmBlock:
      FAlgorithm = CALG_RC2;
      FBlockLength = 8;
      break;
    case cmStream:
      FAlgorithm = CALG_RC4;
      FBlockLength = 1;
      break;
    default:
      return;  // not a cipher mode: ignored
  }
  FMode = mode;
}

void TCryptoApi::SetInitUser(bool value) {
  FInitUser = value;
  if (!value) return;
  CheckUserKeys();  // its result is used by no caller
  FInitUser = false;
}

// ---------------------------------------------------------------------------
// Operations
// ---------------------------------------------------------------------------

bool TCryptoApi::EncryptFile() { return Run(true); }
bool TCryptoApi::DecryptFile() { return Run(false); }

// Start of an operation: nothing held, no blob, no buffer. The stop flag keeps its value.
void TCryptoApi::ResetState() {
  ReleaseAll();
  FKeyBlobLength = 0;
  FChunkLength = FBufferLength = FCount = 0;
  FEndOfInput = false;
}

// Files, blob, buffer, then the session key, exchange key, hash and context, in that order.
void TCryptoApi::ReleaseAll() {
  FSourceFile.Close();
  FDestFile.Close();
  FKeyBlob.reset();
  FBuffer.reset();
  FKey.Release();
  FExchangeKey.Release();
  FHash.Release();
  FContext.Release();
}

// Error path: the modal box with "Error during <call>", full release, result false.
bool TCryptoApi::Fail(const std::wstring& call) {
  Say(L"Error during " + call, kErrorCaption);
  ReleaseAll();
  return false;
}

// Opens the source (its size becomes SourceSize), then creates or truncates the destination.
// A destination that names the source file itself, under any spelling or through a link, is
// refused before it is opened for writing, so the source is never destroyed.
void TCryptoApi::OpenFiles() {
  FSourceFile.OpenForReading(FSource, FOverlappedIo);
  FSourceSize = FSourceFile.Size();
  if (fw::SameFile(FSource, FDestination))
    throw fw::EInOutError(L"目标文件就是源文件本身，不能写入 \"" + FDestination + L"\"", ERROR_ALREADY_EXISTS);
  FDestFile.Create(FDestination, FOverlappedIo);
}

// The user's default container of the default full RSA provider, created when missing.
bool TCryptoApi::AcquireContext() {
  if (CryptAcquireContextA(FContext.Put(), nullptr, nullptr, PROV_RSA_FULL, 0)) return true;
  return CryptAcquireContextA(FContext.Put(), nullptr, nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET);
}

// Derived-key form: MD5 over the key bytes (no terminator), the session key derived from it.
bool TCryptoApi::DeriveKey() {
  if (!CryptCreateHash(FContext.Get(), CALG_MD5, 0, 0, FHash.Put())) return Fail(L"CryptCreateHash");
  if (!CryptHashData(FHash.Get(), reinterpret_cast<const BYTE*>(FPassword.data()),
                     static_cast<DWORD>(FPassword.size()), 0))
    return Fail(L"CryptHashData");
  if (!CryptDeriveKey(FContext.Get(), FAlgorithm, FHash.Get(), 0, FKey.Put())) return Fail(L"CryptDeriveKey");
  FHash.Release();
  return true;
}

// Key-blob form, encryption: a new exportable session key, exported as a SIMPLEBLOB under the
// user's key-exchange public key and written as the file header (length byte + blob). A blob
// that the length byte cannot hold is refused before anything is written.
bool TCryptoApi::ExportKey() {
  if (!CryptGenKey(FContext.Get(), FAlgorithm, CRYPT_EXPORTABLE, FKey.Put())) return Fail(L"CryptGenKey");
  if (!CryptGetUserKey(FContext.Get(), AT_KEYEXCHANGE, FExchangeKey.Put())) return Fail(L"CryptGetUserKey");
  DWORD length = 0;
  if (!CryptExportKey(FKey.Get(), FExchangeKey.Get(), SIMPLEBLOB, 0, nullptr, &length)) return Fail(L"CryptExportKey");
  if (length > kMaxKeyBlob)
    return Fail(L"CryptExportKey: the key blob is " + std::to_wstring(length) + L" bytes, more than " +
                std::to_wstring(kMaxKeyBlob));
  FKeyBlob = Allocate(length);
  if (!FKeyBlob) {
    ReleaseAll();
    return false;
  }
  FKeyBlobLength = length;
  if (!CryptExportKey(FKey.Get(), FExchangeKey.Get(), SIMPLEBLOB, 0, FKeyBlob.get(), &length)) return Fail(L"CryptExportKey");
  FKeyBlobLength = length;  // the second call may report the exact length
  FExchangeKey.Release();
  const uint8_t n = static_cast<uint8_t>(FKeyBlobLength);
  FDestFile.Write(&n, 1);
  FDestFile.Write(FKeyBlob.get(), FKeyBlobLength);
  return true;
}

// Key-blob form, decryption: the length byte and the blob from the source, imported with the
// private key of the container's key-exchange pair. A source shorter than its header raises.
bool TCryptoApi::ImportKey() {
  uint8_t n = 0;
  if (FSourceFile.Read(&n, 1) != 1)
    throw fw::EInOutError(L"密钥头不完整 \"" + FSource + L"\"", ERROR_HANDLE_EOF);
  FKeyBlob = Allocate(n);
  if (!FKeyBlob) {
    ReleaseAll();
    return false;
  }
  FKeyBlobLength = n;
  if (n != 0 && FSourceFile.Read(FKeyBlob.get(), n) != n)
    throw fw::EInOutError(L"密钥头不完整 \"" + FSource + L"\"", ERROR_HANDLE_EOF);
  if (CryptImportKey(FContext.Get(), FKeyBlob.get(), FKeyBlobLength, 0, 0, FKey.Put())) return true;
  // Windows providers read "no public key" as the container's key-exchange pair; others (Wine's)
  // want that pair's handle. Asking with it explicitly means the same, so the file reads back
  // under either; when both ways fail, the import failed.
  const bool imported = CryptGetUserKey(FContext.Get(), AT_KEYEXCHANGE, FExchangeKey.Put()) &&
                        CryptImportKey(FContext.Get(), FKeyBlob.get(), FKeyBlobLength, FExchangeKey.Get(), 0, FKey.Put());
  FExchangeKey.Release();
  if (!imported) return Fail(L"CryptImportKey");
  return true;
}

bool TCryptoApi::Run(bool encrypt) {
  ResetState();
  // Whatever leaves the operation (the normal end, the error path or an input/output
  // exception), the files, blocks and handles it holds are released in the fixed order.
  struct TReleaseOnExit {
    TCryptoApi& Engine;
    ~TReleaseOnExit() { Engine.ReleaseAll(); }
  } release{*this};

  OpenFiles();
  if (!AcquireContext()) return Fail(L"CryptAcquireContext");
  if (!FPassword.empty()) {
    if (!DeriveKey()) return false;
  } else if (!(encrypt ? ExportKey() : ImportKey())) {
    return false;
  }

  FChunkLength = kChunkSize - kChunkSize % FBlockLength;
  FBufferLength = FBlockLength > 1 ? FChunkLength + FBlockLength : FChunkLength;
  FBuffer = Allocate(FOverlappedIo ? 3 * FBufferLength : FBufferLength);
  if (!FBuffer) {
    ReleaseAll();
    return false;
  }
  if (!(FOverlappedIo ? CipherOverlapped(encrypt) : CipherBlocking(encrypt))) return false;
  ReleaseAll();
  return true;
}

// One chunk through the provider, in place. Final is always FALSE: the provider keeps the RC4
// state from chunk to chunk and adds no padding.
bool TCryptoApi::Cipher(bool encrypt, uint8_t* data, DWORD& count) {
  return encrypt ? CryptEncrypt(FKey.Get(), 0, FALSE, 0, data, &count, FBufferLength)
                 : CryptDecrypt(FKey.Get(), 0, FALSE, 0, data, &count);
}

// The chunk loop on one buffer: read, cipher, write, event, each in turn.
bool TCryptoApi::CipherBlocking(bool encrypt) {
  do {
    FCount = FSourceFile.Read(FBuffer.get(), FChunkLength);
    FEndOfInput = FCount == 0;  // a read of zero bytes, and nothing else, ends the input
    if (FEndOfInput) break;
    DWORD count = FCount;
    if (!Cipher(encrypt, FBuffer.get(), count)) return Fail(encrypt ? L"CryptEncrypt" : L"CryptDecrypt");
    FDestFile.Write(FBuffer.get(), count);
    if (onSolution) onSolution(this, FSourceFile.Position(), FStop);
  } while (!FStop);
  return true;
}

// The chunk loop with the transfers overlapped with the cipher, on three buffers in turn: while
// the provider ciphers chunk k+1, chunk k is being written and chunk k+2 read. What a caller can
// see keeps the order of the blocking loop: chunk k is written completely before its event is
// raised; chunk k+1 is handed to the destination only after that event let the run go on, so a
// stop leaves the destination where the blocking loop leaves it; and a chunk read or ciphered
// ahead whose read or cipher failed reports that failure only once the chunks before it are
// written and their events raised (a stop in one of them drops it, as the blocking loop would
// never have reached it). The read ahead is cancelled on every way out.
bool TCryptoApi::CipherOverlapped(bool encrypt) {
  uint8_t* const slots[3] = {FBuffer.get(), FBuffer.get() + FBufferLength, FBuffer.get() + 2 * FBufferLength};
  int current = 0;            // slot of the chunk read last
  bool writing = false;       // the previous chunk is being written and its event is due
  uint64_t writtenUpTo = 0;   // the source position after the previous chunk
  FSourceFile.BeginRead(slots[current], FChunkLength);
  for (;;) {
    unsigned long readError = 0;
    FCount = FSourceFile.EndRead(readError);
    FEndOfInput = readError == 0 && FCount == 0;  // a read of zero bytes, and nothing else
    const uint64_t position = FSourceFile.Position();
    DWORD count = FCount;
    bool ciphered = true;
    if (readError == 0 && !FEndOfInput) {
      FSourceFile.BeginRead(slots[(current + 1) % 3], FChunkLength);
      ciphered = Cipher(encrypt, slots[current], count);
    }
    if (writing) {
      FDestFile.EndWrite();
      writing = false;
      if (onSolution) onSolution(this, writtenUpTo, FStop);
      if (FStop) break;
    }
    if (readError != 0) FSourceFile.RaiseReadError(readError);
    if (FEndOfInput) break;
    if (!ciphered) return Fail(encrypt ? L"CryptEncrypt" : L"CryptDecrypt");
    FDestFile.BeginWrite(slots[current], count);
    writing = true;
    writtenUpTo = position;
    current = (current + 1) % 3;
  }
  return true;
}

// Makes sure the default container exists (telling its name when it had to be created) and
// holds a signature pair and a key-exchange pair, generating a missing one.
bool TCryptoApi::CheckUserKeys() {
  ResetState();
  struct TReleaseOnExit {
    TCryptoApi& Engine;
    ~TReleaseOnExit() { Engine.ReleaseAll(); }
  } release{*this};
  std::string text(100, '\0');

  if (!CryptAcquireContextA(FContext.Put(), nullptr, nullptr, PROV_RSA_FULL, 0)) {
    if (!CryptAcquireContextA(FContext.Put(), nullptr, nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET)) return false;
    DWORD size = static_cast<DWORD>(text.size());
    if (!CryptGetProvParam(FContext.Get(), PP_CONTAINER, reinterpret_cast<BYTE*>(text.data()), &size, 0)) text[0] = '\0';
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    Say(fw::AnsiToWide(text), L"Key Container...");
  }

  for (DWORD keySpec : {DWORD(AT_SIGNATURE), DWORD(AT_KEYEXCHANGE)}) {
    if (CryptGetUserKey(FContext.Get(), keySpec, FKey.Put())) {
      FKey.Release();
      continue;
    }
    if (GetLastError() != static_cast<DWORD>(NTE_NO_KEY)) {
      Say(L"Error during CryptGetUserKey", kErrorCaption);
      return false;
    }
    if (!CryptGenKey(FContext.Get(), keySpec, 0, FKey.Put())) {
      Say(L"Error during CryptGenKey", kErrorCaption);
      return false;
    }
    FKey.Release();
  }

  if (IsDesigning()) Say(L"Success Init User", L"Message...");
  return true;
}

}  // namespace crypto
