// Saves one large profile over and over until it is killed; the kill test
// then checks that the file on disk is always whole.
#include <string>

#include "settings/profiler.h"
#include "testfolder.h"

int main(int argc, char** argv) {
  const std::string name = argc > 1 ? argv[1] : "profile_killtest";
  // The profile folder of the test that started it.
  pendo::test::UseOwnFolder();
  pendo::tprofiler profile(name);
  if (profile.ReadInteger("generation", -1) < 0) {
    const std::string filler(300, 'v');
    for (int i = 0; i < 3000; ++i) profile.WriteString("key" + std::to_string(i), filler);
  }
  for (int g = 0;; ++g) {
    profile.WriteInteger("generation", g);
    profile.Save();
  }
}
