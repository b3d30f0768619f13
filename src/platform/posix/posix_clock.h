// PosixClock: the Clock port on the monotonic clock, in milliseconds since an
// arbitrary start, wrapping at 32 bits like the Windows tick count.
#pragma once

#include "core/ports/clock.h"

namespace pom {

class PosixClock : public Clock {
 public:
  std::uint32_t tickCount() const override;
};

}  // namespace pom
