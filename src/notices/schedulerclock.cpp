#include "notices/schedulerclock.h"

#include "settings/clockparts.h"

namespace pendo {

int tsystemclock::Minute() { return GetMinute(); }
int tsystemclock::Hour() { return GetHour(); }
int tsystemclock::DayOfWeek() { return GetDayOfWeek(); }
int tsystemclock::Month() { return GetMonth(); }
int tsystemclock::Day() { return GetDay(); }

}  // namespace pendo
