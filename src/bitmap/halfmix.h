// Mixes bitmap b into bitmap a pixel by pixel: each channel becomes
// (a × (100 − percent) + b × percent) / 100, truncated. The gauge panels mix
// their backgrounds with it at 50 percent.
#pragma once

#include <windows.h>

namespace pendo {

// Neither bitmap may be selected into a DC. Bitmaps of different sizes leave
// a unchanged. A palette-based a is mixed in true colour and reduced back to
// 8 bits per pixel before it is written.
void HalfMix(HBITMAP a, HBITMAP b, int percent);

}  // namespace pendo
