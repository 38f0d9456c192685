#include "installer/scriptfile.h"

#include <windows.h>

#include <vector>

#include "settings/fileerror.h"

namespace pendo {

namespace {
// A default no value can equal, so a missing key is told from an empty one.
const char kMissing[] = "\x01\x02missing\x02\x01";
}  // namespace

std::string ScriptFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  char buf[kValueBufferSize];
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buf, sizeof buf, path_.c_str());
  const std::string value(buf, n);
  return value == kMissing ? def : value;
}

bool ScriptFile::ReadFlag(const std::string& section, const std::string& key, bool def) const {
  const std::string text = ReadString(section, key, kMissing);
  return text == kMissing ? def : ParseFlag(text);
}

bool ScriptFile::ReadEntries(const std::string& section, tentrylist& list) const {
  std::vector<char> names(kEntryNameBufferSize);
  const DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", names.data(),
                                           static_cast<DWORD>(names.size()), path_.c_str());
  // A full buffer (n = size - 2) ends in a name cut short: it is not seen.
  std::string buffer(names.data(), n);
  const bool whole = n + 2 < names.size();
  if (!whole) {
    const auto lastEnd = buffer.rfind('\0');
    buffer.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
  } else {
    buffer.push_back('\0');
  }
  list = CollectEntries(buffer, [&](const std::string& name) { return ReadString(section, name, ""); });
  return whole;
}

void ScriptFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
    throw EFileError(path_ + " に書き込めません");
}

}  // namespace pendo
