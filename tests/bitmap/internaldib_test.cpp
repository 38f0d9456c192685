#include "bitmap/internaldib.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "bitmap/bitmapexceptions.h"
#include "bitmaptestutil.h"

using namespace pendo;
using namespace pendo::test;

namespace {

// A recognisable 2 x 2 24-bit picture to check that failed loads keep it.
void MakeMarker(tinternaldib& dib) {
  dib.SetFormat(2, 2, 24, 0);
  SetPixel(dib.Info, 0, 0, 0x123456);
  SetPixel(dib.Info, 1, 1, 0xABCDEF);
}

void ExpectMarker(const tinternaldib& dib) {
  ASSERT_EQ(dib.Width, 2);
  ASSERT_EQ(dib.Height, 2);
  ASSERT_EQ(dib.GetPixelsFormat(), pf24Bit);
  EXPECT_EQ(Pixel(dib.Info, 0, 0), 0x123456u);
  EXPECT_EQ(Pixel(dib.Info, 1, 1), 0xABCDEFu);
}

std::string WithPlanes(std::string header, unsigned planes) {
  header[12] = static_cast<char>(planes);
  return header;
}

// A 108- or 124-byte header: the 40-byte part, four masks, then
// colour-space data that readers skip (filled with 0x77 here).
Bytes V5Header(int32_t w, int32_t h, unsigned bits, uint32_t compression = 0, std::vector<uint32_t> masks = {},
               uint32_t clrUsed = 0, uint32_t size = 124) {
  Bytes b = InfoHeader(w, h, bits, compression, clrUsed);
  b.s.replace(0, 4, Bytes().u32(size).s);
  masks.resize(4);
  for (uint32_t m : masks) b.u32(m);
  return b.fill(size - 56, 0x77);
}

std::string Bmp24(int32_t w, int32_t h) {
  const uint32_t row = (w * 3 + 3) / 4 * 4;
  return BmpFile(InfoHeader(w, h, 24).fill(row * (h < 0 ? -h : h), 0x5A).s);
}

}  // namespace

TEST(InternalDib, NewDibIsOnePixelPlaceholder) {
  const long before = MappedBlockCount();
  {
    tinternaldib dib;
    EXPECT_EQ(MappedBlockCount(), before + 1);
    EXPECT_EQ(dib.Width, 1);
    EXPECT_EQ(dib.Height, 1);
    EXPECT_EQ(dib.Info.Header.biSize, 40u);
    EXPECT_EQ(dib.Info.Header.biBitCount, 8);
    EXPECT_EQ(dib.Info.Header.biClrUsed, 2u);
    EXPECT_EQ(dib.Info.BitsSize, 4u);
    EXPECT_EQ(dib.GetPixelsFormat(), pf8Bit);
    EXPECT_TRUE(dib.PaletteChanged);
    for (uint32_t i = 0; i < dib.Info.BitsSize; ++i) EXPECT_EQ(dib.Info.Bits[i], 0);
    EXPECT_EQ(dib.Info.Colors[0].rgbRed | dib.Info.Colors[1].rgbBlue, 0);
  }
  EXPECT_EQ(MappedBlockCount(), before);
}

TEST(InternalDib, SetFormatRefusesImpossiblePicturesAndKeepsTheOldOne) {
  tinternaldib dib;
  MakeMarker(dib);
  const long blocks = MappedBlockCount();
  EXPECT_THROW(dib.SetFormat(4, 4, 16, 0), EtbitmapexInvalidDIBPara);
  EXPECT_THROW(dib.SetFormat(4, 4, 8, 257), EtbitmapexInvalidDIBPara);
  EXPECT_THROW(dib.SetFormat(4, 4, 8, -1), EtbitmapexInvalidDIBPara);
  EXPECT_THROW(dib.SetFormat(4, 0, 8, 2), EtbitmapexInvalidDIBPara);
  EXPECT_THROW(dib.SetFormat(0, 4, 8, 2), EtbitmapexInvalidDIBPara);
  EXPECT_THROW(dib.SetFormat(0x7FFFFFFF, 0x7FFFFFFF, 24, 0), EtbitmapexInvalidDIBPara);
  ExpectMarker(dib);
  EXPECT_EQ(MappedBlockCount(), blocks);
  try {
    dib.SetFormat(4, 4, 2, 0);
    FAIL();
  } catch (const EtbitmapexError& e) {
    EXPECT_STREQ(e.what(), "encounted error.");
  }
}

TEST(InternalDib, SetFormatKeepsTheSignOfTheHeightAndFreesTheOldBlock) {
  tinternaldib dib;
  const long blocks = MappedBlockCount();
  dib.SetFormat(5, -3, 4, 16);
  EXPECT_EQ(MappedBlockCount(), blocks);
  EXPECT_EQ(dib.Height, 3);
  EXPECT_EQ(dib.Info.Header.biHeight, -3);
  EXPECT_EQ(dib.Info.BitsSize, 12u);
  EXPECT_EQ(dib.GetPixelsFormat(), pf4Bit);
}

TEST(InternalDib, Saves24BitFileWithPaddedRows) {
  tinternaldib dib;
  dib.SetFormat(3, 2, 24, 0);
  SetPixel(dib.Info, 2, 0, 0x010203);
  const std::string f = SaveBytes(dib);
  ASSERT_EQ(f.size(), 78u);
  EXPECT_EQ(f.substr(0, 2), "BM");
  EXPECT_EQ(Le32(f, 2), 78u);
  EXPECT_EQ(Le32(f, 6), 0u);
  EXPECT_EQ(Le32(f, 10), 54u);
  EXPECT_EQ(Le32(f, 14), 40u);
  EXPECT_EQ(Le32(f, 18), 3u);
  EXPECT_EQ(Le32(f, 22), 2u);
  // Top row is stored last: its third pixel at 54 + 12 + 6, then 3 filler bytes.
  EXPECT_EQ(f.substr(54 + 12 + 6, 6), std::string("\x03\x02\x01\0\0\0", 6));
}

TEST(InternalDib, SaveAndLoadKeepEveryFormat) {
  for (int bits : {1, 4, 8, 24}) {
    tinternaldib a;
    a.SetFormat(7, -5, bits, tinternaldib::PaletteSize(bits));
    for (int i = 0; i < tinternaldib::PaletteSize(bits); ++i) a.Info.Colors[i] = tdibrgbquad{uint8_t(i), 2, 3, 0};
    for (uint32_t y = 0; y < 5; ++y)
      for (uint32_t x = 0; x < 7; ++x) SetPixel(a.Info, x, y, (x * 7 + y * 3) & ((1u << bits) - 1));
    tinternaldib b;
    LoadBytes(b, SaveBytes(a));
    EXPECT_EQ(b.Info.Header.biHeight, -5) << bits;
    EXPECT_EQ(b.Height, 5);
    EXPECT_EQ(Colors(b.Info), Colors(a.Info)) << bits;
    EXPECT_EQ(SaveBytes(b), SaveBytes(a)) << bits;
    const std::vector<uint8_t> packed = a.SavePackedDib();
    tinternaldib c;
    c.LoadFromPackedDib(packed.data(), packed.size());
    EXPECT_EQ(SaveBytes(c), SaveBytes(a)) << bits;
  }
}

TEST(InternalDib, LoadsSixteenAndThirtyTwoBitsAsTrueColour) {
  // 0x7FFF with the 5-5-5 default: every channel 248, the low bits stay empty.
  tinternaldib dib;
  LoadBytes(dib, BmpFile(InfoHeader(1, 1, 16).u16(0x7FFF).u16(0).s));
  EXPECT_EQ(dib.GetPixelsFormat(), pf24Bit);
  EXPECT_EQ(dib.Info.BitsSize, 4u);
  EXPECT_EQ(Pixel(dib.Info, 0, 0), 0xF8F8F8u);

  // 5-6-5 masks after the header; three pixels, rows padded to 8 bytes.
  Bytes b = InfoHeader(3, 2, 16, 3);
  b.u32(0xF800).u32(0x07E0).u32(0x001F);
  b.u16(0xF800).u16(0x07E0).u16(0x001F).u16(0).u16(0xFFFF).u16(0x0841).u16(0x8410).u16(0);
  LoadBytes(dib, BmpFile(b.s));
  EXPECT_EQ(Pixel(dib.Info, 0, 1), 0xF80000u);
  EXPECT_EQ(Pixel(dib.Info, 1, 1), 0x00FC00u);
  EXPECT_EQ(Pixel(dib.Info, 2, 1), 0x0000F8u);
  EXPECT_EQ(Pixel(dib.Info, 0, 0), 0xF8FCF8u);
  EXPECT_EQ(Pixel(dib.Info, 1, 0), 0x080808u);
  EXPECT_EQ(Pixel(dib.Info, 2, 0), 0x808080u);
  EXPECT_EQ(dib.Info.Header.biCompression, 0u);

  // 32 bits: default masks, then masks with a colour table that moves forward.
  LoadBytes(dib, BmpFile(InfoHeader(2, 1, 32).u32(0xFF102030).u32(0x00A0B0C0).s));
  EXPECT_EQ(Pixel(dib.Info, 0, 0), 0x102030u);
  EXPECT_EQ(Pixel(dib.Info, 1, 0), 0xA0B0C0u);
  Bytes m = InfoHeader(1, 1, 32, 3, 2);
  m.u32(0xFF000000).u32(0x00FF0000).u32(0x0000FF00).u32(0x00332211).u32(0x00665544).u32(0x11223344);
  LoadBytes(dib, BmpFile(m.s));
  EXPECT_EQ(Pixel(dib.Info, 0, 0), 0x112233u);
  EXPECT_EQ(dib.Info.Header.biClrUsed, 2u);
  EXPECT_EQ(dib.Info.Colors[0].rgbBlue, 0x11);
  EXPECT_EQ(dib.Info.Colors[1].rgbRed, 0x66);
}

TEST(InternalDib, FillsInTheColourCountAndWidensCoreHeaders) {
  tinternaldib dib;
  Bytes b = InfoHeader(1, 1, 8, 0, 0);
  for (int i = 0; i < 256; ++i) b.u8(i).u8(0).u8(255 - i).u8(0);
  b.u8(200).fill(3);
  LoadBytes(dib, BmpFile(b.s));
  EXPECT_EQ(dib.Info.Header.biClrUsed, 256u);
  EXPECT_EQ(dib.Info.Colors[200].rgbRed, 55);
  EXPECT_EQ(dib.Info.BitsSize, 4u);

  Bytes c;
  c.u32(12).u16(2).u16(1).u16(1).u16(8);
  for (int i = 0; i < 256; ++i) c.u8(i).u8(1).u8(2);
  c.u8(7).u8(9).fill(2);
  LoadBytes(dib, BmpFile(c.s));
  EXPECT_EQ(dib.Info.Header.biSize, 40u);
  EXPECT_EQ(dib.Info.Header.biClrUsed, 256u);
  EXPECT_EQ(dib.Info.Header.biWidth, 2);
  EXPECT_EQ(dib.GetPixelsFormat(), pf8Bit);
  EXPECT_EQ(Pixel(dib.Info, 1, 0), 9u);
  EXPECT_EQ(dib.Info.Colors[9].rgbBlue, 9);
  EXPECT_EQ(dib.Info.Colors[9].rgbRed, 2);
  EXPECT_EQ(dib.Info.Colors[9].rgbReserved, 0);
  // Saved again it is a 40-byte-header file.
  EXPECT_EQ(Le32(SaveBytes(dib), 14), 40u);
}

TEST(InternalDib, KeepsRunLengthDataCompressed) {
  tinternaldib dib;
  Bytes b = InfoHeader(4, 2, 8, 1, 2);
  b.u32(0).u32(0xFFFFFF);
  b.u8(4).u8(1).u8(0).u8(0).u8(0).u8(1);
  LoadBytes(dib, BmpFile(b.s));
  EXPECT_EQ(dib.GetPixelsFormat(), pf8BitRLE);
  EXPECT_EQ(dib.Info.BitsSize, 6u);
  dib.SetPixelsFormat(pf8Bit, 0, nullptr, 0);
  EXPECT_EQ(Pixel(dib.Info, 3, 1), 1u);
  EXPECT_EQ(Pixel(dib.Info, 3, 0), 0u);
}

TEST(InternalDib, BadFilesRaiseAndKeepThePreviousImage) {
  const std::string good = Bmp24(3, 2);
  std::string notBm = good;
  notBm[0] = 'X';
  std::string shortFile = good.substr(0, good.size() - 1);
  const struct {
    const char* what;
    std::string bytes;
    bool fileError;  // EtbitmapexInvalidDIBFile, else EtbitmapexInvalidDIB
  } cases[] = {
      {"not BM", notBm, true},
      {"empty", "", true},
      {"cut in the header", good.substr(0, 30), true},
      {"cut in the pixels", shortFile, true},
      {"rows missing, bfSize 0", BmpFile(InfoHeader(3, 2, 24).fill(23).s, 0), true},
      {"pixel offset inside the headers", BmpFile(InfoHeader(3, 2, 24).fill(24).s, -1, 50), true},
      {"pixel offset inside the colour table", BmpFile(InfoHeader(1, 1, 8, 0, 2).fill(12).s, -1, 58), true},
      {"pixel offset past the end", BmpFile(InfoHeader(3, 2, 24).fill(24).s, -1, 100), true},
      {"huge width and height", BmpFile(InfoHeader(0x7FFFFFFF, 0x7FFFFFFF, 24).fill(24).s, 0xFFFFFFF0), true},
      {"most negative height", BmpFile(InfoHeader(1, INT32_MIN, 24).fill(24).s), true},
      {"huge 16-bit picture", BmpFile(InfoHeader(30000, 30000, 16).fill(64).s), true},
      {"biClrUsed of 4 billion", BmpFile(InfoHeader(1, 1, 8, 0, 0xFFFFFFFF).fill(1100).s), true},
      {"colour table past the end", BmpFile(InfoHeader(1, 1, 8, 0, 200).fill(100).s), true},
      {"header size 64", BmpFile(Bytes().u32(64).fill(200).s), false},
      {"planes 0", BmpFile(WithPlanes(InfoHeader(1, 1, 24).fill(4).s, 0)), false},
      {"planes 2", BmpFile(WithPlanes(InfoHeader(1, 1, 24).fill(4).s, 2)), false},
      {"planes 3 in a 124-byte header", BmpFile(WithPlanes(V5Header(1, 1, 24).fill(4).s, 3)), false},
      {"core header with 2 planes", BmpFile(Bytes().u32(12).u16(1).u16(1).u16(2).u16(24).fill(4).s), false},
      {"overlapping masks", BmpFile(InfoHeader(1, 1, 16, 3).u32(0xF800).u32(0x0FE0).u32(0x1F).fill(4).s), false},
      {"mask with a gap", BmpFile(InfoHeader(1, 1, 16, 3).u32(0xF800).u32(0x07E0).u32(0x15).fill(4).s), false},
      {"mask wider than 16 bits", BmpFile(InfoHeader(1, 1, 16, 3).u32(0x1F800).u32(0x07E0).u32(0x1F).fill(4).s), false},
      {"overlapping masks in a 124-byte header", BmpFile(V5Header(1, 1, 32, 3, {0xFF0000, 0xFF00, 0xFFFF}).fill(4).s),
       false},
      {"run-length picture stored top-down", BmpFile(InfoHeader(4, -2, 8, 1, 2).fill(8).u8(4).u8(1).u8(0).u8(1).s),
       false},
      {"2 bits per pixel", BmpFile(InfoHeader(1, 1, 2).fill(8).s), false},
      {"core header with 16 bits", BmpFile(Bytes().u32(12).u16(1).u16(1).u16(1).u16(16).fill(4).s), false},
      {"width 0", BmpFile(InfoHeader(0, 1, 24).fill(4).s), false},
      {"negative width", BmpFile(InfoHeader(-4, 1, 24).fill(16).s), false},
      {"height 0", BmpFile(InfoHeader(1, 0, 24).fill(4).s), false},
      {"zero colour mask", BmpFile(InfoHeader(1, 1, 16, 3).u32(0xF800).u32(0).u32(0x1F).fill(4).s), false},
      {"24 bits with run-length compression", BmpFile(InfoHeader(1, 1, 24, 1).fill(4).s), false},
      {"16 bits with run-length compression", BmpFile(InfoHeader(1, 1, 16, 1).fill(16).s), false},
  };
  for (const auto& c : cases) {
    tinternaldib dib;
    MakeMarker(dib);
    const long blocks = MappedBlockCount();
    if (c.fileError) {
      EXPECT_THROW(LoadBytes(dib, c.bytes), EtbitmapexInvalidDIBFile) << c.what;
    } else {
      EXPECT_THROW(LoadBytes(dib, c.bytes), EtbitmapexInvalidDIB) << c.what;
    }
    ExpectMarker(dib);
    EXPECT_EQ(MappedBlockCount(), blocks) << c.what;
  }
}

// A real file and a source that cannot tell its length (a pipe) read as
// memory does; a sink that refuses bytes is a write error.
TEST(InternalDib, FilesPipesAndRefusingSinks) {
  struct Pipe : tbytesource {
    explicit Pipe(const std::string& s) : in(s) {}
    size_t Read(void* dst, size_t n) override { return in.Read(dst, n); }
    tmemorysource in;
  };
  struct Full : tbytesink {
    bool Write(const void*, size_t) override { return false; }
  };
  tinternaldib picture;
  MakeMarker(picture);
  const std::string bytes = SaveBytes(picture);
  const std::string path = testing::TempDir() + "internaldib_test.bmp";
  {
    tfilestream out(path, "wb");
    picture.SaveToStream(out);
    ASSERT_TRUE(out.Close());
  }
  for (const std::string& file : {bytes, bytes.substr(0, bytes.size() - 1)}) {
    const bool whole = file.size() == bytes.size();
    tfilestream(path, "wb").Write(file.data(), file.size());
    tinternaldib fromFile, fromPipe;
    tfilestream in(path, "rb");
    Pipe pipe(file);
    if (whole) {
      fromFile.LoadFromStream(in);
      fromPipe.LoadFromStream(pipe);
    } else {
      MakeMarker(fromFile);
      MakeMarker(fromPipe);
      EXPECT_THROW(fromFile.LoadFromStream(in), EtbitmapexInvalidDIBFile);
      EXPECT_THROW(fromPipe.LoadFromStream(pipe), EtbitmapexInvalidDIBFile);
    }
    ExpectMarker(fromFile);
    ExpectMarker(fromPipe);
  }
  Full full;
  EXPECT_THROW(picture.SaveToStream(full), EWriteError);
  std::remove(path.c_str());
}

// What current writers put in files: longer headers, gaps before the
// pixels, a wrong bfSize, run-length streams to the end of the file.
TEST(InternalDib, ReadsFilesOtherWritersMake) {
  Bytes pal2;  // two colour entries
  pal2.u32(0x000000).u32(0x0000FF);
  const std::string rle = Bytes().u8(2).u8(1).u8(0).u8(0).u8(1).u8(1).s;  // no end of bitmap
  const struct {
    const char* what;
    std::string bytes;
    std::vector<uint32_t> colors;  // top row first
  } cases[] = {
      {"gap before the pixels", BmpFile(InfoHeader(2, 1, 24).fill(6, 0xEE).u32(0x112233).u32(0x445566).s, -1, 60),
       {0x112233, 0x556600}},
      {"bfOffBits 0: the pixels follow the colours", BmpFile(InfoHeader(1, 1, 8, 0, 2).raw(pal2.s).u32(1).s, -1, 0),
       {0x0000FF}},
      {"bfSize 0", BmpFile(InfoHeader(1, 2, 24).u32(0x0000FF).u32(0x00FF00).s, 0), {0x00FF00, 0x0000FF}},
      {"bfSize past the end", BmpFile(InfoHeader(1, 1, 24).u32(0xABCDEF).s, 0xFFFFFFF0), {0xABCDEF}},
      {"bfSize below the headers", BmpFile(InfoHeader(1, 1, 24).u32(0xABCDEF).s, 10), {0xABCDEF}},
      {"RLE8 with bfSize 0 and no end of bitmap", BmpFile(InfoHeader(2, 2, 8, 1, 2).raw(pal2.s).raw(rle).s, 0),
       {0x0000FF, 0x000000, 0x0000FF, 0x0000FF}},
      {"108-byte header, 1 bit", BmpFile(V5Header(2, 1, 1, 0, {}, 2, 108).raw(pal2.s).u32(0x40).s),
       {0x000000, 0x0000FF}},
      {"124-byte header, 16 bits with masks inside",
       BmpFile(V5Header(2, 1, 16, 3, {0xF800, 0x07E0, 0x001F}).u16(0xF800).u16(0x001F).s), {0xF80000, 0x0000F8}},
      {"124-byte header, 32 bits with alpha mask",
       BmpFile(V5Header(1, 1, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}).u32(0x80123456).s), {0x123456}},
  };
  for (const auto& c : cases) {
    tinternaldib dib;
    ASSERT_NO_THROW(LoadBytes(dib, c.bytes)) << c.what;
    if (dib.GetPixelsFormat() == pf8BitRLE) dib.SetPixelsFormat(pf8Bit, 0, nullptr, 0);
    EXPECT_EQ(Colors(dib.Info), c.colors) << c.what;
    // Saved, it is a plain 40-byte-header file whose pixels follow the colours.
    const std::string saved = SaveBytes(dib);
    EXPECT_EQ(Le32(saved, 14), 40u) << c.what;
    EXPECT_EQ(Le32(saved, 10), 54u + 4 * dib.Info.Header.biClrUsed) << c.what;
  }
}

TEST(InternalDib, BadPackedDibsRaiseAndKeepThePreviousImage) {
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"header cut", InfoHeader(1, 1, 24).s.substr(0, 20)},
      {"pixels short", InfoHeader(3, 2, 24).fill(23).s},
      {"colours past the end", InfoHeader(1, 1, 8, 0, 300).fill(40).s},
      {"biClrUsed of 4 billion", InfoHeader(1, 1, 8, 0, 0xFFFFFFFF).fill(40).s},
      {"masks past the end", InfoHeader(1, 1, 16, 3).u32(0xF800).s},
      {"core header cut", Bytes().u32(12).u16(1).u16(1).u16(1).u16(8).fill(10).s},
      {"8 bits with RLE4", InfoHeader(1, 1, 8, 2).fill(1100).s},
      {"planes 2", WithPlanes(InfoHeader(1, 1, 24).fill(4).s, 2)},
      {"masks with a gap in a 108-byte header", V5Header(1, 1, 16, 3, {0xF800, 0x07E0, 0x1D}, 0, 108).fill(4).s},
      {"run-length picture stored top-down", InfoHeader(4, -2, 8, 1, 2).fill(8).u8(4).u8(1).u8(0).u8(1).s},
  };
  for (const auto& c : cases) {
    tinternaldib dib;
    MakeMarker(dib);
    const long blocks = MappedBlockCount();
    EXPECT_THROW(dib.LoadFromPackedDib(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()),
                 EtbitmapexInvalidDIB)
        << c.what;
    ExpectMarker(dib);
    EXPECT_EQ(MappedBlockCount(), blocks) << c.what;
  }
}

TEST(InternalDib, PackedDibWithBitFieldsAndCoreHeader) {
  tinternaldib dib;
  Bytes b = InfoHeader(1, 1, 16, 3);
  b.u32(0xF800).u32(0x07E0).u32(0x001F).u16(0x07E0).u16(0);
  dib.LoadFromPackedDib(reinterpret_cast<const uint8_t*>(b.s.data()), b.s.size());
  EXPECT_EQ(Pixel(dib.Info, 0, 0), 0x00FC00u);
  EXPECT_EQ(dib.Info.Header.biClrUsed, 0u);

  Bytes c;
  c.u32(12).u16(3).u16(1).u16(1).u16(1).u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).u8(0x40).fill(3);
  dib.LoadFromPackedDib(reinterpret_cast<const uint8_t*>(c.s.data()), c.s.size());
  EXPECT_EQ(dib.GetPixelsFormat(), pf1Bit);
  EXPECT_EQ(dib.Info.Header.biClrUsed, 2u);
  EXPECT_EQ(ColorAt(dib.Info, 1, 0), 0x060504u);
  const std::vector<uint8_t> packed = dib.SavePackedDib();
  EXPECT_EQ(packed.size(), 40u + 8u + 4u);

  // A 124-byte header holds its masks; no mask entries follow it.
  Bytes v = V5Header(1, 1, 16, 3, {0xF800, 0x07E0, 0x001F});
  v.u16(0x001F).u16(0);
  dib.LoadFromPackedDib(reinterpret_cast<const uint8_t*>(v.s.data()), v.s.size());
  EXPECT_EQ(Pixel(dib.Info, 0, 0), 0x0000F8u);
  EXPECT_EQ(dib.Info.Header.biSize, 40u);
}

TEST(InternalDib, PaletteHandleFollowsTheColourTable) {
  tinternaldib dib;
  dib.SetFormat(1, 1, 24, 0);
  EXPECT_EQ(dib.CreatePaletteHandle(), nullptr);
  dib.SetFormat(1, 1, 4, 3);
  dib.Info.Colors[2] = tdibrgbquad{1, 2, 3, 0};
  dib.Palette = dib.CreatePaletteHandle();
  ASSERT_NE(dib.Palette, nullptr);
#ifdef _WIN32
  PALETTEENTRY entries[4] = {};
  EXPECT_EQ(GetPaletteEntries(static_cast<HPALETTE>(dib.Palette), 0, 4, entries), 3u);
  EXPECT_EQ(entries[2].peRed, 3);
  EXPECT_EQ(entries[2].peBlue, 1);
#else
  EXPECT_EQ(static_cast<tdibrgbquad*>(dib.Palette)[2].rgbRed, 3);  // the host palette is a copy
#endif
  dib.PaletteChanged = false;
  dib.UpdatePalette();
  EXPECT_EQ(dib.Palette, nullptr);
  EXPECT_TRUE(dib.PaletteChanged);
}

TEST(InternalDib, PaletteSizes) {
  EXPECT_EQ(tinternaldib::PaletteSize(1), 2);
  EXPECT_EQ(tinternaldib::PaletteSize(4), 16);
  EXPECT_EQ(tinternaldib::PaletteSize(8), 256);
  EXPECT_EQ(tinternaldib::PaletteSize(24), 0);
  EXPECT_EQ(tinternaldib::PaletteSize(16), 0);
}

TEST(InternalDib, HeadersWithoutAPixelFormatAreRefused) {
  tinternaldib dib;
  dib.Info.Header.biCompression = 2;  // RLE4 on 8 bits
  EXPECT_THROW(dib.GetPixelsFormat(), EtbitmapexInvalidDIB);
  EXPECT_THROW(dib.SetPixelsFormat(pf24Bit, 0, nullptr, 0), EtbitmapexInvalidDIB);
}

TEST(InternalDib, EveryRouteKeepsABlackAndWhitePicture) {
  // Two colours survive every format, the 1-bit mask of white included, and
  // runs of them compress; so A -> B -> 24 bits must give the picture back.
  tinternaldib base;
  base.SetFormat(32, -6, 24, 0);
  for (uint32_t y = 0; y < 6; ++y)
    for (uint32_t x = 0; x < 32; ++x) SetPixel(base.Info, x, y, x < 8 + 3 * y ? 0 : 0xFFFFFF);
  const std::vector<uint32_t> expected = Colors(base.Info);
  const std::string file = SaveBytes(base);
  for (int a = 0; a < 6; ++a) {
    for (int b = 0; b < 6; ++b) {
      tinternaldib dib;
      LoadBytes(dib, file);
      int steps = 0;
      const tprogressstep count = [&steps] { ++steps; };
      dib.SetPixelsFormat(a, (a + b) % 2, count, 0xFFFFFF);
      ASSERT_EQ(dib.GetPixelsFormat(), a);
      steps = 0;
      const long blocks = MappedBlockCount();
      dib.SetPixelsFormat(b, 0, count, 0xFFFFFF);
      ASSERT_EQ(dib.GetPixelsFormat(), b) << a << " -> " << b;
      EXPECT_EQ(MappedBlockCount(), blocks) << a << " -> " << b;
      const bool reduces8To4 = (a == pf8Bit || a == pf8BitRLE) && (b == pf4Bit || b == pf4BitRLE);
      const bool reduces24 = a == pf24Bit && b != pf1Bit && b != pf24Bit;
      EXPECT_EQ(steps, reduces8To4 ? 16 : reduces24 ? (b >= pf8Bit ? 256 : 16) : 0) << a << " -> " << b;
      EXPECT_EQ(dib.Height, 6);
      EXPECT_TRUE(dib.PaletteChanged);
      dib.SetPixelsFormat(pf24Bit, 0, nullptr, 0xFFFFFF);
      EXPECT_EQ(Colors(dib.Info), expected) << a << " -> " << b;
    }
  }
}

TEST(InternalDib, FourBitRunLengthToEightBitRunLengthLeavesOneBlock) {
  tinternaldib dib;
  dib.SetFormat(40, 4, 4, 16);
  dib.Info.Colors[3] = tdibrgbquad{1, 2, 3, 0};
  for (uint32_t x = 0; x < 20; ++x) SetPixel(dib.Info, x, 1, 3);
  dib.SetPixelsFormat(pf4BitRLE, 0, nullptr, 0);
  const long blocks = MappedBlockCount();
  dib.SetPixelsFormat(pf8BitRLE, 0, nullptr, 0);
  EXPECT_EQ(MappedBlockCount(), blocks);
  EXPECT_EQ(dib.GetPixelsFormat(), pf8BitRLE);
  EXPECT_EQ(dib.Info.BitsSize, dib.Info.Header.biSizeImage);
  dib.SetPixelsFormat(pf8Bit, 0, nullptr, 0);
  EXPECT_EQ(ColorAt(dib.Info, 19, 1), 0x030201u);
  EXPECT_EQ(ColorAt(dib.Info, 20, 1), 0u);
}

TEST(InternalDib, SameOrUnknownTargetChangesNothing) {
  tinternaldib dib;
  MakeMarker(dib);
  const uint8_t* bits = dib.Info.Bits;
  dib.PaletteChanged = false;
  for (int target : {int{pf24Bit}, -1, 6}) dib.SetPixelsFormat(target, 0, nullptr, 0);
  EXPECT_EQ(dib.Info.Bits, bits);
  EXPECT_FALSE(dib.PaletteChanged);
  ExpectMarker(dib);
}

TEST(InternalDib, DuplicateOwnsACopyOfEveryByte) {
  tinternaldib dib;
  dib.SetFormat(40, 4, 4, 16);
  dib.Info.Colors[3] = tdibrgbquad{1, 2, 3, 0};
  for (uint32_t x = 0; x < 20; ++x) SetPixel(dib.Info, x, 1, 3);
  dib.SetPixelsFormat(pf4BitRLE, 0, nullptr, 0);  // a compressed block is copied as it is
  dib.Palette = dib.CreatePaletteHandle();
  const long blocks = MappedBlockCount();
  std::unique_ptr<tinternaldib> copy = dib.Duplicate();
  EXPECT_EQ(MappedBlockCount(), blocks + 1);
  EXPECT_EQ(copy->Palette, nullptr);
  EXPECT_EQ(copy->Width, 40);
  EXPECT_EQ(copy->Height, 4);
  EXPECT_EQ(std::memcmp(&copy->Info.Header, &dib.Info.Header, 40 + 1024), 0);
  ASSERT_EQ(copy->Info.BitsSize, dib.Info.BitsSize);
  EXPECT_NE(copy->Info.Bits, dib.Info.Bits);
  EXPECT_EQ(std::memcmp(copy->Info.Bits, dib.Info.Bits, dib.Info.BitsSize), 0);
  copy->Info.Bits[0] ^= 0xFF;
  EXPECT_NE(copy->Info.Bits[0], dib.Info.Bits[0]);
  copy.reset();
  EXPECT_EQ(MappedBlockCount(), blocks);
}
