#include "dibtool/netpbm.h"

namespace pendo::dibtool {

namespace {
std::string Header(const char* magic, int width, int height) {
  return std::string(magic) + "\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
}
}  // namespace

std::string EncodePpm(const RgbImage& image) {
  std::string out = Header("P6", image.width, image.height);
  out.append(reinterpret_cast<const char*>(image.rgb.data()), image.rgb.size());
  return out;
}

std::string EncodePgm(const GrayImage& image) {
  std::string out = Header("P5", image.width, image.height);
  out.append(reinterpret_cast<const char*>(image.values.data()), image.values.size());
  return out;
}

}  // namespace pendo::dibtool
