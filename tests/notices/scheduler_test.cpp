#include "notices/minutescheduler.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "notices/eventsoundsettings.h"
#include "notices/noticelist.h"
#include "notices/schedulerclock.h"
#include "settings/profiler.h"

using namespace pendo;

namespace {

// A clock the test sets; sounds may move it on, as a long sound does.
struct tclock : tschedulerclock {
  int dow = 3, month = 12, day = 8, hour = 9, minute = 0;
  int Minute() override { return minute; }
  int Hour() override { return hour; }
  int DayOfWeek() override { return dow; }
  int Month() override { return month; }
  int Day() override { return day; }
  void Set(int h, int m) { hour = h, minute = m; }
};

struct trecorder : tschedulereffects {
  std::vector<std::string> log;
  std::set<std::string> files;
  std::function<void(const std::string&)> onsound;
  void PlaySound(const std::string& sound) override {
    if (sound.empty()) return;
    log.push_back("sound " + sound);
    if (onsound) onsound(sound);
  }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  void RunProgram(const std::string& command) override { log.push_back("run " + command); }
  void ShowNotice(const std::string& message) override { log.push_back("notice " + message); }
  void BlinkSeparator() override { log.push_back("blink"); }
  std::vector<std::string> Take() { return std::move(log); }
};

// Every tick, with or without a pass, ends in "blink": the clock's Signal is
// inverted and the panel updated.
using Log = std::vector<std::string>;

struct SchedulerTest : ::testing::Test {
  tclock clock;
  trecorder effects;
  teventsoundsettings sounds;
  tnoticelist notices;
  tminutescheduler scheduler{clock, effects};

  void SetUp() override {
    for (int h = 0; h < 24; ++h) {
      sounds.clocked[h] = "hour" + std::to_string(h) + ".wav";
      sounds.clocked[24 + h] = "half" + std::to_string(h) + ".wav";
    }
  }
  Log TickAt(int h, int m) {
    clock.Set(h, m);
    scheduler.Tick(sounds, notices);
    return effects.Take();
  }
};

}  // namespace

TEST_F(SchedulerTest, StartInMinuteZeroLetsItGoStartInHalfHourChimesAtOnce) {
  notices.Add("2,0,0,0,10,0,ten");
  EXPECT_EQ(TickAt(10, 0), (Log{"blink"})) << "started at 10:00:30";
  EXPECT_EQ(TickAt(10, 0), (Log{"blink"}));
  EXPECT_EQ(scheduler.LastProcessedMinute(), 0);

  tminutescheduler fresh(clock, effects);
  notices.Add("2,0,0,0,10,30,half past");
  clock.Set(10, 30);
  fresh.Tick(sounds, notices);
  EXPECT_EQ(effects.Take(), (Log{"sound half10.wav", "notice half past", "blink"})) << "started at 10:30:30";
  fresh.Tick(sounds, notices);
  EXPECT_EQ(effects.Take(), (Log{"blink"})) << "once per minute";
}

TEST_F(SchedulerTest, ChimeRules) {
  EXPECT_EQ(TickAt(13, 59), (Log{"blink"}));
  EXPECT_EQ(TickAt(14, 0), (Log{"sound hour14.wav", "blink"}));
  EXPECT_EQ(TickAt(14, 30), (Log{"sound half14.wav", "blink"}));
  EXPECT_EQ(TickAt(14, 31), (Log{"blink"}));

  sounds.allclocked = "every.wav";
  EXPECT_EQ(TickAt(15, 0), (Log{"sound every.wav", "blink"})) << "instead of the hour's own chime";
  EXPECT_EQ(TickAt(15, 30), (Log{"blink"})) << "half hours are silent";

  sounds.allclocked.clear();
  sounds.clocked[16].clear();
  EXPECT_EQ(TickAt(16, 0), (Log{"blink"})) << "an empty chime plays nothing";
}

TEST_F(SchedulerTest, DueNoticesInListOrderAfterTheChime) {
  for (const char* r : {"2,0,0,0,9,0,one", "2,0,0,0,9,1,later", "0,2,0,0,9,0,two", "0,3,0,0,9,0,not today",
                        "1,0,11,7,9,0,three", "2,0,0,0,9,05,never"}) {
    notices.Add(r);
  }
  TickAt(8, 59);
  EXPECT_EQ(TickAt(9, 0), (Log{"sound hour9.wav", "notice one", "notice two", "notice three", "blink"}));
}

TEST_F(SchedulerTest, ExistingProgramStartsAndAnArgumentMakesItANotice) {
  effects.files = {"C:\\tools\\app.exe"};
  notices.Add("2,0,0,0,9,7,C:\\tools\\app.exe");
  notices.Add("2,0,0,0,9,7,C:\\tools\\app.exe /x");
  notices.Add("2,0,0,0,9,7,C:\\tools\\gone.exe");
  EXPECT_EQ(TickAt(9, 7),
            (Log{"run C:\\tools\\app.exe", "notice C:\\tools\\app.exe /x", "notice C:\\tools\\gone.exe", "blink"}));
}

TEST_F(SchedulerTest, ClockJumpingWholeHoursRunsNoPass) {
  notices.Add("2,0,0,0,11,15,x");
  TickAt(9, 14);
  TickAt(9, 15);
  EXPECT_EQ(TickAt(11, 15), (Log{"blink"})) << "only the minute is compared";
  EXPECT_EQ(TickAt(11, 16), (Log{"blink"}));
}

TEST_F(SchedulerTest, SoundRunningPastTheMinuteMovesTheLaterComparisons) {
  notices.Add("2,0,0,0,9,0,on time");
  notices.Add("2,0,0,0,9,1,next minute");
  TickAt(8, 59);
  // The chime ends at 9:01: the records compare against the new minute.
  effects.onsound = [this](const std::string&) { clock.Set(9, 1); };
  EXPECT_EQ(TickAt(9, 0), (Log{"sound hour9.wav", "notice next minute", "blink"}));
  EXPECT_EQ(scheduler.LastProcessedMinute(), 1);
  effects.onsound = nullptr;
  EXPECT_EQ(TickAt(9, 1), (Log{"blink"})) << "9:01 counts as done";
}

TEST(EventSoundSettings, KeysInOrderAndACommaInAPathSurvivesARestart) {
  const std::string name = "profile_test_eventsounds";
  std::remove((tprofiler::ProfileFolder() + name).c_str());
  teventsoundsettings written;
  written.clocked[0] = "C:\\snd\\zero.wav";
  written.clocked[24 + 23] = "C:\\a,b\\half 23.wav+beep";
  written.allclocked = "";
  written.noticed = "C:\\x,y,z.wav";
  {
    tprofiler p(name);
    p.WriteString("left", "40,junk");
    written.Write(p);
    // Newest first: the last written key leads, the first written one trails.
    ASSERT_EQ(p.Lines().size(), 51u);
    EXPECT_EQ(p.Lines()[0], "wavefileatnoticed,C:\\x,y,z.wav");
    EXPECT_EQ(p.Lines()[1], "wavefileatallclocked,");
    EXPECT_EQ(p.Lines()[2], "wavefileatclockedhalf23,C:\\a,b\\half 23.wav+beep");
    EXPECT_EQ(p.Lines()[3], "wavefileatclocked23,");
    EXPECT_EQ(p.Lines()[48], "wavefileatclockedhalf0,");
    EXPECT_EQ(p.Lines()[49], "wavefileatclocked0,C:\\snd\\zero.wav");
  }
  tprofiler again(name);
  teventsoundsettings read;
  read.clocked[5] = "stale";
  read.Read(again);
  EXPECT_EQ(read.clocked, written.clocked);
  EXPECT_EQ(read.noticed, "C:\\x,y,z.wav");
  EXPECT_EQ(read.allclocked, "");
  EXPECT_EQ(again.ReadString("left", ""), "40") << "other keys still end at a comma";

  tprofiler empty("profile_test_eventsounds_none");
  read.Read(empty);
  EXPECT_EQ(read.clocked[5], "") << "missing keys read as empty";
}
