#include "settings/textfields.h"

#include <climits>

namespace pendo {

int SplitText(const std::string& text, char sep, ttextslots& slots, int limit) {
  for (auto& slot : slots) slot.clear();
  std::string::size_type start = 0;
  int pieces = 0;
  for (int i = 0; i < kMaxSlots; ++i) {
    ++pieces;
    const auto at = text.find(sep, start);
    if (at == std::string::npos) {
      slots[i].assign(text, start, std::string::npos);
      break;
    }
    slots[i].assign(text, start, at - start);
    start = at + 1;
    if (limit != -1 && i == limit) break;
  }
  return pieces;
}

std::string GetField(const std::string& text, int index) {
  if (index < 0 || index >= kMaxSlots) return std::string();
  ttextslots slots;
  SplitText(text, ',', slots, index);
  return slots[index];
}

std::string LeftText(const std::string& text, int count) {
  if (count <= 0) return std::string();
  return text.substr(0, static_cast<std::string::size_type>(count));
}

std::string RightText(const std::string& text, int count) {
  if (count <= 0) return std::string();
  const auto n = static_cast<std::string::size_type>(count);
  return n >= text.size() ? text : text.substr(text.size() - n);
}

bool IntToBool(int value) { return value == 1; }
int BoolToInt(bool value) { return value ? 1 : 0; }

bool TryParseInteger(const std::string& text, int& value) {
  std::string::size_type i = 0;
  const auto n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // "$" starts a hexadecimal number, as the profiles have always accepted.
  const bool hex = i < n && text[i] == '$';
  if (hex) ++i;
  auto digit = [hex](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (i == n || digit(text[i]) < 0) return false;
  const long long base = hex ? 16 : 10;
  // Hexadecimal text may spell a negative 32-bit value ("$FFFFFFFF" is -1).
  const long long limit = hex ? 0xFFFFFFFFLL : static_cast<long long>(INT_MAX) + 1;
  long long v = 0;
  while (i < n && digit(text[i]) >= 0) {
    v = v * base + digit(text[i++]);
    if (v > limit) return false;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return false;
  if (hex && v > INT_MAX) v -= 0x100000000LL;
  if (negative) v = -v;
  if (v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

int ParseIntegerOr(const std::string& text, int fallback) {
  int v;
  return TryParseInteger(text, v) ? v : fallback;
}

}  // namespace pendo
