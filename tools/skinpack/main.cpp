// skinpack: pack DIR OUT | list FILE | unpack FILE DIR — stored skins (container version 40000);
// check DIR|FILE — the skin lint; embed FORM SKIN OUT — the skin into a form's data block.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/SkinRead.h"
#include "tools/skinpack/SkinCheck.h"
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
std::vector<skin::pack::Entry> ReadFolder(const fs::path& dir) {
  std::vector<skin::pack::Entry> entries;
  for (const auto& item : fs::directory_iterator(dir))
    if (item.is_regular_file()) entries.push_back({item.path().filename().string(), ReadFile(item.path())});
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return entries;
}

int Pack(const fs::path& dir, const fs::path& out) {
  const auto entries = ReadFolder(dir);
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

constexpr char kUsage[] =
    "usage: skinpack pack DIR OUT            pack the files of DIR into the stored skin OUT\n"
    "       skinpack list FILE               list the entries of a stored skin\n"
    "       skinpack unpack FILE DIR         write the entries of a stored skin into DIR\n"
    "       skinpack check DIR|FILE [--strict] [--scrollbar-width N]\n"
    "                                        check a skin folder or stored skin as the engine will\n"
    "                                        load it; exit 1 on errors (and on warnings with\n"
    "                                        --strict); N: the system's scroll-bar width (17)\n"
    "       skinpack embed FORM SKIN OUT     copy the form description FORM to OUT with its line\n"
    "                                        \"SkinStream = {}\" replaced by the stored skin SKIN\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

int Check(const std::vector<std::string>& args) {
  std::string target;
  bool strict = false;
  skin::pack::TCheckOptions options;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--strict") {
      strict = true;
    } else if (args[i] == "--scrollbar-width" && i + 1 < args.size()) {
      const std::string& n = args[++i];
      char* end = nullptr;
      errno = 0;
      const long width = std::strtol(n.c_str(), &end, 10);
      if (n.empty() || *end != '\0' || errno != 0 || width < 1 || width > 1000) return Usage();
      options.ScrollbarWidth = static_cast<std::int32_t>(width);
    } else if (target.empty() && !args[i].starts_with("--")) {
      target = args[i];
    } else {
      return Usage();
    }
  }
  if (target.empty()) return Usage();
  const auto findings = fs::is_directory(target) ? skin::pack::CheckEntries(ReadFolder(target), options)
                                                 : skin::pack::CheckStoredSkin(ReadFile(target), options);
  std::size_t errors = 0, warnings = 0, notes = 0;
  for (const auto& f : findings) {
    std::printf("%s\n", skin::pack::FormatFinding(f).c_str());
    ++(f.Severity == skin::pack::TSeverity::Error ? errors : f.Severity == skin::pack::TSeverity::Warning ? warnings : notes);
  }
  std::printf("%s: %zu error(s), %zu warning(s), %zu note(s)%s\n", target.c_str(), errors, warnings, notes,
              strict && warnings > 0 ? " (warnings count as errors)" : "");
  return errors > 0 || (strict && warnings > 0) ? 1 : 0;
}

// The output appears only complete: written beside it, then renamed over it.
int Embed(const fs::path& form, const fs::path& skinFile, const fs::path& out) {
  const auto text = ReadFile(form);
  const auto stored = ReadFile(skinFile);
  if (!stored.empty()) {
    skin::TSkinReader reader;
    if (!reader.ReadArchive(stored)) {  // the reader has said why on stderr
      std::fprintf(stderr, "skinpack: %s is not a readable stored skin\n", skinFile.string().c_str());
      return 1;
    }
  }
  std::string error;
  const auto result = skin::pack::EmbedSkinStream(
      std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), stored, error);
  if (!result) {
    std::fprintf(stderr, "skinpack: %s: %s\n", form.string().c_str(), error.c_str());
    return 1;
  }
  fs::path temp = out;
  temp += ".tmp";
  try {
    WriteFile(temp, std::span(reinterpret_cast<const std::uint8_t*>(result->data()), result->size()));
    fs::rename(temp, out);
  } catch (...) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "pack") return Pack(args[1], args[2]);
    if (args.size() == 2 && args[0] == "list") return List(args[1]);
    if (args.size() == 3 && args[0] == "unpack") return Unpack(args[1], args[2]);
    if (!args.empty() && args[0] == "check") return Check(args);
    if (args.size() == 4 && args[0] == "embed") return Embed(args[1], args[2], args[3]);
    return Usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinpack: %s\n", e.what());
    return 1;
  }
}
