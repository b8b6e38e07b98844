// Untyped binary files: reads, writes, failures raised as EInOutError, same-file detection.
#include <gtest/gtest.h>
#include <windows.h>

#include "Files.h"
#include "SysUtils.h"
#include "TestUtil.h"

using namespace fw;

TEST(BinaryFile, WriteThenReadBackAndReachTheEnd) {
  TempDir dir;
  TBinaryFile f;
  f.Assign(dir.Path(L"a.bin"));
  f.Rewrite();
  f.BlockWrite("hello", 5);
  f.Close();
  f.Reset();
  EXPECT_EQ(f.Size(), 5u);
  char buf[16] = {};
  EXPECT_EQ(f.BlockRead(buf, sizeof buf), 5u);
  EXPECT_EQ(std::string(buf, 5), "hello");
  EXPECT_EQ(f.Position(), 5u);
  EXPECT_EQ(f.BlockRead(buf, sizeof buf), 0u);
}

TEST(BinaryFile, MissingSourceAndBadDestinationRaiseInOutErrorNamingTheFile) {
  TempDir dir;
  TBinaryFile f;
  f.Assign(dir.Path(L"missing.bin"));
  try {
    f.Reset();
    FAIL() << "no exception";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message().find(L"missing.bin"), std::wstring::npos);
    EXPECT_EQ(e.ErrorCode, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
  }
  f.Assign(dir.Path(L"no\\such\\dir\\x.bin"));
  EXPECT_THROW(f.Rewrite(), EInOutError);
  EXPECT_FALSE(f.IsOpen());
}

TEST(BinaryFile, SameFileSeesOtherSpellingsOfOnePath) {
  TempDir dir;
  std::wstring p = dir.Path(L"Same.txt");
  TBinaryFile f;
  f.Assign(p);
  f.Rewrite();
  f.Close();
  EXPECT_TRUE(SameFile(p, p));
  EXPECT_TRUE(SameFile(p, dir.Path(L".\\SAME.TXT")));
  EXPECT_FALSE(SameFile(p, dir.Path(L"other.txt")));
}
