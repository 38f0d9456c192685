// Times Mondax's installation and removal runs under Wine (run by
// bench/mondax-bench.sh): Pendo's distribution, and a 100 MiB archive of
// 100 files of 1 MiB each for the copy rate.
// usage: mondax_bench DIST_FOLDER WORK_FOLDER
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "installer/installationrun.h"
#include "installer/removalrun.h"

using namespace pendo;

namespace {

double Seconds() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

bool WriteAll(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
  CloseHandle(h);
  return ok;
}

// Installs from setup into target and removes it again, runs times; prints
// the best and the median of each.
bool Measure(const char* label, const std::string& setup, const std::string& target, int runs, double megabytes) {
  std::vector<double> install, removal, copy;
  for (int i = 0; i < runs; ++i) {
    tinstallationrun run(setup, setup + "mondax.exe");
    // The files phase: from the file bar's start to its last step.
    double copyStart = 0, copyEnd = 0;
    run.OnProgress = [&](tinstallationrun::tbar bar, int position, int max) {
      if (bar != tinstallationrun::tbar::Files) return;
      if (copyStart == 0) copyStart = Seconds();
      copyEnd = Seconds();
    };
    double t0 = Seconds();
    if (run.Run(target, "") != tinstallationrun::tresult::Done) {
      std::fprintf(stderr, "%s: the installation failed\n", label);
      return false;
    }
    install.push_back(Seconds() - t0);
    copy.push_back(copyEnd - copyStart);
    tremovalrun remove(target);
    t0 = Seconds();
    if (remove.Run() != tremovalrun::tresult::Done) {
      std::fprintf(stderr, "%s: the removal failed\n", label);
      return false;
    }
    removal.push_back(Seconds() - t0);
  }
  std::sort(install.begin(), install.end());
  std::sort(copy.begin(), copy.end());
  std::sort(removal.begin(), removal.end());
  std::printf("%s installation: best %.1f ms, median %.1f ms", label, install.front() * 1e3, install[runs / 2] * 1e3);
  if (megabytes > 0)
    std::printf("; its files: best %.1f ms, %.0f MB/s", copy.front() * 1e3, megabytes / copy.front());
  std::printf("\n%s removal: best %.1f ms, median %.1f ms\n", label, removal.front() * 1e3, removal[runs / 2] * 1e3);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: mondax_bench DIST_FOLDER WORK_FOLDER\n");
    return 2;
  }
  const std::string dist = std::string(argv[1]) + "\\";
  const std::string work = std::string(argv[2]) + "\\";
  if (!Measure("Pendo", dist, work + "Pendo Clock", 5, 0)) return 1;

  // 100 files of 1 MiB: the archive, its script and a stand-in installer.
  const std::string setup = work + "big\\";
  CreateDirectoryA(setup.c_str(), nullptr);
  std::string script = "[profile]\r\napplicationname=MondaxBench\r\nbindedfilename=big\r\n[Bind]\r\n";
  std::string piece(1 << 20, '\0');
  for (std::size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<char>(i * 7 % 251);
  std::string archive;
  archive.reserve(100u << 20);
  for (int i = 0; i < 100; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "f%03d.bin", i);
    script += std::string(name) + "=1048576\r\n";
    archive += piece;
  }
  if (!WriteAll(setup + "mondax.inx", script) || !WriteAll(setup + "big.bdx", archive) ||
      !WriteAll(setup + "mondax.exe", "MZ")) {
    std::fprintf(stderr, "cannot write the 100 MiB setup\n");
    return 1;
  }
  return Measure("100 MiB", setup, work + "big target", 5, 104857600.0 / 1e6) ? 0 : 1;
}
