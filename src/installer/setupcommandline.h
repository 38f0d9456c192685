// Mondax's command line: the joined parameters name an uninstall script (or
// nothing, to install), and options ask for a run without a window and a
// log. Pure text: the entry passes the raw command line of the process.
#pragma once

#include <string>
#include <vector>

namespace pendo {

// What a run of Mondax ends with, for scripts that start it.
enum class tsetupexit : int {
  Done = 0,
  BadCommandLine = 1,
  Refused = 2,         // nothing written: unfit script, folder or title, missing archive, no room
  ProductRunning = 3,  // a program of the product is running; nothing written or deleted
  Failed = 4,          // stopped during the run: rolled back, or left removable
  Cancelled = 5,
};

struct tsetupcommandline {
  bool valid = true;
  std::string error;  // why the command line is refused
  bool silent = false;
  bool remove = false;  // path names an uninstall script (".uix")
  std::string path;     // the parameters that are no options, joined with blanks
  bool hasFolder = false;
  std::string folder;
  bool hasSendTo = false;  // /sendto or /nosendto given
  std::string sendTo;      // empty with /nosendto
  bool removeSettings = false;  // /removesettings: a removal takes the product's settings too
  std::string log;         // empty: no log
};

// Splits the process's command line (program name first) at blanks outside
// double quotes, dropping the quotes. A backslash is an ordinary character:
// paths end in one ("C:\Pendo\"), and no path holds a quote.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// A parameter that starts with '/' or '-' is an option, in any case:
// /silent, /dir=FOLDER, /sendto=TITLE, /nosendto, /removesettings,
// /log=FILE. The others are joined with single blanks into the path, as an
// unquoted path with blanks arrives split at them; such a path of an
// uninstall script may hold parts that look like options ("C:\Pendo -
// Clock\mondax.uix"): everything up to the last parameter ending in ".uix"
// that only options follow is the path. parameters[0] is the program and is
// skipped. The refusals are the user's text.
tsetupcommandline ParseSetupCommandLine(const std::vector<std::string>& parameters);

// One line for the log or standard error when the command line is refused.
extern const char kSetupUsage[];

}  // namespace pendo
