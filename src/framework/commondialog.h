// The system's common dialogs (file, font, colour), their library loaded
// when the first one opens.
#pragma once

#include <windows.h>

namespace pendo {

namespace commondialog {
void* Function(const char* name, const char* what);  // throws when missing
bool Ended(BOOL chosen, const char* what);           // throws on a failure
}  // namespace commondialog

// Runs the dialog function `name` on its record: true when the user chose,
// false when they cancelled; a dialog that fails throws, naming `what`.
template <class Record>
bool RunCommonDialog(const char* name, Record& record, const char* what) {
  const auto run = reinterpret_cast<BOOL(WINAPI*)(Record*)>(commondialog::Function(name, what));
  return commondialog::Ended(run(&record), what);
}

}  // namespace pendo
