// Builds BMP files byte by byte for the bitmap tests.
#pragma once
#include <cstdint>
#include <vector>

struct BmpBuilder {
  int Width = 0, Height = 0, Bits = 24;
  bool TopDown = false;
  uint32_t Compression = 0;              // BI_RGB
  std::vector<uint32_t> Masks;           // written after the info header for BI_BITFIELDS
  std::vector<uint32_t> Palette;         // 0x00RRGGBB entries
  std::vector<std::vector<uint8_t>> Rows;  // top row first, unpadded

  static void Put(std::vector<uint8_t>& v, uint32_t x, int n) {
    for (int i = 0; i < n; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
  }

  std::vector<uint8_t> Build() const {
    const uint32_t stride = ((Width * Bits + 31) / 32) * 4;
    const uint32_t offset = 14 + 40 + static_cast<uint32_t>(Masks.size() * 4 + Palette.size() * 4);
    std::vector<uint8_t> v;
    v.push_back('B');
    v.push_back('M');
    Put(v, offset + stride * static_cast<uint32_t>(Height), 4);
    Put(v, 0, 4);
    Put(v, offset, 4);
    Put(v, 40, 4);
    Put(v, static_cast<uint32_t>(Width), 4);
    Put(v, static_cast<uint32_t>(TopDown ? -Height : Height), 4);
    Put(v, 1, 2);
    Put(v, static_cast<uint32_t>(Bits), 2);
    Put(v, Compression, 4);
    Put(v, 0, 4);
    Put(v, 2835, 4);
    Put(v, 2835, 4);
    Put(v, static_cast<uint32_t>(Palette.size()), 4);
    Put(v, 0, 4);
    for (uint32_t m : Masks) Put(v, m, 4);
    for (uint32_t c : Palette) Put(v, c, 4);
    for (int i = 0; i < Height; ++i) {
      const std::vector<uint8_t>& row = Rows[static_cast<size_t>(TopDown ? i : Height - 1 - i)];
      std::vector<uint8_t> padded(row);
      padded.resize(stride, 0);
      v.insert(v.end(), padded.begin(), padded.end());
    }
    return v;
  }
};
