// Host stand-ins for the native tests: code page 932 lead bytes, ASCII
// lower-casing and ordering, POSIX files.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>

#include "settings/fileerror.h"
#include "settings/platform.h"
#include "settings/safefiles.h"

namespace pendo::platform {

const char kPathDelimiter = '/';

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string LowerText(const std::string& text) {
  std::string out = text;
  for (std::string::size_type i = 0; i < out.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(c)) {
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

bool ExecutablePathExact() { return true; }

std::string ExecutablePath() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  return n > 0 ? std::string(buf, static_cast<std::string::size_type>(n)) : std::string();
}

namespace {
long long clockShift = 0;
}  // namespace

void ShiftClock(long long seconds) { clockShift = seconds; }

tlocaltime Now() {
  const std::time_t t = std::time(nullptr) + static_cast<std::time_t>(clockShift);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tlocaltime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_wday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::size_t maxBytes) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || static_cast<unsigned long long>(st.st_size) > maxBytes) {
    close(fd);
    return false;
  }
  bytes.clear();
  char buf[65536];
  for (;;) {
    const ssize_t got = read(fd, buf, sizeof buf);
    // A file that grows while it is read is held to the limit too.
    if (got < 0 || bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
      close(fd);
      return false;
    }
    if (got == 0) break;
    bytes.append(buf, static_cast<std::string::size_type>(got));
  }
  close(fd);
  return true;
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  RemoveLeftoverTemporaries(path);
  const std::string temp = TemporaryPathFor(path, static_cast<unsigned long>(getpid()));
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) throw EFileError("cannot create " + temp + ": " + std::strerror(errno));
  std::string::size_type done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put <= 0) {
      const std::string why = "cannot write " + temp + ": " + std::strerror(errno);
      close(fd);
      unlink(temp.c_str());
      throw EFileError(why);
    }
    done += static_cast<std::string::size_type>(put);
  }
  if (fsync(fd) != 0 || close(fd) != 0) {
    const std::string why = "cannot flush " + temp + ": " + std::strerror(errno);
    unlink(temp.c_str());
    throw EFileError(why);
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    const std::string why = "cannot replace " + path + ": " + std::strerror(errno);
    unlink(temp.c_str());
    throw EFileError(why);
  }
}

bool CreateFolderTree(const std::string& folder) {
  for (std::string::size_type i = 1; i < folder.size(); ++i) {
    if (folder[i] == '/') mkdir(folder.substr(0, i).c_str(), 0755);
  }
  mkdir(folder.c_str(), 0755);
  struct stat st;
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> names;
  DIR* d = opendir(folder.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    struct stat st;
    if (name.compare(0, prefix.size(), prefix) == 0 && stat((folder + name).c_str(), &st) == 0 &&
        S_ISREG(st.st_mode))
      names.push_back(name);
  }
  closedir(d);
  return names;
}

void RemoveFile(const std::string& path) { unlink(path.c_str()); }

unsigned long CurrentProcessId() { return static_cast<unsigned long>(getpid()); }

bool ProcessRunning(unsigned long pid) {
  if (pid == 0 || pid > 0x7FFFFFFFul) return false;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

void Pause(int ms) { usleep(static_cast<useconds_t>(ms) * 1000); }

int CompareTextIgnoringCase(const std::string& a, const std::string& b) {
  const std::string la = LowerText(a), lb = LowerText(b);
  return la.compare(lb);
}

}  // namespace pendo::platform
