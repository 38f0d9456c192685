#include "dibtool/netpbm.h"

namespace pendo::dibtool {

std::string PnmHeader(const char* magic, int width, int height) {
  return std::string(magic) + "\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
}

}  // namespace pendo::dibtool
