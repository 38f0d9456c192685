// Start-up from process start to the first paint, program against program,
// run alternately so that all see the same machine: each program once to
// warm the caches, then RUNS rounds of each in turn, every round starting
// with the next program. Prints every run, the
// medians, and the median of each phase a program's trace names.
// usage: startup_bench RUNS PROGRAM...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "processstart.h"

namespace {

double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct tprogram {
  std::string exe;
  std::vector<double> idle, painted;
  std::vector<std::string> order;  // the phases in the order of the first run
  std::map<std::string, std::vector<double>> phases;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench RUNS PROGRAM...\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  std::vector<tprogram> programs;
  for (int i = 2; i < argc; ++i) programs.push_back({argv[i], {}, {}, {}, {}});
  for (auto& p : programs) pendo::bench::StartAndTime(p.exe);
  for (int run = 0; run < runs; ++run) {
    // Each round starts with the next program, so that none is always first.
    for (size_t k = 0; k < programs.size(); ++k) {
      tprogram& p = programs[(run + k) % programs.size()];
      const pendo::bench::tstartup s = pendo::bench::StartAndTime(p.exe);
      p.idle.push_back(s.idle * 1e3);
      double painted = -1;
      for (const auto& [name, seconds] : s.phases) {
        if (!p.phases.count(name)) p.order.push_back(name);
        p.phases[name].push_back(seconds * 1e3);
        if (name == "first paint: controls painted") painted = seconds * 1e3;
      }
      p.painted.push_back(painted);
      std::printf("run %d %-40s first paint %6.1f ms, first idle %6.1f ms\n", run + 1, p.exe.c_str(), painted,
                  s.idle * 1e3);
    }
  }
  std::printf("\nmedians of %d runs:\n", runs);
  for (const auto& p : programs)
    std::printf("  %-40s first paint %6.1f ms, first idle %6.1f ms\n", p.exe.c_str(), Median(p.painted),
                Median(p.idle));
  for (const auto& p : programs) {
    if (p.order.empty()) continue;
    std::printf("\nphases of %s (median ms from the process's start; step from the phase before):\n", p.exe.c_str());
    double before = 0;
    for (const auto& name : p.order) {
      const double at = Median(p.phases.at(name));
      std::printf("  %7.1f  %+7.1f  %s\n", at, at - before, name.c_str());
      before = at;
    }
  }
  return 0;
}
