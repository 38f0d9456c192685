#pragma once

#include <string>

#include "installer/setupcommandline.h"

namespace pendo {

// The process's command line read as Mondax's options and path.
tsetupcommandline GetSetupCommandLine();

// The program's parameters that are no options, joined with single blanks
// (empty without any): the path of an uninstall script.
std::string GetCommandLineText();

}  // namespace pendo
