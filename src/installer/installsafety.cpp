#include "installer/installsafety.h"

#include <cctype>
#include <cstring>

#include "settings/platform.h"
#include "settings/textfields.h"

namespace pendo {

namespace {

bool IsSeparator(unsigned char c) { return c == '\\' || c == '/'; }

// A lead byte must be followed by a trail byte of code page 932; anything
// else (a ':' or '\\' after a stray lead byte) is read differently by the
// file system than by a byte walk, so such text is refused.
bool HasTrailAt(const std::string& text, std::string::size_type i) {
  if (i >= text.size()) return false;
  const unsigned char c = static_cast<unsigned char>(text[i]);
  return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// Splits at '\' and '/' that are characters of their own; false when a
// double-byte character is cut off at the end.
bool SplitPath(const std::string& path, std::vector<std::string>& parts) {
  parts.assign(1, std::string());
  for (std::string::size_type i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (platform::IsLeadByte(c)) {
      if (!HasTrailAt(path, i + 1)) return false;
      parts.back() += path.substr(i, 2);
      ++i;
    } else if (IsSeparator(c)) {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(c);
    }
  }
  return true;
}

std::string AsciiUpper(std::string s) {
  for (auto& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

bool IsDeviceName(const std::string& folded) {
  // The device names stand for devices whatever extension follows them.
  std::string stem = AsciiUpper(folded.substr(0, folded.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* d : kDevices) {
    if (stem == d) return true;
  }
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '0' &&
         stem[3] <= '9';
}

}  // namespace

bool IsPlainName(const std::string& name) {
  if (name.empty()) return false;
  for (std::string::size_type i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (platform::IsLeadByte(c)) {
      if (!HasTrailAt(name, i + 1)) return false;
      ++i;
      continue;
    }
    if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c)) return false;
  }
  // The file system drops trailing dots and blanks: ". ." is "." and "..." is "..".
  std::string folded = name;
  while (!folded.empty() && (folded.back() == '.' || folded.back() == ' ')) folded.pop_back();
  if (folded.empty()) return false;
  return !IsDeviceName(folded);
}

bool IsContainedPath(const std::string& path) {
  std::vector<std::string> parts;
  if (path.empty() || !SplitPath(path, parts)) return false;
  for (const auto& p : parts) {
    if (!IsPlainName(p)) return false;
  }
  return true;
}

namespace {

bool IsRegistryName(const std::string& name) {
  return !name.empty() && name.find('\\') == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace

std::string FindScriptFault(const SetupScriptContent& s) {
  if (!IsPlainName(s.applicationName)) return std::string(script::kProfile) + ": " + script::kApplicationName;
  auto fault = [](const char* section, const std::string& entry) { return std::string(section) + ": " + entry; };
  for (const auto& e : s.bind) {
    if (!IsContainedPath(GetEntryName(e))) return fault(script::kBind, e);
  }
  for (const auto& e : s.erase) {
    if (!IsContainedPath(GetEntryName(e))) return fault(script::kErase, e);
  }
  for (const auto& e : s.rename) {
    if (!IsContainedPath(GetEntryName(e)) || !IsContainedPath(GetEntryValue(e))) return fault(script::kRename, e);
  }
  for (const auto& e : s.shortCut) {
    if (!IsContainedPath(GetEntryName(e)) || !IsContainedPath(GetEntryValue(e))) return fault(script::kShortCut, e);
  }
  for (const auto& e : s.relation) {
    const std::string ext = GetEntryName(e);
    if (ext.size() < 2 || ext[0] != '.' || !IsRegistryName(ext) || !IsRegistryName(GetField(GetEntryValue(e), 0)))
      return fault(script::kRelation, e);
  }
  return std::string();
}

namespace {

// Lower-cased, '/' as '\', without trailing separators; false when the text
// is no absolute folder made of plain names. root receives the number of
// leading parts that make its root ("c:" or "", "", server, share).
bool NormalFolder(const std::string& folder, std::vector<std::string>& parts, std::size_t& root) {
  if (!SplitPath(platform::LowerText(folder), parts)) return false;
  while (parts.size() > 1 && parts.back().empty()) parts.pop_back();
  if (parts.size() >= 2 && parts[0].empty() && parts[1].empty()) {
    root = parts.size() >= 4 ? 4 : parts.size();  // \\server\share
  } else if (parts[0].size() == 2 && parts[0][1] == ':' && std::isalpha(static_cast<unsigned char>(parts[0][0]))) {
    root = 1;
  } else {
    return false;
  }
  for (std::size_t i = (root == 1 ? 1 : 2); i < parts.size(); ++i) {
    if (!IsPlainName(parts[i])) return false;
  }
  return true;
}

bool IsAtOrAbove(const std::vector<std::string>& folder, const std::vector<std::string>& other) {
  if (folder.size() > other.size()) return false;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (folder[i] != other[i]) return false;
  }
  return true;
}

}  // namespace

RemovalVerdict CheckRemovalFolder(const std::string& folder, const std::vector<std::string>& protectedFolders,
                                  bool hasUninstallScript) {
  std::vector<std::string> parts;
  std::size_t root = 0;
  if (folder.empty() || folder == "\\" || folder == "/") return RemovalVerdict::DriveRoot;
  if (!NormalFolder(folder, parts, root)) return RemovalVerdict::NotAbsolute;
  if (parts.size() <= root) return RemovalVerdict::DriveRoot;
  for (const auto& p : protectedFolders) {
    std::vector<std::string> other;
    std::size_t otherRoot = 0;
    if (NormalFolder(p, other, otherRoot) && IsAtOrAbove(parts, other)) return RemovalVerdict::SystemFolder;
  }
  return hasUninstallScript ? RemovalVerdict::Fit : RemovalVerdict::NoUninstallScript;
}

}  // namespace pendo
