// The user's notices: an ordered list of record lines, kept in the order they
// were loaded or added until sorted explicitly, and their file
// "element_noticelist" in the profile folder.
#pragma once

#include <string>
#include <vector>

namespace pendo {

class tnoticelist {
 public:
  enum class tloadresult { Missing, Loaded, Unreadable };

  static const char kFileName[];
  // The profile folder + kFileName.
  static std::string FilePath();

  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& operator[](int index) const { return lines_[static_cast<std::size_t>(index)]; }
  const std::vector<std::string>& Lines() const { return lines_; }
  void Add(const std::string& line) { lines_.push_back(line); }
  void Replace(int index, const std::string& line) { lines_[static_cast<std::size_t>(index)] = line; }
  void Delete(int index) { lines_.erase(lines_.begin() + index); }
  void Clear() { lines_.clear(); }

  // Ascending by the user's locale ignoring case; not stable.
  void Sort();

  // The file's text split at CR, LF or CR LF up to its first NUL; every line,
  // empty ones too, is a record.
  void SetText(const std::string& bytes);
  // Each line followed by CR LF.
  std::string Text() const;

  // Creates the profile folder (a failure is ignored) and replaces the list
  // by the file's lines when the file exists. A file that exists but cannot
  // be read leaves the list empty.
  tloadresult Load(const std::string& path);
  // Replaces the file atomically; throws EFileError and leaves the old file
  // whole when it cannot be written.
  void Save(const std::string& path) const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace pendo
