#include "installer/scriptfile.h"

#include "settings/profiletext.h"
#include "settings/fileerror.h"
#include "settings/platform.h"

namespace pendo {

std::string ScriptFile::Text() const {
  std::string bytes;
  return platform::ReadFileBytes(path_, bytes) ? bytes : std::string();
}

bool ScriptFile::Store(const std::string& before, const std::string& after) const {
  if (after == before) return true;
  try {
    platform::WriteFileAtomically(path_, after);
    return true;
  } catch (const EFileError&) {
    return false;
  }
}

std::string ScriptFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  std::string value;
  if (!tprofiletext(Text()).Read(section, key, value)) return def;
  return value.size() < kValueBufferSize ? value : value.substr(0, kValueBufferSize - 1);
}

bool ScriptFile::ReadFlag(const std::string& section, const std::string& key, bool def) const {
  std::string value;
  return tprofiletext(Text()).Read(section, key, value) ? ParseFlag(value) : def;
}

bool ScriptFile::ReadEntries(const std::string& section, tentrylist& list) const {
  const tprofiletext text(Text());
  // The names fill a buffer of kEntryNameBufferSize bytes as the system's
  // functions did, each ending in NUL; a list that fills it is not whole.
  std::string buffer;
  bool whole = true;
  for (const auto& name : text.KeyNames(section)) {
    if (buffer.size() + name.size() + 1 + 2 > kEntryNameBufferSize) {
      whole = false;
      break;
    }
    buffer += name;
    buffer.push_back('\0');
  }
  if (whole && buffer.size() + 2 >= kEntryNameBufferSize) whole = false;
  list = CollectEntries(buffer, [&](const std::string& name) {
    std::string value;
    text.Read(section, name, value);
    return value.size() < kValueBufferSize ? value : value.substr(0, kValueBufferSize - 1);
  });
  return whole;
}

void ScriptFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
  const std::string before = Text();
  tprofiletext text(before);
  text.Write(section, key, value);
  if (!Store(before, text.Bytes())) throw EFileError(path_ + " に書き込めません");
}

bool ScriptFile::RemoveKey(const std::string& section, const std::string& key) const {
  const std::string before = Text();
  tprofiletext text(before);
  text.RemoveKey(section, key);
  return Store(before, text.Bytes());
}

bool ScriptFile::RemoveSection(const std::string& section) const {
  const std::string before = Text();
  tprofiletext text(before);
  text.RemoveSection(section);
  return Store(before, text.Bytes());
}

}  // namespace pendo
