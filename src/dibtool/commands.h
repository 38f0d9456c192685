// The tool's commands, apart from main so that tests can call them.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace pendo::dibtool {

enum texitcode { kOk = 0, kRefused = 1, kFailed = 2 };

// args without the program name; out and err as the process's streams.
int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace pendo::dibtool
