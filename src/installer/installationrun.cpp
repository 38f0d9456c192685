#include "installer/installationrun.h"

#include <windows.h>

#include <vector>

#include "installer/archivefile.h"
#include "installer/folderfitness.h"
#include "installer/folderoperations.h"
#include "installer/installsafety.h"
#include "installer/registrykey.h"
#include "installer/runningproduct.h"
#include "installer/scriptfile.h"
#include "installer/shellfolders.h"
#include "installer/shortcut.h"
#include "settings/platform.h"
#include "settings/windowsfolder.h"

namespace pendo {

namespace {

// Free bytes on the drive of folder, asked of its nearest existing parent;
// the largest number when the system cannot tell.
std::uint64_t FreeBytesFor(const std::string& folder) {
  std::string existing = StoredFolder(folder);
  while (!existing.empty() && !FolderExists(existing)) {
    const std::string parent = StoredFolder(FolderPartOf(existing));
    if (parent == existing) break;
    existing = parent;
  }
  ULARGE_INTEGER free;
  if (existing.empty() || !GetDiskFreeSpaceExA(FolderPrefix(existing).c_str(), &free, nullptr, nullptr))
    return ~std::uint64_t{0};
  return free.QuadPart;
}

const char* Outcome(bool ok) { return ok ? "" : " 失敗"; }

}  // namespace

std::string ProposedInstallationFolder(const std::string& productName) {
  const ScriptFile installRegister(GetWindowsFolder() + script::kRegister);
  return installRegister.ReadString(productName, script::kInstallationDirectory, GetProgramFilesFolder() + productName);
}

bool IsInstalledIn(const std::string& folder) {
  return platform::FileExists(StoredFolder(folder) + "\\" + script::kUninstallScript);
}

tinstallationrun::tinstallationrun(std::string setupFolder, std::string installer)
    : setupFolder_(std::move(setupFolder)), installer_(std::move(installer)) {}

void tinstallationrun::Progress(tbar bar, int position, int max) {
  if (OnProgress) OnProgress(bar, position, max);
}

void tinstallationrun::LetWindowWork() {
  if (OnYield) OnYield();
}

void tinstallationrun::Log(const std::string& line) {
  if (OnLog) OnLog(line);
}

std::string tinstallationrun::Message(tresult result) const {
  switch (result) {
    case tresult::Done: return std::string();
    case tresult::ScriptUnfit: return "セットアップ情報に不正な項目があるため、インストールできません。\r\n" + fault_;
    case tresult::FolderUnfit: return InstallationFolderMessage(fault_);
    case tresult::TitleUnfit: return "指定されたタイトルは使用できません。別のタイトルを入力して下さい。";
    case tresult::ArchiveMissing: return "書庫ファイルが見つかりません。";
    case tresult::NoRoom: return "インストール先のドライブに空き領域が足りません。";
    case tresult::ProductRunning:
      return "インストールするプログラムが起動しています。プログラムを終了させて下さい。\r\n" + fault_;
    case tresult::CopyFailed:
      return "何らかの理由でファイルのコピーに失敗しました。本プログラムの旧版が起動中の場合はいったん終了させて下さい。";
  }
  return std::string();
}

tsetupexit tinstallationrun::ExitCodeOf(tresult result) {
  switch (result) {
    case tresult::Done: return tsetupexit::Done;
    case tresult::ProductRunning: return tsetupexit::ProductRunning;
    case tresult::CopyFailed: return tsetupexit::Failed;
    default: return tsetupexit::Refused;
  }
}

tinstallationrun::tresult tinstallationrun::Run(const std::string& folderText, const std::string& sendToTitle) {
  fault_.clear();
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
  // Only an empty or new folder, or the product's own: the uninstaller empties it later.
  fault_ = InstallationFolderFault(folderText, content.applicationName, PathsTouched(content));
  if (!fault_.empty()) return tresult::FolderUnfit;
  if (!sendToTitle.empty() && !IsContainedPath(sendToTitle)) return tresult::TitleUnfit;

  const std::string archivePath =
      setupFolder_ + setup.ReadString(script::kProfile, script::kBindedFileName, "") + script::kArchiveExtension;
  if (!platform::FileExists(archivePath)) return tresult::ArchiveMissing;

  const std::string& name = content.applicationName;
  const std::string stored = StoredFolder(folderText);
  const std::string prefix = FolderPrefix(folderText);
  const auto files = ReadBindList(content.bind);
  if (BindTotal(files) > FreeBytesFor(stored)) return tresult::NoRoom;
  fault_ = FindRunningProduct(prefix, files);
  if (!fault_.empty()) return tresult::ProductRunning;

  const bool folderExisted = FolderExists(stored);
  CreateFolderPath(stored);
  Log(std::string(folderExisted ? "フォルダ (既存): " : "フォルダ作成: ") + stored + Outcome(FolderExists(stored)));
  const std::string uninstallKeyPath = script::kUninstallKey + name;
  const bool keyExisted = RegistryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyPath);
  tregistrykey uninstallKey;
  uninstallKey.Create(HKEY_LOCAL_MACHINE, uninstallKeyPath);
  const ScriptFile installRegister(GetWindowsFolder() + script::kRegister);

  const std::string uninstallScript = prefix + script::kUninstallScript;
  auto copyUninstallScript = [&] {
    Log("アンインストール情報: " + uninstallScript +
        Outcome(CopyFileA((setupFolder_ + script::kSetupScript).c_str(), uninstallScript.c_str(), FALSE) != FALSE));
  };
  const std::string keyName = std::string("HKEY_LOCAL_MACHINE\\") + uninstallKeyPath + " ";
  auto registerInstallation = [&] {
    installRegister.WriteString(name, script::kInstallationDirectory, stored);
    Log("インストール登録: " + installRegister.Path() + " [" + name + "] " + script::kInstallationDirectory + "=" +
        stored);
    const std::string title = setup.ReadString(script::kProfile, script::kUninstallationTitle, "");
    uninstallKey.WriteString(script::kDisplayName, title);
    Log("レジストリ: " + keyName + script::kDisplayName + "=" + title);
    const std::string command = MakeUninstallString(GetWindowsFolder(), stored);
    uninstallKey.WriteString(script::kUninstallString, command);
    Log("レジストリ: " + keyName + script::kUninstallString + "=" + command);
  };
  // A copy that fails before any file was written takes back the folder and
  // key it made; after that the files stay, and the uninstall information is
  // written so that the half installation can be removed like a whole one.
  auto copyFailed = [&](bool wroteAny) {
    if (wroteAny) {
      copyUninstallScript();
      registerInstallation();
      return tresult::CopyFailed;
    }
    if (!folderExisted && RemoveDirectoryA(stored.c_str())) Log("フォルダ削除 (取り消し): " + stored);
    uninstallKey.Close();
    if (!keyExisted && DeleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyPath))
      Log("レジストリ削除 (取り消し): HKEY_LOCAL_MACHINE\\" + uninstallKeyPath);
    return tresult::CopyFailed;
  };

  tarchivefile archive;
  if (!archive.Open(archivePath)) {
    fault_ = archivePath;
    Log("書庫を開けません: " + archivePath);
    return copyFailed(false);
  }
  const int fileMax = files.empty() ? 0 : static_cast<int>(files.size()) - 1;
  Progress(tbar::Files, 0, fileMax);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string path = prefix + files[i].name;
    const bool copied = CopyArchiveFile(archive, path, files[i].size);
    Log("ファイル書き込み: " + path + " (" + std::to_string(files[i].size) + " バイト)" + Outcome(copied));
    if (!copied) {
      fault_ = path;
      return copyFailed(i > 0);
    }
    Progress(tbar::Files, static_cast<int>(i), fileMax);
    LetWindowWork();
  }
  archive.Close();
  if (fileMax == 0) Progress(tbar::Files, 1, 1);  // an empty or one-file list shows a full bar

  for (const auto& e : content.erase) {
    const std::string path = prefix + GetEntryName(e);
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
      Log("ファイル削除: " + path + Outcome(DeleteFileA(path.c_str()) != FALSE));
  }
  for (const auto& e : content.rename) {
    const std::string from = prefix + GetEntryName(e), to = prefix + GetEntryValue(e);
    if (GetFileAttributesA(from.c_str()) != INVALID_FILE_ATTRIBUTES)
      Log("ファイル名変更: " + from + " -> " + to + Outcome(MoveFileA(from.c_str(), to.c_str()) != FALSE));
  }
  copyUninstallScript();

  if (!sendToTitle.empty()) {
    const std::string link = GetSendToFolder() + sendToTitle;
    Log("ショートカット作成 (送る): " + link + ".lnk -> " + prefix + name + ".exe" +
        Outcome(CreateShortcut(prefix + name + ".exe", link)));
  }
  for (const auto& e : content.relation) {
    const FileVerb verb = SplitRelation(e, prefix);
    RegisterFileVerb(verb.extension, verb.verb, verb.command);
    Log("関連付け: " + verb.extension + " " + verb.verb + " = " + verb.command);
    LetWindowWork();
  }
  const std::string startMenu = GetCommonProgramsFolder() + script::kStartMenuFolder + "\\";
  CreateDirectoryA(StoredFolder(startMenu).c_str(), nullptr);
  const int shortcutMax = content.shortCut.empty() ? 0 : static_cast<int>(content.shortCut.size()) - 1;
  Progress(tbar::Shortcuts, 0, shortcutMax);
  for (std::size_t i = 0; i < content.shortCut.size(); ++i) {
    const std::string& e = content.shortCut[i];
    const std::string link = startMenu + GetEntryValue(e);
    Log("ショートカット作成: " + link + ".lnk -> " + prefix + GetEntryName(e) +
        Outcome(CreateShortcut(prefix + GetEntryName(e), link)));
    Progress(tbar::Shortcuts, static_cast<int>(i), shortcutMax);
    LetWindowWork();
  }
  if (shortcutMax == 0) Progress(tbar::Shortcuts, 1, 1);
  LetWindowWork();

  Progress(tbar::UninstallInformation, 0, 1);
  registerInstallation();
  Progress(tbar::UninstallInformation, 1, 1);
  LetWindowWork();
  const std::string installerCopy = GetWindowsFolder() + script::kInstaller;
  Log("インストーラ複写: " + installerCopy +
      Outcome(CopyFileA(installer_.c_str(), installerCopy.c_str(), FALSE) != FALSE));
  return tresult::Done;
}

}  // namespace pendo
