// TSkinReader: expands a stored skin, checks the container and hands out entries by name.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "skin/data/LZH.h"

namespace skin {

// Receives the messages the reader shows the user (UTF-8 text). The Windows build routes them
// to a message box; natively they go to stderr unless replaced. Returns the previous handler.
using MessageHandler = std::function<void(const std::string&)>;
MessageHandler SetSkinMessageHandler(MessageHandler handler);
void ShowSkinMessage(const std::string& text);

// Container version mismatch: "this file's version differs" CR "please upgrade to the new version !".
// UTF-8 here; the user sees it converted to UTF-16. The two lines are joined by a lone CR.
inline constexpr char kVersionMessage[] = "此文件版本不同\r请升级新版本 !";

class TSkinReader {
public:
  static constexpr std::size_t kMaxEntries = 1001;

  // Known container versions and where their name list starts.
  static int NameListOffset(std::int32_t version);

  explicit TSkinReader(std::int64_t maxExpandedLength = kMaxExpandedLength)
      : FMaxExpandedLength(maxExpandedLength) {}

  // Expands a stored skin (4-byte expanded length + LZHUF stream) and loads its archive.
  // On any failure nothing stays loaded, the user is shown one message and false returned:
  // an unknown version shows kVersionMessage; a damaged archive shows the reason (LastError).
  bool ReadArchive(std::span<const std::uint8_t> stored);
  // Loads an already expanded archive; same checks and messages as ReadArchive.
  bool ParseArchive(std::span<const std::uint8_t> expanded);

  // Clears dest and fills it with the first entry whose name equals `name` ignoring ASCII case.
  // Returns whether an entry was found (a size-0 entry leaves dest empty as a missing one does).
  bool ExtractEntry(const std::string& name, std::vector<std::uint8_t>& dest) const;
  // Clears dest and fills it with the first entry whose (lower-case) name contains `pattern`,
  // compared case-sensitively; sets foundName then. An empty pattern matches nothing.
  bool FindEntry(const std::string& pattern, std::vector<std::uint8_t>& dest, std::string& foundName) const;

  std::size_t Count() const { return FNames.size(); }
  const std::string& Name(std::size_t index) const { return FNames.at(index); }
  std::span<const std::uint8_t> Entry(std::size_t index) const;
  std::int32_t Version() const;
  // The 16 header bytes: version, name-list length and two words kept as they are.
  const std::array<std::uint8_t, 16>& Header() const { return FHeader; }
  const std::string& LastError() const { return FLastError; }

private:
  bool Fail(std::string reason);
  void Clear();

  std::int64_t FMaxExpandedLength;
  std::vector<std::string> FNames;
  std::vector<std::int32_t> FSizes;
  std::vector<std::size_t> FOffsets;  // start of each entry within FData
  std::array<std::uint8_t, 16> FHeader{};
  std::vector<std::uint8_t> FData;    // all entry bytes, concatenated in list order
  std::string FLastError;
};

}  // namespace skin
