// Starting a program and playing sounds.
#pragma once

#include <string>

namespace pendo {

// Starts command with WinExec; true when it started.
bool RunProgram(const std::string& command);

// "beep" sounds the default beep; otherwise each existing file of a "+" list
// is played synchronously in order. True when the last played one succeeded;
// false when none of the files exists.
bool PlaySoundList(const std::string& sound);

}  // namespace pendo
