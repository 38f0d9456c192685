#include "settings/profiler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#include <sys/stat.h>
#endif

#include "settings/fileerror.h"
#include "settings/platform.h"
#include "settings/profilelines.h"
#include "settings/programidentity.h"

using namespace pendo;

namespace {

std::string FreshProfile(const std::string& name) {
  const std::string path = tprofiler::ProfileFolder() + name;
  std::remove(path.c_str());
  return path;
}

std::string FileText(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(platform::ReadFileBytes(path, bytes)) << path;
  return bytes;
}

void WriteRaw(const std::string& path, const std::string& bytes) {
  platform::CreateFolderTree(tprofiler::ProfileFolder());
  platform::WriteFileAtomically(path, bytes);
}

}  // namespace

TEST(Profiler, MissingFileGivesDefaultsAndExistsAfterDestruction) {
  const std::string path = FreshProfile("profile_test_missing");
  {
    tprofiler p("profile_test_missing");
    EXPECT_EQ(p.FilePath(), path);
    EXPECT_EQ(p.ReadInteger("left", 40), 40);
    EXPECT_EQ(p.ReadString("x", "dflt"), "dflt");
    EXPECT_TRUE(p.ReadBool("lockmove", true));
    EXPECT_FALSE(platform::FileExists(path));
  }
  EXPECT_TRUE(platform::FileExists(path));
  EXPECT_EQ(FileText(path), "");
}

TEST(Profiler, ProgramsKeepTheFolderBesideThemWhileATestMayChooseItsOwn) {
  const std::string chosen = tprofiler::ProfileFolder();
  tprofiler::SetProfileFolder("");
  EXPECT_EQ(tprofiler::ProfileFolder(), GetProgramFolder() + "profile" + platform::kPathDelimiter);
  tprofiler::SetProfileFolder(chosen);
  EXPECT_NE(chosen, GetProgramFolder() + "profile" + platform::kPathDelimiter) << "the test main chose one";
  FreshProfile("profile_test_chosen");
  { tprofiler("profile_test_chosen").WriteBool("x", true); }
  EXPECT_EQ(FileText(chosen + "profile_test_chosen"), "x,1\r\n");
}

TEST(Profiler, NewestKeyFirstOneLineEach) {
  FreshProfile("profile_test_order");
  {
    tprofiler p("profile_test_order");
    p.WriteInteger("left", -12);
    EXPECT_EQ(p.ReadInteger("left", 40), -12);
    p.Save();
    EXPECT_EQ(FileText(p.FilePath()), "left,-12\r\n");
    p.WriteInteger("top", 1);
    p.WriteInteger("left", 2);
    p.WriteInteger("top", 3);
    p.Save();
    EXPECT_EQ(FileText(p.FilePath()), "top,3\r\nleft,2\r\n");
  }
  tprofiler again("profile_test_order");
  EXPECT_EQ(again.ReadInteger("top", 0), 3);
  EXPECT_EQ(again.ReadInteger("left", 0), 2);
}

TEST(Profiler, ValuesKeysAndTruth) {
  FreshProfile("profile_test_values");
  tprofiler p("profile_test_values");
  p.WriteString("pair", "a,b");
  EXPECT_EQ(p.ReadString("pair", ""), "a") << "only the text up to the next comma is the value";
  p.WriteString("flag", "yes");
  EXPECT_TRUE(p.ReadBool("flag", true));
  EXPECT_FALSE(p.ReadBool("flag", false));
  p.WriteString("flag", "2");
  EXPECT_TRUE(p.ReadBool("flag", false));
  p.WriteString("flag", "0");
  EXPECT_FALSE(p.ReadBool("flag", true));
  p.WriteBool("b", true);
  EXPECT_EQ(p.ReadString("b", ""), "1");
  p.WriteString("Left", "5");
  EXPECT_EQ(p.ReadInteger("left", 99), 99) << "keys are case-sensitive";
  p.WriteString("Strings", "3");
  EXPECT_EQ(p.ReadInteger("nokey", 8), 8);
}

TEST(Profiler, DuplicateKeysAndForeignLines) {
  const std::string path = FreshProfile("profile_test_dups");
  WriteRaw(path, "left,5\r\njust a line\r\nleft,9\r\nnocomma\r\n");
  {
    tprofiler p("profile_test_dups");
    EXPECT_EQ(p.ReadInteger("left", 0), 5);
    EXPECT_EQ(p.ReadString("nocomma", "dflt"), "") << "a matching line without comma has an empty value";
    p.WriteInteger("left", 7);
    p.Save();
  }
  EXPECT_EQ(FileText(path), "left,7\r\njust a line\r\nleft,9\r\nnocomma\r\n");
}

TEST(Profiler, OddBytesAreWrittenBackUnchanged) {
  const std::string path = FreshProfile("profile_test_bytes");
  std::string big(1 << 20, 'x');
  big[0] = 'k';
  big[1] = ',';
  const std::string nul("a\0b,c", 5);
  // CR-only and LF-only ends, a NUL, a 1 MB line, invalid Shift-JIS, no final end.
  const std::string raw = "one,1\rtwo,2\n" + nul + "\r\n" + big + "\r\n\x81\xff\xfe,\x82\r\nlast,x";
  WriteRaw(path, raw);
  {
    tprofiler p("profile_test_bytes");
    ASSERT_EQ(p.Lines().size(), 6u);
    EXPECT_EQ(p.Lines()[2], nul);
    EXPECT_EQ(p.Lines()[3].size(), big.size());
    EXPECT_EQ(p.ReadString("two", ""), "2");
    EXPECT_EQ(p.ReadString("last", ""), "x");
  }
  const std::string expect = "one,1\r\ntwo,2\r\n" + nul + "\r\n" + big + "\r\n\x81\xff\xfe,\x82\r\nlast,x\r\n";
  EXPECT_EQ(FileText(path), expect);
}

TEST(ProfileLines, LineEnds) {
  EXPECT_TRUE(SplitProfileLines("").empty());
  EXPECT_EQ(SplitProfileLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitProfileLines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitProfileLines("\r\r\n"), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(JoinProfileLines({"a", ""}), "a\r\n\r\n");
}

TEST(Profiler, FailedSaveRaisesAndKeepsTheOldFile) {
  const std::string path = FreshProfile("profile_test_fail");
  WriteRaw(path, "keep,1\r\n");
  tprofiler p("profile_test_fail");
  p.WriteString("keep", "2");
  // A folder where the temporary file would go makes every write fail.
  const std::string blocker = path + "." +
#ifdef _WIN32
                              std::to_string(GetCurrentProcessId())
#else
                              std::to_string(getpid())
#endif
                              + ".tmp";
  ASSERT_TRUE(platform::CreateFolderTree(blocker));
  EXPECT_THROW(p.Save(), EFileError);
  EXPECT_EQ(FileText(path), "keep,1\r\n");
#ifdef _WIN32
  RemoveDirectoryA(blocker.c_str());
#else
  rmdir(blocker.c_str());
#endif
  p.Save();
  EXPECT_EQ(FileText(path), "keep,2\r\n");
}
