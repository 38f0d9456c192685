// Reading files another program may hold, and the temporary files of
// atomic writes that were cut short.
#pragma once

#include <string>

namespace pendo {

enum class tfileread { Read, Missing, Unreadable };

// Reads a whole file. One that exists but cannot be read (another program
// holds it without sharing, or is rewriting it) is tried again a few times
// a moment apart before it counts as unreadable; a missing one is not waited for.
tfileread ReadFilePatiently(const std::string& path, std::string& bytes);

// Where WriteFileAtomically of the process pid writes before it renames:
// "<path>.<pid>.tmp".
std::string TemporaryPathFor(const std::string& path, unsigned long pid);

// The process id in the name of a temporary file of the file baseName, or
// false when name is no such file.
bool TemporaryOwner(const std::string& name, const std::string& baseName, unsigned long& pid);

// Removes the temporary files of path whose processes no longer run (a save
// killed midway leaves one behind); those of running processes stay.
void RemoveLeftoverTemporaries(const std::string& path);

}  // namespace pendo
