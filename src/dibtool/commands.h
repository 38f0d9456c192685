// The tool's commands, apart from main so that tests can call them.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace pendo::dibtool {

// The process's exit code.
enum class texitcode : int {
  Ok = 0,
  Refused = 1,  // the engine refused the picture, or it has more pixels than the limit
  Failed = 2,   // bad arguments, a file that cannot be read or written
};

// args without the program name; out and err as the process's streams.
texitcode Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace pendo::dibtool
