// Contact sheet of a skin folder (see Sheet.cpp).
#pragma once
#include <string>

#include "tools/skingen/Raster.h"

namespace skingen {

// Reads the description and every bitmap of the folder and lays them out on one canvas.
Canvas ContactSheet(const std::string& skinDir);

}  // namespace skingen
