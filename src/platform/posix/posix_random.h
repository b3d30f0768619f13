// PosixRandom: the Random port with the linear congruential generator of the
// Windows C runtime's rand() (values 0..32767), so that a given seed draws
// the same sequence on every platform. Seeded with 1 until seed() is called.
#pragma once

#include "core/ports/random.h"

namespace pom {

class PosixRandom : public Random {
 public:
  void seed(std::uint32_t value) override { state_ = value; }
  int next() override;

 private:
  std::uint32_t state_ = 1;
};

}  // namespace pom
