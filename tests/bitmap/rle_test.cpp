#include "bitmap/rle.h"

#include <gtest/gtest.h>

#include <random>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/internaldib.h"
#include "bitmaptestutil.h"

using namespace pendo;
using namespace pendo::test;

namespace {

std::vector<uint8_t> Stream(const tdibinfo& d) { return std::vector<uint8_t>(d.Bits, d.Bits + d.BitsSize); }

// An 8-bit picture of one row (plus rows of zeros, for room) from values.
void FillRow(OwnedDib& d, uint32_t yFromTop, const std::vector<uint8_t>& values) {
  for (uint32_t x = 0; x < values.size(); ++x) SetPixel(d.info, x, yFromTop, values[x]);
}

std::vector<uint8_t> EncodeRow8(const std::vector<uint8_t>& row, int32_t extraRows) {
  OwnedDib d(static_cast<int32_t>(row.size()), 1 + extraRows, 8, 256);
  FillRow(d, extraRows, row);  // bottom row: the first in the stream
  OwnedDib out;
  Convert8BitRGBTo8BitRLE(d.info, out.info);
  EXPECT_EQ(out.info.Header.biCompression, 1u);
  EXPECT_EQ(out.info.Header.biSizeImage, out.info.BitsSize);
  std::vector<uint8_t> s = Stream(out.info);
  // Keep the first row's codes and its end of line.
  size_t i = 0;
  while (!(s[i] == 0 && s[i + 1] == 0)) i += s[i] == 0 ? 2 + (s[i + 1] + 1) / 2 * 2 : 2;
  return std::vector<uint8_t>(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(i));
}

void ExpectRoundTrip(const tdibinfo& src) {
  OwnedDib packed, back;
  if (src.Header.biBitCount == 8) {
    Convert8BitRGBTo8BitRLE(src, packed.info);
    Convert8BitRLETo8BitRGB(packed.info, back.info);
  } else {
    Convert4BitRGBTo4BitRLE(src, packed.info);
    Convert4BitRLETo4BitRGB(packed.info, back.info);
  }
  EXPECT_GT(packed.info.Header.biHeight, 0);
  EXPECT_GT(back.info.Header.biHeight, 0);
  EXPECT_EQ(back.info.BitsSize, src.BitsSize);
  EXPECT_EQ(Indices(back.info), Indices(src));
}

// A run-length source description over given stream bytes.
struct RleSource {
  OwnedDib d;
  RleSource(int32_t w, int32_t h, unsigned bits, const std::vector<uint8_t>& bytes) {
    d.info.Header.biSize = 40;
    d.info.Header.biWidth = w;
    d.info.Header.biHeight = h;
    d.info.Header.biBitCount = static_cast<uint16_t>(bits);
    d.info.Header.biCompression = bits == 8 ? 1 : 2;
    tpixelblock block(bytes.size());
    std::copy(bytes.begin(), bytes.end(), block.Data());
    block.MoveInto(d.info);
  }
};

std::vector<uint8_t> Decoded(int32_t w, int32_t h, unsigned bits, const std::vector<uint8_t>& bytes) {
  RleSource s(w, h, bits, bytes);
  OwnedDib out;
  if (bits == 8) {
    Convert8BitRLETo8BitRGB(s.d.info, out.info);
  } else {
    Convert4BitRLETo4BitRGB(s.d.info, out.info);
  }
  return Stream(out.info);
}

}  // namespace

TEST(Rle8Encoder, SplitsRunsAndLiterals) {
  EXPECT_EQ(EncodeRow8(std::vector<uint8_t>(300, 9), 1), (std::vector<uint8_t>{255, 9, 45, 9}));
  // Rows of fewer than 5 bytes have no room for any stream, so each row
  // ends in a run of 9s.
  auto ending = [](std::vector<uint8_t> head, size_t nines) {
    head.insert(head.end(), nines, 9);
    return head;
  };
  EXPECT_EQ(EncodeRow8(ending({1, 2, 5, 5, 6}, 11), 0), (std::vector<uint8_t>{1, 1, 1, 2, 2, 5, 1, 6, 11, 9}));
  EXPECT_EQ(EncodeRow8(ending({1, 2, 5, 6}, 12), 0), (std::vector<uint8_t>{0, 4, 1, 2, 5, 6, 12, 9}));
  EXPECT_EQ(EncodeRow8(ending({1, 2, 5}, 13), 0), (std::vector<uint8_t>{0, 3, 1, 2, 5, 0, 13, 9}));
  EXPECT_EQ(EncodeRow8(ending({7, 8, 8, 8}, 12), 0), (std::vector<uint8_t>{1, 7, 3, 8, 12, 9}));
  EXPECT_EQ(EncodeRow8(ending({7}, 8), 0), (std::vector<uint8_t>{1, 7, 8, 9}));
  EXPECT_EQ(EncodeRow8(ending({}, 7), 0), (std::vector<uint8_t>{7, 9}));
  // A run that reached its limit restarts, and a literal after a run.
  std::vector<uint8_t> row(256, 4);
  row.push_back(1);
  row.push_back(2);
  row.push_back(3);
  EXPECT_EQ(EncodeRow8(row, 1), (std::vector<uint8_t>{255, 4, 0, 4, 4, 1, 2, 3}));
}

TEST(Rle8Encoder, CutsLiteralsAt255) {
  std::vector<uint8_t> row;
  for (int i = 0; i < 300; ++i) row.push_back(static_cast<uint8_t>(i % 2 ? 1 : 2 + i % 7));
  const std::vector<uint8_t> codes = EncodeRow8(row, 2);
  ASSERT_GE(codes.size(), 258u);
  EXPECT_EQ(codes[0], 0);
  EXPECT_EQ(codes[1], 255);
  EXPECT_EQ(codes[257], 0);  // fill byte of the odd literal
  EXPECT_EQ(codes[258], 0);
  EXPECT_EQ(codes[259], 45);
}

TEST(Rle8Encoder, WritesBottomRowFirstWithPositiveHeight) {
  OwnedDib top(8, -2, 8, 256);
  FillRow(top, 0, std::vector<uint8_t>(8, 1));
  FillRow(top, 1, std::vector<uint8_t>(8, 2));
  OwnedDib out;
  Convert8BitRGBTo8BitRLE(top.info, out.info);
  EXPECT_EQ(out.info.Header.biHeight, 2);
  EXPECT_EQ(Stream(out.info), (std::vector<uint8_t>{8, 2, 0, 0, 8, 1, 0, 0, 0, 1}));
  OwnedDib back;
  Convert8BitRLETo8BitRGB(out.info, back.info);
  EXPECT_EQ(back.info.Header.biHeight, 2);
  EXPECT_EQ(Indices(back.info), Indices(top.info));
  EXPECT_EQ(RowAt(back.info, 0)[0], 2);
}

TEST(Rle8Encoder, RefusesStreamsLargerThanThePicture) {
  // Room is checked before each code: 8 pixels in one row fit exactly
  // (run 2 + end of line 2 + end of bitmap 2 within 8); 4 pixels in each of
  // two rows do not (the second run finds 4 bytes free of the 6 it needs).
  OwnedDib fits(8, 1, 8), tight(4, 2, 8), out;
  Convert8BitRGBTo8BitRLE(fits.info, out.info);
  EXPECT_EQ(out.info.BitsSize, 6u);
  OwnedDib none;
  EXPECT_THROW(Convert8BitRGBTo8BitRLE(tight.info, none.info), EtbitmapexCompressionFailed);
  EXPECT_EQ(none.info.Bits, nullptr);
}

TEST(Rle8Encoder, RandomPictureStaysUncompressed) {
  tinternaldib dib;
  dib.SetFormat(64, 64, 8, 256);
  std::mt19937 rng(3);
  for (uint32_t i = 0; i < dib.Info.BitsSize; ++i) dib.Info.Bits[i] = static_cast<uint8_t>(rng());
  const std::vector<uint8_t> before(dib.Info.Bits, dib.Info.Bits + dib.Info.BitsSize);
  const long blocks = MappedBlockCount();
  EXPECT_THROW(dib.SetPixelsFormat(pf8BitRLE, 0, nullptr, 0), EtbitmapexCompressionFailed);
  EXPECT_EQ(MappedBlockCount(), blocks);
  EXPECT_EQ(dib.GetPixelsFormat(), pf8Bit);
  EXPECT_EQ(std::vector<uint8_t>(dib.Info.Bits, dib.Info.Bits + dib.Info.BitsSize), before);
}

TEST(Rle4Encoder, CountsPixelsNotBytes) {
  // Odd width, all bytes equal: one run with the row's pixel count. (A row
  // of 5 pixels fills only 4 bytes, too few for any stream; 13 has room.)
  OwnedDib odd(13, 3, 4, 16), out;
  for (uint32_t x = 0; x < 13; ++x) SetPixel(odd.info, x, 2, x % 2 ? 0x3 : 0xA);
  RowAt(odd.info, 0)[6] = 0xA3;  // the half-used last byte matches its neighbours
  Convert4BitRGBTo4BitRLE(odd.info, out.info);
  const std::vector<uint8_t> s = Stream(out.info);
  EXPECT_EQ(std::vector<uint8_t>(s.begin(), s.begin() + 4), (std::vector<uint8_t>{13, 0xA3, 0, 0}));
  EXPECT_EQ(out.info.Header.biCompression, 2u);

  // A literal of seven bytes in a row of 13 pixels: 0, 13, bytes, fill.
  OwnedDib lit(13, 3, 4, 16), out2;
  const uint8_t bytes[7] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xD0};
  std::copy(bytes, bytes + 7, RowAt(lit.info, 0));
  Convert4BitRGBTo4BitRLE(lit.info, out2.info);
  const std::vector<uint8_t> s2 = Stream(out2.info);
  EXPECT_EQ(std::vector<uint8_t>(s2.begin(), s2.begin() + 10),
            (std::vector<uint8_t>{0, 13, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xD0, 0}));

  // Runs stop at 127 bytes: 300 pixels are 254 + 46.
  OwnedDib wide(300, 2, 4, 16), out3;
  Convert4BitRGBTo4BitRLE(wide.info, out3.info);
  const std::vector<uint8_t> s3 = Stream(out3.info);
  EXPECT_EQ(std::vector<uint8_t>(s3.begin(), s3.begin() + 6), (std::vector<uint8_t>{254, 0, 46, 0, 0, 0}));
}

TEST(RleCodecs, RoundTripKeepsEveryPixel) {
  std::mt19937 rng(11);
  for (unsigned bits : {4u, 8u}) {
    int packed = 0;
    for (int32_t w = 1; w <= 40; w += 3) {
      for (int32_t h : {4, -3}) {
        OwnedDib d(w, h, bits, 16);
        // Short runs and literals of a few values compress well enough.
        for (uint32_t y = 0; y < d.info.Rows(); ++y) {
          uint32_t v = rng() % 4;
          for (uint32_t x = 0; x < static_cast<uint32_t>(w); ++x) {
            if (rng() % 8 == 0) v = rng() % 4;
            SetPixel(d.info, x, y, v);
          }
        }
        try {
          ExpectRoundTrip(d.info);
          ++packed;
        } catch (const EtbitmapexCompressionFailed&) {
          // Narrow or busy pictures may not fit; the encoder then refuses.
        }
      }
    }
    EXPECT_GT(packed, 14) << bits;
  }
}

TEST(RleDecoders, FollowDeltasAndAbsoluteRuns) {
  // 8 bits, 5 x 3: absolute run of 3 with fill, delta right 1 and up 1,
  // a run, end of bitmap; skipped pixels stay 0.
  std::vector<uint8_t> expected(24, 0);
  expected[0] = 7, expected[1] = 8, expected[2] = 9, expected[8 + 4] = 4;
  EXPECT_EQ(Decoded(5, 3, 8, {0, 3, 7, 8, 9, 0, 0, 2, 1, 1, 1, 4, 0, 1}), expected);
  // 4 bits, width 5: an odd run leaves the high nibble, the next run starts
  // in the low nibble; an absolute run of 3 nibbles skips 2 bytes.
  EXPECT_EQ(Decoded(5, 2, 4, {3, 0x12, 2, 0x34, 0, 0, 0, 3, 0x56, 0x70, 0, 1}),
            (std::vector<uint8_t>{0x12, 0x13, 0x40, 0, 0x56, 0x70, 0, 0}));
}

TEST(RleDecoders, RefuseStreamsThatLeaveThePicture) {
  const struct {
    const char* what;
    int32_t w, h;
    unsigned bits;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"run across the right edge", 4, 2, 8, {5, 1, 0, 1}},
      {"run after the last row", 4, 1, 8, {0, 0, 1, 1, 0, 1}},
      {"end of line past the last row", 4, 1, 8, {0, 0, 0, 0, 0, 1}},
      {"delta past the right edge", 4, 2, 8, {0, 2, 5, 0, 0, 1}},
      {"delta past the top", 4, 2, 8, {0, 2, 0, 3, 0, 1}},
      {"absolute run across the edge", 4, 2, 8, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}},
      {"run past the padded row", 5, 1, 8, {9, 1, 0, 1}},
      {"absolute run past the padded row", 5, 1, 8, {0, 2, 4, 0, 0, 5, 1, 2, 3, 4, 5, 0, 0, 1}},
      {"4-bit run past the padded row", 5, 1, 4, {9, 0x11, 0, 1}},
  };
  for (const auto& c : cases) {
    RleSource s(c.w, c.h, c.bits, c.bytes);
    OwnedDib out;
    const long blocks = MappedBlockCount();
    if (c.bits == 8) {
      EXPECT_THROW(Convert8BitRLETo8BitRGB(s.d.info, out.info), EtbitmapexInvalidDIB) << c.what;
    } else {
      EXPECT_THROW(Convert4BitRLETo4BitRGB(s.d.info, out.info), EtbitmapexInvalidDIB) << c.what;
    }
    EXPECT_EQ(MappedBlockCount(), blocks) << c.what;
    EXPECT_EQ(out.info.Bits, nullptr);
  }
}

// Writers run on into a row's padding and end streams without their
// end-of-bitmap code; pixels past the width are dropped, and where the
// stream ends the picture ends, the rows not reached left at index 0.
TEST(RleDecoders, ClipPaddingAndStopWhereTheStreamEnds) {
  const struct {
    const char* what;
    int32_t w, h;
    unsigned bits;
    std::vector<uint8_t> bytes, expected;
  } cases[] = {
      {"runs into the padding", 5, 2, 8, {8, 7, 0, 0, 0, 2, 3, 0, 0, 5, 1, 2, 3, 4, 5, 0, 0, 1},
       {7, 7, 7, 7, 7, 0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 0}},
      {"4-bit run into the padding", 5, 1, 4, {8, 0x12, 0, 1}, {0x12, 0x12, 0x10, 0}},
      {"4-bit absolute run into the padding", 3, 1, 4, {0, 8, 0x12, 0x34, 0x56, 0x78, 0, 1}, {0x12, 0x30, 0, 0}},
      {"no end of bitmap", 4, 2, 8, {4, 1, 0, 0}, {1, 1, 1, 1, 0, 0, 0, 0}},
      {"empty stream", 4, 2, 8, {}, {0, 0, 0, 0, 0, 0, 0, 0}},
      {"odd byte at the end", 4, 2, 8, {4, 1, 0}, {1, 1, 1, 1, 0, 0, 0, 0}},
      {"absolute run cut short", 4, 2, 8, {0, 4, 1, 2}, {1, 2, 0, 0, 0, 0, 0, 0}},
      {"absolute run without its fill", 4, 2, 8, {0, 3, 1, 2, 3}, {1, 2, 3, 0, 0, 0, 0, 0}},
      {"delta cut short", 4, 2, 8, {0, 2, 1}, {0, 0, 0, 0, 0, 0, 0, 0}},
      {"4-bit absolute run cut short", 8, 1, 4, {0, 6, 0x12, 0x34}, {0x12, 0x34, 0, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(Decoded(c.w, c.h, c.bits, c.bytes), c.expected) << c.what;
}

TEST(RleCodecs, RefuseTheWrongSource) {
  OwnedDib four(4, 1, 4), eight(4, 1, 8), out;
  EXPECT_THROW(Convert8BitRGBTo8BitRLE(four.info, out.info), EtbitmapexBadDIBType);
  EXPECT_THROW(Convert4BitRGBTo4BitRLE(eight.info, out.info), EtbitmapexBadDIBType);
  EXPECT_THROW(Convert8BitRLETo8BitRGB(eight.info, out.info), EtbitmapexBadDIBType);
  EXPECT_THROW(Convert4BitRLETo4BitRGB(four.info, out.info), EtbitmapexBadDIBType);
}
