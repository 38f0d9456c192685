#include "settings/windowsfolder.h"

#include <windows.h>

#include "settings/widetext.h"

namespace pendo {

std::string GetWindowsFolder() {
  wchar_t buf[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(buf, MAX_PATH);
  return Narrow(std::wstring_view(buf, n < MAX_PATH ? n : 0)) + "\\";
}

}  // namespace pendo
