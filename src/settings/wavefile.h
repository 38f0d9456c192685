// Wave files before the system plays them. A sound is any file the user
// names, and the system's player believes every size written in it; so a
// file is played only when it is a RIFF/WAVE file whose chunks all lie
// within it, with a format and sound data, and it is handed over rebuilt
// from those two alone, every size consistent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pendo {

// Larger files are not played (at CD quality, a sound of 95 seconds): the
// notices and chimes wait for their sound, and the clock with them.
constexpr std::size_t kMaxWaveFileBytes = std::size_t{16} << 20;

enum class twavefault {
  None,
  TooLarge,          // more than kMaxWaveFileBytes
  NotWave,           // no RIFF/WAVE header
  ChunkOutsideFile,  // a chunk (the RIFF one too) claims more bytes than follow it
  NoFormat,          // no "fmt " chunk, or one too short for its fields
  BadFormat,         // values that cannot describe a sound
  NoData,            // no "data" chunk
};

struct twavesound {
  twavefault fault = twavefault::NotWave;
  std::uint16_t formattag = 0, channels = 0, blockalign = 0, bitspersample = 0;
  std::uint32_t samplespersecond = 0, bytespersecond = 0;
  // Whole blocks of the sound data.
  std::uint32_t databytes = 0;
  // The format as WAVEFORMATEX lays it out: at least 18 bytes, its cbSize
  // saying how many follow.
  std::string format;
  // The file rebuilt: "RIFF", "WAVE", the format chunk, the data chunk.
  std::string image;
};

// Empty format and image unless fault is None.
twavesound CheckWaveFile(std::string_view bytes);

}  // namespace pendo
