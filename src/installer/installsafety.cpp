#include "installer/installsafety.h"

#include <cctype>
#include <cstring>

#include "settings/platform.h"
#include "settings/textfields.h"

namespace pendo {

namespace {

bool IsSeparator(unsigned char c) { return c == '\\' || c == '/'; }

// The file system drops such ends: "a." and "a " name "a".
bool EndsInDotOrBlank(const std::string& name) { return !name.empty() && (name.back() == '.' || name.back() == ' '); }

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
    if (!IsPlainName(p) || EndsInDotOrBlank(p)) return false;
  }
  return true;
}

namespace {

bool IsRegistryName(const std::string& name) {
  return !name.empty() && name.find('\\') == std::string::npos && name.find('\0') == std::string::npos;
}

}  // namespace

std::string FindScriptFault(const tscriptcontent& s) {
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
  for (const auto& e : s.settings) {
    if (!IsContainedPath(GetEntryName(e))) return fault(script::kSettings, e);
  }
  for (const auto& e : s.relation) {
    const std::string ext = GetEntryName(e);
    if (ext.size() < 2 || ext[0] != '.' || !IsRegistryName(ext) || !IsRegistryName(GetField(GetEntryValue(e), 0)))
      return fault(script::kRelation, e);
  }
  return std::string();
}

namespace {

bool IsDriveName(const std::string& part) {
  return part.size() == 2 && part[1] == ':' && std::isalpha(static_cast<unsigned char>(part[0]));
}

// Lower-cased parts of an absolute drive folder or drive root, without
// trailing separators; false when the text is neither.
bool NormalFolder(const std::string& folder, std::vector<std::string>& parts) {
  const tfolderverdict verdict = CheckFolderName(folder);
  if (verdict != tfolderverdict::Fit && verdict != tfolderverdict::DriveRoot) return false;
  SplitPath(platform::LowerText(folder), parts);
  while (parts.size() > 1 && parts.back().empty()) parts.pop_back();
  return IsDriveName(parts[0]);
}

bool IsAtOrAbove(const std::vector<std::string>& folder, const std::vector<std::string>& other) {
  if (folder.size() > other.size()) return false;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (folder[i] != other[i]) return false;
  }
  return true;
}

}  // namespace

tfolderverdict CheckFolderName(const std::string& folder) {
  if (folder.empty() || folder == "\\" || folder == "/") return tfolderverdict::DriveRoot;
  if (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
    // "\\?\" and "\\.\" reach past the checks of the file system's names.
    const bool device = folder.size() >= 3 && (folder[2] == '?' || folder[2] == '.');
    return device ? tfolderverdict::NotAbsolute : tfolderverdict::NetworkFolder;
  }
  std::vector<std::string> parts;
  if (!SplitPath(folder, parts) || !IsDriveName(parts[0])) return tfolderverdict::NotAbsolute;
  while (parts.size() > 1 && parts.back().empty()) parts.pop_back();
  if (parts.size() == 1) return tfolderverdict::DriveRoot;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const std::string& p = parts[i];
    if (p.empty() || p == "." || p == "..") return tfolderverdict::NotAbsolute;
    if (EndsInDotOrBlank(p)) return tfolderverdict::TrailingDotOrBlank;
    if (!IsPlainName(p)) return tfolderverdict::NotAbsolute;
  }
  return tfolderverdict::Fit;
}

tfolderverdict JudgeFolder(const tfolderfacts& facts, const tprotectedfolders& protectedFolders, tfolderuse use,
                          const std::string& product) {
  tfolderverdict verdict = CheckFolderName(facts.typed);
  if (verdict != tfolderverdict::Fit) return verdict;
  if (facts.network) return tfolderverdict::NetworkFolder;
  if (facts.canonical.empty()) return tfolderverdict::Unresolved;
  // The canonical form may still be a share (a drive mapped to one).
  verdict = CheckFolderName(facts.canonical);
  if (verdict != tfolderverdict::Fit)
    return verdict == tfolderverdict::NetworkFolder ? verdict : tfolderverdict::Unresolved;
  std::vector<std::string> parts;
  NormalFolder(facts.canonical, parts);
  if (parts.size() <= 1) return tfolderverdict::DriveRoot;
  if (IsProtectedFolder(facts.canonical, protectedFolders)) return tfolderverdict::SystemFolder;
  if (!facts.link.empty()) return tfolderverdict::Link;
  const bool holdsInstallation = facts.hasUninstallScript || facts.hasRecord;
  // A copied or restored uninstall script makes no folder a product's own.
  const bool own = IsPlainName(facts.installedProduct) && facts.registered && facts.entered;
  if (use == tfolderuse::Removal) {
    if (!holdsInstallation) return tfolderverdict::NoUninstallScript;
    return own ? tfolderverdict::Fit : tfolderverdict::NotOwnInstallation;
  }
  if (NearbyInstallation(facts, product)) return tfolderverdict::OtherProduct;
  if (!facts.exists || facts.empty) return tfolderverdict::Fit;
  if (!holdsInstallation) return tfolderverdict::NotEmpty;
  if (platform::LowerText(facts.installedProduct) != platform::LowerText(product)) return tfolderverdict::OtherProduct;
  return own || facts.onlyRecord ? tfolderverdict::Fit : tfolderverdict::NotOwnInstallation;
}

bool IsProtectedFolder(const std::string& canonical, const tprotectedfolders& protectedFolders) {
  std::vector<std::string> parts;
  if (!NormalFolder(canonical, parts) || parts.size() <= 1) return true;
  for (const auto& p : protectedFolders.folders) {
    std::vector<std::string> other;
    if (NormalFolder(p, other) && IsAtOrAbove(parts, other)) return true;
  }
  for (const auto& p : protectedFolders.trees) {
    std::vector<std::string> other;
    if (NormalFolder(p, other) && (IsAtOrAbove(parts, other) || IsAtOrAbove(other, parts))) return true;
  }
  return false;
}

bool IsSameOrBelow(const std::string& a, const std::string& b) {
  std::vector<std::string> pa, pb;
  return NormalFolder(a, pa) && NormalFolder(b, pb) && IsAtOrAbove(pb, pa);
}

bool IsSameFolder(const std::string& a, const std::string& b) { return IsSameOrBelow(a, b) && IsSameOrBelow(b, a); }

const std::pair<std::string, std::string>* NearbyInstallation(const tfolderfacts& facts, const std::string& product) {
  for (const auto& i : facts.installations) {
    const bool same = platform::LowerText(i.first) == platform::LowerText(product) && IsSameFolder(i.second, facts.canonical);
    if (!same && (IsSameOrBelow(facts.canonical, i.second) || IsSameOrBelow(i.second, facts.canonical))) return &i;
  }
  return nullptr;
}

std::string DescribeFolderVerdict(tfolderverdict verdict, const tfolderfacts& facts, const std::string& product) {
  switch (verdict) {
    case tfolderverdict::Fit: return std::string();
    case tfolderverdict::NotAbsolute: return "ドライブ名から始まるフォルダを指定して下さい。(" + facts.typed + ")";
    case tfolderverdict::TrailingDotOrBlank:
      return "名前の末尾がピリオドまたは空白のフォルダは使用できません。(" + facts.typed + ")";
    case tfolderverdict::Unresolved: return "フォルダの場所を確かめられません。(" + facts.typed + ")";
    case tfolderverdict::NetworkFolder: return "ネットワーク上のフォルダは使用できません。(" + facts.typed + ")";
    case tfolderverdict::DriveRoot:
      return "ドライブのルートフォルダです。(" + (facts.canonical.empty() ? facts.typed : facts.canonical) + ")";
    case tfolderverdict::SystemFolder:
      return "システムやユーザーの特別なフォルダ、またはそれを含むフォルダです。(" + facts.canonical + ")";
    case tfolderverdict::Link: return "ジャンクションまたはシンボリックリンクを経由するフォルダです。(" + facts.link + ")";
    case tfolderverdict::NotEmpty: return "既にファイルのあるフォルダです。(" + facts.canonical + ")";
    case tfolderverdict::OtherProduct:
      if (const auto* near = NearbyInstallation(facts, product)) {
        return "別のプログラム「" + near->first + "」のインストール先 (" + near->second +
               ") を含むか、その中にあるフォルダです。(" + facts.canonical + ")";
      }
      return "別のプログラム「" + facts.installedProduct + "」がインストールされているフォルダです。(" +
             facts.canonical + ")";
    case tfolderverdict::NotOwnInstallation:
      return "このフォルダのアンインストール情報は、ここにインストールされたプログラムのものではありません。(" +
             facts.canonical + ")";
    case tfolderverdict::Unrepresentable:
      return "シフトJISで表せない文字を含むフォルダ名は使用できません。(" + facts.typed + ")";
    case tfolderverdict::NoUninstallScript:
      return std::string("アンインストール情報 ") + script::kUninstallScript + " がありません。(" + facts.typed + ")";
  }
  return std::string();
}

std::vector<std::string> PathsTouched(const tscriptcontent& script) {
  std::vector<std::string> paths;
  for (const auto& e : script.bind) paths.push_back(GetEntryName(e));
  for (const auto& e : script.erase) paths.push_back(GetEntryName(e));
  for (const auto& e : script.rename) {
    paths.push_back(GetEntryName(e));
    paths.push_back(GetEntryValue(e));
  }
  return paths;
}

}  // namespace pendo
