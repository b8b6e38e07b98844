// The checks skingen makes before it writes a skin folder: the skin lint on exactly the files it
// is about to write, then the rules of the generator's own drawings that the lint cannot know.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/skingen/Skins.h"
#include "tools/skinpack/SkinCheck.h"

namespace skingen {

// The files of a skin folder: every drawing as a 24-bit bitmap and the description under
// iniName, in byte order of their names (the order skinpack packs a folder in).
std::vector<skin::pack::Entry> SkinFiles(const std::vector<Image>& images, const std::string& iniName,
                                         const std::vector<std::uint8_t>& description);

// The lint's findings on those files, then the generator's own (all errors): borders drawn with
// an active and an inactive frame, a caption band of 20 pixels or more that the side borders
// keep fixed and the caption buttons fit in, every colour of the table given, ButtonShadow
// apart from MenuText, the skin's name, every drawn bitmap named as it is written.
std::vector<skin::pack::TFinding> CheckSkinFiles(const std::vector<skin::pack::Entry>& files);

// True when a finding is a warning or an error: the folder is not written then.
bool Blocks(const std::vector<skin::pack::TFinding>& findings);

}  // namespace skingen
