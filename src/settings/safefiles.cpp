#include "settings/safefiles.h"

#include "settings/platform.h"
#include "settings/programidentity.h"

namespace pendo {

tfileread ReadFilePatiently(const std::string& path, std::string& bytes) {
  constexpr int kTries = 5;
  constexpr int kPauseMs = 200;
  for (int i = 0; i < kTries; ++i) {
    if (platform::ReadFileBytes(path, bytes)) return tfileread::Read;
    if (!platform::FileExists(path)) return tfileread::Missing;
    if (i + 1 < kTries) platform::Pause(kPauseMs);
  }
  bytes.clear();
  return tfileread::Unreadable;
}

std::string TemporaryPathFor(const std::string& path, unsigned long pid) {
  return path + "." + std::to_string(pid) + ".tmp";
}

bool TemporaryOwner(const std::string& name, const std::string& baseName, unsigned long& pid) {
  const std::string suffix = ".tmp";
  if (name.size() < baseName.size() + 1 + 1 + suffix.size()) return false;
  if (name.compare(0, baseName.size(), baseName) != 0 || name[baseName.size()] != '.') return false;
  if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
  const std::string digits = name.substr(baseName.size() + 1, name.size() - baseName.size() - 1 - suffix.size());
  if (digits.size() > 10) return false;
  unsigned long long value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > 0xFFFFFFFFull) return false;
  pid = static_cast<unsigned long>(value);
  return true;
}

void RemoveLeftoverTemporaries(const std::string& path) {
  const auto start = FileNameStart(path);
  const std::string folder = path.substr(0, start);
  const std::string baseName = path.substr(start);
  const unsigned long self = platform::CurrentProcessId();
  for (const std::string& name : platform::FilesStartingWith(folder, baseName + ".")) {
    unsigned long pid = 0;
    if (!TemporaryOwner(name, baseName, pid) || pid == self || platform::ProcessRunning(pid)) continue;
    platform::RemoveFile(folder + name);
  }
}

}  // namespace pendo
