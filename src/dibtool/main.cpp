// dibtool: inspect, decode and convert BMP files with Pendo's bitmap engine.
#include <cstdio>
#include <string>
#include <vector>

#include "dibtool/commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return static_cast<int>(pendo::dibtool::Run(args, stdout, stderr));
}
