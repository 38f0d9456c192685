// The setup script's text formats: entries of a section, truth values, file
// sizes, the "Bind" list, "Relation" values, the uninstall entry's command
// line and the joined program parameters. No file access here: ScriptFile
// reads the profile text, these functions give it meaning.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pendo {

using tentrylist = std::vector<std::string>;

// A section's key names arrive in one buffer of this size, NUL-separated.
constexpr std::size_t kEntryNameBufferSize = 8192;
// A single value is read with room for this many bytes.
constexpr std::size_t kValueBufferSize = 1024;
// The copy buffer; larger files are copied in pieces of this size.
constexpr std::uint32_t kCopyBufferSize = 1048576;

// Text before the first '=', or empty text when there is none.
std::string GetEntryName(const std::string& entry);
// Text after the last '=', or empty text when there is none.
std::string GetEntryValue(const std::string& entry);

// Builds a section's entries from its key-name buffer (names ending in NUL,
// as the profile functions fill it; whatever follows the last complete name
// is not a name) and each name's value. Names compared without regard to
// ASCII case count once, at their first place; empty values give no entry.
tentrylist CollectEntries(const std::string& nameBuffer, const std::function<std::string(const std::string&)>& valueOf);

// A truth value: a decimal integer, or hexadecimal after "0x", "0X" or "$";
// non-zero is true, anything that is not a number is false.
bool ParseFlag(const std::string& text);

// A file size: a decimal number of bytes; anything else counts as 0.
std::uint32_t ParseSize(const std::string& text);

struct tbinditem {
  std::string name;  // relative to the installation folder
  std::uint32_t size;
};
std::vector<tbinditem> ReadBindList(const tentrylist& entries);
// Sum of the sizes: what the archive must hold.
std::uint64_t BindTotal(const std::vector<tbinditem>& items);
// The uninstall entry's size in KiB, rounded up, at most what a DWORD holds.
std::uint32_t EstimatedSizeKiB(std::uint64_t bytes);

// The archive's optional CRC-32: exactly eight hexadecimal digits, blanks
// around them allowed. False for anything else.
bool ParseChecksum(const std::string& text, std::uint32_t& crc);

// True when path lies below the folder that prefix (ending in '\') names,
// compared without regard to case.
bool IsBelowFolder(const std::string& path, const std::string& prefix);

// The instance locks of the product's programs: the lower-cased base name of
// every ".exe" in the list, once each, as each program names its own lock.
std::vector<std::string> InstanceLockNames(const std::vector<tbinditem>& items);

struct tfileverb {
  std::string extension;  // with its dot
  std::string verb;
  std::string command;    // installation folder prefix followed by the command
};
// The verb is field 0 and the command field 1 of the comma-separated value.
tfileverb SplitRelation(const std::string& entry, const std::string& folderPrefix);

// The installation folder as stored: without one trailing '\'.
std::string StoredFolder(const std::string& folder);
// The prefix every installed path starts with: the folder and one '\'.
std::string FolderPrefix(const std::string& folder);

// The folder part of a path, up to and including its last '\' or ':'.
std::string FolderPartOf(const std::string& path);
// The extension from the last '.' of the file name, lower-cased; empty when none.
std::string ExtensionOf(const std::string& path);

// The uninstall script an uninstall entry's command starts the removal of:
// the second quoted path of the quoted form, or the text after the
// installer's name and a blank of the unquoted one. Empty when the command
// names no ".uix" file.
std::string UninstallScriptOf(const std::string& command);

// Parameters joined with single blanks, as an unquoted path with blanks
// arrives split at them.
std::string JoinParameters(const std::vector<std::string>& parameters);

// The uninstall entry's command: the installer copy in the Windows folder and
// the uninstall script in the installation folder, each quoted so that a path
// with blanks (two in a row included) comes back whole as one parameter.
std::string MakeUninstallString(const std::string& windowsFolder, const std::string& installFolder);

// Names of the installer's files, sections and keys.
namespace script {
constexpr const char* kSetupScript = "mondax.inx";
constexpr const char* kUninstallScript = "mondax.uix";
constexpr const char* kRegister = "mondax.ini";
constexpr const char* kInstaller = "mondax.exe";
constexpr const char* kArchiveExtension = ".bdx";
constexpr const char* kProfile = "profile";
constexpr const char* kApplicationName = "applicationname";
constexpr const char* kBindedFileName = "bindedfilename";
constexpr const char* kBindedFileChecksum = "bindedfilecrc";
constexpr const char* kUninstallationTitle = "uninstallationtitle";
constexpr const char* kEnvironment = "environment";
constexpr const char* kSendTo = "sendto";
constexpr const char* kBind = "Bind";
constexpr const char* kErase = "Erase";
constexpr const char* kRename = "Rename";
constexpr const char* kRelation = "Relation";
constexpr const char* kShortCut = "ShortCut";
// Files and folders the product writes beside itself at run time (its
// settings): kept by a removal unless the user asks for them to go.
constexpr const char* kSettings = "Settings";
// Beside the uninstall script: what the installation created.
constexpr const char* kRecord = "mondax.uir";
// Written into the uninstall script only: each verb key the installation
// changed, with "+" and the command it replaced, or "-" and the key it made.
constexpr const char* kRelationBackup = "RelationBackup";
constexpr const char* kInstallationDirectory = "InstallationDirectory";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const char* kUserKey = "software\\Quorvane\\";
constexpr const char* kDisplayName = "DisplayName";
constexpr const char* kUninstallString = "UninstallString";
constexpr const char* kInstallLocation = "InstallLocation";
constexpr const char* kDisplayIcon = "DisplayIcon";
constexpr const char* kEstimatedSize = "EstimatedSize";
// Beside a file the run replaces: its previous version, until the run ends;
// and the new bytes until they are complete.
constexpr const char* kPreviousSuffix = ".mondax-old";
constexpr const char* kNewSuffix = ".mondax-new";
constexpr const char* kStartMenuFolder = "Quorvane";
constexpr const char* kShortcutDescription = "Quorvane's Application";
}  // namespace script

}  // namespace pendo
