#include "settings/programidentity.h"

#include "settings/platform.h"

namespace pendo {

std::string::size_type FileNameStart(const std::string& path) {
  std::string::size_type start = 0;
  for (std::string::size_type i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (platform::IsLeadByte(c)) {
      ++i;  // the trail byte belongs to this character
    } else if (c == '\\' || c == ':' || c == static_cast<unsigned char>(platform::kPathDelimiter)) {
      start = i + 1;
    }
  }
  return start < path.size() ? start : path.size();
}

std::string BaseNameOf(const std::string& path) {
  std::string name = path.substr(FileNameStart(path));
  // The last '.' that is a character of its own, not a trail byte.
  std::string::size_type dot = std::string::npos;
  for (std::string::size_type i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (platform::IsLeadByte(c)) {
      ++i;
    } else if (c == '.') {
      dot = i;
    }
  }
  if (dot != std::string::npos) name.resize(dot);
  return platform::LowerText(name);
}

std::string GetProgramBaseName() { return BaseNameOf(platform::ExecutablePath()); }

std::string GetProgramFolder() {
  const std::string path = platform::ExecutablePath();
  return path.substr(0, FileNameStart(path));
}

}  // namespace pendo
