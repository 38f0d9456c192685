// One profile file of the installer (setup script, uninstall script, the
// installation register), read and written anew on every call. Its bytes
// are code page 932 whatever the system's code page, so it is read and
// written as bytes, not through the system's private-profile functions.
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
  // False when the file cannot be written; a missing key or section is no failure.
  bool RemoveKey(const std::string& section, const std::string& key) const;
  bool RemoveSection(const std::string& section) const;

 private:
  std::string Text() const;
  bool Store(const std::string& before, const std::string& after) const;

  std::string path_;
};

}  // namespace pendo
