// The utilities that talk to Windows, against the real functions under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "settings/fileerror.h"
#include "settings/profilelines.h"
#include "settings/profiler.h"
#include "settings/safefiles.h"
#include "settings/platform.h"
#include "settings/utilities.h"
#include "settings/widetext.h"
#include "soundrecording.h"
#include "testfolder.h"

using namespace pendo;
using namespace pendo::test;

TEST(Utilities, FoldersEndWithBackslash) {
  const std::string folder = GetProgramFolder();
  ASSERT_GT(folder.size(), 3u);
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_EQ(GetProgramBaseName(), "settings_test");

  char windir[MAX_PATH];
  GetWindowsDirectoryA(windir, MAX_PATH);
  EXPECT_EQ(GetWindowsFolder(), std::string(windir) + "\\");
}

TEST(Utilities, InstanceLockFollowsTheMutex) {
  EXPECT_FALSE(IsAlreadyRunning());
  tkernelhandle lock = CreateInstanceMutex();
  ASSERT_TRUE(lock);
  EXPECT_TRUE(IsAlreadyRunning());
  EXPECT_FALSE(CreateInstanceMutex()) << "a second lock is refused";
  ReleaseInstanceMutex(lock);
  EXPECT_FALSE(IsAlreadyRunning()) << "releasing frees the name at once";
}

TEST(Utilities, DesktopMeasures) {
  EXPECT_GT(GetWorkAreaRight(), 0);
  EXPECT_LE(GetWorkAreaRight(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GT(GetWorkAreaBottom(), 0);
  EXPECT_LE(GetWorkAreaBottom(), GetSystemMetrics(SM_CYSCREEN));
  SetCursorPos(33, 44);
  EXPECT_EQ(GetCursorX(), 33);
  EXPECT_EQ(GetCursorY(), 44);
}

TEST(Utilities, RunProgramReportsFailure) {
  EXPECT_FALSE(RunProgram("C:\\no\\such\\program_xyz.exe"));
  EXPECT_FALSE(RunProgram(""));
  EXPECT_TRUE(RunProgram("cmd.exe /c exit 0"));
}

TEST(PlaySoundList, PlaysExistingFilesInOrderAndSkipsMissingOnes) {
  const std::string recording = RecordingPath();
  ASSERT_FALSE(recording.empty()) << "run under the Wine harness";
  const std::string a = WriteLevelWave("tone_a.wav", 0x20, 2205);
  const std::string c = WriteLevelWave("tone_c.wav", 0xE0, 4410);
  const std::string missing = GetProgramFolder() + "no_such_tone.wav";

  DeleteFileA(recording.c_str());
  EXPECT_TRUE(PlaySoundList(a + "+" + missing + "+" + c));
  const std::string played = ReadRecording(recording, 2205 + 4410);
  EXPECT_EQ(played.size(), 2205u + 4410u);
  EXPECT_EQ(Levels(played), (std::vector<int>{0x20, 0xE0})) << "first, then third, one after the other";

  DeleteFileA(recording.c_str());
  EXPECT_TRUE(PlaySoundList(c));
  EXPECT_EQ(ReadRecording(recording, 4410).size(), 4410u);

  EXPECT_FALSE(PlaySoundList(missing)) << "no listed file exists";
  EXPECT_FALSE(PlaySoundList(""));
  EXPECT_FALSE(PlaySoundList(missing + "+" + missing));
  EXPECT_TRUE(PlaySoundList("beep"));
  EXPECT_FALSE(PlaySoundList("Beep")) << "only the exact word beeps";
}

// A copy of a level wave with bytes replaced at an offset, or grown (sparse)
// to a size.
std::string SpoiltWave(const std::string& name, std::size_t at, const std::string& bytes, LONGLONG size = 0) {
  const std::string path = WriteLevelWave(name, 0x55, 800);
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(at);
  DWORD written = 0;
  SetFilePointerEx(f, to, nullptr, FILE_BEGIN);
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  if (size) {
    to.QuadPart = size;
    SetFilePointerEx(f, to, nullptr, FILE_BEGIN);
    SetEndOfFile(f);
  }
  CloseHandle(f);
  return path;
}

TEST(PlaySoundList, AFileThatIsNoPlayableWaveOrTooLargePlaysNothingAndTheNextOneStillPlays) {
  const std::string recording = RecordingPath();
  ASSERT_FALSE(recording.empty()) << "run under the Wine harness";
  const struct {
    const char* what;
    std::string path;
  } files[] = {
      // 844 bytes whose data chunk claims 200 MB.
      {"bad sizes", SpoiltWave("bad.wav", 40, std::string("\x00\xc2\xeb\x0b", 4))},
      {"1.5 GB", SpoiltWave("huge.wav", 40, std::string("\x00\x00\x00\x60", 4), 1610612736)},
      {"a format no player knows", SpoiltWave("unknown.wav", 20, std::string("\x34\x12", 2))},
      {"no wave at all", SpoiltWave("text.wav", 0, "hello, world")},
  };
  const std::string good = WriteLevelWave("after_bad.wav", 0x66, 1000);
  for (const auto& f : files) {
    DeleteFileA(recording.c_str());
    EXPECT_FALSE(PlaySoundList(f.path)) << f.what;
    EXPECT_TRUE(PlaySoundList(f.path + "+" + good)) << f.what;
    EXPECT_EQ(Levels(ReadRecording(recording, 1000)), (std::vector<int>{0x66})) << f.what << ": only the good one";
  }
  DeleteFileA(files[1].path.c_str());
}

TEST(WideText, EdgesOfTheConversion) {
  EXPECT_EQ(Wide(""), L"");
  EXPECT_EQ(Narrow(L""), "");
  EXPECT_EQ(Wide("表ソ時報"), L"表ソ時報") << "trail bytes equal to '\\' are no separators";
  std::string out = "kept";
  EXPECT_FALSE(NarrowExact(L"caf\u00e9", out)) << "no code page 932 form";
  EXPECT_EQ(out, "kept");
  EXPECT_EQ(Narrow(L"caf\u00e9"), "caf?");
  EXPECT_TRUE(NarrowExact(L"表ソ", out));
  EXPECT_EQ(out, "表ソ");
  const std::wstring half = Wide("時\x82");  // the last character's second byte is missing
  ASSERT_EQ(half.size(), 2u);
  EXPECT_EQ(half[0], L'時');
  // Code page 932 whatever the system's code page is.
  EXPECT_TRUE(platform::IsLeadByte(0x82));
  EXPECT_FALSE(platform::IsLeadByte('A'));
  EXPECT_EQ(platform::LowerText("ＡＢＣ表DEF"), "ａｂｃ表def");
  EXPECT_EQ(platform::LowerText("X\x82"), "x\x82") << "not code page 932 text: the ASCII letters only";
}

// Profiles, sounds and programs in folders with Japanese names, also when
// the system's code page is not 932.
TEST(Utilities, JapaneseNamesLeadToTheirFiles) {
  const std::string folder = OwnFolder() + "日本語の名前\\";
  ASSERT_TRUE(platform::CreateFolderTree(folder));
  platform::WriteFileAtomically(folder + "設定", "中身");
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(folder + "設定", bytes));
  EXPECT_EQ(bytes, "中身");
  EXPECT_TRUE(platform::FileExists(folder + "設定"));
  // A name the code page cannot hold is left out rather than mangled.
  CloseHandle(CreateFileW((Wide(folder) + L"設定-caf\u00e9").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                          nullptr));
  EXPECT_EQ(platform::FilesStartingWith(folder, "設定"), std::vector<std::string>{"設定"});

  const std::string recording = RecordingPath();
  ASSERT_FALSE(recording.empty()) << "run under the Wine harness";
  const std::string sound = folder + "時報.wav";
  ASSERT_TRUE(MoveFileExW(Wide(WriteLevelWave("tone_j.wav", 0x60, 2205)).c_str(), Wide(sound).c_str(),
                          MOVEFILE_REPLACE_EXISTING));
  DeleteFileW(Wide(recording).c_str());
  EXPECT_TRUE(PlaySoundList(sound));
  EXPECT_EQ(Levels(ReadRecording(recording, 2205)), (std::vector<int>{0x60}));

  const std::string program = folder + "時計.exe";
  ASSERT_TRUE(CopyFileW(Wide(GetWindowsFolder() + "system32\\hostname.exe").c_str(), Wide(program).c_str(), FALSE));
  EXPECT_TRUE(RunProgramFile(program));
}

TEST(CpuLoadMonitor, LastMatchingLineWins) {
  EXPECT_EQ(CpuLoadMonitorValue({}), 0);
  EXPECT_EQ(CpuLoadMonitorValue({"cpuloadmonitor,12", "x,1", "cpuloadmonitor,345"}), 345);
  EXPECT_EQ(CpuLoadMonitorValue({"cpuloadmonitor,12", "cpuloadmonitor,abc"}), 0);
  EXPECT_EQ(CpuLoadMonitorValue({"CpuLoadMonitor,12"}), 0);
}

TEST(CpuLoadMonitor, ReadsThroughTheInstallationRegister) {
  const std::string reg = GetWindowsFolder() + "mondax.ini";
  DeleteFileA(reg.c_str());
  EXPECT_EQ(ReadCpuLoadMonitorSetting(), 0) << "no register";

  const std::string dir = OwnFolder() + "ostrelle";
  CreateDirectoryA(dir.c_str(), nullptr);
  CreateDirectoryA((dir + "\\profile").c_str(), nullptr);
  ASSERT_TRUE(WritePrivateProfileStringA("Ostrelle", "InstallationDirectory", dir.c_str(), reg.c_str()));
  const std::string profile = dir + "\\profile\\profile_statemonitor";
  DeleteFileA(profile.c_str());
  EXPECT_EQ(ReadCpuLoadMonitorSetting(), 0) << "no profile";

  std::ofstream(profile, std::ios::binary) << "left,3\r\ncpuloadmonitor,4242\r\n";
  EXPECT_EQ(ReadCpuLoadMonitorSetting(), 4242);

  // A profile held open exclusively by its writer: a few tries, then 0, quickly.
  HANDLE locked = CreateFileA(profile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  const DWORD start = GetTickCount();
  EXPECT_EQ(ReadCpuLoadMonitorSetting(), 0);
  EXPECT_LT(GetTickCount() - start, 3000u) << "the retry is bounded";
  CloseHandle(locked);
  DeleteFileA(reg.c_str());
}

TEST(ProfileSave, AProfileHeldByAnotherProgramIsNeverWrittenOver) {
  CreateDirectoryA(tprofiler::ProfileFolder().c_str(), nullptr);
  const std::string path = tprofiler::ProfileFolder() + "profile_held";
  const std::string original = "left,7\r\nodd line\r\ntop,9\r\n";
  std::ofstream(path, std::ios::binary) << original;
  auto hold = [&] {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  };
  HANDLE locked = hold();
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  {
    tprofiler p("profile_held");
    EXPECT_TRUE(p.Unreadable());
    EXPECT_EQ(p.ReadInteger("left", 40), 40) << "the defaults, as for a new user";
    p.WriteInteger("left", 1);
    CloseHandle(locked);  // even once it could be written
    EXPECT_THROW(p.Save(), EFileError);
  }  // the destructor stays silent
  {
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), original);
  }

  // Held only for a moment, as a writer or a virus scanner does: read after a retry.
  locked = hold();
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  std::thread release([locked] {
    Sleep(300);
    CloseHandle(locked);
  });
  {
    tprofiler p("profile_held");
    EXPECT_FALSE(p.Unreadable());
    EXPECT_EQ(p.ReadInteger("top", 0), 9);
  }
  release.join();
  DeleteFileA(path.c_str());
}

TEST(ProfileSave, AFileHeldForAMomentIsStillReplaced) {
  const std::string path = OwnFolder() + "held-briefly.txt";
  platform::WriteFileAtomically(path, "old");
  // Open without leave to delete, as most readers do: the replace must wait.
  HANDLE reader = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  std::thread release([reader] {
    Sleep(200);
    CloseHandle(reader);
  });
  EXPECT_NO_THROW(platform::WriteFileAtomically(path, "new"));
  release.join();
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "new");
  EXPECT_EQ(platform::FilesStartingWith(OwnFolder(), "held-briefly"), std::vector<std::string>{"held-briefly.txt"});
}

TEST(ProfileSave, KilledWriterNeverLeavesAPartFile) {
  const std::string saver = GetProgramFolder() + "profilesaver.exe";
  const std::string path = tprofiler::ProfileFolder() + "profile_killtest";
  DeleteFileA(path.c_str());
  std::srand(12345);
  int seenWhole = 0;
  for (int round = 0; round < 25; ++round) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + saver + "\" profile_killtest";
    ASSERT_TRUE(CreateProcessA(saver.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    // The first round waits for a first whole file; later ones kill at random.
    for (int wait = 0; round == 0 && wait < 400 && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; ++wait) {
      Sleep(50);
    }
    Sleep(100 + std::rand() % 200);
    TerminateProcess(pi.hProcess, 9);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);

    std::ifstream in(path, std::ios::binary);
    if (!in) continue;  // killed before its first save: no file, never a part of one
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto lines = SplitProfileLines(bytes);
    ASSERT_EQ(lines.size(), 3001u) << "round " << round << ": " << bytes.size() << " bytes";
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    ASSERT_EQ(GetField(lines[0], 0), "generation");
    ++seenWhole;
  }
  EXPECT_GT(seenWhole, 20);

  // The next save removes what killed savers left, never a running one's file.
  const std::string folder = tprofiler::ProfileFolder();
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION live{};
  std::string cmd = "\"" + saver + "\" profile_killtest_other";
  ASSERT_TRUE(CreateProcessA(saver.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &live));
  const std::string dead = TemporaryPathFor(path, 0xFFFFFFF0ul);
  const std::string kept[] = {TemporaryPathFor(path, live.dwProcessId), path + ".12x.tmp", path + "x.1.tmp"};
  for (const auto& f : kept) std::ofstream(f, std::ios::binary) << "x";
  std::ofstream(dead, std::ios::binary) << "x";
  {
    tprofiler p("profile_killtest");
    p.Save();
  }
  TerminateProcess(live.hProcess, 9);
  WaitForSingleObject(live.hProcess, 5000);
  CloseHandle(live.hProcess);
  CloseHandle(live.hThread);
  int leftovers = 0;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((path + ".*.tmp").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      unsigned long pid = 0;
      if (TemporaryOwner(fd.cFileName, "profile_killtest", pid) && pid != live.dwProcessId) ++leftovers;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  EXPECT_EQ(leftovers, 0);
  for (const auto& f : kept) {
    EXPECT_NE(GetFileAttributesA(f.c_str()), INVALID_FILE_ATTRIBUTES) << f;
    DeleteFileA(f.c_str());
  }
  DeleteFileA((folder + "profile_killtest_other").c_str());
}
