#include "settings/actions.h"

#include <windows.h>
#include <mmsystem.h>

#include "settings/platform.h"
#include "settings/textfields.h"

namespace pendo {

bool RunProgram(const std::string& command) {
  return WinExec(command.c_str(), SW_SHOWDEFAULT) >= 31;
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
    if (!platform::FileExists(files[i])) continue;
    result = sndPlaySoundA(files[i].c_str(), SND_NOSTOP) != FALSE;
  }
  return result;
}

}  // namespace pendo
