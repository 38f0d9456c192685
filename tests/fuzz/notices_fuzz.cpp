// Notice file bytes: load, describe and test every record, sort, write back.
// Every record must survive the round trip, parsed and formatted too, and
// sorting must keep every line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "notices/noticelist.h"
#include "notices/noticerecord.h"
#include "settings/platform.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pendo::tnoticelist list;
  list.SetText(std::string(reinterpret_cast<const char*>(data), size));
  const pendo::platform::tlocaltime when{2026, 12, 25, 2, 9, 5, 0};
  for (const auto& line : list.Lines()) {
    pendo::FormatNoticeText(line);
    pendo::IsNoticeDue(line, when);
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
