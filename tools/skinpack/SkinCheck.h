// Build-side checks of skins: the lint a skin author runs before packing (the same layout code
// the engine runs, plus what that code silently drops or normalises), and the step that writes
// a stored skin into a form description's "SkinStream" data block.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinElements.h"
#include "tools/skinpack/SkinPack.h"

namespace skin {
class TSkinReader;
}

namespace skin::pack {

enum class TSeverity { Note, Warning, Error };

// One finding. Section and Key name the description key it is about; findings about an
// archive entry have an empty Section and the entry's name in Key; findings about the whole
// skin leave both empty.
struct TFinding {
  TSeverity Severity = TSeverity::Error;
  std::string Section, Key, Message;
  bool operator==(const TFinding&) const = default;
};

struct TCheckOptions {
  std::int32_t ScrollbarWidth = 17;  // the system's scroll-bar width the Scrollbar cells must fit
  TSkinLimits Limits;                // the engine's limits
};

// Checks a loaded archive: its entries, its description (the first entry whose name contains
// ".ini", as the engine takes it) and every bitmap the description names, as the engine's
// loaders and painting code will use them. Findings come in a fixed order: entry names, the
// description's lines, the elements in loading order, then the entries nothing names.
std::vector<TFinding> CheckArchive(const TSkinReader& archive, const TCheckOptions& options = {});

// The same for a stored skin; one error when it cannot be read.
std::vector<TFinding> CheckStoredSkin(std::span<const std::uint8_t> stored, const TCheckOptions& options = {});

// The same for the files of a skin folder, in the order given (pack sorts them by name).
// Throws std::invalid_argument where BuildArchive does (a name with CR or LF, too many files).
std::vector<TFinding> CheckEntries(const std::vector<Entry>& entries, const TCheckOptions& options = {});

// What the engine's bitmap decoder thinks of a Windows bitmap file: none when it loads it,
// otherwise why it refuses it.
std::optional<std::string> BitmapProblem(std::span<const std::uint8_t> file);

// "error: [Section] Key: message" (parts that are empty are left out).
std::string FormatFinding(const TFinding& finding);

// The form description `form` with its one line whose trimmed text is exactly
// "SkinStream = {}" replaced by that data block holding `skin` (a signed 32-bit little-endian
// count, then the bytes) as upper-case hex, 64 digits a line, indented two more than the
// placeholder, closed at the end of the last line; the placeholder's line ending is kept.
// None, with the reason in `error`, when there is no such line or more than one.
std::optional<std::string> EmbedSkinStream(std::string_view form, std::span<const std::uint8_t> skin,
                                           std::string& error);

}  // namespace skin::pack
