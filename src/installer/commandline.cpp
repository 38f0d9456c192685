#include "installer/commandline.h"

#include <windows.h>

#include "installer/scriptformat.h"

namespace pendo {

tsetupcommandline GetSetupCommandLine() { return ParseSetupCommandLine(SplitCommandLine(GetCommandLineA())); }

std::string GetCommandLineText() { return GetSetupCommandLine().path; }

}  // namespace pendo
