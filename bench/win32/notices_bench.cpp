// Costs of a long notice list (10,000 records by default) in the real main
// window under Wine or Windows: the creation up to the first paint, one
// scheduler pass, the save at the end; and Pendo.exe started as a process
// with that list up to its first idle moment after the first paint.
// usage: notices_bench [COUNT]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/_mainform.h"
#include "framework/application.h"
#include "notices/noticelist.h"
#include "settings/clockparts.h"
#include "settings/programidentity.h"
#include "processstart.h"
#include "seconds.h"

namespace {

using pendo::bench::Seconds;

// Weekly, dated and daily records spread over the week and the year, none of
// them due in the current hour, so that a pass compares every record and
// opens no window.
std::string NoticeFile(int count) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::string text;
  for (int i = 0; i < count; ++i) {
    const int hour = (now.wHour + 1 + i % 22) % 24;
    text += std::to_string(i % 3) + "," + std::to_string(i % 7) + "," + std::to_string(i % 12) + "," +
            std::to_string(i % 28) + "," + std::to_string(hour) + "," + std::to_string(i % 60) +
            ",\x89\xef\x8b\x63\x82\xcc\x8f\x80\x94\xf5 " + std::to_string(i) + "\r\n";
  }
  return text;
}

// The system's clock moved on by a minute at every reading, so that every
// tick runs one whole minute.
struct tpassclock : pendo::tsystemclock {
  long long shift = 0;
  pendo::platform::tlocaltime Now() override {
    return pendo::LocalMinuteTime(pendo::LocalMinuteNumber(tsystemclock::Now()) + ++shift);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
  const std::string file = pendo::tnoticelist::FilePath();
  CreateDirectoryA((pendo::GetProgramFolder() + "profile").c_str(), nullptr);
  const std::string text = NoticeFile(count);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
  std::printf("%d notices, %zu bytes\n", count, text.size());

  pendo::tapplication app(GetModuleHandleA(nullptr));
  const double created = Seconds();
  auto* form = app.CreateMainForm<pendo::Tmainform>();
  form->ShowAtStartup();  // ends with the first paint done
  const double painted = Seconds();
  std::printf("creation to first paint, in process: %.1f ms (list of %d)\n", (painted - created) * 1e3,
              form->noticelist.Count());

  const int loads = 20;
  const double loadStart = Seconds();
  for (int i = 0; i < loads; ++i) form->LoadNoticeList();
  std::printf("of which reading the list (LoadNoticeList): %.2f ms (mean of %d)\n", (Seconds() - loadStart) * 1e3 / loads,
              loads);

  tpassclock clock;
  form->SetSchedulerClock(&clock);
  const int passes = 50;
  const double passStart = Seconds();
  for (int i = 0; i < passes; ++i) form->SchedulerTick();
  int opened = 0;
  for (pendo::tform* f : app.Forms()) opened += f != form;
  std::printf("one scheduler pass: %.2f ms (mean of %d; %d notices opened)\n", (Seconds() - passStart) * 1e3 / passes,
              passes, opened);
  form->SetSchedulerClock(nullptr);

  const int saves = 20;
  const double saveStart = Seconds();
  for (int i = 0; i < saves; ++i) form->SaveProfile();
  std::printf("the save at the end (SaveProfile): %.2f ms (mean of %d)\n", (Seconds() - saveStart) * 1e3 / saves,
              saves);
  form->Free();

  // Pendo.exe beside this program reads the same profile folder.
  const std::string pendo = pendo::GetProgramFolder() + "Pendo.exe";
  if (GetFileAttributesA(pendo.c_str()) != INVALID_FILE_ATTRIBUTES) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    const double withList = pendo::bench::StartAndTime(pendo).idle;
    std::ofstream(file, std::ios::binary | std::ios::trunc);
    const double empty = pendo::bench::StartAndTime(pendo).idle;
    std::printf("Pendo.exe start to first idle after its first paint: %.0f ms with the list, %.0f ms without\n",
                withList * 1e3, empty * 1e3);
  }
  return 0;
}
