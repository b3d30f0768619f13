// Little-endian 32-bit loads and stores on raw bytes, for the frame header and
// the cipher's block halves. On little-endian hosts (every target of the
// client) they compile to plain moves.
#pragma once

#include <cstdint>
#include <cstring>

namespace pom {

inline std::uint32_t loadLe32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap32(v);
#endif
  return v;
}

inline void storeLe32(std::uint8_t* p, std::uint32_t v) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap32(v);
#endif
  std::memcpy(p, &v, 4);
}

}  // namespace pom
