// Tests of the LZHUF expander: a hand-made stream, end-of-input rules, tree rebuild, round trips.
#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <string>

#include "skin/data/LZH.h"
#include "tools/skinpack/SkinPack.h"

using skin::TLZH;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Expand(std::int32_t length, const Bytes& source) {
  Bytes out;
  TLZH().Expand(length, source, out);
  return out;
}

// Symbols of the stream below, in order, with the tree updated after each:
//   'A' 111001101 (in the initial tree the leaf in node x has parent 314 + x/2, a node with an
//                  odd index is a right child: node 65 -> 346 -> 487 -> ... -> 626 gives these bits)
//   'B' 111001110
//   length 4 (symbol 257) 10001101, position 1: prefix 000, low bits 000001
//   length 3 (symbol 256) 10001100, position 100: prefix 0010 (upper bits 1), low bits 100100
//   'Z' 111100110, then two zero bits of padding.
const Bytes kHandStream = {0xE6, 0xF3, 0xA3, 0x40, 0x31, 0x85, 0x27, 0x98};
// "AB", a copy from two back that overlaps itself, three spaces from the initial ring, 'Z'.
const std::string kHandText = "ABABAB   Z";

}  // namespace

TEST(LZHExpand, HandMadeStreamDecodesSymbolsPositionsAndOverlaps) {
  EXPECT_EQ(Expand(10, kHandStream), ToBytes(kHandText));
}

TEST(LZHExpand, LastCopyIsCompletedPastTheLength) {
  // Length 7 ends inside the three-space copy; the copy still runs to its end.
  EXPECT_EQ(Expand(7, kHandStream), ToBytes("ABABAB   "));
  EXPECT_EQ(Expand(1, kHandStream), ToBytes("A"));
  EXPECT_TRUE(Expand(0, kHandStream).empty());
  EXPECT_TRUE(Expand(-5, kHandStream).empty());
}

TEST(LZHExpand, MissingInputReadsAsZeroBits) {
  // Explicit zero bytes after the stream must decode exactly like no bytes at all.
  Bytes padded = kHandStream;
  padded.resize(64, 0);
  const Bytes a = Expand(300, kHandStream);
  const Bytes b = Expand(300, padded);
  EXPECT_EQ(a, b);
  ASSERT_GE(a.size(), 300u);
  EXPECT_LT(a.size(), 300u + skin::lzh::F);
  EXPECT_EQ(std::string(a.begin(), a.begin() + 10), kHandText);

  // A stream cut short still produces the announced length, with the decodable head intact.
  const Bytes cut(kHandStream.begin(), kHandStream.begin() + 3);
  const Bytes c = Expand(10, cut);
  ASSERT_GE(c.size(), 10u);
  EXPECT_EQ(c[0], 'A');
  EXPECT_EQ(c[1], 'B');
  EXPECT_EQ(Expand(1000, {}).size() >= 1000u, true);
}

TEST(LZHExpand, StoredSkinWrapperChecksTheLengthField) {
  EXPECT_TRUE(skin::ExpandStoredSkin(Bytes{0, 0, 0, 0}).empty());
  Bytes stored = {10, 0, 0, 0};
  stored.insert(stored.end(), kHandStream.begin(), kHandStream.end());
  EXPECT_EQ(skin::ExpandStoredSkin(stored), ToBytes(kHandText));
  EXPECT_THROW(skin::ExpandStoredSkin(Bytes{1, 0}), skin::ElzhException);
  EXPECT_THROW(skin::ExpandStoredSkin(Bytes{0xFF, 0xFF, 0xFF, 0xFF}), skin::ElzhException);
  EXPECT_THROW(skin::ExpandStoredSkin(Bytes{0x01, 0x00, 0x00, 0x04}), skin::ElzhException);  // 64 MiB + 1
}

TEST(LZHTree, RebuildHalvesLeavesAndKeepsTheTreeOrdered) {
  skin::lzh::TLZHTree tree;
  std::mt19937 rng(7);
  // A skewed symbol mix, so that the tree is far from its initial shape.
  while (tree.freq[skin::lzh::R] < skin::lzh::MAX_FREQ) tree.Update(static_cast<int>(rng() % 40 * (rng() % 8)));
  using skin::lzh::T;
  std::vector<int> leafFreq(skin::lzh::N_CHAR);
  for (int i = 0; i < T; ++i) {
    if (tree.son[i] >= T) leafFreq[tree.son[i] - T] = tree.freq[i];
  }

  tree.Update(3);  // the root is full: rebuilds first, then counts symbol 3

  int leaves = 0;
  for (int i = 0; i < T; ++i) {
    if (i > 0) {
      EXPECT_LE(tree.freq[i - 1], tree.freq[i]) << "node " << i;
    }
    const int s = tree.son[i];
    if (s >= T) {
      ++leaves;
      EXPECT_EQ(tree.prnt[s], i);
      EXPECT_EQ(tree.freq[i], (leafFreq[s - T] + 1) / 2 + (s - T == 3 ? 1 : 0)) << "symbol " << s - T;
    } else {
      EXPECT_EQ(tree.freq[i], tree.freq[s] + tree.freq[s + 1]) << "node " << i;
      EXPECT_EQ(tree.prnt[s], i);
      EXPECT_EQ(tree.prnt[s + 1], i);
    }
  }
  EXPECT_EQ(leaves, skin::lzh::N_CHAR);
  EXPECT_LT(tree.freq[skin::lzh::R], skin::lzh::MAX_FREQ / 2 + skin::lzh::N_CHAR);
}

// ---- Round trips through the packer's compressor ----

namespace {

void ExpectRoundTrip(const Bytes& data, const char* what) {
  const Bytes stored = skin::pack::PackStoredSkin(data);
  const Bytes back = skin::ExpandStoredSkin(stored);
  ASSERT_EQ(back.size(), data.size()) << what;
  EXPECT_TRUE(back == data) << what;
}

// A 24-bit bitmap with gradients, flat areas and magenta, as skin bitmaps are.
Bytes MakeBitmap(int w, int h, int seed) {
  const int stride = (w * 3 + 3) & ~3;
  Bytes bmp(54 + static_cast<std::size_t>(stride) * h, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = &bmp[54 + static_cast<std::size_t>(y) * stride + x * 3];
      const bool magenta = (x + seed) % 37 < 5;
      p[0] = magenta ? 255 : static_cast<std::uint8_t>(120 + y * 2);
      p[1] = magenta ? 0 : static_cast<std::uint8_t>(100 + x + seed);
      p[2] = magenta ? 255 : static_cast<std::uint8_t>(90 + (x ^ y));
    }
  return bmp;
}

}  // namespace

TEST(LZHRoundTrip, VariedData) {
  ExpectRoundTrip({}, "empty");
  ExpectRoundTrip({'x'}, "one byte");
  ExpectRoundTrip(ToBytes("abc"), "three bytes");

  std::string text;
  for (int i = 0; i < 3000; ++i) text += "[Button" + std::to_string(i % 41) + "]\r\nFrameCount=" + std::to_string(i % 5) + "\r\n";
  ExpectRoundTrip(ToBytes(text), "text");
  ExpectRoundTrip(MakeBitmap(173, 61, 3), "bitmap");

  // Long runs: copies overlapping the bytes they produce, at every length up to 60.
  Bytes runs(100000, 'z');
  for (std::size_t i = 0; i < runs.size(); i += 997) runs[i] = static_cast<std::uint8_t>(i);
  ExpectRoundTrip(runs, "runs");

  // Starting with spaces: the first matches reach into the ring's initial spaces.
  ExpectRoundTrip(ToBytes(std::string(70, ' ') + "x" + std::string(5000, ' ')), "spaces");

  // The first bytes sit at ring positions 4036..4095 and 0..; repeating them makes copies whose
  // source crosses the end of the ring.
  std::mt19937 rng(11);
  Bytes wrap(200);
  for (auto& b : wrap) b = static_cast<std::uint8_t>(rng());
  for (int k = 0; k < 50; ++k) wrap.insert(wrap.end(), wrap.begin() + 40, wrap.begin() + 90);
  ExpectRoundTrip(wrap, "ring wrap");
}

TEST(LZHRoundTrip, RandomMegabyteRebuildsTheTreeManyTimes) {
  // About a million literals: the root reaches MAX_FREQ every ~16000 symbols after the first.
  std::mt19937 rng(5);
  Bytes data(1 << 20);
  for (auto& b : data) b = static_cast<std::uint8_t>(rng());
  ExpectRoundTrip(data, "random 1 MiB");

  // Few distinct symbols, mostly literals: rebuilds with a very uneven tree.
  Bytes skewed(200000);
  for (auto& b : skewed) b = static_cast<std::uint8_t>("ab"[rng() % 2] + (rng() % 16 == 0 ? rng() % 4 : 0));
  ExpectRoundTrip(skewed, "skewed");
}
