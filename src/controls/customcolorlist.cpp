#include "controls/customcolorlist.h"

#include "settings/profilelines.h"

namespace pendo {

namespace {
const char kLetters[] = "ABCDEFGHIJKLMNOP";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// One to eight hexadecimal digits; false for anything else.
bool ParseHex(const std::string& text, std::string::size_type from, std::uint32_t& value) {
  const auto digits = text.size() - from;
  if (digits < 1 || digits > 8) return false;
  std::uint32_t v = 0;
  for (auto i = from; i < text.size(); ++i) {
    const int d = HexDigit(text[i]);
    if (d < 0) return false;
    v = (v << 4) | static_cast<std::uint32_t>(d);
  }
  value = v;
  return true;
}

// At least six lower-case digits, as the colour dialog writes them.
std::string HexText(std::uint32_t value) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (int shift = 28; shift >= 0; shift -= 4) {
    const unsigned d = (value >> shift) & 0xFu;
    if (d != 0 || !text.empty() || shift < 24) text += kDigits[d];
  }
  return text;
}
}  // namespace

std::string tcustomcolorlist::SlotName(int slot) { return std::string("Color") + kLetters[slot]; }

void tcustomcolorlist::LoadFromBytes(const std::string& bytes) { lines_ = SplitProfileLines(bytes); }

std::string tcustomcolorlist::SaveToBytes() const { return JoinProfileLines(lines_); }

int tcustomcolorlist::Find(const std::string& name) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    if (line.size() <= name.size() || line[name.size()] != '=') continue;
    bool same = true;
    for (std::size_t k = 0; k < name.size() && same; ++k) same = Lower(line[k]) == Lower(name[k]);
    if (same) return static_cast<int>(i);
  }
  return -1;
}

tcustomcolorlist::tslots tcustomcolorlist::Slots(std::vector<int>* broken) const {
  tslots slots;
  for (int i = 0; i < kSlots; ++i) {
    slots[i] = kEmpty;
    const std::string name = SlotName(i);
    const int at = Find(name);
    if (at < 0) continue;
    std::uint32_t v = 0;
    if (ParseHex(lines_[at], name.size() + 1, v)) {
      // The top byte is no part of a colour the dialog can show.
      slots[i] = v == kEmpty ? kEmpty : v & 0xFFFFFFu;
    } else if (broken) {
      broken->push_back(i);
    }
  }
  return slots;
}

void tcustomcolorlist::SetSlot(int slot, std::uint32_t value) {
  const std::string name = SlotName(slot);
  std::string line = name + "=" + HexText(value);
  const int at = Find(name);
  if (at >= 0) lines_[at] = std::move(line);
  else lines_.push_back(std::move(line));
}

void tcustomcolorlist::SetSlots(const tslots& slots) {
  for (int i = 0; i < kSlots; ++i) SetSlot(i, slots[i]);
}

}  // namespace pendo
