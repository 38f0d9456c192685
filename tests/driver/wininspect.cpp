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
//   wininspect foreground            the foreground window (nothing when none)
//   wininspect focus                 the window with the keyboard focus (nothing when none)
//   wininspect hold FILE             open FILE without sharing, print "held", keep it
//                                    open until standard input ends
//   wininspect reg KEY NAME          a REG_SZ or REG_DWORD value of HKLM\... or HKCU\...
//   wininspect wtexts HWND           the texts of HWND and of each child, read in
//                                    UTF-16 and printed in UTF-8, one a line
//   wininspect menu                  "acp N" (the ANSI code page of the menu's
//                                    program), then the items of the open pop-up
//                                    menu in UTF-8, one a line (read by menuhook.dll)
//   wininspect serve                 the commands above but run and watch, one per
//                                    line of standard input (arguments separated by
//                                    tabs), each answer ended by ".end CODE": one Wine
//                                    process for a whole test instead of one per look
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

unsigned long long Number(const char* text) { return std::strtoull(text, nullptr, 0); }

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
  std::printf("%#llx\t%lu\t%d\t%ld,%ld,%ld,%ld\t%ld,%ld,%ld,%ld\t%ld\t%s\t%s\n",
              static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(h)), static_cast<unsigned long>(pid),
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

// Read in UTF-16, so that a program in a folder of any name starts.
int Run() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring cmd;
  for (int i = 2; i < argc; ++i) cmd += std::wstring(i > 2 ? L" " : L"") + L"\"" + argv[i] + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(argv[2], &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start: error %lu\n", GetLastError());
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
  bool first = true;
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
    if (first) {
      // The caller may act from here on: what appears now is counted.
      std::printf("watching\n");
      std::fflush(stdout);
      first = false;
    }
    Sleep(5);
  }
  std::printf("count %d\n", count);
  return 0;
}

int RegistryValue(const char* path, const char* name) {
  const std::string full = path;
  const size_t slash = full.find('\\');
  const std::string root = full.substr(0, slash);
  HKEY top = root == "HKLM" || root == "HKEY_LOCAL_MACHINE" ? HKEY_LOCAL_MACHINE
             : root == "HKCU" || root == "HKEY_CURRENT_USER" ? HKEY_CURRENT_USER
             : root == "HKCR" || root == "HKEY_CLASSES_ROOT" ? HKEY_CLASSES_ROOT
                                                             : nullptr;
  if (!top || slash == std::string::npos) return 2;
  HKEY key = nullptr;
  if (RegOpenKeyExA(top, full.c_str() + slash + 1, 0, KEY_READ, &key) != ERROR_SUCCESS) return 1;
  std::vector<char> data(65536);
  DWORD type = 0, size = static_cast<DWORD>(data.size() - 1);
  const LONG r = RegQueryValueExA(key, *name ? name : nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS) return 1;
  if (type == REG_DWORD && size == 4) {
    DWORD v = 0;
    std::memcpy(&v, data.data(), 4);
    std::printf("%lu\n", static_cast<unsigned long>(v));
  } else {
    data[size] = 0;
    std::printf("%s\n", data.data());
  }
  return 0;
}

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3 + 1, '\0');
  out.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0],
                                                      static_cast<int>(out.size()), nullptr, nullptr)));
  return out;
}

BOOL CALLBACK PrintWideText(HWND h, LPARAM) {
  wchar_t text[4096] = L"";
  SendMessageTimeoutW(h, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, nullptr);
  std::wstring t = text;
  for (wchar_t& c : t)
    if (c == L'\r' || c == L'\n') c = L' ';
  std::printf("%s\n", Utf8(t).c_str());
  return TRUE;
}

int MenuItems() {
  HWND popup = FindWindowW(L"#32768", nullptr);
  if (!popup) return 1;
  wchar_t here[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, here, MAX_PATH);
  std::wstring dll(here, n);
  dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"menuhook.dll";
  HMODULE module = LoadLibraryW(dll.c_str());
  auto hook = module ? reinterpret_cast<HOOKPROC>(GetProcAddress(module, "MenuHook")) : nullptr;
  HANDLE map = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 65536, L"WinInspectMenuText");
  auto* view = map ? static_cast<wchar_t*>(MapViewOfFile(map, FILE_MAP_READ, 0, 0, 0)) : nullptr;
  HHOOK h = hook && view ? SetWindowsHookExW(WH_CALLWNDPROC, hook, module, GetWindowThreadProcessId(popup, nullptr))
                         : nullptr;
  int code = 1;
  if (h) {
    DWORD_PTR r = 0;
    SendMessageTimeoutW(popup, RegisterWindowMessageW(L"WinInspectReadMenu"), 0, 0, SMTO_ABORTIFHUNG, 2000, &r);
    UnhookWindowsHookEx(h);
    std::printf("%s", Utf8(view).c_str());
    code = view[0] ? 0 : 1;
  }
  if (view) UnmapViewOfFile(view);
  if (map) CloseHandle(map);
  if (module) FreeLibrary(module);
  return code;
}

int Command(const std::vector<std::string>& a) {
  const std::string what = a.empty() ? "" : a[0];
  if (what == "windows") {
    EnumWindows(&PrintOne, 0);
    return 0;
  }
  if (what == "children" && a.size() > 1) {
    EnumChildWindows(WindowArg(a[1].c_str()), &PrintOne, 0);
    return 0;
  }
  if ((what == "send" || what == "post") && a.size() > 4) {
    HWND h = WindowArg(a[1].c_str());
    const UINT msg = static_cast<UINT>(Number(a[2].c_str()));
    const WPARAM wp = static_cast<WPARAM>(Number(a[3].c_str()));
    const LPARAM lp = static_cast<LPARAM>(std::strtoll(a[4].c_str(), nullptr, 0));
    if (what == "post") return PostMessageA(h, msg, wp, lp) ? 0 : 1;
    std::printf("%ld\n", static_cast<long>(SendMessageA(h, msg, wp, lp)));
    return 0;
  }
  if (what == "kill" && a.size() > 1) {
    HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(Number(a[1].c_str())));
    const bool done = p && TerminateProcess(p, 99);
    if (p) CloseHandle(p);
    return done ? 0 : 1;
  }
  if (what == "foreground") {
    if (HWND h = GetForegroundWindow()) Print(h);
    return 0;
  }
  if (what == "focus") {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(0, &info) && info.hwndFocus) Print(info.hwndFocus);
    return 0;
  }
  if (what == "reg" && a.size() > 2) return RegistryValue(a[1].c_str(), a[2].c_str());
  if (what == "wtexts" && a.size() > 1) {
    PrintWideText(WindowArg(a[1].c_str()), 0);
    EnumChildWindows(WindowArg(a[1].c_str()), &PrintWideText, 0);
    return 0;
  }
  if (what == "menu") return MenuItems();
  std::fprintf(stderr, "usage: wininspect run|windows|children|send|post|watch|kill|foreground|focus|reg|wtexts|menu|hold|serve ...\n");
  return 2;
}

int Hold(const char* path) {
  HANDLE f = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  while (std::fgetc(stdin) != EOF) {
  }
  CloseHandle(f);
  return 0;
}

int Serve() {
  std::string line;
  int c;
  while ((c = std::getchar()) != EOF) {
    if (c != '\n') {
      if (c != '\r') line += static_cast<char>(c);
      continue;
    }
    std::vector<std::string> args;
    size_t from = 0;
    for (size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
      args.push_back(line.substr(from, tab - from));
    args.push_back(line.substr(from));
    line.clear();
    const int code = Command(args);
    std::printf(".end %d\n", code);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "run" && argc > 2) return Run();
  if (what == "watch" && argc > 3) return Watch(argv[2], static_cast<DWORD>(Number(argv[3])));
  if (what == "serve") return Serve();
  if (what == "hold" && argc > 2) return Hold(argv[2]);
  return Command(std::vector<std::string>(argv + 1, argv + argc));
}
