// The one way from the system into the framework's objects: window classes
// are registered here, and every message handler runs under Guard, which
// hands an exception to the application's error hook instead of letting it
// unwind through user32.
#pragma once

#include <windows.h>

#include <exception>

namespace pendo {

// Registers the class once per process (hInstance is filled in); a later
// call with the same name keeps the first. Throws with the system's error.
void RegisterWindowClass(WNDCLASSW wc);

// Reports to the application's error hook (null: not a std::exception).
void ReportException(const std::exception* error);

// Runs handler; when it throws, reports and returns false.
template <class F>
bool Guard(F&& handler) noexcept {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    ReportException(&e);
  } catch (...) {
    ReportException(nullptr);
  }
  return false;
}

}  // namespace pendo
