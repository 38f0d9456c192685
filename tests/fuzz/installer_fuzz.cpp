// Setup script text from outside: every line as an entry and as a path, the
// bytes as a profile file, as an installation record, as a key-name buffer
// and as Mondax's command line.
// Splitting must stay inside its text, and whatever the safety checks accept
// must really stay in its folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "installer/archivecopy.h"
#include "installer/installrecord.h"
#include "installer/installsafety.h"
#include "settings/profiletext.h"
#include "installer/scriptformat.h"
#include "installer/setupcommandline.h"
#include "settings/profilelines.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// No accepted path may start at a root, carry a drive or name a parent.
void CheckContained(const std::string& path) {
  Check(!path.empty() && path[0] != '\\' && path[0] != '/' && path.find(':') == std::string::npos);
  Check(path != ".." && path.rfind("..\\", 0) != 0 && path.rfind("../", 0) != 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto lines = pendo::SplitProfileLines(bytes);
  pendo::tscriptcontent script;
  for (const auto& line : lines) {
    const std::string name = pendo::GetEntryName(line);
    const std::string value = pendo::GetEntryValue(line);
    Check(name.size() + value.size() <= line.size());
    Check(value.find('=') == std::string::npos);
    if (line.find('=') != std::string::npos) Check(line.compare(0, name.size() + 1, name + "=") == 0);
    if (pendo::IsContainedPath(name)) CheckContained(name);
    if (pendo::IsPlainName(line) && line.back() != '.' && line.back() != ' ') Check(pendo::IsContainedPath(line));
    pendo::ParseFlag(value);
    pendo::ParseSize(value);
    std::uint32_t crc = 0;
    if (pendo::ParseChecksum(value, crc))
      Check(value.find_first_not_of(" 0123456789abcdefABCDEF") == std::string::npos);
    if (pendo::IsBelowFolder(line, value)) Check(line.size() > value.size());
    pendo::SplitRelation(line, "C:\\P\\");
    const std::string folder = pendo::StoredFolder(line);
    Check(folder.size() + 1 >= line.size());
    pendo::ExtensionOf(line);
    pendo::tfolderfacts facts;
    facts.typed = line;
    facts.canonical = value;
    facts.exists = facts.hasUninstallScript = true;
    facts.empty = false;
    facts.link = name.empty() ? std::string() : name;
    const auto verdict = pendo::JudgeFolder(facts, {{"C:\\Program Files\\"}, {"C:\\windows"}},
                                            pendo::tfolderuse::Installation, name);
    // A folder passes only when both its texts are absolute drive folders.
    if (verdict == pendo::tfolderverdict::Fit) {
      Check(pendo::CheckFolderName(line) == pendo::tfolderverdict::Fit && facts.link.empty());
      Check(pendo::CheckFolderName(value) == pendo::tfolderverdict::Fit && value.size() > 3);
    }
    pendo::DescribeFolderVerdict(verdict, facts);
    const std::string uninstall = pendo::UninstallScriptOf(line);
    Check(uninstall.empty() || (uninstall.size() < line.size() && pendo::ExtensionOf(uninstall) == ".uix"));
    // Any text survives the record as one field.
    pendo::tinstallrecord one;
    Check(pendo::ParseInstallRecord(pendo::FormatRecordHeader(name, value) +
                                        pendo::FormatRecordEntry({pendo::trecordkind::Value, line, 0, 0, value}),
                                    one));
    Check(one.product == name && one.folder == value && (line.empty() || (one.entries.size() == 1 &&
                                                                           one.entries[0].path == line &&
                                                                           one.entries[0].name == value)));
    pendo::IsSettingsPath(line, {name, value});
    script.bind.push_back(line);
    script.shortCut.push_back(line);
  }
  // A record read back, written out and read again is the same record.
  pendo::tinstallrecord record;
  if (pendo::ParseInstallRecord(bytes, record)) {
    std::string again = pendo::FormatRecordHeader(record.product, record.folder);
    for (const auto& e : record.entries) again += pendo::FormatRecordEntry(e);
    pendo::tinstallrecord second;
    Check(pendo::ParseInstallRecord(again, second) && second.entries.size() == record.entries.size());
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
      Check(second.entries[i].path == record.entries[i].path && second.entries[i].kind == record.entries[i].kind &&
            second.entries[i].size == record.entries[i].size && second.entries[i].crc == record.entries[i].crc);
    }
    for (const auto& f : pendo::RecordedFiles(record)) Check(!pendo::RecordedPrints(record, f).empty());
  }
  script.applicationName = lines.empty() ? std::string() : lines.front();
  if (pendo::FindScriptFault(script).empty()) {
    for (const auto& e : script.bind) CheckContained(pendo::GetEntryName(e));
  }
  // Every key listed can be read, and an edit reads back as written.
  pendo::tprofiletext text(bytes);
  const std::string section = lines.empty() ? std::string() : lines.front();
  std::string value;
  for (const auto& name : text.KeyNames(section)) Check(text.Read(section, name, value));
  text.Write("Fz", "k", "v 1");
  Check(text.Read("fz", "K", value) && value == "v 1");
  text.RemoveSection("fZ");
  Check(!text.Read("Fz", "k", value));
  pendo::Crc32(bytes.data(), bytes.size());
  const auto entries = pendo::CollectEntries(bytes, [](const std::string& n) { return n.substr(0, 3); });
  for (const auto& e : entries) Check(e.size() <= bytes.size() * 2 + 1);
  const auto parameters = pendo::SplitCommandLine(bytes);
  for (const auto& p : parameters) Check(p.find('"') == std::string::npos && p.size() <= bytes.size());
  const pendo::tsetupcommandline line = pendo::ParseSetupCommandLine(parameters);
  Check(line.valid == line.error.empty());
  // Options meant for the installation never reach a removal or a wizard.
  if (line.valid && (line.hasFolder || line.hasSendTo)) Check(line.silent && !line.remove);
  if (line.valid && line.silent) Check(line.path.empty() || line.remove);
  return 0;
}
