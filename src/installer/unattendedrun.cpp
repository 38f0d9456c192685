#include "installer/unattendedrun.h"

#include <exception>

#include <windows.h>

#include "installer/folderfitness.h"
#include "installer/installationrun.h"
#include "installer/removalrun.h"
#include "installer/scriptfile.h"
#include "settings/platform.h"
#include "settings/programidentity.h"
#include "settings/widetext.h"

namespace pendo {

namespace {

std::string SameFolderText(const std::string& folder) {
  return platform::LowerText(StoredFolder(CanonicalFolder(folder)));
}

}  // namespace

std::string StartRefusal(const tsetupcommandline& line) {
  if (line.remove) {
    // A run stopped before it copied its script left the record it can be removed from.
    const bool recordOnly = platform::LowerText(line.path.substr(FileNameStart(line.path))) == script::kUninstallScript &&
                            platform::FileExists(FolderPartOf(line.path) + script::kRecord);
    return platform::FileExists(line.path) || recordOnly
               ? std::string()
               : "セットアップ情報が見つかりません。手動で削除もしくは移動された可能性があります。";
  }
  return platform::FileExists(GetProgramFolder() + GetProgramBaseName() + ".inx") ? std::string()
                                                                                    : "このプログラムは単独起動できません。";
}

namespace {

// The system's own name of a file: full, canonical folder and the file's name.
std::string CanonicalFile(const std::string& path) {
  wchar_t full[MAX_PATH * 2];
  const DWORD n = GetFullPathNameW(Wide(path).c_str(), MAX_PATH * 2, full, nullptr);
  std::string text;
  if (n == 0 || n >= MAX_PATH * 2 || !NarrowExact(std::wstring(full, n), text)) return path;
  const std::string folder = FolderPartOf(text);
  return FolderPrefix(StoredFolder(CanonicalFolder(folder))) + text.substr(folder.size());
}

}  // namespace

std::string LogPathFault(const tsetupcommandline& line) {
  if (line.log.empty()) return std::string();
  const std::string log = platform::LowerText(CanonicalFile(line.log));
  if (line.remove) {
    const std::string folder = StoredFolder(CanonicalFolder(FolderPartOf(CanonicalFile(line.path))));
    if (log == platform::LowerText(CanonicalFile(line.path)) || IsBelowFolder(log, platform::LowerText(FolderPrefix(folder))))
      return "ログファイルは、アンインストールするフォルダの外に指定して下さい: " + line.log;
    return std::string();
  }
  const std::string setup = GetProgramFolder();
  const ScriptFile script(setup + script::kSetupScript);
  for (const std::string& read : {setup + script::kSetupScript, platform::ExecutablePath(),
                                  setup + script.ReadString(script::kProfile, script::kBindedFileName, "") +
                                      script::kArchiveExtension}) {
    if (log == platform::LowerText(CanonicalFile(read)))
      return "セットアップが読むファイルはログファイルに指定できません: " + line.log;
  }
  return std::string();
}

tsetupexit tunattendedrun::Run() {
  const std::string refusal = StartRefusal(line_);
  if (!refusal.empty() && line_.remove) {
    // The folder or its script is gone: an administrator wants the product
    // gone from the list too, not an entry that can never be removed.
    const std::string product = FindUninstallEntryFor(line_.path);
    if (!product.empty()) {
      log_.Line(refusal);
      const bool gone = RemoveUninstallEntry(product);
      log_.Line(std::string(gone ? "レジストリ削除: " : "レジストリ残存: ") + "HKEY_LOCAL_MACHINE\\" +
                script::kUninstallKey + product + " (セットアップ情報がありません)");
      return End(gone ? tsetupexit::Done : tsetupexit::Failed);
    }
  }
  if (!refusal.empty()) return End(tsetupexit::Refused, refusal);
  try {
    return line_.remove ? Remove() : Install();
  } catch (const std::exception& error) {
    // A registry value or the register could not be written.
    return End(tsetupexit::Failed, std::string(error.what()) + ".");
  }
}

tsetupexit tunattendedrun::End(tsetupexit code, const std::string& message) {
  if (!message.empty()) log_.Line("失敗: " + message);
  log_.Line("終了コード " + std::to_string(static_cast<int>(code)));
  return code;
}

tsetupexit tunattendedrun::Install() {
  const std::string setupFolder = GetProgramFolder();
  const ScriptFile setup(setupFolder + script::kSetupScript);
  const std::string product = setup.ReadString(script::kProfile, script::kApplicationName, "");
  // The wizard's folder page: the proposed folder, locked when the product
  // is there, unless that folder is now unfit.
  const std::string proposed = ProposedInstallationFolder(product);
  const std::string folder = line_.hasFolder ? line_.folder : proposed;
  log_.Line("インストール (ウィンドウなし): " + folder);
  const bool installed = IsInstalledIn(proposed);
  const std::string registeredFault = installed ? InstallationFolderFault(proposed, product) : std::string();
  if (!registeredFault.empty()) {
    log_.Line(RegisteredFolderMessage(registeredFault));
  } else if (installed && SameFolderText(folder) != SameFolderText(proposed)) {
    return End(tsetupexit::Refused, "既にインストールされたプログラムのフォルダを変更したい場合、いったんアンインストールを行って下さい。(" +
                                        proposed + ")");
  }
  // The wizard asks for a title only when the script offers the SendTo entry.
  if (!line_.sendTo.empty() && !setup.ReadFlag(script::kEnvironment, script::kSendTo, false))
    return End(tsetupexit::Refused, "このセットアップは「送る」への登録を行いません。");

  tinstallationrun run(setupFolder, platform::ExecutablePath());
  run.OnLog = [this](const std::string& line) { log_.Line(line); };
  const auto result = run.Run(folder, line_.sendTo);
  if (result == tinstallationrun::tresult::CopyFailed) log_.Line("失敗: " + run.Message(result));
  for (const auto& message : run.Skipped()) log_.Line("注意: " + message);
  return End(tinstallationrun::ExitCodeOf(result),
             result == tinstallationrun::tresult::CopyFailed ? "インストールは正常終了しませんでした。"
                                                             : run.Message(result));
}

tsetupexit tunattendedrun::Remove() {
  log_.Line("アンインストール (ウィンドウなし): " + line_.path);
  tremovalrun run(FolderPartOf(line_.path), line_.removeSettings);
  run.OnLog = [this](const std::string& line) { log_.Line(line); };
  const auto result = run.Run();
  return End(tremovalrun::ExitCodeOf(result), result == tremovalrun::tresult::Incomplete
                                                  ? "アンインストールは完了しませんでした。"
                                                  : run.Message(result));
}

}  // namespace pendo
