// tinternaldib: the storage object of the bitmap engine. One device-
// independent bitmap (header, colour table of up to 256 entries, pixel rows
// in page-file-backed memory), shared by the graphics that use it (each
// holds a shared owner and copies before writing to a shared one). Loads and conversions replace the image as a whole; a
// failed one leaves the previous image in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "bitmap/bytestream.h"
#include "bitmap/dibformat.h"

namespace pendo {

// Called once per leaf of a colour subdivision while a reduction runs.
using tprogressstep = std::function<void()>;

class tinternaldib {
 public:
  // A 1 x 1, 8-bit image with two colour-table entries, all zero.
  tinternaldib();
  ~tinternaldib();
  // The heap running out is EOutOfResources, as for the pixel memory.
  static void* operator new(std::size_t size);
  static void operator delete(void* p) noexcept;
  tinternaldib(const tinternaldib&) = delete;
  tinternaldib& operator=(const tinternaldib&) = delete;

  // New zeroed image: width > 0, height != 0 (negative: top-down), bits 1,
  // 4, 8 or 24, colours 0 to 256; else EtbitmapexInvalidDIBPara.
  void SetFormat(int32_t width, int32_t height, int bits, int colors);
  // Releases the pixel data and the palette handle.
  void ReleaseBits();
  // Drops the palette handle and marks the colour table as changed.
  void UpdatePalette();
  // A new palette handle from the colour table, or none without colours.
  void* CreatePaletteHandle() const;

  // Pixel format code (tpixelformat); EtbitmapexInvalidDIB for any other header.
  int GetPixelsFormat() const;
  // Converts in place along the route for (current, target); mode 0 is the
  // fast colour reduction, 1 the fine one; maskColor (0x00BBGGRR) is the
  // colour that 1-bit targets mark.
  void SetPixelsFormat(int target, int mode, const tprogressstep& progress, uint32_t maskColor);

  // A BMP file at the source's position.
  void LoadFromStream(tbytesource& in);
  void SaveToStream(tbytesink& out) const;
  // A packed DIB (header, colours, pixels) as the clipboard holds it.
  void LoadFromPackedDib(const uint8_t* data, size_t size);
  std::vector<uint8_t> SavePackedDib() const;
#ifdef _WIN32
  // Global memory handles holding a packed DIB (CF_DIB).
  void LoadFromHandle(void* global);
  void* SaveToHandle() const;
#endif

  // 2, 16 or 256 for 1, 4 or 8 bits, else 0.
  static int PaletteSize(int bits);

  // A private copy for a sharer about to write: same header, colour table and
  // pixel bytes in a block of its own, no palette handle.
  std::unique_ptr<tinternaldib> Duplicate() const;

  int32_t Width = 0;
  int32_t Height = 0;  // always positive; the header keeps the sign
  void* Palette = nullptr;
  tdibinfo Info;
  bool PaletteChanged = false;

 private:
  void ConvertInPlace(int target, int mode, const tprogressstep& progress, uint32_t maskColor);
  void Install(tdibinfo& fresh);
};

}  // namespace pendo
