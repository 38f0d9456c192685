// Which sound setting an item of the event tree edits, found from its text.
#include <gtest/gtest.h>

#include <string>

#include "events/eventitem.h"

namespace pendo {
namespace {

TEST(EventItem, TextNamesItsSettingOrNone) {
  teventsoundsettings s;
  struct Case {
    const char* text;
    const std::string* setting;
  } cases[] = {
      {"告知時", &s.noticed},
      {"全時報", &s.allclocked},
      {"時報 00時", &s.clocked[0]},
      {"時報 09時", &s.clocked[9]},
      {"時報 09時30分", &s.clocked[33]},
      {"時報 23時30分", &s.clocked[47]},
      {"時報 24時", nullptr},
      {"時報 ab時", nullptr},
      {"時報", nullptr},
      {"サウンド", nullptr},
      {"イベント", nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(c.setting, EventItemSetting(s, c.text)) << c.text;
}

TEST(EventItem, TheTreeListsEveryHourAndHalfHourOnce) {
  const std::string items = EventTreeItems();
  teventsoundsettings s;
  int found = 0;
  std::string::size_type start = 0;
  while (start < items.size()) {
    auto end = items.find('\n', start);
    if (end == std::string::npos) end = items.size();
    std::string line = items.substr(start, end - start);
    start = end + 1;
    if (line.rfind("\t\t", 0) != 0) continue;
    const std::string text = line.substr(2, line.find('\t', 2) - 2);
    std::string* setting = EventItemSetting(s, text);
    ASSERT_NE(nullptr, setting) << text;
    EXPECT_TRUE(setting->empty()) << text << " listed twice";
    *setting = "x";
    ++found;
  }
  EXPECT_EQ(50, found);
}

}  // namespace
}  // namespace pendo
