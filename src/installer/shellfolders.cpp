// The known-folder list is asked for through COM where the system has one;
// its declarations need the newer headers, the program does not.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#include "installer/shellfolders.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "installer/registrykey.h"
#include "installer/scriptformat.h"
#include "settings/platform.h"
#include "settings/widetext.h"
#include "settings/windowsfolder.h"
#include "settings/uniquehandle.h"

namespace pendo {

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";

// A folder code page 932 cannot hold is as good as unknown: empty.
std::string Exact(const std::wstring& wide) {
  std::string folder;
  return !wide.empty() && NarrowExact(wide, folder) ? StoredFolder(folder) : std::string();
}

std::string ShellFolderPath(int csidl) {
  wchar_t buf[MAX_PATH] = {0};
  return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, buf)) ? Exact(buf) : std::string();
}

std::string ShellFolder(const char* value, int csidl) {
  tregistrykey key;
  std::string folder;
  try {
    key.Create(HKEY_CURRENT_USER, kShellFolders);
    folder = key.ReadString(value);
  } catch (const ERegistryError&) {
  }
  // Newer systems fill the old key only on demand; ask the shell then.
  if (folder.empty()) folder = ShellFolderPath(csidl);
  return folder.empty() ? std::string() : FolderPrefix(folder);
}

// A string value of HKEY_LOCAL_MACHINE in the 32-bit or the 64-bit view,
// environment strings expanded.
std::string MachineValue(const char* path, const char* name, REGSAM view) {
  HKEY raw;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(path).c_str(), 0, KEY_READ | view, &raw) != ERROR_SUCCESS)
    return std::string();
  const tregistryhandle key(raw);
  wchar_t data[MAX_PATH * 2] = {0};
  DWORD size = sizeof data - sizeof(wchar_t), type = 0;
  if (RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::string();
  wchar_t expanded[MAX_PATH * 2] = {0};
  const DWORD n = ExpandEnvironmentStringsW(data, expanded, MAX_PATH * 2);
  return Exact(n > 0 && n <= MAX_PATH * 2 ? expanded : data);
}

std::string EnvironmentFolder(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2] = {0};
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
  return n > 0 && n < MAX_PATH * 2 ? Exact(value) : std::string();
}

template <class I>
struct tcomref {
  I* p = nullptr;
  ~tcomref() {
    if (p) p->Release();
  }
};

// Every folder the shell's known-folder list names; false on systems
// without that list.
bool KnownFolderPaths(std::vector<std::string>& folders) {
  const HRESULT init = CoInitialize(nullptr);
  bool listed = false;
  {
    tcomref<IKnownFolderManager> manager;
    KNOWNFOLDERID* ids = nullptr;
    UINT count = 0;
    // The headers' numbers, not the uuid library's (see shortcut.cpp).
    if (SUCCEEDED(CoCreateInstance(__uuidof(KnownFolderManager), nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IKnownFolderManager), reinterpret_cast<void**>(&manager.p))) &&
        SUCCEEDED(manager.p->GetFolderIds(&ids, &count)) && ids) {
      listed = true;
      for (UINT i = 0; i < count; ++i) {
        tcomref<IKnownFolder> folder;
        wchar_t* path = nullptr;
        // Virtual folders have no path; a folder not made yet still has its place.
        if (SUCCEEDED(manager.p->GetFolder(ids[i], &folder.p)) &&
            SUCCEEDED(folder.p->GetPath(KF_FLAG_DONT_VERIFY, &path)) && path) {
          const std::string f = Exact(path);
          if (!f.empty()) folders.push_back(f);
        }
        CoTaskMemFree(path);
      }
      CoTaskMemFree(ids);
    }
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return listed;
}

// The shell folders by their old numbers, where there is no known-folder list.
void CsidlFolders(std::vector<std::string>& folders) {
  for (int csidl :
       {CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_STARTMENU,
        CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_SENDTO, CSIDL_FAVORITES, CSIDL_MYMUSIC, CSIDL_MYPICTURES, CSIDL_MYVIDEO,
        CSIDL_TEMPLATES, CSIDL_RECENT, CSIDL_NETHOOD, CSIDL_PRINTHOOD, CSIDL_COOKIES, CSIDL_HISTORY,
        CSIDL_INTERNET_CACHE, CSIDL_FONTS, CSIDL_ADMINTOOLS, CSIDL_CDBURN_AREA, CSIDL_COMMON_STARTMENU,
        CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTUP, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_APPDATA,
        CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_MUSIC, CSIDL_COMMON_PICTURES, CSIDL_COMMON_VIDEO, CSIDL_COMMON_TEMPLATES,
        CSIDL_COMMON_FAVORITES, CSIDL_COMMON_ADMINTOOLS, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86,
        CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_SYSTEMX86,
        CSIDL_RESOURCES}) {
    const std::string f = ShellFolderPath(csidl);
    if (!f.empty()) folders.push_back(f);
  }
}

bool IsBelow(const std::string& path, const std::string& folder) {
  return IsBelowFolder(path, FolderPrefix(folder));
}

// Every user's profile folder: those the system lists and those in the
// profiles folder.
std::vector<std::string> ProfileFolders(std::string& profilesFolder) {
  const char kProfileList[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
  profilesFolder = MachineValue(kProfileList, "ProfilesDirectory", 0);
  std::vector<std::string> profiles;
  HKEY raw;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(kProfileList).c_str(), 0, KEY_READ, &raw) == ERROR_SUCCESS) {
    const tregistryhandle list(raw);
    wchar_t sid[256];
    for (DWORD i = 0;; ++i) {
      DWORD len = sizeof sid / sizeof sid[0];
      if (RegEnumKeyExW(list.get(), i, sid, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      const std::string path = MachineValue((std::string(kProfileList) + "\\" + Narrow(std::wstring(sid, len))).c_str(),
                                            "ProfileImagePath", 0);
      if (!path.empty()) profiles.push_back(path);
    }
  }
  const std::string own = ShellFolderPath(CSIDL_PROFILE);
  if (profilesFolder.empty() && !own.empty()) profilesFolder = StoredFolder(FolderPartOf(own));
  if (!profilesFolder.empty()) {
    WIN32_FIND_DATAW data;
    const tfindhandle find = OwnFindHandle(FindFirstFileW(Wide(profilesFolder + "\\*").c_str(), &data));
    if (find) {
      do {
        const std::wstring name = data.cFileName;
        std::string narrow;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L".." &&
            NarrowExact(name, narrow))
          profiles.push_back(profilesFolder + "\\" + narrow);
      } while (FindNextFileW(find.get(), &data));
    }
  }
  if (!own.empty()) profiles.push_back(own);
  return profiles;
}

}  // namespace

std::string GetProgramFilesFolder() {
  tregistrykey key;
  std::string folder;
  if (key.Open(HKEY_LOCAL_MACHINE, kCurrentVersion)) folder = key.ReadString("ProgramFilesDir");
  return folder + "\\";
}

std::string GetSendToFolder() { return ShellFolder("SendTo", CSIDL_SENDTO); }

std::string GetProgramsFolder() { return ShellFolder("Programs", CSIDL_PROGRAMS); }

std::string GetCommonProgramsFolder() {
  const std::string folder = ShellFolderPath(CSIDL_COMMON_PROGRAMS);
  return folder.empty() ? GetProgramsFolder() : FolderPrefix(folder);
}

std::vector<std::string> GetProtectedFolders() {
  std::vector<std::string> folders{GetWindowsFolder(), GetProgramFilesFolder(), GetSendToFolder(), GetProgramsFolder()};
  wchar_t system[MAX_PATH];
  const UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n > 0 && n < MAX_PATH) folders.push_back(Exact(std::wstring(system, n)));
  // A 32-bit program on 64-bit Windows is told the (x86) folders; the
  // native ones are protected all the same.
  for (const REGSAM view : {REGSAM{KEY_WOW64_64KEY}, REGSAM{KEY_WOW64_32KEY}}) {
    for (const char* value : {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir", "CommonFilesDir",
                              "CommonFilesDir (x86)", "CommonW6432Dir"})
      folders.push_back(MachineValue(kCurrentVersion, value, view));
  }
  for (const wchar_t* name : {L"ProgramW6432", L"ProgramFiles", L"ProgramFiles(x86)", L"CommonProgramW6432",
                              L"CommonProgramFiles", L"CommonProgramFiles(x86)", L"ProgramData", L"PUBLIC"})
    folders.push_back(EnvironmentFolder(name));
  std::vector<std::string> known;
  if (!KnownFolderPaths(known)) CsidlFolders(known);
  // Each user has the folders this user has: the same names below each profile.
  std::string profilesFolder;
  const std::vector<std::string> profiles = ProfileFolders(profilesFolder);
  const std::string own = ShellFolderPath(CSIDL_PROFILE);
  folders.push_back(profilesFolder);
  for (const auto& k : known) {
    folders.push_back(k);
    if (own.empty() || !IsBelow(k, own)) continue;
    for (const auto& p : profiles) folders.push_back(p + k.substr(own.size()));
  }
  folders.insert(folders.end(), profiles.begin(), profiles.end());
  std::vector<std::string> result;
  for (const auto& f : folders) {
    if (!StoredFolder(f).empty() && StoredFolder(f) != "\\") result.push_back(f);
  }
  return result;
}

}  // namespace pendo
