// The installation record on disk: appended to line by line while the
// installation runs, read whole by the removal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/uniquehandle.h"
#include "installer/installrecord.h"

namespace pendo {

class trecordfile {
 public:
  // Opens the record at path for appending, creating it with its header
  // when there is none (or only one cut short). False when it cannot be
  // written.
  bool Open(const std::string& path, const std::string& product, const std::string& folder);
  // Writes one entry before the thing it names is made; false on failure.
  bool Append(const trecordentry& entry);
  // Takes the record back to what it was when it was opened: gone when it
  // did not exist, else cut back to its earlier length.
  bool TakeBack();
  void Close() { file_.reset(); }
  const std::string& Path() const { return path_; }

 private:
  tkernelhandle file_;
  std::string path_;
  bool existed_ = false;
  std::uint64_t lengthAtOpen_ = 0;
};

// The size and CRC-32 of a file's bytes; false when it cannot be read.
bool FilePrint(const std::string& path, tfileprint& print);

// True when the file's bytes are one of the prints: as the installation
// wrote them, unchanged since. Read only when its size is one of theirs.
bool IsAsRecorded(const std::string& path, const std::vector<tfileprint>& prints);

// False when the file is missing or holds no record.
bool ReadRecordFile(const std::string& path, tinstallrecord& record);

}  // namespace pendo
