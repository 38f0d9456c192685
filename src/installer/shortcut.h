#pragma once

#include <string>

namespace pendo {

// Saves a shell link to target at shortcut (".lnk" appended unless it ends
// so, in any case), working in the target's folder, with the description
// "Quorvane's Application". True when the file was saved.
bool CreateShortcut(const std::string& target, const std::string& shortcut);

// The target path a shell link file holds, as stored; empty when the file is
// no shell link that can be read.
std::string ShortcutTarget(const std::string& shortcut);

}  // namespace pendo
