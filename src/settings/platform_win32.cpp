#include <windows.h>

#include <algorithm>
#include <string>

#include "settings/fileerror.h"
#include "settings/platform.h"
#include "settings/safefiles.h"

namespace pendo::platform {

const char kPathDelimiter = '\\';

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

std::string LowerText(const std::string& text) {
  std::string out = text;
  if (!out.empty()) CharLowerBuffA(&out[0], static_cast<DWORD>(out.size()));
  return out;
}

std::string ExecutablePath() {
  char buf[MAX_PATH + 1];
  const DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return std::string(buf, n < MAX_PATH ? n : MAX_PATH);
}

namespace {
long long clockShift = 0;  // in 100 ns units
}  // namespace

void ShiftClock(long long seconds) { clockShift = seconds * 10000000LL; }

tlocaltime Now() {
  SYSTEMTIME t;
  if (clockShift == 0) {
    GetLocalTime(&t);
  } else {
    // The conversion GetLocalTime makes, of the moved moment.
    FILETIME f, local;
    GetSystemTimeAsFileTime(&f);
    ULARGE_INTEGER u;
    u.LowPart = f.dwLowDateTime;
    u.HighPart = f.dwHighDateTime;
    u.QuadPart += static_cast<ULONGLONG>(clockShift);
    f.dwLowDateTime = u.LowPart;
    f.dwHighDateTime = u.HighPart;
    if (!FileTimeToLocalFileTime(&f, &local) || !FileTimeToSystemTime(&local, &t)) GetLocalTime(&t);
  }
  return tlocaltime{t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond};
}

bool FileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

struct FileHandle {
  HANDLE h;
  explicit FileHandle(HANDLE handle) : h(handle) {}
  ~FileHandle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool ok() const { return h != INVALID_HANDLE_VALUE; }
};

std::string LastErrorText(const char* step, const std::string& path) {
  return std::string(step) + " " + path + ": error " + std::to_string(GetLastError());
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.ok()) return false;
  bytes.clear();
  char buf[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(f.h, buf, sizeof buf, &got, nullptr)) return false;
    if (got == 0) return true;
    bytes.append(buf, got);
  }
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  RemoveLeftoverTemporaries(path);
  const std::string temp = TemporaryPathFor(path, GetCurrentProcessId());
  {
    FileHandle f(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.ok()) throw EFileError(LastErrorText("cannot create", temp));
    std::string::size_type done = 0;
    while (done < bytes.size()) {
      DWORD put = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::string::size_type>(bytes.size() - done, 1 << 20));
      if (!WriteFile(f.h, bytes.data() + done, chunk, &put, nullptr) || put == 0) {
        const std::string why = LastErrorText("cannot write", temp);
        CloseHandle(f.h);
        f.h = INVALID_HANDLE_VALUE;
        DeleteFileA(temp.c_str());
        throw EFileError(why);
      }
      done += put;
    }
    if (!FlushFileBuffers(f.h)) {
      const std::string why = LastErrorText("cannot flush", temp);
      CloseHandle(f.h);
      f.h = INVALID_HANDLE_VALUE;
      DeleteFileA(temp.c_str());
      throw EFileError(why);
    }
  }
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const std::string why = LastErrorText("cannot replace", path);
    DeleteFileA(temp.c_str());
    throw EFileError(why);
  }
}

bool CreateFolderTree(const std::string& folder) {
  // Walk the path by characters so that a trail byte equal to '\' is no separator.
  for (std::string::size_type i = 0; i < folder.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(folder[i]);
    if (IsLeadByte(c)) {
      ++i;
      continue;
    }
    if ((c == '\\' || c == '/') && i > 0 && folder[i - 1] != ':') {
      CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
    }
  }
  CreateDirectoryA(folder.c_str(), nullptr);
  const DWORD a = GetFileAttributesA(folder.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + prefix + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(fd.cFileName);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

void RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

bool ProcessRunning(unsigned long pid) {
  HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!p) return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours to see
  const bool running = WaitForSingleObject(p, 0) == WAIT_TIMEOUT;
  CloseHandle(p);
  return running;
}

void Pause(int ms) { Sleep(static_cast<DWORD>(ms)); }

int CompareTextIgnoringCase(const std::string& a, const std::string& b) {
  const int r = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                               static_cast<int>(b.size()));
  if (r != 0) return r - CSTR_EQUAL;
  // The locale refused the texts; bytes still give every caller an order.
  return a.compare(b);
}

}  // namespace pendo::platform
