// Sound file bytes, as any file a user names for a chime: the check must
// never read outside them, and what it hands on must be a sound it would
// hand on again unchanged, no larger than what it came from and no part of
// it outside the file's own sound data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/wavefile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const pendo::twavesound sound = pendo::CheckWaveFile(bytes);
  if (sound.fault != pendo::twavefault::None) {
    if (!sound.image.empty() || !sound.format.empty()) std::abort();
    return 0;
  }
  if (sound.format.size() < 18 || sound.databytes % sound.blockalign != 0) std::abort();
  if (sound.image.size() > sound.format.size() + sound.databytes + 30) std::abort();
  if (sound.databytes > size || sound.format.size() > size + 2) std::abort();
  const pendo::twavesound again = pendo::CheckWaveFile(sound.image);
  if (again.fault != pendo::twavefault::None || again.image != sound.image || again.format != sound.format) std::abort();
  return 0;
}
