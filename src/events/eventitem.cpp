#include "events/eventitem.h"

#include "settings/textfields.h"

namespace pendo {

namespace {
// Plain arrays: the form description calls EventTreeItems while statics start.
constexpr char kHourPrefix[] = "時報 ";
constexpr char kHalfSuffix[] = "30分";
constexpr std::size_t kHourPrefixSize = sizeof kHourPrefix - 1;
constexpr int kHalfSuffixSize = sizeof kHalfSuffix - 1;
}  // namespace

std::string* EventItemSetting(teventsoundsettings& s, const std::string& text) {
  if (text == "告知時") return &s.noticed;
  if (text == "全時報") return &s.allclocked;
  if (text.compare(0, kHourPrefixSize, kHourPrefix) != 0) return nullptr;
  std::string digits = text.substr(kHourPrefixSize, 2);
  if (!digits.empty() && digits[0] == '0') digits.erase(0, 1);
  int hour = -1;
  if (!TryParseInteger(digits, hour) || hour < 0 || hour > 23) return nullptr;
  const bool half = RightText(text, kHalfSuffixSize) == kHalfSuffix;
  return &s.clocked[static_cast<std::size_t>(half ? 24 + hour : hour)];
}

std::string EventTreeItems() {
  std::string items = "イベント\t0\t0\n\tサウンド\t1\t2\n\t\t告知時\t4\t4\n\t\t全時報\t4\t4";
  for (int h = 0; h < 24; ++h) {
    const char hour[] = {static_cast<char>('0' + h / 10), static_cast<char>('0' + h % 10), '\0'};
    items += std::string("\n\t\t") + kHourPrefix + hour + "時\t4\t4";
    items += std::string("\n\t\t") + kHourPrefix + hour + "時" + kHalfSuffix + "\t4\t4";
  }
  return items;
}

}  // namespace pendo
