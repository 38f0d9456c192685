// The utilities that talk to Windows, against the real functions under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "settings/utilities.h"

using namespace pendo;

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
  HANDLE lock = CreateInstanceMutex();
  ASSERT_NE(lock, nullptr);
  EXPECT_TRUE(IsAlreadyRunning());
  EXPECT_EQ(CreateInstanceMutex(), nullptr) << "a second lock is refused";
  ReleaseInstanceMutex(lock);
  EXPECT_FALSE(IsAlreadyRunning()) << "releasing frees the name at once";
}

TEST(Utilities, CaptionIsCutAt255Bytes) {
  const std::string longTitle(300, 'k');
  HWND w = CreateWindowExA(0, "STATIC", longTitle.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(GetWindowCaption(w), std::string(255, 'k'));
  SetWindowTextA(w, "\x8e\x9e\x95\xf1");  // a Shift-JIS caption comes back byte for byte
  EXPECT_EQ(GetWindowCaption(w), "\x8e\x9e\x95\xf1");
  DestroyWindow(w);
  EXPECT_EQ(GetWindowCaption(nullptr), "");
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
