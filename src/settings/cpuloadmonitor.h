// The load-window handle that the state monitor of the same family keeps in
// its profile, found through the installation register.
#pragma once

#include <string>
#include <vector>

namespace pendo {

// Value of the last "cpuloadmonitor" line, 0 when none or not a number.
int CpuLoadMonitorValue(const std::vector<std::string>& lines);

// 0 whenever the register, the folder, the profile or the key is missing, and
// when the profile stays unreadable over a few tries (at most about a second).
int ReadCpuLoadMonitorSetting();

}  // namespace pendo
