// Notice file bytes: load, describe and test every record, sort, write back.
// Every record must survive the round trip, parsed and formatted too, and
// sorting must keep every line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "notices/noticelist.h"
#include "notices/noticerecord.h"
#include "notices/schedulerclock.h"
#include "settings/platform.h"

namespace {
struct tfixedclock : pendo::tschedulerclock {
  int Minute() override { return 5; }
  int Hour() override { return 9; }
  int DayOfWeek() override { return 3; }
  int Month() override { return 12; }
  int Day() override { return 25; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pendo::tnoticelist list;
  list.SetText(std::string(reinterpret_cast<const char*>(data), size));
  tfixedclock clock;
  for (const auto& line : list.Lines()) {
    pendo::FormatNoticeText(line);
    pendo::IsNoticeDue(line, clock);
    // A line on the format formats back to itself; what any line reads as
    // formats to a line that reads back the same.
    pendo::tnoticerecord record, again;
    const bool onformat = pendo::ParseNoticeRecord(line, record);
    const std::string formatted = pendo::FormatNoticeRecord(record);
    if (onformat && formatted != line) std::abort();
    if (!pendo::ParseNoticeRecord(formatted, again) || !(again == record)) std::abort();
  }
  pendo::tnoticelist again;
  again.SetText(list.Text());
  if (again.Lines() != list.Lines()) std::abort();
  again.Sort();
  if (again.Count() != list.Count()) std::abort();
  for (int i = 0; i + 1 < again.Count(); ++i) {
    if (pendo::platform::CompareTextIgnoringCase(again[i], again[i + 1]) > 0) std::abort();
  }
  return 0;
}
