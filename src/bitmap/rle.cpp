#include "bitmap/rle.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "bitmap/conversionsupport.h"
#include "bitmap/pixelmemory.h"

namespace pendo {

using detail::BeginResult;
using detail::RequireSource;

namespace {

// The encoders' output: a work buffer of the uncompressed size. Before each
// code the room it may need is checked, so a picture whose stream would not
// fit stays uncompressed.
class trleoutput {
 public:
  explicit trleoutput(size_t capacity) : buf_(new (std::nothrow) uint8_t[capacity > 0 ? capacity : 1]), cap_(capacity) {
    if (!buf_) throw EOutOfResources();
  }

  void Need(size_t n) const {
    if (cap_ - used_ < n) throw EtbitmapexCompressionFailed();
  }
  void Put(uint8_t a, uint8_t b) {
    buf_[used_++] = a;
    buf_[used_++] = b;
  }
  void PutBytes(const uint8_t* p, size_t n) {
    std::memcpy(buf_.get() + used_, p, n);
    used_ += n;
  }
  void PutByte(uint8_t a) { buf_[used_++] = a; }
  void EndOfLine() {
    Need(4);
    Put(0, 0);
  }
  void EndOfBitmap() {
    Need(2);
    Put(0, 1);
  }
  static size_t LiteralRoom(size_t m) { return (m + 1) / 2 * 2 + 6; }

  const uint8_t* Data() const { return buf_.get(); }
  size_t Size() const { return used_; }

 private:
  std::unique_ptr<uint8_t[]> buf_;
  size_t cap_;
  size_t used_ = 0;
};

// Codes of an 8-bit row: one byte is one pixel.
class trle8row {
 public:
  static constexpr unsigned kLimit = 255;
  explicit trle8row(trleoutput& out) : out_(out) {}
  void Start(uint32_t) {}
  void Run(unsigned k, uint8_t v) {
    out_.Need(6);
    out_.Put(static_cast<uint8_t>(k), v);
  }
  void Literal(const uint8_t* p, unsigned m) {
    if (m < 1) return;  // cannot happen: a literal holds at least one byte
    out_.Need(trleoutput::LiteralRoom(m));
    if (m <= 2) {
      for (unsigned i = 0; i < m; ++i) out_.Put(1, p[i]);
      return;
    }
    out_.Put(0, static_cast<uint8_t>(m));
    out_.PutBytes(p, m);
    if (m & 1) out_.PutByte(0);
  }

 private:
  trleoutput& out_;
};

// Codes of a 4-bit row: one byte is two pixels, except the last byte of an
// odd-width row, so counts are cut to the pixels the row has left.
class trle4row {
 public:
  static constexpr unsigned kLimit = 127;
  explicit trle4row(trleoutput& out) : out_(out) {}
  void Start(uint32_t width) {
    width_ = width;
    done_ = 0;
  }
  void Run(unsigned k, uint8_t v) {
    out_.Need(6);
    const uint32_t count = Count(k);
    out_.Put(static_cast<uint8_t>(count), v);
    done_ += count;
  }
  void Literal(const uint8_t* p, unsigned m) {
    if (m < 1) return;  // cannot happen: a literal holds at least one byte
    out_.Need(trleoutput::LiteralRoom(m));
    if (m == 1) {
      Run(1, p[0]);
      return;
    }
    const uint32_t count = Count(m);
    out_.Put(0, static_cast<uint8_t>(count));
    out_.PutBytes(p, m);
    if (m & 1) out_.PutByte(0);
    done_ += count;
  }

 private:
  uint32_t Count(unsigned bytes) const { return std::min<uint32_t>(2 * bytes, width_ - done_); }

  trleoutput& out_;
  uint32_t width_ = 0;
  uint32_t done_ = 0;
};

// Splits one row of n bytes into runs and literals. A literal is always a
// slice of the row, so it is kept as its start and length.
template <class Row>
void EncodeRow(const uint8_t* row, uint32_t n, Row& w) {
  enum { kSingle, kRun, kLiteral } state = kSingle;
  constexpr unsigned limit = Row::kLimit;
  uint8_t v = row[0];
  unsigned k = 0;
  uint32_t litStart = 0;
  unsigned m = 0;
  for (uint32_t i = 1; i < n; ++i) {
    const uint8_t q = row[i];
    switch (state) {
      case kSingle:
        if (q == v) {
          k = 2;
          state = kRun;
        } else {
          litStart = i - 1;
          m = 2;
          state = kLiteral;
        }
        break;
      case kRun:
        if (q == v && k < limit) {
          ++k;
        } else {
          w.Run(k, v);
          v = q;
          state = kSingle;
        }
        break;
      case kLiteral:
        if (q == row[litStart + m - 1]) {
          w.Literal(row + litStart, m - 1);
          v = q;
          k = 2;
          state = kRun;
        } else if (m < limit) {
          ++m;
        } else {
          w.Literal(row + litStart, m);
          v = q;
          state = kSingle;
        }
        break;
    }
  }
  switch (state) {
    case kSingle: w.Run(1, v); break;
    case kRun: w.Run(k, v); break;
    case kLiteral: w.Literal(row + litStart, m); break;
  }
}

template <class Row>
void Encode(const tdibinfo& src, tdibinfo& dst, unsigned bits, uint32_t compression) {
  RequireSource(src, bits, kBiRgb);
  const uint32_t width = static_cast<uint32_t>(src.Header.biWidth);
  const uint32_t rows = src.Rows();
  const uint32_t rowSize = src.RowSize();
  const uint32_t rowBytes = bits == 8 ? width : (width + 1) / 2;
  trleoutput out(size_t{rowSize} * rows);
  Row coder(out);
  for (uint32_t r = 0; r < rows; ++r) {
    const uint32_t y = src.Header.biHeight > 0 ? r : rows - 1 - r;
    coder.Start(width);
    EncodeRow(src.Bits + uint64_t{y} * rowSize, rowBytes, coder);
    out.EndOfLine();
  }
  out.EndOfBitmap();

  tdibinfo result = BeginResult(src, bits, compression);
  tpixelblock block(out.Size());
  std::memcpy(block.Data(), out.Data(), out.Size());
  block.MoveInto(result);
  result.Header.biHeight = static_cast<int32_t>(rows);
  result.Header.biSizeImage = static_cast<uint32_t>(out.Size());
  dst = result;
}

// Reads a run-length stream; every code is checked against the picture.
// The stream may end anywhere, as streams without their end-of-bitmap code
// do: Take then gives what is left.
class trleinput {
 public:
  trleinput(const uint8_t* p, size_t size) : p_(p), size_(size) {}
  // Up to n bytes; got tells how many there were.
  const uint8_t* Take(size_t n, size_t& got) {
    got = std::min(n, size_ - pos_);
    const uint8_t* at = p_ + pos_;
    pos_ += got;
    return at;
  }

 private:
  const uint8_t* p_;
  size_t size_;
  size_t pos_ = 0;
};

// Writes pixels of a 4-bit row: even x in the high nibble.
inline void PutNibble(uint8_t* row, uint32_t x, unsigned v) {
  uint8_t& b = row[x >> 1];
  b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (v & 0x0F)) : static_cast<uint8_t>((b & 0x0F) | (v & 0x0F) << 4);
}

void Decode(const tdibinfo& src, tdibinfo& dst, unsigned bits, uint32_t compression) {
  RequireSource(src, bits, compression);
  const uint32_t width = static_cast<uint32_t>(src.Header.biWidth);
  const uint32_t rows = src.Rows();
  tdibinfo result = BeginResult(src, bits, kBiRgb);
  const uint32_t rowSize = result.RowSize();
  // Writers fill whole stored rows, padding included; what lies past the
  // width is dropped, what lies past the stored row is a damaged stream.
  const uint32_t limit = bits == 8 ? rowSize : rowSize * 2;
  tpixelblock block(uint64_t{rowSize} * rows);
  trleinput in(src.Bits, src.BitsSize);
  uint32_t x = 0, y = 0;
  size_t got = 0;
  for (;;) {
    const uint8_t* code = in.Take(2, got);
    if (got < 2) break;
    const uint32_t n = code[0];
    const uint8_t v = code[1];
    if (n > 0) {
      if (x + n > limit || y >= rows) throw EtbitmapexInvalidDIB();
      uint8_t* row = block.Data() + uint64_t{y} * rowSize;
      const uint32_t end = std::min(x + n, width);
      if (bits == 8) {
        if (end > x) std::memset(row + x, v, end - x);
      } else {
        for (uint32_t i = x; i < end; ++i) PutNibble(row, i, ((i - x) & 1) ? v : v >> 4);
      }
      x += n;
      continue;
    }
    if (v == 0) {
      ++y;
      x = 0;
      if (y > rows) throw EtbitmapexInvalidDIB();
    } else if (v == 1) {
      break;
    } else if (v == 2) {
      const uint8_t* d = in.Take(2, got);
      if (got < 2) break;
      x += d[0];
      y += d[1];
      if (x > limit || y > rows) throw EtbitmapexInvalidDIB();
    } else {
      const uint32_t count = v;
      if (x + count > limit || y >= rows) throw EtbitmapexInvalidDIB();
      const size_t skip = bits == 8 ? (count + 1) / 2 * 2 : (count * 4 + 15) / 16 * 2;
      const uint8_t* data = in.Take(skip, got);
      // A run cut short by the stream's end still gives the pixels it has.
      const uint32_t there = static_cast<uint32_t>(std::min<size_t>(count, bits == 8 ? got : got * 2));
      const uint32_t end = std::min(x + there, width);
      uint8_t* row = block.Data() + uint64_t{y} * rowSize;
      if (bits == 8) {
        if (end > x) std::memcpy(row + x, data, end - x);
      } else {
        for (uint32_t i = x; i < end; ++i) {
          const uint8_t b = data[(i - x) >> 1];
          PutNibble(row, i, ((i - x) & 1) ? b : b >> 4);
        }
      }
      if (got < skip) break;
      x += count;
    }
  }
  block.MoveInto(result);
  dst = result;
}

}  // namespace

void Convert8BitRGBTo8BitRLE(const tdibinfo& src, tdibinfo& dst) { Encode<trle8row>(src, dst, 8, kBiRle8); }
void Convert4BitRGBTo4BitRLE(const tdibinfo& src, tdibinfo& dst) { Encode<trle4row>(src, dst, 4, kBiRle4); }
void Convert8BitRLETo8BitRGB(const tdibinfo& src, tdibinfo& dst) { Decode(src, dst, 8, kBiRle8); }
void Convert4BitRLETo4BitRGB(const tdibinfo& src, tdibinfo& dst) { Decode(src, dst, 4, kBiRle4); }

}  // namespace pendo
