// Tests of TSkinReader: lookups, container versions, the version message and damaged archives.
#include <gtest/gtest.h>

#include <string>

#include "skin/data/SkinRead.h"
#include "tools/skinpack/SkinPack.h"

using skin::TSkinReader;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Collects the messages the reader shows while it lives.
class MessageCapture {
public:
  MessageCapture() {
    FPrevious = skin::SetSkinMessageHandler([this](const std::string& text) { Messages.push_back(text); });
  }
  ~MessageCapture() { skin::SetSkinMessageHandler(FPrevious); }
  std::vector<std::string> Messages;

private:
  skin::MessageHandler FPrevious;
};

const std::vector<skin::pack::Entry> kEntries = {
    {"Title.BMP", ToBytes("BM title")},
    {"empty.bmp", {}},
    {"skin.ini", ToBytes("[Form]\r\nx=1\r\n")},
    {"title.bmp", ToBytes("BM second")},
};

bool Read(TSkinReader& reader, const Bytes& archive) { return reader.ReadArchive(skin::pack::PackStoredSkin(archive)); }

void PutInt32(Bytes& b, std::size_t at, std::int32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * k));
}

}  // namespace

TEST(SkinReader, LooksUpEntriesByName) {
  MessageCapture capture;
  TSkinReader reader;
  ASSERT_TRUE(Read(reader, skin::pack::BuildArchive(kEntries)));
  ASSERT_EQ(reader.Count(), 4u);
  EXPECT_EQ(reader.Name(0), "title.bmp");  // names are lower-cased on reading

  Bytes out = {1, 2, 3};
  // Exact lookup ignores case; of two equal names the first wins.
  EXPECT_TRUE(reader.ExtractEntry("TITLE.bmp", out));
  EXPECT_EQ(out, ToBytes("BM title"));
  EXPECT_TRUE(reader.ExtractEntry("skin.INI", out));
  EXPECT_EQ(out, ToBytes("[Form]\r\nx=1\r\n"));
  // Size 0 and missing look the same in the destination.
  EXPECT_TRUE(reader.ExtractEntry("empty.bmp", out));
  EXPECT_TRUE(out.empty());
  out = {9};
  EXPECT_FALSE(reader.ExtractEntry("title", out));
  EXPECT_TRUE(out.empty());

  // The pattern is compared as given: upper case finds nothing in the lower-cased names.
  std::string found = "unchanged";
  out = {9};
  EXPECT_FALSE(reader.FindEntry(".INI", out, found));
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(found, "unchanged");
  EXPECT_TRUE(reader.FindEntry(".ini", out, found));
  EXPECT_EQ(found, "skin.ini");
  EXPECT_TRUE(reader.FindEntry("tle.b", out, found));
  EXPECT_EQ(out, ToBytes("BM title"));
  EXPECT_TRUE(capture.Messages.empty());
}

TEST(SkinReader, AllThreeVersionsReadAlike) {
  for (const std::int32_t version : {20000, 30000, 40000}) {
    TSkinReader reader;
    const Bytes archive = skin::pack::BuildArchive(kEntries, version);
    ASSERT_TRUE(Read(reader, archive)) << version;
    EXPECT_EQ(reader.Version(), version);
    ASSERT_EQ(reader.Count(), 4u);
    Bytes out;
    EXPECT_TRUE(reader.ExtractEntry("title.bmp", out));
    EXPECT_EQ(out, ToBytes("BM title")) << version;
  }
}

TEST(SkinReader, NameListLineRules) {
  // CR, LF and CR LF all end a line; an inner empty line is an entry, a final break adds none.
  std::string list = "a.bmp\rb.bmp\n\r\nC.ini\r\n";
  Bytes archive(96, 0);
  PutInt32(archive, 0, 40000);
  PutInt32(archive, 4, static_cast<std::int32_t>(list.size()));
  archive.insert(archive.end(), list.begin(), list.end());
  for (const std::int32_t size : {1, 2, 0, 3}) {
    archive.resize(archive.size() + 4);
    PutInt32(archive, archive.size() - 4, size);
  }
  const std::string data = "ABBCCC";
  archive.insert(archive.end(), data.begin(), data.end());

  TSkinReader reader;
  ASSERT_TRUE(Read(reader, archive));
  ASSERT_EQ(reader.Count(), 4u);
  EXPECT_EQ(reader.Name(2), "");
  EXPECT_EQ(reader.Name(3), "c.ini");
  Bytes out;
  reader.ExtractEntry("c.ini", out);
  EXPECT_EQ(out, ToBytes("CCC"));
}

TEST(SkinReader, WrongVersionShowsTheMessageAndLoadsNothing) {
  MessageCapture capture;
  TSkinReader reader;
  ASSERT_TRUE(Read(reader, skin::pack::BuildArchive(kEntries)));
  Bytes archive = skin::pack::BuildArchive(kEntries);
  PutInt32(archive, 0, 40001);
  EXPECT_FALSE(Read(reader, archive));
  ASSERT_EQ(capture.Messages.size(), 1u);
  EXPECT_EQ(capture.Messages[0], "此文件版本不同\r请升级新版本 !");
  EXPECT_EQ(reader.Count(), 0u);
  Bytes out;
  EXPECT_FALSE(reader.ExtractEntry("skin.ini", out));
}

TEST(SkinReader, DamagedArchivesAreRejected) {
  MessageCapture capture;
  const Bytes good = skin::pack::BuildArchive(kEntries);
  const std::size_t sizes = 96 + good[4];  // the size table follows the name list
  struct Case {
    const char* what;
    Bytes archive;
  };
  std::vector<Case> cases;
  auto damaged = [&](const char* what, auto change) {
    Bytes b = good;
    change(b);
    cases.push_back({what, b});
  };
  damaged("negative list length", [](Bytes& b) { PutInt32(b, 4, -1); });
  damaged("list past the end", [](Bytes& b) { PutInt32(b, 4, 0x7FFFFFF0); });
  damaged("list up to the end", [](Bytes& b) { PutInt32(b, 4, static_cast<std::int32_t>(b.size() - 96)); });
  damaged("negative size", [&](Bytes& b) { PutInt32(b, sizes + 4, -1); });
  damaged("size past the end", [&](Bytes& b) { PutInt32(b, sizes + 12, 10); });
  damaged("sizes overflowing", [&](Bytes& b) {
    PutInt32(b, sizes, 0x7FFFFFFF);
    PutInt32(b, sizes + 4, 0x7FFFFFFF);
  });
  damaged("header cut", [](Bytes& b) { b.resize(15); });
  {
    std::string list;
    for (int i = 0; i < 1002; ++i) list.append(1, 'e').append(std::to_string(i)).append(1, '\n');
    Bytes b(96 + list.size() + 4 * 1002, 0);
    PutInt32(b, 0, 40000);
    PutInt32(b, 4, static_cast<std::int32_t>(list.size()));
    std::copy(list.begin(), list.end(), b.begin() + 96);
    cases.push_back({"1002 entries", b});
  }

  for (const auto& c : cases) {
    TSkinReader reader;
    ASSERT_TRUE(Read(reader, good));
    capture.Messages.clear();
    EXPECT_FALSE(Read(reader, c.archive)) << c.what;
    EXPECT_EQ(reader.Count(), 0u) << c.what;
    EXPECT_EQ(capture.Messages.size(), 1u) << c.what;
    EXPECT_FALSE(reader.LastError().empty()) << c.what;
  }

  // 1001 entries is still a valid archive.
  std::vector<skin::pack::Entry> many(1001, {"x.bmp", {}});
  TSkinReader reader;
  EXPECT_TRUE(Read(reader, skin::pack::BuildArchive(many)));
  EXPECT_EQ(reader.Count(), 1001u);
}

TEST(SkinReader, StoredLengthIsCheckedBeforeExpanding) {
  MessageCapture capture;
  for (const Bytes& stored : {Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x12}, Bytes{0x01, 0x00, 0x00, 0x04}, Bytes{7, 0},
                              Bytes{0, 0, 0, 0}}) {
    TSkinReader reader;
    capture.Messages.clear();
    EXPECT_FALSE(reader.ReadArchive(stored));
    EXPECT_EQ(capture.Messages.size(), 1u);
  }
  // The limit is the reader's: a smaller one refuses what the default accepts.
  TSkinReader small(100);
  EXPECT_FALSE(small.ReadArchive(skin::pack::PackStoredSkin(skin::pack::BuildArchive(kEntries))));
}
