// A profile file's text ("[section]" headers, "key=value" lines) read and
// edited as the system's private-profile functions treat it, byte for byte
// in code page 932: names match without regard to ASCII case, the first of
// equal names counts, blanks around names and values do not count, and one
// pair of quotes around a value is dropped on reading. An edit rewrites only
// the lines it changes; every other byte of the file stays as it was.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pendo {

// Equal names of sections and keys: ASCII letters in any case, the bytes of
// double-byte characters as they are.
bool SameProfileName(const std::string& a, const std::string& b);

class tprofiletext {
 public:
  explicit tprofiletext(std::string bytes = std::string()) : bytes_(std::move(bytes)) {}

  const std::string& Bytes() const { return bytes_; }

  // False when the section or the key is missing.
  bool Read(const std::string& section, const std::string& key, std::string& value) const;
  // The named keys of the section in file order, equal names included.
  std::vector<std::string> KeyNames(const std::string& section) const;

  // Rewrites the key's line as "key=value"; a missing key is added after the
  // section's last line that is not blank, a missing section at the end.
  void Write(const std::string& section, const std::string& key, const std::string& value);
  // False when there was no such key.
  bool RemoveKey(const std::string& section, const std::string& key);
  // Every section of that name with its lines; false when there was none.
  bool RemoveSection(const std::string& section);

 private:
  struct tline {
    std::size_t start, end, next;  // the text is [start, end); the next line starts at next
    bool header;                   // "[name]"
    bool key;                      // "name=value"
    std::string name;
    std::size_t valueStart;        // after '=' for a key
  };
  std::vector<tline> Lines() const;
  // The first section of that name: its header's index, or npos.
  static std::size_t FindSection(const std::vector<tline>& lines, const std::string& section);
  // The key's line in the section whose header is at index first, or npos.
  static std::size_t FindKey(const std::vector<tline>& lines, std::size_t first, const std::string& key);

  std::string bytes_;
};

}  // namespace pendo
