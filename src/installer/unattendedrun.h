// Mondax without a window: installs or removes as the wizards do, with the
// folder and SendTo title of the command line, telling every step and every
// message a wizard would show to the log, and ending with an exit code.
#pragma once

#include <string>

#include "installer/setupcommandline.h"
#include "installer/setuplog.h"

namespace pendo {

// The message that ends Mondax at its start, before any window: no setup
// script beside the installer, or no uninstall script where the command
// line says. Empty when the run may go on.
std::string StartRefusal(const tsetupcommandline& line);

// Empty when the log may be written where the command line says; otherwise
// why not: it would overwrite a file the run reads (the setup or uninstall
// script, the archive, the installer), or lie in the folder a removal
// empties.
std::string LogPathFault(const tsetupcommandline& line);

class tunattendedrun {
 public:
  tunattendedrun(const tsetupcommandline& line, const tsetuplog& log) : line_(line), log_(log) {}

  tsetupexit Run();

 private:
  tsetupexit Install();
  tsetupexit Remove();
  tsetupexit End(tsetupexit code, const std::string& message = std::string());

  const tsetupcommandline& line_;
  const tsetuplog& log_;
};

}  // namespace pendo
