// skingen: draws the built-in skins and the program's bitmap resources, and contact sheets.
//   skingen skin NAME INI OUTDIR   every bitmap of skin NAME plus a copy of INI into OUTDIR
//   skingen resources OUTDIR       track.bmp, trackvert.bmp, menuglyphs.bmp
//   skingen sheet SKINDIR OUT.bmp  a contact sheet of a skin folder
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/skingen/Check.h"
#include "tools/skingen/Sheet.h"
#include "tools/skingen/Skins.h"

namespace fs = std::filesystem;
using namespace skingen;

namespace {

int Skin(const std::string& name, const fs::path& ini, const fs::path& outDir) {
  const std::string iniName = ini.filename().string();
  const auto files = SkinFiles(DrawSkin(name), iniName, ReadFile(ini.string()));
  const auto findings = CheckSkinFiles(files);
  for (const auto& finding : findings)
    std::fprintf(stderr, "%s: %s\n", ini.string().c_str(), skin::pack::FormatFinding(finding).c_str());
  if (Blocks(findings)) return 1;
  // The folder is packed as it is: bitmaps and descriptions of an earlier run go first (other
  // files are left alone and would be packed too).
  if (fs::exists(outDir))
    for (const auto& entry : fs::directory_iterator(outDir)) {
      const std::string ext = entry.path().extension().string();
      if (entry.is_regular_file() && (ext == ".bmp" || ext == ".ini")) fs::remove(entry.path());
    }
  fs::create_directories(outDir);
  // The description last: it is the folder's stamp for the build.
  for (const auto& file : files)
    if (file.name != iniName) WriteFile((outDir / file.name).string(), file.data);
  for (const auto& file : files)
    if (file.name == iniName) WriteFile((outDir / file.name).string(), file.data);
  std::printf("skin %s: %zu bitmaps and %s in %s\n", name.c_str(), files.size() - 1, iniName.c_str(),
              outDir.string().c_str());
  return 0;
}

int Resources(const fs::path& outDir) {
  fs::create_directories(outDir);
  for (const auto& image : DrawResourceImages()) WriteFile((outDir / image.name).string(), EncodeBmp24(image.canvas));
  WriteFile((outDir / "menuglyphs.bmp").string(), MenuGlyphsBmp());
  return 0;
}

int Usage() {
  std::fprintf(stderr, "usage: skingen skin NAME INI OUTDIR | resources OUTDIR | sheet SKINDIR OUT.bmp\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "skin" && argc == 5) return Skin(argv[2], argv[3], argv[4]);
    if (command == "resources" && argc == 3) return Resources(argv[2]);
    if (command == "sheet" && argc == 4) {
      WriteFile(argv[3], EncodeBmp24(ContactSheet(argv[2])));
      return 0;
    }
    return Usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}
