#include "installer/setupcommandline.h"

#include "installer/scriptformat.h"

namespace pendo {

const char kSetupUsage[] =
    "usage: mondax.exe [/silent] [/dir=\"FOLDER\"] [/sendto=\"TITLE\" | /nosendto] [/log=\"FILE\"]"
    " | mondax.exe \"FOLDER\\mondax.uix\" [/silent] [/log=\"FILE\"]";

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  // Blanks and quotes are never trail bytes of code page 932.
  std::vector<std::string> parts;
  std::string part;
  bool quoted = false, any = false;
  for (const char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) parts.push_back(part);
      part.clear();
      any = false;
    } else {
      part += c;
      any = true;
    }
  }
  if (any) parts.push_back(part);
  return parts;
}

namespace {

std::string Lower(const std::string& text) {
  std::string s = text;
  for (auto& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

}  // namespace

tsetupcommandline ParseSetupCommandLine(const std::vector<std::string>& parameters) {
  tsetupcommandline line;
  std::vector<std::string> pathParts;
  bool hasLog = false;
  auto refuse = [&line](const std::string& why) {
    if (line.valid) line.error = why;
    line.valid = false;
  };
  for (std::size_t i = 1; i < parameters.size(); ++i) {
    const std::string& p = parameters[i];
    if (p.empty() || (p[0] != '/' && p[0] != '-')) {
      pathParts.push_back(p);
      continue;
    }
    const auto equals = p.find('=');
    const std::string name = Lower(p.substr(1, equals == std::string::npos ? std::string::npos : equals - 1));
    const bool hasValue = equals != std::string::npos;
    const std::string value = hasValue ? p.substr(equals + 1) : std::string();
    auto once = [&](bool& seen) {
      if (seen) refuse("option given twice: " + p);
      seen = true;
    };
    bool switchOnly = name == "silent" || name == "nosendto";
    if (switchOnly && hasValue) {
      refuse("option takes no value: " + p);
    } else if (!switchOnly && (name == "dir" || name == "sendto" || name == "log") && (!hasValue || value.empty())) {
      refuse("option needs a value: " + p);
    } else if (name == "silent") {
      once(line.silent);
    } else if (name == "dir") {
      once(line.hasFolder);
      line.folder = value;
    } else if (name == "sendto" || name == "nosendto") {
      once(line.hasSendTo);
      line.sendTo = value;
    } else if (name == "log") {
      once(hasLog);
      line.log = value;
    } else {
      refuse("unknown option: " + p);
    }
  }
  line.path = JoinParameters(pathParts);
  line.remove = ExtensionOf(line.path) == ".uix";
  // Without /silent any other text starts the setup wizard, as it always did.
  if (line.silent && !line.path.empty() && !line.remove) refuse("not an option or uninstall script: " + line.path);
  if (line.remove && (line.hasFolder || line.hasSendTo)) refuse("/dir, /sendto and /nosendto only install");
  if (!line.silent && (line.hasFolder || line.hasSendTo)) refuse("/dir, /sendto and /nosendto need /silent");
  return line;
}

}  // namespace pendo
