// tbitmapex on real GDI: sharing and copy on write, pixel addressing in every
// format, conversions with their progress reports, platform bitmaps in and
// out, drawing through the palette, the clipboard, files and registration.
#include "bitmap/bitmapex.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/bitmapexclasses.h"
#include "bitmap/pixelmemory.h"
#include "bitmaptestutil.h"
#include "framework/bitmap.h"
#include "framework/graphic.h"
#include "wingdiutil.h"

using namespace pendo;
using namespace pendo::test;

namespace {

// A picture of the given depth and signed height whose colour table holds
// colors (SetPalette).
tbitmapex Picture(int w, int h, int bits, const std::vector<uint32_t>& colors = {}) {
  tbitmapex p;
  if (bits == 24) p.SetPixelFormat(pf24Bit);
  if (bits == 1) p.SetPixelFormat(pf1Bit);
  if (bits == 4) {
    p.SetPixelFormat(pf24Bit);
    p.SetPixelFormat(pf4Bit);
  }
  p.SetWidth(w);
  p.SetHeight(h);
  if (!colors.empty()) {
    HPALETTE pal = MakePalette(colors);
    p.SetPalette(pal);
    DeleteObject(pal);
  }
  return p;
}

std::string PixelBytes(const tbitmapex& p) {
  const tdibinfo& i = p.InternalDIB().Info;
  return std::string(reinterpret_cast<const char*>(i.Bits), i.BitsSize);
}

// The process's handle count, or 0 where the system does not tell it (Wine
// answers 0); each replaced mapping is then checked closed on its own.
long ProcessHandles() {
  using Fn = BOOL(WINAPI*)(HANDLE, PDWORD);
  auto fn = reinterpret_cast<Fn>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcessHandleCount"));
  DWORD n = 0;
  if (fn == nullptr || !fn(GetCurrentProcess(), &n)) return 0;
  return static_cast<long>(n);
}

struct ProgressRecord {
  tprogressstage stage;
  int percent;
  bool redraw;
  RECT rect;
  std::string message;
};

}  // namespace

TEST(BitmapEx, NewPictureAndSizeChanges) {
  tbitmapex p;
  EXPECT_EQ(p.Width(), 1);
  EXPECT_EQ(p.Height(), 1);
  EXPECT_EQ(p.GetPixelFormat(), pf8Bit);
  EXPECT_FALSE(p.Empty());
  EXPECT_EQ(p.InternalDIB().Info.Header.biClrUsed, 2u);

  int changes = 0;
  p.OnChange = [&] { ++changes; };
  EXPECT_THROW(p.SetWidth(0), EtbitmapexInvalidDIBPara);
  EXPECT_THROW(p.SetWidth(-5), EtbitmapexInvalidDIBPara);
  EXPECT_THROW(p.SetHeight(0), EtbitmapexInvalidDIBPara);
  EXPECT_EQ(changes, 0);

  p.SetWidth(6);
  p.SetHeight(-5);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(p.Height(), 5);
  EXPECT_EQ(p.InternalDIB().Info.Header.biHeight, -5);
  EXPECT_EQ(p.InternalDIB().Info.Header.biClrUsed, 2u);
  p.SetHeight(5);  // the same (positive) height: nothing happens
  EXPECT_EQ(changes, 2);

  // A new size starts from zero, even where old and new overlap.
  p.SetPixel(0, 0, 7);
  p.SetWidth(7);
  EXPECT_EQ(p.InternalDIB().Info.Header.biHeight, 5);  // width changes keep a positive height
  EXPECT_EQ(p.GetPixel(0, 0), 0u);
  EXPECT_EQ(p.GetPixelFormat(), pf8Bit);
}

TEST(BitmapEx, PixelAddressingInEveryFormatAndRowOrder) {
  for (int bits : {1, 4, 8, 24}) {
    for (int sign : {1, -1}) {
      SCOPED_TRACE(testing::Message() << bits << " bits, height " << 3 * sign);
      tbitmapex p = Picture(13, 3 * sign, bits);
      ASSERT_EQ(p.InternalDIB().Info.Header.biBitCount, bits);
      const uint32_t mask = bits == 24 ? 0xFFFFFF : (1u << bits) - 1;
      auto value = [&](int x, int y) { return (0x9E3779B1u * (x + 13 * y + 1) >> 7) & mask; };
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 13; ++x) p.SetPixel(x, y, value(x, y));
      // The stored bytes, read with the test's own addressing (bottom-up
      // rows reversed, high bit or nibble first, blue-green-red).
      const tdibinfo& info = p.InternalDIB().Info;
      for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 13; ++x) {
          uint32_t stored = Pixel(info, x, y);
          if (bits == 24) stored = Rgb(stored >> 16, (stored >> 8) & 0xFF, stored & 0xFF);
          ASSERT_EQ(stored, value(x, y)) << x << "," << y;
          ASSERT_EQ(p.GetPixel(x, y), value(x, y)) << x << "," << y;
        }
      }
      const std::string before = PixelBytes(p);
      for (auto [x, y] : {std::pair{-1, 0}, {13, 0}, {0, -1}, {0, 3}}) {
        EXPECT_THROW(p.GetPixel(x, y), EtbitmapexPixelPositionRange);
        EXPECT_THROW(p.SetPixel(x, y, 1), EtbitmapexPixelPositionRange);
      }
      EXPECT_EQ(PixelBytes(p), before);
    }
  }
}

TEST(BitmapEx, WrittenValuesAreCutToThePixelAndSpareTheNeighbours) {
  tbitmapex one = Picture(9, 1, 1);
  one.SetPixel(3, 0, 0x100);  // any non-zero value sets the bit
  EXPECT_EQ(one.InternalDIB().Info.Bits[0], 0x10);
  one.SetPixel(8, 0, 1);
  one.SetPixel(3, 0, 0);
  EXPECT_EQ(one.InternalDIB().Info.Bits[0], 0x00);
  EXPECT_EQ(one.InternalDIB().Info.Bits[1], 0x80);

  tbitmapex four = Picture(3, 1, 4);
  four.SetPixel(0, 0, 0x1A);  // low nibble only
  four.SetPixel(1, 0, 0x25);
  EXPECT_EQ(four.InternalDIB().Info.Bits[0], 0xA5);
  four.SetPixel(2, 0, 0xF);
  four.SetPixel(0, 0, 0);
  EXPECT_EQ(four.InternalDIB().Info.Bits[0], 0x05);
  EXPECT_EQ(four.InternalDIB().Info.Bits[1], 0xF0);

  tbitmapex eight = Picture(2, 1, 8);
  eight.SetPixel(1, 0, 0x1AB);
  EXPECT_EQ(eight.GetPixel(1, 0), 0xABu);
  EXPECT_EQ(eight.GetPixel(0, 0), 0u);

  // Bottom-up, height 3: (0, 0) is the first pixel of the last stored row.
  tbitmapex rgb = Picture(2, 3, 24);
  rgb.SetPixel(0, 0, Rgb(1, 2, 3));
  const uint8_t* last = rgb.InternalDIB().Info.Bits + 2 * 8;
  EXPECT_EQ(last[0], 3);
  EXPECT_EQ(last[1], 2);
  EXPECT_EQ(last[2], 1);
}

TEST(BitmapEx, CompressedPicturesRefusePixelAccess) {
  tbitmapex p = Picture(16, 4, 8);
  p.SetPixelFormat(pf8BitRLE);
  ASSERT_EQ(p.GetPixelFormat(), pf8BitRLE);
  EXPECT_THROW(p.GetPixel(0, 0), EtbitmapexBadDIBType);
  EXPECT_THROW(p.SetPixel(0, 0, 1), EtbitmapexBadDIBType);
  EXPECT_THROW(p.GetPixel(99, 0), EtbitmapexBadDIBType);  // the format is checked first
}

TEST(BitmapEx, CopiesShareUntilOneWrites) {
  tbitmapex a = Picture(4, 2, 24);
  a.SetPixel(1, 1, Rgb(9, 8, 7));
  a.ReductionMode = 1;
  a.MaskColor = clRed;
  tbitmapex b;
  b.Assign(&a);
  EXPECT_EQ(&a.InternalDIB(), &b.InternalDIB());
  EXPECT_EQ(a.DIBShareCount(), 2);
  EXPECT_EQ(b.ReductionMode, 1);
  EXPECT_EQ(b.MaskColor, clRed);

  a.SetPixel(1, 1, Rgb(1, 1, 1));
  EXPECT_NE(&a.InternalDIB(), &b.InternalDIB());
  EXPECT_EQ(a.DIBShareCount(), 1);
  EXPECT_EQ(b.DIBShareCount(), 1);
  EXPECT_EQ(b.GetPixel(1, 1), Rgb(9, 8, 7));
  EXPECT_EQ(a.GetPixel(1, 1), Rgb(1, 1, 1));

  // Format, palette and size changes leave the other sharer alone too.
  tbitmapex c(b), d(b), e(b);
  c.SetPixelFormat(pf8Bit);
  d.SetPalette(nullptr);
  e.SetHeight(-7);
  EXPECT_EQ(b.DIBShareCount(), 1);
  EXPECT_EQ(b.GetPixelFormat(), pf24Bit);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(b.GetPixel(1, 1), Rgb(9, 8, 7));
  EXPECT_EQ(c.GetPixelFormat(), pf8Bit);

  // Position errors make no copy.
  tbitmapex f(b);
  EXPECT_THROW(f.SetPixel(4, 0, 1), EtbitmapexPixelPositionRange);
  EXPECT_EQ(&f.InternalDIB(), &b.InternalDIB());

  f.Assign(nullptr);
  EXPECT_EQ(f.Width(), 1);
  EXPECT_EQ(f.GetPixelFormat(), pf8Bit);
  EXPECT_EQ(b.DIBShareCount(), 1);
  f.Assign(&f);
  EXPECT_EQ(f.DIBShareCount(), 1);
}

TEST(BitmapEx, EachPixelBlockIsReleasedOnceByItsLastSharer) {
  const long base = MappedBlockCount();
  {
    auto a = std::make_unique<tbitmapex>();
    EXPECT_EQ(MappedBlockCount(), base + 1);
    auto b = std::make_unique<tbitmapex>(*a);
    tbitmapex c;
    c.Assign(a.get());
    EXPECT_EQ(MappedBlockCount(), base + 1);  // c's own placeholder went
    a.reset();
    b.reset();
    EXPECT_EQ(MappedBlockCount(), base + 1);
    EXPECT_EQ(c.DIBShareCount(), 1);
  }
  EXPECT_EQ(MappedBlockCount(), base);
}

TEST(BitmapEx, TenThousandFormatChangesLeaveNoHandleBehind) {
  tbitmapex p = Picture(16, 8, 24);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) p.SetPixel(x, y, x < 8 ? Rgb(255, 255, 255) : Rgb(0, 0, 128));
  tbitmapex shared(p);
  const long blocks = MappedBlockCount();
  const long handles = ProcessHandles();
  const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const int cycle[] = {pf8Bit, pf8BitRLE, pf8Bit, pf4Bit, pf4BitRLE, pf4Bit, pf1Bit, pf24Bit};
  HPALETTE previous = nullptr;
  int changes = 0;
  while (changes < 10000) {
    for (int format : cycle) {
      const HANDLE mapping = p.InternalDIB().Info.FileMap;
      p.SetPixelFormat(format);
      ASSERT_EQ(p.GetPixelFormat(), format);
      ++changes;
      // The replaced block's mapping is closed (the first change copied the
      // shared block, which stays open), and so is the palette made for the
      // old colour table.
      DWORD flags = 0;
      if (changes > 1) {
        ASSERT_FALSE(GetHandleInformation(mapping, &flags)) << "after change " << changes;
      }
      if (previous != nullptr) {
        ASSERT_EQ(GetObjectType(previous), 0u) << "after change " << changes;
      }
      // Expansions keep the colour table, so even 24 bits may have a palette.
      previous = p.GetPalette();
      if (format != pf24Bit) {
        ASSERT_NE(previous, nullptr);
      }
    }
    ASSERT_EQ(MappedBlockCount(), blocks + 1) << "after change " << changes;
  }
  EXPECT_EQ(MappedBlockCount(), blocks + 1);  // p's own copy beside the shared original
  if (handles > 0) {
    EXPECT_LE(ProcessHandles(), handles + 1);
  }
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 1);
  // Black-and-white survives every route; the mask marked the white half.
  EXPECT_EQ(p.GetPixel(0, 0), Rgb(255, 255, 255));
  EXPECT_EQ(p.GetPixel(15, 7), Rgb(0, 0, 0));
  EXPECT_EQ(shared.GetPixel(15, 7), Rgb(0, 0, 128));
}

TEST(BitmapEx, ReductionReportsItsProgress) {
  tbitmapex p = Picture(64, 16, 24);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 64; ++x) p.SetPixel(x, y, Rgb(x * 4, y * 16, (x * y) & 0xFF));
  std::vector<ProgressRecord> seen;
  int changes = 0;
  p.OnChange = [&] { ++changes; };
  p.OnProgress = [&](tgraphicex& sender, tprogressstage stage, int percent, bool redraw, const RECT& r,
                     const std::string& message) {
    EXPECT_EQ(&sender, &p);
    seen.push_back({stage, percent, redraw, r, message});
  };
  tbitmapex eight(p);
  eight.OnProgress = [&](tgraphicex&, tprogressstage stage, int percent, bool redraw, const RECT& r,
                         const std::string& message) { seen.push_back({stage, percent, redraw, r, message}); };
  eight.SetPixelFormat(pf8Bit);
  ASSERT_EQ(seen.size(), 257u);  // start, 255 steps (the 256th is not reported), end
  EXPECT_EQ(seen.front().stage, tprogressstage::psStarting);
  EXPECT_EQ(seen.front().percent, 0);
  EXPECT_FALSE(seen.front().redraw);
  for (size_t i = 1; i < 256; ++i) {
    ASSERT_EQ(seen[i].stage, tprogressstage::psRunning);
    ASSERT_EQ(seen[i].percent, static_cast<int>(i * 100 / 256));
    ASSERT_FALSE(seen[i].redraw);
  }
  EXPECT_EQ(seen[255].percent, 99);
  EXPECT_EQ(seen.back().stage, tprogressstage::psEnding);
  EXPECT_EQ(seen.back().percent, 100);
  EXPECT_TRUE(seen.back().redraw);
  for (const auto& r : seen) {
    EXPECT_EQ(r.message, "PixelFormat 24Bit -> 8Bit");
    EXPECT_EQ(r.rect.left, 0);
    EXPECT_EQ(r.rect.top, 0);
    EXPECT_EQ(r.rect.right, 64);
    EXPECT_EQ(r.rect.bottom, 16);
  }

  seen.clear();
  tbitmapex four(p);
  four.OnProgress = eight.OnProgress;
  four.SetPixelFormat(pf4Bit);
  ASSERT_EQ(seen.size(), 17u);
  EXPECT_EQ(seen[1].percent, 6);
  EXPECT_EQ(seen[15].percent, 93);
  EXPECT_EQ(seen.back().message, "PixelFormat 24Bit -> 4Bit");

  seen.clear();
  eight.SetPixelFormat(pf4Bit);
  ASSERT_EQ(seen.size(), 17u);
  EXPECT_EQ(seen.front().message, "PixelFormat 8Bit -> 4Bit");
  seen.clear();
  eight.SetPixelFormat(pf24Bit);  // expansions report nothing
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(changes, 0);  // the shared original saw none of it
  EXPECT_EQ(p.GetPixelFormat(), pf24Bit);
}

TEST(BitmapEx, FailedConversionStillEndsItsProgressAndKeepsThePicture) {
  // One pixel cannot be coded shorter than its 4-byte row.
  tbitmapex p = Picture(1, 1, 24);
  p.SetPixel(0, 0, Rgb(10, 20, 30));
  std::vector<tprogressstage> stages;
  int changes = 0;
  p.OnChange = [&] { ++changes; };
  p.OnProgress = [&](tgraphicex&, tprogressstage stage, int, bool, const RECT&, const std::string&) {
    stages.push_back(stage);
  };
  const long blocks = MappedBlockCount();
  EXPECT_THROW(p.SetPixelFormat(pf4BitRLE), EtbitmapexCompressionFailed);
  ASSERT_FALSE(stages.empty());
  EXPECT_EQ(stages.front(), tprogressstage::psStarting);
  EXPECT_EQ(stages.back(), tprogressstage::psEnding);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(MappedBlockCount(), blocks);
  EXPECT_EQ(p.GetPixelFormat(), pf24Bit);
  EXPECT_EQ(p.GetPixel(0, 0), Rgb(10, 20, 30));
}

TEST(BitmapEx, MaskConversionMarksTheMaskColour) {
  tbitmapex p = Picture(3, 1, 24);
  p.SetPixel(0, 0, Rgb(255, 0, 0));
  p.SetPixel(1, 0, Rgb(255, 255, 255));
  p.MaskColor = clRed;
  tbitmapex q(p);
  q.MaskColor = clWhite;
  p.SetPixelFormat(pf1Bit);
  q.SetPixelFormat(pf1Bit);
  EXPECT_EQ(p.GetPixel(0, 0), 1u);
  EXPECT_EQ(p.GetPixel(1, 0), 0u);
  EXPECT_EQ(q.GetPixel(0, 0), 0u);
  EXPECT_EQ(q.GetPixel(1, 0), 1u);
}

TEST(BitmapEx, PaletteFollowsTheColourTable) {
  HPALETTE given = MakePalette({Rgb(1, 2, 3), Rgb(200, 100, 50), Rgb(0, 0, 255)});
  tbitmapex p = Picture(2, 2, 8);
  p.SetPalette(given);
  // The caller keeps its handle; the picture draws with its own.
  EXPECT_NE(GetObjectType(given), 0u);
  EXPECT_NE(p.GetPalette(), given);
  EXPECT_EQ(p.InternalDIB().Info.Header.biClrUsed, 3u);
  EXPECT_EQ(p.InternalDIB().Info.Colors[1].rgbRed, 200);
  EXPECT_EQ(p.InternalDIB().Info.Colors[1].rgbBlue, 50);
  HPALETTE own = p.GetPalette();
  EXPECT_EQ(p.GetPalette(), own);  // kept
  PALETTEENTRY e[4] = {};
  EXPECT_EQ(GetPaletteEntries(own, 0, 4, e), 3u);
  EXPECT_EQ(e[2].peBlue, 255);
  DeleteObject(given);

  // A handle that yields no entries is refused and changes nothing.
  EXPECT_THROW(p.SetPalette(static_cast<HPALETTE>(GetStockObject(WHITE_BRUSH))), EtbitmapexInvalidPalette);
  EXPECT_EQ(p.InternalDIB().Info.Header.biClrUsed, 3u);
  EXPECT_EQ(p.GetPalette(), own);

  p.SetPalette(nullptr);
  EXPECT_EQ(GetObjectType(own), 0u);
  EXPECT_EQ(p.InternalDIB().Info.Header.biClrUsed, 0u);
  EXPECT_EQ(p.GetPalette(), nullptr);
}

TEST(BitmapEx, ScreenBitmapInAndOutKeepsEveryPixel) {
  const int w = 7, h = 5;
  HBITMAP source = ScreenBitmap(w, h);
  ASSERT_NE(source, nullptr);
  auto color = [](int x, int y) { return Rgb(x * 37 + 1, y * 51 + 2, (x * y * 13) & 0xFF); };
  PaintPixels(source, w, h, color);
  const std::vector<uint32_t> before = ReadPixels(source);
  ASSERT_EQ(before.size(), size_t{w * h});

  tbitmapex p;
  int changes = 0;
  p.OnChange = [&] { ++changes; };
  p.Assign(source);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(p.Width(), w);
  EXPECT_EQ(p.Height(), h);
  EXPECT_EQ(p.GetPixelFormat(), pf24Bit);
  EXPECT_GT(p.InternalDIB().Info.Header.biHeight, 0);
  EXPECT_EQ(p.GetPalette(), nullptr);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ASSERT_EQ(p.GetPixel(x, y), color(x, y)) << x << "," << y;

  HBITMAP back = ScreenBitmap(w, h);
  p.AssignTo(back);
  EXPECT_EQ(ReadPixels(back), before);
  HBITMAP wrongSize = ScreenBitmap(w + 1, h);
  EXPECT_THROW(p.AssignTo(wrongSize), EtbitmapexInvalidDIBPara);

  // A failed read keeps the picture.
  EXPECT_THROW(p.Assign(static_cast<HBITMAP>(nullptr)), EtbitmapexInvalidDIBPara);
  EXPECT_EQ(p.Width(), w);
  EXPECT_EQ(p.GetPixel(3, 2), color(3, 2));
  DeleteObject(source);
  DeleteObject(back);
  DeleteObject(wrongSize);
}

TEST(BitmapEx, FrameworkBitmapsInAndOut) {
  tbitmap source(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) source.Canvas().SetPixel(x, y, static_cast<tcolor>(Rgb(x * 40, y * 60, 7)));
  source.Canvas().Pen.SetColor(clRed);
  tbitmapex p;
  p.Assign(source);
  // The source keeps its picture and its canvas as they were.
  EXPECT_EQ(source.Canvas().Pen.Color(), clRed);
  EXPECT_EQ(source.Width(), 6);
  EXPECT_EQ(source.Canvas().Pixel(5, 3), Rgb(200, 180, 7));
  EXPECT_EQ(p.GetPixel(5, 3), Rgb(200, 180, 7));

  p.SetPixel(0, 0, Rgb(1, 2, 3));
  tbitmap target(1, 1);
  p.AssignTo(target);
  EXPECT_EQ(target.Width(), 6);
  EXPECT_EQ(target.Height(), 4);
  EXPECT_EQ(target.Canvas().Pixel(0, 0), Rgb(1, 2, 3));
  EXPECT_EQ(target.Canvas().Pixel(5, 3), Rgb(200, 180, 7));
}

TEST(BitmapEx, MonochromeAndPaletteBitmapsComeInWithTheirColourTables) {
  const BYTE rows[4] = {0xA0, 0, 0x40, 0};  // 3 pixels wide, rows of 2 bytes: 1 0 1 / 0 1 0
  HBITMAP mono = CreateBitmap(3, 2, 1, 1, rows);
  tbitmapex p;
  p.Assign(mono);
  EXPECT_EQ(p.GetPixelFormat(), pf1Bit);
  EXPECT_EQ(p.InternalDIB().Info.Header.biClrUsed, 2u);
  EXPECT_EQ(p.GetPixel(0, 0), 1u);
  EXPECT_EQ(p.GetPixel(1, 0), 0u);
  EXPECT_EQ(p.GetPixel(1, 1), 1u);
  EXPECT_EQ(p.InternalDIB().Info.Colors[1].rgbRed, 255);
  DeleteObject(mono);

  void* bits = nullptr;
  HBITMAP section = DibSection(4, -2, 8, {Rgb(0, 0, 0), Rgb(10, 20, 30), Rgb(40, 50, 60)}, &bits);
  ASSERT_NE(section, nullptr);
  static_cast<uint8_t*>(bits)[1] = 2;  // (1, 0) of the top-down section
  GdiFlush();
  p.Assign(section);
  EXPECT_EQ(p.GetPixelFormat(), pf8Bit);
  EXPECT_GE(p.InternalDIB().Info.Header.biClrUsed, 3u);
  EXPECT_EQ(p.GetPixel(1, 0), 2u);
  EXPECT_EQ(p.InternalDIB().Info.Colors[2].rgbGreen, 50);
  DeleteObject(section);
}

TEST(BitmapEx, DrawsAnEightBitPictureThroughItsPaletteExactly) {
  tbitmapex p = Picture(3, 2, 8, {Rgb(10, 20, 30), Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(1, 2, 3)});
  p.SetPixel(0, 0, 1);
  p.SetPixel(1, 0, 2);
  p.SetPixel(2, 0, 3);
  p.SetPixel(1, 1, 3);

  void* bits = nullptr;
  HBITMAP target = DibSection(12, -8, 24, {}, &bits);
  ASSERT_NE(target, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, target);
  const HGDIOBJ palBefore = GetCurrentObject(dc, OBJ_PAL);
  SetStretchBltMode(dc, HALFTONE);
  p.Draw(dc, RECT{2, 1, 5, 3});
  p.Draw(dc, RECT{5, 3, 11, 7});  // twice the size
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), palBefore);
  EXPECT_EQ(GetStretchBltMode(dc), HALFTONE);
  GdiFlush();

  const int stride = (12 * 3 + 3) / 4 * 4;
  auto at = [&](int x, int y) {
    const uint8_t* q = static_cast<uint8_t*>(bits) + y * stride + 3 * x;
    return Rgb(q[2], q[1], q[0]);
  };
  const uint32_t table[4] = {Rgb(10, 20, 30), Rgb(255, 0, 0), Rgb(0, 255, 0), Rgb(1, 2, 3)};
  EXPECT_EQ(at(0, 0), 0u);  // outside the picture
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      const uint32_t want = table[p.GetPixel(x, y)];
      EXPECT_EQ(at(2 + x, 1 + y), want) << x << "," << y;
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) EXPECT_EQ(at(5 + 2 * x + dx, 3 + 2 * y + dy), want) << x << "," << y;
    }
  }
  EXPECT_EQ(at(11, 7), 0u);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  DeleteObject(target);
}

TEST(BitmapEx, DrawsRunLengthAndTopDownPictures) {
  tbitmapex p = Picture(8, -2, 8, {Rgb(0, 0, 0), Rgb(9, 99, 199)});
  for (int x = 0; x < 8; ++x) p.SetPixel(x, 0, 1);  // top row
  tbitmapex rle(p);
  rle.SetPixelFormat(pf8BitRLE);
  void* bits = nullptr;
  HBITMAP target = DibSection(8, -4, 24, {}, &bits);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, target);
  p.Draw(dc, RECT{0, 0, 8, 2});
  rle.Draw(dc, RECT{0, 2, 8, 4});
  GdiFlush();
  const int stride = 24;
  for (int y = 0; y < 4; ++y) {
    const uint8_t* q = static_cast<uint8_t*>(bits) + y * stride;
    const uint32_t want = y % 2 == 0 ? Rgb(9, 99, 199) : 0;
    EXPECT_EQ(Rgb(q[2], q[1], q[0]), want) << "row " << y;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(target);
}

TEST(BitmapEx, ClipboardRoundTripAsPackedDib) {
  TestWindow window;
  ASSERT_NE(window.get(), nullptr);
  tbitmapex p = Picture(5, -3, 8, {Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9)});
  p.SetPixel(4, 2, 2);
  p.SetPixel(0, 0, 1);
  p.CopyToClipboard(window.get());
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_DIB));

  tbitmapex q;
  int changes = 0;
  q.OnChange = [&] { ++changes; };
  q.AssignFromClipboard(window.get());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(q.Width(), 5);
  EXPECT_EQ(q.Height(), 3);
  EXPECT_EQ(q.InternalDIB().Info.Header.biHeight, -3);
  EXPECT_EQ(q.InternalDIB().Info.Header.biClrUsed, 3u);
  EXPECT_EQ(q.InternalDIB().Info.Colors[2].rgbRed, 7);
  EXPECT_EQ(PixelBytes(q), PixelBytes(p));

  // A clipboard without a DIB: the picture stays and the clipboard is closed.
  ASSERT_TRUE(OpenClipboard(window.get()));
  EmptyClipboard();
  HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 2);
  static_cast<char*>(GlobalLock(text))[0] = 'x';
  GlobalUnlock(text);
  SetClipboardData(CF_TEXT, text);
  CloseClipboard();
  if (!IsClipboardFormatAvailable(CF_DIB)) {
    EXPECT_THROW(q.AssignFromClipboard(window.get()), EInvalidGraphic);
    EXPECT_EQ(PixelBytes(q), PixelBytes(p));
    ASSERT_TRUE(OpenClipboard(window.get()));
    CloseClipboard();
  }

  UINT format = 0;
  HANDLE data = p.SaveToClipboardFormat(format);
  EXPECT_EQ(format, static_cast<UINT>(CF_DIB));
  EXPECT_EQ(GlobalSize(data), 40u + 3 * 4 + 8 * 3);
  EXPECT_THROW(q.LoadFromClipboardFormat(CF_BITMAP, data), EInvalidGraphic);
  EXPECT_THROW(q.LoadFromClipboardFormat(CF_DIB, nullptr), EInvalidGraphic);
  try {
    q.LoadFromClipboardFormat(CF_BITMAP, data, nullptr);
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "encounted error.");
  }
  GlobalFree(data);
}

TEST(BitmapEx, FilesAndStreams) {
  tbitmapex p = Picture(3, 2, 24);
  p.SetPixel(2, 1, Rgb(11, 22, 33));
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "bitmapex_test.dib";
  p.SaveToFile(path);
  tbitmapex q;
  q.LoadFromFile(path);
  EXPECT_EQ(q.GetPixel(2, 1), Rgb(11, 22, 33));
  EXPECT_EQ(PixelBytes(q), PixelBytes(p));

  // A damaged stream keeps the picture that was there.
  const std::string zip = "PK\x03\x04 not a bitmap";
  tmemorysource junk(zip);
  int changes = 0;
  q.OnChange = [&] { ++changes; };
  EXPECT_THROW(q.LoadFromStream(junk), EtbitmapexInvalidDIBFile);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(q.GetPixel(2, 1), Rgb(11, 22, 33));

  // Loading into one sharer leaves the other as it was.
  tbitmapex shared(q);
  tstringsink other;
  Picture(9, 9, 1).SaveToStream(other);
  tmemorysource otherBytes(other.Bytes);
  q.LoadFromStream(otherBytes);
  EXPECT_EQ(q.Width(), 9);
  EXPECT_EQ(shared.Width(), 3);
  EXPECT_EQ(shared.DIBShareCount(), 1);
  std::remove(path.c_str());
}

TEST(BitmapEx, RegistersWithThePictures) {
  RegisterBitmapExClasses();
  EXPECT_TRUE(tpicture::SupportsClipboardFormat(CF_DIB));
  EXPECT_NE(tpicture::FileFilter().find("Device Independent Bitmap (*.dib)|*.dib"), std::string::npos);

  tbitmapex p = Picture(2, 2, 24);
  p.SetPixel(1, 0, Rgb(5, 6, 7));
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "bitmapex_reg.DIB";
  p.SaveToFile(path);
  tpicture picture;
  picture.LoadFromFile(path);
  auto* loaded = dynamic_cast<tbitmapex*>(picture.Graphic());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->GetPixel(1, 0), Rgb(5, 6, 7));

  // Copies of the picture share the DIB.
  tpicture copy(picture);
  auto* copied = dynamic_cast<tbitmapex*>(copy.Graphic());
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(&copied->InternalDIB(), &loaded->InternalDIB());

  UINT format = 0;
  HANDLE data = p.SaveToClipboardFormat(format);
  tpicture fromClipboard;
  fromClipboard.LoadFromClipboardFormat(CF_DIB, data);
  GlobalFree(data);
  auto* clip = dynamic_cast<tbitmapex*>(fromClipboard.Graphic());
  ASSERT_NE(clip, nullptr);
  EXPECT_EQ(clip->GetPixel(1, 0), Rgb(5, 6, 7));

  tpicture::UnregisterFileFormat("dib");
  EXPECT_EQ(tpicture::FileFilter().find("*.dib"), std::string::npos);
  EXPECT_THROW(picture.LoadFromFile(path), std::invalid_argument);
  std::remove(path.c_str());
}
