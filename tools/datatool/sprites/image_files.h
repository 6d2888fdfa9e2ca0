// Pictures from the host's files for sprite banks: PNG (through libpng) and SVG (rendered
// at its own size in pixels through librsvg). False, with the reason in error, for a file
// that cannot be read or is neither.
#pragma once

#include "argb_image.h"

#include <string>

namespace datatool {

bool ReadImageFile(const std::string& path, ArgbImage* image, std::string* error);

} // namespace datatool
