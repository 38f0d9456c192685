#include "installer/commandline.h"

#include <windows.h>

#include "framework/application.h"
#include "installer/scriptformat.h"

namespace pendo {

tsetupcommandline GetSetupCommandLine() { return ParseSetupCommandLine(SplitCommandLine(GetCommandLineA())); }

std::string GetCommandLineText() { return GetSetupCommandLine().path; }

void ProcessPendingMessages() {
  if (Application) {
    Application->ProcessMessages();
    return;
  }
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace pendo
