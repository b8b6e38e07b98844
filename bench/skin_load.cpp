// Skin-load benchmark: the main window's stored form is read from the program's resources, the
// SkinStream block of its skin data component is taken out, and the whole load of the built-in
// skin (expand, read the archive, parse the description, build the records and the derived
// bitmaps) is timed, once in this fresh process as start-up does it, then as the median of
// further loads. Prints "skin_load_first_ms X" and "skin_load_median_ms Y".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "StoredSkin.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinData.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * double(t.QuadPart) / double(f.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 15;
  const std::vector<uint8_t> block = bench::StoredSkinBlock();
  if (block.size() <= 4) {
    std::fprintf(stderr, "no stored skin in the main window's form\n");
    return 1;
  }
  skin::TSkinData data(nullptr);
  double t0 = Now();
  data.ReadSkinStream(block);  // copies the block and loads the skin, as reading the form does
  const double first = Now() - t0;
  if (data.NoSkin()) {
    std::fprintf(stderr, "the built-in skin did not load\n");
    return 1;
  }
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    t0 = Now();
    data.LoadSkin();
    times.push_back(Now() - t0);
  }
  std::sort(times.begin(), times.end());
  std::printf("skin_load_first_ms %.2f\n", first);
  std::printf("skin_load_median_ms %.2f\n", times[times.size() / 2]);

  // Where a load goes: the archive, the description, the layout, the records.
  const std::span<const uint8_t> stored(block.data() + 4, block.size() - 4);
  double archive = 0, description = 0, layout = 0, records = 0;
  for (int i = 0; i < runs; ++i) {
    t0 = Now();
    skin::TSkinReader reader;
    reader.ReadArchive(stored);
    double t1 = Now();
    std::vector<uint8_t> text;
    std::string name;
    reader.FindEntry(".ini", text, name);
    skin::TQuickIni ini;
    ini.Load(std::span<const uint8_t>(text));
    double t2 = Now();
    skin::TSkinLayout l;
    std::string error;
    skin::BuildSkinLayout(ini, skin::ArchiveImageLookup(reader), l, error);
    double t3 = Now();
    skin::TSkinRecords r;
    skin::BuildSkinRecords(l, reader, r);
    double t4 = Now();
    archive += t1 - t0;
    description += t2 - t1;
    layout += t3 - t2;
    records += t4 - t3;
  }
  std::printf("skin_load_archive_ms %.2f\n", archive / runs);
  std::printf("skin_load_description_ms %.2f\n", description / runs);
  std::printf("skin_load_layout_ms %.2f\n", layout / runs);
  std::printf("skin_load_records_ms %.2f\n", records / runs);
  return 0;
}
