#include "settings/cpuloadmonitor.h"

#include <windows.h>

#include "settings/platform.h"
#include "settings/profilelines.h"
#include "settings/profiletext.h"
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
  std::string ini;
  if (!platform::ReadFileBytes(registerFile, ini)) return 0;
  // Read as bytes: the system would read them in its own code page.
  std::string folder;
  tprofiletext(ini).Read("Ostrelle", "InstallationDirectory", folder);
  const std::string profile = folder + "\\profile\\profile_statemonitor";
  // The monitor may be rewriting its profile; wait a little, never for good.
  std::string bytes;
  if (ReadFilePatiently(profile, bytes) != tfileread::Read) return 0;
  return CpuLoadMonitorValue(SplitProfileLines(bytes));
}

}  // namespace pendo
