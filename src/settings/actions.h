// Starting a program and playing sounds.
#pragma once

#include <string>

namespace pendo {

// Starts command as WinExec would, but returns at once instead of waiting
// for the program to take input; true when it started.
bool RunProgram(const std::string& command);

// Starts the program file at path, with no arguments, the whole path taken
// as its name: unquoted, "C:\Program Files\App\app.exe" would first run
// C:\Program.exe when that exists. True when it started.
bool RunProgramFile(const std::string& path);

// Plays a wave file to its end; false, playing nothing, for a file that is
// not a sound the system can play (CheckWaveFile) or cannot be read.
bool PlayWaveFile(const std::string& path);

// "beep" sounds the default beep; otherwise each existing file of a "+" list
// is played synchronously in order (PlayWaveFile). True when the last one
// played; false when none of the files exists.
bool PlaySoundList(const std::string& sound);

}  // namespace pendo
