// The initial Blowfish tables (digits of pi), shared by every PacketCipher.
#pragma once

#include <cstdint>

namespace pom {

extern const std::uint32_t kBlowfishInitialP[18];
extern const std::uint32_t kBlowfishInitialS[4][256];

}  // namespace pom
