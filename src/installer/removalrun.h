// One removal of an installed product, from its uninstall script: every file
// and folder below the installation folder, the per-user key, the Start-menu
// shortcuts, the file verbs it replaced, the uninstall entry and, last, the
// uninstall script.
#pragma once

#include <string>

#include "installer/scriptfile.h"
#include "installer/setupcommandline.h"
#include "installer/setupprogress.h"

namespace pendo {

class tremovalrun : public tsetupprogress {
 public:
  enum class tresult {
    Done,
    FolderUnfit,     // a root, a system folder, a link or no "mondax.uix" (Fault() says why): nothing removed
    ProductRunning,  // Fault() names the program or file; nothing removed
    Incomplete,      // files of the product stayed: the uninstall script and entry stay too
  };

  // folder: the installation folder, with or without its trailing '\'.
  explicit tremovalrun(std::string folder) : folder_(std::move(folder)) {}

  tresult Run();

  const std::string& Fault() const { return fault_; }
  // The message the wizard shows for FolderUnfit and ProductRunning.
  std::string Message(tresult result) const;
  static tsetupexit ExitCodeOf(tresult result);

 private:
  // Every file of folder but keep.
  void DeleteFiles(const std::string& folder, const std::string& keep);
  // Puts back the verb commands the installation replaced, and takes away
  // the verb keys it made, where they still lead into the folder.
  void RestoreVerbs(const ScriptFile& uninstallScript, const std::string& prefix);

  std::string folder_, fault_;
};

// The product whose uninstall entry starts the removal of scriptPath (the
// uninstall script's path as the command line names it); empty when none.
// Such an entry outlives its folder when the user deleted the folder.
std::string FindUninstallEntryFor(const std::string& scriptPath);
// The question the wizard adds to the missing-script message.
extern const char kRemoveEntryQuestion[];
// Deletes the product's uninstall entry; false when it is still there.
bool RemoveUninstallEntry(const std::string& product);

}  // namespace pendo
