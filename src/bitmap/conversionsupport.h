// Shared checks of the conversion routines (not part of the public headers).
#pragma once

#include <cstdint>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/dibformat.h"

namespace pendo::detail {

// The routine's input format, or EtbitmapexBadDIBType. Uncompressed input
// must also hold all its rows (EtbitmapexInvalidDIB), so that no routine
// reads past a block that a caller described wrongly.
inline void RequireSource(const tdibinfo& src, unsigned bits, uint32_t compression) {
  if (src.Header.biBitCount != bits || src.Header.biCompression != compression) throw EtbitmapexBadDIBType();
  if (src.Header.biWidth < 1 || src.Header.biHeight == 0 || src.Bits == nullptr) throw EtbitmapexInvalidDIB();
  if (compression == kBiRgb &&
      DibRowSize(static_cast<uint32_t>(src.Header.biWidth), bits) * src.Rows() > src.BitsSize)
    throw EtbitmapexInvalidDIB();
}

// The result's description before its pixels exist: the source's header and
// colour table, no pixel block.
inline tdibinfo BeginResult(const tdibinfo& src, unsigned bits, uint32_t compression) {
  tdibinfo out = src;
  out.BitsSize = 0;
  out.FileMap = nullptr;
  out.Bits = nullptr;
  out.Header.biBitCount = static_cast<uint16_t>(bits);
  out.Header.biCompression = compression;
  out.Header.biSizeImage = 0;
  return out;
}

}  // namespace pendo::detail
