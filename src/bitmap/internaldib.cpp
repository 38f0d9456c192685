#include "bitmap/internaldib.h"

#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/bytestream.h"
#include "bitmap/colorreduction.h"
#include "bitmap/formatconversions.h"
#include "bitmap/pixelmemory.h"
#include "bitmap/rle.h"

namespace pendo {

namespace {

// Where the bytes of a picture come from: a byte source or a packed DIB in
// memory. Where the length is known, no size from a header is believed
// before the bytes are there. A short read raises the error of the source
// (a damaged file, or a damaged DIB).
class tdibsource {
 public:
  virtual ~tdibsource() = default;
  virtual void Read(void* dst, uint64_t n) = 0;
  virtual void Skip(uint64_t n) = 0;
  virtual uint64_t Remaining() const = 0;
  // False for a stream that cannot tell its length.
  virtual bool KnowsLength() const { return true; }
  virtual void Fail() const = 0;
};

class tstreamdibsource : public tdibsource {
 public:
  explicit tstreamdibsource(tbytesource& in) : in_(in) { knowsLength_ = in.Remaining(remaining_); }
  void Read(void* dst, uint64_t n) override {
    if (n > remaining_ || n > SIZE_MAX) Fail();
    if (in_.Read(dst, static_cast<size_t>(n)) != n) Fail();
    remaining_ -= n;
  }
  void Skip(uint64_t n) override {
    if (n > remaining_) Fail();
    if (in_.Skip(n) != n) Fail();
    remaining_ -= n;
  }
  // A source that cannot tell its length is trusted up to the pixel cap.
  uint64_t Remaining() const override { return remaining_; }
  bool KnowsLength() const override { return knowsLength_; }
  void Fail() const override { throw EtbitmapexInvalidDIBFile(); }

 private:
  tbytesource& in_;
  uint64_t remaining_ = kMaxPixelBytes + (uint64_t{1} << 20);
  bool knowsLength_ = false;
};

class tmemorydibsource : public tdibsource {
 public:
  tmemorydibsource(const uint8_t* data, size_t size) : p_(data), size_(size) {}
  void Read(void* dst, uint64_t n) override {
    if (n > size_ - pos_) Fail();
    if (n > 0) std::memcpy(dst, p_ + pos_, static_cast<size_t>(n));
    pos_ += static_cast<size_t>(n);
  }
  void Skip(uint64_t n) override {
    if (n > size_ - pos_) Fail();
    pos_ += static_cast<size_t>(n);
  }
  uint64_t Remaining() const override { return size_ - pos_; }
  void Fail() const override { throw EtbitmapexInvalidDIB(); }

 private:
  const uint8_t* p_;
  size_t size_;
  size_t pos_ = 0;
};

inline bool IsFormat(unsigned bits, uint32_t compression) {
  switch (bits) {
    case 1:
    case 24: return compression == kBiRgb;
    case 4: return compression == kBiRgb || compression == kBiRle4;
    case 8: return compression == kBiRgb || compression == kBiRle8;
    default: return false;
  }
}

// The 12-byte core header in the 40-byte form, colour entries widened.
void WidenCoreHeader(tdibinfo& fresh, const tdibcoreheader& core, const tdibrgbtriple* triples, int entries) {
  tdibinfoheader& h = fresh.Header;
  h = tdibinfoheader{};
  h.biSize = 40;
  h.biWidth = core.bcWidth;
  h.biHeight = core.bcHeight;
  h.biPlanes = core.bcPlanes;
  h.biBitCount = core.bcBitCount;
  h.biClrUsed = static_cast<uint32_t>(entries);
  for (int i = 0; i < entries; ++i) {
    fresh.Colors[i] = tdibrgbquad{triples[i].rgbtBlue, triples[i].rgbtGreen, triples[i].rgbtRed, 0};
  }
}

// A 12-byte core header after its size field and its colour triples, widened
// into fresh; returns the number of colour entries read.
int ReadCoreHeader(tdibsource& src, tdibinfo& fresh) {
  tdibcoreheader core;
  core.bcSize = 12;
  src.Read(reinterpret_cast<uint8_t*>(&core) + 4, 8);
  const unsigned bits = core.bcBitCount;
  if (core.bcPlanes != 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 24)) throw EtbitmapexInvalidDIB();
  const int entries = tinternaldib::PaletteSize(static_cast<int>(bits));
  tdibrgbtriple triples[256];
  src.Read(triples, 3 * uint64_t(entries));
  WidenCoreHeader(fresh, core, triples, entries);
  return entries;
}

inline bool IsInfoHeaderSize(uint32_t size) { return size == 40 || size == 108 || size == 124; }

// A 40-, 108- or 124-byte info header after its size field, kept in its
// 40-byte form. The longer ones carry a bit-field picture's masks after the
// 40-byte part (then colour-space data the engine has no use for); those
// masks go where a 40-byte header's masks are read, at the start of the
// colour room. Returns the bytes of masks that still follow the header.
uint64_t ReadInfoHeader(tdibsource& src, tdibinfo& fresh, uint32_t headerSize) {
  tdibinfoheader& h = fresh.Header;
  src.Read(reinterpret_cast<uint8_t*>(&h) + 4, 36);
  h.biSize = 40;
  if (h.biPlanes != 1) throw EtbitmapexInvalidDIB();
  if (headerSize == 40) return h.biCompression == kBiBitfields ? 12 : 0;
  uint8_t rest[124 - 40];
  src.Read(rest, headerSize - 40);
  if (h.biCompression == kBiBitfields) std::memcpy(fresh.ColorBytes(), rest, 12);
  return 0;
}

// Reads the masks that follow a header and up to 256 colour entries of
// entries, skipping the rest; the table starts after the masks' room.
void ReadColorTable(tdibsource& src, tdibinfo& fresh, uint64_t trailingMasks, uint64_t entries) {
  const uint64_t maskRoom = fresh.Header.biCompression == kBiBitfields ? 12 : 0;
  const uint64_t kept = entries <= 256 ? entries : 256;
  src.Read(fresh.ColorBytes(), trailingMasks);
  src.Read(fresh.ColorBytes() + maskRoom, 4 * kept);
  src.Skip(4 * (entries - kept));
}

// Masks that no valid picture has: empty, with gaps, sharing bits, or
// reaching past the pixel.
bool ValidMasks(const uint32_t masks[3], unsigned bits) {
  const uint64_t pixel = bits == 16 ? 0xFFFF : 0xFFFFFFFF;
  uint64_t seen = 0;
  for (int i = 0; i < 3; ++i) {
    const uint64_t m = masks[i];
    const uint64_t lowest = m & (~m + 1);
    if (m == 0 || m > pixel || ((m + lowest) & m) != 0 || (seen & m) != 0) return false;
    seen |= m;
  }
  return true;
}

// Shift that brings a colour mask's top bits into the top of a byte:
// positive shifts right, negative shifts left.
int MaskShift(uint32_t mask) {
  int shift = 0;
  if (mask >= 256) {
    while (mask >= 256) {
      mask >>= 1;
      ++shift;
    }
  } else {
    while (mask < 128) {
      mask <<= 1;
      --shift;
    }
  }
  return shift;
}

inline uint8_t Channel(uint32_t pixel, uint32_t mask, int shift) {
  const uint32_t v = pixel & mask;
  return static_cast<uint8_t>(shift >= 0 ? v >> shift : v << -shift);
}

// Reads the pixel data at the source's position into fresh (which then owns
// a new block). Plain rows take exactly their padded size; run-length data
// takes compressedSize bytes, where its stream ends.
void ReadPixels(tdibsource& src, tdibinfo& fresh, uint64_t compressedSize) {
  tdibinfoheader& h = fresh.Header;
  if (h.biWidth < 1 || h.biHeight == 0) throw EtbitmapexInvalidDIB();
  const uint64_t width = static_cast<uint32_t>(h.biWidth);
  const uint64_t rows = fresh.Rows();
  const unsigned bits = h.biBitCount;

  if (bits == 1 || bits == 4 || bits == 8 || bits == 24) {
    if (!IsFormat(bits, h.biCompression)) throw EtbitmapexInvalidDIB();
    // Run-length streams only run bottom-up.
    if (h.biCompression != kBiRgb && h.biHeight < 0) throw EtbitmapexInvalidDIB();
    // Sizes that the data cannot have are a damaged file, found before
    // any memory is taken.
    const uint64_t size = h.biCompression == kBiRgb ? DibRowSize(width, bits) * rows : compressedSize;
    if (size > src.Remaining()) src.Fail();
    tpixelblock block(size);
    src.Read(block.Data(), block.Size());
    block.MoveInto(fresh);
    return;
  }
  if (bits != 16 && bits != 32) throw EtbitmapexInvalidDIB();
  if (h.biCompression != kBiRgb && h.biCompression != kBiBitfields) throw EtbitmapexInvalidDIB();

  const uint64_t bytesPerPixel = bits / 8;
  const uint64_t srcRow = (width * bytesPerPixel + 3) & ~uint64_t{3};
  const uint64_t dstRow = (width * 3 + 3) & ~uint64_t{3};
  if (srcRow * rows > src.Remaining()) src.Fail();
  if (dstRow * rows > kMaxPixelBytes) throw EOutOfResources();

  uint32_t masks[3];
  if (h.biCompression != kBiRgb) {
    std::memcpy(masks, fresh.Colors, sizeof masks);
  } else if (bits == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else {
    masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  }
  if (!ValidMasks(masks, bits)) throw EtbitmapexInvalidDIB();
  const int shift[3] = {MaskShift(masks[0]), MaskShift(masks[1]), MaskShift(masks[2])};

  tpixelblock block(dstRow * rows);
  std::unique_ptr<uint8_t[]> row(new uint8_t[srcRow]);
  for (uint64_t y = 0; y < rows; ++y) {
    src.Read(row.get(), srcRow);
    uint8_t* d = block.Data() + y * dstRow;
    std::memset(d + dstRow - 4, 0, 4);
    const uint8_t* s = row.get();
    if (bits == 16) {
      for (uint64_t x = 0; x < width; ++x, s += 2, d += 3) {
        const uint32_t p = s[0] | uint32_t{s[1]} << 8;
        d[0] = Channel(p, masks[2], shift[2]);
        d[1] = Channel(p, masks[1], shift[1]);
        d[2] = Channel(p, masks[0], shift[0]);
      }
    } else {
      for (uint64_t x = 0; x < width; ++x, s += 4, d += 3) {
        const uint32_t p = s[0] | uint32_t{s[1]} << 8 | uint32_t{s[2]} << 16 | uint32_t{s[3]} << 24;
        d[0] = Channel(p, masks[2], shift[2]);
        d[1] = Channel(p, masks[1], shift[1]);
        d[2] = Channel(p, masks[0], shift[0]);
      }
    }
  }
  if (h.biCompression == kBiBitfields) {
    std::memmove(fresh.ColorBytes(), fresh.ColorBytes() + 12, sizeof fresh.Colors);
  }
  h.biCompression = kBiRgb;
  h.biBitCount = 24;
  h.biSizeImage = 0;
  block.MoveInto(fresh);
}

void ReadBmpFile(tdibsource& src, tdibinfo& fresh) {
  tdibfileheader file;
  src.Read(&file, sizeof file);
  if (file.bfType != kBitmapFileType) throw EtbitmapexInvalidDIBFile();
  uint32_t headerSize;
  src.Read(&headerSize, 4);
  uint64_t used;  // bytes from the file's start to the end of the colour table
  if (IsInfoHeaderSize(headerSize)) {
    const uint64_t trailingMasks = ReadInfoHeader(src, fresh, headerSize);
    tdibinfoheader& h = fresh.Header;
    const unsigned bits = h.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) throw EtbitmapexInvalidDIB();
    if (h.biClrUsed == 0) h.biClrUsed = static_cast<uint32_t>(tinternaldib::PaletteSize(static_cast<int>(bits)));
    ReadColorTable(src, fresh, trailingMasks, h.biClrUsed);
    used = 14 + uint64_t{headerSize} + trailingMasks + 4 * uint64_t{h.biClrUsed};
    if (h.biClrUsed > 256) h.biClrUsed = 256;
  } else if (headerSize == 12) {
    used = 14 + 12 + 3 * uint64_t(ReadCoreHeader(src, fresh));
  } else {
    throw EtbitmapexInvalidDIB();
  }
  // Writers may leave a gap before the pixels; an offset into the headers
  // or the colour table is a damaged file. An offset of 0 is taken as none
  // given, the pixels following the colours, as files have been read so far.
  if (file.bfOffBits != 0) {
    if (file.bfOffBits < used) throw EtbitmapexInvalidDIBFile();
    src.Skip(file.bfOffBits - used);
  }
  // bfSize is often wrong (0 from some writers); a run-length stream ends
  // where the file does. Only a stream that cannot tell its end is cut at
  // bfSize.
  uint64_t compressed = src.Remaining();
  if (!src.KnowsLength()) {
    const uint64_t start = file.bfOffBits != 0 ? file.bfOffBits : used;
    if (file.bfSize < start) src.Fail();
    compressed = file.bfSize - start;
  }
  ReadPixels(src, fresh, compressed);
}

void ReadPackedDib(tdibsource& src, tdibinfo& fresh) {
  uint32_t headerSize;
  src.Read(&headerSize, 4);
  if (IsInfoHeaderSize(headerSize)) {
    const uint64_t trailingMasks = ReadInfoHeader(src, fresh, headerSize);
    tdibinfoheader& h = fresh.Header;
    const uint64_t entries =
        h.biClrUsed != 0 ? h.biClrUsed : static_cast<uint64_t>(tinternaldib::PaletteSize(h.biBitCount));
    if (trailingMasks + 4 * entries > src.Remaining()) src.Fail();
    ReadColorTable(src, fresh, trailingMasks, entries);
    if (h.biClrUsed == 0) h.biClrUsed = static_cast<uint32_t>(tinternaldib::PaletteSize(h.biBitCount));
    if (h.biClrUsed > 256) h.biClrUsed = 256;
  } else if (headerSize == 12) {
    ReadCoreHeader(src, fresh);
  } else {
    throw EtbitmapexInvalidDIB();
  }
  // The pixels follow the colours and run to the end of the block.
  ReadPixels(src, fresh, src.Remaining());
}

// Frees the blocks of a conversion chain that were not handed on.
struct tchainblocks {
  tdibinfo* made[3] = {};
  ~tchainblocks() {
    for (tdibinfo* info : made) {
      if (info != nullptr) ReleaseDibBits(*info);
    }
  }
};

enum tstepid {
  kNone,
  k1To4, k1To8, k4To8, k1To24, k4To24, k8To24,
  k24To4, k24To8, k8To4,
  kMask24, kMask8, kMask4,
  kEncode8, kEncode4, kDecode8, kDecode4,
};

// Steps from one pixel format (row) to another (column), in order.
struct troute {
  tstepid steps[3];
};
const troute kRoutes[6][6] = {
    // from 1 bit
    {{}, {{k1To4}}, {{k1To4, kEncode4}}, {{k1To8}}, {{k1To8, kEncode8}}, {{k1To24}}},
    // from 4 bit
    {{{kMask4}}, {}, {{kEncode4}}, {{k4To8}}, {{k4To8, kEncode8}}, {{k4To24}}},
    // from 4 bit RLE
    {{{kDecode4, kMask4}}, {{kDecode4}}, {}, {{kDecode4, k4To8}}, {{kDecode4, k4To8, kEncode8}},
     {{kDecode4, k4To24}}},
    // from 8 bit
    {{{kMask8}}, {{k8To4}}, {{k8To4, kEncode4}}, {}, {{kEncode8}}, {{k8To24}}},
    // from 8 bit RLE
    {{{kDecode8, kMask8}}, {{kDecode8, k8To4}}, {{kDecode8, k8To4, kEncode4}}, {{kDecode8}}, {},
     {{kDecode8, k8To24}}},
    // from 24 bit
    {{{kMask24}}, {{k24To4}}, {{k24To4, kEncode4}}, {{k24To8}}, {{k24To8, kEncode8}}, {}},
};

void RunStep(tstepid step, const tdibinfo& src, tdibinfo& dst, int mode, const tprogressstep& progress,
             uint32_t maskColor) {
  switch (step) {
    case k1To4: Convert1BitRGBTo4BitRGB(src, dst); break;
    case k1To8: Convert1BitRGBTo8BitRGB(src, dst); break;
    case k4To8: Convert4BitRGBTo8BitRGB(src, dst); break;
    case k1To24: Convert1BitRGBToTrueColor(src, dst); break;
    case k4To24: Convert4BitRGBToTrueColor(src, dst); break;
    case k8To24: Convert8BitRGBToTrueColor(src, dst); break;
    case k24To4:
      if (mode == 1) {
        ConvertTrueColorTo4BitRGBHigh(src, dst, progress);
      } else {
        ConvertTrueColorTo4BitRGB(src, dst, progress);
      }
      break;
    case k24To8:
      if (mode == 1) {
        ConvertTrueColorTo8BitRGBHigh(src, dst, progress);
      } else {
        ConvertTrueColorTo8BitRGB(src, dst, progress);
      }
      break;
    case k8To4: Convert8BitRGBTo4BitRGB(src, dst, progress); break;
    case kMask24: ConvertTrueColorTo1BitRGB(src, dst, maskColor); break;
    case kMask8: Convert8BitRGBTo1BitRGB(src, dst, maskColor); break;
    case kMask4: Convert4BitRGBTo1BitRGB(src, dst, maskColor); break;
    case kEncode8: Convert8BitRGBTo8BitRLE(src, dst); break;
    case kEncode4: Convert4BitRGBTo4BitRLE(src, dst); break;
    case kDecode8: Convert8BitRLETo8BitRGB(src, dst); break;
    case kDecode4: Convert4BitRLETo4BitRGB(src, dst); break;
    case kNone: break;
  }
}

}  // namespace

tinternaldib::tinternaldib() { SetFormat(1, 1, 8, 2); }

void* tinternaldib::operator new(std::size_t size) {
  try {
    return ::operator new(size);
  } catch (const std::bad_alloc&) {
    throw EOutOfResources();
  }
}

// Out of line: inlined, GCC takes the class's own pair for a mismatched one.
__attribute__((noinline)) void tinternaldib::operator delete(void* p) noexcept { ::operator delete(p); }

tinternaldib::~tinternaldib() { ReleaseBits(); }

int tinternaldib::PaletteSize(int bits) {
  switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

void tinternaldib::SetFormat(int32_t width, int32_t height, int bits, int colors) {
  if (width <= 0 || height == 0 || colors < 0 || colors > 256 || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
    throw EtbitmapexInvalidDIBPara();
  const uint64_t rows = height < 0 ? uint64_t{0} - static_cast<int64_t>(height) : static_cast<uint64_t>(height);
  const uint64_t size = DibRowSize(static_cast<uint32_t>(width), static_cast<unsigned>(bits)) * rows;
  if (size > kMaxPixelBytes) throw EtbitmapexInvalidDIBPara();
  tpixelblock block(size);
  // Earlier pixel data is released here, so that no caller can leak it.
  ReleaseBits();
  block.MoveInto(Info);
  Width = width;
  Height = static_cast<int32_t>(rows);
  tdibinfoheader& h = Info.Header;
  h.biSize = 40;
  h.biWidth = width;
  h.biHeight = height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<uint16_t>(bits);
  h.biCompression = kBiRgb;
  h.biXPelsPerMeter = 0;
  h.biYPelsPerMeter = 0;
  h.biClrUsed = static_cast<uint32_t>(colors);
  h.biClrImportant = 0;
  std::memset(Info.Colors, 0, sizeof Info.Colors);
  PaletteChanged = true;
}

void tinternaldib::ReleaseBits() {
  ReleaseDibBits(Info);
  if (Palette != nullptr) {
    DeletePaletteHandle(Palette);
    Palette = nullptr;
  }
}

void tinternaldib::UpdatePalette() {
  // Only an unshared DIB may change; its sharers copy it first.
  if (Palette != nullptr) {
    DeletePaletteHandle(Palette);
    Palette = nullptr;
  }
  PaletteChanged = true;
}

void* tinternaldib::CreatePaletteHandle() const {
  if (Info.Header.biClrUsed == 0) return nullptr;
  const uint32_t count = Info.Header.biClrUsed <= 256 ? Info.Header.biClrUsed : 256;
  return CreatePaletteFromTable(Info.Colors, count);
}

int tinternaldib::GetPixelsFormat() const {
  const tdibinfoheader& h = Info.Header;
  switch (h.biBitCount) {
    case 1:
      if (h.biCompression == kBiRgb) return pf1Bit;
      break;
    case 4:
      if (h.biCompression == kBiRgb) return pf4Bit;
      if (h.biCompression == kBiRle4) return pf4BitRLE;
      break;
    case 8:
      if (h.biCompression == kBiRgb) return pf8Bit;
      if (h.biCompression == kBiRle8) return pf8BitRLE;
      break;
    case 24:
      if (h.biCompression == kBiRgb) return pf24Bit;
      break;
  }
  throw EtbitmapexInvalidDIB();
}

void tinternaldib::SetPixelsFormat(int target, int mode, const tprogressstep& progress, uint32_t maskColor) {
  OutOfResourcesOnBadAlloc([&] { ConvertInPlace(target, mode, progress, maskColor); });
}

void tinternaldib::ConvertInPlace(int target, int mode, const tprogressstep& progress, uint32_t maskColor) {
  const int current = GetPixelsFormat();
  if (target < 0 || target > 5 || target == current) return;
  const troute& route = kRoutes[current][target];
  tdibinfo results[3];
  tchainblocks owned;
  const tdibinfo* from = &Info;
  int last = -1;
  for (int i = 0; i < 3 && route.steps[i] != kNone; ++i) {
    RunStep(route.steps[i], *from, results[i], mode, progress, maskColor & 0xFFFFFF);
    owned.made[i] = &results[i];
    if (i > 0) {
      ReleaseDibBits(results[i - 1]);
      owned.made[i - 1] = nullptr;
    }
    from = &results[i];
    last = i;
  }
  if (last < 0) return;
  owned.made[last] = nullptr;
  Install(results[last]);
}

std::unique_ptr<tinternaldib> tinternaldib::Duplicate() const {
  tpixelblock block(Info.BitsSize);
  if (Info.BitsSize > 0) std::memcpy(block.Data(), Info.Bits, Info.BitsSize);
  std::unique_ptr<tinternaldib> copy(new tinternaldib);
  copy->ReleaseBits();
  copy->Info = Info;
  block.MoveInto(copy->Info);
  copy->Width = Width;
  copy->Height = Height;
  copy->PaletteChanged = PaletteChanged;
  return copy;
}

void tinternaldib::Install(tdibinfo& fresh) {
  ReleaseBits();
  Info = fresh;
  Width = Info.Header.biWidth;
  Height = static_cast<int32_t>(Info.Rows());
  UpdatePalette();
}

void tinternaldib::LoadFromStream(tbytesource& in) {
  tstreamdibsource src(in);
  tdibinfo fresh;
  OutOfResourcesOnBadAlloc([&] { ReadBmpFile(src, fresh); });
  Install(fresh);
}

void tinternaldib::LoadFromPackedDib(const uint8_t* data, size_t size) {
  tmemorydibsource src(data, size);
  tdibinfo fresh;
  OutOfResourcesOnBadAlloc([&] { ReadPackedDib(src, fresh); });
  Install(fresh);
}

void tinternaldib::SaveToStream(tbytesink& out) const {
  const uint32_t colors = Info.Header.biClrUsed;
  tdibfileheader file{};
  file.bfType = kBitmapFileType;
  file.bfSize = 54 + 4 * colors + Info.BitsSize;
  file.bfOffBits = 54 + 4 * colors;
  if (!out.Write(&file, sizeof file) || !out.Write(&Info.Header, 40) || !out.Write(Info.Colors, 4 * size_t{colors}) ||
      !out.Write(Info.Bits, Info.BitsSize))
    throw EWriteError();
}

std::vector<uint8_t> tinternaldib::SavePackedDib() const {
  const uint32_t colors = Info.Header.biClrUsed;
  std::vector<uint8_t> dib =
      OutOfResourcesOnBadAlloc([&] { return std::vector<uint8_t>(40 + 4 * size_t{colors} + Info.BitsSize); });
  std::memcpy(dib.data(), &Info.Header, 40);
  std::memcpy(dib.data() + 40, Info.Colors, 4 * size_t{colors});
  if (Info.BitsSize > 0) std::memcpy(dib.data() + 40 + 4 * size_t{colors}, Info.Bits, Info.BitsSize);
  return dib;
}

}  // namespace pendo
