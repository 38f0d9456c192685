// The clock of the main window: a graphical gauge panel whose value text is
// the date, the weekday and the time, read from its clock at every paint,
// with a separator between hours and minutes that the owner blinks.
#pragma once

#include <functional>
#include <string>

#include "panels/graphicalgaugepanel.h"
#include "settings/platform.h"

namespace pendo {

class tdatepanel : public tgraphicalgaugepanel {
 public:
  explicit tdatepanel(tcomponent* owner);

  // ":" between hours and minutes when set, a space otherwise; the owner
  // inverts it once a second.
  bool Signal() const { return signal_; }
  void SetSignal(bool value);
  // The clock the panel shows (the system's unless the owner gives its own).
  void SetClock(std::function<platform::tlocaltime()> clock) { clock_ = std::move(clock); }

  // The clock's text as a listener hears it: the date, the weekday and the
  // time with its colon, whatever the separator shows now.
  std::string ClockText() const;

  bool SetProperty(const std::string& name, const std::string& value, tresourcecontext& context) override;

  // date + weekday + " " + hour + (":" or " ") + two-digit minute.
  static std::string FormatValue(const std::string& date, const std::string& weekday, int hour, int minute,
                                 bool signal);
  // A day in the user's short date format.
  static std::string ShortDate(const platform::tlocaltime& day);

 protected:
  void MakeScene(tpanelscene& scene) override;

 private:
  bool signal_ = false;
  std::function<platform::tlocaltime()> clock_;
};

}  // namespace pendo
