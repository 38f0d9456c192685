// The wandering noise line of a graphical panel: a row that climbs one pixel
// at most every hundred milliseconds and, once past the top, starts again at
// the bottom one time in sixteen.
#pragma once

#include <cstdint>
#include <random>

namespace pendo {

class tnoiseline {
 public:
  // Starts on a random row of a panel height high, at the moment now (ms).
  tnoiseline(int height, std::uint32_t now, std::uint32_t seed);

  // The row shown; -1 while the line is away.
  int Row() const { return row_; }
  // Moves the line when more than a hundred milliseconds have passed (or the
  // counter wrapped); height is the panel's now. True when the row changed.
  bool Step(std::uint32_t now, int height);

 private:
  int row_ = -1;
  std::uint32_t last_;
  std::mt19937 random_;
};

}  // namespace pendo
