// Writing pictures as .jpg (host tools and tests).
#pragma once
#include <string>

#include "runtime/surface.h"

namespace rt {

// quality 1..100; false when the file could not be written.
bool SavePictureJpg(const Picture& pic, const std::string& hostpath, int quality = 90);

}  // namespace rt
