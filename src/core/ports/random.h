// Random: the seeded pseudo-random generator the protocol draws from
// (host and port choice, peer order). Values follow rand(): 0..maxValue().
#pragma once

#include <cstdint>

namespace pom {

class Random {
 public:
  virtual ~Random() = default;
  virtual void seed(std::uint32_t value) = 0;
  virtual int next() = 0;
  virtual int maxValue() const { return 0x7FFF; }
};

}  // namespace pom
