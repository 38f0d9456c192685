// Listing, emptying and creating folders. Failures are not reported: a file
// that cannot be deleted stays, a folder that cannot be created is missing.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pendo {

using tpathlist = std::vector<std::string>;

// Every file directly in folder (hidden, system and read-only ones too), as
// folder "\" name, in the order the file system reports them.
void ListFolderFiles(const std::string& folder, tpathlist& list);
// Every folder below folder, breadth-first. A folder with a further
// attribute (read-only, hidden, system, archive) or a link to elsewhere is
// neither listed nor entered.
void ListSubfolders(const std::string& folder, tpathlist& list);
// each, when given, hears of every file: its path and 0 when it went, else
// the system's error code.
void DeleteFolderFiles(const std::string& folder,
                       const std::function<void(const std::string& path, unsigned long error)>& each = nullptr);
// Creates folder and every missing folder above it.
void CreateFolderPath(const std::string& folder);

bool FolderExists(const std::string& folder);

}  // namespace pendo
