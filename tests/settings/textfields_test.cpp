#include "settings/textfields.h"

#include <gtest/gtest.h>

#include <string>

using namespace pendo;

TEST(SplitText, LimitsAndPieces) {
  ttextslots s;
  EXPECT_EQ(SplitText("a+b+c", '+', s, -1), 3);
  EXPECT_EQ(s[0], "a");
  EXPECT_EQ(s[1], "b");
  EXPECT_EQ(s[2], "c");

  EXPECT_EQ(SplitText("a+b+c", '+', s, 0), 1);
  EXPECT_EQ(s[0], "a");
  EXPECT_EQ(s[1], "");

  EXPECT_EQ(SplitText("a+b+c", '+', s, 1), 2);
  EXPECT_EQ(s[1], "b");
  EXPECT_EQ(s[2], "");
}

TEST(SplitText, NoSeparatorEmptyTextAndEmptyPieces) {
  ttextslots s;
  s[3] = "stale";
  EXPECT_EQ(SplitText("whole", ',', s, -1), 1);
  EXPECT_EQ(s[0], "whole");
  EXPECT_EQ(s[3], "") << "slots a split does not fill are empty";

  EXPECT_EQ(SplitText("", ',', s, -1), 1);
  EXPECT_EQ(s[0], "");

  EXPECT_EQ(SplitText(",,a,", ',', s, -1), 4);
  EXPECT_EQ(s[0], "");
  EXPECT_EQ(s[1], "");
  EXPECT_EQ(s[2], "a");
  EXPECT_EQ(s[3], "");
}

TEST(SplitText, StopsAfterTwentyFourSlots) {
  std::string text;
  for (int i = 0; i <= 30; ++i) text += std::to_string(i) + (i < 30 ? "," : "");
  ttextslots s;
  EXPECT_EQ(SplitText(text, ',', s, -1), 24);
  EXPECT_EQ(s[23], "23") << "text after the 24th separator is dropped";
  // A limit beyond the slots cannot overrun them.
  EXPECT_EQ(SplitText(text, ',', s, 100), 24);
}

TEST(GetField, RecordFieldsAndMissingFields) {
  const std::string record = "0,1,2,3,12,30,hello.wav";
  EXPECT_EQ(GetField(record, 6), "hello.wav");
  EXPECT_EQ(GetField(record, 0), "0");
  EXPECT_EQ(GetField("nocommas", 3), "");
  EXPECT_EQ(GetField("nocommas", 0), "nocommas");
  EXPECT_EQ(GetField("key,a,b", 1), "a");
  EXPECT_EQ(GetField("key", 1), "");
  EXPECT_EQ(GetField("a,b", -1), "");
  EXPECT_EQ(GetField("a,b", 24), "");
}

TEST(TextPieces, LeftRightAndTruth) {
  EXPECT_EQ(LeftText("abcdef", 2), "ab");
  EXPECT_EQ(LeftText("abc", 10), "abc");
  EXPECT_EQ(LeftText("abc", 0), "");
  EXPECT_EQ(LeftText("abc", -5), "");
  EXPECT_EQ(RightText("abcdef", 2), "ef");
  EXPECT_EQ(RightText("abc", 10), "abc");
  EXPECT_EQ(RightText("abc", -1), "");
  EXPECT_TRUE(IntToBool(1));
  EXPECT_FALSE(IntToBool(2));
  EXPECT_FALSE(IntToBool(-1));
  EXPECT_EQ(BoolToInt(true), 1);
  EXPECT_EQ(BoolToInt(false), 0);
}

TEST(TryParseInteger, AcceptsOnlyWholeDecimalIntegers) {
  int v = 7;
  EXPECT_TRUE(TryParseInteger("-12", v));
  EXPECT_EQ(v, -12);
  EXPECT_TRUE(TryParseInteger(" 40 ", v));
  EXPECT_EQ(v, 40);
  EXPECT_TRUE(TryParseInteger("-2147483648", v));
  EXPECT_EQ(v, -2147483647 - 1);
  EXPECT_TRUE(TryParseInteger("2147483647", v));
  EXPECT_TRUE(TryParseInteger("$1F", v));
  EXPECT_EQ(v, 31);
  EXPECT_TRUE(TryParseInteger("$ffffffff", v));
  EXPECT_EQ(v, -1);
  EXPECT_TRUE(TryParseInteger("-$10", v));
  EXPECT_EQ(v, -16);
  for (const char* bad : {"", "-", "yes", "12a", "1 2", "2147483648", "99999999999999999999", "Strings", "$",
                          "$1G", "$100000000", "1F"}) {
    EXPECT_FALSE(TryParseInteger(bad, v)) << bad;
  }
}
