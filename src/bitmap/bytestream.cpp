#include "bitmap/bytestream.h"

#include <algorithm>
#include <cstring>

namespace pendo {

namespace {

#ifdef _WIN32
int64_t Tell(std::FILE* f) { return ftello64(f); }
bool Seek(std::FILE* f, int64_t at, int whence) { return fseeko64(f, at, whence) == 0; }
#else
int64_t Tell(std::FILE* f) { return ftello(f); }
bool Seek(std::FILE* f, int64_t at, int whence) { return fseeko(f, at, whence) == 0; }
#endif

}  // namespace

uint64_t tbytesource::Skip(uint64_t n) {
  char scratch[4096];
  uint64_t done = 0;
  while (done < n) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(sizeof scratch, n - done));
    const size_t got = Read(scratch, want);
    done += got;
    if (got < want) break;
  }
  return done;
}

size_t tmemorysource::Read(void* dst, size_t n) {
  n = std::min(n, size_ - pos_);
  if (n > 0) std::memcpy(dst, data_ + pos_, n);
  pos_ += n;
  return n;
}

uint64_t tmemorysource::Skip(uint64_t n) {
  const size_t step = static_cast<size_t>(std::min<uint64_t>(n, size_ - pos_));
  pos_ += step;
  return step;
}

bool tstringsink::Write(const void* src, size_t n) {
  Bytes.append(static_cast<const char*>(src), n);
  return true;
}

size_t tfilestream::Read(void* dst, size_t n) { return file_ ? std::fread(dst, 1, n, file_) : 0; }

uint64_t tfilestream::Skip(uint64_t n) {
  uint64_t left = 0;
  // Seeking past the end would succeed, so only a file of known length seeks.
  if (file_ && n <= static_cast<uint64_t>(INT64_MAX) && Remaining(left)) {
    const uint64_t step = std::min(n, left);
    if (Seek(file_, static_cast<int64_t>(step), SEEK_CUR)) return step;
  }
  return tbytesource::Skip(n);
}

bool tfilestream::Remaining(uint64_t& left) const {
  if (!file_) return false;
  const int64_t here = Tell(file_);
  if (here < 0 || !Seek(file_, 0, SEEK_END)) return false;
  const int64_t end = Tell(file_);
  if (!Seek(file_, here, SEEK_SET) || end < here) return false;
  left = static_cast<uint64_t>(end - here);
  return true;
}

bool tfilestream::Write(const void* src, size_t n) { return file_ && std::fwrite(src, 1, n, file_) == n; }

bool tfilestream::Close() {
  if (!file_) return false;
  const bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok && closed;
}

}  // namespace pendo
