// The clock readings the minute scheduler compares with; every call reads
// the clock anew. tsystemclock reads the local clock; tests drive their own.
#pragma once

namespace pendo {

class tschedulerclock {
 public:
  virtual ~tschedulerclock() = default;
  virtual int Minute() = 0;
  virtual int Hour() = 0;
  virtual int DayOfWeek() = 0;  // 1 = Sunday .. 7 = Saturday
  virtual int Month() = 0;      // 1..12
  virtual int Day() = 0;        // 1..31
};

class tsystemclock : public tschedulerclock {
 public:
  int Minute() override;
  int Hour() override;
  int DayOfWeek() override;
  int Month() override;
  int Day() override;
};

}  // namespace pendo
