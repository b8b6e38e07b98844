// Packing side of skins: the LZHUF compressor and the writer of the skin container layout.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skin::pack {

// LZSS over the 4096-byte ring (initially spaces) with the adaptive Huffman coding of the
// expander: returns the bit stream only, without the length field.
std::vector<std::uint8_t> CompressLZH(std::span<const std::uint8_t> data);

// Stored skin: little-endian 32-bit expanded length followed by the compressed stream.
std::vector<std::uint8_t> PackStoredSkin(std::span<const std::uint8_t> data);

struct Entry {
  std::string name;
  std::vector<std::uint8_t> data;
};

// Container version; only the offset of the name list differs between them.
enum : std::int32_t { kVersion20000 = 20000, kVersion30000 = 30000, kVersion40000 = 40000 };

// Expanded archive: header, CR LF terminated name list, size table, entry bytes.
// Throws std::invalid_argument for an unknown version, a name with CR/LF or too many entries.
std::vector<std::uint8_t> BuildArchive(const std::vector<Entry>& entries, std::int32_t version = kVersion40000);

}  // namespace skin::pack
