// One installation of the product that the setup script beside the installer
// describes: uninstall script, uninstall entry, installation register and
// installer copy first, so that a run stopped anywhere can be removed; then
// archive files, clean-up, SendTo entry, file verbs and Start-menu shortcuts.
// The wizard shows the progress and lets the message loop run in between;
// the run without a window drives it alike.
#pragma once

#include <string>
#include <vector>

#include "installer/setupcommandline.h"
#include "installer/setupprogress.h"

namespace pendo {

class tinstallationrun : public tsetupprogress {
 public:
  enum class tresult {
    Done,
    ScriptUnfit,     // the script would write outside its folders; nothing written
    FolderUnfit,     // not an empty, new or own folder (Fault() says why); nothing written
    TitleUnfit,      // the SendTo title leaves the SendTo folder; nothing written
    ArchiveMissing,
    ArchiveUnfit,    // its length or checksum is not the script's; nothing written
    NoRoom,          // the drive cannot take the files; nothing written
    ProductRunning,  // Fault() names the program or file; nothing written
    CopyFailed,      // the run was taken back: added files removed, replaced ones restored
  };

  // setupFolder holds "mondax.inx" and the archive; installer is the program
  // file copied into the Windows folder for the uninstall entry.
  tinstallationrun(std::string setupFolder, std::string installer);

  // Runs once; registry and register write errors are thrown.
  tresult Run(const std::string& folderText, const std::string& sendToTitle);

  // The offending script entry after ScriptUnfit, why after FolderUnfit,
  // what runs after ProductRunning, the file after CopyFailed.
  const std::string& Fault() const { return fault_; }
  // Shortcuts not written because a file of that name points elsewhere.
  const std::vector<std::string>& Skipped() const { return skipped_; }

  // The message the wizard shows for a result other than Done.
  std::string Message(tresult result) const;
  static tsetupexit ExitCodeOf(tresult result);

 private:
  std::string setupFolder_, installer_, fault_;
  std::vector<std::string> skipped_;
};

// What the user is told of a shortcut that was not written because a file of
// that name leads elsewhere.
std::string SkippedShortcutMessage(const std::string& link);

// The folder the setup wizard proposes: the registered folder of an earlier
// installation, else the program files folder and the product's name.
std::string ProposedInstallationFolder(const std::string& productName);
// True when an installation lives in folder (its uninstall script is there):
// the wizard then keeps the folder.
bool IsInstalledIn(const std::string& folder);

}  // namespace pendo
