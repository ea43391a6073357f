#pragma once
// A clock that shows the time it is set to, and moves only when told.
#include "platform/clock.h"

namespace kelpo {

class SimClock final : public Clock {
 public:
  explicit SimClock(LocalTime now = {2024, 5, 17, 9, 30, 0}) : now_(now) {}
  LocalTime Now() const override { return now_; }
  void Set(LocalTime now) { now_ = now; }

 private:
  LocalTime now_;
};

}  // namespace kelpo
