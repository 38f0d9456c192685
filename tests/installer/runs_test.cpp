// The installation and removal runs on the real file system, registry and
// shell, with hostile scripts and broken archives.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <utility>

#include "installer/folderoperations.h"
#include "installer/installationrun.h"
#include "installer/registrykey.h"
#include "installer/removalrun.h"
#include "installer/scriptfile.h"
#include "installer/shellfolders.h"
#include "installer/shortcut.h"
#include "processdriver.h"
#include "settings/platform.h"
#include "settings/programidentity.h"
#include "settings/widetext.h"
#include "settings/windowsfolder.h"

using namespace pendo;
using pendo::testing::FreshFolder;
using pendo::testing::ReadText;
using pendo::testing::WriteText;

namespace {

const char kProduct[] = "PendoRunTest";
const std::string kUninstallKey = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + kProduct;

// A setup folder with a script and an archive of the given bytes.
std::string SetupFolder(const std::string& name, const std::string& sections, const std::string& archive,
                        const std::string& product = kProduct) {
  const std::string folder = FreshFolder(name);
  WriteText(folder + "mondax.inx", "[profile]\r\napplicationname=" + product +
                                       "\r\nbindedfilename=prod\r\nuninstallationtitle=Run Test\r\n" + sections);
  WriteText(folder + "prod.bdx", archive);
  return folder;
}

std::string Read(const std::string& path) {
  std::string text;
  return ReadText(path, text) ? text : "<missing>";
}

// Runs a program with a UTF-16 command line; its exit code, or -1.
long RunWide(const std::wstring& commandLine) {
  std::wstring line = commandLine;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<long>(code);
}

bool ExistsWide(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

void ForgetProduct() {
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, kUninstallKey);
  WritePrivateProfileStringA(kProduct, nullptr, nullptr, (GetWindowsFolder() + "mondax.ini").c_str());
}

}  // namespace

TEST(InstallationRun, HostileScriptsWriteNothing) {
  const struct {
    const char* what;
    std::string sections, product = kProduct;
  } cases[] = {
      {"bind", "[Bind]\r\nok.txt=2\r\n..\\escape.txt=2\r\n"},
      {"bind drive", "[Bind]\r\nC:\\escape.txt=2\r\n"},
      {"erase", "[Bind]\r\nok.txt=2\r\n[Erase]\r\n..\\..\\victim.txt=x\r\n"},
      {"rename", "[Bind]\r\nok.txt=2\r\n[Rename]\r\nok.txt=..\\moved.txt\r\n"},
      {"shortcut title", "[Bind]\r\nok.txt=2\r\n[ShortCut]\r\nok.txt=..\\..\\Startup\\x\r\n"},
      {"empty product", "[Bind]\r\nok.txt=2\r\n", ""},
      {"product with folder", "[Bind]\r\nok.txt=2\r\n", "..\\Run"},
      {"600 files, more names than the list holds",
       [] {
         std::string bind = "[Bind]\r\n";
         for (int i = 0; i < 600; ++i) bind += "file" + std::to_string(i) + "-of-the-product.txt=0\r\n";
         return bind;
       }()},
      {"checksum that is no checksum", "bindedfilecrc=xyz\r\n[Bind]\r\nok.txt=2\r\n"},
  };
  for (const auto& c : cases) {
    ForgetProduct();
    const std::string setup = SetupFolder("hostile", c.sections, "okok", c.product);
    const std::string target = setup + "into\\place";
    tinstallationrun run(setup, setup + "mondax.exe");
    EXPECT_EQ(run.Run(target, ""), tinstallationrun::tresult::ScriptUnfit) << c.what;
    EXPECT_NE(run.Fault(), "") << c.what;
    EXPECT_FALSE(FolderExists(setup + "into")) << c.what;
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << c.what;
  }
  const std::string setup = SetupFolder("hostile", "[Bind]\r\nok.txt=2\r\n", "ok");
  tinstallationrun run(setup, setup + "mondax.exe");
  EXPECT_EQ(run.Run(setup + "x", "..\\..\\Startup\\evil"), tinstallationrun::tresult::TitleUnfit);
  for (const std::string& folder : {GetWindowsFolder(), std::string("C:\\"), GetProgramFilesFolder()}) {
    EXPECT_EQ(run.Run(folder, ""), tinstallationrun::tresult::FolderUnfit) << folder;
    EXPECT_NE(run.Message(tinstallationrun::tresult::FolderUnfit).find(folder.substr(0, 2)), std::string::npos)
        << "the message says why";
  }
  EXPECT_FALSE(platform::FileExists(GetWindowsFolder() + "ok.txt"));
}

TEST(InstallationRun, BrokenArchivesStopTheRun) {
  ForgetProduct();
  std::string setup = SetupFolder("broken", "[Bind]\r\nfirst.txt=5\r\n", "");
  DeleteFileA((setup + "prod.bdx").c_str());
  tinstallationrun missing(setup, setup + "mondax.exe");
  EXPECT_EQ(missing.Run(setup + "target", ""), tinstallationrun::tresult::ArchiveMissing);
  EXPECT_FALSE(FolderExists(setup + "target")) << "nothing is created without an archive";
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

  // A subfolder the script does not create: the run is taken back whole.
  setup = SetupFolder("broken", "[Bind]\r\nfirst.txt=5\r\nnosuch\\second.txt=3\r\n", "11111222");
  std::string log;
  tinstallationrun subfolder(setup, setup + "mondax.exe");
  subfolder.OnLog = [&](const std::string& line) { log += line + "\n"; };
  EXPECT_EQ(subfolder.Run(setup + "target", ""), tinstallationrun::tresult::CopyFailed);
  EXPECT_FALSE(FolderExists(setup + "target")) << log;
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_NE(log.find("ファイル削除 (取り消し): " + setup + "target\\first.txt"), std::string::npos) << log;
  EXPECT_NE(subfolder.Message(tinstallationrun::tresult::CopyFailed).find("元に戻しました"), std::string::npos);

  // An upgrade that fails puts the previous versions, script and record back.
  const std::string target = setup + "target\\";
  const std::string older = SetupFolder("older", "[Bind]\r\nfirst.txt=5\r\n", "older");
  ASSERT_EQ(tinstallationrun(older, older + "mondax.exe").Run(target, ""), tinstallationrun::tresult::Done);
  const std::string record = Read(target + "mondax.uir");
  WriteText(target + "first.txt.mondax-new", "killed half-way");
  tinstallationrun upgrade(setup, setup + "mondax.exe");
  EXPECT_EQ(upgrade.Run(target, ""), tinstallationrun::tresult::CopyFailed);
  EXPECT_EQ(Read(target + "first.txt"), "older");
  EXPECT_EQ(Read(target + "mondax.uix"), Read(older + "mondax.inx"));
  EXPECT_EQ(Read(target + "mondax.uir"), record);
  EXPECT_FALSE(platform::FileExists(target + "first.txt.mondax-new")) << "a killed run's leftover";
  EXPECT_FALSE(platform::FileExists(target + "first.txt.mondax-old"));
  EXPECT_EQ(tremovalrun(target).Run(), tremovalrun::tresult::Done);
  ForgetProduct();

  // Refused before anything is written: an archive that is short, and one of
  // the right length whose bytes differ from the script's checksum.
  const struct {
    const char* what;
    std::string checksum, archive;
  } refused[] = {{"short", "", "1111122"}, {"corrupt", "bindedfilecrc=3BE9CC99\r\n", "11111223"}};
  for (const auto& c : refused) {
    setup = SetupFolder("broken", c.checksum + "[Bind]\r\nfirst.txt=5\r\nsecond.txt=3\r\n", c.archive);
    tinstallationrun run(setup, setup + "mondax.exe");
    EXPECT_EQ(run.Run(setup + "target", ""), tinstallationrun::tresult::ArchiveUnfit) << c.what;
    EXPECT_EQ(tinstallationrun::ExitCodeOf(tinstallationrun::tresult::ArchiveUnfit), tsetupexit::Refused);
    EXPECT_FALSE(FolderExists(setup + "target")) << c.what;
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << c.what;
  }
  // With the right bytes the checksum passes.
  setup = SetupFolder("broken", "bindedfilecrc=3be9cc99\r\n[Bind]\r\nfirst.txt=5\r\nsecond.txt=3\r\n", "11111222");
  tinstallationrun checked(setup, setup + "mondax.exe");
  EXPECT_EQ(checked.Run(setup + "target", ""), tinstallationrun::tresult::Done);
  EXPECT_EQ(Read(setup + "target\\second.txt"), "222");
  EXPECT_EQ(tremovalrun(setup + "target").Run(), tremovalrun::tresult::Done);

  // Sizes that lie about a huge file: refused before the old file is touched.
  setup = SetupFolder("broken", "[Bind]\r\nfirst.txt=5\r\nhuge.dat=4000000000\r\n", "11111" + std::string(100, 'h'));
  const std::string earlier = SetupFolder("earlier", "[Bind]\r\nhuge.dat=3\r\n", "old");
  ASSERT_EQ(tinstallationrun(earlier, earlier + "mondax.exe").Run(setup + "target", ""), tinstallationrun::tresult::Done);
  tinstallationrun lying(setup, setup + "mondax.exe");
  EXPECT_EQ(lying.Run(setup + "target\\", ""), tinstallationrun::tresult::ArchiveUnfit);
  EXPECT_EQ(Read(setup + "target\\huge.dat"), "old") << "the old file stays whole";
  EXPECT_EQ(tremovalrun(setup + "target").Run(), tremovalrun::tresult::Done);
  ForgetProduct();
}

TEST(InstallationRun, InstallsAndRemovesAgainThroughTheUninstallEntry) {
  ForgetProduct();
  // Another program's ".txt" command is replaced and a verb of our own added.
  const std::string sections =
      "[environment]\r\nsendto=1\r\n[Bind]\r\nRunTest.exe=4\r\nold.txt=3\r\nsub\\\r\n[ShortCut]\r\nRunTest.exe="
      "Run Test\r\nnew.txt=Run Test Other\r\n[Rename]\r\nold.txt=new.txt\r\n[Relation]\r\n.txt=open,RunTest.exe %1\r\n"
      ".pndview=view,RunTest.exe /v %1\r\n";
  tregistrykey verb;
  if (FileVerbKey(".txt", "open").empty()) {  // as on a system that opens text files
    verb.Create(HKEY_CLASSES_ROOT, ".txt");
    if (verb.ReadString("").empty()) verb.WriteString("", "txtfile");
    verb.Create(HKEY_CLASSES_ROOT, verb.ReadString("") + "\\shell");
  }
  const std::string textVerbs = FileVerbKey(".txt", "open");
  ASSERT_NE(textVerbs, "");
  verb.Create(HKEY_CLASSES_ROOT, ".pndview");
  verb.WriteString("", "pndviewfile");
  verb.Create(HKEY_CLASSES_ROOT, "pndviewfile\\shell");
  verb.Create(HKEY_CLASSES_ROOT, textVerbs + "\\command");
  verb.WriteString("", "notepad.exe \"%1\"");  // quoted, as the profile functions would strip
  verb.Close();
  auto command = [&](const char* extension, const char* name) {
    tregistrykey k;
    return k.Open(HKEY_CLASSES_ROOT, FileVerbKey(extension, name) + "\\command") ? k.ReadString("") : "<missing>";
  };
  // What the user and another product made with the same titles leads elsewhere.
  const std::string elsewhere = FreshFolder("elsewhere") + "Other.exe";
  WriteText(elsewhere, "MZ");
  CreateDirectoryA((GetCommonProgramsFolder() + "Quorvane").c_str(), nullptr);
  ASSERT_TRUE(CreateShortcut(elsewhere, GetSendToFolder() + "Run Test SendTo"));
  ASSERT_TRUE(CreateShortcut(elsewhere, GetCommonProgramsFolder() + "Quorvane\\Run Test Other"));
  const std::string setup = SetupFolder("full", sections, "MZ..abc");
  // Two blanks in a row survive only a quoted command line.
  const std::string folder = setup + "Run  Test";
  // An upgrade of an earlier version, whose installation made the folder.
  const std::string earlier = SetupFolder("full-earlier", "[Bind]\r\nRunTest.exe=4\r\n", "MZ,,");
  ASSERT_EQ(tinstallationrun(earlier, earlier + "mondax.exe").Run(folder, ""), tinstallationrun::tresult::Done);
  WriteText(setup + "mondax.exe", "installer");
  int bars = 0;
  tinstallationrun run(setup, setup + "mondax.exe");
  run.OnProgress = [&](tinstallationrun::tbar, int, int) { ++bars; };
  ASSERT_EQ(run.Run(folder + "\\", "Run Test SendTo"), tinstallationrun::tresult::Done);
  EXPECT_GT(bars, 3);
  EXPECT_EQ(Read(folder + "\\RunTest.exe"), "MZ..");
  EXPECT_EQ(Read(folder + "\\new.txt"), "abc") << "renamed after the copy";
  EXPECT_EQ(Read(folder + "\\mondax.uix").substr(0, Read(setup + "mondax.inx").size()), Read(setup + "mondax.inx"));
  EXPECT_EQ(Read(GetWindowsFolder() + "mondax.exe"), "installer");
  EXPECT_EQ(ShortcutTarget(GetSendToFolder() + "Run Test SendTo.lnk"), elsewhere) << "the user's own stays";
  EXPECT_EQ(ShortcutTarget(GetCommonProgramsFolder() + "Quorvane\\Run Test Other.lnk"), elsewhere);
  EXPECT_EQ(run.Skipped().size(), 2u);
  EXPECT_EQ(command(".txt", "open"), folder + "\\RunTest.exe %1");
  EXPECT_EQ(command(".pndview", "view"), folder + "\\RunTest.exe /v %1");
  EXPECT_TRUE(platform::FileExists(GetCommonProgramsFolder() + "Quorvane\\Run Test.lnk")) << "for every user";
  EXPECT_NE(GetCommonProgramsFolder(), GetProgramsFolder());
  CreateDirectoryA((GetProgramsFolder() + "Quorvane").c_str(), nullptr);
  ASSERT_TRUE(CreateShortcut(folder + "\\RunTest.exe", GetProgramsFolder() + "Quorvane\\Run Test"))
      << "an earlier installation's";
  EXPECT_EQ(ScriptFile(GetWindowsFolder() + "mondax.ini").ReadString(kProduct, "InstallationDirectory", ""), folder);
  tregistrykey key;
  ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(key.ReadString("DisplayName"), "Run Test");
  EXPECT_EQ(key.ReadString("UninstallString"),
            "\"" + GetWindowsFolder() + "mondax.exe\" \"" + folder + "\\mondax.uix\"");
  EXPECT_EQ(key.ReadString("InstallLocation"), folder);
  EXPECT_EQ(key.ReadString("DisplayIcon"), folder + "\\PendoRunTest.exe");
  DWORD kib = 0, size = sizeof kib;
  EXPECT_EQ(
      RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey.c_str(), "EstimatedSize", RRF_RT_REG_DWORD, nullptr, &kib, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(kib, 1u) << "7 bytes, rounded up";
  key.Close();

  // What the user made: a read-only file in a subfolder, a per-user key.
  CreateDirectoryA((folder + "\\sub").c_str(), nullptr);
  WriteText(folder + "\\sub\\keep.txt", "mine");
  SetFileAttributesA((folder + "\\sub\\keep.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryA((folder + "\\sub\\deeper").c_str(), nullptr);
  WriteText(folder + "\\sub\\deeper\\x.txt", "x");
  key.Create(HKEY_CURRENT_USER, std::string("software\\Quorvane\\") + kProduct + "\\inner");
  key.Close();

  int progress = 0;
  tremovalrun removal(folder);
  removal.OnProgress = [&](tremovalrun::tbar, int, int) { ++progress; };
  ASSERT_EQ(removal.Run(), tremovalrun::tresult::Done);
  EXPECT_GT(progress, 2);
  EXPECT_FALSE(platform::FileExists(folder + "\\RunTest.exe"));
  EXPECT_FALSE(platform::FileExists(folder + "\\mondax.uix"));
  EXPECT_EQ(Read(folder + "\\sub\\deeper\\x.txt"), "x") << "what the user made stays";
  EXPECT_EQ(Read(folder + "\\sub\\keep.txt"), "mine");
  EXPECT_FALSE(platform::FileExists(GetCommonProgramsFolder() + "Quorvane\\Run Test.lnk"));
  EXPECT_FALSE(platform::FileExists(GetProgramsFolder() + "Quorvane\\Run Test.lnk"));
  EXPECT_EQ(ShortcutTarget(GetCommonProgramsFolder() + "Quorvane\\Run Test Other.lnk"), elsewhere);
  EXPECT_EQ(ShortcutTarget(GetSendToFolder() + "Run Test SendTo.lnk"), elsewhere);
  EXPECT_EQ(command(".txt", "open"), "notepad.exe \"%1\"") << "another program's command is back";
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "pndviewfile\\shell\\view")) << "our own verb is gone";
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "pndviewfile\\shell"));
  DeleteRegistryTree(HKEY_CLASSES_ROOT, ".pndview");
  DeleteRegistryTree(HKEY_CLASSES_ROOT, "pndviewfile");
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, std::string("software\\Quorvane\\") + kProduct));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, "software\\Quorvane")) << "never the parent key";
  EXPECT_EQ(ScriptFile(GetWindowsFolder() + "mondax.ini").ReadString(kProduct, "InstallationDirectory", ""), folder)
      << "the register keeps the folder";
  DeleteFileA((GetSendToFolder() + "Run Test SendTo.lnk").c_str());
  DeleteFileA((GetCommonProgramsFolder() + "Quorvane\\Run Test Other.lnk").c_str());
  SetFileAttributesA((folder + "\\sub\\keep.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA((folder + "\\sub\\keep.txt").c_str());
  DeleteFileA((folder + "\\sub\\deeper\\x.txt").c_str());
  ForgetProduct();
}

// Installations that an earlier Mondax made have a script and no record:
// their script's files count as the product's, at an upgrade and at removal.
TEST(InstallationRun, TheRecordTakesOverOlderInstallationsAndLeavesNoCopiesBehind) {
  ForgetProduct();
  const std::string older = SetupFolder("legacy-older", "[Bind]\r\nRunTest.exe=4\r\nold.dll=3\r\nmine.dll=3\r\n",
                                        "MZ,,oldmin");
  const std::string setup =
      SetupFolder("legacy", "[Bind]\r\nRunTest.exe=4\r\nkeep.txt=3\r\n[Erase]\r\nold.dll=x\r\nmine.dll=x\r\n", "MZ..new");
  const std::string folder = setup + "Legacy\\", recorded = setup + "Recorded\\";
  ASSERT_EQ(tinstallationrun(older, older + "mondax.exe").Run(folder, ""), tinstallationrun::tresult::Done);
  DeleteFileA((folder + "mondax.uir").c_str());
  SetFileAttributesA((folder + "RunTest.exe").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(tinstallationrun(setup, setup + "mondax.exe").Run(folder, ""), tinstallationrun::tresult::Done);
  EXPECT_EQ(Read(folder + "RunTest.exe"), "MZ..");
  EXPECT_FALSE(platform::FileExists(folder + "RunTest.exe.mondax-old")) << "a read-only previous version goes too";
  EXPECT_FALSE(platform::FileExists(folder + "old.dll")) << "the earlier version's files are erased";
  EXPECT_FALSE(platform::FileExists(folder + "mine.dll"));
  // A run stopped before it copied its script: the record alone finishes the removal.
  DeleteFileA((folder + "mondax.uix").c_str());
  ASSERT_EQ(tremovalrun(folder).Run(), tremovalrun::tresult::Done);
  EXPECT_FALSE(FolderExists(folder));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

  // With a record, what the user changed since is neither erased nor removed.
  ASSERT_EQ(tinstallationrun(older, older + "mondax.exe").Run(recorded, ""), tinstallationrun::tresult::Done);
  WriteText(recorded + "mine.dll", "the user's");
  // A line that a kill cut short: ended by the upgrade, it would name the
  // user's empty folder "da" where "data" was being written.
  WriteText(recorded + "mondax.uir", Read(recorded + "mondax.uir") + "folder\t" + recorded + "da");
  CreateDirectoryA((recorded + "da").c_str(), nullptr);
  ASSERT_EQ(tinstallationrun(setup, setup + "mondax.exe").Run(recorded, ""), tinstallationrun::tresult::Done);
  EXPECT_FALSE(platform::FileExists(recorded + "old.dll"));
  EXPECT_EQ(Read(recorded + "mine.dll"), "the user's");
  tremovalrun removal(recorded);
  std::map<tsetupprogress::tbar, std::pair<int, int>> bars;
  removal.OnProgress = [&](tsetupprogress::tbar bar, int position, int max) { bars[bar] = {position, max}; };
  ASSERT_EQ(removal.Run(), tremovalrun::tresult::Done);
  for (const auto& [bar, last] : bars)
    EXPECT_EQ(last.first, last.second) << "bar " << static_cast<int>(bar) << " ends full";
  EXPECT_EQ(bars.size(), 3u);
  EXPECT_EQ(Read(recorded + "mine.dll"), "the user's");
  EXPECT_TRUE(FolderExists(recorded + "da"));
  EXPECT_FALSE(platform::FileExists(recorded + "RunTest.exe"));

  // Removed without a record: the script's files go, the user's stay.
  ASSERT_EQ(tinstallationrun(older, older + "mondax.exe").Run(setup + "Legacy2", ""), tinstallationrun::tresult::Done);
  DeleteFileA((setup + "Legacy2\\mondax.uir").c_str());
  WriteText(setup + "Legacy2\\notes.txt", "mine");
  ASSERT_EQ(tremovalrun(setup + "Legacy2").Run(), tremovalrun::tresult::Done);
  EXPECT_FALSE(platform::FileExists(setup + "Legacy2\\old.dll"));
  EXPECT_EQ(Read(setup + "Legacy2\\notes.txt"), "mine");
  ForgetProduct();
}

TEST(RemovalRun, RefusesRootsSystemFoldersAndNamelessScripts) {
  for (const std::string& folder : {std::string("C:\\"), GetWindowsFolder()}) {
    WriteText(folder + "mondax.uix", "[profile]\r\napplicationname=PendoRunTest\r\n");
    WriteText(folder + "canary.txt", "alive");
    tremovalrun run(folder);
    EXPECT_EQ(run.Run(), tremovalrun::tresult::FolderUnfit) << folder;
    EXPECT_EQ(Read(folder + "canary.txt"), "alive") << folder;
    DeleteFileA((folder + "mondax.uix").c_str());
    DeleteFileA((folder + "canary.txt").c_str());
  }
  // Without a product name no installation owns the folder: the folder and
  // the registry are left alone.
  const std::string folder = FreshFolder("nameless");
  WriteText(folder + "mondax.uix", "[profile]\r\napplicationname=\r\n");
  tregistrykey key;
  key.Create(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PendoCanary");
  key.Close();
  ASSERT_EQ(tremovalrun(folder).Run(), tremovalrun::tresult::FolderUnfit);
  EXPECT_TRUE(platform::FileExists(folder + "mondax.uix"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE,
                                "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PendoCanary"));
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PendoCanary");
}

TEST(Runs, ARunningProductStopsBothRunsBeforeAnythingChanges) {
  ForgetProduct();
  const std::string setup = SetupFolder("running", "[Bind]\r\nRunTest.exe=4\r\nreadme.txt=2\r\n", "MZ..RR");
  const std::string folder = setup + "Run Test";
  std::string log;
  auto install = [&] {
    tinstallationrun run(setup, setup + "mondax.exe");
    run.OnLog = [&](const std::string& line) { log += line + "\n"; };
    const auto result = run.Run(folder, "");
    return std::make_pair(result, run.Fault());
  };
  ASSERT_EQ(install().first, tinstallationrun::tresult::Done);
  EXPECT_NE(log.find("ファイル書き込み: " + folder + "\\RunTest.exe (4 バイト)"), std::string::npos) << log;
  EXPECT_NE(log.find("UninstallString=\"" + GetWindowsFolder() + "mondax.exe\""), std::string::npos) << log;
  WriteText(folder + "\\RunTest.exe", "old!");

  // The program's instance lock, then a file held open by another program.
  HANDLE lock = CreateMutexA(nullptr, FALSE, "runtest");
  EXPECT_EQ(install(), std::make_pair(tinstallationrun::tresult::ProductRunning, folder + "\\RunTest.exe"));
  tremovalrun removal(folder);
  EXPECT_EQ(removal.Run(), tremovalrun::tresult::ProductRunning);
  CloseHandle(lock);
  HANDLE held = CreateFileA((folder + "\\readme.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(install(), std::make_pair(tinstallationrun::tresult::ProductRunning, folder + "\\readme.txt"));
  EXPECT_EQ(removal.Run(), tremovalrun::tresult::ProductRunning);
  CloseHandle(held);
  EXPECT_EQ(Read(folder + "\\RunTest.exe"), "old!") << "nothing replaced";
  EXPECT_TRUE(platform::FileExists(folder + "\\mondax.uix")) << "nothing removed";
  // Held only for a moment, as the shell does to read a new shortcut's icon.
  held = CreateFileA((folder + "\\readme.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread release([held] {
    Sleep(250);
    CloseHandle(held);
  });
  EXPECT_EQ(install().first, tinstallationrun::tresult::Done);
  release.join();

  // A product file that cannot go keeps the product removable.
  SetFileAttributesA((folder + "\\readme.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  log.clear();
  removal.OnLog = [&](const std::string& line) { log += line + "\n"; };
  EXPECT_EQ(removal.Run(), tremovalrun::tresult::Incomplete);
  EXPECT_FALSE(platform::FileExists(folder + "\\RunTest.exe"));
  EXPECT_TRUE(platform::FileExists(folder + "\\mondax.uix"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_NE(log.find("ファイル残存: " + folder + "\\readme.txt (読み取り専用)"), std::string::npos) << log;
  SetFileAttributesA((folder + "\\readme.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(removal.Run(), tremovalrun::tresult::Done);
  EXPECT_FALSE(FolderExists(folder));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  ForgetProduct();
}

TEST(RemovalRun, AStoppedRemovalIsFinishedLaterAndAnEntryWithoutItsFolderCanGo) {
  ForgetProduct();
  const std::string setup = SetupFolder("stopped", "[Bind]\r\nRunTest.exe=4\r\nreadme.txt=2\r\n", "MZ..RR");
  const std::string folder = setup + "Run Test";
  ASSERT_EQ(tinstallationrun(setup, setup + "mondax.exe").Run(folder, ""), tinstallationrun::tresult::Done);
  // Where a removal killed after the files stops: the script and entry are
  // still there, and the entry's removal finishes the work.
  DeleteFileA((folder + "\\RunTest.exe").c_str());
  DeleteFileA((folder + "\\readme.txt").c_str());
  ASSERT_EQ(tremovalrun(folder).Run(), tremovalrun::tresult::Done);
  EXPECT_FALSE(FolderExists(folder));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

  // The user deleted the folder: the entry is found by its command and can go.
  ASSERT_EQ(tinstallationrun(setup, setup + "mondax.exe").Run(folder, ""), tinstallationrun::tresult::Done);
  DeleteFileA((folder + "\\RunTest.exe").c_str());
  DeleteFileA((folder + "\\readme.txt").c_str());
  DeleteFileA((folder + "\\mondax.uix").c_str());
  EXPECT_EQ(FindUninstallEntryFor(folder + "\\mondax.uix"), "") << "the record is there to finish from";
  DeleteFileA((folder + "\\mondax.uir").c_str());
  RemoveDirectoryA(folder.c_str());
  EXPECT_EQ(FindUninstallEntryFor(platform::LowerText(folder) + "\\MONDAX.uix"), kProduct);
  EXPECT_EQ(FindUninstallEntryFor(setup + "Run\\mondax.uix"), "");
  EXPECT_TRUE(RemoveUninstallEntry(kProduct));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  ForgetProduct();
}

// Mondax as a process, its command line and every name in UTF-16: a folder
// with a Japanese name works whatever the system's code page is.
TEST(MondaxProcess, InstallsIntoAndRemovesAFolderWithAJapaneseName) {
  ForgetProduct();
  const std::string setup = SetupFolder("japanese", "[Bind]\r\n時計.exe=4\r\n[ShortCut]\r\n時計.exe=時計 テスト\r\n", "MZ..");
  const std::string mondax = setup + "mondax.exe";
  ASSERT_TRUE(CopyFileA((GetProgramFolder() + "..\\..\\bin\\mondax.exe").c_str(), mondax.c_str(), FALSE));
  const std::string folder = "C:\\ペンド 時計";
  const std::string link = GetCommonProgramsFolder() + "Quorvane\\時計 テスト.lnk";
  ASSERT_EQ(RunWide(Wide("\"" + mondax + "\" /silent \"/dir=" + folder + "\"")), 0);
  EXPECT_TRUE(ExistsWide(folder + "\\時計.exe"));
  EXPECT_TRUE(ExistsWide(link));
  wchar_t location[MAX_PATH] = L"";
  DWORD size = sizeof location;
  EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, Wide(kUninstallKey).c_str(), L"InstallLocation", RRF_RT_REG_SZ, nullptr,
                         location, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(location), L"C:\\ペンド 時計");
  EXPECT_EQ(ScriptFile(GetWindowsFolder() + "mondax.ini").ReadString(kProduct, "InstallationDirectory", ""), folder);

  EXPECT_EQ(RunWide(Wide("\"" + GetWindowsFolder() + "mondax.exe\" \"" + folder + "\\mondax.uix\" /silent")), 0);
  EXPECT_FALSE(ExistsWide(folder));
  EXPECT_FALSE(ExistsWide(link));
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

  // A name code page 932 cannot hold is refused, not taken for another.
  const std::string log = setup + "refused.log";
  EXPECT_EQ(RunWide(Wide("\"" + mondax + "\" /silent /log=" + log) + L" /dir=C:\\caf\u00e9"), 1);
  EXPECT_NE(Read(log).find("シフトJISで表せない文字を含む名前は使用できません: /dir=C:\\caf?"), std::string::npos)
      << Read(log);
  EXPECT_EQ(GetFileAttributesW(L"C:\\caf\u00e9"), INVALID_FILE_ATTRIBUTES);
  ForgetProduct();
}
