#include "notices/noticelist.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "notices/noticerecord.h"
#include "settings/platform.h"
#include "settings/profiler.h"

using namespace pendo;

namespace {

// A minute of the clock: day of week (1 = Sunday), month, day, hour, minute.
struct tminute {
  int dow, month, day, hour, minute;
  platform::tlocaltime Time() const { return {2026, month, day, dow - 1, hour, minute, 0}; }
};

std::string TestPath(const std::string& name) {
  platform::CreateFolderTree(tprofiler::ProfileFolder());
  const std::string path = tprofiler::ProfileFolder() + name;
  std::remove(path.c_str());
  return path;
}

}  // namespace

TEST(NoticeRecord, DisplayTexts) {
  const struct {
    const char* record;
    const char* text;
  } cases[] = {
      {"0,0,0,0,12,30,会議", "毎週 日曜日 12時30分 会議"},
      {"0,6,0,0,12,30,会議", "毎週 土曜日 12時30分 会議"},
      {"1,0,11,24,9,0,休み", "12月25日9時0分 休み"},
      {"2,3,5,7,7,5,朝", "毎日 7時5分 朝"},
      {"0,9,0,0,8,0,x", "毎週 8時0分 x"},
      {"0,-1,0,0,8,0,x", "毎週 8時0分 x"},
      {"", "毎日 時分 "},
      {"7,0,0,0,8,05,x", "毎日 8時05分 x"},  // any other type is daily; fields copied as they stand
      {"1,x,y,,9,0,m", "1月1日9時0分 m"},   // month and day that are no number count as 0
      {"1,0,2147483647,0,9,0,m", "2147483648月1日9時0分 m"},
      {"0,0,0,0,8,0,a,b", "毎週 日曜日 8時0分 a"},  // a comma ends the message
      {kNewNoticeRecord, "毎週 日曜日 0時0分 新しいメッセージ"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatNoticeText(c.record), c.text) << c.record;
  tnoticerecord record;
  ParseNoticeRecord("0,0,0,0,8,0,a,b", record);
  EXPECT_EQ(record.Message(), "a");
}

TEST(NoticeRecord, ParseAndFormat) {
  // A line on the format formats back to itself; any other is read as the
  // wizard shows it, and what it then writes reads back the same.
  const struct {
    const char* line;
    bool onformat;
    tnoticerecord record;
  } cases[] = {
      {kNewNoticeRecord, true, {0, 0, 0, 0, 0, 0, "新しいメッセージ"}},
      {"1,6,11,30,23,59,a,b", true, {1, 6, 11, 30, 23, 59, "a,b"}},
      {"-1,-1,0,0,9,0,", true, {-1, -1, 0, 0, 9, 0, ""}},  // lists without a selection
      {"2,0,0,0,7,05,x", false, {2, 0, 0, 0, 7, 5, "x"}},
      {"0,x,,+3,$A,-0,m", false, {0, 0, 0, 3, 10, 0, "m"}},
      {"2,0,0,0,7,0", false, {2, 0, 0, 0, 7, 0, ""}},
      {"", false, {}},
  };
  for (const auto& c : cases) {
    tnoticerecord r;
    EXPECT_EQ(ParseNoticeRecord(c.line, r), c.onformat) << c.line;
    EXPECT_TRUE(r == c.record) << c.line;
    if (c.onformat) {
      EXPECT_EQ(FormatNoticeRecord(r), c.line);
    }
    tnoticerecord again;
    EXPECT_TRUE(ParseNoticeRecord(FormatNoticeRecord(r), again) && again == r) << c.line;
  }
}

TEST(NoticeRecord, DueTest) {
  // Tuesday 2026-12-08 is day of week 3.
  const struct {
    const char* record;
    tminute clock;
    bool due;
  } cases[] = {
      {"0,2,0,0,8,15,x", {3, 12, 8, 8, 15}, true},
      {"0,2,0,0,8,15,x", {4, 12, 9, 8, 15}, false},
      {"0,2,0,0,8,15,x", {3, 12, 8, 8, 16}, false},
      {"0,2,0,0,8,15,x", {3, 12, 8, 20, 15}, false},
      {"1,0,11,24,0,0,x", {6, 12, 25, 0, 0}, true},
      {"1,0,11,24,0,0,x", {3, 11, 25, 0, 0}, false},
      {"1,0,11,24,0,0,x", {6, 12, 24, 0, 0}, false},
      {"2,0,0,0,7,0,x", {1, 1, 1, 7, 0}, true},
      {"2,0,0,0,7,0,x", {5, 6, 30, 7, 0}, true},
      {"9,5,5,5,7,0,x", {5, 6, 30, 7, 0}, true},
      {"2,0,0,0,7,05,x", {1, 1, 1, 7, 5}, false},
      {"0,7,0,0,7,0,x", {1, 1, 1, 7, 0}, false},
      {"0,-1,0,0,7,0,x", {1, 1, 1, 7, 0}, false},
      {"", {1, 1, 1, 0, 0}, false},
      {"2,0,0,0,7", {1, 1, 1, 7, 0}, false},
      {"2", {1, 1, 1, 0, 0}, false},
  };
  for (auto c : cases) {
    EXPECT_EQ(IsNoticeDue(c.record, c.clock.Time()), c.due)
        << c.record << " at dow " << c.clock.dow << " " << c.clock.month << "/" << c.clock.day << " "
        << c.clock.hour << ":" << c.clock.minute;
  }
}

TEST(NoticeList, SortsByTextIgnoringCase) {
  tnoticelist list;
  for (const char* line : {"2,0,0,0,9,0,a", "0,0,0,0,10,0,b", "0,0,0,0,9,0,c"}) list.Add(line);
  list.Sort();
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"0,0,0,0,10,0,b", "0,0,0,0,9,0,c", "2,0,0,0,9,0,a"}));

  tnoticelist words;
  for (const char* line : {"b", "C", "a", "B", "A", "c", "a"}) words.Add(line);
  words.Sort();
  for (int i = 0; i + 1 < words.Count(); ++i) {
    EXPECT_LE(platform::CompareTextIgnoringCase(words[i], words[i + 1]), 0) << i;
    EXPECT_EQ(words[i].size(), 1u);
  }
  EXPECT_EQ(words.Count(), 7);
}

TEST(NoticeList, FileLineEndsNulAndRoundTrip) {
  const std::string path = TestPath("element_noticelist_test");
  tnoticelist list;
  EXPECT_EQ(list.Load(path), tnoticelist::tloadresult::Missing);
  EXPECT_EQ(list.Count(), 0);
  list.Save(path);
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes)) << "saving an empty list creates the file";
  EXPECT_EQ(bytes, "");

  platform::WriteFileAtomically(path, std::string("a\rb\nc\r\n\r\nd,e,f,g,h,i,j,k\n\rx", 27) +
                                          std::string("\0y\r\nz", 5));
  ASSERT_EQ(list.Load(path), tnoticelist::tloadresult::Loaded);
  EXPECT_EQ(list.Lines(), (std::vector<std::string>{"a", "b", "c", "", "d,e,f,g,h,i,j,k", "", "x"}));
  list.Save(path);
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "a\r\nb\r\nc\r\n\r\nd,e,f,g,h,i,j,k\r\n\r\nx\r\n");
  ASSERT_EQ(list.Load(path), tnoticelist::tloadresult::Loaded);
  EXPECT_EQ(list.Count(), 7) << "what was written reads back as the same records";
  std::remove(path.c_str());
}
