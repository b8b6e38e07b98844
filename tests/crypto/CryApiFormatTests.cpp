// The encrypted file format: RC4 under MD5("470913") checked against vectors recorded from an
// implementation independent of CryptoAPI, round trips of both forms and both modes, the
// key-blob header, the refusal of blobs the length byte cannot hold, and 64-bit sizes.
#include <windows.h>
#include <winioctl.h>

#include "CryptoTestUtil.h"
#include "SysUtils.h"

using namespace crypto;

namespace {

// Recorded with `openssl enc -rc4 -provider legacy -provider default
// -K f4ae041ec602238e2a596238f88422ab -nosalt`.
const char kFox[] = "The quick brown fox jumps over the lazy dog";
const Bytes kFoxRc4 = {0xc6, 0xf1, 0xd4, 0xe4, 0x81, 0x70, 0x52, 0x92, 0x3a, 0xcc, 0x3c, 0x8c, 0x04, 0xdf, 0xe7,
                       0xea, 0xac, 0x0a, 0x77, 0x00, 0xa0, 0x6f, 0xb8, 0x38, 0x10, 0xa0, 0x0c, 0x8f, 0xda, 0xfd,
                       0xdd, 0xa8, 0x5d, 0xdb, 0x9e, 0x6f, 0xc3, 0xe1, 0x7b, 0x9e, 0x42, 0xb2, 0x97};
// Same command over 40016 bytes (i*7+3) mod 256: the first 16 bytes and bytes 39992..40015,
// which straddle the engine's first chunk boundary.
const Bytes kRampHead = {0x91, 0x93, 0xa0, 0xdc, 0xef, 0x23, 0x16, 0xc5,
                         0x6a, 0xae, 0x17, 0xae, 0x3c, 0xf6, 0xec, 0xa6};
const Bytes kRampAt39992 = {0x85, 0x8b, 0xb0, 0xa3, 0x57, 0x2a, 0x75, 0xe4, 0x0b, 0x9e, 0xe7, 0x88,
                            0x6d, 0xe0, 0xea, 0x37, 0x08, 0xac, 0x27, 0xb4, 0x32, 0x32, 0xec, 0x49};

// Replaces the key-exchange pair of the user's default container by one of `bits` bits.
bool NewExchangePair(DWORD bits) {
  HCRYPTPROV prov = 0;
  if (!CryptAcquireContextA(&prov, nullptr, nullptr, PROV_RSA_FULL, 0)) return false;
  HCRYPTKEY k = 0;
  const bool ok = CryptGenKey(prov, AT_KEYEXCHANGE, bits << 16, &k);
  if (k) CryptDestroyKey(k);
  CryptReleaseContext(prov, 0);
  return ok;
}

}  // namespace

TEST(Rc4Reference, ReproducesTheRecordedOpensslVectors) {
  EXPECT_EQ(ReferenceRc4(Bytes(kFox, kFox + sizeof kFox - 1)), kFoxRc4);
  Bytes ramp(40016);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<unsigned char>(i * 7 + 3);
  const Bytes c = ReferenceRc4(ramp);
  EXPECT_EQ(Bytes(c.begin(), c.begin() + 16), kRampHead);
  EXPECT_EQ(Bytes(c.begin() + 39992, c.end()), kRampAt39992);
}

TEST_F(EngineTest, StreamCiphertextIsRc4UnderTheMd5OfTheKeyText) {
  TCryptoApi e(nullptr);
  WriteBytes(Dir.Path(L"fox.txt"), Bytes(kFox, kFox + sizeof kFox - 1));
  Prepare(e, Dir.Path(L"fox.txt"), Dir.Path(L"fox.sbx"), "470913", cmStream);
  ASSERT_TRUE(e.EncryptFile());
  EXPECT_EQ(ReadBytes(Dir.Path(L"fox.sbx")), kFoxRc4);

  // Across chunk boundaries the stream goes on as one: no trace of the chunks in the output.
  Bytes ramp(40016);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<unsigned char>(i * 7 + 3);
  WriteBytes(Dir.Path(L"ramp"), ramp);
  Prepare(e, Dir.Path(L"ramp"), Dir.Path(L"ramp.sbx"), "470913", cmStream);
  ASSERT_TRUE(e.EncryptFile());
  const Bytes c = ReadBytes(Dir.Path(L"ramp.sbx"));
  ASSERT_EQ(c.size(), ramp.size());
  EXPECT_EQ(Bytes(c.begin(), c.begin() + 16), kRampHead);
  EXPECT_EQ(Bytes(c.begin() + 39992, c.end()), kRampAt39992);

  const Bytes plain = Pattern(123457, 9);
  WriteBytes(Dir.Path(L"long"), plain);
  Prepare(e, Dir.Path(L"long"), Dir.Path(L"long.sbx"), "470913", cmStream);
  ASSERT_TRUE(e.EncryptFile());
  EXPECT_EQ(ReadBytes(Dir.Path(L"long.sbx")), ReferenceRc4(plain));
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(EngineTest, DerivedKeyRoundTripsRestoreEveryByteInBothModes) {
  struct Case {
    TCipherMode mode;
    size_t size;
  };
  const Case cases[] = {{cmStream, 1},      {cmStream, 39999}, {cmStream, 40000}, {cmStream, 40001},
                        {cmStream, 123457}, {cmBlock, 8},      {cmBlock, 16},     {cmBlock, 40000},
                        {cmBlock, 40008},   {cmBlock, 120024}};
  TCryptoApi e(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " size " << c.size);
    const Bytes plain = Pattern(c.size, static_cast<uint32_t>(c.size));
    WriteBytes(Dir.Path(L"p"), plain);
    Prepare(e, Dir.Path(L"p"), Dir.Path(L"p.sbx"), "470913", c.mode);
    ASSERT_TRUE(e.EncryptFile());
    const Bytes cipher = ReadBytes(Dir.Path(L"p.sbx"));
    ASSERT_EQ(cipher.size(), plain.size());  // no header, no padding
    if (c.size >= 8) {
      EXPECT_NE(cipher, plain);
    }
    Prepare(e, Dir.Path(L"p.sbx"), Dir.Path(L"p.out"), "470913", c.mode);
    ASSERT_TRUE(e.DecryptFile());
    EXPECT_EQ(ReadBytes(Dir.Path(L"p.out")), plain);
  }
  // A wrong key text is not detected: other bytes, and still success.
  Prepare(e, Dir.Path(L"p.sbx"), Dir.Path(L"p.bad"), "470914", cmBlock);
  EXPECT_TRUE(e.DecryptFile());
  EXPECT_NE(ReadBytes(Dir.Path(L"p.bad")), ReadBytes(Dir.Path(L"p.out")));
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(EngineTest, KeyBlobFormCarriesALengthByteAndASimpleBlobAndRoundTrips) {
  EnsureUserKeys();
  Boxes.clear();
  TCryptoApi e(nullptr);
  for (TCipherMode mode : {cmStream, cmBlock}) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    const size_t size = mode == cmBlock ? 80000 : 80001;
    const Bytes plain = Pattern(size, 77);
    WriteBytes(Dir.Path(L"k"), plain);
    Prepare(e, Dir.Path(L"k"), Dir.Path(L"k.sbx"), "", mode);
    ASSERT_TRUE(e.EncryptFile());
    const Bytes file = ReadBytes(Dir.Path(L"k.sbx"));
    ASSERT_GT(file.size(), 1u + 12u);
    const size_t n = file[0];
    ASSERT_EQ(file.size(), 1 + n + size);
    // SIMPLEBLOB header: type, version, reserved, the session key's algorithm, the exchange algorithm.
    EXPECT_EQ(file[1], SIMPLEBLOB);
    ALG_ID alg = 0, exchange = 0;
    memcpy(&alg, &file[5], 4);
    memcpy(&exchange, &file[9], 4);
    EXPECT_EQ(alg, e.Algorithm());
    EXPECT_EQ(exchange, ALG_ID(CALG_RSA_KEYX));

    Recorder.Positions.clear();
    Prepare(e, Dir.Path(L"k.sbx"), Dir.Path(L"k.out"), "", mode);
    ASSERT_TRUE(e.DecryptFile()) << (Boxes.empty() ? "" : fw::WideToUtf8(Boxes[0].Text));
    EXPECT_EQ(ReadBytes(Dir.Path(L"k.out")), plain);
    // Positions of the decryption count the header bytes.
    ASSERT_FALSE(Recorder.Positions.empty());
    EXPECT_EQ(Recorder.Positions.front(), 1 + n + 40000);
    EXPECT_EQ(Recorder.Positions.back(), file.size());
    EXPECT_EQ(e.SourceSize(), file.size());
  }
  // Every file gets its own session key.
  const Bytes plain = Pattern(64, 5);
  WriteBytes(Dir.Path(L"s"), plain);
  Prepare(e, Dir.Path(L"s"), Dir.Path(L"s1.sbx"), "", cmStream);
  ASSERT_TRUE(e.EncryptFile());
  Prepare(e, Dir.Path(L"s"), Dir.Path(L"s2.sbx"), "", cmStream);
  ASSERT_TRUE(e.EncryptFile());
  const Bytes a = ReadBytes(Dir.Path(L"s1.sbx")), b = ReadBytes(Dir.Path(L"s2.sbx"));
  EXPECT_NE(Bytes(a.end() - 64, a.end()), Bytes(b.end() - 64, b.end()));
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(EngineTest, KeyBlobEdgeCasesEmptySourceAndZeroLengthBlob) {
  EnsureUserKeys();
  Boxes.clear();
  TCryptoApi e(nullptr);
  // Encrypting an empty source writes the header only and raises no event.
  WriteBytes(Dir.Path(L"empty"), {});
  Prepare(e, Dir.Path(L"empty"), Dir.Path(L"empty.sbx"), "", cmStream);
  ASSERT_TRUE(e.EncryptFile());
  const Bytes header = ReadBytes(Dir.Path(L"empty.sbx"));
  ASSERT_FALSE(header.empty());
  EXPECT_EQ(header.size(), 1u + header[0]);
  EXPECT_TRUE(Recorder.Positions.empty());
  // ... and decrypting it gives an empty file.
  Prepare(e, Dir.Path(L"empty.sbx"), Dir.Path(L"empty.out"), "", cmStream);
  ASSERT_TRUE(e.DecryptFile());
  EXPECT_EQ(FileSize(Dir.Path(L"empty.out")), 0u);

  // Decrypting an empty source: no header to read.
  Prepare(e, Dir.Path(L"empty"), Dir.Path(L"empty2.out"), "", cmStream);
  EXPECT_THROW(e.DecryptFile(), fw::EInOutError);

  // A first byte of 0: an empty blob, which the provider refuses.
  WriteBytes(Dir.Path(L"zero.sbx"), Bytes{0, 1, 2, 3, 4});
  Prepare(e, Dir.Path(L"zero.sbx"), Dir.Path(L"zero.out"), "", cmStream);
  EXPECT_FALSE(e.DecryptFile());
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, L"Error during CryptImportKey");
  EXPECT_EQ(Boxes[0].Caption, L"Error...");
  EXPECT_EQ(FileSize(Dir.Path(L"zero.out")), 0u);
}

TEST_F(EngineTest, AKeyBlobLongerThan255BytesIsRefusedBeforeAnythingIsWritten) {
  if (!KeyContainerIsDisposable()) GTEST_SKIP() << "would replace the user's own key container";
  EnsureUserKeys();
  // A 2048-bit exchange pair makes a 268-byte SIMPLEBLOB, which one length byte cannot describe.
  ASSERT_TRUE(NewExchangePair(2048));
  WriteBytes(Dir.Path(L"x"), Pattern(1000));
  TCryptoApi e(nullptr);
  Prepare(e, Dir.Path(L"x"), Dir.Path(L"x.sbx"), "", cmStream);
  const bool result = e.EncryptFile();
  const uint64_t written = FileSize(Dir.Path(L"x.sbx"));
  ASSERT_TRUE(NewExchangePair(1024));  // back to the provider's usual pair for the other tests
  EXPECT_FALSE(result);
  EXPECT_EQ(written, 0u);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text.rfind(L"Error during CryptExportKey", 0), 0u) << fw::WideToUtf8(Boxes[0].Text);
  EXPECT_NE(Boxes[0].Text.find(L"255"), std::wstring::npos);
  EXPECT_EQ(Boxes[0].Caption, L"Error...");
  EXPECT_TRUE(Recorder.Positions.empty());

  // With the 1024-bit pair the form works again.
  Boxes.clear();
  ASSERT_TRUE(e.EncryptFile());
  EXPECT_EQ(ReadBytes(Dir.Path(L"x.sbx"))[0], 140u);  // 12 header bytes + 128 bytes of RSA
  EXPECT_TRUE(Boxes.empty());
}

TEST(Progress, PercentIsSixtyFourBitAndRoundsHalvesToEven) {
  EXPECT_EQ(ProgressPercent(40000, 40000), 100u);
  EXPECT_EQ(ProgressPercent(0, 40000), 0u);
  EXPECT_EQ(ProgressPercent(1, 200), 0u);  // 0.5 -> 0
  EXPECT_EQ(ProgressPercent(3, 200), 2u);  // 1.5 -> 2
  EXPECT_EQ(ProgressPercent(5, 200), 2u);  // 2.5 -> 2
  EXPECT_EQ(ProgressPercent(7, 200), 4u);  // 3.5 -> 4
  EXPECT_EQ(ProgressPercent(0, 0), 0u);
  // Past 4 GiB: 32-bit values would wrap (6 GiB of 8 GiB would read as 2 GiB of 0).
  const uint64_t GiB = uint64_t(1) << 30;
  EXPECT_EQ(ProgressPercent(6 * GiB, 8 * GiB), 75u);
  EXPECT_EQ(ProgressPercent(4 * GiB + 40000, 4 * GiB + 40000), 100u);
  EXPECT_EQ(ProgressPercent(4 * GiB, 16 * GiB), 25u);
  EXPECT_EQ(ProgressPercent(uint64_t(5) << 40, uint64_t(10) << 40), 50u);
}

TEST_F(EngineTest, SourcesOfFourGibibytesAndMoreReportSizeAndPositionsInSixtyFourBits) {
  // A sparse source just past 4 GiB (no disk space used), encrypted into the null device: the
  // whole file goes through the provider (some 20 s under Wine), as a real one would.
  const uint64_t size = (uint64_t(1) << 32) + 40001;
  const std::wstring src = Dir.Path(L"huge.bin");
  HANDLE h = CreateFileW(src.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD got = 0;
  DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &got, nullptr);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  const bool sized = SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h);
  CloseHandle(h);
  ASSERT_TRUE(sized);

  TCryptoApi e(nullptr);
  Prepare(e, src, L"NUL", "470913", cmStream);
  ASSERT_TRUE(e.EncryptFile());
  EXPECT_EQ(e.SourceSize(), size);
  ASSERT_EQ(Recorder.Positions.size(), (size + 39999) / 40000);
  EXPECT_EQ(Recorder.Positions[107374], uint64_t(107375) * 40000);  // the first position past 4 GiB
  EXPECT_EQ(Recorder.Positions.back(), size);
  EXPECT_EQ(ProgressPercent(Recorder.Positions.back(), e.SourceSize()), 100u);
  EXPECT_EQ(ProgressPercent(Recorder.Positions[Recorder.Positions.size() / 2], e.SourceSize()), 50u);
  EXPECT_TRUE(Boxes.empty());
}
