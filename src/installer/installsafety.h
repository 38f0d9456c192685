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
// none ending in a dot or blank, so it cannot be absolute, carry a drive,
// climb out with "..", or name another file than it says.
bool IsContainedPath(const std::string& path);

// What the setup wizard needs from the script to check it.
struct tscriptcontent {
  std::string applicationName;
  tentrylist bind, erase, rename, relation, shortCut, settings;
};

// Empty when the script is fit to install; otherwise the first offending
// item, as "section: entry" (or the key), for the message.
std::string FindScriptFault(const tscriptcontent& script);

enum class tfolderverdict {
  Fit,
  NotAbsolute,        // relative, with "." or ".." parts, or a device path
  TrailingDotOrBlank,  // a name the file system would shorten
  Unresolved,         // a drive the system does not know, or a path it cannot name
  NetworkFolder,      // \\server\share, an administrative share, a network drive
  DriveRoot,          // "C:\", "\"
  SystemFolder,       // one of the protected folders, or a folder holding one
  Link,               // an existing part of the path is a junction or symbolic link
  NotEmpty,           // holds what is no installation of the product
  OtherProduct,       // holds, lies in or holds in turn another installation
  NotOwnInstallation,  // a product's uninstall script that its entry and register do not name here
  NoUninstallScript,  // nothing to remove there
  Unrepresentable,    // a name code page 932 cannot hold
};

// The syntax alone: an absolute folder on a drive letter, made of plain
// names with no trailing dot or blank.
tfolderverdict CheckFolderName(const std::string& folder);

// What the system says about a folder, gathered by the Win32 side.
struct tfolderfacts {
  std::string typed;      // as the user, the command line or the register gave it
  std::string canonical;  // full path, long names, drive letters resolved; empty when it cannot be formed
  bool network = false;   // its drive leads to a network share
  std::string link;       // the first existing part that is a junction or symbolic link
  bool exists = false;
  bool empty = true;
  bool hasUninstallScript = false;
  bool hasRecord = false;        // an installation record of installedProduct
  bool onlyRecord = false;       // the record is all the folder holds: a run stopped right after writing it
  std::string installedProduct;  // "applicationname" of the uninstall script there (or the record's product)
  // Whether the uninstall entry and the installation register of
  // installedProduct name this folder: only then is it that product's own.
  bool registered = false, entered = false;
  // Every installation the system knows of, each product's and folder's
  // canonical form: an installation may be neither inside nor above one.
  std::vector<std::pair<std::string, std::string>> installations;
};

// Canonical folders, with or without a trailing '\\', compared without
// regard to case.
struct tprotectedfolders {
  std::vector<std::string> folders;  // neither these nor a folder holding one
  std::vector<std::string> trees;    // nor anything below these (the Windows folder)
};

enum class tfolderuse { Installation, Removal };

// True for a drive's root, a protected folder or one holding one, and
// anything in or above a protected tree: never to be removed or used.
bool IsProtectedFolder(const std::string& canonical, const tprotectedfolders& protectedFolders);

// Whether the folder may take an installation of product (or, for a
// removal, be emptied).
tfolderverdict JudgeFolder(const tfolderfacts& facts, const tprotectedfolders& protectedFolders, tfolderuse use,
                          const std::string& product);

// The reason for the message and the log; empty for Fit. product: the one
// the folder was judged for.
std::string DescribeFolderVerdict(tfolderverdict verdict, const tfolderfacts& facts,
                                  const std::string& product = std::string());

// The first of facts.installations at, inside or above the folder that is
// not product's own installation in that very folder; null when none.
const std::pair<std::string, std::string>* NearbyInstallation(const tfolderfacts& facts, const std::string& product);

// True when canonical folder a is b or lies below it (or above it, with
// either), compared by their parts without regard to case.
bool IsSameOrBelow(const std::string& a, const std::string& b);
bool IsSameFolder(const std::string& a, const std::string& b);

// Every path below the installation folder the script writes, deletes or
// renames: their folders must not lead elsewhere.
std::vector<std::string> PathsTouched(const tscriptcontent& script);

}  // namespace pendo
