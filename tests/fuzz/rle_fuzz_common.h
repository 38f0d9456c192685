// Run-length streams: the first two bytes give the width (1 to 64) and the
// height (1 to 64, top bit for a negative header), the rest is the stream.
// A decoded picture that compresses again must decode to the same pixels.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/pixelmemory.h"
#include "bitmap/rle.h"

namespace pendo::fuzz {

struct Owned {
  tdibinfo info;
  ~Owned() { ReleaseDibBits(info); }
};

inline void FuzzRle(const uint8_t* data, size_t size, unsigned bits) {
  if (size < 2) return;
  Owned src;
  src.info.Header.biSize = 40;
  src.info.Header.biWidth = 1 + (data[0] & 63);
  src.info.Header.biHeight = (1 + (data[1] & 63)) * ((data[1] & 0x80) ? -1 : 1);
  src.info.Header.biPlanes = 1;
  src.info.Header.biBitCount = static_cast<uint16_t>(bits);
  src.info.Header.biCompression = bits == 8 ? kBiRle8 : kBiRle4;
  {
    tpixelblock block(size - 2);
    if (size > 2) std::memcpy(block.Data(), data + 2, size - 2);
    block.MoveInto(src.info);
  }
  auto decode = [bits](const tdibinfo& in, tdibinfo& out) {
    if (bits == 8) {
      Convert8BitRLETo8BitRGB(in, out);
    } else {
      Convert4BitRLETo4BitRGB(in, out);
    }
  };
  Owned plain;
  try {
    decode(src.info, plain.info);
  } catch (const EtbitmapexInvalidDIB&) {
    return;
  }
  if (plain.info.BitsSize != plain.info.RowSize() * plain.info.Rows()) std::abort();
  Owned packed;
  try {
    if (bits == 8) {
      Convert8BitRGBTo8BitRLE(plain.info, packed.info);
    } else {
      Convert4BitRGBTo4BitRLE(plain.info, packed.info);
    }
  } catch (const EtbitmapexCompressionFailed&) {
    return;
  }
  if (packed.info.BitsSize > plain.info.BitsSize) std::abort();
  Owned back;
  decode(packed.info, back.info);
  // The encoder writes the bottom row first; a negative header decodes upside down.
  const uint32_t rows = plain.info.Rows(), rowSize = plain.info.RowSize();
  const uint32_t width = static_cast<uint32_t>(plain.info.Header.biWidth);
  const uint32_t used = bits == 8 ? width : width / 2;
  for (uint32_t y = 0; y < rows; ++y) {
    const uint32_t from = plain.info.Header.biHeight > 0 ? y : rows - 1 - y;
    const uint8_t* a = plain.info.Bits + from * rowSize;
    const uint8_t* b = back.info.Bits + y * rowSize;
    if (std::memcmp(a, b, used) != 0) std::abort();
    if (bits == 4 && (width & 1) && (a[used] & 0xF0) != (b[used] & 0xF0)) std::abort();
  }
}

}  // namespace pendo::fuzz
