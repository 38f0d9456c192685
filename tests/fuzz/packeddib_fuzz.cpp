// Packed DIBs as the clipboard hands them over.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bitmap_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pendo::tinternaldib dib;
  try {
    dib.LoadFromPackedDib(data, size);
  } catch (const std::exception&) {
    if (dib.Width != 1 || dib.Height != 1 || dib.GetPixelsFormat() != pendo::pf8Bit) std::abort();
    return 0;
  }
  const std::vector<uint8_t> packed = dib.SavePackedDib();
  pendo::tinternaldib again;
  again.LoadFromPackedDib(packed.data(), packed.size());
  if (again.SavePackedDib() != packed) std::abort();
  pendo::fuzz::CheckLoaded(dib);
  return 0;
}
