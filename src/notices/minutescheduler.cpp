#include "notices/minutescheduler.h"

#include "notices/eventsoundsettings.h"
#include "notices/noticelist.h"
#include "notices/noticerecord.h"
#include "notices/schedulerclock.h"

namespace pendo {

void tminutescheduler::Tick(const teventsoundsettings& sounds, const tnoticelist& notices) {
  const int minute = clock_.Minute();
  // A message loop run from inside an effect must not start the same pass again.
  if (minute != lastprocessedminute_ && !inpass_) {
    inpass_ = true;
    struct tpassend {
      bool& flag;
      ~tpassend() { flag = false; }
    } passend{inpass_};
    Chime(minute, sounds);
    // Counted once: records a sound or a started program adds meanwhile wait
    // for the next minute. Each effect finishes before the next record is read.
    const int n = notices.Count();
    for (int i = 0; i < n && i < notices.Count(); ++i) {
      if (!IsNoticeDue(notices[i], clock_)) continue;
      tnoticerecord record;
      ParseNoticeRecord(notices[i], record);  // a line off the format still has its message
      const std::string message = record.Message();
      if (effects_.FileExists(message)) {
        effects_.RunProgram(message);
      } else {
        effects_.ShowNotice(message);
      }
    }
    // Read again: a long sound may have carried the pass into the next minute.
    lastprocessedminute_ = clock_.Minute();
  }
  effects_.BlinkSeparator();
}

void tminutescheduler::Chime(int minute, const teventsoundsettings& sounds) {
  if (minute == 0) {
    effects_.PlaySound(sounds.allclocked.empty() ? sounds.Hourly(clock_.Hour()) : sounds.allclocked);
  } else if (minute == 30 && sounds.allclocked.empty()) {
    effects_.PlaySound(sounds.HalfHourly(clock_.Hour()));
  }
}

}  // namespace pendo
