// Benchmark program: makes a skin-like stored skin with the packer and times its expansion.
//   skin_expand make OUT.skn OUT.raw   -- 38 bitmaps + a description (~800 KB), packed and raw
//   skin_expand time FILE.skn [SEC]    -- expands repeatedly for about SEC seconds, prints MB/s
#include <chrono>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "skin/data/LZH.h"
#include "skin/data/SkinRead.h"
#include "tools/skinpack/SkinPack.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
}

// A 24-bit skin bitmap: `frames` frames side by side, each with a dark border, a vertical
// gradient face, magenta corners and a light dither, as drawn skin elements look.
Bytes MakeBitmap(int frameWidth, int height, int frames, std::mt19937& rng) {
  const int width = frameWidth * frames;
  const int stride = (width * 3 + 3) & ~3;
  Bytes bmp(54 + static_cast<std::size_t>(stride) * height, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  Put32(bmp, 2, static_cast<std::uint32_t>(bmp.size()));
  Put32(bmp, 10, 54);
  Put32(bmp, 14, 40);
  Put32(bmp, 18, static_cast<std::uint32_t>(width));
  Put32(bmp, 22, static_cast<std::uint32_t>(height));
  bmp[26] = 1;
  bmp[28] = 24;
  const int baseR = static_cast<int>(rng() % 200), baseG = static_cast<int>(rng() % 200), baseB = static_cast<int>(rng() % 200);
  for (int f = 0; f < frames; ++f) {
    const int shade = f * 12;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < frameWidth; ++x) {
        std::uint8_t* p = &bmp[54 + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(f * frameWidth + x) * 3];
        const bool corner = (x + y < 3) || (frameWidth - 1 - x + y < 3);
        const bool border = x == 0 || y == 0 || x == frameWidth - 1 || y == height - 1;
        int r, g, b;
        if (corner) {
          r = 255, g = 0, b = 255;
        } else if (border) {
          r = baseR / 3, g = baseG / 3, b = baseB / 3;
        } else {
          const int grad = y * 40 / height;
          const int dither = (rng() % 23 == 0) ? 3 : 0;
          r = baseR + grad + shade + dither;
          g = baseG + grad + shade;
          b = baseB + grad / 2 + shade;
        }
        p[0] = static_cast<std::uint8_t>(std::min(b, 255));
        p[1] = static_cast<std::uint8_t>(std::min(g, 255));
        p[2] = static_cast<std::uint8_t>(std::min(r, 255));
      }
    }
  }
  return bmp;
}

std::string MakeDescription(std::size_t target) {
  static const char* const kKeys[] = {"Bitmap", "FrameCount", "Trans", "Tile", "LeftMargin", "RightMargin",
                                      "TopMargin", "BottomMargin", "TextColour", "Align"};
  std::string text = "; description of the benchmark skin\r\n";
  for (int s = 0; text.size() < target; ++s) {
    text += "[Element" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 10; ++k)
      text += std::string(kKeys[k]) + "=" + (k == 0 ? "element" + std::to_string(s) + ".bmp" : std::to_string((s * 7 + k * 13) % 97)) + "\r\n";
  }
  return text;
}

Bytes MakeArchive() {
  std::mt19937 rng(2024);
  std::vector<skin::pack::Entry> entries;
  // Wide caption strips, frame edges, buttons with five states, small glyphs.
  const int shapes[][3] = {{150, 30, 2}, {10, 220, 2}, {70, 24, 5}, {20, 20, 5}, {48, 44, 4}, {340, 28, 1}};
  for (int i = 0; i < 38; ++i) {
    const auto& s = shapes[i % 6];
    entries.push_back({"element" + std::to_string(i) + ".bmp", MakeBitmap(s[0], s[1], s[2], rng)});
  }
  const std::string ini = MakeDescription(7332);
  entries.push_back({"skin.ini", Bytes(ini.begin(), ini.end())});
  return skin::pack::BuildArchive(entries);
}

Bytes ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const char* path, const Bytes& data) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "make" && argc == 4) {
    Bytes archive = MakeArchive();
    const Bytes stored = skin::pack::PackStoredSkin(archive);
    WriteFile(argv[2], stored);
    WriteFile(argv[3], archive);
    std::printf("expanded_bytes %zu\nstored_bytes %zu\n", archive.size(), stored.size());
    return 0;
  }
  if (mode == "time" && (argc == 3 || argc == 4)) {
    const Bytes stored = ReadFile(argv[2]);
    const double seconds = argc == 4 ? std::atof(argv[3]) : 2.0;
    skin::TSkinReader reader;  // checks once that the file is a valid skin
    if (!reader.ReadArchive(stored)) return 1;
    std::size_t bytes = 0;
    int runs = 0;
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    do {
      bytes += skin::ExpandStoredSkin(stored).size();
      ++runs;
      elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    } while (elapsed < seconds);
    std::printf("runs %d\nexpand_MBps %.1f\n", runs, bytes / elapsed / 1e6);
    return 0;
  }
  std::fprintf(stderr, "usage: skin_expand make OUT.skn OUT.raw | time FILE.skn [SECONDS]\n");
  return 2;
}
