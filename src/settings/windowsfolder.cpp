#include "settings/windowsfolder.h"

#include <windows.h>

namespace pendo {

std::string GetWindowsFolder() {
  char buf[260];
  const UINT n = GetWindowsDirectoryA(buf, sizeof buf);
  std::string folder(buf, n < sizeof buf ? n : 0);
  return folder + "\\";
}

}  // namespace pendo
