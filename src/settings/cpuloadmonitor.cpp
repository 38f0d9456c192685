#include "settings/cpuloadmonitor.h"

#include <windows.h>

#include "settings/platform.h"
#include "settings/profilelines.h"
#include "settings/safefiles.h"
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
  // The monitor may be rewriting its profile; wait a little, never for good.
  std::string bytes;
  if (ReadFilePatiently(profile, bytes) != tfileread::Read) return 0;
  return CpuLoadMonitorValue(SplitProfileLines(bytes));
}

}  // namespace pendo
