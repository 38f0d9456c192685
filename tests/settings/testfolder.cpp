#include "testfolder.h"

#include <cstdlib>

#include "settings/platform.h"
#include "settings/profiler.h"
#include "settings/programidentity.h"

namespace pendo::test {

const std::string& OwnFolder() {
  static const std::string folder = [] {
    const char* test = std::getenv("PENDO_TEST_NAME");
    const std::string name = test && *test ? test : GetProgramBaseName();
    const std::string path = GetProgramFolder() + "scratch" + platform::kPathDelimiter + name + platform::kPathDelimiter;
    platform::CreateFolderTree(path);
    return path;
  }();
  return folder;
}

void UseOwnFolder() {
  // Made at once: tests write profiles by hand before the store makes it.
  const std::string profile = OwnFolder() + "profile" + platform::kPathDelimiter;
  platform::CreateFolderTree(profile);
  tprofiler::SetProfileFolder(profile);
}

}  // namespace pendo::test
