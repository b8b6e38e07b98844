// Builds small skins inside the tests: a description and solid-coloured bitmap strips (one
// colour per frame, so a pixel tells which frame was drawn), packed with the skinpack code.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/skinpack/SkinPack.h"

struct TestSkin {
  std::string Ini;
  std::vector<skin::pack::Entry> Entries;

  // A 24-bit bottom-up BMP; pixel(x, y) gives 0xRRGGBB.
  template <class F>
  static std::vector<std::uint8_t> Bmp(int width, int height, F pixel) {
    const std::uint32_t stride = static_cast<std::uint32_t>((width * 3 + 3) / 4 * 4);
    std::vector<std::uint8_t> v;
    auto put = [&v](std::uint32_t x, int n) {
      for (int i = 0; i < n; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
    };
    v.push_back('B');
    v.push_back('M');
    put(54 + stride * static_cast<std::uint32_t>(height), 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<std::uint32_t>(width), 4);
    put(static_cast<std::uint32_t>(height), 4);
    put(1, 2);
    put(24, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    for (int y = height - 1; y >= 0; --y) {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t c = pixel(x, y);
        v.push_back(static_cast<std::uint8_t>(c));
        v.push_back(static_cast<std::uint8_t>(c >> 8));
        v.push_back(static_cast<std::uint8_t>(c >> 16));
      }
      for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < stride; ++pad) v.push_back(0);
    }
    return v;
  }

  // Frames of frameW x frameH side by side (stacked when vertical), frame i in colours[i].
  TestSkin& Strip(const std::string& name, int frameW, int frameH, const std::vector<std::uint32_t>& colours,
                  bool vertical = false) {
    const int n = static_cast<int>(colours.size());
    const int w = vertical ? frameW : frameW * n, h = vertical ? frameH * n : frameH;
    Entries.push_back({name, Bmp(w, h, [&](int x, int y) {
                         return colours[static_cast<std::size_t>(vertical ? y / frameH : x / frameW)];
                       })});
    return *this;
  }
  TestSkin& Raw(const std::string& name, std::vector<std::uint8_t> bytes) {
    Entries.push_back({name, std::move(bytes)});
    return *this;
  }

  // The scroll-bar parts: the 23-frame bar strip (frame i in arrow(i)), both tracks (frames 1, 2
  // and 4 in track, 3 in trackOff) and both thumbs (frame 1 in thumb), size pixels thick.
  TestSkin& ScrollParts(int size, std::uint32_t (*arrow)(int), std::uint32_t track, std::uint32_t trackOff,
                        std::uint32_t thumb) {
    std::vector<std::uint32_t> frames;
    for (int i = 1; i <= 23; ++i) frames.push_back(arrow(i));
    Strip("bar.bmp", size, size, frames)
        .Strip("vtrack.bmp", size, 40, {track, track, trackOff, track})
        .Strip("htrack.bmp", 40, size, {track, track, trackOff, track})
        .Strip("vthumb.bmp", size, 30, {thumb, 0xF0F000, 0x00F0F0})
        .Strip("hthumb.bmp", 30, size, {thumb, 0xF0F000, 0x00F0F0});
    Ini += "[Scrollbar]\nImage=bar.bmp\n"
           "[VertScroll]\nImage=vtrack.bmp\nFrame=4\n[HorzScroll]\nImage=htrack.bmp\nFrame=4\n"
           "[VertScrollThumb]\nImage=vthumb.bmp\nFrame=3\n[HorzScrollThumb]\nImage=hthumb.bmp\nFrame=3\n";
    return *this;
  }

  // The stored skin: the description as "skin.ini" plus every entry.
  std::vector<std::uint8_t> Stored(bool withIni = true) const {
    std::vector<skin::pack::Entry> all = Entries;
    if (withIni) all.push_back({"skin.ini", std::vector<std::uint8_t>(Ini.begin(), Ini.end())});
    return skin::pack::PackStoredSkin(skin::pack::BuildArchive(all));
  }
};
