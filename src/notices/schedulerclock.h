// The local clock the minute scheduler follows, read anew at every call.
// tsystemclock reads the system's; tests drive their own.
#pragma once

#include "settings/platform.h"

namespace pendo {

class tschedulerclock {
 public:
  virtual ~tschedulerclock() = default;
  virtual platform::tlocaltime Now() = 0;
};

class tsystemclock : public tschedulerclock {
 public:
  platform::tlocaltime Now() override;
};

}  // namespace pendo
