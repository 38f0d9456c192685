#include "installer/folderfitness.h"

#include <windows.h>

#include <algorithm>

#include "installer/folderoperations.h"
#include "installer/installations.h"
#include "installer/recordfile.h"
#include "installer/scriptfile.h"
#include "installer/shellfolders.h"
#include "settings/platform.h"
#include "settings/uniquehandle.h"
#include "settings/widetext.h"
#include "settings/windowsfolder.h"

namespace pendo {

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* head) { return text.compare(0, wcslen(head), head) == 0; }

// Without trailing separators, but for a drive's root.
std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
  std::wstring full = n > 0 && n < MAX_PATH * 4 ? std::wstring(buffer, n) : std::wstring();
  while (full.size() > 3 && full.back() == L'\\') full.pop_back();
  return full;
}

// Replaces a substituted drive by the folder it stands for, again and again
// (a substitute of a substitute). False for a drive the system does not know.
bool ResolveDrive(std::wstring& full, bool& network) {
  for (int depth = 0; depth < 8; ++depth) {
    if (full.size() < 3 || full[1] != L':') return false;
    const std::wstring drive = full.substr(0, 2);
    wchar_t device[MAX_PATH * 2] = {0};
    if (QueryDosDeviceW(drive.c_str(), device, MAX_PATH * 2)) {
      std::wstring target = device;
      if (StartsWith(target, L"\\??\\UNC\\")) {
        network = true;
        return true;
      }
      if (StartsWith(target, L"\\??\\")) {
        full = FullPath(target.substr(4) + L"\\" + full.substr(3));
        continue;
      }
      if (StartsWith(target, L"\\Device\\LanmanRedirector") || StartsWith(target, L"\\Device\\Mup") ||
          StartsWith(target, L"\\Device\\WebDavRedirector"))
        network = true;
    }
    const UINT type = GetDriveTypeW(full.substr(0, 3).c_str());
    if (type == DRIVE_REMOTE) network = true;
    return type != DRIVE_NO_ROOT_DIR && type != DRIVE_UNKNOWN;
  }
  return false;
}

using tfinalpathfunction = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);

// The system's own name of an existing file or folder: long names, the
// volume's drive, links followed. GetLongPathNameW where the system has no
// final path.
std::wstring ExistingName(const std::wstring& path) {
  static const auto finalPath = reinterpret_cast<tfinalpathfunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
  wchar_t buffer[MAX_PATH * 4];
  if (finalPath) {
    tkernelhandle h = OwnFileHandle(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (h) {
      const DWORD n = finalPath(h.get(), buffer, MAX_PATH * 4, 0);
      h.reset();
      if (n > 0 && n < MAX_PATH * 4) {
        std::wstring name(buffer, n);
        if (StartsWith(name, L"\\\\?\\UNC\\")) return L"\\\\" + name.substr(8);
        if (StartsWith(name, L"\\\\?\\")) return name.substr(4);
        return name;
      }
    }
  }
  const DWORD n = GetLongPathNameW(path.c_str(), buffer, MAX_PATH * 4);
  return n > 0 && n < MAX_PATH * 4 ? std::wstring(buffer, n) : path;
}

bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Walks the existing parts of path below its first `from` characters; the
// first link goes to link, the end of the existing part to existingEnd.
void WalkExisting(const std::wstring& path, std::size_t from, std::wstring& link, std::size_t& existingEnd) {
  existingEnd = from;
  std::size_t pos = from;
  while (pos < path.size()) {
    std::size_t next = path.find_first_of(L"\\/", pos);
    if (next == std::wstring::npos) next = path.size();
    if (next > pos) {
      const DWORD attributes = GetFileAttributesW(path.substr(0, next).c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES) return;
      if (link.empty() && IsLink(attributes)) link = path.substr(0, next);
      existingEnd = next;
    }
    pos = next + 1;
  }
}

// True when name is the one entry of folder.
bool OnlyEntryIs(const std::wstring& folder, const std::wstring& name) {
  WIN32_FIND_DATAW data;
  const tfindhandle find = OwnFindHandle(FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find) return false;
  int others = 0;
  bool found = false;
  do {
    const std::wstring entry = data.cFileName;
    if (entry == L"." || entry == L"..") continue;
    if (lstrcmpiW(entry.c_str(), name.c_str()) == 0)
      found = true;
    else
      ++others;
  } while (others == 0 && FindNextFileW(find.get(), &data));
  return found && others == 0;
}

bool IsEmptyFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  const tfindhandle find = OwnFindHandle(FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find) return true;
  bool empty = true;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") empty = false;
  } while (empty && FindNextFileW(find.get(), &data));
  return empty;
}

// The installations in the folders above canonical and below it that hold
// an uninstall script, whichever product's.
void AddScriptsAround(const std::string& canonical, std::vector<std::pair<std::string, std::string>>& found) {
  auto productIn = [](const std::string& folder) {
    return ScriptFile(FolderPrefix(folder) + script::kUninstallScript)
        .ReadString(script::kProfile, script::kApplicationName, "");
  };
  for (std::string up = StoredFolder(FolderPartOf(canonical)); up.size() > 3; up = StoredFolder(FolderPartOf(up))) {
    if (platform::FileExists(FolderPrefix(up) + script::kUninstallScript)) found.emplace_back(productIn(up), up);
  }
  tpathlist below;
  ListSubfolders(canonical, below);
  for (const auto& f : below) {
    if (platform::FileExists(FolderPrefix(f) + script::kUninstallScript)) found.emplace_back(productIn(f), f);
  }
}

std::string Judge(const std::string& folder, tfolderuse use, const std::string& product,
                  const std::vector<std::string>& inside) {
  tfolderfacts facts = ExamineFolder(folder);
  AddOwnership(facts);
  if (use == tfolderuse::Installation && !facts.canonical.empty()) {
    facts.installations = KnownInstallations();
    AddScriptsAround(facts.canonical, facts.installations);
  }
  tfolderverdict verdict = JudgeFolder(facts, GetCanonicalProtectedFolders(), use, product);
  if (verdict != tfolderverdict::Fit) return DescribeFolderVerdict(verdict, facts, product);
  const std::string prefix = FolderPrefix(facts.typed);
  const std::size_t prefixLength = Wide(prefix).size();
  for (const auto& path : inside) {
    std::wstring wide = Wide(prefix + path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    std::wstring link;
    std::size_t end = 0;
    WalkExisting(wide, prefixLength, link, end);
    if (link.empty() && end > prefixLength) {
      // A link the system does not mark (Wine's links to files) still leads
      // elsewhere than its name says.
      std::string expected, actual;
      NarrowExact(wide.substr(prefixLength, end - prefixLength), expected);
      NarrowExact(ExistingName(wide.substr(0, end)), actual);
      if (platform::LowerText(actual) != platform::LowerText(FolderPrefix(facts.canonical) + expected))
        link = wide.substr(0, end);
    }
    if (!link.empty()) {
      tfolderfacts linked = facts;
      linked.link = Narrow(link);
      return DescribeFolderVerdict(tfolderverdict::Link, linked);
    }
  }
  return std::string();
}

}  // namespace

tfolderfacts ExamineFolder(const std::string& folder) {
  tfolderfacts facts;
  facts.typed = folder;
  // Shares and device paths are refused by their text; nothing is asked of
  // the network.
  if (CheckFolderName(folder) != tfolderverdict::Fit) return facts;
  std::wstring typedFull = FullPath(Wide(StoredFolder(folder)));
  std::wstring full = typedFull;
  if (full.empty() || !ResolveDrive(full, facts.network) || facts.network || full.size() < 3) return facts;

  // A link on the typed way or on the way the drive stands for.
  std::wstring link;
  std::size_t existingEnd = 0;
  WalkExisting(typedFull, 3, link, existingEnd);
  WalkExisting(full, 3, link, existingEnd);
  // Only told, never used as a name: near enough is right here.
  facts.link = Narrow(link);
  std::wstring canonical = ExistingName(full.substr(0, existingEnd < 3 ? 3 : existingEnd));
  if (existingEnd < full.size()) {
    if (canonical.empty() || canonical.back() != L'\\') canonical += L'\\';
    canonical += full.substr(existingEnd + (full[existingEnd] == L'\\' ? 1 : 0));
  }
  if (StartsWith(canonical, L"\\\\")) facts.network = true;
  if (!NarrowExact(canonical, facts.canonical)) facts.canonical.clear();

  const DWORD attributes = GetFileAttributesW(full.c_str());
  facts.exists = attributes != INVALID_FILE_ATTRIBUTES;
  facts.empty = !facts.exists || ((attributes & FILE_ATTRIBUTE_DIRECTORY) && IsEmptyFolder(full));
  auto isFile = [&](const char* name) {
    const DWORD a = GetFileAttributesW((full + L"\\" + Wide(name)).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  };
  facts.hasUninstallScript = isFile(script::kUninstallScript);
  if (facts.canonical.empty()) return facts;
  const std::string prefix = FolderPrefix(facts.canonical);
  if (facts.hasUninstallScript)
    facts.installedProduct = ScriptFile(prefix + script::kUninstallScript).ReadString(script::kProfile, script::kApplicationName, "");
  tinstallrecord record;
  facts.hasRecord = isFile(script::kRecord) && ReadRecordFile(prefix + script::kRecord, record);
  // A run stopped before its script was copied left only the record.
  if (facts.hasRecord && !facts.hasUninstallScript) facts.installedProduct = record.product;
  facts.onlyRecord = facts.hasRecord && !facts.hasUninstallScript && OnlyEntryIs(full, Wide(script::kRecord));
  return facts;
}

void AddOwnership(tfolderfacts& facts) {
  if (facts.canonical.empty() || !IsPlainName(facts.installedProduct)) return;
  facts.registered = IsSameFolder(RegisteredFolderOf(facts.installedProduct), facts.canonical);
  facts.entered = IsSameFolder(EntryFolderOf(facts.installedProduct), facts.canonical);
}

std::string CanonicalFolder(const std::string& folder) {
  const tfolderfacts facts = ExamineFolder(folder);
  return facts.canonical.empty() ? folder : facts.canonical;
}

tprotectedfolders GetCanonicalProtectedFolders() {
  // Asked of the system once a run: some seventy folders, each made canonical.
  static const tprotectedfolders folders = [] {
    tprotectedfolders p;
    auto add = [](std::vector<std::string>& list, const std::string& f) {
      if (f.empty()) return;
      for (const auto& g : list) {
        if (platform::LowerText(StoredFolder(g)) == platform::LowerText(StoredFolder(f))) return;
      }
      list.push_back(f);
    };
    for (const auto& f : GetProtectedFolders()) {
      add(p.folders, f);
      add(p.folders, ExamineFolder(f).canonical);
    }
    add(p.trees, GetWindowsFolder());
    add(p.trees, CanonicalFolder(GetWindowsFolder()));
    return p;
  }();
  return folders;
}

std::string InstallationFolderFault(const std::string& folder, const std::string& product,
                                    const std::vector<std::string>& inside) {
  return Judge(folder, tfolderuse::Installation, product, inside);
}

std::string InstallationFolderMessage(const std::string& fault) {
  return "指定されたフォルダにはインストールできません。別のフォルダを指定して下さい。\r\n" + fault;
}

std::string RegisteredFolderMessage(const std::string& fault) {
  return "既にインストールされたプログラムのフォルダですが、このフォルダにはインストールできません。別のフォルダを指定"
         "して下さい。\r\n" + fault;
}

std::string RemovalFolderFault(const std::string& folder) {
  return Judge(folder, tfolderuse::Removal, std::string(), {});
}

}  // namespace pendo
