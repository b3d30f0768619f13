#include "platform/posix/posix_clock.h"

#include <chrono>

namespace pom {

std::uint32_t PosixClock::tickCount() const {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace pom
