#include "wintest.h"

#include "settings/profiler.h"

namespace pendo::test {

void DeleteProfile(const std::string& name) { DeleteFileA((tprofiler::ProfileFolder() + name).c_str()); }

}  // namespace pendo::test

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new pendo::test::tapplicationenvironment);
  return RUN_ALL_TESTS();
}
