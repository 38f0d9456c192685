// The current date and time in pieces; each call reads the clock anew.
#pragma once

#include <string>

#include "settings/platform.h"

namespace pendo {

int GetDayOfWeek();  // 1 = Sunday .. 7 = Saturday
std::string GetWeekdayLabel();  // "(Sun)" .. "(Sat)"
int GetHour();
int GetMinute();
int GetMonth();
int GetDay();

// The label for a day of week 1..7; empty outside that range.
std::string WeekdayLabelOf(int dayOfWeek);

// Minutes of the local calendar, counted from 1970-01-01 0:00 whatever the
// zone: one more for each minute the local clock shows, so that a clock put
// forward or back moves the count as far.
long long LocalMinuteNumber(const platform::tlocaltime& time);
// The date and time of a minute so counted (second 0).
platform::tlocaltime LocalMinuteTime(long long minute);

}  // namespace pendo
