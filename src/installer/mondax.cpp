// Mondax's entry: with an uninstall script as its argument it removes the
// product; without one it installs what the setup script beside it names.
#include <windows.h>

#include "framework/application.h"
#include "installer/_installationform.h"
#include "installer/_uninstallationform.h"
#include "installer/commandline.h"
#include "installer/scriptformat.h"
#include "settings/platform.h"
#include "settings/programidentity.h"

namespace {

void Refuse(const char* text) { MessageBoxA(nullptr, text, "失敗 - Failure", MB_OK | MB_ICONINFORMATION); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  pendo::tapplication app(instance);
  app.SetTitle("Mondax");
  app.OnException = [&app](const std::exception* error) {
    const std::string text = std::string(error ? error->what() : "unknown error") + ".";
    MessageBoxA(app.MainForm() ? app.MainForm()->Handle() : nullptr, text.c_str(), app.Title().c_str(),
                MB_OK | MB_ICONSTOP);
  };
  const std::string path = pendo::GetCommandLineText();
  if (pendo::ExtensionOf(path) == ".uix") {
    if (!pendo::platform::FileExists(path)) {
      Refuse("セットアップ情報が見つかりません。手動で削除もしくは移動された可能性があります。");
      return 0;
    }
    app.CreateForm<pendo::Tuninstallationform>();
  } else {
    if (!pendo::platform::FileExists(pendo::GetProgramFolder() + pendo::GetProgramBaseName() + ".inx")) {
      Refuse("このプログラムは単独起動できません。");
      return 0;
    }
    app.CreateForm<pendo::Tinstallationform>();
  }
  app.Run();
  app.DestroyForms();
  return 0;
}
