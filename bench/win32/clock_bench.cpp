// Costs of the clock's periodic work, in the real window under Wine or
// Windows: one second tick's paint, one noise step, one see-through rebuild;
// and the process's private memory around 1,000 rebuilds.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "app/_mainform.h"
#include "framework/application.h"
#include "guicount.h"
#include "panels/datepanel.h"
#include "seconds.h"
#include "settings/profiler.h"

namespace {

using pendo::bench::Seconds;

struct tusage {
  SIZE_T committed, workingSet;
  DWORD gdi, user;
};

tusage Usage() {
  PROCESS_MEMORY_COUNTERS m{};
  m.cb = sizeof m;
  GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m);
  return tusage{m.PagefileUsage, m.WorkingSetSize, pendo::test::GdiObjects(), pendo::test::UserObjects()};
}

void PrintUsage(const char* when, const tusage& u) {
  std::printf("%s: committed %lu KiB, working set %lu KiB, GDI objects %lu, USER objects %lu\n", when,
              static_cast<unsigned long>(u.committed / 1024), static_cast<unsigned long>(u.workingSet / 1024),
              static_cast<unsigned long>(u.gdi), static_cast<unsigned long>(u.user));
}

template <class F>
double MicrosecondsEach(int count, F f) {
  const double start = Seconds();
  for (int i = 0; i < count; ++i) f();
  return (Seconds() - start) * 1e6 / count;
}

}  // namespace

int main() {
  pendo::tapplication app(GetModuleHandleA(nullptr));
  // Not a first start: the property wizard would open and wait for a user.
  {
    pendo::tprofiler profile("profile_mainform");
    profile.WriteBool("firstboot", false);
  }
  auto* form = pendo::Application->CreateForm<pendo::Tmainform>();
  form->ShowAtStartup();
  for (int i = 0; i < 20; ++i) {
    app.ProcessMessages();
    Sleep(10);
  }
  pendo::tdatepanel* clock = form->datepanel;
  // Each as the window's paint message shows it.
  const HWND window = form->Handle();
  const double tick = MicrosecondsEach(2000, [&] {
    clock->SetSignal(!clock->Signal());
    UpdateWindow(window);
  });
  const double noise = MicrosecondsEach(2000, [&] {
    RECT row{clock->Left(), clock->Top() + 10, clock->Left() + clock->Width(), clock->Top() + 11};
    InvalidateRect(window, &row, FALSE);
    UpdateWindow(window);
  });
  for (int i = 0; i < 100; ++i) clock->RefreshBackground(), UpdateWindow(window);  // warm up caches and pools
  const tusage before = Usage();
  const double rebuild = MicrosecondsEach(1000, [&] {
    clock->RefreshBackground();
    UpdateWindow(window);
  });
  const tusage after = Usage();
  std::printf("tick paint (separator, paint message): %.1f us\n", tick);
  std::printf("noise row (one row, paint message): %.1f us\n", noise);
  std::printf("see-through rebuild (RefreshBackground, paint message): %.1f us\n", rebuild);
  PrintUsage("before 1000 rebuilds", before);
  PrintUsage("after 1000 rebuilds", after);
  form->Free();
  return 0;
}
