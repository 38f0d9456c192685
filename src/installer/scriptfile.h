// One profile file of the installer (setup script, uninstall script, the
// installation register), read and written anew on every call through the
// system's private-profile functions.
#pragma once

#include <string>

#include "installer/scriptformat.h"

namespace pendo {

class ScriptFile {
 public:
  explicit ScriptFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // The value (at most 1,023 bytes), or def when the key is missing.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  bool ReadFlag(const std::string& section, const std::string& key, bool def) const;
  // Clears list and fills it with the section's entries, "name=value".
  // False when the section's names do not all fit the name buffer: the
  // list then holds only those that fit, and must not be acted upon.
  bool ReadEntries(const std::string& section, tentrylist& list) const;
  // Throws EFileError "<path> に書き込めません" when the file cannot be written.
  void WriteString(const std::string& section, const std::string& key, const std::string& value) const;

 private:
  std::string path_;
};

}  // namespace pendo
