#include "platform/win32/win32_system.h"

#include <windows.h>

#include <cstdlib>

namespace pom {

std::uint32_t Win32Clock::tickCount() const {
  return GetTickCount();
}

void CrtRandom::seed(std::uint32_t value) {
  std::srand(value);
}

int CrtRandom::next() {
  return std::rand();
}

int CrtRandom::maxValue() const {
  return RAND_MAX;
}

}  // namespace pom
