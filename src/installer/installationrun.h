// One installation of the product that the setup script beside the installer
// describes. Each thing it makes is written into the installation record
// before it is made; the installation register, uninstall entry, uninstall
// script and installer copy come first, so that a run stopped anywhere can
// be removed; then archive files, clean-up, SendTo entry, file verbs and
// Start-menu shortcuts.
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
    Busy,            // another installation or removal runs; nothing written
  };

  // setupFolder holds "mondax.inx" and the archive; installer is the program
  // file copied into the Windows folder for the uninstall entry.
  tinstallationrun(std::string setupFolder, std::string installer);

  // Runs once; registry and register write errors are thrown.
  tresult Run(const std::string& folderText, const std::string& sendToTitle);

  // The offending script entry after ScriptUnfit, why after FolderUnfit,
  // what runs after ProductRunning, the file after CopyFailed.
  const std::string& Fault() const { return fault_; }
  // Why shortcuts were not written (a file of that name leads elsewhere, a
  // shell folder the system cannot name): one message each.
  const std::vector<std::string>& Skipped() const { return skipped_; }

  // The message the wizard shows for a result other than Done.
  std::string Message(tresult result) const;
  static tsetupexit ExitCodeOf(tresult result);

 private:
  std::string setupFolder_, installer_, fault_;
  std::vector<std::string> skipped_;
};

// What the user and the log are told when another run holds the lock.
extern const char kBusyMessage[];

// The folder the setup wizard proposes: the registered folder of an earlier
// installation, else the program files folder and the product's name.
std::string ProposedInstallationFolder(const std::string& productName);
// True when an installation lives in folder (its uninstall script is there):
// the wizard then keeps the folder.
bool IsInstalledIn(const std::string& folder);

}  // namespace pendo
