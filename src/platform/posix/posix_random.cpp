#include "platform/posix/posix_random.h"

namespace pom {

int PosixRandom::next() {
  state_ = state_ * 214013u + 2531011u;
  return static_cast<int>((state_ >> 16) & 0x7FFF);
}

}  // namespace pom
