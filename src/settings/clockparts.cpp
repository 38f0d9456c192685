#include "settings/clockparts.h"

#include "settings/platform.h"

namespace pendo {

int GetDayOfWeek() { return platform::Now().dayOfWeek + 1; }

std::string WeekdayLabelOf(int dayOfWeek) {
  static const char* const kLabels[] = {"(Sun)", "(Mon)", "(Tue)", "(Wed)", "(Thu)", "(Fri)", "(Sat)"};
  return dayOfWeek >= 1 && dayOfWeek <= 7 ? kLabels[dayOfWeek - 1] : "";
}

std::string GetWeekdayLabel() { return WeekdayLabelOf(GetDayOfWeek()); }
int GetHour() { return platform::Now().hour; }
int GetMinute() { return platform::Now().minute; }
int GetMonth() { return platform::Now().month; }
int GetDay() { return platform::Now().day; }

namespace {
constexpr long long kMinutesPerDay = 24 * 60;

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar, and
// back (the civil-date algorithms: eras of 400 years of 146097 days, years
// starting in March so that the leap day comes last).
long long DaysOfDate(long long year, int month, int day) {
  year -= month <= 2;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void DateOfDays(long long days, int& year, int& month, int& day) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long shifted = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
  month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

long long FloorDiv(long long a, long long b) { return a / b - (a % b < 0); }
}  // namespace

long long LocalMinuteNumber(const platform::tlocaltime& t) {
  return DaysOfDate(t.year, t.month, t.day) * kMinutesPerDay + t.hour * 60 + t.minute;
}

platform::tlocaltime LocalMinuteTime(long long minute) {
  const long long days = FloorDiv(minute, kMinutesPerDay);
  const long long inDay = minute - days * kMinutesPerDay;
  platform::tlocaltime t{};
  DateOfDays(days, t.year, t.month, t.day);
  // 1970-01-01 was a Thursday.
  t.dayOfWeek = static_cast<int>((days % 7 + 11) % 7);
  t.hour = static_cast<int>(inDay / 60);
  t.minute = static_cast<int>(inDay % 60);
  t.second = 0;
  return t;
}

}  // namespace pendo
