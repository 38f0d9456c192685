// Binary PPM (P6) and PGM (P5) images, top row first.
#pragma once

#include <string>

namespace pendo::dibtool {

// "P6" or "P5", the size, and the largest sample value 255.
std::string PnmHeader(const char* magic, int width, int height);

}  // namespace pendo::dibtool
