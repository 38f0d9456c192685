#include "settings/profiler.h"

#include "settings/fileerror.h"
#include "settings/platform.h"
#include "settings/profilelines.h"
#include "settings/programidentity.h"
#include "settings/safefiles.h"
#include "settings/textfields.h"

namespace pendo {

namespace {
// A default that no integer text equals, so a failed parse is told apart.
const char kNotAnInteger[] = "Strings";

// Field 0 of the line equals key; compared in place, since profiles are
// scanned on every read and write.
bool LineHasKey(const std::string& line, const std::string& key) {
  const auto comma = line.find(',');
  const auto length = comma == std::string::npos ? line.size() : comma;
  return length == key.size() && line.compare(0, length, key) == 0;
}
std::string& ChosenFolder() {
  static std::string folder;
  return folder;
}
}  // namespace

std::string tprofiler::ProfileFolder() {
  const std::string& chosen = ChosenFolder();
  return chosen.empty() ? GetProgramFolder() + "profile" + platform::kPathDelimiter : chosen;
}

void tprofiler::SetProfileFolder(const std::string& folder) { ChosenFolder() = folder; }

tprofiler::tprofiler(const std::string& name) {
  const std::string folder = ProfileFolder();
  platform::CreateFolderTree(folder);
  path_ = folder + name;
  std::string bytes;
  const tfileread result = ReadFilePatiently(path_, bytes);
  if (result == tfileread::Read) lines_ = SplitProfileLines(bytes);
  unreadable_ = result == tfileread::Unreadable;
}

tprofiler::~tprofiler() {
  try {
    Save();
  } catch (...) {
  }
}

std::string tprofiler::ReadString(const std::string& key, const std::string& def) const {
  for (const auto& line : lines_) {
    if (LineHasKey(line, key)) return GetField(line, 1);
  }
  return def;
}

std::string tprofiler::ReadLineRest(const std::string& key, const std::string& def) const {
  for (const auto& line : lines_) {
    if (!LineHasKey(line, key)) continue;
    const auto comma = line.find(',');
    return comma == std::string::npos ? std::string() : line.substr(comma + 1);
  }
  return def;
}

int tprofiler::ReadInteger(const std::string& key, int def) const {
  return ParseIntegerOr(ReadString(key, kNotAnInteger), def);
}

bool tprofiler::ReadBool(const std::string& key, bool def) const {
  int v;
  return TryParseInteger(ReadString(key, kNotAnInteger), v) ? v != 0 : def;
}

void tprofiler::WriteString(const std::string& key, const std::string& value) {
  for (auto it = lines_.begin(); it != lines_.end(); ++it) {
    if (LineHasKey(*it, key)) {
      lines_.erase(it);
      break;
    }
  }
  lines_.insert(lines_.begin(), key + "," + value);
}

void tprofiler::WriteInteger(const std::string& key, int value) { WriteString(key, std::to_string(value)); }

void tprofiler::WriteBool(const std::string& key, bool value) { WriteString(key, value ? "1" : "0"); }

void tprofiler::Save() {
  if (unreadable_) throw EFileError("cannot read " + path_ + " when it was opened; it is left as it was");
  platform::WriteFileAtomically(path_, JoinProfileLines(lines_));
}

}  // namespace pendo
