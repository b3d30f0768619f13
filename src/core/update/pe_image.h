// The check a fetched program passes before it replaces the one on disk: a
// PE executable ("MZ", the "PE\0\0" signature at the offset the DOS header
// names) for this machine, whose section table and section bytes all lie
// inside the file, so a program cut short by the transfer is refused too.
//
// Pure functions on bytes; used by the version check and by the updater.
#pragma once

#include <cstdint>
#include <string_view>

namespace pom {

enum class PeMachine : std::uint16_t {
  I386 = 0x014C,
  Amd64 = 0x8664,
};

// The machine this build runs on: the 64-bit program expects x86-64
// programs, the 32-bit one i386 programs.
inline constexpr PeMachine kProgramMachine =
    sizeof(void*) == 8 ? PeMachine::Amd64 : PeMachine::I386;

bool isPeProgramFor(std::string_view bytes, PeMachine machine);

}  // namespace pom
