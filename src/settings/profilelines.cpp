#include "settings/profilelines.h"

namespace pendo {

std::vector<std::string> SplitProfileLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  const auto n = bytes.size();
  for (std::string::size_type i = 0; i < n; ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(bytes, start, i - start);
    if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.emplace_back(bytes, start, n - start);
  return lines;
}

std::string JoinProfileLines(const std::vector<std::string>& lines) {
  std::string::size_type total = 0;
  for (const auto& line : lines) total += line.size() + 2;
  std::string out;
  out.reserve(total);
  for (const auto& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace pendo
