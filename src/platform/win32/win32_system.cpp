#include "platform/win32/win32_system.h"

#include <windows.h>

#include <cstdlib>

#include "platform/win32/wide_text.h"

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

bool Win32FileAttributes::setHidden(const std::string& path) {
  const std::wstring widePath = widen(path);
  const DWORD attributes = GetFileAttributesW(widePath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_HIDDEN) return true;
  return SetFileAttributesW(widePath.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN) != 0;
}

}  // namespace pom
