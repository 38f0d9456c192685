#include "installer/recordfile.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "installer/archivecopy.h"
#include "settings/platform.h"
#include "settings/widetext.h"

namespace pendo {

namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
  DWORD put = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
}

}  // namespace

bool trecordfile::Open(const std::string& path, const std::string& product, const std::string& folder) {
  Close();
  path_ = path;
  std::string bytes;
  existed_ = platform::ReadFileBytes(path, bytes);
  tinstallrecord old;
  const bool valid = existed_ && ParseInstallRecord(bytes, old);
  // A file of that name that holds no record is begun anew, and taken back whole.
  existed_ = valid;
  // Readers may look while it grows; nobody else may write it.
  file_ = OwnFileHandle(CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file_.get(), &size)) return false;
  lengthAtOpen_ = static_cast<std::uint64_t>(size.QuadPart);
  if (valid) {
    // A line a kill cut short goes: ended, it would read as a shorter path.
    // Its thing was never made, since a line is written whole before it.
    const std::size_t lineEnd = bytes.rfind("\r\n");
    if (lineEnd != std::string::npos && lineEnd + 2 <= lengthAtOpen_) lengthAtOpen_ = lineEnd + 2;
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(lengthAtOpen_);
    if (!SetFilePointerEx(file_.get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file_.get())) return false;
    // A header without its line end is ended, so that the next line starts afresh.
    return lineEnd != std::string::npos || WriteAll(file_.get(), "\r\n");
  }
  // Nothing readable: begin anew.
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN) || !SetEndOfFile(file_.get())) return false;
  return WriteAll(file_.get(), FormatRecordHeader(product, folder));
}

bool trecordfile::Append(const trecordentry& entry) {
  return file_ && WriteAll(file_.get(), FormatRecordEntry(entry));
}

bool trecordfile::TakeBack() {
  if (!existed_) {
    Close();
    return DeleteFileW(Wide(path_).c_str()) != FALSE || !platform::FileExists(path_);
  }
  if (!file_) return false;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(lengthAtOpen_);
  const bool ok = SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(file_.get());
  Close();
  return ok;
}

bool FilePrint(const std::string& path, tfileprint& print) {
  const tkernelhandle file = OwnFileHandle(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  std::vector<char> buffer(1 << 20);
  print = tfileprint{0, 0};
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return false;
    if (got == 0) return true;
    print.crc = Crc32(buffer.data(), got, print.crc);
    print.size += got;
  }
}

bool IsAsRecorded(const std::string& path, const std::vector<tfileprint>& prints) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return false;
  const std::uint64_t size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  tfileprint print{};
  return std::any_of(prints.begin(), prints.end(), [&](const tfileprint& p) { return p.size == size; }) &&
         FilePrint(path, print) && std::find(prints.begin(), prints.end(), print) != prints.end();
}

bool ReadRecordFile(const std::string& path, tinstallrecord& record) {
  std::string bytes;
  return platform::ReadFileBytes(path, bytes) && ParseInstallRecord(bytes, record);
}

}  // namespace pendo
