#include "installer/removalrun.h"

#include <windows.h>

#include "installer/folderoperations.h"
#include "installer/installsafety.h"
#include "installer/registrykey.h"
#include "installer/scriptfile.h"
#include "installer/shellfolders.h"

namespace pendo {

void tremovalrun::Progress(tbar bar, int position, int max) {
  if (OnProgress) OnProgress(bar, position, max);
}

tremovalrun::tresult tremovalrun::Run() {
  if (!IsFolderFitForRemoval(folder_)) return tresult::FolderUnfit;
  const std::string prefix = FolderPrefix(folder_);
  // Read the script first, while it still exists.
  const ScriptFile uninstallScript(prefix + script::kUninstallScript);
  const std::string name = uninstallScript.ReadString(script::kProfile, script::kApplicationName, "");
  EntryList shortcuts;
  uninstallScript.ReadEntries(script::kShortCut, shortcuts);

  PathList folders;
  ListSubfolders(prefix, folders);
  const int folderCount = static_cast<int>(folders.size());
  Progress(tbar::Files, 0, folderCount);
  for (int n = folderCount - 1; n >= 0; --n) {  // children before their parents
    DeleteFolderFiles(folders[n]);
    RemoveDirectoryA(folders[n].c_str());
    Progress(tbar::Files, n + 1, folderCount);
  }
  DeleteFolderFiles(prefix);
  RemoveDirectoryA(StoredFolder(prefix).c_str());

  // Without a plain product name the keys below would be their parents.
  const bool named = IsPlainName(name);
  if (named && RegistryKeyExists(HKEY_CURRENT_USER, script::kUserKey + name))
    DeleteRegistryTree(HKEY_CURRENT_USER, script::kUserKey + name);

  const int shortcutMax = static_cast<int>(shortcuts.size()) - 1;
  const std::string startMenu = GetProgramsFolder() + script::kStartMenuFolder + "\\";
  for (int i = 0; i < static_cast<int>(shortcuts.size()); ++i) {
    const std::string title = GetEntryValue(shortcuts[i]);
    // A title that leaves the Start-menu folder names no shortcut of ours.
    if (IsContainedPath(title)) DeleteFileA((startMenu + title + ".lnk").c_str());
    Progress(tbar::Shortcuts, i, shortcutMax);
  }
  if (shortcutMax == 0) Progress(tbar::Shortcuts, 1, 1);

  if (named) DeleteRegistryTree(HKEY_LOCAL_MACHINE, script::kUninstallKey + name);
  Progress(tbar::Information, 100, 100);
  return tresult::Done;
}

}  // namespace pendo
