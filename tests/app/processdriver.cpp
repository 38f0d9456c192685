#include "processdriver.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "settings/programidentity.h"
#include "settings/widetext.h"
#include "testfolder.h"

namespace pendo::testing {

std::string BuiltPendoPath() { return GetProgramFolder() + "..\\..\\bin\\Pendo.exe"; }

namespace {
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}
}  // namespace

std::string FreshFolder(const std::string& name) {
  const std::string root = test::OwnFolder() + "e2e";
  CreateDirectoryA(root.c_str(), nullptr);
  const std::string folder = root + "\\" + name;
  RemoveTree(folder);
  if (!CreateDirectoryA(folder.c_str(), nullptr)) throw std::runtime_error("cannot create " + folder);
  return folder + "\\";
}

Process::~Process() {
  if (info.hProcess) {
    if (Running()) Kill();
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
}

bool Process::Running() const { return info.hProcess && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }

long Process::WaitExit(DWORD ms) const {
  if (WaitForSingleObject(info.hProcess, ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  return static_cast<long>(code);
}

void Process::Kill() {
  TerminateProcess(info.hProcess, 99);
  WaitForSingleObject(info.hProcess, 5000);
}

Process Start(const std::string& exe) {
  Process p;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string cmd = "\"" + exe + "\"";
  if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &p.info)) {
    throw std::runtime_error("cannot start " + exe + ": error " + std::to_string(GetLastError()));
  }
  return p;
}

namespace {
struct FindArgs {
  DWORD pid;
  const char* className;
  bool visible;
  HWND found;
};
BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp) {
  auto* a = reinterpret_cast<FindArgs*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64];
  if (pid == a->pid && GetClassNameA(hwnd, cls, sizeof cls) && lstrcmpA(cls, a->className) == 0 &&
      (!a->visible || IsWindowVisible(hwnd))) {
    a->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND WaitForWindow(const Process& p, const char* className, DWORD ms, bool visible) {
  const DWORD start = GetTickCount();
  do {
    FindArgs a{p.info.dwProcessId, className, visible, nullptr};
    EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&a));
    if (a.found) return a.found;
    if (!p.Running()) return nullptr;
    Sleep(50);
  } while (GetTickCount() - start < ms);
  return nullptr;
}

namespace {
const char kDecoy[] = "C:\\Program.exe";
const char kDecoyMark[] = "C:\\ran";
std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }
// Wide: a folder with a Japanese name where the system's code page is not 932.
bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

SpacedProgram::SpacedProgram(const std::string& program, const std::string& folder)
    : path("C:\\Program Files\\" + folder + "\\app.exe") {
  CreateDirectoryW(Wide(FolderOf(path)).c_str(), nullptr);
  DeleteFileW(Wide(FolderOf(path) + "ran").c_str());
  DeleteFileA(kDecoyMark);
  if (!CopyFileW(Wide(program).c_str(), Wide(path).c_str(), FALSE) || !CopyFileA(program.c_str(), kDecoy, FALSE))
    throw std::runtime_error("cannot place " + program);
}

SpacedProgram::~SpacedProgram() {
  DeleteFileA(kDecoy);
  DeleteFileA(kDecoyMark);
  DeleteFileW(Wide(path).c_str());
  DeleteFileW(Wide(FolderOf(path) + "ran").c_str());
  RemoveDirectoryW(Wide(FolderOf(path)).c_str());
}

bool SpacedProgram::Ran(DWORD ms) const {
  const DWORD start = GetTickCount();
  while (!Exists(FolderOf(path) + "ran")) {
    if (GetTickCount() - start > ms) return false;
    Sleep(50);
  }
  return true;
}

bool SpacedProgram::DecoyRan() const { return Exists(kDecoyMark); }

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

}  // namespace pendo::testing
