// The sixteen custom colours of the colour dialog as the lines of their
// file: "ColorA=ffffff" to "ColorP=...", any order, other lines kept.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pendo {

class tcustomcolorlist {
 public:
  static constexpr int kSlots = 16;
  // A slot without a colour; written as "ffffffff", so it reads back empty.
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  using tslots = std::array<std::uint32_t, kSlots>;

  // "ColorA" .. "ColorP".
  static std::string SlotName(int slot);

  const std::vector<std::string>& Lines() const { return lines_; }
  void SetLines(std::vector<std::string> lines) { lines_ = std::move(lines); }
  // The file's bytes, lines ended by CR LF.
  void LoadFromBytes(const std::string& bytes);
  std::string SaveToBytes() const;

  // Each slot's 0x00BBGGRR value; a missing line gives kEmpty. A value is
  // one to eight hexadecimal digits; "ffffffff" is kEmpty, and of any other
  // value above 0xFFFFFF the low three bytes are the colour. A value that is
  // not hexadecimal or too long gives kEmpty too, and its slot is listed in
  // broken when that is given.
  tslots Slots(std::vector<int>* broken = nullptr) const;
  // Writes one slot's line where the first line of its name stands, or adds
  // it at the end.
  void SetSlot(int slot, std::uint32_t value);
  void SetSlots(const tslots& slots);

 private:
  // Index of the first line named name (letters compared without case), or -1.
  int Find(const std::string& name) const;
  std::vector<std::string> lines_;
};

}  // namespace pendo
