// The web token ("md6") that web addresses carry instead of the password:
// for each password byte c taken as a signed 8-bit value, v = 3c + r + 24
// written in decimal, then r = (3c + 24) mod 47 (remainder with the sign of
// the dividend), r starting at 0. The token is the concatenation.
#pragma once

#include <string>

namespace pom {

std::string makeWebToken(const std::string& password);

}  // namespace pom
