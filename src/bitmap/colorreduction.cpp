#include "bitmap/colorreduction.h"

#include <cmath>
#include <utility>
#include <vector>

#include "bitmap/conversionsupport.h"
#include "bitmap/pixelmemory.h"

namespace pendo {

using detail::BeginResult;
using detail::RequireSource;

namespace {

inline void Step(const tprogressstep& progress) {
  if (progress) progress();
}

inline uint8_t NearestByte(long double v) { return static_cast<uint8_t>(std::nearbyint(v)); }

// Channel sums of a range; means and variances are taken from them in
// extended precision. The sums are exact integers, so comparing
// value * weight with the channel sum is the exact test value <= mean,
// the same for the partition and for the later tree walk.
struct tchannelsums {
  uint64_t Weight = 0;
  uint64_t Sum[3] = {};     // red, green, blue
  uint64_t Square[3] = {};  // red², green², blue²

  void Add(uint64_t count, uint32_t r, uint32_t g, uint32_t b) {
    Weight += count;
    Sum[0] += count * r;
    Sum[1] += count * g;
    Sum[2] += count * b;
    Square[0] += count * r * r;
    Square[1] += count * g * g;
    Square[2] += count * b * b;
  }
  long double Mean(int c) const {
    return static_cast<long double>(Sum[c]) / static_cast<long double>(Weight);
  }
  long double Variance(int c) const {
    const long double m = Mean(c);
    return static_cast<long double>(Square[c]) / static_cast<long double>(Weight) - m * m;
  }
  // 0 red, 1 green, 2 blue; ties go to red, then green.
  int SplitChannel() const {
    const long double vr = Variance(0), vg = Variance(1), vb = Variance(2);
    if (3 * vr >= 4 * vg && 3 * vr >= 2 * vb) return 0;
    if (4 * vg >= 3 * vr && 4 * vg >= 2 * vb) return 1;
    return 2;
  }
  bool AboveMean(int c, uint32_t value) const { return uint64_t{value} * Weight > Sum[c]; }
  tdibrgbquad MeanColor() const {
    return tdibrgbquad{NearestByte(Mean(2)), NearestByte(Mean(1)), NearestByte(Mean(0)), 0};
  }
};

inline int32_t CellChannel(const tcolorcell& c, int channel) {
  return channel == 0 ? c.Red : channel == 1 ? c.Green : c.Blue;
}

// Writes the index of pixel x into a 4- or 8-bit row.
inline void PutIndex(uint8_t* row, unsigned bits, uint32_t x, unsigned index) {
  if (bits == 8) {
    row[x] = static_cast<uint8_t>(index);
  } else {
    row[x >> 1] |= static_cast<uint8_t>((x & 1) ? (index & 0x0F) : (index & 0x0F) << 4);
  }
}

void InstallPalette(tdibinfo& out, const tdibrgbquad* palette, int count) {
  out.Header.biClrUsed = static_cast<uint32_t>(count);
  for (int i = 0; i < count; ++i) out.Colors[i] = palette[i];
}

inline uint32_t Key565(uint32_t b, uint32_t g, uint32_t r) { return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3); }

void ReduceFast(const tdibinfo& src, tdibinfo& dst, unsigned bits, int maxDepth, const tprogressstep& progress) {
  RequireSource(src, 24, kBiRgb);
  tdibinfo out = BeginResult(src, bits, kBiRgb);
  const uint32_t width = static_cast<uint32_t>(src.Header.biWidth);
  const uint32_t rows = src.Rows();
  const uint32_t inRow = src.RowSize();

  std::vector<tcolorcell> cells(65536);
  for (int k = 0; k < 65536; ++k) cells[k] = tcolorcell{0, 0, 0, 0, k};
  for (uint32_t y = 0; y < rows; ++y) {
    const uint8_t* s = src.Bits + uint64_t{y} * inRow;
    for (uint32_t x = 0; x < width; ++x, s += 3) {
      tcolorcell& c = cells[Key565(s[0], s[1], s[2])];
      ++c.Count;
      c.Red += s[2] & 7;
      c.Green += s[1] & 3;
      c.Blue += s[0] & 7;
    }
  }
  int n = 0;
  for (int k = 0; k < 65536; ++k) {
    tcolorcell c = cells[k];
    if (c.Count == 0) continue;
    c.Red = c.Red / c.Count + (k >> 11) * 8;
    c.Green = c.Green / c.Count + ((k >> 5) & 63) * 4;
    c.Blue = c.Blue / c.Count + (k & 31) * 8;
    cells[n++] = c;
  }
  tdibrgbquad palette[256];
  int paletteCount = 0;
  DivideColorCells(cells.data(), 0, n, 0, maxDepth, palette, paletteCount, progress);

  std::vector<uint8_t> table(65536, 0);
  for (int i = 0; i < n; ++i) table[cells[i].Key] = static_cast<uint8_t>(cells[i].Count);

  const uint32_t outRow = out.RowSize();
  tpixelblock block(uint64_t{outRow} * rows);
  for (uint32_t y = 0; y < rows; ++y) {
    const uint8_t* s = src.Bits + uint64_t{y} * inRow;
    uint8_t* d = block.Data() + uint64_t{y} * outRow;
    if (bits == 8) {
      for (uint32_t x = 0; x < width; ++x, s += 3) d[x] = table[Key565(s[0], s[1], s[2])];
    } else {
      for (uint32_t x = 0; x < width; ++x, s += 3) PutIndex(d, 4, x, table[Key565(s[0], s[1], s[2])]);
    }
  }
  block.MoveInto(out);
  InstallPalette(out, palette, paletteCount);
  dst = out;
}

// Decision tree of the fine method. The walk compares with Cut, the integer
// part of the stored mean: for whole channel values, v > mean exactly when
// v > floor(mean), and the partition made the same decision.
struct ttreenode {
  uint8_t DivideID = 3;  // 0 red, 1 green, 2 blue, 3 leaf
  long double Threshold = 0;
  int32_t Cut = 0;
  uint8_t PaletteIndex = 0;
  uint32_t Above = 0;
  uint32_t NotAbove = 0;
};

class tfinedivider {
 public:
  tfinedivider(uint8_t* pixels, int maxDepth, const tprogressstep& progress)
      : pixels_(pixels), maxDepth_(maxDepth), progress_(progress), nodes_(512) {}

  void Divide(size_t lo, size_t hi, int depth, uint32_t node) {
    if (lo == hi) {
      if (depth == maxDepth_) {
        Step(progress_);
      } else {
        Divide(lo, hi, depth + 1, node);
        Divide(lo, hi, depth + 1, node);
      }
      return;
    }
    tchannelsums sums;
    for (size_t i = lo; i < hi; ++i) {
      const uint8_t* p = pixels_ + 3 * i;
      sums.Add(1, p[2], p[1], p[0]);
    }
    ttreenode& t = nodes_[node];
    if (depth == maxDepth_) {
      t = ttreenode{};
      t.PaletteIndex = static_cast<uint8_t>(paletteCount_);
      palette_[paletteCount_++] = sums.MeanColor();
      Step(progress_);
      return;
    }
    const int channel = sums.SplitChannel();
    const int offset = 2 - channel;  // pixels are stored blue, green, red
    size_t i = lo, j = hi;
    do {
      while (i < j && !sums.AboveMean(channel, pixels_[3 * i + offset])) ++i;
      while (i < j && sums.AboveMean(channel, pixels_[3 * (j - 1) + offset])) --j;
      if (i != j) SwapPixels(i, j - 1);
    } while (i < j);
    const size_t split = i;
    t.DivideID = static_cast<uint8_t>(channel);
    t.Threshold = sums.Mean(channel);
    t.Cut = static_cast<int32_t>(std::floor(t.Threshold));
    t.PaletteIndex = 0;
    t.Above = nodeCount_++;
    t.NotAbove = nodeCount_++;
    const uint32_t above = t.Above, notAbove = t.NotAbove;
    Divide(split, hi, depth + 1, above);
    Divide(lo, split, depth + 1, notAbove);
  }

  // Palette index of one pixel (blue, green, red).
  uint8_t Lookup(const uint8_t* p) const {
    const ttreenode* t = &nodes_[0];
    while (t->DivideID != 3) {
      // Unknown ids cannot occur: every node the walk reaches was written by Divide.
      const int value = p[2 - t->DivideID];
      t = &nodes_[value > t->Cut ? t->Above : t->NotAbove];
    }
    return t->PaletteIndex;
  }

  const tdibrgbquad* Palette() const { return palette_; }
  int PaletteCount() const { return paletteCount_; }

 private:
  void SwapPixels(size_t a, size_t b) {
    uint8_t* pa = pixels_ + 3 * a;
    uint8_t* pb = pixels_ + 3 * b;
    std::swap(pa[0], pb[0]);
    std::swap(pa[1], pb[1]);
    std::swap(pa[2], pb[2]);
  }

  uint8_t* pixels_;
  int maxDepth_;
  const tprogressstep& progress_;
  std::vector<ttreenode> nodes_;
  uint32_t nodeCount_ = 1;
  tdibrgbquad palette_[256] = {};
  int paletteCount_ = 0;
};

void ReduceFine(const tdibinfo& src, tdibinfo& dst, unsigned bits, int maxDepth, const tprogressstep& progress) {
  RequireSource(src, 24, kBiRgb);
  tdibinfo out = BeginResult(src, bits, kBiRgb);
  const uint32_t width = static_cast<uint32_t>(src.Header.biWidth);
  const uint32_t rows = src.Rows();
  const uint32_t inRow = src.RowSize();
  const size_t count = size_t{width} * rows;

  std::vector<uint8_t> pixels(count * 3 + 4);
  for (uint32_t y = 0; y < rows; ++y) {
    std::copy(src.Bits + uint64_t{y} * inRow, src.Bits + uint64_t{y} * inRow + size_t{width} * 3,
              pixels.begin() + static_cast<std::ptrdiff_t>(size_t{y} * width * 3));
  }
  tfinedivider divider(pixels.data(), maxDepth, progress);
  divider.Divide(0, count, 0, 0);
  std::vector<uint8_t>().swap(pixels);

  const uint32_t outRow = out.RowSize();
  tpixelblock block(uint64_t{outRow} * rows);
  for (uint32_t y = 0; y < rows; ++y) {
    const uint8_t* s = src.Bits + uint64_t{y} * inRow;
    uint8_t* d = block.Data() + uint64_t{y} * outRow;
    for (uint32_t x = 0; x < width; ++x, s += 3) PutIndex(d, bits, x, divider.Lookup(s));
  }
  block.MoveInto(out);
  InstallPalette(out, divider.Palette(), divider.PaletteCount());
  dst = out;
}

}  // namespace

void DivideColorCells(tcolorcell* cells, int lo, int hi, int depth, int maxDepth, tdibrgbquad* palette,
                      int& paletteCount, const tprogressstep& progress) {
  if (lo == hi) {
    if (depth == maxDepth) {
      Step(progress);
    } else {
      DivideColorCells(cells, lo, hi, depth + 1, maxDepth, palette, paletteCount, progress);
      DivideColorCells(cells, lo, hi, depth + 1, maxDepth, palette, paletteCount, progress);
    }
    return;
  }
  tchannelsums sums;
  for (int i = lo; i < hi; ++i) {
    const tcolorcell& c = cells[i];
    sums.Add(static_cast<uint32_t>(c.Count), static_cast<uint32_t>(c.Red), static_cast<uint32_t>(c.Green),
             static_cast<uint32_t>(c.Blue));
  }
  if (depth == maxDepth) {
    palette[paletteCount] = sums.MeanColor();
    for (int i = lo; i < hi; ++i) cells[i].Count = paletteCount;
    ++paletteCount;
    Step(progress);
    return;
  }
  const int channel = sums.SplitChannel();
  int i = lo, j = hi;
  do {
    while (i < j && !sums.AboveMean(channel, static_cast<uint32_t>(CellChannel(cells[i], channel)))) ++i;
    while (i < j && sums.AboveMean(channel, static_cast<uint32_t>(CellChannel(cells[j - 1], channel)))) --j;
    if (i != j) std::swap(cells[i], cells[j - 1]);
  } while (i < j);
  const int split = i;
  DivideColorCells(cells, split, hi, depth + 1, maxDepth, palette, paletteCount, progress);
  DivideColorCells(cells, lo, split, depth + 1, maxDepth, palette, paletteCount, progress);
}

void ConvertTrueColorTo8BitRGB(const tdibinfo& src, tdibinfo& dst, const tprogressstep& progress) {
  ReduceFast(src, dst, 8, 8, progress);
}
void ConvertTrueColorTo4BitRGB(const tdibinfo& src, tdibinfo& dst, const tprogressstep& progress) {
  ReduceFast(src, dst, 4, 4, progress);
}
void ConvertTrueColorTo8BitRGBHigh(const tdibinfo& src, tdibinfo& dst, const tprogressstep& progress) {
  ReduceFine(src, dst, 8, 8, progress);
}
void ConvertTrueColorTo4BitRGBHigh(const tdibinfo& src, tdibinfo& dst, const tprogressstep& progress) {
  ReduceFine(src, dst, 4, 4, progress);
}

void Convert8BitRGBTo4BitRGB(const tdibinfo& src, tdibinfo& dst, const tprogressstep& progress) {
  RequireSource(src, 8, kBiRgb);
  tdibinfo out = BeginResult(src, 4, kBiRgb);
  const uint32_t width = static_cast<uint32_t>(src.Header.biWidth);
  const uint32_t rows = src.Rows();
  const uint32_t inRow = src.RowSize();

  int32_t uses[256] = {};
  for (uint32_t y = 0; y < rows; ++y) {
    const uint8_t* s = src.Bits + uint64_t{y} * inRow;
    for (uint32_t x = 0; x < width; ++x) ++uses[s[x]];
  }
  tcolorcell cells[256];
  int n = 0;
  for (int i = 0; i < 256; ++i) {
    if (uses[i] == 0) continue;
    const tdibrgbquad& c = src.Colors[i];
    cells[n++] = tcolorcell{c.rgbRed, c.rgbGreen, c.rgbBlue, uses[i], i};
  }
  tdibrgbquad palette[256];
  int paletteCount = 0;
  DivideColorCells(cells, 0, n, 0, 4, palette, paletteCount, progress);
  uint8_t map[256] = {};
  for (int i = 0; i < n; ++i) map[cells[i].Key] = static_cast<uint8_t>(cells[i].Count);

  const uint32_t outRow = out.RowSize();
  tpixelblock block(uint64_t{outRow} * rows);
  for (uint32_t y = 0; y < rows; ++y) {
    const uint8_t* s = src.Bits + uint64_t{y} * inRow;
    uint8_t* d = block.Data() + uint64_t{y} * outRow;
    for (uint32_t x = 0; x < width; ++x) PutIndex(d, 4, x, map[s[x]]);
  }
  block.MoveInto(out);
  InstallPalette(out, palette, paletteCount);
  dst = out;
}

}  // namespace pendo
