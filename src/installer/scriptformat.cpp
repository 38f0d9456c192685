#include "installer/scriptformat.h"

#include <algorithm>
#include <cstring>

#include "settings/profiletext.h"
#include "settings/platform.h"
#include "settings/programidentity.h"
#include "settings/textfields.h"

namespace pendo {

// '=' (0x3D) is never a trail byte of code page 932, so a byte search is safe.
std::string GetEntryName(const std::string& entry) {
  const auto at = entry.find('=');
  return at == std::string::npos ? std::string() : entry.substr(0, at);
}

std::string GetEntryValue(const std::string& entry) {
  const auto at = entry.rfind('=');
  return at == std::string::npos ? std::string() : entry.substr(at + 1);
}

tentrylist CollectEntries(const std::string& nameBuffer, const std::function<std::string(const std::string&)>& valueOf) {
  std::vector<std::string> names;
  std::string::size_type start = 0;
  for (;;) {
    const auto end = nameBuffer.find('\0', start);
    if (end == std::string::npos || end == start) break;  // a cut name or the closing NUL
    std::string name = nameBuffer.substr(start, end - start);
    bool seen = false;
    for (const auto& n : names) seen = seen || SameProfileName(n, name);
    if (!seen) names.push_back(std::move(name));
    start = end + 1;
  }
  tentrylist entries;
  for (const auto& name : names) {
    const std::string value = valueOf(name);
    if (!value.empty()) entries.push_back(name + "=" + value);
  }
  return entries;
}

bool ParseFlag(const std::string& text) {
  std::string t = text;
  // "0x" and "0X" are spelled "$" for the shared integer reader.
  const auto first = t.find_first_not_of(' ');
  if (first != std::string::npos && t.compare(first, 2, "0x") == 0) t.replace(first, 2, "$");
  if (first != std::string::npos && t.compare(first, 2, "0X") == 0) t.replace(first, 2, "$");
  return ParseIntegerOr(t, 0) != 0;
}

std::uint32_t ParseSize(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  const auto last = text.find_last_not_of(' ');
  if (first == std::string::npos) return 0;
  std::uint64_t v = 0;
  for (auto i = first; i <= last; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return 0;
    v = v * 10 + static_cast<unsigned>(c - '0');
    if (v > 0xFFFFFFFFull) return 0;
  }
  return static_cast<std::uint32_t>(v);
}

std::vector<tbinditem> ReadBindList(const tentrylist& entries) {
  std::vector<tbinditem> items;
  items.reserve(entries.size());
  for (const auto& e : entries) items.push_back(tbinditem{GetEntryName(e), ParseSize(GetEntryValue(e))});
  return items;
}

std::uint64_t BindTotal(const std::vector<tbinditem>& items) {
  std::uint64_t total = 0;
  for (const auto& i : items) total += i.size;
  return total;
}

std::uint32_t EstimatedSizeKiB(std::uint64_t bytes) {
  const std::uint64_t kib = bytes / 1024 + (bytes % 1024 ? 1 : 0);
  return kib > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(kib);
}

bool ParseChecksum(const std::string& text, std::uint32_t& crc) {
  const auto first = text.find_first_not_of(' ');
  const auto last = text.find_last_not_of(' ');
  if (first == std::string::npos || last - first != 7) return false;
  std::uint32_t v = 0;
  for (auto i = first; i <= last; ++i) {
    const char c = text[i];
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return false;
    v = v << 4 | static_cast<std::uint32_t>(digit);
  }
  crc = v;
  return true;
}

bool IsBelowFolder(const std::string& path, const std::string& prefix) {
  return !prefix.empty() && path.size() > prefix.size() &&
         platform::LowerText(path.substr(0, prefix.size())) == platform::LowerText(prefix);
}

std::vector<std::string> InstanceLockNames(const std::vector<tbinditem>& items) {
  std::vector<std::string> names;
  for (const auto& i : items) {
    if (ExtensionOf(i.name) != ".exe") continue;
    const std::string name = BaseNameOf(i.name);
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  return names;
}

tfileverb SplitRelation(const std::string& entry, const std::string& folderPrefix) {
  const std::string value = GetEntryValue(entry);
  return tfileverb{GetEntryName(entry), GetField(value, 0), folderPrefix + GetField(value, 1)};
}

namespace {

// True when the last character of text is a '\' of its own, not a trail byte.
bool EndsWithSeparator(const std::string& text) {
  bool last = false;
  for (std::string::size_type i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    last = false;
    if (platform::IsLeadByte(c)) {
      ++i;
    } else if (c == '\\') {
      last = true;
    }
  }
  return last;
}

}  // namespace

std::string StoredFolder(const std::string& folder) {
  return EndsWithSeparator(folder) ? folder.substr(0, folder.size() - 1) : folder;
}

std::string FolderPrefix(const std::string& folder) { return StoredFolder(folder) + "\\"; }

std::string FolderPartOf(const std::string& path) { return path.substr(0, FileNameStart(path)); }

std::string ExtensionOf(const std::string& path) {
  const std::string name = path.substr(FileNameStart(path));
  const auto dot = name.rfind('.');  // '.' is never a trail byte
  return dot == std::string::npos ? std::string() : platform::LowerText(name.substr(dot));
}

std::string JoinParameters(const std::vector<std::string>& parameters) {
  std::string text = parameters.empty() ? std::string() : parameters.front();
  for (std::size_t i = 1; i < parameters.size(); ++i) {
    if (!parameters[i].empty()) text += ' ' + parameters[i];
  }
  return text;
}

std::string UninstallScriptOf(const std::string& command) {
  std::string script;
  if (!command.empty() && command[0] == '"') {
    // "installer" "script": quotes are never trail bytes.
    const auto close = command.find('"', 1);
    const auto open = close == std::string::npos ? close : command.find('"', close + 1);
    const auto end = open == std::string::npos ? open : command.find('"', open + 1);
    if (end != std::string::npos) script = command.substr(open + 1, end - open - 1);
  } else {
    const std::string installer = script::kInstaller;
    const std::string lower = platform::LowerText(command);
    const auto at = lower.find(installer + " ");
    if (at != std::string::npos) script = command.substr(at + installer.size() + 1);
  }
  return ExtensionOf(script) == ".uix" ? script : std::string();
}

std::string MakeUninstallString(const std::string& windowsFolder, const std::string& installFolder) {
  return "\"" + windowsFolder + script::kInstaller + "\" \"" + FolderPrefix(installFolder) + script::kUninstallScript +
         "\"";
}

}  // namespace pendo
