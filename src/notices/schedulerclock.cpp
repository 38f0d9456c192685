#include "notices/schedulerclock.h"

namespace pendo {

platform::tlocaltime tsystemclock::Now() { return platform::Now(); }

}  // namespace pendo
