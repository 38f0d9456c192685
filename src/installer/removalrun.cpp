#include "installer/removalrun.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "installer/archivefile.h"
#include "installer/folderfitness.h"
#include "installer/folderoperations.h"
#include "installer/installations.h"
#include "installer/installsafety.h"
#include "installer/installationrun.h"
#include "installer/recordfile.h"
#include "installer/registrykey.h"
#include "installer/runlock.h"
#include "installer/runningproduct.h"
#include "installer/shellfolders.h"
#include "installer/shortcut.h"
#include "settings/platform.h"
#include "settings/widetext.h"
#include "settings/windowsfolder.h"
#include "settings/uniquehandle.h"

namespace pendo {

namespace {

const char kNotInstalled[] = "インストールしたものではありません";
const char kChanged[] = "インストール後に変更されています";
const char kSetting[] = "設定";

std::string WhyKept(const std::string& path, unsigned long error) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return "読み取り専用";
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) return "使用中";
  return "エラー " + std::to_string(error);
}

bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Calls visit(name, attributes) for each entry of folder but "." and "..";
// a name code page 932 cannot hold is passed as it can be shown.
template <class Visit>
void ForEachIn(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAW data;
  const tfindhandle find = OwnFindHandle(FindFirstFileW(Wide(FolderPrefix(folder) + "*").c_str(), &data));
  if (!find) return;
  do {
    if (std::wcscmp(data.cFileName, L".") != 0 && std::wcscmp(data.cFileName, L"..") != 0)
      visit(Narrow(data.cFileName), data.dwFileAttributes);
  } while (FindNextFileW(find.get(), &data));
}

bool IsLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

std::uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return ~std::uint64_t{0};
  return static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// What stays directly in folder, for one line of the last page.
std::string FolderLine(const std::string& folder) {
  std::vector<std::string> names;
  ForEachIn(folder, [&](const std::string& name, DWORD) { names.push_back(name); });
  std::string line = folder + ": ";
  if (names.empty()) return line + "空のフォルダ (インストール前からありました)";
  for (std::size_t i = 0; i < names.size() && i < 3; ++i) line += (i ? "、" : "") + names[i];
  if (names.size() > 3) line += " ほか " + std::to_string(names.size() - 3) + " 個";
  return line;
}

}  // namespace

std::string tremovalrun::Message(tresult result) const {
  switch (result) {
    case tresult::FolderUnfit:
      return "このフォルダはアンインストールできません。必要なファイルを確認のうえ、手動で削除して下さい。\r\n" + fault_;
    case tresult::ProductRunning:
      return "アンインストールするプログラムが起動しています。プログラムを終了させて下さい。\r\n" + fault_;
    case tresult::Busy: return kBusyMessage;
    default: return std::string();
  }
}

tsetupexit tremovalrun::ExitCodeOf(tresult result) {
  switch (result) {
    case tresult::Done: return tsetupexit::Done;
    case tresult::FolderUnfit:
    case tresult::Busy: return tsetupexit::Refused;
    case tresult::ProductRunning: return tsetupexit::ProductRunning;
    case tresult::Incomplete: return tsetupexit::Failed;
  }
  return tsetupexit::Failed;
}

void tremovalrun::DeleteSettings(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (IsLink(attributes)) {
    kept_.emplace_back(path, "リンク");
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    const bool gone = DeleteFileW(Wide(path).c_str()) != FALSE;
    Log(gone ? "ファイル削除 (設定): " + path : "ファイル残存: " + path + " (" + WhyKept(path, GetLastError()) + ")");
    return;
  }
  std::vector<std::string> names;
  ForEachIn(path, [&](const std::string& name, DWORD) { names.push_back(name); });
  for (const auto& name : names) DeleteSettings(FolderPrefix(path) + name);
  Log(RemoveDirectoryW(Wide(path).c_str()) ? "フォルダ削除 (設定): " + path
                                           : "フォルダ残存: " + path + " (空ではありません)");
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

void tremovalrun::RemoveShortcuts(const std::vector<std::string>& links, const std::string& prefix) {
  // Only shortcuts in the Start-menu folders, and only those still leading
  // into the folder: one of the same name elsewhere is another product's.
  std::vector<std::string> menus;
  for (const auto& programs : {GetCommonProgramsFolder(), GetProgramsFolder()}) {
    if (!programs.empty()) menus.push_back(programs + script::kStartMenuFolder + "\\");
  }
  std::vector<std::string> done;
  const int max = links.empty() ? 0 : static_cast<int>(links.size()) - 1;
  for (int i = 0; i < static_cast<int>(links.size()); ++i) {
    const std::string& link = links[i];
    const std::string key = platform::LowerText(link);
    const bool inMenu = std::any_of(menus.begin(), menus.end(), [&](const std::string& m) {
      return IsBelowFolder(link, m) && IsContainedPath(link.substr(m.size()));
    });
    if (inMenu && std::find(done.begin(), done.end(), key) == done.end() && platform::FileExists(link)) {
      done.push_back(key);
      if (!IsBelowFolder(ShortcutTarget(link), prefix))
        Log("ショートカット残存: " + link + " (別の場所を指しています)");
      else
        Log((DeleteFileW(Wide(link).c_str()) ? "ショートカット削除: " : "ショートカット残存: ") + link);
    }
    Progress(tbar::Shortcuts, i, max);
  }
  if (max == 0) Progress(tbar::Shortcuts, 1, 1);
}

void tremovalrun::TellWhatStays(const std::string& folder, const std::string& prefix) {
  ForEachIn(folder, [&](const std::string& name, DWORD attributes) {
    const std::string path = FolderPrefix(folder) + name;
    if (IsLink(attributes)) {
      Log("ファイル残存: " + path + " (リンク)");
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      TellWhatStays(path, prefix);
    } else {
      const auto known = std::find_if(kept_.begin(), kept_.end(), [&](const std::pair<std::string, std::string>& k) {
        return platform::LowerText(k.first) == platform::LowerText(path);
      });
      const std::string lower = platform::LowerText(path);
      if (lower == platform::LowerText(prefix + script::kUninstallScript) ||
          lower == platform::LowerText(prefix + script::kRecord))
        return;
      Log("ファイル残存: " + path + " (" + (known == kept_.end() ? std::string(kNotInstalled) : known->second) + ")");
    }
  });
}

tremovalrun::tresult tremovalrun::Run() {
  fault_.clear();
  foldersLeft_.clear();
  kept_.clear();
  tsetuprunlock lock;
  if (!lock.Acquire()) {
    Log(kBusyMessage);
    return tresult::Busy;
  }
  fault_ = RemovalFolderFault(folder_);
  if (!fault_.empty()) return tresult::FolderUnfit;
  const std::string stored = StoredFolder(CanonicalFolder(folder_));
  const std::string prefix = FolderPrefix(stored);
  // The uninstall script and the record go last, after the uninstall
  // entry's own files: a removal stopped anywhere before can be run again.
  const std::string scriptPath = prefix + script::kUninstallScript, recordPath = prefix + script::kRecord;
  const ScriptFile uninstallScript(scriptPath);
  tinstallrecord record;
  const bool recorded = ReadRecordFile(recordPath, record);
  std::string name = uninstallScript.ReadString(script::kProfile, script::kApplicationName, "");
  if (name.empty()) name = record.product;
  tentrylist shortcuts, bind, settingsEntries;
  uninstallScript.ReadEntries(script::kShortCut, shortcuts);
  uninstallScript.ReadEntries(script::kBind, bind);
  uninstallScript.ReadEntries(script::kSettings, settingsEntries);
  std::vector<std::string> settings;
  for (const auto& e : settingsEntries) {
    if (IsContainedPath(GetEntryName(e))) settings.push_back(GetEntryName(e));
  }
  // Without a record the script's own file list says what was installed.
  std::vector<tbinditem> files;
  if (recorded) {
    for (const auto& f : RecordedFiles(record)) files.push_back(tbinditem{f, 0});
  } else {
    for (const auto& f : ReadBindList(bind)) files.push_back(f);
  }
  files.erase(std::remove_if(files.begin(), files.end(), [](const tbinditem& f) { return !IsContainedPath(f.name); }),
              files.end());
  fault_ = FindRunningProduct(prefix, files);
  if (!fault_.empty()) return tresult::ProductRunning;

  const trecordentry* cut = FileOfStoppedRun(record);
  const int fileCount = static_cast<int>(files.size());
  Progress(tbar::Files, 0, fileCount == 0 ? 1 : fileCount);
  bool productLeft = false;
  for (int i = 0; i < fileCount; ++i) {
    const std::string& relative = files[i].name;
    const std::string path = prefix + relative;
    for (const char* suffix : {script::kNewSuffix, script::kPreviousSuffix}) {
      const std::string own = path + suffix;
      if (Exists(own)) Log((DeleteOwnFile(own) ? "ファイル削除: " : "ファイル残存: ") + own);
    }
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) && !IsLink(attributes)) {
      // The copy a stopped run was writing is shorter than it was to be.
      const bool unchanged = !recorded || IsAsRecorded(path, RecordedPrints(record, relative)) ||
                             (cut && platform::LowerText(cut->path) == platform::LowerText(relative) &&
                              FileSize(path) < cut->size);
      const bool setting = IsSettingsPath(relative, settings);
      if (unchanged || (setting && removeSettings_)) {
        if (DeleteFileW(Wide(path).c_str())) {
          Log("ファイル削除: " + path);
        } else {
          const std::string why = WhyKept(path, GetLastError());
          kept_.emplace_back(path, why);
          productLeft = productLeft || unchanged;
        }
      } else {
        kept_.emplace_back(path, setting ? kSetting : kChanged);
      }
    }
    Progress(tbar::Files, i + 1, fileCount);
  }
  if (removeSettings_) {
    for (const auto& s : settings) DeleteSettings(prefix + s);
  } else {
    for (const auto& s : settings) {
      if (Exists(prefix + s)) Log("設定を残しました: " + prefix + s);
    }
  }
  auto isSetting = [&](const std::string& path) {
    return IsBelowFolder(path, prefix) && IsSettingsPath(path.substr(prefix.size()), settings);
  };
  for (auto& k : kept_) {
    if (k.second == kNotInstalled && isSetting(k.first)) k.second = kSetting;
  }
  Progress(tbar::Files, 1, 1);

  // Without a plain product name the keys below would be their parents.
  const bool named = IsPlainName(name);
  if (named && RegistryKeyExists(HKEY_CURRENT_USER, script::kUserKey + name)) {
    const bool gone = DeleteRegistryTree(HKEY_CURRENT_USER, script::kUserKey + name);
    Log(std::string(gone ? "レジストリ削除: " : "レジストリ残存: ") + "HKEY_CURRENT_USER\\" + script::kUserKey + name);
  }
  std::vector<std::string> links = RecordedPaths(record, trecordkind::Shortcut);
  // Earlier installations put them in the user's own menu.
  for (const auto& e : shortcuts) {
    for (const auto& programs : {GetCommonProgramsFolder(), GetProgramsFolder()}) {
      if (!programs.empty() && IsContainedPath(GetEntryValue(e)))
        links.push_back(programs + script::kStartMenuFolder + "\\" + GetEntryValue(e) + ".lnk");
    }
  }
  RemoveShortcuts(links, prefix);
  RestoreVerbs(uninstallScript, prefix);

  // A product file that stayed keeps the product removable: its script,
  // record and uninstall entry stay with it, for a later removal to finish.
  TellWhatStays(stored, prefix);
  const std::string entry = std::string("HKEY_LOCAL_MACHINE\\") + script::kUninstallKey + name;
  if (productLeft) {
    Log("アンインストール情報を残しました: " + scriptPath + " (削除できないファイルがあります)");
  } else {
    for (const auto& path : {recordPath, scriptPath}) {
      if (Exists(path)) Log((DeleteFileW(Wide(path).c_str()) ? "ファイル削除: " : "ファイル残存: ") + path);
    }
    // Only the entry of this very folder: one naming another copy is that one's.
    if (named && IsSameFolder(EntryFolderOf(name), stored)) {
      const bool gone = DeleteRegistryTree(HKEY_LOCAL_MACHINE, script::kUninstallKey + name);
      Log(std::string(gone ? "レジストリ削除: " : "レジストリ残存: ") + entry);
    } else if (named) {
      Log("レジストリ残存: " + entry + " (別のフォルダを指しています)");
    }
  }

  // The folders it made, once they are empty; never one of the system's.
  std::vector<std::string> folders;
  auto candidate = [&](const std::string& f) {
    const std::string s = StoredFolder(f);
    if (!(IsSameOrBelow(s, stored) || IsSameOrBelow(stored, s))) return;
    for (const auto& g : folders) {
      if (IsSameFolder(g, s)) return;
    }
    folders.push_back(s);
  };
  for (const auto& f : RecordedPaths(record, trecordkind::Folder)) candidate(f);
  if (!recorded) {
    candidate(stored);
    for (const auto& f : files) candidate(StoredFolder(FolderPartOf(prefix + f.name)));
  }
  const tprotectedfolders protectedFolders = GetCanonicalProtectedFolders();
  for (const auto& f : DeepestFirst(folders)) {
    if (productLeft || !FolderExists(f) || IsProtectedFolder(f, protectedFolders)) continue;
    Log(RemoveDirectoryW(Wide(f).c_str()) ? "フォルダ削除: " + f : "フォルダ残存: " + f + " (空ではありません)");
  }
  if (FolderExists(stored)) foldersLeft_.push_back(FolderLine(stored));
  for (const auto& f : DeepestFirst(folders)) {
    if (!IsSameFolder(f, stored) && FolderExists(f)) foldersLeft_.push_back(FolderLine(f));
  }
  for (const auto& line : foldersLeft_) Log("残したフォルダ: " + line);
  Log("残したもの: 「送る」のショートカット、" + GetWindowsFolder() + script::kRegister + " の [" + name + "]、" +
      GetWindowsFolder() + script::kInstaller + " (他の製品と共有)");
  Progress(tbar::Information, 100, 100);
  return productLeft ? tresult::Incomplete : tresult::Done;
}

bool NamesSettings(const std::string& folder) {
  tentrylist settings;
  ScriptFile(FolderPrefix(folder) + script::kUninstallScript).ReadEntries(script::kSettings, settings);
  return !settings.empty();
}

const char kRemoveEntryQuestion[] = "「アプリケーションの追加と削除」からこのプログラムの登録を削除しますか？";

std::string FindUninstallEntryFor(const std::string& scriptPath) {
  const std::string folder = FolderPartOf(scriptPath);
  if (folder.empty()) return std::string();
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
    // Quoted as this installer writes it, or unquoted as earlier ones did.
    const std::string own = UninstallScriptOf(key.ReadString(script::kUninstallString));
    if (own.empty() || platform::LowerText(StoredFolder(FolderPartOf(own))) != platform::LowerText(StoredFolder(folder)))
      continue;
    // Its script or record still there: the entry is whole, whatever name was typed.
    if (!Exists(own) && !Exists(FolderPartOf(own) + script::kRecord)) return product;
  }
  return std::string();
}

bool RemoveUninstallEntry(const std::string& product) {
  return IsPlainName(product) && DeleteRegistryTree(HKEY_LOCAL_MACHINE, script::kUninstallKey + product);
}

}  // namespace pendo
