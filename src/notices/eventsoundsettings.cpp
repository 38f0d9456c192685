#include "notices/eventsoundsettings.h"

#include "settings/profiler.h"

namespace pendo {

namespace {
std::string HourlyKey(int hour) { return "wavefileatclocked" + std::to_string(hour); }
std::string HalfHourlyKey(int hour) { return "wavefileatclockedhalf" + std::to_string(hour); }
const char kAllClockedKey[] = "wavefileatallclocked";
const char kNoticedKey[] = "wavefileatnoticed";
}  // namespace

std::string teventsoundsettings::Hourly(int hour) const {
  return hour >= 0 && hour < 24 ? clocked[static_cast<std::size_t>(hour)] : std::string();
}

std::string teventsoundsettings::HalfHourly(int hour) const {
  return hour >= 0 && hour < 24 ? clocked[static_cast<std::size_t>(24 + hour)] : std::string();
}

void teventsoundsettings::Read(const tprofiler& p) {
  for (int h = 0; h < 24; ++h) {
    clocked[static_cast<std::size_t>(h)] = p.ReadLineRest(HourlyKey(h), "");
    clocked[static_cast<std::size_t>(24 + h)] = p.ReadLineRest(HalfHourlyKey(h), "");
  }
  allclocked = p.ReadLineRest(kAllClockedKey, "");
  noticed = p.ReadLineRest(kNoticedKey, "");
}

void teventsoundsettings::Write(tprofiler& p) const {
  for (int h = 0; h < 24; ++h) {
    p.WriteString(HourlyKey(h), Hourly(h));
    p.WriteString(HalfHourlyKey(h), HalfHourly(h));
  }
  p.WriteString(kAllClockedKey, allclocked);
  p.WriteString(kNoticedKey, noticed);
}

}  // namespace pendo
