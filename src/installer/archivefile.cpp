#include "installer/archivefile.h"

#include <algorithm>

#include "installer/archivecopy.h"
#include "settings/uniquehandle.h"
#include "installer/scriptformat.h"
#include "settings/widetext.h"

namespace pendo {

namespace {
// Views start where the system's allocation granularity allows.
constexpr std::uint64_t kViewAlign = 64u << 10;
}  // namespace

bool tarchivefile::Open(const std::string& path) {
  Close();
  file_ = OwnFileHandle(
      CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!IsOpen()) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file_.get(), &size)) {
    Close();
    return false;
  }
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  // An empty archive has no mapping; it simply has no bytes to give.
  if (size_ > 0) mapping_.reset(CreateFileMappingW(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  return true;
}

void tarchivefile::Close() {
  if (view_) UnmapViewOfFile(view_);
  view_ = nullptr;
  mapping_.reset();
  file_.reset();
  size_ = position_ = viewStart_ = viewSize_ = 0;
}

const char* tarchivefile::Next(std::uint32_t want, std::uint32_t& got) {
  got = 0;
  if (!mapping_ || position_ >= size_) return nullptr;
  const std::uint64_t end = std::min<std::uint64_t>(position_ + want, size_);
  if (!view_ || position_ < viewStart_ || end > viewStart_ + viewSize_) {
    if (view_) UnmapViewOfFile(view_);
    viewStart_ = position_ / kViewAlign * kViewAlign;
    viewSize_ = std::min(viewLength_, size_ - viewStart_);
    view_ = static_cast<const char*>(MapViewOfFile(mapping_.get(), FILE_MAP_READ, static_cast<DWORD>(viewStart_ >> 32),
                                                   static_cast<DWORD>(viewStart_), static_cast<SIZE_T>(viewSize_)));
    if (!view_) return nullptr;
  }
  const char* bytes = view_ + (position_ - viewStart_);
  got = static_cast<std::uint32_t>(std::min(end, viewStart_ + viewSize_) - position_);
  position_ += got;
  return bytes;
}

bool CopyArchiveFile(tarchivefile& archive, const std::string& path, std::uint32_t size) {
  // A file that is there already is replaced only once its new bytes are
  // complete beside it, and kept aside for the run; a new one is written in
  // place (the record tells a removal which one a stopped run cut short).
  const bool replacing = GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  const std::string written = replacing ? path + script::kNewSuffix : path;
  bool copied = false, closed = false;
  {
    tkernelhandle out = OwnFileHandle(CreateFileW(Wide(written).c_str(), GENERIC_WRITE, 0, nullptr,
                                                  replacing ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    copied = CopyArchiveBytes(
        size, kCopyBufferSize, [&](std::uint32_t want, std::uint32_t& got) { return archive.Next(want, got); },
        [&](const char* b, std::uint32_t n) {
          DWORD put = 0;
          return WriteFile(out.get(), b, n, &put, nullptr) && put == n;
        });
    closed = CloseKernelHandle(out);
  }
  if (copied && closed && !replacing) {
    return true;
  } else if (copied && closed) {
    const std::string previous = path + script::kPreviousSuffix;
    if (MoveFileExW(Wide(path).c_str(), Wide(previous).c_str(), MOVEFILE_REPLACE_EXISTING)) {
      if (MoveFileW(Wide(written).c_str(), Wide(path).c_str())) return true;
      MoveFileW(Wide(previous).c_str(), Wide(path).c_str());
    }
  }
  DeleteFileW(Wide(written).c_str());
  return false;
}

bool RestorePreviousVersion(const std::string& path) {
  return MoveFileExW(Wide(path + script::kPreviousSuffix).c_str(), Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING) !=
         FALSE;
}

bool DeleteOwnFile(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (DeleteFileW(wide.c_str())) return true;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(wide.c_str(), attributes);
  return false;
}

}  // namespace pendo
