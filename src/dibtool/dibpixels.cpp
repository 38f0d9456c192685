#include "dibtool/dibpixels.h"

#include <stdexcept>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/dibformat.h"
#include "dibtool/netpbm.h"

namespace pendo::dibtool {

namespace {

void ExpandRunLength(tinternaldib& dib) {
  const int format = dib.GetPixelsFormat();
  if (format == pf4BitRLE) dib.SetPixelsFormat(pf4Bit, 0, nullptr, 0);
  if (format == pf8BitRLE) dib.SetPixelsFormat(pf8Bit, 0, nullptr, 0);
}

// The stored row that holds picture row y (0 = top).
const uint8_t* Row(const tinternaldib& dib, int y) {
  const tdibinfo& info = dib.Info;
  const uint32_t rows = info.Rows();
  const uint32_t stored = info.Header.biHeight < 0 ? static_cast<uint32_t>(y) : rows - 1 - static_cast<uint32_t>(y);
  return info.Bits + static_cast<size_t>(stored) * info.RowSize();
}

uint8_t IndexAt(const uint8_t* row, int x, int bits) {
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    default:
      return row[x];
  }
}

// A PNM file's buffer: the header, then room for bytesPerPixel a pixel. A
// size the process cannot hold is the engine's out-of-resources error, as
// for any other memory the pictures need.
std::string PnmBuffer(const char* magic, const tinternaldib& dib, unsigned bytesPerPixel, size_t& header) {
  std::string out = PnmHeader(magic, dib.Width, dib.Height);
  header = out.size();
  const uint64_t pixels = uint64_t(uint32_t(dib.Width)) * uint32_t(dib.Height) * bytesPerPixel;
  if (pixels > out.max_size() - header) throw EOutOfResources();
  out.resize(header + static_cast<size_t>(pixels));
  return out;
}

}  // namespace

bool HasIndices(const tinternaldib& dib) {
  const int bits = dib.Info.Header.biBitCount;
  return bits == 1 || bits == 4 || bits == 8;
}

std::string EncodePgm(tinternaldib& dib) {
  ExpandRunLength(dib);
  if (!HasIndices(dib)) throw std::invalid_argument("a picture without a palette has no indices");
  const int width = dib.Width, height = dib.Height;
  size_t header = 0;
  std::string out = PnmBuffer("P5", dib, 1, header);
  char* p = &out[header];
  const int bits = dib.Info.Header.biBitCount;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = Row(dib, y);
    for (int x = 0; x < width; ++x) *p++ = static_cast<char>(IndexAt(row, x, bits));
  }
  return out;
}

std::string EncodePpm(tinternaldib& dib) {
  ExpandRunLength(dib);
  const int width = dib.Width, height = dib.Height;
  size_t header = 0;
  std::string out = PnmBuffer("P6", dib, 3, header);
  char* p = &out[header];
  const int bits = dib.Info.Header.biBitCount;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = Row(dib, y);
    for (int x = 0; x < width; ++x) {
      if (bits == 24) {
        const uint8_t* bgr = row + 3 * static_cast<size_t>(x);
        *p++ = static_cast<char>(bgr[2]);
        *p++ = static_cast<char>(bgr[1]);
        *p++ = static_cast<char>(bgr[0]);
      } else {
        const tdibrgbquad& c = dib.Info.Colors[IndexAt(row, x, bits)];
        *p++ = static_cast<char>(c.rgbRed);
        *p++ = static_cast<char>(c.rgbGreen);
        *p++ = static_cast<char>(c.rgbBlue);
      }
    }
  }
  return out;
}

}  // namespace pendo::dibtool
