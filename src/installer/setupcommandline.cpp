#include "installer/setupcommandline.h"

#include "installer/scriptformat.h"

namespace pendo {

const char kSetupUsage[] =
    "使い方: mondax.exe [/silent] [/dir=\"フォルダ\"] [/sendto=\"タイトル\" | /nosendto] [/log=\"ファイル\"]"
    " | mondax.exe \"フォルダ\\mondax.uix\" [/silent] [/removesettings] [/log=\"ファイル\"]";

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

namespace {

struct toption {
  std::string name, value;
  bool hasValue;
};

bool IsOption(const std::string& p) { return !p.empty() && (p[0] == '/' || p[0] == '-'); }

toption SplitOption(const std::string& p) {
  const auto equals = p.find('=');
  return toption{Lower(p.substr(1, equals == std::string::npos ? std::string::npos : equals - 1)),
                 equals == std::string::npos ? std::string() : p.substr(equals + 1), equals != std::string::npos};
}

bool IsKnownOption(const std::string& p) {
  if (!IsOption(p)) return false;
  const std::string name = SplitOption(p).name;
  for (const char* known : {"silent", "dir", "sendto", "nosendto", "removesettings", "log"}) {
    if (name == known) return true;
  }
  return false;
}

// The parameters that make the uninstall script's path: from the first one
// that is no known option to the last one ending in ".uix" after which only
// options follow. Empty when there is no such path.
std::pair<std::size_t, std::size_t> ScriptPathSpan(const std::vector<std::string>& parameters) {
  std::size_t first = 1;
  while (first < parameters.size() && IsKnownOption(parameters[first])) ++first;
  if (first >= parameters.size() || IsOption(parameters[first])) return {0, 0};
  for (std::size_t last = parameters.size(); last-- > first;) {
    if (!IsKnownOption(parameters[last]) && ExtensionOf(parameters[last]) == ".uix") return {first, last + 1};
    if (!IsOption(parameters[last])) break;
  }
  return {0, 0};
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
  const auto span = ScriptPathSpan(parameters);
  for (std::size_t i = 1; i < parameters.size(); ++i) {
    const std::string& p = parameters[i];
    if ((i >= span.first && i < span.second) || !IsOption(p)) {
      pathParts.push_back(p);
      continue;
    }
    const toption o = SplitOption(p);
    auto once = [&](bool& seen) {
      if (seen) refuse("同じオプションが二度指定されています: " + p);
      seen = true;
    };
    const bool switchOnly = o.name == "silent" || o.name == "nosendto" || o.name == "removesettings";
    if (switchOnly && o.hasValue) {
      refuse("このオプションには値を指定できません: " + p);
    } else if (!switchOnly && (o.name == "dir" || o.name == "sendto" || o.name == "log") &&
               (!o.hasValue || o.value.empty())) {
      refuse("このオプションには値が必要です: " + p);
    } else if (o.name == "silent") {
      once(line.silent);
    } else if (o.name == "dir") {
      once(line.hasFolder);
      line.folder = o.value;
    } else if (o.name == "sendto" || o.name == "nosendto") {
      once(line.hasSendTo);
      line.sendTo = o.value;
    } else if (o.name == "removesettings") {
      once(line.removeSettings);
    } else if (o.name == "log") {
      once(hasLog);
      line.log = o.value;
    } else {
      refuse("不明なオプションです: " + p);
    }
  }
  line.path = JoinParameters(pathParts);
  line.remove = ExtensionOf(line.path) == ".uix";
  // Without /silent any other text starts the setup wizard, as it always did.
  if (line.silent && !line.path.empty() && !line.remove)
    refuse("オプションでもアンインストール情報でもありません: " + line.path);
  if (line.remove && (line.hasFolder || line.hasSendTo))
    refuse("/dir、/sendto、/nosendto はインストールの時だけ指定できます");
  if (!line.remove && line.removeSettings) refuse("/removesettings はアンインストールの時だけ指定できます");
  if (!line.silent && (line.hasFolder || line.hasSendTo)) refuse("/dir、/sendto、/nosendto には /silent が必要です");
  return line;
}

}  // namespace pendo
