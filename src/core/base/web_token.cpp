#include "core/base/web_token.h"

#include <cstdint>

namespace pom {

std::string makeWebToken(const std::string& password) {
  std::string token;
  int r = 0;
  for (const char byte : password) {
    const int c = static_cast<std::int8_t>(byte);  // signed 8-bit, as the service expects
    token += std::to_string(3 * c + r + 24);
    r = (3 * c + 24) % 47;  // C++ keeps the sign of the dividend
  }
  return token;
}

}  // namespace pom
