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

}  // namespace pendo
