// The small Win32 ports: the tick count, the C runtime's rand(), and the
// hidden file attribute. Stateless; any number may exist.
#pragma once

#include <cstdint>
#include <string>

#include "core/ports/clock.h"
#include "core/ports/file_attributes.h"
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

// SetFileAttributesW with FILE_ATTRIBUTE_HIDDEN added to what the file has.
class Win32FileAttributes final : public FileAttributes {
 public:
  bool setHidden(const std::string& path) override;
};

}  // namespace pom
