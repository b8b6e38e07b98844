// LZHUF codec of stored skins: the adaptive Huffman tree, the expander TLZH and its stream wrapper.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace skin {

// Failure of the codec itself (tables, expanded length); stream errors are the caller's.
class ElzhException : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

namespace lzh {

// Constants of the scheme; every stored skin depends on them.
inline constexpr int N = 4096;               // ring buffer size
inline constexpr int F = 60;                 // longest match
inline constexpr int THRESHOLD = 2;          // matches longer than this are coded
inline constexpr int N_CHAR = 256 - THRESHOLD + F;  // 314 symbols: literals + lengths 3..60
inline constexpr int T = 2 * N_CHAR - 1;     // 627 tree nodes
inline constexpr int R = T - 1;              // root node
inline constexpr unsigned MAX_FREQ = 0x8000; // root frequency that triggers a rebuild
inline constexpr int RING_START = N - F;     // first write position; 0..N-F-1 start as spaces

// Raised when the working tables cannot be allocated. (Releasing them cannot fail: they are
// vectors owned by the expansion call.)
inline constexpr char kNoMemory[] = "LZH : Cannot get memory for dictionary tables";

// Fixed prefix code of the upper six bits of a match position, indexed by the first byte read.
struct PositionTables {
  std::array<std::uint8_t, 256> code{};  // upper six bits
  std::array<std::uint8_t, 256> len{};   // total bits of the prefix (3..8)
};

constexpr PositionTables MakePositionTables() {
  PositionTables t;
  // (group size in byte indices, number of groups, prefix length)
  constexpr int groups[6][3] = {{32, 1, 3}, {16, 3, 4}, {8, 8, 5}, {4, 12, 6}, {2, 24, 7}, {1, 16, 8}};
  int index = 0, upper = 0;
  for (const auto& g : groups)
    for (int k = 0; k < g[1]; ++k, ++upper)
      for (int m = 0; m < g[0]; ++m, ++index) {
        t.code[index] = static_cast<std::uint8_t>(upper);
        t.len[index] = static_cast<std::uint8_t>(g[2]);
      }
  return t;
}

inline constexpr PositionTables kPositionTables = MakePositionTables();

// The adaptive Huffman tree shared by the expander and the packer: both sides must run
// exactly the same initialisation, update and rebuild for their bit streams to agree.
class TLZHTree {
public:
  TLZHTree();
  void Reset();
  // Counts one occurrence of symbol c (0..N_CHAR-1); rebuilds first when the root is full.
  void Update(int c);
  void Rebuild();

  // freq[T] is a 0xFFFF sentinel; prnt[T..T+N_CHAR-1] are the nodes holding the leaves;
  // son[n] >= T names the leaf of symbol son[n]-T, otherwise the left child (right = +1).
  std::vector<std::uint16_t> freq;
  std::vector<std::int16_t> prnt;
  std::vector<std::int16_t> son;
};

}  // namespace lzh

// Expander of one LZHUF stream. The source is read byte by byte; once it is exhausted every
// further byte reads as 0, so damaged input still yields exactly what its bits decode to.
class TLZH {
public:
  // Appends the expansion of `source` to `dest` until at least `length` bytes were produced;
  // the last copy is always completed, so up to F-1 bytes more may be produced.
  // A length of 0 or less produces nothing. Throws ElzhException if the tables cannot be had.
  void Expand(std::int32_t length, std::span<const std::uint8_t> source, std::vector<std::uint8_t>& dest);

private:
  void Refill();
  int GetBit();
  int GetByte();
  int DecodeChar();
  int DecodePosition();

  std::span<const std::uint8_t> FSource;
  std::size_t FSourcePos = 0;
  std::uint16_t FBitBuf = 0;
  std::uint8_t FBitLen = 0;
  lzh::TLZHTree* FTree = nullptr;
};

// Largest expanded length a stored skin may announce; anything above is refused before
// any allocation (real skins are below 1 MiB).
inline constexpr std::int64_t kMaxExpandedLength = 64LL * 1024 * 1024;

// Reads the little-endian signed 32-bit expanded length at the head of a stored skin;
// returns false when fewer than 4 bytes are present.
bool ReadExpandedLength(std::span<const std::uint8_t> stored, std::int32_t& length);

// Stream wrapper: expands a stored skin (4-byte expanded length + LZHUF stream).
// Throws ElzhException when the head is missing or the length is negative or above maxLength.
std::vector<std::uint8_t> ExpandStoredSkin(std::span<const std::uint8_t> stored,
                                           std::int64_t maxLength = kMaxExpandedLength);

}  // namespace skin
