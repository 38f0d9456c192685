#include "panels/datepanel.h"

#include <windows.h>

#include "framework/resource.h"
#include "settings/clockparts.h"
#include "settings/widetext.h"

namespace pendo {

tdatepanel::tdatepanel(tcomponent* owner) : tgraphicalgaugepanel(owner) {
  // Under the lock: a panel under construction has nothing to show yet.
  SetUpdateLock(true);
  SetTitle("Date");
  SetTitleColor(clGreen);
  SetUpdateLock(false);
  width_ = 129;
}

std::string tdatepanel::FormatValue(const std::string& date, const std::string& weekday, int hour, int minute,
                                    bool signal) {
  std::string m = std::to_string(minute);
  if (m.size() == 1) m = "0" + m;
  return date + weekday + " " + std::to_string(hour) + (signal ? ":" : " ") + m;
}

std::string tdatepanel::ShortDate() {
  wchar_t text[128];
  const int n = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 128);
  return n > 0 ? Narrow(text) : std::string();
}

void tdatepanel::Paint() {
  try {
    // Read one after the other, as the next second's paint mends a change between them.
    const int minute = GetMinute();
    const std::string date = ShortDate();
    const std::string weekday = GetWeekdayLabel();
    const int hour = GetHour();
    StoreValue(FormatValue(date, weekday, hour, minute, Signal));
  } catch (...) {
    PaintFailed();
  }
  tgraphicalgaugepanel::Paint();
}

void tdatepanel::UpdatePanel() { tgraphicalgaugepanel::UpdatePanel(); }

bool tdatepanel::SetProperty(const std::string& n, const std::string& v, tresourcecontext& ctx) {
  if (n == "Signal") {
    Signal = ParseBool(v);
    return true;
  }
  return tgraphicalgaugepanel::SetProperty(n, v, ctx);
}

}  // namespace pendo
