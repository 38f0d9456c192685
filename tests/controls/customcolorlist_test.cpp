// The custom colour lines: read by name in any order, replaced in place,
// missing ones added, bad values told apart and mended.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/customcolorlist.h"

namespace pendo {
namespace {

using Lines = std::vector<std::string>;
constexpr auto kEmpty = tcustomcolorlist::kEmpty;

tcustomcolorlist ListOf(const std::string& bytes) {
  tcustomcolorlist list;
  list.LoadFromBytes(bytes);
  return list;
}

TEST(CustomColorList, SlotValuesFromTheirLines) {
  struct Case {
    const char* bytes;
    std::uint32_t a, b;  // slots ColorA and ColorB
    std::vector<int> broken;
  } cases[] = {
      {"", kEmpty, kEmpty, {}},
      {"ColorA=ffffff\r\nColorB=0000ff\r\n", 0xFFFFFF, 0x0000FF, {}},
      {"ColorB=1e140a\nColorA=000000", 0, 0x1E140A, {}},   // any order, lone LF, no last end
      {"colora=ABCDEF\r\n", 0xABCDEF, kEmpty, {}},          // letters without case
      {"ColorA=ffffffff\r\nColorB=f\r\n", kEmpty, 0xF, {}},  // the empty slot as written
      {"ColorA=1\r\nColorA=2\r\n", 1, kEmpty, {}},           // the first line of a name counts
      {"ColorA=zz\r\nColorB=00ff00\r\n", kEmpty, 0x00FF00, {0}},
      {"ColorA=\r\nColorB=123456789\r\n", kEmpty, kEmpty, {0, 1}},
      {"ColorA= 12\r\nColorB=-1\r\n", kEmpty, kEmpty, {0, 1}},  // blanks, signs
      {"ColorA=1000000\r\nColorB=FF123456\r\n", 0, 0x123456, {}},  // the top byte is dropped
      {"ColorAB=12\r\nColorA\r\nxColorB=1\r\n", kEmpty, kEmpty, {}},  // other names
  };
  for (const auto& c : cases) {
    std::vector<int> broken;
    const auto slots = ListOf(c.bytes).Slots(&broken);
    EXPECT_EQ(c.a, slots[0]) << c.bytes;
    EXPECT_EQ(c.b, slots[1]) << c.bytes;
    EXPECT_EQ(c.broken, broken) << c.bytes;
    for (int i = 2; i < tcustomcolorlist::kSlots; ++i) EXPECT_EQ(kEmpty, slots[i]) << c.bytes;
  }
}

TEST(CustomColorList, WritingKeepsTheFileOrderAndOtherLinesAndAddsMissingSlotsAtTheEnd) {
  auto list = ListOf("ColorC=000001\r\n; mine\r\nColorA=zz\r\ncolorb=000002\r\n");
  tcustomcolorlist::tslots slots;
  for (int i = 0; i < tcustomcolorlist::kSlots; ++i) slots[i] = 0x010203u * static_cast<std::uint32_t>(i);
  slots[15] = kEmpty;
  list.SetSlots(slots);
  const Lines& lines = list.Lines();
  ASSERT_EQ(17u, lines.size());
  EXPECT_EQ((Lines{"ColorC=020406", "; mine", "ColorA=000000", "ColorB=010203", "ColorD=030609"}),
            Lines(lines.begin(), lines.begin() + 5));
  EXPECT_EQ("ColorP=ffffffff", lines.back());
  EXPECT_EQ("ColorC=020406\r\n; mine\r\n", list.SaveToBytes().substr(0, 23));
  // What was written reads back, the empty slot included.
  std::vector<int> broken;
  EXPECT_EQ(slots, ListOf(list.SaveToBytes()).Slots(&broken));
  EXPECT_TRUE(broken.empty());
}

}  // namespace
}  // namespace pendo
