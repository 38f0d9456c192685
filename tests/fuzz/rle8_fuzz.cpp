#include <cstddef>
#include <cstdint>

#include "rle_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pendo::fuzz::FuzzRle(data, size, 8);
  return 0;
}
