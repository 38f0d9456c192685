#include "installer/commandline.h"

#include <windows.h>

#include <algorithm>

#include "installer/scriptformat.h"
#include "settings/widetext.h"

namespace pendo {

tsetupcommandline GetSetupCommandLine() {
  const std::wstring wide = GetCommandLineW();
  std::string text;
  if (NarrowExact(wide, text)) return ParseSetupCommandLine(SplitCommandLine(text));
  // The options still count (/silent, /log); a name that cannot be held is
  // refused rather than taken for another. '?' is in no file name.
  const auto parts = SplitCommandLine(Narrow(wide));
  tsetupcommandline line = ParseSetupCommandLine(parts);
  const auto bad = std::find_if(parts.begin(), parts.end(), [](const std::string& p) { return p.find('?') != p.npos; });
  line.valid = false;
  line.error = "シフトJISで表せない文字を含む名前は使用できません: " + (bad == parts.end() ? Narrow(wide) : *bad);
  return line;
}

std::string GetCommandLineText() { return GetSetupCommandLine().path; }

}  // namespace pendo
