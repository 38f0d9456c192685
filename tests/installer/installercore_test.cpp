// The setup script's text formats and the safety checks, as plain text.
// Shift-JIS is spelled in bytes: "\x83\x5C" is ソ and "\x95\x5C" is 表, both
// with the trail byte of '\'.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "installer/archivecopy.h"
#include "installer/installrecord.h"
#include "installer/installsafety.h"
#include "settings/profiletext.h"
#include "installer/scriptformat.h"
#include "installer/setupcommandline.h"

using namespace pendo;

namespace {
const std::string kSo = "\x83\x5C";
const std::string kHyo = "\x95\x5C";
}  // namespace

TEST(ScriptFormat, EntriesSplitAtFirstAndLastEquals) {
  const struct {
    std::string entry, name, value;
  } cases[] = {
      {"Pendo.exe=1024", "Pendo.exe", "1024"},
      {"a=b=c", "a", "c"},  // a value holding '=' keeps only its last part
      {"=x", "", "x"},
      {"none", "", ""},
      {kSo + ".txt=" + kHyo, kSo + ".txt", kHyo},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetEntryName(c.entry), c.name) << c.entry;
    EXPECT_EQ(GetEntryValue(c.entry), c.value) << c.entry;
  }
}

TEST(ScriptFormat, CollectEntriesKeepsFirstOfEachNameAndDropsEmptyValues) {
  const std::map<std::string, std::string> values{{"b", "1"}, {"A", "2"}, {"a", "3"}, {"e", ""}, {"z", "9"}};
  auto valueOf = [&](const std::string& n) { return values.count(n) ? values.at(n) : std::string(); };
  const std::string names("b\0A\0e\0a\0z\0", 10);
  EXPECT_EQ(CollectEntries(names, valueOf), (tentrylist{"b=1", "A=2", "z=9"}));
  // A name without its NUL was cut by the buffer's end and is not seen.
  EXPECT_EQ(CollectEntries(std::string("b\0zz", 4), valueOf), (tentrylist{"b=1"}));
  EXPECT_TRUE(CollectEntries(std::string(), valueOf).empty());
}

TEST(ProfileText, ReadsAsTheProfileFunctionsDo) {
  // "\x83\x41" (ア) and "\x83\x61" (ャ) differ only where ASCII case would fold.
  const tprofiletext text(" [ Pro ]\n key = v 1 \r\nq=\"a b\"\rs='x'\r\nodd=\"y\r\n;c=1\r\nkey=second\r\n"
                          "[\x83\x41]\r\nk=a\r\n[\x83\x61]\r\nk=b\r\n[pro]\r\nlate=1\r\n[" + kSo + "]\r\n" + kHyo +
                          "=\x82\xA0\r\n[eof]\r\nlast=no end");
  const struct {
    const char* section;
    std::string key;
    bool found;
    std::string value;
  } cases[] = {
      {"PRO", "KEY", true, "v 1"},  // names in any case, blanks around names and values dropped
      {"pro", "q", true, "a b"},    // one pair of quotes dropped
      {"pro", "s", true, "x"},
      {"pro", "odd", true, "\"y"},  // an unpaired quote stays
      {"pro", ";c", false, ""},     // a comment is no key
      {"pro", "late", false, ""},   // only the first section of a name counts
      {"\x83\x41", "k", true, "a"},
      {"\x83\x61", "k", true, "b"},
      {kSo.c_str(), kHyo, true, "\x82\xA0"},
      {"eof", "last", true, "no end"},
      {"none", "key", false, ""},
  };
  for (const auto& c : cases) {
    std::string value = "untouched";
    EXPECT_EQ(text.Read(c.section, c.key, value), c.found) << c.section << "/" << c.key;
    EXPECT_EQ(value, c.found ? c.value : "untouched") << c.section << "/" << c.key;
  }
  EXPECT_EQ(text.KeyNames("Pro"), (std::vector<std::string>{"key", "q", "s", "odd", "key"}));
}

TEST(ProfileText, EditsTouchOnlyTheirLines) {
  const std::string file = "; note\r\n[a]\r\n x = 1 \r\ny=2\r\n\r\n[b]\nz=3\n[A]\r\nw=4\r\n";
  const struct {
    const char* what;
    std::string before;
    std::function<void(tprofiletext&)> edit;
    std::string after;
  } cases[] = {
      {"value replaced in its line", file, [](tprofiletext& t) { t.Write("A", "X", "9"); },
       "; note\r\n[a]\r\nx=9\r\ny=2\r\n\r\n[b]\nz=3\n[A]\r\nw=4\r\n"},
      {"key added after the last line", file, [](tprofiletext& t) { t.Write("a", "n", "5"); },
       "; note\r\n[a]\r\n x = 1 \r\ny=2\r\nn=5\r\n\r\n[b]\nz=3\n[A]\r\nw=4\r\n"},
      {"section added at the end", "[a]\r\nx=1", [](tprofiletext& t) { t.Write("c", "k", "v"); },
       "[a]\r\nx=1\r\n[c]\r\nk=v\r\n"},
      {"new file", "", [](tprofiletext& t) { t.Write("Pendo", "InstallationDirectory", "C:\\" + kSo); },
       "[Pendo]\r\nInstallationDirectory=C:\\" + kSo + "\r\n"},
      {"key after a header without an end", "[a]", [](tprofiletext& t) { t.Write("a", "k", "v"); },
       "[a]\r\nk=v\r\n"},
      {"key removed", file, [](tprofiletext& t) { EXPECT_TRUE(t.RemoveKey("a", "x")); },
       "; note\r\n[a]\r\ny=2\r\n\r\n[b]\nz=3\n[A]\r\nw=4\r\n"},
      {"every section of the name removed", file, [](tprofiletext& t) { EXPECT_TRUE(t.RemoveSection("a")); },
       "; note\r\n[b]\nz=3\n"},
      {"nothing to remove", file,
       [](tprofiletext& t) { EXPECT_FALSE(t.RemoveKey("b", "x") || t.RemoveSection("c")); }, file},
  };
  for (const auto& c : cases) {
    tprofiletext text(c.before);
    c.edit(text);
    EXPECT_EQ(text.Bytes(), c.after) << c.what;
  }
}

TEST(ScriptFormat, FlagsAndSizes) {
  const struct {
    const char* text;
    bool flag;
    std::uint32_t size;
  } cases[] = {
      {"1", true, 1},     {"0x1", true, 0},   {"0X10", true, 0}, {"$1", true, 0},   {"yes", false, 0},
      {"0", false, 0},    {"", false, 0},     {"-1", true, 0},   {" 7 ", true, 7},  {"1048577", true, 1048577},
      {"99999999999", false, 0},  // out of range: no number at all
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseFlag(c.text), c.flag) << c.text;
    EXPECT_EQ(ParseSize(c.text), c.size) << c.text;
  }
  const auto items = ReadBindList({"a.exe=10", "b.dat=x", "c.dll=3000000"});
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[1].size, 0u) << "a size that is no number counts as 0";
  EXPECT_EQ(BindTotal(items), 3000010u);
  EXPECT_EQ(EstimatedSizeKiB(3000010), 2930u) << "KiB rounded up";
  EXPECT_EQ(EstimatedSizeKiB(0), 0u);
  EXPECT_EQ(EstimatedSizeKiB(~0ull), 0xFFFFFFFFu);
  std::uint32_t crc = 1;
  for (const char* bad : {"", "1234567", "123456789", "1234567g", "0x123456", "-1234567"})
    EXPECT_FALSE(ParseChecksum(bad, crc)) << bad;
  ASSERT_TRUE(ParseChecksum(" cbF43926 ", crc));
  EXPECT_EQ(crc, 0xCBF43926u);
  const auto locks = InstanceLockNames(ReadBindList({"Pendo.exe=1", "readme.txt=1", "bin\\PENDO.EXE=1", "Tool.Exe=1"}));
  EXPECT_EQ(locks, (std::vector<std::string>{"pendo", "tool"})) << "each program's lock once, by its base name";
}

TEST(ScriptFormat, RelationTakesVerbAndCommandFields) {
  const struct {
    std::string entry, verb, command;
  } cases[] = {
      {".txt=open,Pendo.exe %1", "open", "C:\\P\\Pendo.exe %1"},
      {".txt=open,Pendo.exe,extra", "open", "C:\\P\\Pendo.exe"},
      {".txt=open", "open", "C:\\P\\"},
  };
  for (const auto& c : cases) {
    const tfileverb v = SplitRelation(c.entry, "C:\\P\\");
    EXPECT_EQ(v.extension, ".txt");
    EXPECT_EQ(v.verb, c.verb) << c.entry;
    EXPECT_EQ(v.command, c.command) << c.entry;
  }
}

TEST(ScriptFormat, FoldersPathsAndTheUninstallCommand) {
  EXPECT_EQ(StoredFolder("C:\\Program Files\\Pendo\\"), "C:\\Program Files\\Pendo");
  EXPECT_EQ(StoredFolder("C:\\" + kSo), "C:\\" + kSo) << "a trail byte 0x5C is no trailing separator";
  EXPECT_EQ(FolderPrefix("C:\\" + kSo + "\\"), "C:\\" + kSo + "\\");
  EXPECT_EQ(FolderPartOf("C:\\" + kHyo + "\\mondax.uix"), "C:\\" + kHyo + "\\");
  EXPECT_EQ(ExtensionOf("C:\\A B\\MONDAX.UIX"), ".uix");
  EXPECT_EQ(ExtensionOf("C:\\a.b\\file"), "");
  EXPECT_EQ(JoinParameters({"C:\\Program", "Files\\A", "", "B\\mondax.uix"}), "C:\\Program Files\\A B\\mondax.uix");
  EXPECT_EQ(JoinParameters({}), "");
  EXPECT_EQ(MakeUninstallString("C:\\windows\\", "C:\\A  B\\"), "\"C:\\windows\\mondax.exe\" \"C:\\A  B\\mondax.uix\"");
  EXPECT_TRUE(IsBelowFolder("c:\\pendo clock\\Pendo.exe %1", "C:\\Pendo Clock\\"));
  EXPECT_FALSE(IsBelowFolder("C:\\Pendo Clock2\\Pendo.exe", "C:\\Pendo Clock\\")) << "a sibling is not below";
  EXPECT_FALSE(IsBelowFolder("C:\\Pendo Clock\\", "C:\\Pendo Clock\\"));
  EXPECT_FALSE(IsBelowFolder("C:\\x", ""));
}

TEST(InstallSafety, NamesAndContainedPaths) {
  const struct {
    std::string path;
    bool plain, contained;
  } cases[] = {
      {"Pendo.exe", true, true},
      {kSo + ".txt", true, true},
      {"data\\" + kHyo + "\\x.bmp", false, true},
      {"data/x.bmp", false, true},
      {"", false, false},
      {"..", false, false},
      {"...", false, false},
      {". .", false, false},
      {"..\\evil.dll", false, false},
      {"a\\..\\..\\evil.dll", false, false},
      {"a\\.. \\evil.dll", false, false},
      {"\\windows\\evil.dll", false, false},
      {"\\\\server\\share\\x", false, false},
      {"C:\\evil.dll", false, false},
      {"C:evil.dll", false, false},
      {"a.txt:stream", false, false},
      {"a\\\\b", false, false},
      {"a\\", false, false},
      {"sub.\\x.txt", false, false},  // the file system would write "sub\x.txt"
      {"x.txt ", true, false},
      {"nul", false, false},
      {"Com1.txt", false, false},
      {"a*b", false, false},
      {std::string("a\x83"), false, false},  // a character cut in half
      {std::string("\xe4:x"), false, false},  // a lead byte before no trail byte
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsPlainName(c.path), c.plain) << c.path;
    EXPECT_EQ(IsContainedPath(c.path), c.contained) << c.path;
  }
}

TEST(InstallSafety, ScriptsThatLeaveTheirFoldersAreRefused) {
  const tscriptcontent fit{"Pendo",
                               {"Pendo.exe=100", "profile\\x.txt=0"},
                               {"old.dll=x"},
                               {"a.txt=b.txt"},
                               {".pnd=open,Pendo.exe %1"},
                               {"Pendo.exe=Pendo " + kSo},
                               {"profile=設定"}};
  EXPECT_EQ(FindScriptFault(fit), "");
  const struct {
    const char* what;
    void (*spoil)(tscriptcontent&);
  } cases[] = {
      {"empty name", [](tscriptcontent& s) { s.applicationName = ""; }},
      {"name with folder", [](tscriptcontent& s) { s.applicationName = "..\\Run"; }},
      {"bind", [](tscriptcontent& s) { s.bind.push_back("..\\..\\windows\\evil.dll=4"); }},
      {"bind drive", [](tscriptcontent& s) { s.bind.push_back("C:\\evil.dll=4"); }},
      {"erase", [](tscriptcontent& s) { s.erase.push_back("\\autoexec.bat=x"); }},
      {"rename old", [](tscriptcontent& s) { s.rename.push_back("..\\a=b"); }},
      {"rename new", [](tscriptcontent& s) { s.rename.push_back("a=..\\..\\b"); }},
      {"shortcut target", [](tscriptcontent& s) { s.shortCut.push_back("..\\cmd.exe=x"); }},
      {"shortcut title", [](tscriptcontent& s) { s.shortCut.push_back("Pendo.exe=..\\..\\Startup\\x"); }},
      {"relation key", [](tscriptcontent& s) { s.relation.push_back("txt\\shell=open,x"); }},
      {"settings outside", [](tscriptcontent& s) { s.settings.push_back("..\\Documents=x"); }},
  };
  for (const auto& c : cases) {
    tscriptcontent s = fit;
    c.spoil(s);
    EXPECT_NE(FindScriptFault(s), "") << c.what;
  }
}

TEST(InstallSafety, OnlyEmptyOrOwnFoldersJudgedOnTheirCanonicalForm) {
  const tprotectedfolders protectedFolders{{"C:\\Program Files\\", "C:\\users\\me\\Desktop", "C:\\users\\me"},
                                          {"C:\\windows\\", "T:\\"}};  // T: a drive linked to the Windows folder
  using V = tfolderverdict;
  const auto install = tfolderuse::Installation, removal = tfolderuse::Removal;
  // canonical "=" stands for the typed text; holds: "" (no folder), "empty",
  // "files", "uix:<product>", "link:<path>" or "net" (a network drive).
  const struct {
    std::string typed, canonical;
    tfolderuse use;
    V verdict;
    std::string holds;
  } cases[] = {
      {"C:\\Program Files\\Pendo\\", "=", install, V::Fit, ""},
      {"c:/program files/" + kSo, "=", install, V::Fit, "empty"},
      {"C:\\Pendo", "=", install, V::Fit, "own:PENDO"},  // its own, in any case
      {"C:\\Pendo", "=", install, V::NotOwnInstallation, "uix:Pendo"},  // a copied or restored script
      {"C:\\Pendo", "=", install, V::Fit, "record:Pendo"},  // a run stopped right after its record
      {"C:\\Pendo", "=", install, V::OtherProduct, "record:Other"},
      {"C:\\Tools\\Other\\Pendo", "=", install, V::OtherProduct, ""},  // inside another installation
      {"C:\\TOOLS", "=", install, V::OtherProduct, "empty"},               // above one
      {"C:\\Tools\\Other2", "=", install, V::Fit, ""},
      {"C:\\Users\\me\\Pictures", "=", install, V::NotEmpty, "files"},
      {"C:\\Tools", "=", install, V::OtherProduct, "uix:Other"},
      {"C:\\Program Files\\Pendo", "=", removal, V::NoUninstallScript, "files"},
      {"C:\\Pendo", "=", removal, V::Fit, "own:Pendo"},
      {"C:\\Pendo", "=", removal, V::NotOwnInstallation, "uix:Pendo"},  // a stale copy, a data folder
      {"C:\\Pendo", "=", removal, V::NotOwnInstallation, "own:"},       // no product to own it
      {"C:\\Pendo", "=", removal, V::Fit, "ownrecord:Pendo"},           // stopped before its script
      {"C:\\", "=", removal, V::DriveRoot, "uix:Pendo"},
      {"d:", "=", install, V::DriveRoot, ""},
      {"\\", "=", install, V::DriveRoot, ""},
      {"S:\\", "C:\\windows", install, V::DriveRoot, ""},  // whatever the drive stands for
      {"\\\\server\\share\\", "=", install, V::NetworkFolder, ""},
      {"\\\\localhost\\C$\\windows", "=", removal, V::NetworkFolder, "uix:Pendo"},
      {"N:\\Pendo", "=", install, V::NetworkFolder, "net"},
      {"M:\\Pendo", "\\\\server\\share\\Pendo", install, V::NetworkFolder, ""},  // a drive mapped to a share
      {"\\\\?\\C:\\Pendo", "=", install, V::NotAbsolute, ""},
      {"C:\\WINDOWS", "=", removal, V::SystemFolder, "uix:Pendo"},
      {"C:\\Windows\\Pendo", "=", install, V::SystemFolder, ""},  // nothing below the Windows folder
      {"S:\\Pendo", "C:\\windows\\Pendo", install, V::SystemFolder, ""},  // a substituted drive
      {"T:\\Pendo", "=", install, V::SystemFolder, ""},
      {"C:\\PROGRA~1", "C:\\Program Files", install, V::SystemFolder, "files"},
      {"C:\\users", "=", install, V::SystemFolder, "files"},  // holds a protected folder
      {"C:\\users\\me\\Desktop\\", "=", install, V::SystemFolder, "empty"},
      {"C:\\Documents and Settings\\me", "C:\\users\\me", removal, V::SystemFolder, "link:C:\\Documents and Settings"},
      {"C:\\windows.", "C:\\windows", install, V::TrailingDotOrBlank, "files"},
      {"C:\\Pendo \\x", "C:\\Pendo\\x", install, V::TrailingDotOrBlank, ""},
      {"C:\\Data\\Pendo", "=", install, V::Link, "link:C:\\Data"},
      {"C:\\Data\\Pendo", "=", removal, V::Link, "link:C:\\Data\\Pendo"},
      {"X:\\Pendo", "", install, V::Unresolved, ""},  // no such drive, or no name in the code page
      {"C:\\Program Files\\..", "=", removal, V::NotAbsolute, "uix:Pendo"},
      {"C:\\Program Files\\Pendo\\.", "=", removal, V::NotAbsolute, "uix:Pendo"},
      {"Pendo", "=", install, V::NotAbsolute, ""},
      {"\\Pendo", "=", install, V::NotAbsolute, ""},
      {"C:Pendo", "=", install, V::NotAbsolute, ""},
  };
  for (const auto& c : cases) {
    tfolderfacts facts;
    facts.typed = c.typed;
    facts.canonical = c.canonical == "=" ? c.typed : c.canonical;
    facts.exists = !c.holds.empty() && c.holds != "net";
    facts.empty = c.holds == "empty";
    const auto colon = c.holds.find(':');
    const std::string kind = c.holds.substr(0, colon);
    facts.hasUninstallScript = kind == "uix" || kind == "own";
    facts.hasRecord = kind == "record" || kind == "ownrecord";
    facts.onlyRecord = kind == "record";
    facts.registered = facts.entered = kind == "own" || kind == "ownrecord";
    if (facts.hasUninstallScript || facts.hasRecord) facts.installedProduct = c.holds.substr(colon + 1);
    facts.installations = {{"Other", "C:\\Tools\\Other"}, {"Pendo", "C:\\Pendo"}};
    if (c.holds.rfind("link:", 0) == 0) facts.link = c.holds.substr(5);
    facts.network = c.holds == "net";
    const V verdict = JudgeFolder(facts, protectedFolders, c.use, "Pendo");
    EXPECT_EQ(verdict, c.verdict) << c.typed;
    EXPECT_EQ(DescribeFolderVerdict(verdict, facts, "Pendo").empty(), verdict == V::Fit) << c.typed;
  }
  tscriptcontent script{"Pendo", {"a\\b.exe=1"}, {"old.dll=x"}, {"c.txt=d\\e.txt"}, {}, {}, {}};
  EXPECT_EQ(PathsTouched(script), (std::vector<std::string>{"a\\b.exe", "old.dll", "c.txt", "d\\e.txt"}));
}

TEST(ScriptFormat, TheScriptAnUninstallEntryStarts) {
  const struct {
    std::string command, script;
  } cases[] = {
      {"\"C:\\windows\\mondax.exe\" \"C:\\Pendo  Clock\\mondax.uix\"", "C:\\Pendo  Clock\\mondax.uix"},
      {"C:\\windows\\mondax.exe C:\\Pendo - Clock\\mondax.uix", "C:\\Pendo - Clock\\mondax.uix"},
      {"C:\\WINDOWS\\MONDAX.EXE C:\\P\\MONDAX.UIX", "C:\\P\\MONDAX.UIX"},
      {"\"C:\\Program Files\\Other\\uninst.exe\" /S", ""},
      {"\"C:\\windows\\mondax.exe\" \"C:\\P\\mondax.uix", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UninstallScriptOf(c.command), c.script) << c.command;
}

TEST(ArchiveCopy, PiecesAndShortArchives) {
  std::string archive(2621440 + 7, '\0');
  for (std::size_t i = 0; i < archive.size(); ++i) archive[i] = static_cast<char>(i * 131 % 251);
  std::size_t at = 0;
  std::vector<std::uint32_t> asked;
  // The source hands out at most 65,536 bytes per call, as a view's end might.
  auto next = [&](std::uint32_t want, std::uint32_t& got) {
    asked.push_back(want);
    got = static_cast<std::uint32_t>(std::min<std::size_t>({want, 65536, archive.size() - at}));
    const char* p = archive.data() + at;
    at += got;
    return p;
  };
  std::string out;
  auto write = [&](const char* b, std::uint32_t n) {
    out.append(b, n);
    return true;
  };
  ASSERT_TRUE(CopyArchiveBytes(2621440, kCopyBufferSize, next, write)) << "above the piece size";
  EXPECT_EQ(out, archive.substr(0, 2621440));
  EXPECT_EQ(*std::max_element(asked.begin(), asked.end()), kCopyBufferSize) << "never more than one piece";
  out.clear();
  EXPECT_FALSE(CopyArchiveBytes(100, kCopyBufferSize, next, write)) << "only 7 bytes are left";
  EXPECT_EQ(out, archive.substr(2621440)) << "the file gets what was read and nothing else";
  EXPECT_TRUE(CopyArchiveBytes(0, kCopyBufferSize, next, write));
  at = 0;
  EXPECT_FALSE(CopyArchiveBytes(10, kCopyBufferSize, next, [](const char*, std::uint32_t) { return false; }));
  // The checksum of a script's key: the standard check value, in pieces alike.
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Crc32("6789", 4, Crc32("12345", 5)), 0xCBF43926u);
  EXPECT_EQ(Crc32("", 0), 0u);
}

TEST(SetupCommandLine, OptionsPathAndRefusals) {
  EXPECT_EQ(SplitCommandLine("\"C:\\A B\\mondax.exe\" /silent  /dir=\"C:\\Pendo Clock\\\" -LOG=x.log"),
            (std::vector<std::string>{"C:\\A B\\mondax.exe", "/silent", "/dir=C:\\Pendo Clock\\", "-LOG=x.log"}))
      << "quotes group blanks; a backslash before a quote is a folder's own";
  EXPECT_EQ(SplitCommandLine("m.exe \"\" " + kSo + "\\x"), (std::vector<std::string>{"m.exe", "", kSo + "\\x"}));
  const struct {
    std::vector<std::string> args;
    bool valid, silent, remove;
    std::string path, folder, sendTo, log;
    bool hasSendTo = false;
  } cases[] = {
      {{}, true, false, false, "", "", "", ""},
      {{"/Silent", "/DIR=C:\\P", "-log=l.txt"}, true, true, false, "", "C:\\P", "", "l.txt"},
      {{"/silent", "/sendto=Pendo Clock"}, true, true, false, "", "", "Pendo Clock", "", true},
      {{"-SILENT", "/NoSendTo"}, true, true, false, "", "", "", "", true},
      // An unquoted uninstall path arrives split at its blanks.
      {{"C:\\Pendo", "Clock\\MONDAX.UIX", "/silent"}, true, true, true, "C:\\Pendo Clock\\MONDAX.UIX", "", "", ""},
      {{"C:\\P\\mondax.uix", "/log=l"}, true, false, true, "C:\\P\\mondax.uix", "", "", "l"},
      {{"anything"}, true, false, false, "anything", "", "", ""},  // the setup wizard, as ever
      {{"/quiet"}, false, false, false, "", "", "", ""},
      {{"/silent", "/silent"}, false, true, false, "", "", "", ""},
      {{"/silent", "/dir"}, false, true, false, "", "", "", ""},
      {{"/silent", "/dir="}, false, true, false, "", "", "", ""},
      {{"/silent=1"}, false, false, false, "", "", "", ""},
      {{"/silent", "/sendto=a", "/nosendto"}, false, true, false, "", "", "", "", true},
      {{"/dir=C:\\P"}, false, false, false, "", "C:\\P", "", ""},  // a folder for the wizard: only silent
      {{"/silent", "/dir=C:\\Pendo", "Clock"}, false, true, false, "Clock", "C:\\Pendo", "", ""},  // unquoted
      {{"C:\\P\\mondax.uix", "/silent", "/dir=C:\\Q"}, false, true, true, "C:\\P\\mondax.uix", "C:\\Q", "", ""},
      // An old unquoted entry whose folder holds parts that look like options.
      {{"C:\\Pendo", "-", "Clock\\mondax.uix"}, true, false, true, "C:\\Pendo - Clock\\mondax.uix", "", "", ""},
      {{"/silent", "C:\\A", "/b\\mondax.uix", "/log=C:\\l.uix"}, true, true, true, "C:\\A /b\\mondax.uix", "", "", "C:\\l.uix"},
      {{"C:\\P\\mondax.uix", "/silent", "/removesettings"}, true, true, true, "C:\\P\\mondax.uix", "", "", ""},
      {{"/silent", "/removesettings"}, false, true, false, "", "", "", ""},  // only for a removal
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"mondax.exe"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const tsetupcommandline line = ParseSetupCommandLine(args);
    const std::string what = ::testing::PrintToString(c.args);
    EXPECT_EQ(line.valid, c.valid) << what;
    EXPECT_EQ(line.error.empty(), c.valid) << what;
    EXPECT_EQ(line.silent, c.silent) << what;
    EXPECT_EQ(line.remove, c.remove) << what;
    EXPECT_EQ(line.path, c.path) << what;
    EXPECT_EQ(line.folder, c.folder) << what;
    EXPECT_EQ(line.sendTo, c.sendTo) << what;
    EXPECT_EQ(line.hasSendTo, c.hasSendTo) << what;
    EXPECT_EQ(line.log, c.log) << what;
  }
}

TEST(InstallRecord, ReadsBackWhatWasWrittenAndPassesOverCutLines) {
  const std::string folder = "C:\\Tools\\" + kHyo + " Clocks\\Pendo";
  std::string bytes = FormatRecordHeader("Pendo", folder);
  const trecordentry entries[] = {
      {trecordkind::Folder, "C:\\Tools", 0, 0, ""},
      {trecordkind::File, "Pendo.exe", 844, 0xCBF43926u, ""},
      {trecordkind::File, "sub/Read Me.txt", 0, 0, ""},
      {trecordkind::File, "PENDO.EXE", 900, 0x1u, ""},  // an upgrade's
      {trecordkind::Shortcut, "C:\\Menu\\Quorvane\\Pendo.lnk", 0, 0, ""},
      {trecordkind::Value, "HKEY_LOCAL_MACHINE\\x\\Pendo", 0, 0, "a\tb%c=d"},
  };
  for (const auto& e : entries) bytes += FormatRecordEntry(e);
  // What a newer version or a kill leaves: a kind not known here, a line
  // whose numbers are broken, and a line with no end.
  bytes += "junction\tC:\\x\r\nfile\tx.txt\t12\tnothex!!\r\nfile\tcut.txt\t1";
  tinstallrecord record;
  ASSERT_TRUE(ParseInstallRecord(bytes, record));
  EXPECT_EQ(record.product, "Pendo");
  EXPECT_EQ(record.folder, folder);
  ASSERT_EQ(record.entries.size(), 6u);
  EXPECT_EQ(record.entries[5].name, "a\tb%c=d");
  EXPECT_EQ(record.entries[4].path, "C:\\Menu\\Quorvane\\Pendo.lnk");
  EXPECT_EQ(RecordedPrints(record, "pendo.exe"), (std::vector<tfileprint>{{844, 0xCBF43926u}, {900, 1u}}));
  EXPECT_EQ(RecordedPrints(record, "SUB\\read me.txt"), (std::vector<tfileprint>{{0, 0}}));
  EXPECT_TRUE(RecordedPrints(record, "cut.txt").empty());
  EXPECT_EQ(RecordedFiles(record), (std::vector<std::string>{"Pendo.exe", "sub/Read Me.txt"}));
  // Without an end the run was stopped, in its last file; a run that ended names none.
  ASSERT_NE(FileOfStoppedRun(record), nullptr);
  EXPECT_EQ(FileOfStoppedRun(record)->path, "PENDO.EXE");
  ASSERT_TRUE(ParseInstallRecord(bytes.substr(0, bytes.find("junction")) + "end\tC:\\P\r\n", record));
  EXPECT_EQ(FileOfStoppedRun(record), nullptr);
  EXPECT_FALSE(ParseInstallRecord("Mondax installation record 2\tPendo\tC:\\P\r\n", record)) << "another version";
  EXPECT_FALSE(ParseInstallRecord("[profile]\r\napplicationname=Pendo\r\n", record));
  EXPECT_FALSE(ParseInstallRecord(FormatRecordHeader("Pendo", "C:\\P").substr(0, 20), record)) << "cut in its header";
}

TEST(InstallRecord, SettingsPathsAndTheOrderOfFolders) {
  const std::vector<std::string> settings{"profile", "data\\" + kSo + "\\"};
  const struct {
    std::string path;
    bool setting;
  } cases[] = {{"profile", true},           {"PROFILE\\profile_mainform", true}, {"profiles\\x", false},
               {"profile.txt", false},      {"data/" + kSo + "/a", true},       {"data\\" + kSo + "x", false},
               {"Pendo.exe", false}};
  for (const auto& c : cases) EXPECT_EQ(IsSettingsPath(c.path, settings), c.setting) << c.path;
  EXPECT_EQ(DeepestFirst({"C:\\T", "C:\\T\\C\\P", "C:\\T\\C"}), (std::vector<std::string>{"C:\\T\\C\\P", "C:\\T\\C", "C:\\T"}));
}
