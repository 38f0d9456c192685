#include "settings/wavefile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace pendo;

namespace {

std::string U16(std::uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
std::string U32(std::uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }
std::string Chunk(const std::string& id, const std::string& body) { return id + U32(static_cast<std::uint32_t>(body.size())) + body; }
std::string Riff(const std::string& chunks) {
  return "RIFF" + U32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}
std::string Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint32_t bytesPerSecond,
                   std::uint16_t block, std::uint16_t bits) {
  return U16(tag) + U16(channels) + U32(rate) + U32(bytesPerSecond) + U16(block) + U16(bits);
}
const std::string kMono8 = Format(1, 1, 22050, 22050, 1, 8);
const std::string kStereo16 = Format(1, 2, 44100, 176400, 4, 16);

}  // namespace

TEST(WaveFile, OnlyWellFormedSoundsWithAPlayableFormatAreHandedOnRebuilt) {
  const std::string sound(800, '\x40');
  // A data chunk that claims 200 MB in a file of 844 bytes.
  std::string claimsTooMuch = Riff(Chunk("fmt ", kMono8) + Chunk("data", sound));
  claimsTooMuch.replace(40, 4, U32(200000000));
  std::string riffTooLong = Riff(Chunk("fmt ", kMono8) + Chunk("data", sound));
  riffTooLong.replace(4, 4, U32(5000));
  const std::string adpcmExtra(32, '\x01');
  const struct {
    const char* what;
    std::string bytes;
    twavefault fault;
    std::uint32_t databytes;
  } cases[] = {
      {"plain 8-bit mono", Riff(Chunk("fmt ", kMono8) + Chunk("data", sound)), twavefault::None, 800},
      {"other chunks, one of odd size with its pad byte, and bytes after the RIFF chunk",
       Riff(Chunk("LIST", "abc") + '\0' + Chunk("fmt ", kMono8) + Chunk("data", sound)) + "junk", twavefault::None,
       800},
      {"an odd last chunk without its pad byte", Riff(Chunk("fmt ", kMono8) + Chunk("data", sound + "x")),
       twavefault::None, 801},
      {"the data before the format, a block cut short left out",
       Riff(Chunk("data", std::string(1003, '\x10')) + '\0' + Chunk("fmt ", kStereo16)), twavefault::None, 1000},
      {"a compressed format, for the system to judge",
       Riff(Chunk("fmt ", Format(2, 1, 22050, 11155, 512, 4) + U16(32) + adpcmExtra) + Chunk("data", sound)),
       twavefault::None, 512},
      {"a format of odd size, with its pad byte",
       Riff(Chunk("fmt ", Format(0x55, 1, 22050, 2000, 1, 0) + U16(1) + "x") + '\0' + Chunk("data", sound)),
       twavefault::None, 800},
      {"data that claims 200 MB", claimsTooMuch, twavefault::ChunkOutsideFile, 0},
      {"a RIFF chunk longer than the file", riffTooLong, twavefault::ChunkOutsideFile, 0},
      {"a chunk header cut short", Riff(Chunk("fmt ", kMono8) + Chunk("data", sound) + "dat"),
       twavefault::ChunkOutsideFile, 0},
      {"empty", "", twavefault::NotWave, 0},
      {"no WAVE", "RIFF" + U32(4) + "AVI ", twavefault::NotWave, 0},
      {"big-endian RIFF", "RIFX" + Riff("").substr(4), twavefault::NotWave, 0},
      {"no format", Riff(Chunk("data", sound)), twavefault::NoFormat, 0},
      {"a format too short", Riff(Chunk("fmt ", kMono8.substr(0, 14)) + Chunk("data", sound)), twavefault::NoFormat,
       0},
      {"no data", Riff(Chunk("fmt ", kMono8)), twavefault::NoData, 0},
      {"no channels", Riff(Chunk("fmt ", Format(1, 0, 22050, 22050, 1, 8)) + Chunk("data", sound)),
       twavefault::BadFormat, 0},
      {"blocks that do not fit the samples", Riff(Chunk("fmt ", Format(1, 2, 44100, 176400, 3, 16)) + Chunk("data", sound)),
       twavefault::BadFormat, 0},
      {"a rate that does not fit the bytes per second",
       Riff(Chunk("fmt ", Format(1, 1, 22050, 1, 1, 8)) + Chunk("data", sound)), twavefault::BadFormat, 0},
      {"12-bit samples", Riff(Chunk("fmt ", Format(1, 1, 22050, 44100, 2, 12)) + Chunk("data", sound)),
       twavefault::BadFormat, 0},
      {"extra format bytes that claim more than the chunk",
       Riff(Chunk("fmt ", Format(2, 1, 22050, 11155, 512, 4) + U16(40) + adpcmExtra) + Chunk("data", sound)),
       twavefault::BadFormat, 0},
      {"larger than the limit", Riff(Chunk("fmt ", kMono8) + Chunk("data", std::string(kMaxWaveFileBytes, '\x40'))),
       twavefault::TooLarge, 0},
  };
  for (const auto& c : cases) {
    const twavesound s = CheckWaveFile(c.bytes);
    EXPECT_EQ(s.fault, c.fault) << c.what;
    if (s.fault != twavefault::None) {
      EXPECT_TRUE(s.image.empty() && s.format.empty()) << c.what;
      continue;
    }
    EXPECT_EQ(s.databytes, c.databytes) << c.what;
    // The rebuilt file: the format (as WAVEFORMATEX) and the data alone, each size right.
    const std::string expected =
        Riff(Chunk("fmt ", s.format) + std::string(s.format.size() % 2, '\0') +
             Chunk("data", std::string(c.bytes.substr(c.bytes.find("data") + 8, c.databytes))) +
             std::string(c.databytes % 2, '\0'));
    EXPECT_EQ(s.image, expected) << c.what;
    EXPECT_EQ(s.format.substr(0, 16), c.bytes.substr(c.bytes.find("fmt ") + 8, 16)) << c.what;
    EXPECT_EQ(s.format.size(), 18u + static_cast<unsigned char>(s.format[16])) << c.what << ": WAVEFORMATEX, cbSize right";
    const twavesound again = CheckWaveFile(s.image);
    EXPECT_EQ(again.fault, twavefault::None) << c.what;
    EXPECT_EQ(again.image, s.image) << c.what;
  }
}
