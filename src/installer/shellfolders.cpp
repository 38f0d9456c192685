#include "installer/shellfolders.h"

#include <windows.h>
#include <shlobj.h>

#include "installer/registrykey.h"
#include "settings/widetext.h"
#include "settings/windowsfolder.h"

namespace pendo {

namespace {

const char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string ShellFolderPath(int csidl) {
  wchar_t buf[MAX_PATH] = {0};
  std::string folder;
  // A folder code page 932 cannot hold is as good as unknown.
  if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, buf)) && NarrowExact(buf, folder)) return folder;
  return std::string();
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
  return folder + "\\";
}

}  // namespace

std::string GetProgramFilesFolder() {
  tregistrykey key;
  std::string folder;
  if (key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion")) folder = key.ReadString("ProgramFilesDir");
  return folder + "\\";
}

std::string GetSendToFolder() { return ShellFolder("SendTo", CSIDL_SENDTO); }

std::string GetProgramsFolder() { return ShellFolder("Programs", CSIDL_PROGRAMS); }

std::string GetCommonProgramsFolder() {
  const std::string folder = ShellFolderPath(CSIDL_COMMON_PROGRAMS);
  return folder.empty() ? GetProgramsFolder() : folder + "\\";
}

std::vector<std::string> GetProtectedFolders() {
  std::vector<std::string> folders{GetWindowsFolder(), GetProgramFilesFolder(), GetSendToFolder(),
                                   GetProgramsFolder()};
  wchar_t system[MAX_PATH];
  const UINT n = GetSystemDirectoryW(system, MAX_PATH);
  std::string systemFolder;
  if (n > 0 && n < MAX_PATH && NarrowExact(std::wstring(system, n), systemFolder)) folders.push_back(systemFolder);
  for (int csidl : {CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA,
                    CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_APPDATA,
                    CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON}) {
    const std::string f = ShellFolderPath(csidl);
    if (!f.empty()) folders.push_back(f);
  }
  return folders;
}

}  // namespace pendo
