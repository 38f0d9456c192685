// One removal of an installed product, from its uninstall script: every file
// and folder below the installation folder, the per-user key, the Start-menu
// shortcuts and the uninstall entry. Each step is told to OnLog.
#pragma once

#include <functional>
#include <string>

#include "installer/setupcommandline.h"

namespace pendo {

class tremovalrun {
 public:
  enum class tbar { Files, Shortcuts, Information };
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

  std::function<void(tbar bar, int position, int max)> OnProgress;
  std::function<void(const std::string& line)> OnLog;

 private:
  void Progress(tbar bar, int position, int max);
  void Log(const std::string& line);
  void DeleteFiles(const std::string& folder);

  std::string folder_, fault_;
};

}  // namespace pendo
