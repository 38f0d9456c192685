// The sounds the main window plays for the chimes and the notices, each a
// sound text as PlaySoundList takes it, kept in the main window's profile.
#pragma once

#include <array>
#include <string>

namespace pendo {

class tprofiler;

struct teventsoundsettings {
  // Index 0..23: the chime at minute 0 of that hour; 24..47: at minute 30 of
  // hour index - 24.
  std::array<std::string, 48> clocked;
  // When set, sounds at every full hour instead of that hour's chime, and the
  // half hours stay silent.
  std::string allclocked;
  std::string noticed;

  // Empty outside 0..23.
  std::string Hourly(int hour) const;
  std::string HalfHourly(int hour) const;

  // Missing keys read as empty text. A path may hold a comma, so each value is
  // the whole rest of its line.
  void Read(const tprofiler& profile);
  // Every value, empty ones too, in the order Read takes them.
  void Write(tprofiler& profile) const;
};

}  // namespace pendo
