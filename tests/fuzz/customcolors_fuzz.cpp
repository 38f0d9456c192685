// Custom colour files from disk: whatever the bytes, every slot reads as a
// colour or empty, writing all sixteen slots keeps the other lines in their
// order, and what was written reads back the same.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "controls/customcolorlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using pendo::tcustomcolorlist;
  tcustomcolorlist list;
  list.LoadFromBytes(std::string(reinterpret_cast<const char*>(data), size));
  const auto before = list.Lines();
  std::vector<int> broken;
  auto slots = list.Slots(&broken);
  for (auto v : slots)
    if (v > 0xFFFFFFu && v != tcustomcolorlist::kEmpty) std::abort();
  for (int slot : broken)
    if (slots[slot] != tcustomcolorlist::kEmpty) std::abort();
  slots[size % tcustomcolorlist::kSlots] = static_cast<std::uint32_t>(size) & 0xFFFFFFu;
  list.SetSlots(slots);
  const auto& after = list.Lines();
  if (after.size() < before.size() || after.size() > before.size() + tcustomcolorlist::kSlots) std::abort();
  // A changed line is a slot's line rewritten where it stood.
  for (size_t i = 0; i < before.size(); ++i) {
    if (before[i] == after[i]) continue;
    const std::string& a = after[i];
    if (a.size() < 7 || a.compare(0, 5, "Color") != 0 || a[6] != '=' || before[i].size() < 7 || before[i][6] != '=')
      std::abort();
    for (size_t k = 0; k < 6; ++k)
      if (std::tolower(static_cast<unsigned char>(a[k])) != std::tolower(static_cast<unsigned char>(before[i][k])))
        std::abort();
  }
  tcustomcolorlist again;
  again.LoadFromBytes(list.SaveToBytes());
  std::vector<int> broken2;
  if (again.Slots(&broken2) != slots || !broken2.empty()) std::abort();
  return 0;
}
