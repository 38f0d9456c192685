#include "settings/profiletext.h"

#include "settings/platform.h"

namespace pendo {

namespace {

constexpr std::size_t npos = std::string::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Blanks, '=', '"' and '\'' are never trail bytes of code page 932, so
// trimming and splitting at them may look at single bytes.
std::string Trimmed(const std::string& text, std::size_t from, std::size_t to) {
  while (from < to && IsBlank(text[from])) ++from;
  while (to > from && IsBlank(text[to - 1])) --to;
  return text.substr(from, to - from);
}

}  // namespace

bool SameProfileName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (platform::IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

std::vector<tprofiletext::tline> tprofiletext::Lines() const {
  std::vector<tline> lines;
  const std::size_t n = bytes_.size();
  std::size_t start = 0;
  while (start < n) {
    std::size_t end = start;
    while (end < n && bytes_[end] != '\r' && bytes_[end] != '\n') ++end;
    std::size_t next = end;
    if (next < n) next += bytes_[next] == '\r' && next + 1 < n && bytes_[next + 1] == '\n' ? 2 : 1;
    tline line{start, end, next, false, false, std::string(), npos};
    std::size_t p = start;
    while (p < end && IsBlank(bytes_[p])) ++p;
    if (p < end && bytes_[p] == '[') {
      // The last ']' that is no trail byte closes the name.
      std::size_t close = npos;
      for (std::size_t i = p + 1; i < end; ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(bytes_[i]))) {
          ++i;
        } else if (bytes_[i] == ']') {
          close = i;
        }
      }
      if (close != npos) {
        line.header = true;
        line.name = Trimmed(bytes_, p + 1, close);
      }
    } else if (p < end && bytes_[p] != ';') {
      const std::size_t equals = bytes_.find('=', p);
      if (equals < end) {
        line.key = true;
        line.name = Trimmed(bytes_, p, equals);
        line.valueStart = equals + 1;
      }
    }
    lines.push_back(std::move(line));
    start = next;
  }
  return lines;
}

std::size_t tprofiletext::FindSection(const std::vector<tline>& lines, const std::string& section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].header && SameProfileName(lines[i].name, section)) return i;
  }
  return npos;
}

std::size_t tprofiletext::FindKey(const std::vector<tline>& lines, std::size_t first, const std::string& key) {
  for (std::size_t i = first + 1; i < lines.size() && !lines[i].header; ++i) {
    if (lines[i].key && SameProfileName(lines[i].name, key)) return i;
  }
  return npos;
}

bool tprofiletext::Read(const std::string& section, const std::string& key, std::string& value) const {
  const auto lines = Lines();
  const std::size_t header = FindSection(lines, section);
  if (header == npos) return false;
  const std::size_t at = FindKey(lines, header, key);
  if (at == npos) return false;
  std::string text = Trimmed(bytes_, lines[at].valueStart, lines[at].end);
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
    text = text.substr(1, text.size() - 2);
  value = text;
  return true;
}

std::vector<std::string> tprofiletext::KeyNames(const std::string& section) const {
  std::vector<std::string> names;
  const auto lines = Lines();
  const std::size_t header = FindSection(lines, section);
  for (std::size_t i = header == npos ? lines.size() : header + 1; i < lines.size() && !lines[i].header; ++i) {
    if (lines[i].key && !lines[i].name.empty()) names.push_back(lines[i].name);
  }
  return names;
}

void tprofiletext::Write(const std::string& section, const std::string& key, const std::string& value) {
  const auto lines = Lines();
  const std::size_t header = FindSection(lines, section);
  if (header == npos) {
    if (!bytes_.empty() && bytes_.back() != '\n' && bytes_.back() != '\r') bytes_ += "\r\n";
    bytes_ += "[" + section + "]\r\n" + key + "=" + value + "\r\n";
    return;
  }
  const std::size_t at = FindKey(lines, header, key);
  if (at != npos) {
    bytes_.replace(lines[at].start, lines[at].end - lines[at].start, lines[at].name + "=" + value);
    return;
  }
  std::size_t last = header;
  for (std::size_t i = header + 1; i < lines.size() && !lines[i].header; ++i) {
    if (!Trimmed(bytes_, lines[i].start, lines[i].end).empty()) last = i;
  }
  const tline& after = lines[last];
  const std::string lineBreak = after.next == after.end ? "\r\n" : "";
  bytes_.insert(after.next, lineBreak + key + "=" + value + "\r\n");
}

bool tprofiletext::RemoveKey(const std::string& section, const std::string& key) {
  const auto lines = Lines();
  const std::size_t header = FindSection(lines, section);
  const std::size_t at = header == npos ? npos : FindKey(lines, header, key);
  if (at == npos) return false;
  bytes_.erase(lines[at].start, lines[at].next - lines[at].start);
  return true;
}

bool tprofiletext::RemoveSection(const std::string& section) {
  const auto lines = Lines();
  bool removed = false;
  // From the end, so that the offsets of earlier lines still hold.
  std::size_t end = bytes_.size();
  for (std::size_t i = lines.size(); i-- > 0;) {
    if (!lines[i].header) continue;
    if (SameProfileName(lines[i].name, section)) {
      bytes_.erase(lines[i].start, end - lines[i].start);
      removed = true;
    }
    end = lines[i].start;
  }
  return removed;
}

}  // namespace pendo
