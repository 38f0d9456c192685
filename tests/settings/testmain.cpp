// The main of the test programs without windows (the window tests have
// wintest's): GoogleTest in the test's own folder.
#include <gtest/gtest.h>

#include "testfolder.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  pendo::test::UseOwnFolder();
  return RUN_ALL_TESTS();
}
