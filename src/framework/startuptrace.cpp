#include "framework/startuptrace.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/application.h"
#include "framework/form.h"
#include "settings/programidentity.h"

namespace pendo {

namespace {
struct tphase {
  const char* name;
  LONGLONG ticks;
};
tphase g_phases[64];
int g_count = 0;
bool g_done = false;

void Record(const char* phase) {
  if (g_done || g_count == static_cast<int>(sizeof g_phases / sizeof g_phases[0])) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  g_phases[g_count++] = {phase, now.QuadPart};
}

void Write() {
  g_done = true;
  const std::string path = GetProgramFolder() + "startup-trace.txt";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::fprintf(f, "%lld\tfrequency\n", static_cast<long long>(frequency.QuadPart));
  for (int i = 0; i < g_count; ++i)
    std::fprintf(f, "%lld\t%s\n", static_cast<long long>(g_phases[i].ticks), g_phases[i].name);
  std::fclose(f);
}

// Before every other static object of the program is made.
__attribute__((constructor(101))) void FirstStaticObject() { Record("static objects: first"); }
}  // namespace

void RecordStartupPhase(const char* phase) { Record(phase); }

void RecordStartupPaint(const twincontrol* window, const char* phase, bool last) {
  if (g_done || !Application || window != Application->MainForm()) return;
  Record(phase);
  if (last) Write();
}

}  // namespace pendo
