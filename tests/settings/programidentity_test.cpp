#include "settings/programidentity.h"

#include <gtest/gtest.h>

#include "settings/clockparts.h"
#include "settings/platform.h"

using namespace pendo;

TEST(ProgramIdentity, BaseNameDropsFolderAndLastExtension) {
  EXPECT_EQ(BaseNameOf("C:\\Tools\\My.Tool.EXE"), "my.tool");
  EXPECT_EQ(BaseNameOf("C:\\Pendo.exe"), "pendo");
  EXPECT_EQ(BaseNameOf("D:Pendo2.EXE"), "pendo2");
  EXPECT_EQ(BaseNameOf("noext"), "noext");
  EXPECT_EQ(BaseNameOf("C:\\dir.d\\name"), "name");
  EXPECT_EQ(BaseNameOf("C:\\dir\\"), "");
}

TEST(ProgramIdentity, TrailByteBackslashIsNoSeparator) {
  // "表" is 0x95 0x5C and "ソ" 0x83 0x5C in code page 932.
  const std::string hyou = "\x95\x5c";
  const std::string so = "\x83\x5c";
  const std::string path = "C:\\" + hyou + "\\" + so + "ft.exe";
  EXPECT_EQ(FileNameStart(path), 6u);
  EXPECT_EQ(BaseNameOf(path), so + "ft");
  EXPECT_EQ(BaseNameOf("C:\\x\\" + hyou + ".EXE"), hyou) << "lower-casing leaves double-byte characters alone";
  // A double-byte character whose trail byte is 'A' stays as it is.
  EXPECT_EQ(BaseNameOf("C:\\\x83\x41" "B.exe"), "\x83\x41" "b");
}

TEST(ProgramIdentity, RunningProgram) {
  const std::string folder = GetProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), platform::kPathDelimiter);
  EXPECT_EQ(GetProgramBaseName(), "settings_test");
}

TEST(ClockParts, RangesAndLabels) {
  EXPECT_EQ(WeekdayLabelOf(1), "(Sun)");
  EXPECT_EQ(WeekdayLabelOf(7), "(Sat)");
  EXPECT_EQ(WeekdayLabelOf(0), "");
  const int dow = GetDayOfWeek();
  EXPECT_GE(dow, 1);
  EXPECT_LE(dow, 7);
  EXPECT_EQ(GetWeekdayLabel().size(), 5u);
  EXPECT_GE(GetMonth(), 1);
  EXPECT_LE(GetMonth(), 12);
  EXPECT_GE(GetDay(), 1);
  EXPECT_LE(GetDay(), 31);
  EXPECT_LE(GetHour(), 23);
  EXPECT_LE(GetMinute(), 59);
}
