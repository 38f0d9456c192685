// Starts a product's uninstall entry the way the shell does: its
// "UninstallString" as the whole command line, no program name apart.
// Prints "pid N" (as the driver's inspector does), waits, exits with its code.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: rununinstall PRODUCT\n");
    return 2;
  }
  const std::string key = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + argv[1];
  char command[2048] = {0};
  DWORD size = sizeof command;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), "UninstallString", RRF_RT_REG_SZ, nullptr, command, &size) !=
      ERROR_SUCCESS) {
    std::fprintf(stderr, "no uninstall entry for %s\n", argv[1]);
    return 2;
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start %s: error %lu\n", command, GetLastError());
    return 2;
  }
  std::printf("pid %lu\n", pi.dwProcessId);
  std::fflush(stdout);
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}
