// Clock: the millisecond tick count (wraps like the platform's 32-bit tick).
#pragma once

#include <cstdint>

namespace pom {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t tickCount() const = 0;
};

}  // namespace pom
