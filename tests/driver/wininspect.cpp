// The eyes of the user-level driver (userdriver.py): a console program, run
// under the same Wine as the program being driven, that reports windows and
// starts, signals and ends programs. Texts are printed as the system's bytes
// (code page 932); one window per line, fields separated by tabs:
//   hwnd pid visible window(l,t,r,b) client(l,t,r,b in screen) id class text
//
//   wininspect run EXE [ARG...]      start EXE, print "pid N", wait, exit with its code
//   wininspect windows               every top-level window
//   wininspect children HWND         every child window of HWND
//   wininspect send|post HWND MSG WPARAM LPARAM   (numbers in C notation)
//   wininspect watch CLASS MS        each appearance of a visible window of CLASS
//                                    during MS milliseconds, then "count N"
//   wininspect kill PID
//   wininspect focus                 the window with the keyboard focus (one line, or none)
//   wininspect hold FILE             open FILE without sharing, print "held", keep it
//                                    open until standard input ends
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

unsigned long Number(const char* text) { return std::strtoul(text, nullptr, 0); }

HWND WindowArg(const char* text) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(Number(text))); }

std::string TextOf(HWND h) {
  char buf[4096] = {0};
  if (GetParent(h) && (GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) {
    // A control keeps its own text, which only WM_GETTEXT reaches from another process.
    SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 1000, nullptr);
  } else {
    // A top-level window's caption, read without asking a process that may be busy or ending.
    GetWindowTextA(h, buf, sizeof buf);
  }
  std::string t = buf;
  for (char& c : t)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return t;
}

void Print(HWND h) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  RECT w{}, c{};
  GetWindowRect(h, &w);
  GetClientRect(h, &c);
  MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&c), 2);
  char cls[256] = {0};
  GetClassNameA(h, cls, sizeof cls);
  std::printf("%#lx\t%lu\t%d\t%ld,%ld,%ld,%ld\t%ld,%ld,%ld,%ld\t%ld\t%s\t%s\n",
              static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(h)), static_cast<unsigned long>(pid),
              IsWindowVisible(h) ? 1 : 0, w.left, w.top, w.right, w.bottom, c.left, c.top, c.right, c.bottom,
              static_cast<long>(GetDlgCtrlID(h)), cls, TextOf(h).c_str());
}

BOOL CALLBACK PrintOne(HWND h, LPARAM) {
  Print(h);
  return TRUE;
}

BOOL CALLBACK Collect(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

int Run(int argc, char** argv) {
  std::string cmd;
  for (int i = 2; i < argc; ++i) cmd += std::string(i > 2 ? " " : "") + "\"" + argv[i] + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(argv[2], &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", argv[2], GetLastError());
    return 127;
  }
  std::printf("pid %lu\n", pi.dwProcessId);
  std::fflush(stdout);
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  return static_cast<int>(code);
}

// Counts how often a visible window of the class appears: one that was not
// there (or not visible) at the previous look.
int Watch(const char* cls, DWORD ms) {
  std::set<HWND> seen;
  int count = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    std::vector<HWND> all;
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&all));
    std::set<HWND> now;
    for (HWND h : all) {
      char name[256] = {0};
      GetClassNameA(h, name, sizeof name);
      if (lstrcmpiA(name, cls) == 0 && IsWindowVisible(h)) now.insert(h);
    }
    for (HWND h : now) {
      if (seen.count(h)) continue;
      ++count;
      Print(h);
      std::fflush(stdout);
    }
    seen = now;
    Sleep(5);
  }
  std::printf("count %d\n", count);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "run" && argc > 2) return Run(argc, argv);
  if (what == "windows") {
    EnumWindows(&PrintOne, 0);
    return 0;
  }
  if (what == "children" && argc > 2) {
    EnumChildWindows(WindowArg(argv[2]), &PrintOne, 0);
    return 0;
  }
  if ((what == "send" || what == "post") && argc > 5) {
    HWND h = WindowArg(argv[2]);
    const UINT msg = Number(argv[3]);
    const WPARAM wp = Number(argv[4]);
    const LPARAM lp = static_cast<LPARAM>(std::strtol(argv[5], nullptr, 0));
    if (what == "post") return PostMessageA(h, msg, wp, lp) ? 0 : 1;
    std::printf("%ld\n", static_cast<long>(SendMessageA(h, msg, wp, lp)));
    return 0;
  }
  if (what == "watch" && argc > 3) return Watch(argv[2], Number(argv[3]));
  if (what == "kill" && argc > 2) {
    HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, Number(argv[2]));
    const bool done = p && TerminateProcess(p, 99);
    if (p) CloseHandle(p);
    return done ? 0 : 1;
  }
  if (what == "focus") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(0, &info) && info.hwndFocus) Print(info.hwndFocus);
    return 0;
  }
  if (what == "hold" && argc > 2) {
    HANDLE f = CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    std::printf("held\n");
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    CloseHandle(f);
    return 0;
  }
  std::fprintf(stderr, "usage: wininspect run|windows|children|send|post|watch|kill|focus|hold ...\n");
  return 2;
}
