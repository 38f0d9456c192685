// The panels' half mix on real bitmaps: truncated channel averages, weights,
// size mismatches and palette-based targets.
#include "bitmap/halfmix.h"

#include <gtest/gtest.h>

#include <vector>

#include "wingdiutil.h"

using namespace pendo;
using namespace pendo::test;

namespace {

uint32_t Mix(uint32_t c1, uint32_t c2, int p) {
  uint32_t out = 0;
  for (int s = 0; s < 24; s += 8) out |= (((c1 >> s) & 0xFF) * (100 - p) + ((c2 >> s) & 0xFF) * p) / 100 << s;
  return out;
}

uint32_t ColorA(int x, int y) { return Rgb(201 - x * 10, 100 + y, 3 + x * y); }
uint32_t ColorB(int x, int y) { return Rgb(x * 7, 101 + 2 * y, 255 - x); }

}  // namespace

TEST(HalfMix, EachChannelBecomesTheTruncatedWeightedMean) {
  for (int percent : {50, 25}) {
    SCOPED_TRACE(percent);
    HBITMAP a = ScreenBitmap(5, 3), b = ScreenBitmap(5, 3);
    PaintPixels(a, 5, 3, ColorA);
    PaintPixels(b, 5, 3, ColorB);
    HalfMix(a, b, percent);
    const std::vector<uint32_t> mixed = ReadPixels(a);
    ASSERT_EQ(mixed.size(), 15u);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(mixed[y * 5 + x], Mix(ColorA(x, y), ColorB(x, y), percent)) << x << "," << y;
    // (201 + 0) / 2 and (3 + 255) / 2 at 50 percent: the halves are dropped.
    if (percent == 50) {
      EXPECT_EQ(mixed[0], Rgb(100, 100, 129));
    }
    EXPECT_EQ(ReadPixels(b)[0], ColorB(0, 0));
    DeleteObject(a);
    DeleteObject(b);
  }
}

TEST(HalfMix, SizesThatDifferLeaveTheTargetAlone) {
  HBITMAP a = ScreenBitmap(5, 3), narrower = ScreenBitmap(4, 3), lower = ScreenBitmap(5, 2);
  PaintPixels(a, 5, 3, ColorA);
  const std::vector<uint32_t> before = ReadPixels(a);
  HalfMix(a, narrower, 50);
  HalfMix(a, lower, 50);
  EXPECT_EQ(ReadPixels(a), before);
  DeleteObject(a);
  DeleteObject(narrower);
  DeleteObject(lower);
}

TEST(HalfMix, PaletteTargetsAreMixedInColourAndWrittenBackThroughTheirTable) {
  // The table holds the mixes' results next to colours one step away, so a
  // rounded mix or an index mix lands on a wrong entry.
  const std::vector<uint32_t> table = {Rgb(200, 100, 50), Rgb(0, 0, 0),    Rgb(100, 51, 25), Rgb(100, 50, 25),
                                       Rgb(100, 52, 25),  Rgb(20, 40, 60), Rgb(100, 60, 25), Rgb(100, 61, 25)};
  void* bits = nullptr;
  HBITMAP a = DibSection(4, -1, 8, table, &bits);
  ASSERT_NE(a, nullptr);
  uint8_t* indices = static_cast<uint8_t*>(bits);
  indices[0] = 0;  // (200, 100, 50) with (0, 2, 0)     -> (100, 51, 25)
  indices[1] = 1;  // (0, 0, 0) with (201, 103, 51)     -> (100, 51, 25)
  indices[2] = 5;  // (20, 40, 60) with (20, 40, 60)    -> itself
  indices[3] = 0;  // (200, 100, 50) with (1, 21, 1)    -> (100, 60, 25)
  GdiFlush();
  HBITMAP b = ScreenBitmap(4, 1);
  const uint32_t second[4] = {Rgb(0, 2, 0), Rgb(201, 103, 51), Rgb(20, 40, 60), Rgb(1, 21, 1)};
  PaintPixels(b, 4, 1, [&](int x, int) { return second[x]; });

  HalfMix(a, b, 50);
  GdiFlush();
  EXPECT_EQ(indices[0], 2);
  EXPECT_EQ(indices[1], 2);
  EXPECT_EQ(indices[2], 5);
  EXPECT_EQ(indices[3], 6);
  DeleteObject(a);
  DeleteObject(b);
}

TEST(HalfMix, APaletteSecondBitmapIsReadAsColours) {
  void* bits = nullptr;
  HBITMAP b = DibSection(2, 1, 8, {Rgb(0, 0, 0), Rgb(200, 200, 200)}, &bits);
  static_cast<uint8_t*>(bits)[0] = 1;
  static_cast<uint8_t*>(bits)[1] = 0;
  GdiFlush();
  HBITMAP a = ScreenBitmap(2, 1);
  PaintPixels(a, 2, 1, [](int, int) { return Rgb(100, 0, 50); });
  HalfMix(a, b, 50);
  EXPECT_EQ(ReadPixels(a), (std::vector<uint32_t>{Rgb(150, 100, 125), Rgb(50, 0, 25)}));
  DeleteObject(a);
  DeleteObject(b);
}
