#pragma once
// The system clock, in local time.
#include "platform/clock.h"

namespace kelpo {

class Win32Clock final : public Clock {
 public:
  LocalTime Now() const override;
};

}  // namespace kelpo
