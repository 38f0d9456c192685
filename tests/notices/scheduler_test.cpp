#include "notices/minutescheduler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <set>
#include <stdexcept>
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
  platform::tlocaltime now{2026, 12, 8, 2, 9, 0, 0};  // a Tuesday
  platform::tlocaltime Now() override { return now; }
  void Set(int h, int m) { now.hour = h, now.minute = m; }
};

struct trecorder : tschedulereffects {
  std::vector<std::string> log;
  std::set<std::string> files;
  std::function<void(const std::string&)> onsound;
  int blinks = 0;
  void PlaySound(const std::string& sound) override {
    if (sound.empty()) return;
    log.push_back("sound " + sound);
    if (onsound) onsound(sound);
    if (sound == "broken.wav") throw std::runtime_error("cannot play");
  }
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  void RunProgram(const std::string& command) override { log.push_back("run " + command); }
  void ShowNotice(const std::string& message, int hour, int minute) override {
    // As the notice window shows it.
    log.push_back("notice " + message + " at " + std::to_string(hour) + ":" + std::to_string(minute));
    if (message == "fails") throw std::runtime_error("no window");
  }
  void BlinkSeparator() override { ++blinks; }
  void ReportFailure(std::exception_ptr) override { log.push_back("report"); }
  std::vector<std::string> Take() { return std::move(log); }
};

using Log = std::vector<std::string>;

void HourlySounds(teventsoundsettings& sounds) {
  for (int h = 0; h < 24; ++h) {
    sounds.clocked[h] = "hour" + std::to_string(h) + ".wav";
    sounds.clocked[24 + h] = "half" + std::to_string(h) + ".wav";
  }
}

struct SchedulerTest : ::testing::Test {
  tclock clock;
  trecorder effects;
  teventsoundsettings sounds;
  tnoticelist notices;
  tminutescheduler scheduler{clock, effects};

  void SetUp() override { HourlySounds(sounds); }
  Log TickAt(int h, int m) {
    clock.Set(h, m);
    scheduler.Tick(sounds, notices);
    return effects.Take();
  }
};

}  // namespace

// The zones' rules come from the host's time-zone data: a host test only.
#ifndef _WIN32
namespace {

// The local clock of a zone, at a moment of universal time the test sets.
struct tzoneclock : tschedulerclock {
  std::time_t utc = 0;
  platform::tlocaltime Now() override {
    std::tm tm{};
    localtime_r(&utc, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_wday, tm.tm_hour, tm.tm_min, tm.tm_sec};
  }
};

// Seconds of universal time of "2026-03-29 01:00:30".
std::time_t Utc(const char* text) {
  std::tm tm{};
  std::sscanf(text, "%d-%d-%d %d:%d:%d", &tm.tm_year, &tm.tm_mon, &tm.tm_mday, &tm.tm_hour, &tm.tm_min, &tm.tm_sec);
  tm.tm_year -= 1900;
  tm.tm_mon -= 1;
  return timegm(&tm);
}

// TZ for the length of a case.
struct tzone {
  const char* const before = std::getenv("TZ");
  const std::string saved = before ? before : "";
  explicit tzone(const char* zone) { Set(zone); }
  ~tzone() { Set(before ? saved.c_str() : nullptr); }
  static void Set(const char* zone) {
    if (zone) setenv("TZ", zone, 1);
    else unsetenv("TZ");
    tzset();
  }
};

}  // namespace

// Each case runs a fresh scheduler through ticks at moments of universal
// time in a zone; what each tick did, the blink left out.
TEST(Scheduler, EveryMinuteOfTheLocalClockRunsOnce) {
  struct ttick {
    const char* utc;
    Log did;
  };
  const struct {
    const char* what;
    const char* zone;
    std::vector<ttick> ticks;
  } cases[] = {
      {"each minute once, the chime first",
       "UTC",
       {{"2026-12-08 08:59:10", {}},
        {"2026-12-08 08:59:50", {}},
        {"2026-12-08 09:00:00", {"sound hour9.wav", "notice nine at 9:0", "notice dated at 9:0"}},
        {"2026-12-08 09:00:59", {}},
        {"2026-12-08 09:01:00", {"notice nine-one at 9:1"}}}},
      {"the first tick runs the minute it comes in, minute 0 too",
       "UTC",
       {{"2026-12-08 09:00:30", {"sound hour9.wav", "notice nine at 9:0", "notice dated at 9:0"}}}},
      {"a stall runs the minutes it missed with their own time, but only the present minute's chime",
       "UTC",
       {{"2026-12-08 08:59:58", {}},
        {"2026-12-08 09:01:02", {"notice nine at 9:0", "notice dated at 9:0", "notice nine-one at 9:1"}},
        {"2026-12-08 09:29:00", {}},
        {"2026-12-08 09:31:00", {"notice half at 9:30", "notice after at 9:31"}}}},
      {"a clock put forward runs the minutes between",
       "UTC",
       {{"2026-12-08 09:29:00", {}},
        {"2026-12-08 11:00:00", {"notice half at 9:30", "notice after at 9:31", "sound hour11.wav"}}}},
      {"a clock set back runs nothing again until it passes the last minute run",
       "UTC",
       {{"2026-12-08 09:30:10", {"sound half9.wav", "notice half at 9:30"}},
        {"2026-12-08 08:59:00", {}},
        {"2026-12-08 09:00:00", {}},
        {"2026-12-08 09:30:00", {}},
        {"2026-12-08 09:31:00", {"notice after at 9:31"}}}},
      {"a clock set back by more than a day starts afresh",
       "UTC",
       {{"2026-12-08 09:00:00", {"sound hour9.wav", "notice nine at 9:0", "notice dated at 9:0"}},
        {"2026-12-06 09:00:00", {"sound hour9.wav", "notice nine at 9:0"}}}},
      {"a gap of two days runs the last 24 hours only, each notice once",
       "UTC",
       {{"2026-12-06 08:01:00", {}},
        {"2026-12-08 08:59:00",
         {"notice nine at 9:0", "notice nine-one at 9:1", "notice half at 9:30", "notice after at 9:31",
          "notice two-thirty at 2:30"}}}},
      {"summer time starts: the skipped notice is shown once at the jump, the present chime plays",
       "Europe/Berlin",
       {{"2026-03-29 00:59:00", {}},  // 1:59 CET
        {"2026-03-29 01:00:00", {"notice two-thirty at 2:30", "sound hour3.wav"}},  // 3:00 CEST
        {"2026-03-29 01:01:00", {}}}},
      {"summer time ends: the repeated hour runs nothing again",
       "Europe/Berlin",
       {{"2026-10-25 00:29:00", {}},                                                 // 2:29 CEST
        {"2026-10-25 00:30:00", {"sound half2.wav", "notice two-thirty at 2:30"}},  // 2:30 CEST
        {"2026-10-25 01:00:00", {}},                                                 // 2:00 CET
        {"2026-10-25 01:30:00", {}},                                                 // 2:30 CET
        {"2026-10-25 02:00:00", {"sound hour3.wav"}}}},                              // 3:00 CET
      {"a failing effect is left out and reported once; the minute goes on and is not run again",
       "UTC",
       {{"2026-12-25 09:59:00", {}},
        {"2026-12-25 10:00:00", {"sound broken.wav", "notice fails at 10:0", "notice ten at 10:0", "report"}},
        {"2026-12-25 10:00:01", {}},
        {"2026-12-25 10:01:00", {}}}},
  };
  for (const auto& c : cases) {
    tzone zone(c.zone);
    tzoneclock clock;
    trecorder effects;
    teventsoundsettings sounds;
    HourlySounds(sounds);
    sounds.clocked[10] = "broken.wav";
    tnoticelist notices;
    for (const char* r : {"2,0,0,0,9,0,nine", "1,0,11,7,9,0,dated", "2,0,0,0,9,1,nine-one", "2,0,0,0,9,30,half",
                          "2,0,0,0,9,31,after", "2,0,0,0,2,30,two-thirty", "1,0,11,24,10,0,fails",
                          "1,0,11,24,10,0,ten"}) {
      notices.Add(r);
    }
    tminutescheduler scheduler(clock, effects);
    int ticks = 0;
    for (const ttick& t : c.ticks) {
      clock.utc = Utc(t.utc);
      scheduler.Tick(sounds, notices);
      EXPECT_EQ(effects.Take(), t.did) << c.what << ", at " << t.utc << " UTC";
      EXPECT_EQ(effects.blinks, ++ticks) << c.what << ": every tick blinks";
    }
  }
}
#endif

TEST_F(SchedulerTest, ChimeRules) {
  EXPECT_EQ(TickAt(13, 59), (Log{}));
  EXPECT_EQ(TickAt(14, 0), (Log{"sound hour14.wav"}));
  EXPECT_EQ(TickAt(14, 30), (Log{"sound half14.wav"}));
  EXPECT_EQ(TickAt(14, 31), (Log{}));

  sounds.allclocked = "every.wav";
  EXPECT_EQ(TickAt(15, 0), (Log{"sound every.wav"})) << "instead of the hour's own chime";
  EXPECT_EQ(TickAt(15, 30), (Log{})) << "half hours are silent";

  sounds.allclocked.clear();
  sounds.clocked[16].clear();
  EXPECT_EQ(TickAt(16, 0), (Log{})) << "an empty chime plays nothing";
}

TEST_F(SchedulerTest, DueNoticesInListOrderAfterTheChime) {
  for (const char* r : {"2,0,0,0,9,0,one", "2,0,0,0,9,1,later", "0,2,0,0,9,0,two", "0,3,0,0,9,0,not today",
                        "1,0,11,7,9,0,three", "2,0,0,0,9,05,never"}) {
    notices.Add(r);
  }
  TickAt(8, 59);
  EXPECT_EQ(TickAt(9, 0), (Log{"sound hour9.wav", "notice one at 9:0", "notice two at 9:0", "notice three at 9:0"}));
}

TEST_F(SchedulerTest, ExistingProgramStartsAndAnArgumentMakesItANotice) {
  effects.files = {"C:\\tools\\app.exe"};
  notices.Add("2,0,0,0,9,7,C:\\tools\\app.exe");
  notices.Add("2,0,0,0,9,7,C:\\tools\\app.exe /x");
  notices.Add("2,0,0,0,9,7,C:\\tools\\gone.exe");
  EXPECT_EQ(TickAt(9, 7), (Log{"run C:\\tools\\app.exe", "notice C:\\tools\\app.exe /x at 9:7",
                               "notice C:\\tools\\gone.exe at 9:7"}));
}

TEST_F(SchedulerTest, ASoundRunningIntoTheNextMinuteKeepsTheNoticesOfItsOwn) {
  notices.Add("2,0,0,0,9,0,on time");
  notices.Add("2,0,0,0,9,1,next minute");
  TickAt(8, 59);
  // The chime ends at 9:01: the 9:00 notices are still those of 9:00.
  effects.onsound = [this](const std::string&) { clock.Set(9, 1); };
  EXPECT_EQ(TickAt(9, 0), (Log{"sound hour9.wav", "notice on time at 9:0"}));
  effects.onsound = nullptr;
  EXPECT_EQ(TickAt(9, 1), (Log{"notice next minute at 9:1"})) << "9:01 runs at the next tick";
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
