// Helpers of the bitmap tests: pictures built pixel by pixel, and BMP bytes
// built field by field.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bitmap/dibformat.h"
#include "bitmap/internaldib.h"
#include "bitmap/pixelmemory.h"

namespace pendo::test {

// A tdibinfo that owns its pixel block.
struct OwnedDib {
  tdibinfo info;
  OwnedDib() = default;
  OwnedDib(int32_t width, int32_t height, unsigned bits, uint32_t colors = 0) {
    info.Header.biSize = 40;
    info.Header.biWidth = width;
    info.Header.biHeight = height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<uint16_t>(bits);
    info.Header.biClrUsed = colors;
    tpixelblock block(uint64_t{info.RowSize()} * info.Rows());
    block.MoveInto(info);
  }
  ~OwnedDib() { ReleaseDibBits(info); }
  OwnedDib(const OwnedDib&) = delete;
  OwnedDib& operator=(const OwnedDib&) = delete;
};

// Row of stored (not visual) index y.
inline uint8_t* RowAt(const tdibinfo& d, uint32_t y) { return d.Bits + uint64_t{y} * d.RowSize(); }

// Index or 0x00RRGGBB colour of pixel (x, y) counted from the top, for any
// uncompressed format.
inline uint32_t Pixel(const tdibinfo& d, uint32_t x, uint32_t yFromTop) {
  const uint32_t y = d.Header.biHeight < 0 ? yFromTop : d.Rows() - 1 - yFromTop;
  const uint8_t* r = RowAt(d, y);
  switch (d.Header.biBitCount) {
    case 1: return (r[x / 8] >> (7 - x % 8)) & 1;
    case 4: return x % 2 ? r[x / 2] & 15 : r[x / 2] >> 4;
    case 8: return r[x];
    default: return uint32_t{r[3 * x + 2]} << 16 | uint32_t{r[3 * x + 1]} << 8 | r[3 * x];
  }
}

inline void SetPixel(tdibinfo& d, uint32_t x, uint32_t yFromTop, uint32_t v) {
  const uint32_t y = d.Header.biHeight < 0 ? yFromTop : d.Rows() - 1 - yFromTop;
  uint8_t* r = RowAt(d, y);
  switch (d.Header.biBitCount) {
    case 1:
      if (v) r[x / 8] |= 0x80 >> (x % 8); else r[x / 8] &= ~(0x80 >> (x % 8));
      break;
    case 4:
      r[x / 2] = x % 2 ? (r[x / 2] & 0xF0) | (v & 15) : (r[x / 2] & 0x0F) | (v & 15) << 4;
      break;
    case 8: r[x] = static_cast<uint8_t>(v); break;
    default:
      r[3 * x] = v & 0xFF;
      r[3 * x + 1] = (v >> 8) & 0xFF;
      r[3 * x + 2] = (v >> 16) & 0xFF;
  }
}

// Colour of pixel (x, y) through the colour table: 0x00RRGGBB.
inline uint32_t ColorAt(const tdibinfo& d, uint32_t x, uint32_t y) {
  const uint32_t v = Pixel(d, x, y);
  if (d.Header.biBitCount == 24) return v;
  const tdibrgbquad& c = d.Colors[v];
  return uint32_t{c.rgbRed} << 16 | uint32_t{c.rgbGreen} << 8 | c.rgbBlue;
}

inline std::vector<uint32_t> Colors(const tdibinfo& d) {
  std::vector<uint32_t> out;
  for (uint32_t y = 0; y < d.Rows(); ++y)
    for (uint32_t x = 0; x < static_cast<uint32_t>(d.Header.biWidth); ++x) out.push_back(ColorAt(d, x, y));
  return out;
}

// Indices (or colours, for 24 bits) of all pixels, top row first.
inline std::vector<uint32_t> Indices(const tdibinfo& d) {
  std::vector<uint32_t> out;
  for (uint32_t y = 0; y < d.Rows(); ++y)
    for (uint32_t x = 0; x < static_cast<uint32_t>(d.Header.biWidth); ++x) out.push_back(Pixel(d, x, y));
  return out;
}

// Little-endian byte writer for hand-made files.
struct Bytes {
  std::string s;
  Bytes& u8(unsigned v) { s.push_back(static_cast<char>(v)); return *this; }
  Bytes& u16(unsigned v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
  Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Bytes& raw(const std::string& more) { s += more; return *this; }
  Bytes& fill(size_t n, unsigned v = 0) { s.append(n, static_cast<char>(v)); return *this; }
};

// Bytes from a file's start to the end of its colour table, as a writer
// puts them before the pixels; 0 for headers it does not know.
inline uint32_t PixelOffset(const std::string& afterFileHeader) {
  auto u32 = [&](size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4 && at + i < afterFileHeader.size(); ++i) {
      v |= uint32_t{uint8_t(afterFileHeader[at + i])} << 8 * i;
    }
    return v;
  };
  const uint32_t size = u32(0);
  if (size == 12) return 14 + 12 + 3 * tinternaldib::PaletteSize(u32(10) & 0xFFFF);
  if (size != 40 && size != 108 && size != 124) return 0;
  const uint32_t bits = u32(14) & 0xFFFF, compression = u32(16), used = u32(32);
  const uint64_t colors = used != 0 ? used : tinternaldib::PaletteSize(static_cast<int>(bits));
  const uint64_t masks = size == 40 && compression == kBiBitfields ? 12 : 0;
  const uint64_t offset = 14 + size + masks + 4 * colors;
  return offset <= 0xFFFFFFFF ? static_cast<uint32_t>(offset) : 0;
}

// File header with bfSize and bfOffBits computed from the rest unless given.
inline std::string BmpFile(const std::string& afterFileHeader, int64_t bfSize = -1, int64_t offBits = -1) {
  Bytes b;
  b.u16(0x4D42).u32(bfSize < 0 ? static_cast<uint32_t>(14 + afterFileHeader.size()) : static_cast<uint32_t>(bfSize));
  b.u16(0).u16(0).u32(offBits < 0 ? PixelOffset(afterFileHeader) : static_cast<uint32_t>(offBits));
  return b.s + afterFileHeader;
}

inline Bytes InfoHeader(int32_t w, int32_t h, unsigned bits, uint32_t compression = 0, uint32_t clrUsed = 0) {
  Bytes b;
  b.u32(40).u32(static_cast<uint32_t>(w)).u32(static_cast<uint32_t>(h)).u16(1).u16(bits).u32(compression);
  b.u32(0).u32(0).u32(0).u32(clrUsed).u32(0);
  return b;
}

inline void LoadBytes(tinternaldib& dib, const std::string& bytes) {
  tmemorysource in(bytes);
  dib.LoadFromStream(in);
}

inline std::string SaveBytes(const tinternaldib& dib) {
  tstringsink out;
  dib.SaveToStream(out);
  return out.Bytes;
}

inline uint32_t Le32(const std::string& s, size_t at) {
  return uint32_t{uint8_t(s[at])} | uint32_t{uint8_t(s[at + 1])} << 8 | uint32_t{uint8_t(s[at + 2])} << 16 |
         uint32_t{uint8_t(s[at + 3])} << 24;
}

}  // namespace pendo::test
