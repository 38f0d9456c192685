// A loaded picture's pixels as PPM and PGM files, top row first.
#pragma once

#include <string>

#include "bitmap/internaldib.h"

namespace pendo::dibtool {

// The picture's colours as a binary PPM. Run-length pictures are expanded on
// dib itself (to 4 or 8 bits), which is why it is not const. The file is
// made in one buffer of its final size, with no copy of the pixels besides.
std::string EncodePpm(tinternaldib& dib);

// The palette indices of a 1, 4 or 8 bit picture as a binary PGM (expanded
// likewise).
std::string EncodePgm(tinternaldib& dib);

bool HasIndices(const tinternaldib& dib);

}  // namespace pendo::dibtool
