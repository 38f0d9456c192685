// One removal of an installed product from its installation record (or,
// for an installation made before there were records, from its uninstall
// script's file list): the files it installed and the user has not changed
// since, the folders it created once they are empty, its Start-menu
// shortcuts, the file verbs it replaced, the per-user key and its uninstall
// entry; last, its uninstall script and record. What it did not install
// stays, and so do the product's settings unless the user asks for them.
#pragma once

#include <string>
#include <vector>

#include "installer/installrecord.h"
#include "installer/scriptfile.h"
#include "installer/setupcommandline.h"
#include "installer/setupprogress.h"

namespace pendo {

class tremovalrun : public tsetupprogress {
 public:
  enum class tresult {
    Done,            // what stays is the user's (FoldersLeft() says where)
    FolderUnfit,     // a root, a system folder, a link, not the product's own (Fault() says why): nothing removed
    ProductRunning,  // Fault() names the program or file; nothing removed
    Incomplete,      // files of the product stayed: the uninstall script, record and entry stay too
    Busy,            // another installation or removal runs; nothing removed
  };

  // folder: the installation folder, with or without its trailing '\'.
  // removeSettings: the files the product wrote beside itself go too.
  explicit tremovalrun(std::string folder, bool removeSettings = false)
      : folder_(std::move(folder)), removeSettings_(removeSettings) {}

  tresult Run();

  const std::string& Fault() const { return fault_; }
  // One line per folder that stays, with what stays in it.
  const std::vector<std::string>& FoldersLeft() const { return foldersLeft_; }
  // The message the wizard shows for FolderUnfit, ProductRunning and Busy.
  std::string Message(tresult result) const;
  static tsetupexit ExitCodeOf(tresult result);

 private:
  // Deletes a settings file, or a settings folder with all it holds; links
  // are not followed.
  void DeleteSettings(const std::string& path);
  // Puts back the verb commands the installation replaced, and takes away
  // the verb keys it made, where they still lead into the folder.
  void RestoreVerbs(const ScriptFile& uninstallScript, const std::string& prefix);
  void RemoveShortcuts(const std::vector<std::string>& links, const std::string& prefix);
  // Tells every file that stays below the folder, and why.
  void TellWhatStays(const std::string& folder, const std::string& prefix);

  std::string folder_, fault_;
  bool removeSettings_;
  std::vector<std::string> foldersLeft_;
  std::vector<std::pair<std::string, std::string>> kept_;  // path, why
};

// True when the uninstall script in folder names files the product writes
// at run time: the wizard then offers to remove them too.
bool NamesSettings(const std::string& folder);

// The product whose uninstall entry starts the removal of an uninstall
// script in the folder of scriptPath, when that entry's own script and the
// record beside it are gone (the user deleted the folder): such an entry can
// only be taken off the list. Empty when there is none, and when the
// entry's script is there (a mistyped name was given).
std::string FindUninstallEntryFor(const std::string& scriptPath);
// The question the wizard adds to the missing-script message.
extern const char kRemoveEntryQuestion[];
// Deletes the product's uninstall entry; false when it is still there.
bool RemoveUninstallEntry(const std::string& product);

}  // namespace pendo
