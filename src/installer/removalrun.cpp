#include "installer/removalrun.h"

#include <windows.h>

#include "installer/folderfitness.h"
#include "installer/folderoperations.h"
#include "installer/installsafety.h"
#include "installer/registrykey.h"
#include "installer/runningproduct.h"
#include "installer/scriptfile.h"
#include "installer/shellfolders.h"
#include "settings/fileerror.h"
#include "settings/platform.h"
#include "settings/windowsfolder.h"

namespace pendo {

namespace {

std::string WhyKept(const std::string& path, unsigned long error) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return "読み取り専用";
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return "使用中";
  return "エラー " + std::to_string(error);
}

}  // namespace

void tremovalrun::Progress(tbar bar, int position, int max) {
  if (OnProgress) OnProgress(bar, position, max);
}

void tremovalrun::Log(const std::string& line) {
  if (OnLog) OnLog(line);
}

std::string tremovalrun::Message(tresult result) const {
  switch (result) {
    case tresult::FolderUnfit:
      return "このフォルダはアンインストールできません。必要なファイルを確認のうえ、手動で削除して下さい。\r\n" + fault_;
    case tresult::ProductRunning:
      return "アンインストールするプログラムが起動しています。プログラムを終了させて下さい。\r\n" + fault_;
    default: return std::string();
  }
}

tsetupexit tremovalrun::ExitCodeOf(tresult result) {
  switch (result) {
    case tresult::Done: return tsetupexit::Done;
    case tresult::FolderUnfit: return tsetupexit::Refused;
    case tresult::ProductRunning: return tsetupexit::ProductRunning;
    case tresult::Incomplete: return tsetupexit::Failed;
  }
  return tsetupexit::Failed;
}

void tremovalrun::DeleteFiles(const std::string& folder) {
  DeleteFolderFiles(folder, [this](const std::string& path, unsigned long error) {
    Log(error == 0 ? "ファイル削除: " + path : "ファイル残存: " + path + " (" + WhyKept(path, error) + ")");
  });
}

tremovalrun::tresult tremovalrun::Run() {
  fault_.clear();
  fault_ = RemovalFolderFault(folder_);
  if (!fault_.empty()) return tresult::FolderUnfit;
  const std::string prefix = FolderPrefix(folder_);
  // Read the script first, while it still exists.
  const std::string scriptPath = prefix + script::kUninstallScript;
  const ScriptFile uninstallScript(scriptPath);
  std::string scriptBytes;
  platform::ReadFileBytes(scriptPath, scriptBytes);
  const std::string name = uninstallScript.ReadString(script::kProfile, script::kApplicationName, "");
  EntryList shortcuts, bind;
  uninstallScript.ReadEntries(script::kShortCut, shortcuts);
  uninstallScript.ReadEntries(script::kBind, bind);
  const auto files = ReadBindList(bind);
  fault_ = FindRunningProduct(prefix, files);
  if (!fault_.empty()) return tresult::ProductRunning;

  PathList folders;
  ListSubfolders(prefix, folders);
  const int folderCount = static_cast<int>(folders.size());
  Progress(tbar::Files, 0, folderCount);
  for (int n = folderCount - 1; n >= 0; --n) {  // children before their parents
    DeleteFiles(folders[n]);
    Log(RemoveDirectoryA(folders[n].c_str()) ? "フォルダ削除: " + folders[n]
                                             : "フォルダ残存: " + folders[n] + " (空ではありません)");
    Progress(tbar::Files, n + 1, folderCount);
  }
  DeleteFiles(prefix);

  // A product file that stayed keeps the product removable: its script and
  // uninstall entry stay with it, for a later removal to finish the work.
  bool productLeft = false;
  for (const auto& f : files) productLeft = productLeft || platform::FileExists(prefix + f.name);
  if (productLeft && !scriptBytes.empty()) {
    try {
      platform::WriteFileAtomically(scriptPath, scriptBytes);
      Log("アンインストール情報を残しました: " + scriptPath);
    } catch (const FileError&) {
      Log("アンインストール情報を残せません: " + scriptPath);
    }
  }
  const std::string stored = StoredFolder(prefix);
  Log(RemoveDirectoryA(stored.c_str()) ? "フォルダ削除: " + stored : "フォルダ残存: " + stored + " (空ではありません)");

  // Without a plain product name the keys below would be their parents.
  const bool named = IsPlainName(name);
  if (named && RegistryKeyExists(HKEY_CURRENT_USER, script::kUserKey + name)) {
    const bool gone = DeleteRegistryTree(HKEY_CURRENT_USER, script::kUserKey + name);
    Log(std::string(gone ? "レジストリ削除: " : "レジストリ残存: ") + "HKEY_CURRENT_USER\\" + script::kUserKey + name);
  }

  const int shortcutMax = static_cast<int>(shortcuts.size()) - 1;
  // Earlier installations put them in the user's own menu.
  const std::string startMenus[] = {GetCommonProgramsFolder() + script::kStartMenuFolder + "\\",
                                    GetProgramsFolder() + script::kStartMenuFolder + "\\"};
  for (int i = 0; i < static_cast<int>(shortcuts.size()); ++i) {
    const std::string title = GetEntryValue(shortcuts[i]);
    // A title that leaves the Start-menu folder names no shortcut of ours.
    for (const auto& startMenu : startMenus) {
      const std::string link = startMenu + title + ".lnk";
      if (IsContainedPath(title) && platform::FileExists(link))
        Log((DeleteFileA(link.c_str()) ? "ショートカット削除: " : "ショートカット残存: ") + link);
    }
    Progress(tbar::Shortcuts, i, shortcutMax);
  }
  if (shortcutMax == 0) Progress(tbar::Shortcuts, 1, 1);

  if (named && !productLeft) {
    const bool gone = DeleteRegistryTree(HKEY_LOCAL_MACHINE, script::kUninstallKey + name);
    Log(std::string(gone ? "レジストリ削除: " : "レジストリ残存: ") + "HKEY_LOCAL_MACHINE\\" + script::kUninstallKey +
        name);
  } else if (named) {
    Log(std::string("レジストリ残存: HKEY_LOCAL_MACHINE\\") + script::kUninstallKey + name +
        " (削除できないファイルがあります)");
  }
  Log("残したもの: 「送る」のショートカット、" + GetWindowsFolder() + script::kRegister + " の [" + name + "]、" +
      GetWindowsFolder() + script::kInstaller + " (他の製品と共有)");
  Progress(tbar::Information, 100, 100);
  return productLeft ? tresult::Incomplete : tresult::Done;
}

}  // namespace pendo
