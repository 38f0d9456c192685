// What assistive technology reads of a window the program draws itself: its
// name and value, and its role, handed to the system in UTF-16 whatever the
// system's code page. Everything else (place, state, parent) is the
// system's own account of the window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace pendo {

struct taccessibletexts {
  std::function<std::string()> name;   // empty function: the system's
  std::function<std::string()> value;  // likewise
  long role = 0;                       // a ROLE_SYSTEM_ value; 0: the system's
};

// The answer to WM_GETOBJECT for the client object of window: an object
// that reads texts anew on every question. 0 for any other object.
LRESULT AnswerGetObject(HWND window, WPARAM wp, LPARAM lp, const taccessibletexts& texts);

// Tells the listeners that the window's name and value changed; event: an
// EVENT_ value of its own (EVENT_SYSTEM_ALERT for a window that opens to
// tell something), else the name and value changes.
void TellAccessibleChange(HWND window, DWORD event = 0);

}  // namespace pendo
