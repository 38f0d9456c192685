// Window texts between the programs' code page 932 and the system's UTF-16,
// so that they read right whatever the system's own code page is.
#pragma once

#include <windows.h>

#include <string>

#include "settings/widetext.h"

namespace pendo {

std::string GetText(HWND window);
// The same, false (text untouched) when the window's text holds a character
// code page 932 cannot hold.
bool GetTextExact(HWND window, std::string& text);
bool SetText(HWND window, const std::string& text);

// A message box of the programs' texts.
int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT type);

}  // namespace pendo
