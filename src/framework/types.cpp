#include "framework/types.h"

#include <cstdlib>
#include <stdexcept>

namespace pendo {

COLORREF ColorToRGB(tcolor color) {
  if (color & clSystemColor) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

namespace {
struct tnamedcolor {
  const char* name;
  tcolor value;
};
const tnamedcolor kColors[] = {
    {"clBlack", clBlack},     {"clMaroon", clMaroon}, {"clGreen", clGreen},         {"clNavy", clNavy},
    {"clRed", clRed},         {"clBlue", clBlue},     {"clWhite", clWhite},         {"clSilver", clSilver},
    {"clGray", clGray},       {"clYellow", clYellow}, {"clLime", clLime},           {"clBtnFace", clBtnFace},
    {"clWindow", clWindow},   {"clBtnText", clBtnText}, {"clWindowText", clWindowText}, {"clNone", clNone},
};

struct tnamedkey {
  const char* name;
  WORD key;
};
const tnamedkey kKeys[] = {
    {"Esc", VK_ESCAPE}, {"Enter", VK_RETURN}, {"Tab", VK_TAB},   {"Space", VK_SPACE}, {"BkSp", VK_BACK},
    {"Ins", VK_INSERT}, {"Del", VK_DELETE},   {"Home", VK_HOME}, {"End", VK_END},     {"PgUp", VK_PRIOR},
    {"PgDn", VK_NEXT},  {"Left", VK_LEFT},    {"Up", VK_UP},     {"Right", VK_RIGHT}, {"Down", VK_DOWN},
};
}  // namespace

std::vector<std::string> SplitSet(const std::string& text) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  while (start < text.size()) {
    auto end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

unsigned ParseFlags(const std::string& text, std::initializer_list<std::pair<const char*, unsigned>> names,
                    const char* what) {
  unsigned flags = 0;
  for (const std::string& part : SplitSet(text)) {
    if (part.empty()) continue;
    bool known = false;
    for (const auto& name : names) {
      if (part == name.first) {
        flags |= name.second;
        known = true;
      }
    }
    if (!known) throw std::invalid_argument(std::string("unknown ") + what + " " + part);
  }
  return flags;
}

int ParseInt(const std::string& text) {
  if (text.empty()) throw std::invalid_argument("empty number");
  char* end = nullptr;
  long value;
  if (text[0] == '$') {
    value = static_cast<long>(std::strtoul(text.c_str() + 1, &end, 16));
  } else {
    value = std::strtol(text.c_str(), &end, 10);
  }
  if (!end || *end) throw std::invalid_argument("not a number: " + text);
  return static_cast<int>(value);
}

bool ParseBool(const std::string& text) {
  if (text == "True" || text == "true" || text == "1") return true;
  if (text == "False" || text == "false" || text == "0") return false;
  throw std::invalid_argument("not a truth value: " + text);
}

tcolor ParseColor(const std::string& text) {
  for (const auto& c : kColors)
    if (text == c.name) return c.value;
  return ParseInt(text);
}

tshiftstate KeyboardShiftState() {
  tshiftstate s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

tshiftstate MouseShiftState(WPARAM wp) {
  tshiftstate s = 0;
  if (wp & MK_SHIFT) s |= ssShift;
  if (wp & MK_CONTROL) s |= ssCtrl;
  if (wp & MK_LBUTTON) s |= ssLeft;
  if (wp & MK_RBUTTON) s |= ssRight;
  if (wp & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

tshortcut ShortCut(WORD key, tshiftstate shift) {
  tshortcut s = key;
  if (shift & ssShift) s |= scShift;
  if (shift & ssCtrl) s |= scCtrl;
  if (shift & ssAlt) s |= scAlt;
  return s;
}

tshortcut ParseShortCut(const std::string& text) {
  if (text.empty()) return 0;
  tshortcut s = 0;
  std::string rest = text;
  for (;;) {
    if (rest.compare(0, 5, "Ctrl+") == 0) {
      s |= scCtrl;
      rest.erase(0, 5);
    } else if (rest.compare(0, 6, "Shift+") == 0) {
      s |= scShift;
      rest.erase(0, 6);
    } else if (rest.compare(0, 4, "Alt+") == 0) {
      s |= scAlt;
      rest.erase(0, 4);
    } else {
      break;
    }
  }
  if (rest.size() == 1 && ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= '0' && rest[0] <= '9')))
    return s | static_cast<unsigned char>(rest[0]);
  if (rest.size() >= 2 && rest[0] == 'F') {
    const int n = std::atoi(rest.c_str() + 1);
    if (n >= 1 && n <= 24) return s | static_cast<WORD>(VK_F1 + n - 1);
  }
  for (const auto& k : kKeys)
    if (rest == k.name) return s | k.key;
  throw std::invalid_argument("unknown shortcut: " + text);
}

std::string ShortCutToText(tshortcut shortcut) {
  if (!shortcut) return {};
  std::string text;
  if (shortcut & scCtrl) text += "Ctrl+";
  if (shortcut & scShift) text += "Shift+";
  if (shortcut & scAlt) text += "Alt+";
  const WORD key = shortcut & 0xFF;
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return text + static_cast<char>(key);
  if (key >= VK_F1 && key <= VK_F24) return text + "F" + std::to_string(key - VK_F1 + 1);
  for (const auto& k : kKeys)
    if (key == k.key) return text + k.name;
  return text + "#" + std::to_string(key);
}

}  // namespace pendo
