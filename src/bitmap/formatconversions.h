// Expansions to more bits per pixel, and 1-bit masks that mark one colour.
// Each routine reads src and fills dst with a new pixel block; src is never
// changed, and dst is only written when the routine succeeds.
#pragma once

#include <cstdint>

#include "bitmap/dibformat.h"

namespace pendo {

void Convert1BitRGBTo4BitRGB(const tdibinfo& src, tdibinfo& dst);
void Convert1BitRGBTo8BitRGB(const tdibinfo& src, tdibinfo& dst);
void Convert4BitRGBTo8BitRGB(const tdibinfo& src, tdibinfo& dst);
void Convert1BitRGBToTrueColor(const tdibinfo& src, tdibinfo& dst);
void Convert4BitRGBToTrueColor(const tdibinfo& src, tdibinfo& dst);
void Convert8BitRGBToTrueColor(const tdibinfo& src, tdibinfo& dst);

// maskColor is 0x00BBGGRR; a pixel of that colour becomes 1, any other 0.
void ConvertTrueColorTo1BitRGB(const tdibinfo& src, tdibinfo& dst, uint32_t maskColor);
void Convert8BitRGBTo1BitRGB(const tdibinfo& src, tdibinfo& dst, uint32_t maskColor);
void Convert4BitRGBTo1BitRGB(const tdibinfo& src, tdibinfo& dst, uint32_t maskColor);

}  // namespace pendo
