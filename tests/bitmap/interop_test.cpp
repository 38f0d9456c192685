// BMP files exchanged with programs nobody here wrote: Pillow and
// ImageMagick write files that the engine must read to the pixels the tools
// themselves decode, and decode the engine's run-length files to the
// engine's own pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "bitmap/internaldib.h"
#include "bitmaptestutil.h"

using namespace pendo;
using namespace pendo::test;

namespace {

const std::string kDir = PENDO_INTEROP_DIR;

std::string Quote(const std::string& s) { return "'" + s + "'"; }

int RunScript(const std::string& args) {
  const std::string cmd = Quote(PENDO_PYTHON3) + " " + Quote(PENDO_INTEROP_SCRIPT) + " " + args;
  return std::system(cmd.c_str());
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// "W H [masks]\n" followed by RGB rows, top row first.
struct Decoded {
  uint32_t width = 0, height = 0;
  uint32_t masks[3] = {255, 255, 255};
  std::string rgb;
};

Decoded ReadDecoded(const std::string& path) {
  const std::string bytes = ReadFile(path);
  Decoded d;
  const size_t eol = bytes.find('\n');
  std::istringstream head(bytes.substr(0, eol));
  head >> d.width >> d.height;
  head >> d.masks[0] >> d.masks[1] >> d.masks[2];
  d.rgb = bytes.substr(eol + 1);
  return d;
}

void ExpectSamePixels(const tinternaldib& dib, const Decoded& tool, const std::string& what) {
  ASSERT_EQ(static_cast<uint32_t>(dib.Width), tool.width) << what;
  ASSERT_EQ(static_cast<uint32_t>(dib.Height), tool.height) << what;
  ASSERT_EQ(tool.rgb.size(), size_t{tool.width} * tool.height * 3) << what;
  int wrong = 0;
  for (uint32_t y = 0; y < tool.height; ++y) {
    for (uint32_t x = 0; x < tool.width; ++x) {
      const size_t at = (size_t{y} * tool.width + x) * 3;
      const uint32_t want = uint32_t(uint8_t(tool.rgb[at]) & tool.masks[0]) << 16 |
                            uint32_t(uint8_t(tool.rgb[at + 1]) & tool.masks[1]) << 8 |
                            (uint8_t(tool.rgb[at + 2]) & tool.masks[2]);
      const uint32_t got = ColorAt(dib.Info, x, y);
      if (got != want && ++wrong <= 3) {
        ADD_FAILURE() << what << " pixel (" << x << ", " << y << "): engine " << std::hex << got << " tool " << want;
      }
    }
  }
  EXPECT_EQ(wrong, 0) << what;
}

// Loads every file a manifest names and compares it with the tool's own
// decoding; returns the number of files.
int ExpectManifestDecodesLikeTheTools(const std::string& manifest) {
  std::istringstream names(ReadFile(kDir + "/" + manifest));
  std::string name;
  int files = 0;
  while (std::getline(names, name)) {
    if (name.empty()) continue;
    ++files;
    tinternaldib dib;
    try {
      LoadBytes(dib, ReadFile(kDir + "/" + name + ".bmp"));
      // Compressed and paletted pictures are compared through their colours.
      if (dib.GetPixelsFormat() == pf8BitRLE) dib.SetPixelsFormat(pf8Bit, 0, nullptr, 0);
    } catch (const std::exception&) {
      ADD_FAILURE() << name << " refused";
      continue;
    }
    ExpectSamePixels(dib, ReadDecoded(kDir + "/" + name + ".expect"), name);
  }
  return files;
}

class Interop : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(RunScript("generate " + Quote(kDir)), 0) << "python3 with PIL and ImageMagick are needed";
  }
};

}  // namespace

TEST_F(Interop, ToolFilesLoadToTheToolsPixels) { EXPECT_GE(ExpectManifestDecodesLikeTheTools("manifest"), 13); }

// Every width from 1 to 65, so that rows end at each place of their 4-byte
// group: ImageMagick's run-length rows (which run into the padding) and its
// default 124-byte header, Pillow's files with a gap before the pixels,
// bfSize 0, and run-length streams without end-of-bitmap or cut short.
TEST_F(Interop, EveryWidthLoadsToTheToolsPixels) {
  EXPECT_EQ(ExpectManifestDecodesLikeTheTools("manifest_widths"), 65 * 6);
}

TEST_F(Interop, EngineRunLengthFilesDecodeInBothTools) {
  for (int target : {int{pf8BitRLE}, int{pf4BitRLE}}) {
    for (int32_t width : {61, 64, 33}) {
      // Blocks of colour, a few busy stretches (literals) and an odd width.
      tinternaldib dib;
      const int colors = target == pf8BitRLE ? 200 : 16;
      dib.SetFormat(width, width == 33 ? -19 : 19, target == pf8BitRLE ? 8 : 4, colors);
      for (int i = 0; i < colors; ++i) dib.Info.Colors[i] = tdibrgbquad{uint8_t(i * 5), uint8_t(255 - i), uint8_t(i * 37), 0};
      for (uint32_t y = 0; y < 19; ++y) {
        for (uint32_t x = 0; x < static_cast<uint32_t>(width); ++x) {
          const uint32_t v = (x > 20 && x < 28 && y % 3 == 0) ? (x * 7 + y) % colors : (x / 9 + y / 4) % colors;
          SetPixel(dib.Info, x, y, v);
        }
      }
      const std::vector<uint32_t> plain = Colors(dib.Info);
      dib.SetPixelsFormat(target, 0, nullptr, 0);
      ASSERT_EQ(dib.GetPixelsFormat(), target);
      const std::string name = "engine_" + std::to_string(target) + "_" + std::to_string(width);
      const std::string path = kDir + "/" + name + ".bmp";
      std::ofstream(path, std::ios::binary) << SaveBytes(dib);
      for (const char* tool : {"decode", "decode-im"}) {
        const std::string out = kDir + "/" + name + "." + tool;
        ASSERT_EQ(RunScript(std::string(tool) + " " + Quote(path) + " " + Quote(out)), 0) << name;
        tinternaldib back;
        LoadBytes(back, ReadFile(path));
        back.SetPixelsFormat(target == pf8BitRLE ? pf8Bit : pf4Bit, 0, nullptr, 0);
        EXPECT_EQ(Colors(back.Info), plain) << name;
        ExpectSamePixels(back, ReadDecoded(out), name + " " + tool);
      }
    }
  }
}
