// Memory, file and resource streams: positions, growth, exact reads and file errors.
#include <gtest/gtest.h>

#include "Graphics.h"
#include "Streams.h"
#include "TestUtil.h"

using namespace fw;

TEST(Streams, MemoryStreamGrowsZeroFillsGapsAndReadBufferIsExact) {
  TMemoryStream m;
  m.WriteBuffer("abc", 3);
  m.SetPosition(6);
  m.WriteBuffer("z", 1);
  EXPECT_EQ(m.Size(), 7);
  const auto* p = static_cast<const char*>(m.Memory());
  EXPECT_EQ(std::string(p, 7), std::string("abc\0\0\0z", 7));

  m.Seek(-2, TSeekOrigin::soEnd);
  char two[2];
  m.ReadBuffer(two, 2);
  EXPECT_EQ(two[1], 'z');
  EXPECT_EQ(m.Read(two, 2), 0);  // at the end
  m.SetPosition(5);
  EXPECT_THROW(m.ReadBuffer(two, 3), EReadError);
  EXPECT_THROW(m.Seek(-1, TSeekOrigin::soBeginning), EStreamError);

  m.SetSize(2);
  EXPECT_EQ(m.Position(), 2);

  // CopyFrom with count 0 takes the whole source from its start.
  TMemoryStream all;
  all.WriteBuffer("xy", 2);
  EXPECT_EQ(all.CopyFrom(m, 0), 2);
  EXPECT_EQ(std::string(static_cast<const char*>(all.Memory()), 4), "xyab");
}

TEST(Streams, FileStreamWritesReadsAndNamesTheFileInErrors) {
  TempDir dir;
  const std::wstring path = dir.Path(L"数据.bin");
  {
    TFileStream f(path, fmCreate);
    std::vector<uint8_t> big(100000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
    f.WriteBuffer(big.data(), static_cast<int32_t>(big.size()));
    EXPECT_EQ(f.Size(), 100000);
  }
  {
    TFileStream f(path, fmOpenRead | fmShareDenyWrite);
    f.Seek(-1, TSeekOrigin::soEnd);
    uint8_t last = 0;
    f.ReadBuffer(&last, 1);
    EXPECT_EQ(last, static_cast<uint8_t>(99999 * 7));
    EXPECT_THROW(f.ReadBuffer(&last, 1), EReadError);
    // Denied write sharing keeps others from opening it for writing.
    EXPECT_THROW(TFileStream(path, fmOpenWrite), EFOpenError);
    TMemoryStream m;
    m.LoadFromFile(path);  // reading alongside is allowed
    EXPECT_EQ(m.Size(), 100000);
    EXPECT_EQ(static_cast<const uint8_t*>(m.Memory())[3], 21);
  }
  try {
    TFileStream f(dir.Path(L"缺少.bin"), fmOpenRead);
    FAIL() << "a missing file opened";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.ClassName(), "EFOpenError");
    EXPECT_EQ(e.ErrorCode, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(e.Message().find(L"缺少.bin"), std::wstring::npos);
  }
  EXPECT_THROW(TFileStream(dir.Path(L"no\\such\\dir.bin"), fmCreate), EFCreateError);
}

TEST(Streams, ResourceStreamReadsAModuleResourceAndRefusesWrites) {
  // The system's user32 carries the standard bitmaps as RT_BITMAP resources.
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  TResourceStream r(user32, L"#32754", RT_BITMAP);  // the close box bitmap
  ASSERT_GT(r.Size(), 40);
  BITMAPINFOHEADER h;
  r.ReadBuffer(&h, sizeof h);
  EXPECT_GE(h.biSize, 40u);
  EXPECT_GT(h.biWidth, 0);
  EXPECT_THROW(r.WriteBuffer("x", 1), EStreamError);
  EXPECT_THROW(TResourceStream(user32, L"NO_SUCH_THING", RT_BITMAP), EResNotFound);

  // The same resource as a bitmap: a DIB without a file header.
  TBitmap b;
  b.LoadFromResourceName(user32, L"#32754");
  EXPECT_EQ(b.Width(), h.biWidth);
  EXPECT_EQ(b.Height(), std::abs(h.biHeight));
}
