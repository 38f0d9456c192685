// Reading a loaded picture's pixels in top-to-bottom order.
#pragma once

#include "bitmap/internaldib.h"
#include "dibtool/netpbm.h"

namespace pendo::dibtool {

// The picture's colours. Run-length pictures are expanded on dib itself
// (to 4 or 8 bits), which is why it is not const.
RgbImage ReadRgb(tinternaldib& dib);

// The palette indices of a 1, 4 or 8 bit picture (expanded likewise).
GrayImage ReadIndices(tinternaldib& dib);

bool HasIndices(const tinternaldib& dib);

}  // namespace pendo::dibtool
