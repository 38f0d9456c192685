#include "dibtool/progressbar.h"

#ifdef _WIN32
#include <io.h>
#define PENDO_ISATTY _isatty
#define PENDO_FILENO _fileno
#else
#include <unistd.h>
#define PENDO_ISATTY isatty
#define PENDO_FILENO fileno
#endif

namespace pendo::dibtool {

bool IsTerminal(std::FILE* stream) { return PENDO_ISATTY(PENDO_FILENO(stream)) != 0; }

tprogressbar::tprogressbar(int total, std::FILE* out) : total_(total > 0 ? total : 1), out_(out) {}

tprogressbar::~tprogressbar() {
  if (out_ && drawnPercent_ >= 0) {
    std::fputc('\n', out_);
    std::fflush(out_);
  }
}

void tprogressbar::Step() {
  if (done_ < total_) ++done_;
  Draw();
}

void tprogressbar::Draw() {
  if (!out_) return;
  const int percent = done_ * 100 / total_;
  if (percent == drawnPercent_) return;
  drawnPercent_ = percent;
  constexpr int kWidth = 40;
  const int filled = percent * kWidth / 100;
  char bar[kWidth + 1];
  for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kWidth] = '\0';
  std::fprintf(out_, "\rreducing [%s] %3d%%", bar, percent);
  std::fflush(out_);
}

}  // namespace pendo::dibtool
