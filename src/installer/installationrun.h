// One installation of the product that the setup script beside the installer
// describes: archive files, clean-up, uninstall script, SendTo entry, file
// verbs, Start-menu shortcuts, installation register and uninstall entry.
// The wizard shows the progress and lets the message loop run in between.
#pragma once

#include <functional>
#include <string>

namespace pendo {

class tinstallationrun {
 public:
  enum class tbar { Files, Shortcuts, UninstallInformation };
  enum class tresult {
    Done,
    ScriptUnfit,   // the script would write outside its folders; nothing written
    FolderUnfit,   // a root or system folder was chosen; nothing written
    TitleUnfit,    // the SendTo title leaves the SendTo folder; nothing written
    ArchiveMissing,
    CopyFailed,    // files written before stay
  };

  // setupFolder holds "mondax.inx" and the archive; installer is the program
  // file copied into the Windows folder for the uninstall entry.
  tinstallationrun(std::string setupFolder, std::string installer);

  // Runs once; registry and register write errors are thrown.
  tresult Run(const std::string& folderText, const std::string& sendToTitle);

  // The offending script entry after ScriptUnfit.
  const std::string& Fault() const { return fault_; }

  std::function<void(tbar bar, int position, int max)> OnProgress;
  // Called after every file, verb and shortcut so the window can repaint.
  std::function<void()> OnYield;

 private:
  void Progress(tbar bar, int position, int max);
  void LetWindowWork();

  std::string setupFolder_, installer_, fault_;
};

}  // namespace pendo
