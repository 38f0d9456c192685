// Starts copies of a program in folders of their own and finds their windows.
#pragma once

#include <windows.h>

#include <string>

namespace pendo::testing {

// The built Pendo.exe, found from the test program's own folder.
std::string BuiltPendoPath();

// A fresh folder below the test's own folder (emptied if it existed).
std::string FreshFolder(const std::string& name);

struct Process {
  PROCESS_INFORMATION info{};
  Process() = default;
  Process(Process&& other) noexcept : info(other.info) { other.info = PROCESS_INFORMATION{}; }
  Process& operator=(Process&&) = delete;
  ~Process();
  bool Running() const;
  // Waits for the end; returns the exit code, or -1 on time-out.
  long WaitExit(DWORD ms) const;
  void Kill();
};

Process Start(const std::string& exe);

// The top-level window of that class that belongs to the process, or nullptr
// after waiting ms. With visible, only once it is shown: a window exists
// before its settings are loaded.
HWND WaitForWindow(const Process& p, const char* className, DWORD ms, bool visible = true);

// A program that leaves the file "ran" beside itself, copied to
// "C:\Program Files\<folder>\app.exe", and a decoy copy at C:\Program.exe,
// which a start that does not take the path whole would run instead. Both
// are removed again at the end.
struct SpacedProgram {
  SpacedProgram(const std::string& program, const std::string& folder);
  ~SpacedProgram();
  SpacedProgram(const SpacedProgram&) = delete;
  SpacedProgram& operator=(const SpacedProgram&) = delete;
  std::string path;
  // Waits up to ms for the program's "ran" file; false when it did not come.
  bool Ran(DWORD ms) const;
  bool DecoyRan() const;
};

bool ReadText(const std::string& path, std::string& text);
void WriteText(const std::string& path, const std::string& text);

}  // namespace pendo::testing
