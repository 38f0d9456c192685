// Checks that keep an installation inside its folder and a removal away from
// folders that are not the product's own. Pure functions over text: the
// caller passes what it read from the script and the system's folders.
#pragma once

#include <string>
#include <vector>

#include "installer/scriptformat.h"

namespace pendo {

// A single file or folder name: not empty, no separator, drive or stream
// colon, wildcard or control byte, not a device name, and not a name that
// the file system folds to nothing, "." or ".." (trailing dots and blanks).
bool IsPlainName(const std::string& name);

// A path below some folder: one or more plain names joined by '\' (or '/'),
// so it cannot be absolute, carry a drive, or climb out with "..".
bool IsContainedPath(const std::string& path);

// What the setup wizard needs from the script to check it.
struct SetupScriptContent {
  std::string applicationName;
  EntryList bind, erase, rename, relation, shortCut;
};

// Empty when the script is fit to install; otherwise the first offending
// item, as "section: entry" (or the key), for the message.
std::string FindScriptFault(const SetupScriptContent& script);

enum class RemovalVerdict {
  Fit,
  NotAbsolute,      // relative, or with "." or ".." parts
  DriveRoot,        // "C:\", "\\server\share", "\"
  SystemFolder,     // one of the protected folders, or a folder holding one
  NoUninstallScript,
};

// protectedFolders: the Windows folder, the program files folder, the user's
// profile and desktop and the like, with or without trailing '\'.
RemovalVerdict CheckRemovalFolder(const std::string& folder, const std::vector<std::string>& protectedFolders,
                                  bool hasUninstallScript);

}  // namespace pendo
