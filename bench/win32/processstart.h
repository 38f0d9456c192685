// A program started as a process and timed from just before its start:
// up to its first idle moment (WaitForInputIdle: its first paint is done and
// its message loop waits), and, for a program that writes the start-up trace
// of src/framework/startuptrace.h, each of its phases. Ended again by
// message 1692 to its windows, as Pendo is ended from outside.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace pendo::bench {

struct tstartup {
  double idle = -1;  // seconds from the start to the first idle moment
  std::vector<std::pair<std::string, double>> phases;  // seconds from the start
};

namespace detail {
inline BOOL CALLBACK CloseWindowOf(HWND window, LPARAM process) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(process)) PostMessageW(window, 1692, 0, 0);
  return TRUE;
}

inline std::vector<std::pair<std::string, double>> ReadTrace(const std::string& path, LONGLONG start) {
  std::vector<std::pair<std::string, double>> phases;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return phases;
  long long ticks = 0, frequency = 0;
  char name[256];
  while (std::fscanf(f, "%lld\t%255[^\n]\n", &ticks, name) == 2) {
    if (std::string(name) == "frequency") frequency = ticks;
    else if (frequency > 0) phases.emplace_back(name, static_cast<double>(ticks - start) / frequency);
  }
  std::fclose(f);
  return phases;
}
}  // namespace detail

inline tstartup StartAndTime(const std::string& exe) {
  tstartup result;
  const std::string trace = exe.substr(0, exe.find_last_of('\\') + 1) + "startup-trace.txt";
  DeleteFileA(trace.c_str());
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string cmd = "\"" + exe + "\"";
  LARGE_INTEGER start, now, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return result;
  WaitForInputIdle(pi.hProcess, 60000);
  QueryPerformanceCounter(&now);
  result.idle = static_cast<double>(now.QuadPart - start.QuadPart) / frequency.QuadPart;
  // A trace is written when the first paint ends, which the idle moment follows.
  for (int i = 0; i < 100 && GetFileAttributesA(trace.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(20);
  result.phases = detail::ReadTrace(trace, start.QuadPart);
  for (int i = 0; i < 200 && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; ++i) {
    EnumWindows(&detail::CloseWindowOf, static_cast<LPARAM>(pi.dwProcessId));
    WaitForSingleObject(pi.hProcess, 50);
  }
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

}  // namespace pendo::bench
