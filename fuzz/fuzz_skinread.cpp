// Fuzz target: TSkinReader on arbitrary stored skins and arbitrary expanded archives.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "skin/data/SkinRead.h"

namespace {

void Exercise(const skin::TSkinReader& reader) {
  std::vector<std::uint8_t> out;
  std::string found;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    reader.ExtractEntry(reader.Name(i), out);
    volatile std::uint8_t sink = 0;
    for (const auto b : reader.Entry(i)) sink = sink ^ b;  // touch every byte of the entry
  }
  reader.FindEntry(".ini", out, found);
  reader.FindEntry(".bmp", out, found);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (skin::SetSkinMessageHandler([](const std::string&) {}), true);
  (void)quiet;
  const std::span<const std::uint8_t> input(data, size);

  skin::TSkinReader stored(1 << 16);  // bounded expansion keeps each run short
  if (stored.ReadArchive(input)) Exercise(stored);

  skin::TSkinReader expanded;
  if (expanded.ParseArchive(input)) Exercise(expanded);
  return 0;
}
