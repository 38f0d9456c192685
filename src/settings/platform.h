// The few things the platform-free core needs from the operating system.
// platform_win32.cpp serves the programs; platform_host.cpp serves the
// native tests and fuzzers only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pendo::platform {

// Separator of folders in paths built by the core.
extern const char kPathDelimiter;

// True when c starts a double-byte character of code page 932, the
// programs' own, whatever the system's code page is.
bool IsLeadByte(unsigned char c);

// The system's lower-casing of a code page 932 text; its length stays.
std::string LowerText(const std::string& text);

// Full path of the running executable.
std::string ExecutablePath();
// False when that path holds a character code page 932 cannot hold: every
// path built from it would then lead elsewhere.
bool ExecutablePathExact();

struct tlocaltime {
  int year, month, day;  // month 1..12, day 1..31
  int dayOfWeek;         // 0 = Sunday .. 6 = Saturday
  int hour, minute, second;
};
// The local clock.
tlocaltime Now();
// Moves the moment Now reads by seconds, converted to local time as the
// system converts the present, so that a test reaches a given local time in
// the process's time zone; the programs never call it.
void ShiftClock(long long seconds);

bool FileExists(const std::string& path);

// Reads a whole file; false when it cannot be opened or read, or when it
// holds more than maxBytes (then without reading it).
bool ReadFileBytes(const std::string& path, std::string& bytes, std::size_t maxBytes = SIZE_MAX);

// Replaces path with bytes so that readers see either the old file or the
// new one, never a part: a temporary file beside it is written, flushed and
// then renamed over it. Throws EFileError when any step fails; the old file
// is then left as it was. Temporary files of path that killed processes
// left are removed first (they may be what fills the disk).
void WriteFileAtomically(const std::string& path, const std::string& bytes);

// Creates folder and any missing parents; true when it exists afterwards.
bool CreateFolderTree(const std::string& folder);

// Names (without the folder) of the files in folder, which ends with a
// separator, whose names begin with prefix.
std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix);

// Deletes a file; a failure is ignored (it may be gone already).
void RemoveFile(const std::string& path);

unsigned long CurrentProcessId();
// True while a process with that id exists (also one this process may not
// look into).
bool ProcessRunning(unsigned long pid);

// Waits ms milliseconds.
void Pause(int ms);
// Orders two texts as the user's locale does, ignoring case: negative, 0 or
// positive. Texts are compared whole, NUL bytes included.
int CompareTextIgnoringCase(const std::string& a, const std::string& b);

}  // namespace pendo::platform
