#include "settings/cpuloadmonitor.h"

#include <windows.h>

#include "settings/platform.h"
#include "settings/profilelines.h"
#include "settings/textfields.h"
#include "settings/windowsfolder.h"

namespace pendo {

int CpuLoadMonitorValue(const std::vector<std::string>& lines) {
  int value = 0;
  for (const auto& line : lines) {
    if (GetField(line, 0) == "cpuloadmonitor") value = ParseIntegerOr(GetField(line, 1), 0);
  }
  return value;
}

int ReadCpuLoadMonitorSetting() {
  const std::string registerFile = GetWindowsFolder() + "mondax.ini";
  if (!platform::FileExists(registerFile)) return 0;
  char folder[1024];
  GetPrivateProfileStringA("Ostrelle", "InstallationDirectory", "", folder, sizeof folder, registerFile.c_str());
  const std::string profile = std::string(folder) + "\\profile\\profile_statemonitor";
  if (!platform::FileExists(profile)) return 0;
  // The monitor may be rewriting its profile; wait a little, never for good.
  constexpr int kTries = 5;
  constexpr DWORD kPauseMs = 200;
  std::string bytes;
  for (int i = 0; i < kTries; ++i) {
    if (platform::ReadFileBytes(profile, bytes)) return CpuLoadMonitorValue(SplitProfileLines(bytes));
    if (i + 1 < kTries) Sleep(kPauseMs);
  }
  return 0;
}

}  // namespace pendo
