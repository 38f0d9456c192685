// The installation record: what an installation created, each line written
// before the thing it names, so that a run stopped anywhere leaves a record
// the removal can finish from. It lives beside the uninstall script as
// "mondax.uir" and only grows: an upgrade appends to it. Text in code page
// 932, one entry a line, fields separated by tabs; a line cut off by a kill
// (no line end yet) and lines of kinds this version does not know are
// passed over.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pendo {

enum class trecordkind {
  Folder,    // a folder the installation created (its own, or one above it)
  File,      // a file below the folder, relative to it, with its size and CRC-32
  Shortcut,  // a Start-menu shortcut file, full path
  SendTo,    // the SendTo shortcut, full path
  Key,       // a registry key the installation created, "HKEY_…\path"
  Value,     // a value it wrote: the key in path, the value's name in name
  End,       // the run that wrote the lines before it ended well; path: the folder
};

struct trecordentry {
  trecordkind kind = trecordkind::Folder;
  std::string path;
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  std::string name;
};

struct tinstallrecord {
  std::string product;
  std::string folder;  // canonical, without a trailing '\'
  std::vector<trecordentry> entries;
};

// The first line of a new record.
std::string FormatRecordHeader(const std::string& product, const std::string& folder);
// One entry as a line with its line end.
std::string FormatRecordEntry(const trecordentry& entry);
// False when the bytes do not start with a record's header line.
bool ParseInstallRecord(const std::string& bytes, tinstallrecord& record);

// What the record says of one file below the folder: every size and CRC it
// was written with (an upgrade adds one). Names compared without regard to
// ASCII case, '/' as '\'.
struct tfileprint {
  std::uint64_t size;
  std::uint32_t crc;
  bool operator==(const tfileprint& o) const { return size == o.size && crc == o.crc; }
};
std::vector<tfileprint> RecordedPrints(const tinstallrecord& record, const std::string& relative);
// Every file the record names, once each, in the order first named.
std::vector<std::string> RecordedFiles(const tinstallrecord& record);
// The entries of one kind, once each (the same path compared as above).
std::vector<std::string> RecordedPaths(const tinstallrecord& record, trecordkind kind);

// True when relative lies at or below one of the settings paths (a file or
// folder the product writes beside itself at run time).
bool IsSettingsPath(const std::string& relative, const std::vector<std::string>& settings);

// The file a run was writing when it was stopped: the last file named after
// the last End, if any file was; null when every run ended well. Files are
// written front to back, so only this one can be cut short.
const trecordentry* FileOfStoppedRun(const tinstallrecord& record);

// Deepest first, so that a folder comes before the folders holding it.
std::vector<std::string> DeepestFirst(std::vector<std::string> folders);

}  // namespace pendo
