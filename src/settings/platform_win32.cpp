#include <windows.h>

#include <algorithm>
#include <string>

#include "settings/fileerror.h"
#include "settings/platform.h"
#include "settings/safefiles.h"
#include "settings/uniquehandle.h"
#include "settings/widetext.h"

namespace pendo::platform {

const char kPathDelimiter = '\\';

bool IsLeadByte(unsigned char c) { return IsDBCSLeadByteEx(932, c) != FALSE; }

std::string LowerText(const std::string& text) {
  std::wstring wide = Wide(text);
  if (!wide.empty()) CharLowerBuffW(&wide[0], static_cast<DWORD>(wide.size()));
  std::string out;
  if (NarrowExact(wide, out) && out.size() == text.size()) return out;
  // Bytes that are no code page 932 text: only the ASCII letters, never a trail byte.
  out = text;
  for (std::string::size_type i = 0; i < out.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(c)) ++i;
    else if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

namespace {
std::wstring WideExecutablePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, &buf[0], static_cast<DWORD>(buf.size()));
    if (n < buf.size()) return buf.substr(0, n);
    buf.resize(buf.size() * 2);
  }
}
}  // namespace

std::string ExecutablePath() { return Narrow(WideExecutablePath()); }

bool ExecutablePathExact() {
  std::string path;
  return NarrowExact(WideExecutablePath(), path);
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
  const DWORD a = GetFileAttributesW(Wide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

std::string LastErrorText(const char* step, const std::string& path) {
  return std::string(step) + " " + path + ": error " + std::to_string(GetLastError());
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::size_t maxBytes) {
  const tkernelhandle f = OwnFileHandle(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(f.get(), &size) || static_cast<unsigned long long>(size.QuadPart) > maxBytes) return false;
  bytes.clear();
  char buf[65536];
  for (;;) {
    DWORD got = 0;
    // A file that grows while it is read is held to the limit too.
    if (!ReadFile(f.get(), buf, sizeof buf, &got, nullptr) || bytes.size() + got > maxBytes) return false;
    if (got == 0) return true;
    bytes.append(buf, got);
  }
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  RemoveLeftoverTemporaries(path);
  const std::string temp = TemporaryPathFor(path, GetCurrentProcessId());
  {
    tkernelhandle f = OwnFileHandle(
        CreateFileW(Wide(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) throw EFileError(LastErrorText("cannot create", temp));
    std::string::size_type done = 0;
    while (done < bytes.size()) {
      DWORD put = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::string::size_type>(bytes.size() - done, 1 << 20));
      if (!WriteFile(f.get(), bytes.data() + done, chunk, &put, nullptr) || put == 0) {
        const std::string why = LastErrorText("cannot write", temp);
        f.reset();
        DeleteFileW(Wide(temp).c_str());
        throw EFileError(why);
      }
      done += put;
    }
    if (!FlushFileBuffers(f.get())) {
      const std::string why = LastErrorText("cannot flush", temp);
      f.reset();
      DeleteFileW(Wide(temp).c_str());
      throw EFileError(why);
    }
  }
  // A reader, a virus scanner or another writer may hold the file for a
  // moment; only a lasting hold makes the save fail.
  constexpr int kTries = 10;
  for (int i = 1;; ++i) {
    if (MoveFileExW(Wide(temp).c_str(), Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
    const DWORD error = GetLastError();
    if (i == kTries || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION)) {
      const std::string why = LastErrorText("cannot replace", path);
      DeleteFileW(Wide(temp).c_str());
      throw EFileError(why);
    }
    Sleep(50);
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
      CreateDirectoryW(Wide(folder.substr(0, i)).c_str(), nullptr);
    }
  }
  CreateDirectoryW(Wide(folder).c_str(), nullptr);
  const DWORD a = GetFileAttributesW(Wide(folder).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW fd;
  const tfindhandle h = OwnFindHandle(FindFirstFileW(Wide(folder + prefix + "*").c_str(), &fd));
  if (!h) return names;
  do {
    // A name code page 932 cannot hold could not be opened again by it.
    std::string name;
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && NarrowExact(fd.cFileName, name)) names.push_back(name);
  } while (FindNextFileW(h.get(), &fd));
  return names;
}

void RemoveFile(const std::string& path) { DeleteFileW(Wide(path).c_str()); }

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

bool ProcessRunning(unsigned long pid) {
  const tkernelhandle p(OpenProcess(SYNCHRONIZE, FALSE, pid));
  if (!p) return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours to see
  return WaitForSingleObject(p.get(), 0) == WAIT_TIMEOUT;
}

void Pause(int ms) { Sleep(static_cast<DWORD>(ms)); }

int CompareTextIgnoringCase(const std::string& a, const std::string& b) {
  const std::wstring wa = Wide(a), wb = Wide(b);
  const int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(), static_cast<int>(wa.size()), wb.data(),
                               static_cast<int>(wb.size()));
  if (r != 0) return r - CSTR_EQUAL;
  // The locale refused the texts; bytes still give every caller an order.
  return a.compare(b);
}

}  // namespace pendo::platform
