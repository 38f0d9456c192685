#include "installer/runlock.h"

#include <windows.h>

namespace pendo {

bool tsetuprunlock::Acquire() {
  if (held_) return true;
  if (!mutex_) mutex_.reset(CreateMutexW(nullptr, FALSE, L"Global\\Quorvane.Mondax.Run"));
  // Without a lock to take (no right to make it) the run would be unguarded.
  if (!mutex_) return false;
  const DWORD got = WaitForSingleObject(mutex_.get(), 0);
  // An abandoned lock belonged to a run that was killed: ours now.
  held_ = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
  return held_;
}

void tsetuprunlock::Release() {
  if (held_) ReleaseMutex(mutex_.get());
  held_ = false;
}

}  // namespace pendo
