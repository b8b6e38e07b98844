// Naming rules of a batch: output paths for both directions, the collapse of doubled
// backslashes that keeps network paths, the refusals and the same-file test.
#include <gtest/gtest.h>
#include <windows.h>

#include "BatchNames.h"
#include "TestUtil.h"

using namespace batch;

namespace {

std::wstring Enc(const std::wstring& dest, const std::wstring& src) {
  TOutputName n = EncryptedName(dest, src);
  EXPECT_TRUE(n.Ok) << "refused: " << testing::PrintToString(n.Reason);
  return n.Path;
}

std::wstring Dec(const std::wstring& dest, const std::wstring& src) {
  TOutputName n = DecryptedName(dest, src);
  EXPECT_TRUE(n.Ok) << "refused: " << testing::PrintToString(n.Reason);
  return n.Path;
}

}  // namespace

TEST(BatchNames, EncryptAppendsSbxToTheFileNameInTheDestination) {
  EXPECT_EQ(Enc(L"C:\\", L"C:\\data\\a.txt"), L"C:\\a.txt.sbx");  // the joined "\\" collapses
  EXPECT_EQ(Enc(L"D:\\out", L"C:\\data\\a.txt"), L"D:\\out\\a.txt.sbx");
  EXPECT_EQ(Enc(L"D:\\out\\", L"C:\\data\\a.txt"), L"D:\\out\\a.txt.sbx");
  EXPECT_EQ(Enc(L"D:\\out", L"C:/data/b"), L"D:\\out\\b.sbx");
  EXPECT_EQ(Enc(L"D:\\加密", L"C:\\数据\\报告.doc"), L"D:\\加密\\报告.doc.sbx");
  EXPECT_EQ(Enc(L"D:", L"a.txt"), L"D:\\a.txt.sbx");
  EXPECT_FALSE(EncryptedName(L"D:\\out", L"C:\\data\\").Ok);  // no file name at all
}

TEST(BatchNames, NetworkAndDevicePathsKeepTheirOpeningPair) {
  EXPECT_EQ(Enc(L"\\\\server\\share", L"C:\\data\\a.txt"), L"\\\\server\\share\\a.txt.sbx");
  EXPECT_EQ(Enc(L"\\\\server\\share\\", L"C:\\data\\a.txt"), L"\\\\server\\share\\a.txt.sbx");
  EXPECT_EQ(Dec(L"\\\\server\\share\\out", L"\\\\server\\share\\in\\a.txt.sbx"), L"\\\\server\\share\\out\\a.txt");
  EXPECT_EQ(Enc(L"\\\\?\\C:\\out", L"C:\\data\\a.txt"), L"\\\\?\\C:\\out\\a.txt.sbx");
  EXPECT_EQ(CollapseBackslashes(L"\\\\\\server\\\\share\\\\\\x"), L"\\\\server\\share\\x");
  EXPECT_EQ(CollapseBackslashes(L"C:\\\\\\x\\\\y"), L"C:\\x\\y");
  EXPECT_EQ(CollapseBackslashes(L"\\root\\\\x"), L"\\root\\x");
  EXPECT_EQ(CollapseBackslashes(L"\\"), L"\\");
  EXPECT_EQ(CollapseBackslashes(L""), L"");
}

TEST(BatchNames, DecryptCutsFourCharactersButNeverIntoTheFolder) {
  EXPECT_EQ(Dec(L"D:\\out", L"C:\\x\\notes.sbx"), L"D:\\out\\notes");
  EXPECT_EQ(Dec(L"D:\\out\\", L"C:\\x\\report.doc.sbx"), L"D:\\out\\report.doc");
  EXPECT_EQ(Dec(L"C:\\", L"C:\\x\\a.txt.sbx"), L"C:\\a.txt");
  EXPECT_EQ(Dec(L"D:\\out", L"C:\\x\\notes123"), L"D:\\out\\note");  // whatever the four are
  EXPECT_EQ(Dec(L"D:\\out", L"C:\\x\\abcde"), L"D:\\out\\a");
  for (const wchar_t* shortName : {L"C:\\x\\ab", L"C:\\x\\abcd", L"C:\\x\\.sbx", L"C:\\x\\"}) {
    const TOutputName n = DecryptedName(L"D:", shortName);
    EXPECT_FALSE(n.Ok) << testing::PrintToString(std::wstring(shortName));
    EXPECT_TRUE(n.Path.empty());
    EXPECT_FALSE(n.Reason.empty());
  }
  const TOutputName ab = DecryptedName(L"D:", L"C:\\x\\ab");
  EXPECT_NE(ab.Reason.find(L"“ab”"), std::wstring::npos);  // the reason names the file
}

TEST(BatchNames, SameFileIsSeenThroughSpellingsAndLinks) {
  TempDir dir;
  const std::wstring src = dir.Path(L"data.bin");
  WriteBytes(src, {1, 2, 3});
  EXPECT_TRUE(IsSameFile(src, src));
  EXPECT_TRUE(IsSameFile(src, dir.Path(L".\\DATA.BIN")));
  ASSERT_TRUE(CreateHardLinkW(dir.Path(L"data.bin.sbx").c_str(), src.c_str(), nullptr));
  EXPECT_TRUE(IsSameFile(src, Enc(dir.Path(), src)));  // the encrypted name is a link to the source
  EXPECT_FALSE(IsSameFile(src, dir.Path(L"other.bin")));  // does not exist
  WriteBytes(dir.Path(L"other.bin"), {1, 2, 3});
  EXPECT_FALSE(IsSameFile(src, dir.Path(L"other.bin")));

  const std::wstring reason = SameFileReason(src);
  EXPECT_NE(reason.find(src), std::wstring::npos);
  EXPECT_NE(SkippedLine(src, reason).find(reason), std::wstring::npos);
  EXPECT_NE(SkippedLine(src, reason).find(src), std::wstring::npos);
  EXPECT_NE(FailedLine(L"D:\\o.sbx", L"磁盘已满").find(L"磁盘已满"), std::wstring::npos);
  EXPECT_NE(FailedLine(L"D:\\o.sbx", L"").find(L"D:\\o.sbx"), std::wstring::npos);
}
