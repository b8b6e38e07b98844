// LZHUF expander: adaptive Huffman tree, bit reader, symbol/position decoding, stream wrapper.
#include "skin/data/LZH.h"

#include <algorithm>
#include <memory>
#include <new>

namespace skin {
namespace lzh {

TLZHTree::TLZHTree() : freq(T + 1), prnt(T + N_CHAR), son(T) { Reset(); }

// Initial tree: every symbol with frequency 1, internal nodes pairing neighbours bottom-up.
void TLZHTree::Reset() {
  for (int i = 0; i < N_CHAR; ++i) {
    freq[i] = 1;
    son[i] = static_cast<std::int16_t>(i + T);
    prnt[i + T] = static_cast<std::int16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq[j] = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
    son[j] = static_cast<std::int16_t>(i);
    prnt[i] = prnt[i + 1] = static_cast<std::int16_t>(j);
  }
  freq[T] = 0xFFFF;
  prnt[R] = 0;
}

// Halves the leaf frequencies (rounding up) and rebuilds the internal nodes in frequency order.
void TLZHTree::Rebuild() {
  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son[i] >= T) {
      freq[j] = static_cast<std::uint16_t>((freq[i] + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  }
  for (int i = 0, n = N_CHAR; n < T; i += 2, ++n) {
    const unsigned f = static_cast<unsigned>(freq[i]) + freq[i + 1];
    int k = n - 1;
    while (f < freq[k]) --k;  // stops at i + 1 at the latest: f >= freq[i + 1]
    ++k;
    std::copy_backward(freq.begin() + k, freq.begin() + n, freq.begin() + n + 1);
    std::copy_backward(son.begin() + k, son.begin() + n, son.begin() + n + 1);
    freq[k] = static_cast<std::uint16_t>(f);
    son[k] = static_cast<std::int16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = son[i];
    if (k >= T) {
      prnt[k] = static_cast<std::int16_t>(i);
    } else {
      prnt[k] = prnt[k + 1] = static_cast<std::int16_t>(i);
    }
  }
}

// Increments the path from the leaf of c to the root, moving each node after the last node of
// lower frequency so that frequencies stay in ascending node order.
void TLZHTree::Update(int c) {
  if (freq[R] == MAX_FREQ) Rebuild();
  int n = prnt[c + T];
  do {
    const std::uint16_t k = ++freq[n];
    int l = n + 1;
    if (freq[l] < k) {
      while (freq[l + 1] < k) ++l;  // freq[T] = 0xFFFF ends the scan
      freq[n] = freq[l];
      freq[l] = k;
      const int i = son[n];
      prnt[i] = static_cast<std::int16_t>(l);
      if (i < T) prnt[i + 1] = static_cast<std::int16_t>(l);
      const int j = son[l];
      son[l] = static_cast<std::int16_t>(i);
      prnt[j] = static_cast<std::int16_t>(n);
      if (j < T) prnt[j + 1] = static_cast<std::int16_t>(n);
      son[n] = static_cast<std::int16_t>(j);
      n = l;
    }
    n = prnt[n];
  } while (n != 0);
}

}  // namespace lzh

using namespace lzh;

// Tops the 16-bit bit buffer up to at least 9 valid bits; missing input reads as zero bytes.
inline void TLZH::Refill() {
  while (FBitLen < 9) {
    const unsigned byte = FSourcePos < FSource.size() ? FSource[FSourcePos++] : 0u;
    FBitBuf = static_cast<std::uint16_t>(FBitBuf | (byte << (8 - FBitLen)));
    FBitLen = static_cast<std::uint8_t>(FBitLen + 8);
  }
}

int TLZH::GetBit() {
  Refill();
  const int bit = FBitBuf >> 15;
  FBitBuf = static_cast<std::uint16_t>(FBitBuf << 1);
  --FBitLen;
  return bit;
}

int TLZH::GetByte() {
  Refill();
  const int byte = FBitBuf >> 8;
  FBitBuf = static_cast<std::uint16_t>(FBitBuf << 8);
  FBitLen = static_cast<std::uint8_t>(FBitLen - 8);
  return byte;
}

int TLZH::DecodeChar() {
  const auto& son = FTree->son;
  int c = son[R];
  while (c < T) c = son[c + GetBit()];
  c -= T;
  FTree->Update(c);
  return c;
}

int TLZH::DecodePosition() {
  int i = GetByte();
  const int upper = kPositionTables.code[i] << 6;
  for (int j = kPositionTables.len[i] - 2; j > 0; --j) i = (i << 1) + GetBit();
  return upper | (i & 0x3F);
}

void TLZH::Expand(std::int32_t length, std::span<const std::uint8_t> source,
                  std::vector<std::uint8_t>& dest) {
  std::vector<std::uint8_t> text;
  std::unique_ptr<TLZHTree> tree;
  try {
    text.assign(N + F - 1, 0);
    tree = std::make_unique<TLZHTree>();
  } catch (const std::bad_alloc&) {
    throw ElzhException(kNoMemory);
  }
  FSource = source;
  FSourcePos = 0;
  FBitBuf = 0;
  FBitLen = 0;
  FTree = tree.get();
  std::fill(text.begin(), text.begin() + RING_START, std::uint8_t{' '});

  int r = RING_START;
  std::int64_t count = 0;
  while (count < length) {
    const int c = DecodeChar();
    if (c < 256) {
      const auto byte = static_cast<std::uint8_t>(c);
      dest.push_back(byte);
      text[r] = byte;
      r = (r + 1) & (N - 1);
      ++count;
    } else {
      const int s = (r - DecodePosition() - 1) & (N - 1);
      const int len = c - 255 + THRESHOLD;
      // Byte by byte: the copy may read bytes it has just written.
      for (int k = 0; k < len; ++k) {
        const std::uint8_t byte = text[(s + k) & (N - 1)];
        dest.push_back(byte);
        text[r] = byte;
        r = (r + 1) & (N - 1);
      }
      count += len;
    }
  }
  FTree = nullptr;
  FSource = {};
}

bool ReadExpandedLength(std::span<const std::uint8_t> stored, std::int32_t& length) {
  if (stored.size() < 4) return false;
  const std::uint32_t v = static_cast<std::uint32_t>(stored[0]) | (static_cast<std::uint32_t>(stored[1]) << 8) |
                          (static_cast<std::uint32_t>(stored[2]) << 16) |
                          (static_cast<std::uint32_t>(stored[3]) << 24);
  length = static_cast<std::int32_t>(v);
  return true;
}

std::vector<std::uint8_t> ExpandStoredSkin(std::span<const std::uint8_t> stored, std::int64_t maxLength) {
  std::int32_t length = 0;
  if (!ReadExpandedLength(stored, length)) throw ElzhException("LZH : Stored data too short for its length field");
  if (length < 0 || length > maxLength) throw ElzhException("LZH : Expanded length out of range");
  std::vector<std::uint8_t> dest;
  try {
    dest.reserve(static_cast<std::size_t>(length) + F);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kNoMemory);
  }
  TLZH().Expand(length, stored.subspan(4), dest);
  return dest;
}

}  // namespace skin
