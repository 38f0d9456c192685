// The product archive, opened for the installation run alone and read
// strictly forward, and the copy of one file out of it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pendo {

class tarchivefile {
 public:
  tarchivefile() = default;
  ~tarchivefile() { Close(); }
  tarchivefile(const tarchivefile&) = delete;
  tarchivefile& operator=(const tarchivefile&) = delete;

  // Opens with no sharing, so nobody changes it while it is read.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
  // Reads up to count bytes; 0 at the end or on failure.
  std::uint32_t Read(char* buffer, std::uint32_t count);

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

// Writes the next size bytes of the archive to path, replacing it. The bytes
// go to a file beside it first, so a copy that fails (archive too short,
// folder missing, old file in use) leaves the old file as it was.
bool CopyArchiveFile(tarchivefile& archive, const std::string& path, std::uint32_t size, std::vector<char>& buffer);

}  // namespace pendo
