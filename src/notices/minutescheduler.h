// Every minute of the local clock once: the hourly or half-hourly chime of
// the minute the clock shows, and every notice of the list due in each
// minute since the last one run, in list order, a minute after the other.
// Minutes missed while the program stalled or the computer slept are run
// when it wakes (a day of them at most); a clock set back runs nothing
// until it passes the last minute run. On every tick the clock's separator
// blinks. The effects go through tschedulereffects so that they happen, and
// can be watched, in exactly this order.
#pragma once

#include <exception>
#include <optional>
#include <string>

namespace pendo {

class tschedulerclock;
class tnoticelist;
struct teventsoundsettings;

class tschedulereffects {
 public:
  virtual ~tschedulereffects() = default;
  // Returns when the sound has finished; empty text plays nothing.
  virtual void PlaySound(const std::string& sound) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Starts the program file at path, the whole path being its name.
  virtual void RunProgram(const std::string& path) = 0;
  // Plays the notice sound to its end, then opens the notice window, which
  // shows the time the notice was due.
  virtual void ShowNotice(const std::string& message, int hour, int minute) = 0;
  // Inverts the clock's Signal and updates the panel.
  virtual void BlinkSeparator() = 0;
  // An effect failed and was left out; told once a pass, after the pass.
  virtual void ReportFailure(std::exception_ptr failure) = 0;
};

class tminutescheduler {
 public:
  // The most minutes a wake-up runs; a clock set back by more than this
  // starts afresh from the minute it shows.
  static constexpr long long kCatchUpMinutes = 24 * 60;

  tminutescheduler(tschedulerclock& clock, tschedulereffects& effects) : clock_(clock), effects_(effects) {}

  // One timer event: the minutes due, then the blink. The lists are read as
  // they stand now: the wizards may change them between ticks.
  void Tick(const teventsoundsettings& sounds, const tnoticelist& notices);
  // The minutes due now, without the blink: also run when the system says
  // that its clock or time zone changed or that it woke up.
  void RunDueMinutes(const teventsoundsettings& sounds, const tnoticelist& notices);

  // The last minute run, as LocalMinuteNumber counts it; none before the
  // first tick, which runs the minute it comes in.
  std::optional<long long> LastCompletedMinute() const { return last_; }

 private:
  void RunMinute(long long minute, bool current, const teventsoundsettings& sounds, const tnoticelist& notices,
                 std::exception_ptr& failure);

  tschedulerclock& clock_;
  tschedulereffects& effects_;
  std::optional<long long> last_;
  bool inpass_ = false;
};

}  // namespace pendo
