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

namespace {
std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A value of an ini file of code page 932 bytes, looked up as
// GetPrivateProfileString does; the system would read the bytes in its own
// code page, which need not be 932.
std::string IniValue(const std::string& bytes, const std::string& section, const std::string& key) {
  const std::string wantedSection = platform::LowerText(section), wantedKey = platform::LowerText(key);
  bool inSection = false;
  for (const std::string& raw : SplitProfileLines(bytes)) {
    const std::string line = Trimmed(raw);
    if (!line.empty() && line[0] == '[') {
      const auto close = line.find(']');
      inSection = platform::LowerText(Trimmed(line.substr(1, close == std::string::npos ? close : close - 1))) ==
                  wantedSection;
      continue;
    }
    const auto equals = line.find('=');
    if (!inSection || equals == std::string::npos) continue;
    if (platform::LowerText(Trimmed(line.substr(0, equals))) != wantedKey) continue;
    std::string value = Trimmed(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return value;
  }
  return std::string();
}
}  // namespace

int ReadCpuLoadMonitorSetting() {
  const std::string registerFile = GetWindowsFolder() + "mondax.ini";
  std::string ini;
  if (!platform::ReadFileBytes(registerFile, ini)) return 0;
  const std::string folder = IniValue(ini, "Ostrelle", "InstallationDirectory");
  const std::string profile = folder + "\\profile\\profile_statemonitor";
  // The monitor may be rewriting its profile; wait a little, never for good.
  std::string bytes;
  if (ReadFilePatiently(profile, bytes) != tfileread::Read) return 0;
  return CpuLoadMonitorValue(SplitProfileLines(bytes));
}

}  // namespace pendo
