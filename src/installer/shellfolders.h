// The shell's special folders as the installer finds them, each with a
// trailing '\' ("\" alone when the system does not name it).
#pragma once

#include <string>
#include <vector>

namespace pendo {

std::string GetProgramFilesFolder();
std::string GetSendToFolder();
std::string GetProgramsFolder();

// Folders a removal must never empty, nor any folder holding one of them:
// the Windows and system folders, the program files folders, the user's
// profile, desktop, documents, application data and start menu.
std::vector<std::string> GetProtectedFolders();

// True when folder may be emptied and removed as an installation folder:
// absolute, no root, no protected folder, and its "mondax.uix" is there.
bool IsFolderFitForRemoval(const std::string& folder);

}  // namespace pendo
