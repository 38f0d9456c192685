// A one-line progress bar on a terminal, fed by the engine's progress calls.
#pragma once

#include <cstdio>

namespace pendo::dibtool {

class tprogressbar {
 public:
  // total: the number of steps expected; out: where to draw (nothing when null).
  tprogressbar(int total, std::FILE* out);
  ~tprogressbar();
  void Step();

 private:
  void Draw();
  int total_;
  int done_ = 0;
  int drawnPercent_ = -1;
  std::FILE* out_;
};

// True when the stream is a terminal.
bool IsTerminal(std::FILE* stream);

}  // namespace pendo::dibtool
