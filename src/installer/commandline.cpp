#include "installer/commandline.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "framework/application.h"
#include "installer/scriptformat.h"

namespace pendo {

std::string GetCommandLineText() {
  std::vector<std::string> parameters;
  for (int i = 1; i < __argc; ++i) parameters.emplace_back(__argv[i]);
  return JoinParameters(parameters);
}

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
