#include "settings/actions.h"

#include <windows.h>
#include <mmsystem.h>

#include "settings/platform.h"
#include "settings/textfields.h"
#include "settings/widetext.h"

namespace pendo {

bool RunProgram(const std::string& command) {
  // What WinExec does, with the command line in UTF-16.
  std::wstring line = Wide(command);
  if (line.empty()) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWDEFAULT;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  WaitForInputIdle(process.hProcess, 30000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool RunProgramFile(const std::string& path) {
  // A file name cannot hold a quote, so the quotes cannot be broken out of.
  if (path.find('"') != std::string::npos) return false;
  return RunProgram("\"" + path + "\"");
}

bool PlaySoundList(const std::string& sound) {
  if (sound == "beep") {
    MessageBeep(0);
    return true;
  }
  ttextslots files;
  const int count = SplitText(sound, '+', files, -1);
  bool result = false;
  for (int i = 0; i < count; ++i) {
    // Played from memory: the system's wave file reader may take the name
    // through its own code page (Wine's does), which need not hold it.
    std::string wave;
    if (!platform::FileExists(files[i]) || !platform::ReadFileBytes(files[i], wave)) continue;
    result = sndPlaySoundW(reinterpret_cast<LPCWSTR>(wave.data()), SND_MEMORY | SND_NOSTOP) != FALSE;
  }
  return result;
}

}  // namespace pendo
