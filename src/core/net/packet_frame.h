// Layout of a framed packet (integers little-endian):
//   offset 0       start marker 0xFFFFFFFF
//   offset 4       total length = body length + 12
//   offset 8       body, its first four bytes the message type
//   offset 8 + n   end marker 0xFEFEFEFE
#pragma once

#include <cstdint>

namespace pom {

inline constexpr std::uint32_t kPacketStartMarker = 0xFFFFFFFFu;
inline constexpr std::uint32_t kPacketEndMarker = 0xFEFEFEFEu;
inline constexpr std::uint32_t kPacketOverhead = 12;  // start marker, total length, end marker
inline constexpr std::uint32_t kPacketBodyOffset = 8;
inline constexpr std::uint32_t kPacketHeaderLength = 8;  // start marker and total length

}  // namespace pom
