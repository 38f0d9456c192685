#include "installer/installationrun.h"

#include <windows.h>

#include <vector>

#include "installer/archivefile.h"
#include "installer/folderoperations.h"
#include "installer/installsafety.h"
#include "installer/registrykey.h"
#include "installer/scriptfile.h"
#include "installer/shellfolders.h"
#include "installer/shortcut.h"
#include "settings/platform.h"
#include "settings/windowsfolder.h"

namespace pendo {

tinstallationrun::tinstallationrun(std::string setupFolder, std::string installer)
    : setupFolder_(std::move(setupFolder)), installer_(std::move(installer)) {}

void tinstallationrun::Progress(tbar bar, int position, int max) {
  if (OnProgress) OnProgress(bar, position, max);
}

void tinstallationrun::LetWindowWork() {
  if (OnYield) OnYield();
}

tinstallationrun::tresult tinstallationrun::Run(const std::string& folderText, const std::string& sendToTitle) {
  const ScriptFile setup(setupFolder_ + script::kSetupScript);
  SetupScriptContent content;
  content.applicationName = setup.ReadString(script::kProfile, script::kApplicationName, "");
  setup.ReadEntries(script::kBind, content.bind);
  setup.ReadEntries(script::kErase, content.erase);
  setup.ReadEntries(script::kRename, content.rename);
  setup.ReadEntries(script::kRelation, content.relation);
  setup.ReadEntries(script::kShortCut, content.shortCut);
  fault_ = FindScriptFault(content);
  if (!fault_.empty()) return tresult::ScriptUnfit;
  // The folder must be one the uninstaller will agree to empty later.
  if (CheckRemovalFolder(folderText, GetProtectedFolders(), true) != RemovalVerdict::Fit) return tresult::FolderUnfit;
  if (!sendToTitle.empty() && !IsContainedPath(sendToTitle)) return tresult::TitleUnfit;

  const std::string archivePath =
      setupFolder_ + setup.ReadString(script::kProfile, script::kBindedFileName, "") + script::kArchiveExtension;
  if (!platform::FileExists(archivePath)) return tresult::ArchiveMissing;

  const std::string& name = content.applicationName;
  const std::string stored = StoredFolder(folderText);
  const std::string prefix = FolderPrefix(folderText);
  CreateFolderPath(stored);
  tregistrykey uninstallKey;
  uninstallKey.Create(HKEY_LOCAL_MACHINE, script::kUninstallKey + name);
  const ScriptFile installRegister(GetWindowsFolder() + script::kRegister);

  tarchivefile archive;
  if (!archive.Open(archivePath)) return tresult::CopyFailed;
  const auto files = ReadBindList(content.bind);
  const int fileMax = files.empty() ? 0 : static_cast<int>(files.size()) - 1;
  Progress(tbar::Files, 0, fileMax);
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!CopyArchiveFile(archive, prefix + files[i].name, files[i].size)) return tresult::CopyFailed;
    Progress(tbar::Files, static_cast<int>(i), fileMax);
    LetWindowWork();
  }
  archive.Close();
  if (fileMax == 0) Progress(tbar::Files, 1, 1);  // an empty or one-file list shows a full bar

  for (const auto& e : content.erase) DeleteFileA((prefix + GetEntryName(e)).c_str());
  for (const auto& e : content.rename) MoveFileA((prefix + GetEntryName(e)).c_str(), (prefix + GetEntryValue(e)).c_str());
  CopyFileA((setupFolder_ + script::kSetupScript).c_str(), (prefix + script::kUninstallScript).c_str(), FALSE);

  if (!sendToTitle.empty()) CreateShortcut(prefix + name + ".exe", GetSendToFolder() + sendToTitle);
  for (const auto& e : content.relation) {
    const FileVerb verb = SplitRelation(e, prefix);
    RegisterFileVerb(verb.extension, verb.verb, verb.command);
    LetWindowWork();
  }
  const std::string startMenu = GetProgramsFolder() + script::kStartMenuFolder + "\\";
  CreateDirectoryA(StoredFolder(startMenu).c_str(), nullptr);
  const int shortcutMax = content.shortCut.empty() ? 0 : static_cast<int>(content.shortCut.size()) - 1;
  Progress(tbar::Shortcuts, 0, shortcutMax);
  for (std::size_t i = 0; i < content.shortCut.size(); ++i) {
    const std::string& e = content.shortCut[i];
    CreateShortcut(prefix + GetEntryName(e), startMenu + GetEntryValue(e));
    Progress(tbar::Shortcuts, static_cast<int>(i), shortcutMax);
    LetWindowWork();
  }
  if (shortcutMax == 0) Progress(tbar::Shortcuts, 1, 1);
  LetWindowWork();

  installRegister.WriteString(name, script::kInstallationDirectory, stored);
  Progress(tbar::UninstallInformation, 0, 1);
  uninstallKey.WriteString(script::kDisplayName, setup.ReadString(script::kProfile, script::kUninstallationTitle, ""));
  uninstallKey.WriteString(script::kUninstallString, MakeUninstallString(GetWindowsFolder(), stored));
  Progress(tbar::UninstallInformation, 1, 1);
  LetWindowWork();
  CopyFileA(installer_.c_str(), (GetWindowsFolder() + script::kInstaller).c_str(), FALSE);
  return tresult::Done;
}

}  // namespace pendo
