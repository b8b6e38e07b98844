// The crypto engine's contract: published properties, the Mode table, the chunk loop and its
// events, the stop flag, the error path, release on exceptions and the user key check.
#include <windows.h>

#include "CryptoTestUtil.h"
#include "SysUtils.h"

using namespace crypto;

TEST(CryptoClass, PublishedPropertiesInOrderModeTableAndRegistration) {
  RegisterCryptoClasses();
  const fw::TClassInfo* info = fw::FindClass("TCryptoApi");
  ASSERT_NE(info, nullptr);
  std::vector<std::string> names;
  for (const auto& p : info->Props) names.push_back(p.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Source", "Destination", "Password", "Mode", "InitUser", "onSolution"}));
  EXPECT_EQ(info->FindProp("Mode")->EnumNames, (std::vector<std::string>{"cmBlock", "cmStream"}));
  EXPECT_TRUE(info->InheritsFrom(&fw::TComponent::StaticClassInfo()));

  fw::TComponent owner(nullptr);
  auto* e = dynamic_cast<TCryptoApi*>(info->Create(&owner));  // freed by its owner
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(e->ClassName(), "TCryptoApi");
  // Construction: stream mode, RC4, block length 1.
  EXPECT_EQ(e->Mode(), cmStream);
  EXPECT_EQ(e->Algorithm(), ALG_ID(0x6801));
  EXPECT_EQ(e->BlockLength(), 1u);
  EXPECT_FALSE(e->InitUser());

  const fw::TPropInfo* mode = info->FindProp("Mode");
  mode->Set(e, int64_t(cmBlock));
  EXPECT_EQ(e->Algorithm(), ALG_ID(0x6602));
  EXPECT_EQ(e->BlockLength(), 8u);
  mode->Set(e, int64_t(7));  // not a mode: ignored
  e->SetMode(static_cast<TCipherMode>(-1));
  EXPECT_EQ(e->Mode(), cmBlock);
  EXPECT_EQ(e->BlockLength(), 8u);
  mode->Set(e, int64_t(cmStream));
  EXPECT_EQ(std::get<int64_t>(mode->Get(e)), int64_t(cmStream));
  EXPECT_EQ(e->Algorithm(), ALG_ID(CALG_RC4));

  info->FindProp("Password")->Set(e, std::wstring(L"470913"));
  EXPECT_EQ(e->Password(), "470913");
  info->FindProp("Source")->Set(e, std::wstring(L"C:\\数据\\源.txt"));
  EXPECT_EQ(e->Source(), L"C:\\数据\\源.txt");

  SolutionRecorder rec;
  info->FindProp("onSolution")->Set(e, rec.Event().Ref());
  EXPECT_TRUE(e->onSolution == rec.Event());
  info->FindProp("onSolution")->Set(e, fw::TPropValue{});
  EXPECT_FALSE(Assigned(e->onSolution));
}

TEST_F(EngineTest, EmptySourceDerivedKeyGivesEmptyDestinationAndNoEvent) {
  WriteBytes(Dir.Path(L"empty.txt"), {});
  WriteBytes(Dir.Path(L"empty.sbx"), Pattern(100));  // an existing destination is truncated
  TCryptoApi e(nullptr);
  Prepare(e, Dir.Path(L"empty.txt"), Dir.Path(L"empty.sbx"), "470913", cmStream);
  EXPECT_TRUE(e.EncryptFile());
  EXPECT_EQ(FileSize(Dir.Path(L"empty.sbx")), 0u);
  EXPECT_TRUE(Recorder.Positions.empty());
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(EngineTest, ChunkBoundariesGiveOneEventPerChunkWithTheReadPosition) {
  TCryptoApi e(nullptr);
  // Exactly one chunk: one event at 40000; the next read of 0 bytes ends the loop.
  WriteBytes(Dir.Path(L"a"), Pattern(40000));
  Prepare(e, Dir.Path(L"a"), Dir.Path(L"a.sbx"), "470913", cmStream);
  EXPECT_TRUE(e.EncryptFile());
  EXPECT_EQ(Recorder.Positions, (std::vector<uint64_t>{40000}));
  EXPECT_EQ(Recorder.Senders, (std::vector<fw::TObject*>{&e}));
  EXPECT_EQ(e.SourceSize(), 40000u);

  // One byte more: two events, 40000 and 40001, and a 40001-byte destination.
  Recorder.Positions.clear();
  WriteBytes(Dir.Path(L"b"), Pattern(40001));
  e.SetSource(Dir.Path(L"b"));
  e.SetDestination(Dir.Path(L"b.sbx"));
  EXPECT_TRUE(e.EncryptFile());
  EXPECT_EQ(Recorder.Positions, (std::vector<uint64_t>{40000, 40001}));
  EXPECT_EQ(FileSize(Dir.Path(L"b.sbx")), 40001u);
  EXPECT_EQ(e.SourceSize(), 40001u);

  // Block mode reads 40000 bytes a chunk too (a multiple of 8); 80008 bytes give three events.
  Recorder.Positions.clear();
  WriteBytes(Dir.Path(L"c"), Pattern(80008));
  Prepare(e, Dir.Path(L"c"), Dir.Path(L"c.sbx"), "470913", cmBlock);
  EXPECT_TRUE(e.EncryptFile());
  EXPECT_EQ(Recorder.Positions, (std::vector<uint64_t>{40000, 80000, 80008}));
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(EngineTest, StopOnTheFirstEventWritesOneChunkAndTheFlagOutlivesTheRun) {
  WriteBytes(Dir.Path(L"big"), Pattern(100000));
  TCryptoApi e(nullptr);
  Prepare(e, Dir.Path(L"big"), Dir.Path(L"big.sbx"), "470913", cmStream);
  Recorder.StopAt = 1;
  EXPECT_TRUE(e.EncryptFile());
  EXPECT_EQ(Recorder.Positions.size(), 1u);
  EXPECT_EQ(FileSize(Dir.Path(L"big.sbx")), 40000u);

  // The stop flag is only written by the event: the next run, whose handler leaves Stop alone,
  // still processes one chunk and ends there.
  SolutionRecorder quiet;
  e.onSolution = quiet.Event();
  EXPECT_TRUE(e.EncryptFile());
  EXPECT_EQ(quiet.Positions, (std::vector<uint64_t>{40000}));
  EXPECT_EQ(FileSize(Dir.Path(L"big.sbx")), 40000u);

  // A handler that clears Stop (as the main window's does) runs the file to its end.
  SolutionRecorder clearing;
  clearing.ClearStop = true;
  e.onSolution = clearing.Event();
  EXPECT_TRUE(e.EncryptFile());
  EXPECT_EQ(clearing.Positions, (std::vector<uint64_t>{40000, 80000, 100000}));
  EXPECT_EQ(FileSize(Dir.Path(L"big.sbx")), 100000u);
}

TEST_F(EngineTest, BlockModeRejectsATwelveByteSourceThroughTheErrorPath) {
  WriteBytes(Dir.Path(L"twelve"), Pattern(12));
  TCryptoApi e(nullptr);
  Prepare(e, Dir.Path(L"twelve"), Dir.Path(L"twelve.sbx"), "470913", cmBlock);
  EXPECT_FALSE(e.EncryptFile());
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, L"Error during CryptEncrypt");
  EXPECT_EQ(Boxes[0].Caption, L"Error...");
  EXPECT_EQ(Boxes[0].Flags, unsigned(MB_OK));
  EXPECT_EQ(Boxes[0].Owner, nullptr);
  EXPECT_EQ(FileSize(Dir.Path(L"twelve.sbx")), 0u);
  EXPECT_TRUE(Recorder.Positions.empty());
  // Everything was released: both files are free.
  EXPECT_TRUE(NotHeldOpen(Dir.Path(L"twelve")));
  EXPECT_TRUE(NotHeldOpen(Dir.Path(L"twelve.sbx")));
}

TEST_F(EngineTest, FileErrorsRaiseInOutErrorAndReleaseEverything) {
  TCryptoApi e(nullptr);
  // Missing source.
  Prepare(e, Dir.Path(L"missing"), Dir.Path(L"out.sbx"), "470913", cmStream);
  EXPECT_THROW(e.EncryptFile(), fw::EInOutError);
  EXPECT_EQ(GetFileAttributesW(Dir.Path(L"out.sbx").c_str()), INVALID_FILE_ATTRIBUTES);

  // Destination that cannot be created: the source opened first is closed on the way out.
  WriteBytes(Dir.Path(L"src"), Pattern(10));
  Prepare(e, Dir.Path(L"src"), Dir.Path(L"no\\such\\dir\\out.sbx"), "470913", cmStream);
  EXPECT_THROW(e.EncryptFile(), fw::EInOutError);
  EXPECT_TRUE(NotHeldOpen(Dir.Path(L"src")));

  // A key-blob form source shorter than its header: both files are released.
  WriteBytes(Dir.Path(L"short.sbx"), Bytes{100, 1, 2, 3});
  Prepare(e, Dir.Path(L"short.sbx"), Dir.Path(L"short.out"), "", cmStream);
  EXPECT_THROW(e.DecryptFile(), fw::EInOutError);
  EXPECT_TRUE(NotHeldOpen(Dir.Path(L"short.sbx")));
  EXPECT_TRUE(NotHeldOpen(Dir.Path(L"short.out")));
  EXPECT_TRUE(Boxes.empty());
  // The engine is usable again afterwards.
  Prepare(e, Dir.Path(L"src"), Dir.Path(L"src.sbx"), "470913", cmStream);
  EXPECT_TRUE(e.EncryptFile());
}

TEST_F(EngineTest, ADestinationThatIsTheSourceIsRefusedAndTheSourceStaysIntact) {
  const Bytes plain = Pattern(50000);
  const std::wstring src = Dir.Path(L"Keep Me.txt");
  WriteBytes(src, plain);
  ASSERT_TRUE(CreateHardLinkW(Dir.Path(L"link.txt").c_str(), src.c_str(), nullptr));

  wchar_t cwdBuf[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, cwdBuf);
  SetCurrentDirectoryW(Dir.Path().c_str());
  std::wstring forward = Dir.Path(L"keep me.txt");
  for (auto& c : forward)
    if (c == L'\\') c = L'/';
  const std::vector<std::wstring> spellings = {src, Dir.Path(L".\\KEEP ME.TXT"), forward, L"Keep Me.txt",
                                               Dir.Path(L"link.txt")};
  TCryptoApi e(nullptr);
  for (const auto& dst : spellings) {
    for (bool encrypt : {true, false}) {
      Prepare(e, src, dst, "470913", cmStream);
      try {
        encrypt ? e.EncryptFile() : e.DecryptFile();
        ADD_FAILURE() << "no exception for " << fw::WideToUtf8(dst);
      } catch (const fw::EInOutError& x) {
        EXPECT_NE(x.Message().find(L"源文件"), std::wstring::npos) << x.what();
        EXPECT_NE(x.Message().find(dst), std::wstring::npos) << x.what();
      }
      EXPECT_EQ(ReadBytes(src), plain) << fw::WideToUtf8(dst);
      EXPECT_TRUE(NotHeldOpen(src));
    }
  }
  SetCurrentDirectoryW(cwdBuf);
  EXPECT_TRUE(Recorder.Positions.empty());
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(EngineTest, ChinesePathsWork) {
  CreateDirectoryW(Dir.Path(L"加密文件").c_str(), nullptr);
  const std::wstring src = Dir.Path(L"加密文件\\报告.doc");
  const Bytes plain = Pattern(45000, 3);
  WriteBytes(src, plain);
  TCryptoApi e(nullptr);
  Prepare(e, src, src + L".sbx", "470913", cmStream);
  EXPECT_TRUE(e.EncryptFile());
  Prepare(e, src + L".sbx", Dir.Path(L"加密文件\\报告(解密).doc"), "470913", cmStream);
  EXPECT_TRUE(e.DecryptFile());
  EXPECT_EQ(ReadBytes(Dir.Path(L"加密文件\\报告(解密).doc")), plain);
}

TEST_F(EngineTest, InitUserCreatesTheContainerOnceAndThenShowsNothing) {
  if (!KeyContainerIsDisposable()) GTEST_SKIP() << "would replace the user's own key container";
  // Start from no default container: the check creates it and tells its name.
  HCRYPTPROV gone = 0;
  CryptAcquireContextA(&gone, nullptr, nullptr, PROV_RSA_FULL, CRYPT_DELETEKEYSET);
  TCryptoApi e(nullptr);
  e.SetInitUser(true);
  EXPECT_FALSE(e.InitUser());
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Caption, L"Key Container...");
  EXPECT_EQ(Boxes[0].Flags, unsigned(MB_OK));
  wchar_t user[256];
  DWORD n = 256;
  ASSERT_TRUE(GetUserNameW(user, &n));
  EXPECT_TRUE(fw::SameText(Boxes[0].Text, user)) << fw::WideToUtf8(Boxes[0].Text);

  // Both pairs now exist.
  HCRYPTPROV prov = 0;
  ASSERT_TRUE(CryptAcquireContextA(&prov, nullptr, nullptr, PROV_RSA_FULL, 0));
  for (DWORD keySpec : {DWORD(AT_SIGNATURE), DWORD(AT_KEYEXCHANGE)}) {
    HCRYPTKEY k = 0;
    EXPECT_TRUE(CryptGetUserKey(prov, keySpec, &k)) << keySpec;
    if (k) CryptDestroyKey(k);
  }
  CryptReleaseContext(prov, 0);

  // Existing container with both pairs: nothing is shown; writing False does nothing.
  Boxes.clear();
  e.SetInitUser(true);
  e.SetInitUser(false);
  EXPECT_TRUE(Boxes.empty());
  EXPECT_FALSE(e.InitUser());
  EXPECT_TRUE(e.CheckUserKeys());

  // In a form designer the check reports its success.
  e.SetDesigning(true);
  e.SetInitUser(true);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, L"Success Init User");
  EXPECT_EQ(Boxes[0].Caption, L"Message...");
}

TEST_F(EngineTest, InitUserGeneratesAMissingKeyExchangePair) {
  if (!KeyContainerIsDisposable()) GTEST_SKIP() << "would replace the user's own key container";
  // A container with a signature pair only, as another program may leave it.
  HCRYPTPROV prov = 0;
  CryptAcquireContextA(&prov, nullptr, nullptr, PROV_RSA_FULL, CRYPT_DELETEKEYSET);
  ASSERT_TRUE(CryptAcquireContextA(&prov, nullptr, nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET));
  HCRYPTKEY k = 0;
  ASSERT_TRUE(CryptGenKey(prov, AT_SIGNATURE, 0, &k));
  CryptDestroyKey(k);
  CryptReleaseContext(prov, 0);

  // The key-blob form needs the exchange pair: without it the error path names the call.
  WriteBytes(Dir.Path(L"p"), Pattern(10));
  TCryptoApi e(nullptr);
  Prepare(e, Dir.Path(L"p"), Dir.Path(L"p.sbx"), "", cmStream);
  EXPECT_FALSE(e.EncryptFile());
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, L"Error during CryptGetUserKey");
  EXPECT_EQ(FileSize(Dir.Path(L"p.sbx")), 0u);

  Boxes.clear();
  e.SetInitUser(true);  // the container exists: silent, and the missing pair is made
  EXPECT_TRUE(Boxes.empty());
  EXPECT_TRUE(e.EncryptFile());
  EXPECT_TRUE(Boxes.empty());
}
