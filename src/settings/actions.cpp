#include "settings/actions.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <vector>

#include "settings/platform.h"
#include "settings/systemlibrary.h"
#include "settings/textfields.h"
#include "settings/uniquehandle.h"
#include "settings/wavefile.h"
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
  // Not waited for: a program slow to take input would hold up the clock.
  const tkernelhandle thread(process.hThread), child(process.hProcess);
  return true;
}

bool RunProgramFile(const std::string& path) {
  // A file name cannot hold a quote, so the quotes cannot be broken out of.
  if (path.find('"') != std::string::npos) return false;
  return RunProgram("\"" + path + "\"");
}

bool PlayWaveFile(const std::string& path) {
  // Played from memory: the system's wave file reader may take the name
  // through its own code page (Wine's does), which need not hold it.
  std::string bytes;
  if (!platform::ReadFileBytes(path, bytes, kMaxWaveFileBytes)) return false;
  const twavesound sound = CheckWaveFile(bytes);
  if (sound.fault != twavefault::None) return false;
  std::vector<DWORD> format((sound.format.size() + sizeof(DWORD) - 1) / sizeof(DWORD));
  std::memcpy(format.data(), sound.format.data(), sound.format.size());
  static const auto query = SystemFunction<decltype(&waveOutOpen)>(L"winmm.dll", "waveOutOpen");
  static const auto play = SystemFunction<decltype(&sndPlaySoundW)>(L"winmm.dll", "sndPlaySoundW");
  if (!query || !play) return false;
  if (query(nullptr, WAVE_MAPPER, reinterpret_cast<const WAVEFORMATEX*>(format.data()), 0, 0, WAVE_FORMAT_QUERY) !=
      MMSYSERR_NOERROR)
    return false;
  return play(reinterpret_cast<LPCWSTR>(sound.image.data()), SND_MEMORY | SND_NOSTOP) != FALSE;
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
    if (platform::FileExists(files[i])) result = PlayWaveFile(files[i]);
  }
  return result;
}

}  // namespace pendo
