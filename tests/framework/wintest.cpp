#include "wintest.h"

#include "settings/profiler.h"

namespace pendo::test {

DWORD GdiObjects() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted) return counted;
  // Wine accepts a handle's table index alone (the 16-bit form) for any live object.
  DWORD n = 0;
  for (ULONG_PTR i = 1; i < 0x10000; ++i) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
  }
  return n;
}

DWORD UserObjects() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  if (counted) return counted;
  DWORD n = 0;
  const DWORD self = GetCurrentProcessId();
  for (ULONG_PTR i = 1; i < 0x10000; ++i) {
    HWND w = reinterpret_cast<HWND>(i);
    DWORD pid = 0;
    if (IsWindow(w) && GetWindowThreadProcessId(w, &pid) && pid == self) ++n;
    else if (IsMenu(reinterpret_cast<HMENU>(i))) ++n;
  }
  return n;
}

void DeleteProfile(const std::string& name) { DeleteFileA((tprofiler::ProfileFolder() + name).c_str()); }

long RunChildTest(const std::string& test) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string cmd = std::string("\"") + exe + "\" --gtest_filter=" + test + " --gtest_also_run_disabled_tests";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  long result = -1;
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    result = static_cast<long>(code);
  } else {
    TerminateProcess(pi.hProcess, 99);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

}  // namespace pendo::test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new pendo::test::tapplicationenvironment);
  return RUN_ALL_TESTS();
}
