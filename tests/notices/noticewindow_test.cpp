// The notice window and the minute scheduler inside the clock window, under
// Wine: keys and clicks through the window's own messages, real timers, and
// the sounds the harness recorded.
#include <windows.h>
#include <wtsapi32.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/_mainform.h"
#include "framework/application.h"
#include "notices/_noticeform.h"
#include "panels/graphicalgaugepanel.h"
#include "settings/clockparts.h"
#include "settings/platform.h"
#include "settings/profiler.h"
#include "settings/programidentity.h"
#include "settings/widetext.h"
#include "soundrecording.h"
#include "testfolder.h"
#include "wintest.h"

namespace pendo {
namespace {

using test::Pump;

const char* const kProfiles[] = {"profile_mainform", "profile_datepanel", "profile_noticeform", "profile_noticepanel",
                                 "element_noticelist"};

std::vector<Tnoticeform*> OpenNotices() {
  std::vector<Tnoticeform*> open;
  for (tform* f : Application->Forms()) {
    if (auto* n = dynamic_cast<Tnoticeform*>(f)) open.push_back(n);
  }
  return open;
}

// Pumps until the window is gone or ms have passed.
bool WaitGone(HWND window, DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  while (IsWindow(window) && static_cast<LONG>(end - GetTickCount()) > 0) Pump(20);
  return !IsWindow(window);
}

// A window of its own that holds the focus before a notice opens.
struct tfocusholder {
  HWND window = CreateWindowExA(0, "STATIC", "holder", WS_POPUP | WS_VISIBLE | WS_CAPTION, 600, 500, 120, 60,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  tfocusholder() {
    SetForegroundWindow(window);
    Pump();
  }
  ~tfocusholder() { DestroyWindow(window); }
};

int MeasuredWidth(const std::string& text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontA(-MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                           DEFAULT_CHARSET, 0, 0, 0, 0, "MS Pゴシック");
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return size.cx;
}

class Notices : public ::testing::Test {
 protected:
  // The clock window is the program's main form, as in Pendo: closing a
  // notice must not end the program.
  void SetUp() override {
    for (const char* p : kProfiles) test::DeleteProfile(p);
    test::WritePastFirstBoot();
    form = Application->CreateMainForm<Tmainform>();
    form->ShowAtStartup();
    Pump();
  }
  void TearDown() override {
    for (Tnoticeform* n : OpenNotices()) n->Free();
    if (form) form->Free();
    Pump(10);
    for (const char* p : kProfiles) test::DeleteProfile(p);
  }
  Tnoticeform* ShowOne(const std::string& message) {
    const auto before = OpenNotices().size();
    form->ShowNotice(message);
    Pump();
    const auto open = OpenNotices();
    EXPECT_EQ(open.size(), before + 1);
    return open.empty() ? nullptr : open.back();
  }
  Tmainform* form = nullptr;
};

TEST_F(Notices, WindowShowsMessageAndTimeBlinksAndGivesTheFocusBack) {
  tfocusholder holder;
  const std::string message = "会議の時間です";
  const int hour = GetHour(), minute = GetMinute();
  Tnoticeform* notice = ShowOne(message);
  ASSERT_NE(notice, nullptr);
  const HWND window = notice->Handle();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetForegroundWindow(), window);
  EXPECT_EQ(form->SavedForegroundWindow(), holder.window);
  RECT placed, after;
  GetWindowRect(window, &placed);
  PostMessageA(window, WM_KEYDOWN, VK_RIGHT, 0);
  Pump();
  GetWindowRect(window, &after);
  EXPECT_EQ(after.left, placed.left) << "a notice cannot be moved";

  tgraphicalgaugepanel* panel = notice->noticepanel;
  EXPECT_EQ(panel->Center(), message);
  const std::string colon = "at " + std::to_string(hour) + ":" + std::to_string(minute);
  const std::string blank = "at " + std::to_string(hour) + " " + std::to_string(minute);
  EXPECT_EQ(panel->Value(), colon);
  EXPECT_EQ(panel->Width(), MeasuredWidth(message) + 80);
  EXPECT_EQ(notice->ClientWidth(), panel->Width() + 8);
  EXPECT_EQ(notice->ClientHeight(), 32);
  EXPECT_EQ(panel->Left(), 4);
  EXPECT_EQ(panel->Top(), 1);

  Pump(1150);
  EXPECT_EQ(panel->Value(), colon) << "after the first second";
  Pump(1000);
  EXPECT_EQ(panel->Value(), blank) << "after the second";
  Pump(1000);
  EXPECT_EQ(panel->Value(), colon);

  PostMessageA(window, WM_KEYDOWN, 'A', 0);
  Pump();
  EXPECT_TRUE(IsWindow(window)) << "other keys leave it open";
  PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitGone(window, 1000));
  EXPECT_TRUE(OpenNotices().empty()) << "a closed notice is freed";
  EXPECT_EQ(GetForegroundWindow(), holder.window);
}

TEST_F(Notices, EscAndClicksOnWindowOrPanelClose) {
  const struct {
    const char* what;
    UINT down, up;
    WPARAM key;
    int x, y;
  } inputs[] = {
      {"Esc", WM_KEYDOWN, 0, VK_ESCAPE, 0, 0},
      {"click on the panel", WM_LBUTTONDOWN, WM_LBUTTONUP, 0, 20, 15},
      {"click beside the panel", WM_LBUTTONDOWN, WM_LBUTTONUP, 0, 1, 1},
  };
  for (const auto& in : inputs) {
    tfocusholder holder;
    Tnoticeform* notice = ShowOne("x");
    ASSERT_NE(notice, nullptr) << in.what;
    const HWND window = notice->Handle();
    if (in.key) {
      PostMessageA(window, in.down, in.key, 0);
    } else {
      PostMessageA(window, in.down, MK_LBUTTON, MAKELPARAM(in.x, in.y));
      PostMessageA(window, in.up, 0, MAKELPARAM(in.x, in.y));
    }
    EXPECT_TRUE(WaitGone(window, 1000)) << in.what;
    EXPECT_EQ(GetForegroundWindow(), holder.window) << in.what;
  }
}

TEST_F(Notices, TwoNoticesShareTheSavedWindowAndCloseAfterSixteenSeconds) {
  tfocusholder holder;
  Tnoticeform* first = ShowOne("");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->noticepanel->Width(), 80) << "an empty message";
  EXPECT_EQ(first->ClientWidth(), 88);
  const DWORD opened = GetTickCount();
  Tnoticeform* second = ShowOne("second");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(form->SavedForegroundWindow(), first->Handle()) << "the first notice had the focus";
  const HWND one = first->Handle(), two = second->Handle();
  PostMessageA(two, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitGone(two, 1000));
  EXPECT_EQ(GetForegroundWindow(), one) << "the focus goes to the saved window";

  Pump(15000 - (GetTickCount() - opened));
  EXPECT_TRUE(IsWindow(one)) << "open for 16 seconds";
  EXPECT_TRUE(WaitGone(one, 2500)) << "closed at 16 seconds";
  EXPECT_GE(GetTickCount() - opened, 15500u);
}

// A clock the scheduler reads; the test moves it between timer ticks.
struct tmanualclock : tschedulerclock {
  int hour = 9, minute = 29;
  platform::tlocaltime Now() override { return {2026, 12, 8, 2, hour, minute, 0}; }
};

// The minute of the hour the scheduler ran last; -1 before its first tick.
int LastMinute(const Tmainform& form) {
  const auto last = form.LastCompletedMinute();
  return last ? LocalMinuteTime(*last).minute : -1;
}

TEST_F(Notices, ChimeOfTwoFilesInOrderWithinTheTickBadSoundsDoNotStopItAndMissedNoticesInListOrder) {
  const std::string recording = test::RecordingPath();
  ASSERT_FALSE(recording.empty()) << "run under the Wine harness";
  const std::string a = test::WriteLevelWave("chime_a.wav", 0x30, 3000);
  const std::string b = test::WriteLevelWave("chime_b.wav", 0xD0, 5000);
  tmanualclock clock;
  form->SetSchedulerClock(&clock);
  form->eventsounds.clocked[24 + 9] = a + "+" + b;
  form->eventsounds.clocked[10] = "beep";
  form->noticelist.Add("2,0,0,0,10,0,after beep");
  for (const char* m : {"first", "second", "third"}) form->noticelist.Add(std::string("2,0,0,0,10,30,") + m);
  auto tickUntil = [&](int minute) {
    for (int i = 0; i < 60 && LastMinute(*form) != minute; ++i) Pump(50);
    return LastMinute(*form);
  };
  ASSERT_EQ(tickUntil(29), 29);

  DeleteFileA(recording.c_str());
  clock.minute = 30;
  ASSERT_EQ(tickUntil(30), 30);
  const std::string played = test::ReadRecording(recording, 8000);
  EXPECT_EQ(played.size(), 8000u);
  EXPECT_EQ(test::Levels(played), (std::vector<int>{0x30, 0xD0}));

  clock.hour = 10, clock.minute = 0;
  ASSERT_EQ(tickUntil(0), 0);
  form->eventsounds.noticed = test::WriteLevelWave("noticed.wav", 0x70, 1000);
  form->eventsounds.clocked[24 + 10] = test::WriteLevelWave("half10.wav", 0x11, 1000);
  DeleteFileA(recording.c_str());
  // 10:30 goes by unseen: its notices open at 10:31 with their own time, its
  // chime stays silent.
  clock.minute = 31;
  ASSERT_EQ(tickUntil(31), 31);
  std::vector<std::string> shown;
  for (Tnoticeform* n : OpenNotices()) shown.push_back(n->noticepanel->Center() + " " + n->noticepanel->Value());
  EXPECT_EQ(shown, (std::vector<std::string>{"after beep at 10:0", "first at 10:30", "second at 10:30",
                                             "third at 10:30"}));
  const std::string noticed = test::ReadRecording(recording, 3000);
  EXPECT_EQ(noticed.size(), 3000u) << "the notice sound, once for each of the three";
  EXPECT_EQ(test::Levels(noticed), (std::vector<int>{0x70}));
  form->SetSchedulerClock(nullptr);
}

TEST_F(Notices, AChangedClockZoneOrWakeUpRunsTheMinutesDueAtOnce) {
  tmanualclock clock;
  form->SetSchedulerClock(&clock);
  form->ClockChanged();
  const struct {
    const char* what;
    UINT msg;
    WPARAM wp;
  } messages[] = {
      {"the clock set", WM_TIMECHANGE, 0},
      {"a wake-up", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
      {"a wake-up by the user", WM_POWERBROADCAST, PBT_APMRESUMESUSPEND},
      {"a session unlocked", WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK},
  };
  for (const auto& m : messages) {
    ++clock.minute;
    // Sent: handled before any timer can tick.
    SendMessageW(form->Handle(), m.msg, m.wp, 0);
    EXPECT_EQ(LastMinute(*form), clock.minute) << m.what;
  }
  ++clock.minute;
  SendMessageW(form->Handle(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_EQ(LastMinute(*form), clock.minute - 1) << "going to sleep runs nothing";
  form->SetSchedulerClock(nullptr);
}

TEST_F(Notices, SettingsAndListSavedWithTheWindowAndReadBackAtTheNextStart) {
  // A comma, and a Japanese name that leads to the file on any code page.
  const std::string sound = test::OwnFolder() + "時報,with comma.wav";
  ASSERT_TRUE(MoveFileExW(Wide(test::WriteLevelWave("with,comma.wav", 0x44, 2000)).c_str(), Wide(sound).c_str(),
                          MOVEFILE_REPLACE_EXISTING));
  ASSERT_NE(sound.find(','), std::string::npos);
  form->eventsounds.noticed = sound;
  form->noticelist.Add("0,0,0,0,8,0,a,b");
  form->noticelist.Add("1,0,11,24,9,0,休み");
  form->Free();
  Pump(10);
  std::string list;
  ASSERT_TRUE(platform::ReadFileBytes(tnoticelist::FilePath(), list));
  EXPECT_EQ(list, "0,0,0,0,8,0,a,b\r\n1,0,11,24,9,0,休み\r\n");

  form = Application->CreateMainForm<Tmainform>();
  form->ShowAtStartup();
  EXPECT_EQ(form->noticelist.Count(), 2);
  ASSERT_EQ(form->eventsounds.noticed, sound) << "a path with a comma survives a restart";
  const std::string recording = test::RecordingPath();
  DeleteFileA(recording.c_str());
  Tnoticeform* notice = ShowOne("with sound");
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(test::Levels(test::ReadRecording(recording, 2000)), (std::vector<int>{0x44}))
      << "the notice sound played";
}

TEST_F(Notices, UnreadableListIsReportedOnceAndNeverOverwritten) {
  form->Free();
  form = nullptr;
  const std::string path = tnoticelist::FilePath();
  const std::string before = "0,0,0,0,8,0,keep me\r\n";
  platform::WriteFileAtomically(path, before);
  HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  {
    test::tdialogwatcher box(tadvancedform::kErrorCaption);
    form = Application->CreateMainForm<Tmainform>();
    form->ShowAtStartup();
    Pump(300);
    EXPECT_EQ(form->noticelist.Count(), 0);
    ASSERT_TRUE(box.Found());
    EXPECT_NE(box.Text().find(tnoticelist::kFileName), std::string::npos) << box.Text();
  }
  CloseHandle(locked);
  form->noticelist.Add("0,0,0,0,9,0,new");
  {
    test::tdialogwatcher box(tadvancedform::kErrorCaption);
    form->Free();
    ASSERT_TRUE(box.Found()) << "the user is told that the added notice is lost";
    EXPECT_NE(box.Text().find("失われます"), std::string::npos) << box.Text();
  }
  form = Application->CreateMainForm<Tmainform>();
  std::string after;
  ASSERT_TRUE(platform::ReadFileBytes(path, after));
  EXPECT_EQ(after, before);
  EXPECT_EQ(form->noticelist.Count(), 1) << "readable again at the next start";
}

TEST_F(Notices, FailedWriteKeepsTheOldFile) {
  form->noticelist.Add("0,0,0,0,8,0,first");
  form->SaveProfile();
  form->noticelist.Add("0,0,0,0,8,0,second");
  const std::string path = tnoticelist::FilePath();
  // Held open without sharing: the replacement cannot take its place.
  HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  form->eventsounds.allclocked = "every.wav";
  EXPECT_ANY_THROW(form->SaveProfile());
  CloseHandle(locked);
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "0,0,0,0,8,0,first\r\n");
  tprofiler profile("profile_mainform");
  EXPECT_EQ(profile.ReadString("wavefileatallclocked", ""), "every.wav") << "the sounds are still written";
}

}  // namespace
}  // namespace pendo

namespace pendo {
namespace {

// Run by the tests that set TZ to a zone whose offset is not whole hours,
// with that offset in minutes in PENDO_TEST_UTC_OFFSET_MINUTES.
TEST(LocalClock, HourlyChimeSoundsAtTheLocalFullHour) {
  const char* offsetText = std::getenv("PENDO_TEST_UTC_OFFSET_MINUTES");
  if (!offsetText) GTEST_SKIP() << "needs a time zone";
  const int offset = std::atoi(offsetText);
  TIME_ZONE_INFORMATION zone;
  GetTimeZoneInformation(&zone);
  ASSERT_EQ(zone.Bias, -offset) << "the process runs in the zone TZ names";

  // Move the clock to 9:59:57 local time, reached from the system's clock.
  FILETIME f;
  GetSystemTimeAsFileTime(&f);
  const long long now = ((static_cast<long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000000LL % 86400;
  const long long target = ((9 * 3600 + 59 * 60 + 57) - offset * 60 + 86400) % 86400;
  platform::ShiftClock((target - now + 86400) % 86400);
  ASSERT_EQ(GetHour(), 9);
  ASSERT_EQ(GetMinute(), 59);

  for (const char* p : kProfiles) test::DeleteProfile(p);
  test::WritePastFirstBoot();
  auto* form = Application->CreateMainForm<Tmainform>();
  form->ShowAtStartup();
  for (int h = 0; h < 24; ++h) {
    form->eventsounds.clocked[h] = test::WriteLevelWave("hour" + std::to_string(h) + ".wav", 0x10 + h, 500);
    form->eventsounds.clocked[24 + h] = test::WriteLevelWave("half" + std::to_string(h) + ".wav", 0x80 + h, 500);
  }
  const std::string recording = test::RecordingPath();
  for (int i = 0; i < 100 && LastMinute(*form) != 59; ++i) Pump(50);
  DeleteFileA(recording.c_str());
  for (int i = 0; i < 200 && LastMinute(*form) != 0; ++i) Pump(50);
  EXPECT_EQ(LastMinute(*form), 0);
  EXPECT_EQ(test::Levels(test::ReadRecording(recording, 500)), (std::vector<int>{0x10 + 10}))
      << "the chime of hour 10, once";
  form->Free();
  platform::ShiftClock(0);
}

}  // namespace
}  // namespace pendo
