#include "wintest.h"

#include "app/pendoclasses.h"
#include "settings/profiler.h"
#include "testfolder.h"

namespace pendo::test {

void DeleteProfile(const std::string& name) { DeleteFileA((tprofiler::ProfileFolder() + name).c_str()); }

void WritePastFirstBoot() {
  tprofiler profile("profile_mainform");
  profile.WriteBool("firstboot", false);
}

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
  pendo::test::UseOwnFolder();
  pendo::RegisterPendoClasses();
  ::testing::AddGlobalTestEnvironment(new pendo::test::tapplicationenvironment);
  return RUN_ALL_TESTS();
}
