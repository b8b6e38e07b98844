// LZHUF compressor (hash-chain LZSS + adaptive Huffman) and skin container writer.
#include "tools/skinpack/SkinPack.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "skin/data/LZH.h"
#include "skin/data/SkinRead.h"

namespace skin::pack {
namespace {

using namespace skin::lzh;

constexpr int kHashBits = 16;
constexpr int kMaxChain = 256;   // candidates tried per position
constexpr int kMinMatch = THRESHOLD + 1;

// Most-significant-bit-first writer; the last byte is padded with zero bits.
class BitWriter {
public:
  void Put(std::uint32_t value, int bits) {
    for (int b = bits - 1; b >= 0; --b) {
      FAcc = static_cast<std::uint8_t>((FAcc << 1) | ((value >> b) & 1u));
      if (++FCount == 8) {
        FOut.push_back(FAcc);
        FAcc = 0;
        FCount = 0;
      }
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (FCount > 0) FOut.push_back(static_cast<std::uint8_t>(FAcc << (8 - FCount)));
    FCount = 0;
    FAcc = 0;
    return std::move(FOut);
  }

private:
  std::vector<std::uint8_t> FOut;
  std::uint8_t FAcc = 0;
  int FCount = 0;
};

// Prefix code of each upper-six-bits value, derived from the expander's position tables.
struct PositionCode {
  std::array<std::uint8_t, 64> code{};
  std::array<std::uint8_t, 64> len{};
};

PositionCode MakePositionCode() {
  PositionCode pc;
  for (int i = 255; i >= 0; --i) {  // downwards, so the first index of each group wins
    const int upper = kPositionTables.code[i];
    const int len = kPositionTables.len[i];
    pc.code[upper] = static_cast<std::uint8_t>(i >> (8 - len));
    pc.len[upper] = static_cast<std::uint8_t>(len);
  }
  return pc;
}

class Encoder {
public:
  void Char(int c) {
    // Walk from the node holding the leaf up to the root; a right child codes a 1.
    std::array<std::uint8_t, T> bits;
    int depth = 0;
    for (int k = FTree.prnt[c + T]; k != R;) {
      const int parent = FTree.prnt[k];
      bits[depth++] = static_cast<std::uint8_t>(k - FTree.son[parent]);
      k = parent;
    }
    while (depth > 0) FOut.Put(bits[--depth], 1);
    FTree.Update(c);
  }
  void Position(int p) {
    static const PositionCode pc = MakePositionCode();
    const int upper = p >> 6;
    FOut.Put(pc.code[upper], pc.len[upper]);
    FOut.Put(static_cast<std::uint32_t>(p & 0x3F), 6);
  }
  std::vector<std::uint8_t> Finish() { return FOut.Finish(); }

private:
  TLZHTree FTree;
  BitWriter FOut;
};

// Longest earlier occurrence of the bytes at `pos` in the stream `ext` (ring prefix + data),
// at most N bytes back; chains hold earlier positions with the same 3-byte hash.
struct MatchFinder {
  explicit MatchFinder(const std::vector<std::uint8_t>& ext) : ext(ext), head(1u << kHashBits, -1), prev(ext.size(), -1) {}

  static std::uint32_t Hash(const std::uint8_t* p) {
    return ((static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2]) * 2654435761u) >>
           (32 - kHashBits);
  }
  void Insert(std::size_t pos) {
    if (pos + kMinMatch > ext.size()) return;
    const std::uint32_t h = Hash(&ext[pos]);
    prev[pos] = head[h];
    head[h] = static_cast<std::int32_t>(pos);
  }
  // Returns the match length (0 if below kMinMatch) and its distance back in `dist`.
  int Find(std::size_t pos, int& dist) const {
    const int limit = static_cast<int>(std::min<std::size_t>(F, ext.size() - pos));
    if (limit < kMinMatch) return 0;
    int best = 0;
    int chain = kMaxChain;
    for (std::int32_t cand = head[Hash(&ext[pos])]; cand >= 0 && chain-- > 0; cand = prev[cand]) {
      const std::size_t d = pos - static_cast<std::size_t>(cand);
      if (d > static_cast<std::size_t>(N)) break;
      if (ext[cand + best] != ext[pos + best]) continue;
      int len = 0;
      while (len < limit && ext[cand + len] == ext[pos + len]) ++len;
      if (len > best) {
        best = len;
        dist = static_cast<int>(d);
        if (len == limit) break;
      }
    }
    return best >= kMinMatch ? best : 0;
  }

  const std::vector<std::uint8_t>& ext;
  std::vector<std::int32_t> head;
  std::vector<std::int32_t> prev;
};

}  // namespace

std::vector<std::uint8_t> CompressLZH(std::span<const std::uint8_t> data) {
  // The expander's ring starts with N-F spaces before the first written byte; modelling them
  // as a prefix of the stream lets matches reach back into them.
  std::vector<std::uint8_t> ext(RING_START + data.size(), ' ');
  std::copy(data.begin(), data.end(), ext.begin() + RING_START);
  MatchFinder finder(ext);
  for (std::size_t i = 0; i < static_cast<std::size_t>(RING_START); ++i) finder.Insert(i);

  Encoder enc;
  std::size_t pos = RING_START;
  int dist = 0;
  int len = finder.Find(pos, dist);
  while (pos < ext.size()) {
    finder.Insert(pos);
    int nextDist = 0;
    const int nextLen = len > 0 && len < F && pos + 1 < ext.size() ? finder.Find(pos + 1, nextDist) : 0;
    if (len == 0 || nextLen > len) {  // lazy matching: a longer match one byte later wins
      enc.Char(ext[pos]);
      ++pos;
      len = nextLen;
      dist = nextDist;
      if (len == 0 && pos < ext.size()) len = finder.Find(pos, dist);
      continue;
    }
    enc.Char(255 - THRESHOLD + len);
    enc.Position(dist - 1);
    for (int k = 1; k < len; ++k) finder.Insert(pos + k);
    pos += len;
    len = pos < ext.size() ? finder.Find(pos, dist) : 0;
  }
  return enc.Finish();
}

std::vector<std::uint8_t> PackStoredSkin(std::span<const std::uint8_t> data) {
  if (data.size() > 0x7FFFFFFFu) throw std::invalid_argument("skin too large");
  const auto n = static_cast<std::uint32_t>(data.size());
  std::vector<std::uint8_t> out{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
  const auto stream = CompressLZH(data);
  out.insert(out.end(), stream.begin(), stream.end());
  return out;
}

namespace {
void PutInt32(std::vector<std::uint8_t>& out, std::int64_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int s = 0; s < 32; s += 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}
}  // namespace

std::vector<std::uint8_t> BuildArchive(const std::vector<Entry>& entries, std::int32_t version) {
  const int listOffset = TSkinReader::NameListOffset(version);
  if (listOffset < 0) throw std::invalid_argument("unknown container version");
  if (entries.size() > 1001) throw std::invalid_argument("more than 1001 entries");
  std::string list;
  for (const auto& e : entries) {
    if (e.name.find_first_of("\r\n") != std::string::npos) throw std::invalid_argument("entry name with a line break");
    list += e.name;
    list += "\r\n";
  }
  std::vector<std::uint8_t> out;
  PutInt32(out, version);
  PutInt32(out, static_cast<std::int64_t>(list.size()));
  PutInt32(out, 0);
  PutInt32(out, 0);
  out.resize(static_cast<std::size_t>(listOffset), 0);
  out.insert(out.end(), list.begin(), list.end());
  for (const auto& e : entries) {
    if (e.data.size() > 0x7FFFFFFFu) throw std::invalid_argument("entry too large");
    PutInt32(out, static_cast<std::int64_t>(e.data.size()));
  }
  for (const auto& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
  return out;
}

}  // namespace skin::pack
