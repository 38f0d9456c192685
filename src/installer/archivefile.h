// The product archive, opened for the installation run alone and read
// strictly forward through a moving window of its mapping, and the copy of
// one file out of it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "settings/uniquehandle.h"

namespace pendo {

class tarchivefile {
 public:
  // viewLength: how much of the archive is mapped at a time (a multiple of 64 KiB).
  explicit tarchivefile(std::uint64_t viewLength = 64u << 20) : viewLength_(viewLength) {}
  ~tarchivefile() { Close(); }
  tarchivefile(const tarchivefile&) = delete;
  tarchivefile& operator=(const tarchivefile&) = delete;

  // Opens with no sharing, so nobody changes it while it is read.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return static_cast<bool>(file_); }
  std::uint64_t Size() const { return size_; }
  // Back to the first byte, for a second pass after the checksum.
  void Rewind() { position_ = 0; }
  // The next bytes, at most want: valid until the next call; got is 0 at
  // the end or when the archive cannot be mapped.
  const char* Next(std::uint32_t want, std::uint32_t& got);

 private:
  tkernelhandle file_;
  tkernelhandle mapping_;
  const char* view_ = nullptr;
  std::uint64_t size_ = 0, position_ = 0;
  std::uint64_t viewLength_;
  std::uint64_t viewStart_ = 0, viewSize_ = 0;
};

// Writes the next size bytes of the archive to path, in pieces of at most
// the copy buffer's size. An existing file is replaced by a complete file
// written beside it (path ".mondax-new") and is itself kept as path
// ".mondax-old", for the run to put back or delete; a copy that fails
// leaves the old file as it was, and a new file that fails is removed.
bool CopyArchiveFile(tarchivefile& archive, const std::string& path, std::uint32_t size);
// Puts the previous version kept beside path back in its place.
bool RestorePreviousVersion(const std::string& path);
// Deletes a file of the installer's own (a previous version kept aside, a
// copy cut short), read-only or not; true when it is gone.
bool DeleteOwnFile(const std::string& path);

}  // namespace pendo
