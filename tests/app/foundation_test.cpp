// Pendo as a user meets it: started, started again, renamed, closed from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "processdriver.h"

using namespace pendo::testing;

namespace {

constexpr DWORD kStartMs = 20000;
constexpr UINT kCloseMessage = 1692;

std::string CopyPendo(const std::string& folder, const std::string& name) {
  const std::string exe = folder + name;
  EXPECT_TRUE(CopyFileA(BuiltPendoPath().c_str(), exe.c_str(), FALSE)) << BuiltPendoPath();
  return exe;
}

void CloseFromOutside(const Process& p, HWND window) {
  ASSERT_NE(window, nullptr);
  PostMessageA(window, kCloseMessage, 0, 0);
  EXPECT_EQ(p.WaitExit(kStartMs), 0);
}

}  // namespace

TEST(Startup, SecondCopyEndsSilentlyAndFirstKeepsRunning) {
  const std::string exe = CopyPendo(FreshFolder("second"), "pendo.exe");
  Process first = Start(exe);
  HWND window = WaitForWindow(first, "Tmainform", kStartMs);
  ASSERT_NE(window, nullptr);
  HWND app = WaitForWindow(first, "TApplication", kStartMs, false);
  ASSERT_NE(app, nullptr);
  char title[64] = "";
  GetWindowTextA(app, title, sizeof title);
  EXPECT_STREQ(title, "Pendo");
  RECT before;
  GetWindowRect(window, &before);

  Process second = Start(exe);
  EXPECT_EQ(second.WaitExit(kStartMs), 0);
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(IsWindow(window));
  RECT after;
  GetWindowRect(window, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  CloseFromOutside(first, window);
}

TEST(Startup, LockFollowsTheFileNameNotTheFolderOrCase) {
  const std::string one = FreshFolder("names1");
  const std::string two = FreshFolder("names2");
  Process a = Start(CopyPendo(one, "pendo.exe"));
  Process b = Start(CopyPendo(one, "pendo2.exe"));
  HWND wa = WaitForWindow(a, "Tmainform", kStartMs);
  HWND wb = WaitForWindow(b, "Tmainform", kStartMs);
  EXPECT_NE(wa, nullptr);
  EXPECT_NE(wb, nullptr) << "another file name is another program";

  Process c = Start(CopyPendo(two, "Pendo.EXE"));
  EXPECT_EQ(c.WaitExit(kStartMs), 0) << "same name in another folder and case shares the lock";
  EXPECT_TRUE(a.Running());

  CloseFromOutside(a, wa);
  CloseFromOutside(b, wb);
  // With the first gone the name is free again.
  Process d = Start(two + "Pendo.EXE");
  HWND wd = WaitForWindow(d, "Tmainform", kStartMs);
  EXPECT_NE(wd, nullptr);
  CloseFromOutside(d, wd);
}

TEST(Startup, CloseMessageSavesPlacementAndAPlaceOffTheScreenIsKept) {
  const std::string folder = FreshFolder("close");
  const std::string exe = CopyPendo(folder, "pendo.exe");
  Process p = Start(exe);
  HWND w = WaitForWindow(p, "Tmainform", kStartMs);
  ASSERT_NE(w, nullptr);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 114);
  RECT c;
  GetClientRect(w, &c);
  EXPECT_EQ(c.right, 117);
  EXPECT_EQ(c.bottom, 32);
  CloseFromOutside(p, w);

  const std::string profile = folder + "profile\\profile_mainform";
  std::string text;
  ASSERT_TRUE(ReadText(profile, text)) << "the profile exists after the close message";
  EXPECT_NE(text.find("left,40\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("clientwidth,117\r\n"), std::string::npos) << text;
  ASSERT_TRUE(ReadText(folder + "profile\\profile_datepanel", text)) << "the clock's look is saved too";
  EXPECT_NE(text.find("horizontalnoise,1\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("titlecolor,8388608\r\n"), std::string::npos) << text;

  // A window left off the screen shows on it, and keeps its place for the
  // day its screen is back.
  WriteText(profile, "top,-300\r\nleft,-500\r\nclientwidth,60\r\n");
  Process again = Start(exe);
  w = WaitForWindow(again, "Tmainform", kStartMs);
  ASSERT_NE(w, nullptr);
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  GetClientRect(w, &c);
  EXPECT_EQ(c.right, 60);
  EXPECT_EQ(c.bottom, 32) << "a missing key takes the default";
  CloseFromOutside(again, w);
  ASSERT_TRUE(ReadText(profile, text));
  EXPECT_NE(text.find("left,-500\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("top,-300\r\n"), std::string::npos) << text;
}

TEST(Startup, ProfileFolderBesideAProgramInADoubleByteFolder) {
  // "表示" ends in a character whose trail byte is '\'.
  const std::string folder = FreshFolder("\x95\x5c\x8e\xa6\x83\x5c");
  Process p = Start(CopyPendo(folder, "pendo.exe"));
  HWND w = WaitForWindow(p, "Tmainform", kStartMs);
  ASSERT_NE(w, nullptr);
  CloseFromOutside(p, w);
  const DWORD a = GetFileAttributesA((folder + "profile\\profile_mainform").c_str());
  EXPECT_NE(a, INVALID_FILE_ATTRIBUTES);
}

TEST(Startup, AProfileHeldByAnotherProgramSurvivesAStartAndAnEnd) {
  const std::string folder = FreshFolder("held");
  const std::string exe = CopyPendo(folder, "pendo.exe");
  CreateDirectoryA((folder + "profile").c_str(), nullptr);
  const std::string profile = folder + "profile\\profile_mainform";
  const std::string original = "left,300\r\ntop,200\r\nfirstboot,0\r\nsomething,else\r\n";
  WriteText(profile, original);
  HANDLE held = CreateFileA(profile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Process p = Start(exe);
  HWND w = WaitForWindow(p, "Tmainform", kStartMs);
  ASSERT_NE(w, nullptr) << "the program runs on its defaults";
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 40);
  CloseFromOutside(p, w);
  CloseHandle(held);
  std::string text;
  ASSERT_TRUE(ReadText(profile, text));
  EXPECT_EQ(text, original);

  Process again = Start(exe);
  w = WaitForWindow(again, "Tmainform", kStartMs);
  ASSERT_NE(w, nullptr);
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 300) << "read once it is free";
  EXPECT_EQ(r.top, 200);
  CloseFromOutside(again, w);
}

TEST(Startup, TheEndOfTheSessionWritesWhatAnOrdinaryExitWrites) {
  const std::string folder = FreshFolder("session");
  const std::string exe = CopyPendo(folder, "pendo.exe");
  CreateDirectoryA((folder + "profile").c_str(), nullptr);
  const std::string profile = folder + "profile\\profile_mainform";
  WriteText(profile, "firstboot,0\r\n");
  Process p = Start(exe);
  HWND w = WaitForWindow(p, "Tmainform", kStartMs);
  ASSERT_NE(w, nullptr);
  SetWindowPos(w, nullptr, 321, 123, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(SendMessageA(w, WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageA(w, WM_ENDSESSION, FALSE, 0);
  std::string text;
  ASSERT_TRUE(ReadText(profile, text));
  EXPECT_EQ(text, "firstboot,0\r\n") << "a session that goes on writes nothing";

  SendMessageA(w, WM_ENDSESSION, TRUE, 0);
  std::string atSessionEnd, panelAtSessionEnd;
  ASSERT_TRUE(ReadText(profile, atSessionEnd));
  EXPECT_NE(atSessionEnd.find("left,321\r\n"), std::string::npos) << atSessionEnd;
  ASSERT_TRUE(ReadText(folder + "profile\\profile_datepanel", panelAtSessionEnd)) << "the clock's look too";
  CloseFromOutside(p, w);
  ASSERT_TRUE(ReadText(profile, text));
  EXPECT_EQ(text, atSessionEnd);
  ASSERT_TRUE(ReadText(folder + "profile\\profile_datepanel", text));
  EXPECT_EQ(text, panelAtSessionEnd);
}
