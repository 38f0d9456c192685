#include "panels/datepanel.h"

#include <windows.h>

#include "framework/resource.h"
#include "settings/clockparts.h"
#include "settings/widetext.h"

namespace pendo {

tdatepanel::tdatepanel(tcomponent* owner) : tgraphicalgaugepanel(owner), clock_([] { return platform::Now(); }) {
  SetTitle("Date");
  SetTitleColor(clGreen);
  width_ = 129;
}

void tdatepanel::SetSignal(bool v) {
  if (v == signal_) return;
  signal_ = v;
  Invalidate();
}

std::string tdatepanel::FormatValue(const std::string& date, const std::string& weekday, int hour, int minute,
                                    bool signal) {
  std::string m = std::to_string(minute);
  if (m.size() == 1) m = "0" + m;
  return date + weekday + " " + std::to_string(hour) + (signal ? ":" : " ") + m;
}

std::string tdatepanel::ShortDate(const platform::tlocaltime& day) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(day.year);
  t.wMonth = static_cast<WORD>(day.month);
  t.wDay = static_cast<WORD>(day.day);
  t.wDayOfWeek = static_cast<WORD>(day.dayOfWeek);
  wchar_t text[128];
  const int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, text, 128);
  return n > 0 ? Narrow(text) : std::string();
}

std::string tdatepanel::ClockText() const {
  const platform::tlocaltime now = clock_();
  return FormatValue(ShortDate(now), WeekdayLabelOf(now.dayOfWeek + 1), now.hour, now.minute, true);
}

void tdatepanel::MakeScene(tpanelscene& scene) {
  // Read once, so that the date and the time always belong together.
  const platform::tlocaltime now = clock_();
  StoreValue(FormatValue(ShortDate(now), WeekdayLabelOf(now.dayOfWeek + 1), now.hour, now.minute, signal_));
  tgraphicalgaugepanel::MakeScene(scene);
}

bool tdatepanel::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Signal") {
    SetSignal(ParseBool(v));
    return true;
  }
  return tgraphicalgaugepanel::SetProperty(n, v, ctx);
}

}  // namespace pendo
