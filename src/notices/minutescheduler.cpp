#include "notices/minutescheduler.h"

#include <algorithm>

#include "notices/eventsoundsettings.h"
#include "notices/noticelist.h"
#include "notices/noticerecord.h"
#include "notices/schedulerclock.h"
#include "settings/clockparts.h"

namespace pendo {

namespace {
// One effect: a failure leaves it out and is kept (the first one) for the
// report after the pass.
template <class F>
void Attempt(F effect, std::exception_ptr& failure) {
  try {
    effect();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
}
}  // namespace

void tminutescheduler::Tick(const teventsoundsettings& sounds, const tnoticelist& notices) {
  RunDueMinutes(sounds, notices);
  effects_.BlinkSeparator();
}

void tminutescheduler::RunDueMinutes(const teventsoundsettings& sounds, const tnoticelist& notices) {
  // A message loop run from inside an effect must not start a pass of its own.
  if (inpass_) return;
  const long long now = LocalMinuteNumber(clock_.Now());
  long long first = now;
  if (last_ && *last_ - now <= kCatchUpMinutes) {
    // Set back (summer time ending, say): the repeated minutes have run.
    if (now <= *last_) return;
    first = std::max(*last_ + 1, now - kCatchUpMinutes + 1);
  }
  std::exception_ptr failure;
  {
    inpass_ = true;
    struct tpassend {
      bool& flag;
      ~tpassend() { flag = false; }
    } passend{inpass_};
    for (long long minute = first; minute <= now; ++minute) {
      // Done before its effects run: whatever they do, it never runs twice.
      last_ = minute;
      RunMinute(minute, minute == now, sounds, notices, failure);
    }
  }
  if (failure) effects_.ReportFailure(failure);
}

void tminutescheduler::RunMinute(long long minute, bool current, const teventsoundsettings& sounds,
                                 const tnoticelist& notices, std::exception_ptr& failure) {
  const platform::tlocaltime when = LocalMinuteTime(minute);
  // A chime is only worth hearing in its own minute.
  if (current && when.minute == 0) {
    Attempt([&] { effects_.PlaySound(sounds.allclocked.empty() ? sounds.Hourly(when.hour) : sounds.allclocked); },
            failure);
  } else if (current && when.minute == 30 && sounds.allclocked.empty()) {
    Attempt([&] { effects_.PlaySound(sounds.HalfHourly(when.hour)); }, failure);
  }
  // Counted once: records a sound or a started program adds meanwhile wait
  // for the next minute. Each effect finishes before the next record is read.
  const int n = notices.Count();
  for (int i = 0; i < n && i < notices.Count(); ++i) {
    if (!IsNoticeDue(notices[i], when)) continue;
    tnoticerecord record;
    ParseNoticeRecord(notices[i], record);  // a line off the format still has its message
    const std::string message = record.Message();
    Attempt(
        [&] {
          if (effects_.FileExists(message)) {
            effects_.RunProgram(message);
          } else {
            effects_.ShowNotice(message, when.hour, when.minute);
          }
        },
        failure);
  }
}

}  // namespace pendo
