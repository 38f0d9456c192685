// Pendo's entry: one copy per executable name, the main window, the loop.
#include <windows.h>

#include "app/_mainform.h"
#include "app/pendoclasses.h"
#include "framework/application.h"
#include "framework/startuptrace.h"
#include "framework/windowtext.h"
#include "settings/instancelock.h"
#include "settings/platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  pendo::TraceStartup("WinMain");
  // Profiles and sounds are found from the program's folder: with a name
  // that cannot be written in the programs' code page they would be lost.
  if (!pendo::platform::ExecutablePathExact()) {
    pendo::ShowMessage(nullptr,
                       "Pendo を置いたフォルダーの名前に、Pendo が扱えない文字が含まれています。\n"
                       "そのような文字のないフォルダーに移してから起動してください。",
                       "Pendo", MB_OK | MB_ICONSTOP);
    return 1;
  }
  pendo::RegisterPendoClasses();
  pendo::TraceStartup("classes registered");
  // A second copy leaves silently; the running one is not disturbed.
  if (pendo::IsAlreadyRunning()) return 0;
  pendo::tkernelhandle lock = pendo::CreateInstanceMutex();
  pendo::TraceStartup("instance lock made");
  pendo::tapplication app(instance);
  app.SetTitle("Pendo");
  app.SetShowMainForm(false);
  pendo::TraceStartup("application made");
  auto* mainform = app.CreateMainForm<pendo::Tmainform>();
  pendo::TraceStartup("main form made");
  mainform->ShowAtStartup();
  pendo::TraceStartup("shown at start-up");
  app.Run();
  // Every profile is written before a new copy may start and read them.
  app.DestroyForms();
  pendo::ReleaseInstanceMutex(lock);
  return 0;
}
