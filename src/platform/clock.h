#pragma once
// The wall clock, in the user's local time.
#include <cstdint>

namespace kelpo {

struct LocalTime {
  int year = 0;
  int month = 0;   // 1 to 12
  int day = 0;     // 1 to 31
  int hour = 0;    // 0 to 23
  int minute = 0;
  int second = 0;

  friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

class Clock {
 public:
  Clock() = default;
  Clock(const Clock&) = delete;
  Clock& operator=(const Clock&) = delete;
  virtual ~Clock() = default;

  // Now, in local time. Never fails.
  virtual LocalTime Now() const = 0;
};

}  // namespace kelpo
