// The clock of the main window: a graphical gauge panel whose value text is
// the date, the weekday and the time, read from the clock at every paint,
// with a separator between hours and minutes that the owner blinks.
#pragma once

#include <string>

#include "panels/graphicalgaugepanel.h"

namespace pendo {

class tdatepanel : public tgraphicalgaugepanel {
 public:
  explicit tdatepanel(tcomponent* owner);

  // ":" between hours and minutes when set, a space otherwise; the owner
  // inverts it once a second.
  bool Signal = false;

  using tgaugepanel::Paint;
  void Paint() override;
  void UpdatePanel() override;

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  // date + weekday + " " + hour + (":" or " ") + two-digit minute.
  static std::string FormatValue(const std::string& date, const std::string& weekday, int hour, int minute,
                                 bool signal);
  // Today in the user's short date format.
  static std::string ShortDate();
};

}  // namespace pendo
