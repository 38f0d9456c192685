// The Windows device-independent bitmap layout, defined here so that the
// engine's core builds without the system headers. All multi-byte fields are
// little-endian, as on every machine the programs run on.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pendo {

#pragma pack(push, 1)

struct tdibfileheader {
  uint16_t bfType;
  uint32_t bfSize;
  uint16_t bfReserved1;
  uint16_t bfReserved2;
  uint32_t bfOffBits;
};

struct tdibinfoheader {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};

struct tdibcoreheader {
  uint32_t bcSize;
  uint16_t bcWidth;
  uint16_t bcHeight;
  uint16_t bcPlanes;
  uint16_t bcBitCount;
};

struct tdibrgbquad {
  uint8_t rgbBlue;
  uint8_t rgbGreen;
  uint8_t rgbRed;
  uint8_t rgbReserved;
};

struct tdibrgbtriple {
  uint8_t rgbtBlue;
  uint8_t rgbtGreen;
  uint8_t rgbtRed;
};

#pragma pack(pop)

static_assert(sizeof(tdibfileheader) == 14);
static_assert(sizeof(tdibinfoheader) == 40);
static_assert(sizeof(tdibcoreheader) == 12);
static_assert(sizeof(tdibrgbquad) == 4);
static_assert(sizeof(tdibrgbtriple) == 3);

inline constexpr uint16_t kBitmapFileType = 0x4D42;  // "BM"
inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;

// Pixel formats of the engine, in the order the rest of the program numbers them.
enum tpixelformat : int {
  pf1Bit = 0,
  pf4Bit = 1,
  pf4BitRLE = 2,
  pf8Bit = 3,
  pf8BitRLE = 4,
  pf24Bit = 5,
};

// Largest pixel block the engine makes. Pictures are screen-sized; the cap
// keeps a lying header from asking for gigabytes.
inline constexpr uint64_t kMaxPixelBytes = uint64_t{256} << 20;

// Bytes of one stored row: bits rounded up to a multiple of 32.
inline constexpr uint64_t DibRowSize(uint64_t width, unsigned bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

// Everything that describes and holds one image: copied and replaced as a
// unit. Header, colour table and spare room are contiguous, so that the
// header's address is a BITMAPINFO for GDI, and a bit-field file's masks can
// be read straight after the header.
struct tdibinfo {
  uint32_t BitsSize = 0;
  void* FileMap = nullptr;
  uint8_t* Bits = nullptr;
  tdibinfoheader Header{};
  tdibrgbquad Colors[256]{};
  uint8_t Spare[12]{};

  uint8_t* ColorBytes() { return reinterpret_cast<uint8_t*>(this) + offsetof(tdibinfo, Colors); }
  uint32_t Rows() const {
    return Header.biHeight < 0 ? 0u - static_cast<uint32_t>(Header.biHeight)
                               : static_cast<uint32_t>(Header.biHeight);
  }
  uint32_t RowSize() const {
    return static_cast<uint32_t>(DibRowSize(static_cast<uint32_t>(Header.biWidth), Header.biBitCount));
  }
};

static_assert(offsetof(tdibinfo, Colors) == offsetof(tdibinfo, Header) + 40);
static_assert(offsetof(tdibinfo, Spare) == offsetof(tdibinfo, Colors) + 1024);

}  // namespace pendo
