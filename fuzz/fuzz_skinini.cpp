// Fuzz target: TQuickIni on arbitrary description text, and the colour value readers.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/WinSkinIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  skin::TQuickIni ini;
  ini.Load(text);

  std::vector<std::string> sections;
  ini.ReadSections(&sections);
  // Query every section with the keys that its own lines name, plus fixed ones.
  // Bounded so that one run stays fast: the first 32 sections and 64 lines.
  if (sections.size() > 32) sections.resize(32);
  const auto& lines = ini.Lines();
  const std::size_t lineCount = lines.size() < 64 ? lines.size() : 64;
  for (const auto& section : sections) {
    for (std::size_t i = 0; i < lineCount; ++i) {
      const std::string& line = lines[i];
      const auto key = line.substr(0, line.find('='));
      const std::string value = ini.ReadString(section, key, "default");
      ini.ReadInteger(section, key, -1);
      skin::ParseColour(value);
    }
    skin::TColor colour = skin::clNone;
    ini.ReadColourKeys(section, "Text", colour);
    skin::MixColor(colour, skin::clBtnFace, ini.ReadInteger(section, "Weight", 50));
    skin::ColorSaturation(colour);
  }
  skin::ParseColour(text);
  return 0;
}
