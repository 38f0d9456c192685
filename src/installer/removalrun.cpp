#include "installer/removalrun.h"

#include <windows.h>

#include "installer/folderfitness.h"
#include "installer/folderoperations.h"
#include "installer/installsafety.h"
#include "installer/registrykey.h"
#include "installer/runningproduct.h"
#include "installer/scriptfile.h"
#include "installer/shellfolders.h"
#include "installer/shortcut.h"
#include "settings/platform.h"
#include "settings/widetext.h"
#include "settings/windowsfolder.h"

namespace pendo {

namespace {

std::string WhyKept(const std::string& path, unsigned long error) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return "読み取り専用";
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return "使用中";
  return "エラー " + std::to_string(error);
}

}  // namespace

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

void tremovalrun::DeleteFiles(const std::string& folder, const std::string& keep) {
  tpathlist files;
  ListFolderFiles(folder, files);
  for (const auto& path : files) {
    if (platform::LowerText(path) == platform::LowerText(keep)) continue;
    const bool gone = DeleteFileW(Wide(path).c_str()) != FALSE;
    Log(gone ? "ファイル削除: " + path : "ファイル残存: " + path + " (" + WhyKept(path, GetLastError()) + ")");
  }
}

void tremovalrun::RestoreVerbs(const ScriptFile& uninstallScript, const std::string& prefix) {
  tentrylist backups;
  uninstallScript.ReadEntries(script::kRelationBackup, backups);
  for (const auto& e : backups) {
    const std::string verbKey = GetEntryName(e);
    const std::string commandKey = verbKey + "\\command";
    const std::string backup = uninstallScript.ReadString(script::kRelationBackup, verbKey, "");
    tregistrykey key;
    const std::string now = key.Open(HKEY_CLASSES_ROOT, commandKey) ? key.ReadString("") : std::string();
    key.Close();
    // A command that no longer leads into the folder was changed since by
    // someone else, and a key other than the verb's own is not ours.
    const std::string made = backup.substr(backup.empty() ? 0 : 1);
    if (!IsBelowFolder(now, prefix) || backup.empty() || verbKey.find("\\shell\\") == std::string::npos ||
        (backup[0] == '-' && made != verbKey && made != commandKey) || (backup[0] != '-' && backup[0] != '+')) {
      Log("関連付け残存: " + verbKey);
      continue;
    }
    if (backup[0] == '+') {
      try {
        key.Create(HKEY_CLASSES_ROOT, commandKey);
        key.WriteString("", made);
        Log("関連付け復元: " + verbKey + " = " + made);
      } catch (const ERegistryError&) {
        Log("関連付け残存: " + verbKey);
      }
    } else {
      Log(std::string(DeleteRegistryTree(HKEY_CLASSES_ROOT, made) ? "関連付け削除: " : "関連付け残存: ") + made);
    }
  }
}

tremovalrun::tresult tremovalrun::Run() {
  fault_.clear();
  fault_ = RemovalFolderFault(folder_);
  if (!fault_.empty()) return tresult::FolderUnfit;
  const std::string prefix = FolderPrefix(folder_);
  // The uninstall script goes last, after the uninstall entry: a removal
  // stopped anywhere before can be run again from that entry.
  const std::string scriptPath = prefix + script::kUninstallScript;
  const ScriptFile uninstallScript(scriptPath);
  const std::string name = uninstallScript.ReadString(script::kProfile, script::kApplicationName, "");
  tentrylist shortcuts, bind;
  uninstallScript.ReadEntries(script::kShortCut, shortcuts);
  uninstallScript.ReadEntries(script::kBind, bind);
  const auto files = ReadBindList(bind);
  fault_ = FindRunningProduct(prefix, files);
  if (!fault_.empty()) return tresult::ProductRunning;

  tpathlist folders;
  ListSubfolders(prefix, folders);
  const int folderCount = static_cast<int>(folders.size());
  Progress(tbar::Files, 0, folderCount);
  for (int n = folderCount - 1; n >= 0; --n) {  // children before their parents
    DeleteFiles(folders[n], std::string());
    Log(RemoveDirectoryW(Wide(folders[n]).c_str()) ? "フォルダ削除: " + folders[n]
                                                   : "フォルダ残存: " + folders[n] + " (空ではありません)");
    Progress(tbar::Files, n + 1, folderCount);
  }
  DeleteFiles(prefix, scriptPath);

  // A product file that stayed keeps the product removable: its script and
  // uninstall entry stay with it, for a later removal to finish the work.
  bool productLeft = false;
  for (const auto& f : files) productLeft = productLeft || platform::FileExists(prefix + f.name);

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
    // A title that leaves the Start-menu folder names no shortcut of ours,
    // and a shortcut leading elsewhere belongs to another product.
    for (const auto& startMenu : startMenus) {
      const std::string link = startMenu + title + ".lnk";
      if (!IsContainedPath(title) || !platform::FileExists(link)) continue;
      if (!IsBelowFolder(ShortcutTarget(link), prefix))
        Log("ショートカット残存: " + link + " (別の場所を指しています)");
      else
        Log((DeleteFileW(Wide(link).c_str()) ? "ショートカット削除: " : "ショートカット残存: ") + link);
    }
    Progress(tbar::Shortcuts, i, shortcutMax);
  }
  if (shortcutMax == 0) Progress(tbar::Shortcuts, 1, 1);
  RestoreVerbs(uninstallScript, prefix);

  if (named && !productLeft) {
    const bool gone = DeleteRegistryTree(HKEY_LOCAL_MACHINE, script::kUninstallKey + name);
    Log(std::string(gone ? "レジストリ削除: " : "レジストリ残存: ") + "HKEY_LOCAL_MACHINE\\" + script::kUninstallKey +
        name);
  } else if (named) {
    Log(std::string("レジストリ残存: HKEY_LOCAL_MACHINE\\") + script::kUninstallKey + name +
        " (削除できないファイルがあります)");
  }
  if (productLeft) {
    Log("アンインストール情報を残しました: " + scriptPath);
  } else {
    Log((DeleteFileW(Wide(scriptPath).c_str()) ? "ファイル削除: " : "ファイル残存: ") + scriptPath);
  }
  const std::string stored = StoredFolder(prefix);
  Log(RemoveDirectoryW(Wide(stored).c_str()) ? "フォルダ削除: " + stored
                                              : "フォルダ残存: " + stored + " (空ではありません)");
  Log("残したもの: 「送る」のショートカット、" + GetWindowsFolder() + script::kRegister + " の [" + name + "]、" +
      GetWindowsFolder() + script::kInstaller + " (他の製品と共有)");
  Progress(tbar::Information, 100, 100);
  return productLeft ? tresult::Incomplete : tresult::Done;
}

const char kRemoveEntryQuestion[] = "「アプリケーションの追加と削除」からこのプログラムの登録を削除しますか？";

std::string FindUninstallEntryFor(const std::string& scriptPath) {
  const std::string folder = FolderPartOf(scriptPath);
  if (folder.empty()) return std::string();
  // Quoted as this installer writes it, or unquoted as earlier ones did.
  const std::string installer = GetWindowsFolder() + script::kInstaller;
  const std::string wanted[] = {platform::LowerText(MakeUninstallString(GetWindowsFolder(), folder)),
                                platform::LowerText(installer + " " + folder + script::kUninstallScript)};
  HKEY raw;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(StoredFolder(script::kUninstallKey)).c_str(), 0, KEY_READ, &raw) !=
      ERROR_SUCCESS)
    return std::string();
  const tregistryhandle uninstall(raw);
  wchar_t child[256];
  for (DWORD i = 0;; ++i) {
    DWORD len = sizeof child / sizeof child[0];
    if (RegEnumKeyExW(uninstall.get(), i, child, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    std::string product;
    tregistrykey key;
    if (!NarrowExact(std::wstring(child, len), product) || !IsPlainName(product) ||
        !key.Open(HKEY_LOCAL_MACHINE, script::kUninstallKey + product))
      continue;
    const std::string command = platform::LowerText(key.ReadString(script::kUninstallString));
    for (const auto& w : wanted) {
      if (command == w) return product;
    }
  }
  return std::string();
}

bool RemoveUninstallEntry(const std::string& product) {
  return IsPlainName(product) && DeleteRegistryTree(HKEY_LOCAL_MACHINE, script::kUninstallKey + product);
}

}  // namespace pendo
