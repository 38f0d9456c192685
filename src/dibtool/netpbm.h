// Binary PPM (P6) and PGM (P5) images, top row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pendo::dibtool {

struct RgbImage {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // width * height * 3, R G B
};

struct GrayImage {
  int width = 0, height = 0;
  std::vector<uint8_t> values;  // width * height
};

std::string EncodePpm(const RgbImage& image);
std::string EncodePgm(const GrayImage& image);

}  // namespace pendo::dibtool
