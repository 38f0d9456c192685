#include <gtest/gtest.h>

#include <random>
#include <set>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/colorreduction.h"
#include "bitmap/formatconversions.h"
#include "bitmap/internaldib.h"
#include "bitmaptestutil.h"

using namespace pendo;
using namespace pendo::test;

namespace {

struct Counter {
  int calls = 0;
  tprogressstep Step() {
    return [this] { ++calls; };
  }
};

// The palette index of each pixel, and the palette as 0x00RRGGBB.
std::vector<uint32_t> Palette(const tdibinfo& d) {
  std::vector<uint32_t> out;
  for (uint32_t i = 0; i < d.Header.biClrUsed; ++i)
    out.push_back(uint32_t{d.Colors[i].rgbRed} << 16 | uint32_t{d.Colors[i].rgbGreen} << 8 | d.Colors[i].rgbBlue);
  return out;
}

using Reducer = void (*)(const tdibinfo&, tdibinfo&, const tprogressstep&);
struct NamedReducer {
  const char* name;
  Reducer run;
  unsigned bits;
  int leaves;
};
const NamedReducer kReducers[] = {
    {"fast 8", ConvertTrueColorTo8BitRGB, 8, 256},
    {"fast 4", ConvertTrueColorTo4BitRGB, 4, 16},
    {"fine 8", ConvertTrueColorTo8BitRGBHigh, 8, 256},
    {"fine 4", ConvertTrueColorTo4BitRGBHigh, 4, 16},
};

}  // namespace

TEST(Expansions, KeepIndicesAndColourTable) {
  OwnedDib one(11, -2, 1, 2);
  one.info.Colors[1] = tdibrgbquad{9, 8, 7, 0};
  for (uint32_t x = 0; x < 11; x += 3) SetPixel(one.info, x, 1, 1);
  OwnedDib four, eight, four8, t1, t4, t8;
  Convert1BitRGBTo4BitRGB(one.info, four.info);
  Convert1BitRGBTo8BitRGB(one.info, eight.info);
  Convert4BitRGBTo8BitRGB(four.info, four8.info);
  Convert1BitRGBToTrueColor(one.info, t1.info);
  Convert4BitRGBToTrueColor(four.info, t4.info);
  Convert8BitRGBToTrueColor(eight.info, t8.info);
  for (const OwnedDib* d : {&four, &eight, &four8, &t1, &t4, &t8}) {
    EXPECT_EQ(d->info.Header.biHeight, -2);
    EXPECT_EQ(d->info.Header.biClrUsed, 2u);
    EXPECT_EQ(d->info.Header.biCompression, 0u);
    EXPECT_EQ(Colors(d->info), Colors(one.info));
  }
  EXPECT_EQ(Pixel(four.info, 9, 1), 1u);
  EXPECT_EQ(Pixel(eight.info, 10, 1), 0u);
  EXPECT_EQ(Pixel(t8.info, 9, 1), 0x070809u);
  // 11 pixels at 4 bits: the last byte holds one pixel and an empty low nibble.
  EXPECT_EQ(RowAt(four.info, 1)[5], 0x00);
  EXPECT_EQ(RowAt(four.info, 1)[4], 0x01);
}

TEST(Expansions, RefuseTheWrongSource) {
  OwnedDib eight(2, 2, 8), out;
  EXPECT_THROW(Convert1BitRGBTo4BitRGB(eight.info, out.info), EtbitmapexBadDIBType);
  EXPECT_THROW(Convert4BitRGBToTrueColor(eight.info, out.info), EtbitmapexBadDIBType);
  eight.info.Header.biCompression = 1;
  EXPECT_THROW(Convert8BitRGBToTrueColor(eight.info, out.info), EtbitmapexBadDIBType);
  EXPECT_EQ(out.info.Bits, nullptr);
  // A header that claims more rows than the block holds.
  OwnedDib lying(2, 2, 8);
  lying.info.Header.biHeight = 200;
  EXPECT_THROW(Convert8BitRGBToTrueColor(lying.info, out.info), EtbitmapexInvalidDIB);
  lying.info.Header.biHeight = 2;
}

TEST(Masks, MarkEveryPixelOfTheMaskColour) {
  OwnedDib eight(3, 1, 8, 4);
  eight.info.Colors[1] = tdibrgbquad{0x30, 0x20, 0x10, 0};
  eight.info.Colors[3] = tdibrgbquad{0x30, 0x20, 0x10, 0x77};  // same colour, other reserved byte
  SetPixel(eight.info, 0, 0, 1);
  SetPixel(eight.info, 1, 0, 2);
  SetPixel(eight.info, 2, 0, 3);
  OwnedDib mask;
  Convert8BitRGBTo1BitRGB(eight.info, mask.info, 0x302010);
  EXPECT_EQ(RowAt(mask.info, 0)[0], 0xA0);
  EXPECT_EQ(mask.info.Header.biClrUsed, 2u);
  EXPECT_EQ(Palette(mask.info), (std::vector<uint32_t>{0x000000, 0xFFFFFF}));

  OwnedDib four(3, 1, 4, 16);
  four.info.Colors[5] = tdibrgbquad{255, 255, 255, 0};
  SetPixel(four.info, 1, 0, 5);
  OwnedDib mask4;
  Convert4BitRGBTo1BitRGB(four.info, mask4.info, 0xFFFFFF);
  EXPECT_EQ(RowAt(mask4.info, 0)[0], 0x40);

  OwnedDib rgb(9, 1, 24);
  SetPixel(rgb.info, 8, 0, 0x102030);  // 0x00RRGGBB: red 0x10
  SetPixel(rgb.info, 0, 0, 0x302010);
  OwnedDib mask24;
  ConvertTrueColorTo1BitRGB(rgb.info, mask24.info, 0x302010);  // 0x00BBGGRR: red 0x10
  EXPECT_EQ(RowAt(mask24.info, 0)[0], 0x00);
  EXPECT_EQ(RowAt(mask24.info, 0)[1], 0x80);
}

TEST(Reduction, SingleColourGivesOneEntryAndEveryProgressStep) {
  for (const auto& r : kReducers) {
    OwnedDib rgb(5, 3, 24);
    for (uint32_t y = 0; y < 3; ++y)
      for (uint32_t x = 0; x < 5; ++x) SetPixel(rgb.info, x, y, 0x4080C0);
    OwnedDib out;
    out.info.Colors[7].rgbRed = 1;
    Counter count;
    rgb.info.Colors[9].rgbGreen = 66;  // entries past the palette keep the source's values
    r.run(rgb.info, out.info, count.Step());
    EXPECT_EQ(count.calls, r.leaves) << r.name;
    EXPECT_EQ(Palette(out.info), std::vector<uint32_t>{0x4080C0}) << r.name;
    EXPECT_EQ(out.info.Header.biBitCount, r.bits);
    EXPECT_EQ(out.info.Colors[9].rgbGreen, 66);
    for (uint32_t y = 0; y < 3; ++y)
      for (uint32_t x = 0; x < 5; ++x) EXPECT_EQ(Pixel(out.info, x, y), 0u) << r.name;
  }
}

TEST(Reduction, FastMethodMergesColoursOfOneHistogramCell) {
  // Red 8 and 15 share the 5-6-5 key. The fast method sees one cell coloured
  // with the pixels' mean (bits dropped from the key averaged, truncated);
  // the fine method splits them.
  OwnedDib rgb(4, 1, 24);
  SetPixel(rgb.info, 0, 0, 0x080000);
  SetPixel(rgb.info, 1, 0, 0x080000);
  SetPixel(rgb.info, 2, 0, 0x080000);
  SetPixel(rgb.info, 3, 0, 0x0F0000);
  OwnedDib fast, fine;
  ConvertTrueColorTo8BitRGB(rgb.info, fast.info, nullptr);
  ConvertTrueColorTo8BitRGBHigh(rgb.info, fine.info, nullptr);
  EXPECT_EQ(Palette(fast.info), std::vector<uint32_t>{0x090000});
  EXPECT_EQ(Palette(fine.info), (std::vector<uint32_t>{0x0F0000, 0x080000}));
  EXPECT_EQ(Pixel(fine.info, 3, 0), 0u);
  EXPECT_EQ(Pixel(fine.info, 0, 0), 1u);
}

TEST(Reduction, PaletteListsTheUpperSideOfEachSplitFirst) {
  // Blue varies most: the first split is on blue; green decides the next.
  for (const auto& r : kReducers) {
    OwnedDib rgb(4, 1, 24);
    SetPixel(rgb.info, 0, 0, 0x000010);
    SetPixel(rgb.info, 1, 0, 0x0040F0);
    SetPixel(rgb.info, 2, 0, 0x0000F0);
    SetPixel(rgb.info, 3, 0, 0x004010);
    OwnedDib out;
    r.run(rgb.info, out.info, nullptr);
    EXPECT_EQ(Palette(out.info), (std::vector<uint32_t>{0x0040F0, 0x0000F0, 0x004010, 0x000010})) << r.name;
    EXPECT_EQ(Pixel(out.info, 0, 0), 3u) << r.name;
    EXPECT_EQ(Pixel(out.info, 1, 0), 0u) << r.name;
  }
}

TEST(Reduction, SplitChannelFavoursGreenAndBreaksTiesTowardsRed) {
  // Equal spreads: red wins a tie with green only if 3 vR >= 4 vG, which
  // fails, so green splits first; blue needs twice red's variance.
  for (const auto& r : kReducers) {
    OwnedDib rgb(4, 1, 24);
    SetPixel(rgb.info, 0, 0, 0x000000);
    SetPixel(rgb.info, 1, 0, 0x640000);
    SetPixel(rgb.info, 2, 0, 0x006400);
    SetPixel(rgb.info, 3, 0, 0x646400);
    OwnedDib out;
    r.run(rgb.info, out.info, nullptr);
    EXPECT_EQ(Palette(out.info), (std::vector<uint32_t>{0x646400, 0x006400, 0x640000, 0x000000})) << r.name;
  }
}

TEST(Reduction, PictureReducesToItsOwnColoursWhenFewEnough) {
  // The corners of the colour cube, random layout: every split separates
  // them, so every reduction reproduces each pixel exactly.
  std::mt19937 rng(7);
  const uint32_t colors[8] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF};
  OwnedDib rgb(33, -17, 24);
  for (uint32_t y = 0; y < 17; ++y)
    for (uint32_t x = 0; x < 33; ++x) SetPixel(rgb.info, x, y, colors[rng() % 8]);
  for (const auto& r : kReducers) {
    OwnedDib out;
    Counter count;
    r.run(rgb.info, out.info, count.Step());
    EXPECT_EQ(count.calls, r.leaves);
    EXPECT_EQ(out.info.Header.biHeight, -17);
    EXPECT_EQ(out.info.Header.biClrUsed, 8u) << r.name;
    EXPECT_EQ(Colors(out.info), Colors(rgb.info)) << r.name;
  }
}

TEST(Reduction, EightToFourBitUsesOnlyTheIndicesInUse) {
  OwnedDib eight(7, 3, 8, 256);
  for (int i = 0; i < 256; ++i) eight.info.Colors[i] = tdibrgbquad{uint8_t(i), uint8_t(255 - i), 0, 0};
  const int used[3] = {3, 200, 250};
  for (uint32_t y = 0; y < 3; ++y)
    for (uint32_t x = 0; x < 7; ++x) SetPixel(eight.info, x, y, used[(x + y) % 3]);
  OwnedDib four;
  Counter count;
  Convert8BitRGBTo4BitRGB(eight.info, four.info, count.Step());
  EXPECT_EQ(count.calls, 16);
  EXPECT_EQ(four.info.Header.biBitCount, 4);
  EXPECT_EQ(four.info.Header.biClrUsed, 3u);
  EXPECT_EQ(Colors(four.info), Colors(eight.info));
  EXPECT_EQ(RowAt(four.info, 0)[3] & 0x0F, 0);
}

TEST(Reduction, FineMethodSplitsAtTheExactMean) {
  // Green values 10, 10, 11 have the mean 10.333...: 11 is above it and
  // 10 is not, in the partition and in the later walk alike.
  OwnedDib rgb(3, 1, 24);
  SetPixel(rgb.info, 0, 0, 0x000A00);
  SetPixel(rgb.info, 1, 0, 0x000A00);
  SetPixel(rgb.info, 2, 0, 0x000B00);
  OwnedDib out;
  ConvertTrueColorTo4BitRGBHigh(rgb.info, out.info, nullptr);
  EXPECT_EQ(Palette(out.info), (std::vector<uint32_t>{0x000B00, 0x000A00}));
  EXPECT_EQ(Colors(out.info), Colors(rgb.info));
}

TEST(Reduction, LeafColourIsTheRoundedWeightedMean) {
  tcolorcell cells[2] = {{10, 0, 0, 1, 0}, {11, 0, 0, 1, 1}};
  tdibrgbquad palette[16];
  int count = 0;
  // One level: both cells fall in a single leaf, mean 10.5 rounds to even.
  DivideColorCells(cells, 0, 2, 0, 0, palette, count, nullptr);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(palette[0].rgbRed, 10);
  cells[0] = {11, 0, 0, 3, 0};
  cells[1] = {12, 0, 0, 1, 1};
  count = 0;
  DivideColorCells(cells, 0, 2, 0, 0, palette, count, nullptr);
  EXPECT_EQ(palette[0].rgbRed, 11);  // 11.25
  EXPECT_EQ(cells[1].Count, 0);      // cells carry their palette index
}

TEST(Reduction, RefusesAnythingButTrueColour) {
  OwnedDib eight(2, 2, 8), out;
  EXPECT_THROW(ConvertTrueColorTo8BitRGB(eight.info, out.info, nullptr), EtbitmapexBadDIBType);
  EXPECT_THROW(ConvertTrueColorTo4BitRGBHigh(eight.info, out.info, nullptr), EtbitmapexBadDIBType);
  OwnedDib rgb(2, 2, 24);
  EXPECT_THROW(Convert8BitRGBTo4BitRGB(rgb.info, out.info, nullptr), EtbitmapexBadDIBType);
}
