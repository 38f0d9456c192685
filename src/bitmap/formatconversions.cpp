#include "bitmap/formatconversions.h"

#include "bitmap/conversionsupport.h"
#include "bitmap/pixelmemory.h"

namespace pendo {

using detail::BeginResult;
using detail::RequireSource;

namespace {

// Index of pixel x in a row of 1, 4 or 8 bits.
inline unsigned IndexAt(const uint8_t* row, unsigned bits, uint32_t x) {
  switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    default: return row[x];
  }
}

// Builds out's pixels from every index of src (1, 4 or 8 bits), row by row:
// put(outRow, x, index) writes pixel x.
template <class Put>
void MapIndices(const tdibinfo& src, tdibinfo& out, unsigned fromBits, Put put) {
  const uint32_t width = static_cast<uint32_t>(src.Header.biWidth);
  const uint32_t rows = src.Rows();
  const uint32_t inRow = src.RowSize();
  const uint32_t outRow = out.RowSize();
  tpixelblock block(uint64_t{outRow} * rows);
  for (uint32_t y = 0; y < rows; ++y) {
    const uint8_t* s = src.Bits + uint64_t{y} * inRow;
    uint8_t* d = block.Data() + uint64_t{y} * outRow;
    for (uint32_t x = 0; x < width; ++x) put(d, x, IndexAt(s, fromBits, x));
  }
  block.MoveInto(out);
}

// Rewrites every index of src (1, 4 or 8 bits) at toBits (4 or 8 bits).
void ExpandIndices(const tdibinfo& src, tdibinfo& dst, unsigned fromBits, unsigned toBits) {
  RequireSource(src, fromBits, kBiRgb);
  tdibinfo out = BeginResult(src, toBits, kBiRgb);
  if (toBits == 8) {
    MapIndices(src, out, fromBits, [](uint8_t* d, uint32_t x, unsigned v) { d[x] = static_cast<uint8_t>(v); });
  } else {
    MapIndices(src, out, fromBits, [](uint8_t* d, uint32_t x, unsigned v) {
      d[x >> 1] |= static_cast<uint8_t>((x & 1) ? v : v << 4);
    });
  }
  dst = out;
}

void ExpandToTrueColor(const tdibinfo& src, tdibinfo& dst, unsigned fromBits) {
  RequireSource(src, fromBits, kBiRgb);
  tdibinfo out = BeginResult(src, 24, kBiRgb);
  MapIndices(src, out, fromBits, [&src](uint8_t* d, uint32_t x, unsigned v) {
    const tdibrgbquad& c = src.Colors[v];
    d[3 * x] = c.rgbBlue;
    d[3 * x + 1] = c.rgbGreen;
    d[3 * x + 2] = c.rgbRed;
  });
  dst = out;
}

// Marks with 1 every pixel whose colour equals maskColor.
void MakeMask(const tdibinfo& src, tdibinfo& dst, unsigned fromBits, uint32_t maskColor) {
  RequireSource(src, fromBits, kBiRgb);
  tdibinfo out = BeginResult(src, 1, kBiRgb);
  const uint8_t r = maskColor & 0xFF, g = (maskColor >> 8) & 0xFF, b = (maskColor >> 16) & 0xFF;
  bool marked[256] = {};
  if (fromBits != 24) {
    for (int i = 0; i < 256; ++i) {
      const tdibrgbquad& c = src.Colors[i];
      marked[i] = c.rgbRed == r && c.rgbGreen == g && c.rgbBlue == b;
    }
  }
  const uint32_t width = static_cast<uint32_t>(src.Header.biWidth);
  const uint32_t rows = src.Rows();
  const uint32_t inRow = src.RowSize();
  const uint32_t outRow = out.RowSize();
  tpixelblock block(uint64_t{outRow} * rows);
  for (uint32_t y = 0; y < rows; ++y) {
    const uint8_t* s = src.Bits + uint64_t{y} * inRow;
    uint8_t* d = block.Data() + uint64_t{y} * outRow;
    for (uint32_t x = 0; x < width; ++x) {
      bool on;
      if (fromBits == 24) {
        on = s[3 * x] == b && s[3 * x + 1] == g && s[3 * x + 2] == r;
      } else {
        on = marked[IndexAt(s, fromBits, x)];
      }
      if (on) d[x >> 3] |= static_cast<uint8_t>(0x80u >> (x & 7));
    }
  }
  block.MoveInto(out);
  out.Header.biClrUsed = 2;
  out.Colors[0] = tdibrgbquad{0, 0, 0, 0};
  out.Colors[1] = tdibrgbquad{255, 255, 255, 0};
  dst = out;
}

}  // namespace

void Convert1BitRGBTo4BitRGB(const tdibinfo& src, tdibinfo& dst) { ExpandIndices(src, dst, 1, 4); }
void Convert1BitRGBTo8BitRGB(const tdibinfo& src, tdibinfo& dst) { ExpandIndices(src, dst, 1, 8); }
void Convert4BitRGBTo8BitRGB(const tdibinfo& src, tdibinfo& dst) { ExpandIndices(src, dst, 4, 8); }
void Convert1BitRGBToTrueColor(const tdibinfo& src, tdibinfo& dst) { ExpandToTrueColor(src, dst, 1); }
void Convert4BitRGBToTrueColor(const tdibinfo& src, tdibinfo& dst) { ExpandToTrueColor(src, dst, 4); }
void Convert8BitRGBToTrueColor(const tdibinfo& src, tdibinfo& dst) { ExpandToTrueColor(src, dst, 8); }

void ConvertTrueColorTo1BitRGB(const tdibinfo& src, tdibinfo& dst, uint32_t maskColor) {
  MakeMask(src, dst, 24, maskColor);
}
void Convert8BitRGBTo1BitRGB(const tdibinfo& src, tdibinfo& dst, uint32_t maskColor) {
  MakeMask(src, dst, 8, maskColor);
}
void Convert4BitRGBTo1BitRGB(const tdibinfo& src, tdibinfo& dst, uint32_t maskColor) {
  MakeMask(src, dst, 4, maskColor);
}

}  // namespace pendo
