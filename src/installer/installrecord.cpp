#include "installer/installrecord.h"

#include <algorithm>

#include "installer/scriptformat.h"
#include "settings/platform.h"

namespace pendo {

namespace {

const char kHeader[] = "Mondax installation record 1";

struct tkindname {
  trecordkind kind;
  const char* name;
};
const tkindname kKinds[] = {{trecordkind::Folder, "folder"},     {trecordkind::File, "file"},
                            {trecordkind::Shortcut, "shortcut"}, {trecordkind::SendTo, "sendto"},
                            {trecordkind::Key, "key"},           {trecordkind::Value, "value"},
                            {trecordkind::End, "end"}};

// Tabs, line ends and '%' inside a field would split it; none is a trail
// byte of code page 932, so a byte walk is safe.
std::string Escape(const std::string& field) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : field) {
    const auto u = static_cast<unsigned char>(c);
    if (u == '%' || u == '\t' || u == '\r' || u == '\n') {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool Unescape(const std::string& field, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      out += field[i];
      continue;
    }
    if (i + 2 >= field.size()) return false;
    const int hi = HexDigit(field[i + 1]), lo = HexDigit(field[i + 2]);
    if (hi < 0 || lo < 0) return false;
    out += static_cast<char>(hi << 4 | lo);
    i += 2;
  }
  return true;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields(1);
  for (const char c : line) {
    if (c == '\t')
      fields.emplace_back();
    else
      fields.back() += c;
  }
  return fields;
}

bool ParseNumber(const std::string& text, std::uint64_t& value, int base, std::uint64_t max) {
  if (text.empty() || text.size() > 20) return false;
  std::uint64_t v = 0;
  for (const char c : text) {
    const int d = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) return false;
    if (v > (max - static_cast<std::uint64_t>(d)) / static_cast<std::uint64_t>(base)) return false;
    v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
  }
  value = v;
  return true;
}

std::string Key(const std::string& path) {
  std::string key = platform::LowerText(path);
  std::replace(key.begin(), key.end(), '/', '\\');  // '/' is never a trail byte
  return key;
}

std::string Hex8(std::uint32_t v) {
  static const char kHex[] = "0123456789abcdef";
  std::string s(8, '0');
  for (int i = 7; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = kHex[v & 15];
  return s;
}

}  // namespace

std::string FormatRecordHeader(const std::string& product, const std::string& folder) {
  return std::string(kHeader) + "\t" + Escape(product) + "\t" + Escape(folder) + "\r\n";
}

std::string FormatRecordEntry(const trecordentry& e) {
  const char* name = "folder";
  for (const auto& k : kKinds) {
    if (k.kind == e.kind) name = k.name;
  }
  std::string line = std::string(name) + "\t" + Escape(e.path);
  if (e.kind == trecordkind::File) line += "\t" + std::to_string(e.size) + "\t" + Hex8(e.crc);
  if (e.kind == trecordkind::Value) line += "\t" + Escape(e.name);
  return line + "\r\n";
}

bool ParseInstallRecord(const std::string& bytes, tinstallrecord& record) {
  record = tinstallrecord();
  std::size_t start = 0;
  bool header = false;
  for (;;) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) break;  // no line end yet: cut off by a kill
    const std::vector<std::string> f = SplitTabs(bytes.substr(start, end - start));
    start = end + 2;
    if (!header) {
      if (f.size() != 3 || f[0] != kHeader || !Unescape(f[1], record.product) || !Unescape(f[2], record.folder))
        return false;
      header = true;
      continue;
    }
    trecordentry e;
    const tkindname* kind = nullptr;
    for (const auto& k : kKinds) {
      if (f[0] == k.name) kind = &k;
    }
    if (!kind || f.size() < 2 || !Unescape(f[1], e.path) || e.path.empty()) continue;
    e.kind = kind->kind;
    if (e.kind == trecordkind::File) {
      std::uint64_t crc = 0;
      if (f.size() != 4 || !ParseNumber(f[2], e.size, 10, ~std::uint64_t{0}) || f[3].size() != 8 ||
          !ParseNumber(f[3], crc, 16, 0xFFFFFFFFu))
        continue;
      e.crc = static_cast<std::uint32_t>(crc);
    } else if (e.kind == trecordkind::Value) {
      if (f.size() != 3 || !Unescape(f[2], e.name)) continue;
    } else if (f.size() != 2) {
      continue;
    }
    record.entries.push_back(std::move(e));
  }
  return header;
}

std::vector<tfileprint> RecordedPrints(const tinstallrecord& record, const std::string& relative) {
  std::vector<tfileprint> prints;
  const std::string key = Key(relative);
  for (const auto& e : record.entries) {
    if (e.kind != trecordkind::File || Key(e.path) != key) continue;
    const tfileprint p{e.size, e.crc};
    if (std::find(prints.begin(), prints.end(), p) == prints.end()) prints.push_back(p);
  }
  return prints;
}

std::vector<std::string> RecordedPaths(const tinstallrecord& record, trecordkind kind) {
  std::vector<std::string> paths, keys;
  for (const auto& e : record.entries) {
    if (e.kind != kind) continue;
    const std::string key = Key(e.path);
    if (std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
    keys.push_back(key);
    paths.push_back(e.path);
  }
  return paths;
}

std::vector<std::string> RecordedFiles(const tinstallrecord& record) {
  return RecordedPaths(record, trecordkind::File);
}

bool IsSettingsPath(const std::string& relative, const std::vector<std::string>& settings) {
  const std::string key = Key(relative);
  for (const auto& s : settings) {
    const std::string prefix = Key(StoredFolder(s));
    if (prefix.empty()) continue;
    if (key == prefix || (key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0 &&
                          key[prefix.size()] == '\\'))
      return true;
  }
  return false;
}

const trecordentry* FileOfStoppedRun(const tinstallrecord& record) {
  const trecordentry* last = nullptr;
  for (const auto& e : record.entries) {
    if (e.kind == trecordkind::End) last = nullptr;
    if (e.kind == trecordkind::File) last = &e;
  }
  return last;
}

std::vector<std::string> DeepestFirst(std::vector<std::string> folders) {
  auto depth = [](const std::string& f) { return std::count(f.begin(), f.end(), '\\'); };
  std::stable_sort(folders.begin(), folders.end(),
                   [&](const std::string& a, const std::string& b) { return depth(a) > depth(b); });
  return folders;
}

}  // namespace pendo
