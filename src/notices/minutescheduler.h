// Once a minute: the hourly or half-hourly chime, then every due notice of
// the list in list order; on every tick the clock's separator blinks. The
// effects go through tschedulereffects so that they happen, and can be
// watched, in exactly this order.
#pragma once

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
  // Plays the notice sound to its end, then opens the notice window.
  virtual void ShowNotice(const std::string& message) = 0;
  // Inverts the clock's Signal and updates the panel.
  virtual void BlinkSeparator() = 0;
};

class tminutescheduler {
 public:
  tminutescheduler(tschedulerclock& clock, tschedulereffects& effects) : clock_(clock), effects_(effects) {}

  // One timer event. The lists are read as they stand now: the wizards may
  // change them between ticks.
  void Tick(const teventsoundsettings& sounds, const tnoticelist& notices);

  // The clock's minute of the last pass; 0 before the first, so a program
  // started in minute 0 of an hour lets that minute go by.
  int LastProcessedMinute() const { return lastprocessedminute_; }

 private:
  void Chime(int minute, const teventsoundsettings& sounds);

  tschedulerclock& clock_;
  tschedulereffects& effects_;
  int lastprocessedminute_ = 0;
  bool inpass_ = false;
};

}  // namespace pendo
