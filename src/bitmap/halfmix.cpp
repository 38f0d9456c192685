#include "bitmap/halfmix.h"

#include "bitmap/bitmapex.h"

namespace pendo {

void HalfMix(HBITMAP a, HBITMAP b, int percent) {
  tbitmapex first, second;
  first.Assign(a);
  second.Assign(b);
  if (first.Width() != second.Width() || first.Height() != second.Height()) return;
  const bool paletted = first.GetPixelFormat() <= pf8Bit;
  if (first.GetPixelFormat() != pf24Bit) first.SetPixelFormat(pf24Bit);
  // The second picture is read as colours too, whatever its own format.
  if (second.GetPixelFormat() != pf24Bit) second.SetPixelFormat(pf24Bit);
  // A share outside 0 to 100 would carry into the neighbouring channel.
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  const uint32_t keep = static_cast<uint32_t>(100 - percent), take = static_cast<uint32_t>(percent);
  for (int y = 0; y < first.Height(); ++y) {
    for (int x = 0; x < first.Width(); ++x) {
      const uint32_t c1 = first.GetPixel(x, y), c2 = second.GetPixel(x, y);
      uint32_t mixed = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t v1 = (c1 >> shift) & 0xFF, v2 = (c2 >> shift) & 0xFF;
        mixed |= ((v1 * keep + v2 * take) / 100) << shift;
      }
      first.SetPixel(x, y, mixed);
    }
  }
  if (paletted) first.SetPixelFormat(pf8Bit);
  first.AssignTo(a);
}

}  // namespace pendo
