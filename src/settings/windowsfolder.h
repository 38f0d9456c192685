#pragma once

#include <string>

namespace pendo {

// The Windows directory with a trailing '\'.
std::string GetWindowsFolder();

}  // namespace pendo
