// The running program's name and folder, double-byte safe.
#pragma once

#include <string>

namespace pendo {

// Index just past the last '\' or ':' of path (0 when there is none), stepping
// over double-byte characters so that a trail byte 0x5C is no separator.
std::string::size_type FileNameStart(const std::string& path);

// File name of path without its folder and without its last extension, lower-cased.
std::string BaseNameOf(const std::string& path);

// The executable's base name, lower-cased: Pendo.exe in any folder gives pendo.
std::string GetProgramBaseName();

// The executable's folder, with its trailing separator.
std::string GetProgramFolder();

}  // namespace pendo
