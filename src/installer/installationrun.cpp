#include "installer/installationrun.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "installer/archivecopy.h"
#include "installer/archivefile.h"
#include "installer/folderfitness.h"
#include "installer/folderoperations.h"
#include "installer/installrecord.h"
#include "installer/installsafety.h"
#include "installer/recordfile.h"
#include "installer/registrykey.h"
#include "installer/runlock.h"
#include "installer/runningproduct.h"
#include "installer/scriptfile.h"
#include "installer/shellfolders.h"
#include "installer/shortcut.h"
#include "settings/platform.h"
#include "settings/widetext.h"
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
  if (existing.empty() || !GetDiskFreeSpaceExW(Wide(FolderPrefix(existing)).c_str(), &free, nullptr, nullptr))
    return ~std::uint64_t{0};
  return free.QuadPart;
}

const char* Outcome(bool ok) { return ok ? "" : " 失敗"; }

// The CRC-32 of each file's bytes, in one pass over the archive, and of the
// whole archive in total.
std::vector<std::uint32_t> FileChecksums(tarchivefile& archive, const std::vector<tbinditem>& files,
                                         std::uint32_t& total) {
  std::vector<std::uint32_t> crcs;
  total = 0;
  for (const auto& f : files) {
    std::uint32_t crc = 0;
    for (std::uint64_t left = f.size; left > 0;) {
      std::uint32_t got = 0;
      const char* bytes = archive.Next(static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kCopyBufferSize)), got);
      if (!bytes || got == 0) break;
      crc = Crc32(bytes, got, crc);
      total = Crc32(bytes, got, total);
      left -= got;
    }
    crcs.push_back(crc);
  }
  archive.Rewind();
  return crcs;
}

// The folders CreateFolderPath would make for folder, topmost first.
std::vector<std::string> MissingFolders(const std::string& folder) {
  std::vector<std::string> missing;
  for (std::string f = StoredFolder(folder); f.size() > 3 && !FolderExists(f); f = StoredFolder(FolderPartOf(f)))
    missing.insert(missing.begin(), f);
  return missing;
}


}  // namespace

std::string ProposedInstallationFolder(const std::string& productName) {
  const ScriptFile installRegister(GetWindowsFolder() + script::kRegister);
  return installRegister.ReadString(productName, script::kInstallationDirectory, GetProgramFilesFolder() + productName);
}

const char kBusyMessage[] =
    "別のインストールまたはアンインストールが実行中です。それが終了してから、もう一度実行して下さい。";

bool IsInstalledIn(const std::string& folder) {
  return platform::FileExists(StoredFolder(folder) + "\\" + script::kUninstallScript);
}

tinstallationrun::tinstallationrun(std::string setupFolder, std::string installer)
    : setupFolder_(std::move(setupFolder)), installer_(std::move(installer)) {}

std::string tinstallationrun::Message(tresult result) const {
  switch (result) {
    case tresult::Done: return std::string();
    case tresult::ScriptUnfit: return "セットアップ情報に不正な項目があるため、インストールできません。\r\n" + fault_;
    case tresult::FolderUnfit: return InstallationFolderMessage(fault_);
    case tresult::TitleUnfit: return "指定されたタイトルは使用できません。別のタイトルを入力して下さい。";
    case tresult::ArchiveMissing: return "書庫ファイルが見つかりません。";
    case tresult::ArchiveUnfit:
      return "書庫ファイルが壊れています。インストールできません。\r\n" + fault_;
    case tresult::NoRoom: return "インストール先のドライブに空き領域が足りません。";
    case tresult::ProductRunning:
      return "インストールするプログラムが起動しています。プログラムを終了させて下さい。\r\n" + fault_;
    case tresult::Busy: return kBusyMessage;
    case tresult::CopyFailed:
      return "何らかの理由でファイルのコピーに失敗しました。本プログラムの旧版が起動中の場合はいったん終了させて下さい"
             "。"
             "\r\nコピーしたファイルを削除し、置き換えたファイルを元に戻しました。";
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
  skipped_.clear();
  tsetuprunlock lock;
  if (!lock.Acquire()) {
    Log(kBusyMessage);
    return tresult::Busy;
  }
  const ScriptFile setup(setupFolder_ + script::kSetupScript);
  tscriptcontent content;
  content.applicationName = setup.ReadString(script::kProfile, script::kApplicationName, "");
  // A list cut short by the name buffer would install part of the product.
  for (const auto& section :
       {std::make_pair(script::kBind, &content.bind), std::make_pair(script::kErase, &content.erase),
        std::make_pair(script::kRename, &content.rename), std::make_pair(script::kRelation, &content.relation),
        std::make_pair(script::kShortCut, &content.shortCut), std::make_pair(script::kSettings, &content.settings)}) {
    if (!setup.ReadEntries(section.first, *section.second) && fault_.empty())
      fault_ = std::string(section.first) + ": 項目が多すぎます";
  }
  if (fault_.empty()) fault_ = FindScriptFault(content);
  const std::string checksumText = setup.ReadString(script::kProfile, script::kBindedFileChecksum, "");
  std::uint32_t checksum = 0;
  const bool checked = !checksumText.empty();
  if (fault_.empty() && checked && !ParseChecksum(checksumText, checksum))
    fault_ = std::string(script::kProfile) + ": " + script::kBindedFileChecksum;
  if (!fault_.empty()) {
    Log("セットアップ情報の不正: " + fault_);
    return tresult::ScriptUnfit;
  }
  // Only an empty or new folder, or the product's own.
  fault_ = InstallationFolderFault(folderText, content.applicationName, PathsTouched(content));
  if (!fault_.empty()) return tresult::FolderUnfit;
  if (!sendToTitle.empty() && !IsContainedPath(sendToTitle)) return tresult::TitleUnfit;

  const std::string archivePath =
      setup.ReadString(script::kProfile, script::kBindedFileName, "") + script::kArchiveExtension;
  const std::string archiveFile = setupFolder_ + archivePath;
  if (!platform::FileExists(archiveFile)) return tresult::ArchiveMissing;

  const std::string& name = content.applicationName;
  // One spelling everywhere, the system's own: the register, the entry,
  // the shortcuts and the record all name the folder alike.
  const std::string stored = StoredFolder(CanonicalFolder(folderText));
  const std::string prefix = FolderPrefix(stored);
  const auto files = ReadBindList(content.bind);
  tarchivefile archive;
  if (!archive.Open(archiveFile)) {
    fault_ = archiveFile;
    Log("書庫を開けません: " + archiveFile);
    return tresult::ArchiveMissing;
  }
  // Found now, not half-way through the copy.
  if (archive.Size() != BindTotal(files)) {
    fault_ = archiveFile + " (" + std::to_string(archive.Size()) + " バイト、必要なのは " +
             std::to_string(BindTotal(files)) + " バイト)";
    Log("書庫の長さが違います: " + fault_);
    return tresult::ArchiveUnfit;
  }
  if (BindTotal(files) > FreeBytesFor(stored)) {
    Log("空き領域不足: " + std::to_string(BindTotal(files)) + " バイト必要");
    return tresult::NoRoom;
  }
  fault_ = FindRunningProduct(prefix, files);
  if (!fault_.empty()) return tresult::ProductRunning;
  std::uint32_t total = 0;
  const std::vector<std::uint32_t> crcs = FileChecksums(archive, files, total);
  if (checked && total != checksum) {
    fault_ = archiveFile;
    Log("書庫のチェックサムが違います: " + archiveFile);
    return tresult::ArchiveUnfit;
  }

  // From here on everything made is named in the record first, and taken
  // back when the copy fails.
  const std::vector<std::string> created = MissingFolders(stored);
  for (const auto& f : created) Log("フォルダ作成: " + f + Outcome(CreateDirectoryW(Wide(f).c_str(), nullptr) != FALSE));
  if (created.empty()) Log("フォルダ (既存): " + stored);
  auto removeCreated = [&] {
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
      if (RemoveDirectoryW(Wide(*it).c_str())) Log("フォルダ削除 (取り消し): " + *it);
    }
  };
  const std::string uninstallScript = prefix + script::kUninstallScript;
  std::string previousScript;
  const bool scriptExisted = platform::ReadFileBytes(uninstallScript, previousScript);
  trecordfile record;
  tinstallrecord previousRecord;
  const bool recordExisted = ReadRecordFile(prefix + script::kRecord, previousRecord);
  if (!record.Open(prefix + script::kRecord, name, stored)) {
    fault_ = record.Path();
    Log("インストール記録を書けません: " + record.Path());
    record.TakeBack();
    removeCreated();
    return tresult::CopyFailed;
  }
  bool recorded = true;
  auto note = [&](trecordkind kind, const std::string& path, std::uint64_t size = 0, std::uint32_t crc = 0,
                  const std::string& valueName = std::string()) {
    recorded = record.Append(trecordentry{kind, path, size, crc, valueName}) && recorded;
  };
  for (const auto& f : created) note(trecordkind::Folder, f);
  if (!recordExisted && scriptExisted) {
    // An installation made before there were records: what its script
    // installed is taken as the product's, as its removal would.
    const ScriptFile old(uninstallScript);
    tentrylist oldBind;
    old.ReadEntries(script::kBind, oldBind);
    note(trecordkind::Folder, stored);
    for (const auto& item : ReadBindList(oldBind)) {
      tfileprint print{};
      if (IsContainedPath(item.name) && FilePrint(prefix + item.name, print))
        note(trecordkind::File, item.name, print.size, print.crc);
    }
    Log("インストール記録 (旧版の分を含む): " + record.Path());
  }
  // Leftovers of a run that was killed while it replaced files.
  for (const auto& f : files) {
    const std::string path = prefix + f.name;
    const std::string unfinished = path + script::kNewSuffix, previous = path + script::kPreviousSuffix;
    if (platform::FileExists(unfinished))
      Log("前回の残り (削除): " + unfinished + Outcome(DeleteOwnFile(unfinished)));
    if (platform::FileExists(previous) && platform::FileExists(path))
      Log("前回の残り (削除): " + previous + Outcome(DeleteOwnFile(previous)));
    else if (platform::FileExists(previous))
      Log("前回の残り (復元): " + previous + Outcome(RestorePreviousVersion(path)));
  }

  // An earlier installation's record of the verbs it replaced stays: the
  // commands there now are its own.
  const ScriptFile scriptFile(uninstallScript);
  std::vector<std::pair<std::string, std::string>> previousVerbs;
  if (scriptExisted) {
    tentrylist verbs;
    scriptFile.ReadEntries(script::kRelationBackup, verbs);
    for (const auto& e : verbs)
      previousVerbs.emplace_back(GetEntryName(e), scriptFile.ReadString(script::kRelationBackup, GetEntryName(e), ""));
  }
  auto restoreScript = [&] {
    if (!scriptExisted) return DeleteFileW(Wide(uninstallScript).c_str()) != FALSE;
    try {
      platform::WriteFileAtomically(uninstallScript, previousScript);
      return true;
    } catch (const std::exception&) {
      return false;
    }
  };

  const std::string uninstallKeyPath = script::kUninstallKey + name;
  const std::string keyName = std::string("HKEY_LOCAL_MACHINE\\") + uninstallKeyPath;
  const bool keyExisted = RegistryKeyExists(HKEY_LOCAL_MACHINE, uninstallKeyPath);
  const ScriptFile installRegister(GetWindowsFolder() + script::kRegister);
  const std::string kNoFolder = "\x01";
  const std::string previousFolder = installRegister.ReadString(name, script::kInstallationDirectory, kNoFolder);
  tregistrykey uninstallKey;
  bool scriptWritten = false;
  auto takeBack = [&] {
    Log("インストールを取り消します");
    if (!keyExisted) {
      uninstallKey.Close();
      Log("レジストリ削除 (取り消し): " + keyName + Outcome(DeleteRegistryTree(HKEY_LOCAL_MACHINE, uninstallKeyPath)));
    }
    if (previousFolder != kNoFolder || installRegister.ReadString(name, script::kInstallationDirectory, "") == stored) {
      bool restored = true;
      try {
        if (previousFolder == kNoFolder)
          restored = installRegister.RemoveKey(name, script::kInstallationDirectory);
        else
          installRegister.WriteString(name, script::kInstallationDirectory, previousFolder);
      } catch (const std::exception&) {
        restored = false;
      }
      Log("インストール登録を元に戻しました: " + installRegister.Path() + " [" + name + "]" + Outcome(restored));
    }
    if (scriptWritten) Log("アンインストール情報を元に戻しました: " + uninstallScript + Outcome(restoreScript()));
  };
  auto endRecord = [&] {
    Log("インストール記録を元に戻しました: " + record.Path() + Outcome(record.TakeBack()));
    removeCreated();
  };
  try {
    installRegister.WriteString(name, script::kInstallationDirectory, stored);
    Log("インストール登録: " + installRegister.Path() + " [" + name + "] " + script::kInstallationDirectory + "=" +
        stored);
    if (!keyExisted) note(trecordkind::Key, keyName);
    uninstallKey.Create(HKEY_LOCAL_MACHINE, uninstallKeyPath);
    const std::string title = setup.ReadString(script::kProfile, script::kUninstallationTitle, "");
    const std::string command = MakeUninstallString(GetWindowsFolder(), stored);
    const std::string icon = prefix + name + ".exe";
    for (const auto& value :
         {std::make_pair(script::kDisplayName, title), std::make_pair(script::kUninstallString, command),
          std::make_pair(script::kInstallLocation, stored), std::make_pair(script::kDisplayIcon, icon)}) {
      note(trecordkind::Value, keyName, 0, 0, value.first);
      uninstallKey.WriteString(value.first, value.second);
      Log("レジストリ: " + keyName + " " + value.first + "=" + value.second);
    }
    const std::uint32_t size = EstimatedSizeKiB(BindTotal(files));
    note(trecordkind::Value, keyName, 0, 0, script::kEstimatedSize);
    uninstallKey.WriteNumber(script::kEstimatedSize, size);
    Log("レジストリ: " + keyName + " " + script::kEstimatedSize + "=" + std::to_string(size));
  } catch (const std::exception&) {
    takeBack();
    endRecord();
    throw;
  }
  scriptWritten =
      CopyFileW(Wide(setupFolder_ + script::kSetupScript).c_str(), Wide(uninstallScript).c_str(), FALSE) != FALSE;
  Log("アンインストール情報: " + uninstallScript + Outcome(scriptWritten));
  if (!scriptWritten || !recorded) {
    fault_ = scriptWritten ? record.Path() : uninstallScript;
    takeBack();
    endRecord();
    return tresult::CopyFailed;
  }
  // Only what this installer wrote may later be put back.
  scriptFile.RemoveSection(script::kRelationBackup);
  for (const auto& v : previousVerbs) scriptFile.WriteString(script::kRelationBackup, v.first, v.second);
  // The uninstall entry starts this copy.
  const std::string installerCopy = GetWindowsFolder() + script::kInstaller;
  Log("インストーラ複写: " + installerCopy +
      Outcome(CopyFileW(Wide(installer_).c_str(), Wide(installerCopy).c_str(), FALSE) != FALSE));

  std::vector<std::string> added, replaced;
  auto copyFailed = [&] {
    for (auto it = replaced.rbegin(); it != replaced.rend(); ++it)
      Log("ファイル復元: " + *it + Outcome(RestorePreviousVersion(*it)));
    for (auto it = added.rbegin(); it != added.rend(); ++it)
      Log("ファイル削除 (取り消し): " + *it + Outcome(DeleteFileW(Wide(*it).c_str()) != FALSE));
    takeBack();
    endRecord();
    Log("インストール前の状態に戻しました");
    return tresult::CopyFailed;
  };
  const int fileMax = files.empty() ? 0 : static_cast<int>(files.size()) - 1;
  Progress(tbar::Files, 0, fileMax);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string path = prefix + files[i].name;
    const bool existed = GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    note(trecordkind::File, files[i].name, files[i].size, crcs[i]);
    const bool copied = recorded && CopyArchiveFile(archive, path, files[i].size);
    Log("ファイル書き込み: " + path + " (" + std::to_string(files[i].size) + " バイト)" + Outcome(copied));
    if (!copied) {
      fault_ = recorded ? path : record.Path();
      return copyFailed();
    }
    (existed ? replaced : added).push_back(path);
    Progress(tbar::Files, static_cast<int>(i), fileMax);
    LetWindowWork();
  }
  archive.Close();
  if (fileMax == 0) Progress(tbar::Files, 1, 1);  // an empty or one-file list shows a full bar

  // The clean-up of earlier versions touches only files the product made.
  tinstallrecord now;
  ReadRecordFile(record.Path(), now);
  auto isProducts = [&](const std::string& relative) {
    return IsAsRecorded(prefix + relative, RecordedPrints(now, relative));
  };
  for (const auto& e : content.erase) {
    const std::string path = prefix + GetEntryName(e);
    if (GetFileAttributesW(Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    if (isProducts(GetEntryName(e)))
      Log("ファイル削除: " + path + Outcome(DeleteFileW(Wide(path).c_str()) != FALSE));
    else
      Log("ファイル残存: " + path + " (インストールしたものではありません)");
  }
  for (const auto& e : content.rename) {
    const std::string from = prefix + GetEntryName(e), to = prefix + GetEntryValue(e);
    tfileprint print{};
    if (GetFileAttributesW(Wide(from).c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    if (isProducts(GetEntryName(e)) && FilePrint(from, print))
      note(trecordkind::File, GetEntryValue(e), print.size, print.crc);
    Log("ファイル名変更: " + from + " -> " + to + Outcome(MoveFileW(Wide(from).c_str(), Wide(to).c_str()) != FALSE));
  }

  // A shortcut of the same name that leads elsewhere is someone else's.
  auto shortcut = [&](const std::string& target, const std::string& link, trecordkind kind, const char* what) {
    const std::string file = link + ".lnk";
    if (platform::FileExists(file) && !IsBelowFolder(ShortcutTarget(file), prefix)) {
      skipped_.push_back("同じ名前のショートカットが別のプログラムを指しているため、作成しませんでした。\r\n" + file);
      Log(std::string("ショートカット作成せず") + what + ": " + file +
          " (既存のショートカットは別の場所を指しています)");
      return;
    }
    note(kind, file);
    Log(std::string("ショートカット作成") + what + ": " + file + " -> " + target +
        Outcome(CreateShortcut(target, link)));
  };
  // A shell folder the system cannot name in the code page would put the
  // shortcut at the drive's root.
  auto unnamed = [&](const char* folder) {
    skipped_.push_back(std::string("「") + folder +
                       "」フォルダの場所を確かめられないため、ショートカットを作成しませんでした。");
    Log(std::string("ショートカット作成せず: ") + folder + " フォルダの場所を確かめられません");
  };
  const std::string sendTo = GetSendToFolder();
  if (!sendToTitle.empty() && sendTo.empty()) unnamed("送る");
  if (!sendToTitle.empty() && !sendTo.empty())
    shortcut(prefix + name + ".exe", sendTo + sendToTitle, trecordkind::SendTo, " (送る)");
  for (const auto& e : content.relation) {
    const tfileverb verb = SplitRelation(e, prefix);
    const std::string verbKey = FileVerbKey(verb.extension, verb.verb);
    if (!verbKey.empty() && scriptFile.ReadString(script::kRelationBackup, verbKey, "").empty()) {
      // Recorded before it is changed, so a removal can always put it back.
      const std::string commandKey = verbKey + "\\command";
      tregistrykey old;
      std::string backup;
      if (old.Open(HKEY_CLASSES_ROOT, commandKey) && old.ReadString("") != verb.command)
        backup = "+" + old.ReadString("");
      else if (!old.IsOpen())
        backup = "-" + (RegistryKeyExists(HKEY_CLASSES_ROOT, verbKey) ? commandKey : verbKey);
      // A command too long for the script could not be put back whole.
      if (backup.size() + 1 >= kValueBufferSize) {
        Log("関連付けせず: " + verbKey + " (元のコマンドを記録できません)");
        continue;
      }
      if (!backup.empty()) {
        scriptFile.WriteString(script::kRelationBackup, verbKey, backup);
        Log("関連付けの記録: " + verbKey + " " + backup);
      }
    }
    RegisterFileVerb(verb.extension, verb.verb, verb.command);
    Log("関連付け: " + verb.extension + " " + verb.verb + " = " + verb.command +
        (verbKey.empty() ? " (ファイルタイプがありません)" : ""));
    LetWindowWork();
  }
  const std::string programs = GetCommonProgramsFolder();
  const std::string startMenu = programs.empty() ? std::string() : programs + script::kStartMenuFolder + "\\";
  if (!startMenu.empty()) CreateDirectoryW(Wide(StoredFolder(startMenu)).c_str(), nullptr);
  if (startMenu.empty() && !content.shortCut.empty()) unnamed("スタートメニュー");
  const int shortcutMax = content.shortCut.empty() ? 0 : static_cast<int>(content.shortCut.size()) - 1;
  Progress(tbar::Shortcuts, 0, shortcutMax);
  for (std::size_t i = 0; i < content.shortCut.size(); ++i) {
    const std::string& e = content.shortCut[i];
    if (!startMenu.empty()) shortcut(prefix + GetEntryName(e), startMenu + GetEntryValue(e), trecordkind::Shortcut, "");
    Progress(tbar::Shortcuts, static_cast<int>(i), shortcutMax);
    LetWindowWork();
  }
  if (shortcutMax == 0) Progress(tbar::Shortcuts, 1, 1);
  LetWindowWork();

  Progress(tbar::Information, 0, 1);
  for (const auto& path : replaced) {
    const std::string previous = path + script::kPreviousSuffix;
    Log("旧版削除: " + previous + Outcome(DeleteOwnFile(previous)));
  }
  note(trecordkind::End, stored);
  if (!recorded) Log("インストール記録の一部を書けませんでした: " + record.Path());
  Progress(tbar::Information, 1, 1);
  LetWindowWork();
  return tresult::Done;
}

}  // namespace pendo
