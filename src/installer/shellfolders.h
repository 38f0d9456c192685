// The shell's special folders as the installer finds them, each with a
// trailing '\' ("\" alone when the system does not name it).
#pragma once

#include <string>
#include <vector>

namespace pendo {

std::string GetProgramFilesFolder();
std::string GetSendToFolder();
std::string GetProgramsFolder();
// The Start-menu Programs folder of all users: an installation is for the
// whole machine, and an administrator who elevates a standard user's run
// would otherwise get the shortcuts in the administrator's own menu. The
// user's Programs folder when the system names no common one.
std::string GetCommonProgramsFolder();

// Folders an installation must never use nor a removal empty, nor any
// folder holding one of them (folderfitness.h):
// the Windows and system folders, the program files folders, the user's
// profile, desktop, documents, application data and start menu.
std::vector<std::string> GetProtectedFolders();

}  // namespace pendo
