#include "soundrecording.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "testfolder.h"

namespace pendo::test {

std::string WriteLevelWave(const std::string& name, unsigned char level, std::uint32_t samples) {
  const std::string path = OwnFolder() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out.write("RIFF", 4);
  u32(36 + samples);
  out.write("WAVEfmt ", 8);
  u32(16);
  u16(1);      // PCM
  u16(1);      // mono
  u32(22050);  // samples per second
  u32(22050);  // bytes per second
  u16(1);      // block align
  u16(8);      // bits per sample
  out.write("data", 4);
  u32(samples);
  out.write(std::string(samples, static_cast<char>(level)).data(), samples);
  return path;
}

std::string RecordingPath() {
  const char* dir = std::getenv("PENDO_WINE_DIR");
  if (!dir) return std::string();
  std::string path = std::string("Z:") + dir + "/sound.raw";
  for (auto& c : path) c = c == '/' ? '\\' : c;
  return path;
}

std::string ReadRecording(const std::string& path, std::size_t expect) {
  std::string bytes;
  for (int i = 0; i < 100; ++i) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    // Silence (0x80 in 8-bit samples) is what the sound driver fills a late
    // buffer with on a busy machine; no program here plays it.
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\x80'), bytes.end());
    if (bytes.size() >= expect) break;
    Sleep(20);
  }
  return bytes;
}

std::vector<int> Levels(const std::string& bytes) {
  std::vector<int> levels;
  for (char c : bytes) {
    const int v = static_cast<unsigned char>(c);
    if (levels.empty() || levels.back() != v) levels.push_back(v);
  }
  return levels;
}

}  // namespace pendo::test
