// Functions of system libraries the programs need only now and then (the
// common controls and dialogs, the tray, sounds, session events,
// accessibility): resolved on first use, so that a start loads none of them.
#pragma once

namespace pendo {

// The function, or nullptr when the library or the function is missing.
// Libraries come from the system folder only, never from the program's
// folder or the current one, and stay loaded.
void* SystemProcedure(const wchar_t* library, const char* name);

template <class F>
F SystemFunction(const wchar_t* library, const char* name) {
  return reinterpret_cast<F>(SystemProcedure(library, name));
}

}  // namespace pendo
