#include "installer/archivefile.h"

#include "installer/archivecopy.h"

namespace pendo {

bool tarchivefile::Open(const std::string& path) {
  Close();
  file_ = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  return IsOpen();
}

void tarchivefile::Close() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

std::uint32_t tarchivefile::Read(char* buffer, std::uint32_t count) {
  DWORD got = 0;
  if (!IsOpen() || !ReadFile(file_, buffer, count, &got, nullptr)) return 0;
  return got;
}

bool CopyArchiveFile(tarchivefile& archive, const std::string& path, std::uint32_t size, std::vector<char>& buffer) {
  const std::string temp = path + ".mondax-new";
  HANDLE out = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  const bool copied = CopyArchiveBytes(
      size, buffer, [&](char* b, std::uint32_t n) { return archive.Read(b, n); },
      [&](const char* b, std::uint32_t n) {
        DWORD put = 0;
        return WriteFile(out, b, n, &put, nullptr) && put == n;
      });
  const bool closed = CloseHandle(out) != FALSE;
  if (copied && closed && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileA(temp.c_str());
  return false;
}

}  // namespace pendo
