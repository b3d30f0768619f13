// The small Win32 ports: the tick count and the C runtime's rand().
// Stateless; any number may exist.
#pragma once

#include <cstdint>

#include "core/ports/clock.h"
#include "core/ports/random.h"

namespace pom {

// GetTickCount: milliseconds since boot, wrapping after about 49.7 days.
class Win32Clock final : public Clock {
 public:
  std::uint32_t tickCount() const override;
};

// srand/rand of the C runtime, so that a seed gives the platform's sequence.
// The runtime keeps one state per thread: use it from the loop thread only.
class CrtRandom final : public Random {
 public:
  void seed(std::uint32_t value) override;
  int next() override;
  int maxValue() const override;
};

}  // namespace pom
