// A component's settings: key,value lines in "profile\<name>" beside the
// program, newest key first, kept in memory until saved.
#pragma once

#include <string>
#include <vector>

namespace pendo {

class tprofiler {
 public:
  // Opens profile name in the program's profile folder (created if missing).
  // A file that exists but cannot be read, even after a few tries, is
  // remembered as unreadable: reads give their defaults and it is never
  // written over, so the user's settings survive a program holding it.
  explicit tprofiler(const std::string& name);
  // Saves once more; a failure here is dropped, since a destructor cannot
  // report it (call Save first to see it).
  ~tprofiler();

  tprofiler(const tprofiler&) = delete;
  tprofiler& operator=(const tprofiler&) = delete;

  std::string ReadString(const std::string& key, const std::string& def) const;
  int ReadInteger(const std::string& key, int def) const;
  bool ReadBool(const std::string& key, bool def) const;
  // Everything after the key's first comma, later commas included, for
  // values that may hold one (a file path may).
  std::string ReadLineRest(const std::string& key, const std::string& def) const;

  void WriteString(const std::string& key, const std::string& value);
  void WriteInteger(const std::string& key, int value);
  void WriteBool(const std::string& key, bool value);

  // Replaces the file atomically; throws EFileError when it cannot be
  // written, or when it could not be read (the file is then left as it is).
  void Save();
  bool Unreadable() const { return unreadable_; }

  const std::string& FilePath() const { return path_; }
  const std::vector<std::string>& Lines() const { return lines_; }

  // The profile folder: the program's folder + "profile" + separator.
  static std::string ProfileFolder();
  // Another folder (ending in a separator; empty: the program's again), for
  // test programs, which run side by side and must not share their profiles.
  // The programs themselves never choose one.
  static void SetProfileFolder(const std::string& folder);

 private:
  std::vector<std::string> lines_;
  std::string path_;
  bool unreadable_ = false;
};

}  // namespace pendo
