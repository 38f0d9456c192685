// The current date and time in pieces; each call reads the clock anew.
#pragma once

#include <string>

namespace pendo {

int GetDayOfWeek();  // 1 = Sunday .. 7 = Saturday
std::string GetWeekdayLabel();  // "(Sun)" .. "(Sat)"
int GetHour();
int GetMinute();
int GetMonth();
int GetDay();

// The label for a day of week 1..7; empty outside that range.
std::string WeekdayLabelOf(int dayOfWeek);

}  // namespace pendo
