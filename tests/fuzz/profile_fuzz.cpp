// Profile bytes from disk: split into lines, read and write keys, write back.
// Every line must survive the round trip and no key operation may misbehave.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/profilelines.h"
#include "settings/textfields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto lines = pendo::SplitProfileLines(bytes);
  const std::string joined = pendo::JoinProfileLines(lines);
  if (pendo::SplitProfileLines(joined) != lines) std::abort();
  for (const auto& line : lines) {
    pendo::ttextslots slots;
    const int n = pendo::SplitText(line, ',', slots, -1);
    if (n < 1 || n > pendo::kMaxSlots) std::abort();
    const std::string key = pendo::GetField(line, 0);
    if (key.size() > line.size()) std::abort();
    int v;
    pendo::TryParseInteger(pendo::GetField(line, 1), v);
  }
  return 0;
}
