// skinpack: pack DIR OUT | list FILE | unpack FILE DIR — stored skins (container version 40000).
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/SkinRead.h"
#include "tools/skinpack/SkinPack.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, std::span<const std::uint8_t> data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Entries are the regular files of the folder, in byte order of their names.
int Pack(const fs::path& dir, const fs::path& out) {
  std::vector<skin::pack::Entry> entries;
  for (const auto& item : fs::directory_iterator(dir))
    if (item.is_regular_file()) entries.push_back({item.path().filename().string(), ReadFile(item.path())});
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  const auto archive = skin::pack::BuildArchive(entries);
  const auto stored = skin::pack::PackStoredSkin(archive);
  WriteFile(out, stored);
  std::printf("%zu entries, %zu bytes expanded, %zu bytes stored\n", entries.size(), archive.size(), stored.size());
  return 0;
}

bool Load(const fs::path& file, skin::TSkinReader& reader) {
  const auto stored = ReadFile(file);
  return reader.ReadArchive(stored);  // the reader reports its own failures on stderr
}

int List(const fs::path& file) {
  skin::TSkinReader reader;
  if (!Load(file, reader)) return 1;
  std::printf("version %d, %zu entries\n", reader.Version(), reader.Count());
  for (std::size_t i = 0; i < reader.Count(); ++i) std::printf("%10zu  %s\n", reader.Entry(i).size(), reader.Name(i).c_str());
  return 0;
}

// Names come from the archive: anything that is not a plain file name is refused.
bool SafeName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string::npos;
}

int Unpack(const fs::path& file, const fs::path& dir) {
  skin::TSkinReader reader;
  if (!Load(file, reader)) return 1;
  fs::create_directories(dir);
  int status = 0;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    if (!SafeName(reader.Name(i))) {
      std::fprintf(stderr, "skipping entry with unsafe name \"%s\"\n", reader.Name(i).c_str());
      status = 1;
      continue;
    }
    WriteFile(dir / reader.Name(i), reader.Entry(i));
  }
  return status;
}

int Usage() {
  std::fprintf(stderr, "usage: skinpack pack DIR OUT | list FILE | unpack FILE DIR\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "pack") return Pack(args[1], args[2]);
    if (args.size() == 2 && args[0] == "list") return List(args[1]);
    if (args.size() == 3 && args[0] == "unpack") return Unpack(args[1], args[2]);
    return Usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
}
