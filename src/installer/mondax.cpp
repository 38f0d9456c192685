// Mondax's entry: with an uninstall script as its argument it removes the
// product; without one it installs what the setup script beside it names.
// With /silent it does either without a window; with /log it tells each step.
#include <windows.h>

#include "framework/application.h"
#include "framework/frameworkclasses.h"
#include "installer/_installationform.h"
#include "installer/_uninstallationform.h"
#include "installer/commandline.h"
#include "installer/removalrun.h"
#include "installer/setuplog.h"
#include "installer/unattendedrun.h"
#include "settings/widetext.h"

namespace {

void Refuse(const std::string& text, const pendo::tsetuplog* log = nullptr) {
  pendo::SetupMessage(nullptr, text, "失敗 - Failure", MB_OK | MB_ICONINFORMATION, log);
}

// Standard error, when whoever started us gave one.
void TellStandardError(const std::string& text) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
  const std::string line = text + "\r\n";
  DWORD put = 0;
  WriteFile(err, line.data(), static_cast<DWORD>(line.size()), &put, nullptr);
}

int BadCommandLine(const pendo::tsetupcommandline& line, const pendo::tsetuplog& log, const std::string& why) {
  log.Line(why);
  log.Line(pendo::kSetupUsage);
  TellStandardError("mondax: " + why);
  TellStandardError(pendo::kSetupUsage);
  if (!line.silent) Refuse(why + "\r\n" + pendo::kSetupUsage);
  return static_cast<int>(pendo::tsetupexit::BadCommandLine);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  pendo::RegisterFrameworkClasses();
  const pendo::tsetupcommandline line = pendo::GetSetupCommandLine();
  pendo::tsetuplog log;
  // A log that would overwrite what the run reads is refused before it is opened.
  const std::string logFault = pendo::LogPathFault(line);
  if (!logFault.empty()) return BadCommandLine(line, log, logFault);
  if (!line.log.empty() && !log.Open(line.log)) return BadCommandLine(line, log, "ログファイルに書き込めません: " + line.log);
  if (!line.valid) return BadCommandLine(line, log, line.error);
  if (line.silent) return static_cast<int>(pendo::tunattendedrun(line, log).Run());

  pendo::tapplication app(instance);
  app.SetTitle("Mondax");
  app.OnException = [&app, &log](const std::exception* error) {
    // A report never makes a window, not even for a form whose making failed.
    pendo::SetupMessage(app.MainForm() ? app.MainForm()->ExistingHandle() : nullptr,
                        std::string(error ? error->what() : "unknown error") + ".", app.Title().c_str(),
                        MB_OK | MB_ICONSTOP, &log);
  };
  const std::string refusal = pendo::StartRefusal(line);
  const std::string orphan = refusal.empty() || !line.remove ? std::string() : pendo::FindUninstallEntryFor(line.path);
  if (!orphan.empty()) {
    // Without its folder or script the entry can only be taken off the list.
    log.Line("失敗 - Failure: " + refusal);
    const int answer = pendo::SetupMessage(nullptr, refusal + "\r\n" + pendo::kRemoveEntryQuestion, "失敗 - Failure",
                                           MB_YESNO | MB_ICONQUESTION, nullptr);
    if (answer != IDYES) {
      log.Line("終了コード " + std::to_string(static_cast<int>(pendo::tsetupexit::Refused)));
      return static_cast<int>(pendo::tsetupexit::Refused);
    }
    const bool gone = pendo::RemoveUninstallEntry(orphan);
    log.Line(std::string(gone ? "レジストリ削除: " : "レジストリ残存: ") + "HKEY_LOCAL_MACHINE\\" +
             pendo::script::kUninstallKey + orphan);
    const auto code = gone ? pendo::tsetupexit::Done : pendo::tsetupexit::Failed;
    log.Line("終了コード " + std::to_string(static_cast<int>(code)));
    return static_cast<int>(code);
  }
  if (!refusal.empty()) {
    Refuse(refusal, &log);
    return static_cast<int>(pendo::tsetupexit::Refused);
  }
  // Leaving a wizard before its run has done its work is a cancel.
  pendo::tsetupexit exitCode = pendo::tsetupexit::Cancelled;
  pendo::tinstallerwizard* wizard = nullptr;
  if (line.remove)
    wizard = app.CreateMainForm<pendo::Tuninstallationform>();
  else
    wizard = app.CreateMainForm<pendo::Tinstallationform>();
  wizard->Attach(&log, &exitCode);
  app.Run();
  app.DestroyForms();
  log.Line("終了コード " + std::to_string(static_cast<int>(exitCode)));
  return static_cast<int>(exitCode);
}
