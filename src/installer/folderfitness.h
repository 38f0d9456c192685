// Whether a folder may take an installation or be emptied by a removal, asked
// of the system: what the folder really is (its canonical form), whether it
// leads through a link or onto the network, and what it holds. The setup
// wizard's folder page, the run without a window, the installation and the
// removal all ask here.
#pragma once

#include <string>
#include <vector>

#include "installer/installsafety.h"

namespace pendo {

// The facts JudgeFolder weighs. The canonical form is the full path with
// long names and a substituted drive replaced by the folder it stands for;
// it stays empty when the system cannot name the folder in the ANSI code page.
tfolderfacts ExamineFolder(const std::string& folder);

// Whether the uninstall entry and the installation register of the product
// installed there name the folder (facts.registered, facts.entered).
void AddOwnership(tfolderfacts& facts);

// Canonical form alone, for comparing two folders; the text itself when
// there is none.
std::string CanonicalFolder(const std::string& folder);

// GetProtectedFolders in canonical form, asked of the system once per
// process; the Windows folder protects its whole tree.
tprotectedfolders GetCanonicalProtectedFolders();

// Empty when folder may take an installation of product: it does not exist,
// is empty, or holds an installation of product. inside: paths below the
// folder that the installation writes, deletes or renames; none of their
// existing folders (nor the files themselves) may be a link. Otherwise the
// reason, for the message and the log.
std::string InstallationFolderFault(const std::string& folder, const std::string& product,
                                    const std::vector<std::string>& inside = {});

// Empty when the installation in folder may be removed: fit as above,
// holding its uninstall script or record, and that product's own (its
// uninstall entry and the register name the folder). Otherwise the reason.
std::string RemovalFolderFault(const std::string& folder);

// What the wizards and the run without a window say about an unfit folder.
std::string InstallationFolderMessage(const std::string& fault);
// The folder edit of an earlier installation whose folder is now unfit.
std::string RegisteredFolderMessage(const std::string& fault);

inline bool IsFolderFitForRemoval(const std::string& folder) { return RemovalFolderFault(folder).empty(); }

}  // namespace pendo
