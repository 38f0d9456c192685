#include "notices/noticelist.h"

#include <utility>

#include "settings/platform.h"
#include "settings/profilelines.h"
#include "settings/profiler.h"

namespace pendo {

namespace {

// A quick sort that stays inside the range whatever the comparison answers:
// the order comes from the system's locale, which the program cannot vouch for.
void QuickSort(std::vector<std::string>& a, std::ptrdiff_t lo, std::ptrdiff_t hi) {
  while (lo < hi) {
    const std::string pivot = a[static_cast<std::size_t>(lo + (hi - lo) / 2)];
    std::ptrdiff_t i = lo, j = hi;
    while (i <= j) {
      while (i < hi && platform::CompareTextIgnoringCase(a[static_cast<std::size_t>(i)], pivot) < 0) ++i;
      while (j > lo && platform::CompareTextIgnoringCase(a[static_cast<std::size_t>(j)], pivot) > 0) --j;
      if (i <= j) {
        std::swap(a[static_cast<std::size_t>(i)], a[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    }
    // Recurse into the smaller side so the stack stays shallow.
    if (j - lo < hi - i) {
      QuickSort(a, lo, j);
      lo = i;
    } else {
      QuickSort(a, i, hi);
      hi = j;
    }
  }
}

}  // namespace

const char tnoticelist::kFileName[] = "element_noticelist";

std::string tnoticelist::FilePath() { return tprofiler::ProfileFolder() + kFileName; }

void tnoticelist::Sort() { QuickSort(lines_, 0, static_cast<std::ptrdiff_t>(lines_.size()) - 1); }

void tnoticelist::SetText(const std::string& bytes) {
  const auto nul = bytes.find('\0');
  lines_ = SplitProfileLines(nul == std::string::npos ? bytes : bytes.substr(0, nul));
}

std::string tnoticelist::Text() const { return JoinProfileLines(lines_); }

tnoticelist::tloadresult tnoticelist::Load(const std::string& path) {
  platform::CreateFolderTree(tprofiler::ProfileFolder());
  if (!platform::FileExists(path)) return tloadresult::Missing;
  std::string bytes;
  if (!platform::ReadFileBytes(path, bytes)) {
    lines_.clear();
    return tloadresult::Unreadable;
  }
  SetText(bytes);
  return tloadresult::Loaded;
}

void tnoticelist::Save(const std::string& path) const { platform::WriteFileAtomically(path, Text()); }

}  // namespace pendo
