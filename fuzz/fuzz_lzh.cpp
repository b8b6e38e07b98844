// Fuzz target: the expander on arbitrary stored skins, and compressor -> expander round trips.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "skin/data/LZH.h"
#include "tools/skinpack/SkinPack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);

  // Any bytes as a stored skin; the announced length is bounded to keep runs short.
  std::int32_t length = 0;
  if (skin::ReadExpandedLength(input, length)) {
    length &= 0x7FFF;
    std::vector<std::uint8_t> out;
    skin::TLZH().Expand(length, input.subspan(4), out);
    // Exactly the length, or past it by at most one unfinished copy.
    if (out.size() < static_cast<std::size_t>(length) || out.size() >= static_cast<std::size_t>(length) + 60) std::abort();
  }

  // The same bytes as plain data must come back unchanged through the packer's compressor.
  const auto stored = skin::pack::PackStoredSkin(input);
  if (skin::ExpandStoredSkin(stored) != std::vector<std::uint8_t>(input.begin(), input.end())) std::abort();
  return 0;
}
