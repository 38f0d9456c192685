// Every test program writes in a folder of its own below its build folder,
// named after the test CTest runs (PENDO_TEST_NAME, which child processes
// inherit; the program's name without it), so that tests running side by
// side share no profile and no file.
#pragma once

#include <string>

namespace pendo::test {

// The folder, with its separator; made when first asked for.
const std::string& OwnFolder();

// Makes OwnFolder()'s "profile" folder and points the profile store at it.
// Every test program's main calls it before the first test.
void UseOwnFolder();

}  // namespace pendo::test
