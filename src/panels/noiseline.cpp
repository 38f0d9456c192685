#include "panels/noiseline.h"

namespace pendo {

tnoiseline::tnoiseline(int height, std::uint32_t now, std::uint32_t seed) : last_(now), random_(seed) {
  row_ = std::uniform_int_distribution<int>(0, height - 2)(random_);
}

bool tnoiseline::Step(std::uint32_t now, int height) {
  if (!(static_cast<std::int32_t>(now - last_) > 100 || now < last_)) return false;
  last_ = now;
  const int before = row_;
  if (row_ != -1) {
    --row_;
  } else if (std::uniform_int_distribution<int>(0, 15)(random_) == 0) {
    row_ = height - 1;
  }
  return row_ != before;
}

}  // namespace pendo
