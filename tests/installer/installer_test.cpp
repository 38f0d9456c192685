// Mondax's ground under Wine: the profile files through the system's
// private-profile functions, folders on the real file system, the registry
// and shell links that Wine's shell reads back.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "installer/archivefile.h"
#include "installer/folderfitness.h"
#include "installer/folderoperations.h"
#include "installer/registrykey.h"
#include "installer/scriptfile.h"
#include "installer/shellfolders.h"
#include "installer/shortcut.h"
#include "processdriver.h"
#include "settings/fileerror.h"
#include "settings/programidentity.h"
#include "settings/windowsfolder.h"

using namespace pendo;
using pendo::testing::FreshFolder;
using pendo::testing::ReadText;
using pendo::testing::WriteText;

namespace {

const std::string kSo = "\x83\x5C";   // ソ
const std::string kHyo = "\x95\x5C";  // 表

std::string Names(const tpathlist& list, const std::string& base) {
  std::string s;
  for (const auto& p : list) s += p.substr(base.size()) + ";";
  return s;
}

}  // namespace

TEST(ScriptFileOnDisk, SectionsEntriesAndValues) {
  const std::string folder = FreshFolder("script");
  const std::string path = folder + "mondax.inx";
  WriteText(path,
            "[profile]\r\napplicationname=Pendo\r\nlong=" + std::string(2000, 'v') +
                "\r\n[Bind]\r\nPendo.exe=100\r\nreadme.txt=\r\n" + kSo + ".txt=3\r\nPENDO.EXE=7\r\nsub\\" + kHyo +
                "=a=b=12\r\n"
                "[environment]\r\nsendto=1\r\nhex=0x1\r\nword=yes\r\nzero=0\r\n");
  const ScriptFile script(path);
  tentrylist bind{"stale"};
  EXPECT_TRUE(script.ReadEntries("bind", bind));  // section names are not case-sensitive
  EXPECT_EQ(bind, (tentrylist{"Pendo.exe=100", kSo + ".txt=3", "sub\\" + kHyo + "=a=b=12"}))
      << "file order; empty values and case-folded duplicates are not seen";
  EXPECT_EQ(GetEntryName(bind[2]), "sub\\" + kHyo);
  EXPECT_EQ(GetEntryValue(bind[2]), "12");

  EXPECT_EQ(script.ReadString("profile", "applicationname", "x"), "Pendo");
  EXPECT_EQ(script.ReadString("profile", "missing", "dflt"), "dflt");
  EXPECT_EQ(script.ReadString("profile", "long", ""), std::string(1023, 'v'));
  const struct {
    const char* key;
    bool def, flag;
  } flags[] = {{"sendto", false, true}, {"hex", false, true},  {"word", true, false},
               {"zero", true, false},   {"none", false, false}, {"none", true, true}};
  for (const auto& f : flags) EXPECT_EQ(script.ReadFlag("environment", f.key, f.def), f.flag) << f.key;

  script.WriteString("profile", "InstallationDirectory", "C:\\A B");
  EXPECT_EQ(ScriptFile(path).ReadString("profile", "InstallationDirectory", ""), "C:\\A B");
  const ScriptFile nowhere(folder + "missing\\mondax.ini");
  try {
    nowhere.WriteString("s", "k", "v");
    ADD_FAILURE() << "a file in a missing folder cannot be written";
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()), nowhere.Path() + " に書き込めません");
  }
}

TEST(ScriptFileOnDisk, EditsLeaveTheBytesTheSystemsFunctionsLeave) {
  if (GetACP() != 932) GTEST_SKIP() << "the system's functions read these files right only on code page 932";
  const std::string folder = FreshFolder("twin");
  const std::string start =
      "[profile]\r\napplicationname=" + kSo + "\r\n[Bind]\r\na.txt=1\r\n[RelationBackup]\r\nx=+old\r\n";
  const struct {
    const char* what;
    std::string before;
    std::function<void(const ScriptFile&)> ours;
    std::function<void(const char*)> system;
  } cases[] = {
      {"value replaced", start, [](const ScriptFile& f) { f.WriteString("bind", "A.txt", "2"); },
       [](const char* p) { WritePrivateProfileStringA("bind", "A.txt", "2", p); }},
      {"key added", start, [](const ScriptFile& f) { f.WriteString("Bind", "b.txt", kHyo); },
       [](const char* p) { WritePrivateProfileStringA("Bind", "b.txt", kHyo.c_str(), p); }},
      {"section added", start, [](const ScriptFile& f) { f.WriteString("Pendo", "dir", "C:\\" + kSo); },
       [](const char* p) { WritePrivateProfileStringA("Pendo", "dir", ("C:\\" + kSo).c_str(), p); }},
      {"key removed", start, [](const ScriptFile& f) { f.RemoveKey("profile", "applicationname"); },
       [](const char* p) { WritePrivateProfileStringA("profile", "applicationname", nullptr, p); }},
      {"section removed", start, [](const ScriptFile& f) { f.RemoveSection("RelationBackup"); },
       [](const char* p) { WritePrivateProfileStringA("RelationBackup", nullptr, nullptr, p); }},
      {"new file", "", [](const ScriptFile& f) { f.WriteString("Pendo", "dir", "C:\\P"); },
       [](const char* p) { WritePrivateProfileStringA("Pendo", "dir", "C:\\P", p); }},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string ours = folder + "ours" + std::to_string(n), system = folder + "system" + std::to_string(n++);
    if (!c.before.empty()) WriteText(ours, c.before), WriteText(system, c.before);
    c.ours(ScriptFile(ours));
    c.system(system.c_str());
    std::string a, b;
    ReadText(ours, a);
    ReadText(system, b);
    EXPECT_EQ(a, b) << c.what;
  }
}

TEST(ScriptFileOnDisk, KeyNamesBeyondTheBufferAreNotSeen) {
  const std::string path = FreshFolder("names") + "big.inx";
  std::string text = "[Bind]\r\n";
  const int kKeys = 600;  // 600 names of 20 bytes and their NULs: 12,600 bytes
  auto key = [](int i) {
    std::string k = "file" + std::to_string(i);
    return k + std::string(20 - k.size(), 'x');
  };
  for (int i = 0; i < kKeys; ++i) text += key(i) + "=" + std::to_string(i) + "\r\n";
  WriteText(path, text);
  tentrylist list;
  EXPECT_FALSE(ScriptFile(path).ReadEntries("Bind", list)) << "the caller hears that names were not seen";
  ASSERT_GT(list.size(), 350u);
  ASSERT_LT(list.size(), 400u) << "8,192 bytes hold 390 names";
  for (std::size_t i = 0; i < list.size(); ++i) {
    ASSERT_EQ(list[i], key(static_cast<int>(i)) + "=" + std::to_string(i)) << "whole names, in order";
  }
}

TEST(FolderOperations, ListingBreadthFirstSkipsMarkedFolders) {
  const std::string root = FreshFolder("tree");
  for (const char* f : {"A", "B", "A\\A1", "A\\A1\\deep", "H", "H\\below", "R"}) {
    ASSERT_TRUE(CreateDirectoryA((root + f).c_str(), nullptr)) << f;
  }
  ASSERT_TRUE(SetFileAttributesA((root + "H").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesA((root + "R").c_str(), FILE_ATTRIBUTE_SYSTEM));
  tpathlist list{"stale"};
  ListSubfolders(root, list);
  ASSERT_EQ(list.size(), 4u) << Names(list, root);
  std::sort(list.begin(), list.begin() + 2);  // the file system orders one level as it likes
  EXPECT_EQ(Names(list, root), "A;B;A\\A1;A\\A1\\deep;") << "hidden and system folders, and all below, skipped";

  WriteText(root + "plain.txt", "p");
  WriteText(root + "ro.txt", "r");
  WriteText(root + "hid.txt", "h");
  SetFileAttributesA((root + "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA((root + "hid.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ListFolderFiles(root.substr(0, root.size() - 1), list);  // also without the trailing '\'
  std::sort(list.begin(), list.end());
  EXPECT_EQ(Names(list, root), "hid.txt;plain.txt;ro.txt;") << "files only, hidden and read-only too";
  DeleteFolderFiles(root);
  ListFolderFiles(root, list);
  EXPECT_EQ(Names(list, root), "ro.txt;") << "a read-only file stays";
  ListFolderFiles(root + "missing", list);
  EXPECT_TRUE(list.empty());
}

TEST(FolderOperations, CreateFolderPathStepsOverDoubleByteNames) {
  const std::string root = FreshFolder("mkdir");
  const std::string deep = root + kSo + "\\" + kHyo + "\\c\\";
  CreateFolderPath(deep);
  EXPECT_TRUE(FolderExists(deep)) << "three levels below an existing folder";
  EXPECT_TRUE(FolderExists(root + kSo));
  CreateFolderPath(deep);  // an existing folder is fine
  EXPECT_TRUE(FolderExists(deep));
}

TEST(ShellOperations, SpecialAndProtectedFolders) {
  char value[MAX_PATH] = {0};
  DWORD size = sizeof value;
  ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                         RRF_RT_REG_SZ, nullptr, value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(GetProgramFilesFolder(), std::string(value) + "\\");
  char shell[MAX_PATH];
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_SENDTO, nullptr, 0, shell)));
  EXPECT_EQ(GetSendToFolder(), std::string(shell) + "\\");
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, shell)));
  EXPECT_EQ(GetProgramsFolder(), std::string(shell) + "\\");

  const std::string product = FreshFolder("removable");
  EXPECT_FALSE(IsFolderFitForRemoval(product)) << "no uninstall script there";
  WriteText(product + "mondax.uix", "[profile]\r\napplicationname=Pendo\r\n");
  EXPECT_FALSE(IsFolderFitForRemoval(product)) << "a script that no entry or register names here";
  // What the system lists, in every view, empty or not; a new folder inside one is fine.
  const tprotectedfolders known = GetCanonicalProtectedFolders();
  auto shellFolder = [](int csidl) {
    char path[MAX_PATH] = "";
    return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, path)) ? std::string(path) : std::string("?");
  };
  for (const std::string& f :
       {shellFolder(CSIDL_STARTUP), shellFolder(CSIDL_COMMON_DOCUMENTS), shellFolder(CSIDL_PROFILE) + "\\Downloads",
        shellFolder(CSIDL_MYMUSIC), shellFolder(CSIDL_FAVORITES), std::string("C:\\Program Files"),
        std::string("C:\\Program Files (x86)"), std::string("C:\\Program Files\\Common Files"), std::string("C:\\users")})
    EXPECT_TRUE(IsProtectedFolder(CanonicalFolder(f), known)) << f;
  EXPECT_FALSE(IsProtectedFolder(CanonicalFolder("C:\\Program Files\\Pendo"), known));
  EXPECT_FALSE(IsProtectedFolder(CanonicalFolder(shellFolder(CSIDL_PERSONAL) + "\\Pendo"), known));
  for (const std::string& f : {GetWindowsFolder(), GetProgramFilesFolder(), std::string("C:\\")}) {
    WriteText(f + "mondax.uix", "");
    EXPECT_FALSE(IsFolderFitForRemoval(f)) << f;
    DeleteFileA((f + "mondax.uix").c_str());
  }
}

TEST(ShellOperations, ShortcutsResolveToTargetFolderAndDescription) {
  const std::string folder = FreshFolder("links " + kSo);
  const std::string target = folder + "Pendo.exe";
  WriteText(target, "MZ");
  const struct {
    std::string given, saved;
  } cases[] = {{folder + "plain", folder + "plain.lnk"},
               {folder + "upper.LNK", folder + "upper.LNK"},
               {folder + kHyo + ".lnk", folder + kHyo + ".lnk"}};
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  for (const auto& c : cases) {
    ASSERT_TRUE(CreateShortcut(target, c.given)) << c.given;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                           reinterpret_cast<void**>(&link))));
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, c.saved.c_str(), -1, wide, MAX_PATH);
    EXPECT_TRUE(SUCCEEDED(file->Load(wide, STGM_READ))) << "saved as " << c.saved;
    char text[MAX_PATH] = {0};
    link->GetPath(text, MAX_PATH, nullptr, 0);
    EXPECT_EQ(std::string(text), target);
    link->GetWorkingDirectory(text, MAX_PATH);
    EXPECT_EQ(std::string(text), folder.substr(0, folder.size() - 1));
    link->GetDescription(text, MAX_PATH);
    EXPECT_EQ(std::string(text), "Quorvane's Application");
    file->Release();
    link->Release();
  }
  CoUninitialize();
  EXPECT_FALSE(CreateShortcut(target, folder + "missing\\x")) << "a folder that is not there";
}

TEST(ShellOperations, FileVerbsOnlyBeneathAnExistingShellKey) {
  DeleteRegistryTree(HKEY_CLASSES_ROOT, ".pndtest");
  DeleteRegistryTree(HKEY_CLASSES_ROOT, "pndtestfile");
  DeleteRegistryTree(HKEY_CLASSES_ROOT, ".pndbare");
  DeleteRegistryTree(HKEY_CLASSES_ROOT, "pndbarefile");
  tregistrykey key;
  key.Create(HKEY_CLASSES_ROOT, ".pndtest");
  key.WriteString("", "pndtestfile");
  key.Create(HKEY_CLASSES_ROOT, "pndtestfile\\shell");
  key.Create(HKEY_CLASSES_ROOT, ".pndbare");
  key.WriteString("", "pndbarefile");
  key.Create(HKEY_CLASSES_ROOT, "pndbarefile");
  key.Close();

  RegisterFileVerb(".pndtest", "open", "C:\\P Q\\Pendo.exe %1");
  ASSERT_TRUE(key.Open(HKEY_CLASSES_ROOT, "pndtestfile\\shell\\open\\command"));
  EXPECT_EQ(key.ReadString(""), "C:\\P Q\\Pendo.exe %1");
  RegisterFileVerb(".pndbare", "open", "x");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "pndbarefile\\shell")) << "no shell key: nothing created";
  RegisterFileVerb(".pndnone", "open", "x");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, ".pndnone"));

  // A read-only key refuses the value with the installer's message.
  try {
    key.WriteString("DisplayName", "x");
    ADD_FAILURE() << "the key was opened for reading";
  } catch (const ERegistryError& e) {
    EXPECT_EQ(std::string(e.what()), "'DisplayName' の設定に失敗しました");
  }
  const std::string tooLong = "Software\\" + std::string(300, 'k');
  try {
    key.Create(HKEY_CURRENT_USER, tooLong);
    ADD_FAILURE() << "a key name above 255 characters cannot be created";
  } catch (const ERegistryError& e) {
    EXPECT_EQ(std::string(e.what()), "ｷｰ " + tooLong + " の作成に失敗しました");
  }
  key.Close();
  EXPECT_FALSE(DeleteRegistryTree(HKEY_CLASSES_ROOT, "")) << "never the root itself";
  EXPECT_FALSE(DeleteRegistryTree(HKEY_CLASSES_ROOT, "pndtestfile\\")) << "never a parent by its separator";
  EXPECT_TRUE(DeleteRegistryTree(HKEY_CLASSES_ROOT, "pndtestfile")) << "with all its subkeys";
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "pndtestfile\\shell\\open\\command"));
  for (const char* k : {".pndtest", ".pndbare", "pndbarefile"}) DeleteRegistryTree(HKEY_CLASSES_ROOT, k);
}

TEST(ArchiveFile, CopiesInOrderAndKeepsOldFilesOnShortArchives) {
  const std::string folder = FreshFolder("archive");
  std::string bytes(2621440 + 10, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 253);
  WriteText(folder + "p.bdx", bytes);
  WriteText(folder + "old.dat", "previous version");
  tarchivefile archive(1u << 17);  // small views, so the copies cross several
  ASSERT_TRUE(archive.Open(folder + "p.bdx"));
  EXPECT_EQ(CreateFileA((folder + "p.bdx").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                        nullptr),
            INVALID_HANDLE_VALUE)
      << "nobody else opens the archive while it is read";
  ASSERT_TRUE(CopyArchiveFile(archive, folder + "small.dat", 10));
  ASSERT_TRUE(CopyArchiveFile(archive, folder + "big.dat", 2621440)) << "2.5 MiB in 1 MiB pieces, across views";
  EXPECT_FALSE(CopyArchiveFile(archive, folder + "old.dat", 5)) << "the archive is used up";
  EXPECT_FALSE(CopyArchiveFile(archive, folder + "missing\\x.dat", 0));
  archive.Close();
  std::string got;
  ASSERT_TRUE(ReadText(folder + "small.dat", got));
  EXPECT_EQ(got, bytes.substr(0, 10));
  ASSERT_TRUE(ReadText(folder + "big.dat", got));
  EXPECT_TRUE(got == bytes.substr(10)) << "big.dat differs";
  ASSERT_TRUE(ReadText(folder + "old.dat", got));
  EXPECT_EQ(got, "previous version") << "a failed copy leaves the old file";
  tpathlist files;
  ListFolderFiles(folder, files);
  EXPECT_EQ(files.size(), 4u) << "no temporary file left behind";
}

namespace {

// The manifest the system reads when it starts the program.
std::string ManifestOf(const std::string& exe) {
  HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return "<cannot load " + exe + ">";
  std::string text;
  if (HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {  // RT_MANIFEST
    if (HGLOBAL data = LoadResource(module, res))
      text.assign(static_cast<const char*>(LockResource(data)), SizeofResource(module, res));
  }
  FreeLibrary(module);
  return text;
}

}  // namespace

TEST(Manifests, MondaxAsksForAdministratorAndPendoStaysVirtualised) {
  const std::string bin = GetProgramFolder() + "..\\..\\bin\\";
  const std::string mondax = ManifestOf(bin + "mondax.exe");
  EXPECT_NE(mondax.find("<requestedExecutionLevel level=\"requireAdministrator\""), std::string::npos) << mondax;
  EXPECT_NE(mondax.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos);
  // A declared level would switch off the virtual store that keeps a
  // standard user's profiles when Pendo lives under Program Files.
  const std::string pendo = ManifestOf(bin + "Pendo.exe");
  EXPECT_NE(pendo.find("<supportedOS"), std::string::npos) << pendo;
  EXPECT_EQ(pendo.find("requestedExecutionLevel"), std::string::npos) << pendo;
}
