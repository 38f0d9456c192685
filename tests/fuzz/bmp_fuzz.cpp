// BMP files from outside: any bytes must load or raise the engine's error,
// never read or write out of bounds, and never leave a changed picture
// behind a failure.
#include <cstddef>
#include <cstdint>

#include "bitmap_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pendo::tinternaldib dib;
  pendo::tmemorysource in(data, size);
  try {
    dib.LoadFromStream(in);
  } catch (const std::exception&) {
    if (dib.Width != 1 || dib.Height != 1 || dib.GetPixelsFormat() != pendo::pf8Bit) std::abort();
    return 0;
  }
  pendo::fuzz::CheckLoaded(dib);
  return 0;
}
