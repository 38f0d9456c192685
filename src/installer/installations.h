// Where the system says products are installed: the uninstall entries (of
// every product, in both registry views) and Mondax's installation
// register. A folder is a product's own only where both of that product's
// traces name it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pendo {

// The folder of product's uninstall script as its uninstall entry starts it
// (else the entry's "InstallLocation"), canonical; empty when there is none.
std::string EntryFolderOf(const std::string& product);
// The register's "InstallationDirectory" of product, canonical; empty when none.
std::string RegisteredFolderOf(const std::string& product);

// Product name and canonical folder of every uninstall entry, of every
// product. Entries that name no folder, a drive's root or a protected
// folder say nothing about a place and are left out.
std::vector<std::pair<std::string, std::string>> KnownInstallations();

}  // namespace pendo
