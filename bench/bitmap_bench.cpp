// Speed of the bitmap engine on screen-sized pictures: colour reduction of a
// photograph, run-length coding of a screenshot-like 8-bit picture, and
// loading 24-bit and 16-bit files. PENDO_BENCH_DATA names the folder that
// run-bitmap-bench.sh fills with photo24.bmp (1920 x 1080, 24 bits).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bitmap/bitmapcore.h"

using namespace pendo;

namespace {

std::string DataPath(const char* name) {
  const char* dir = std::getenv("PENDO_BENCH_DATA");
  if (dir == nullptr) throw std::runtime_error("set PENDO_BENCH_DATA to the folder of photo24.bmp");
  return std::string(dir) + "/" + name;
}

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot open " + path);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Save(const tinternaldib& dib) {
  tstringsink out;
  dib.SaveToStream(out);
  return out.Bytes;
}

void Load(tinternaldib& dib, const std::string& path) {
  tfilestream in(path, "rb");
  dib.LoadFromStream(in);
}

const tinternaldib& Photo() {
  static tinternaldib* photo = [] {
    auto* dib = new tinternaldib;
    Load(*dib, DataPath("photo24.bmp"));
    return dib;
  }();
  return *photo;
}

// A desktop: a banded background, windows with title bars and borders, and
// rows of small text-like marks; reduced to 256 colours like a screenshot
// kept on a palette display.
const tinternaldib& Screen() {
  static tinternaldib* screen = [] {
    auto* dib = new tinternaldib;
    dib->SetFormat(1920, 1080, 24, 0);
    const uint32_t row = dib->Info.RowSize();
    auto put = [&](uint32_t x, uint32_t y, uint32_t rgb) {
      uint8_t* p = dib->Info.Bits + uint64_t{1079 - y} * row + 3 * x;
      p[0] = rgb & 0xFF, p[1] = (rgb >> 8) & 0xFF, p[2] = (rgb >> 16) & 0xFF;
    };
    for (uint32_t y = 0; y < 1080; ++y)
      for (uint32_t x = 0; x < 1920; ++x) put(x, y, 0x204060 + (y / 40) * 0x010101);
    const uint32_t windows[][4] = {{100, 80, 900, 600}, {700, 300, 1800, 1000}, {300, 650, 1100, 1050}};
    for (const auto& w : windows) {
      for (uint32_t y = w[1]; y < w[3]; ++y) {
        for (uint32_t x = w[0]; x < w[2]; ++x) {
          uint32_t c = 0xF0F0F0;
          if (y < w[1] + 28) c = 0x3060C0;
          if (x == w[0] || x == w[2] - 1 || y == w[3] - 1) c = 0x404040;
          // Text: 7 x 12 glyph cells with a few marks each, 18-pixel lines.
          const uint32_t tx = x - w[0], ty = y - w[1];
          if (ty > 40 && ty % 18 < 12 && tx > 10 && tx < (w[2] - w[0]) - 40 && (tx / 7 + ty / 18) % 9 != 0) {
            const uint32_t gx = tx % 7, gy = ty % 18;
            if (gx < 5 && ((gx * 3 + gy * 5 + tx / 7) % 4 == 0)) c = 0x101010;
          }
          put(x, y, c);
        }
      }
    }
    dib->SetPixelsFormat(pf8Bit, 0, nullptr, 0xFFFFFF);
    return dib;
  }();
  return *screen;
}

// The 24-bit photograph as a 16-bit 5-6-5 file with masks.
std::string Photo16File() {
  const tinternaldib& p = Photo();
  const uint32_t w = static_cast<uint32_t>(p.Width), h = static_cast<uint32_t>(p.Height);
  const uint32_t row16 = (w * 2 + 3) & ~3u, row24 = p.Info.RowSize();
  std::string f(14 + 40 + 12 + size_t{row16} * h, '\0');
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&f[at], &v, 4); };
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&f[at], &v, 2); };
  put16(0, 0x4D42);
  put32(2, static_cast<uint32_t>(f.size()));
  put32(10, 66);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  put16(26, 1);
  put16(28, 16);
  put32(30, 3);
  put32(54, 0xF800), put32(58, 0x07E0), put32(62, 0x001F);
  for (uint32_t y = 0; y < h; ++y) {
    const uint8_t* s = p.Info.Bits + uint64_t{y} * row24;
    for (uint32_t x = 0; x < w; ++x, s += 3)
      put16(66 + size_t{y} * row16 + 2 * x, static_cast<uint16_t>((s[2] >> 3) << 11 | (s[1] >> 2) << 5 | (s[0] >> 3)));
  }
  return f;
}

int64_t PixelBytes(const tinternaldib& dib) { return dib.Info.BitsSize; }

void Reduce(benchmark::State& state, int target, int mode) {
  const tinternaldib& photo = Photo();
  const std::string file = Save(photo);
  for (auto _ : state) {
    state.PauseTiming();
    tinternaldib dib;
    tmemorysource in(file);
    dib.LoadFromStream(in);
    state.ResumeTiming();
    dib.SetPixelsFormat(target, mode, nullptr, 0xFFFFFF);
    benchmark::DoNotOptimize(dib.Info.Bits);
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(photo));
}

void BM_ReduceFast256(benchmark::State& s) { Reduce(s, pf8Bit, 0); }
void BM_ReduceFine256(benchmark::State& s) { Reduce(s, pf8Bit, 1); }
void BM_ReduceFast16(benchmark::State& s) { Reduce(s, pf4Bit, 0); }
void BM_ReduceFine16(benchmark::State& s) { Reduce(s, pf4Bit, 1); }

// File to file, as ImageMagick's "convert IN.bmp -colors 256 +dither OUT.bmp" does.
void FileToFile(benchmark::State& state, int mode) {
  const std::string in = DataPath("photo24.bmp");
  const std::string out = DataPath(mode ? "engine-fine256.bmp" : "engine-fast256.bmp");
  for (auto _ : state) {
    tinternaldib dib;
    Load(dib, in);
    dib.SetPixelsFormat(pf8Bit, mode, nullptr, 0xFFFFFF);
    tfilestream f(out, "wb");
    dib.SaveToStream(f);
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(Photo()));
}
void BM_FileToFileFast256(benchmark::State& s) { FileToFile(s, 0); }
void BM_FileToFileFine256(benchmark::State& s) { FileToFile(s, 1); }

void BM_Rle8Encode(benchmark::State& state) {
  const tinternaldib& screen = Screen();
  tdibinfo out;
  for (auto _ : state) {
    Convert8BitRGBTo8BitRLE(screen.Info, out);
    state.PauseTiming();
    ReleaseDibBits(out);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(screen));
  Convert8BitRGBTo8BitRLE(screen.Info, out);
  state.counters["ratio"] = double(out.BitsSize) / double(PixelBytes(screen));
  ReleaseDibBits(out);
}

void BM_Rle8Decode(benchmark::State& state) {
  const tinternaldib& screen = Screen();
  tdibinfo packed, out;
  Convert8BitRGBTo8BitRLE(screen.Info, packed);
  for (auto _ : state) {
    Convert8BitRLETo8BitRGB(packed, out);
    state.PauseTiming();
    ReleaseDibBits(out);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(screen));
  ReleaseDibBits(packed);
}

// Reading the 24-bit file's bytes, the floor that loading it can reach.
void BM_ReadFile24(benchmark::State& state) {
  const std::string path = DataPath("photo24.bmp");
  std::vector<char> buffer(PixelBytes(Photo()) + 4096);
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(Photo()));
}

void BM_Load24(benchmark::State& state) {
  const std::string path = DataPath("photo24.bmp");
  for (auto _ : state) {
    tinternaldib dib;
    Load(dib, path);
    benchmark::DoNotOptimize(dib.Info.Bits);
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(Photo()));
}

void BM_Load16(benchmark::State& state) {
  const std::string path = DataPath("photo16.bmp");
  WriteAll(path, Photo16File());
  for (auto _ : state) {
    tinternaldib dib;
    Load(dib, path);
    benchmark::DoNotOptimize(dib.Info.Bits);
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(Photo()));
}

}  // namespace

BENCHMARK(BM_ReduceFast256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceFine256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceFast16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceFine16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileToFileFast256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileToFileFine256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rle8Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rle8Decode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFile24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load16)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
