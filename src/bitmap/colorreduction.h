// Colour reduction to 8 or 4 bits with a palette made from the picture's own
// colours: a fast method over a 5-6-5 colour histogram, a fine method over
// every pixel, and 8-bit to 16 colours. Each subdivision calls progress once
// per leaf (256 for 8 bits, 16 for 4 bits), whether the leaf gets colours or
// not.
#pragma once

#include <cstdint>

#include "bitmap/dibformat.h"
#include "bitmap/internaldib.h"

namespace pendo {

void ConvertTrueColorTo8BitRGB(const tdibinfo& src, tdibinfo& dst, const tprogressstep& progress);
void ConvertTrueColorTo4BitRGB(const tdibinfo& src, tdibinfo& dst, const tprogressstep& progress);
void ConvertTrueColorTo8BitRGBHigh(const tdibinfo& src, tdibinfo& dst, const tprogressstep& progress);
void ConvertTrueColorTo4BitRGBHigh(const tdibinfo& src, tdibinfo& dst, const tprogressstep& progress);
void Convert8BitRGBTo4BitRGB(const tdibinfo& src, tdibinfo& dst, const tprogressstep& progress);

// Work record of the histogram subdivision: a colour, the number of pixels
// that have it (after the subdivision: its palette index) and its key.
struct tcolorcell {
  int32_t Red, Green, Blue, Count, Key;
};

// Splits cells[lo, hi) at the mean of the channel with the largest weighted
// variance, upper side first, until maxDepth; each leaf becomes one palette
// entry (appended to palette, count in paletteCount) and its cells' Count
// fields receive that entry's index.
void DivideColorCells(tcolorcell* cells, int lo, int hi, int depth, int maxDepth, tdibrgbquad* palette,
                      int& paletteCount, const tprogressstep& progress);

}  // namespace pendo
