// PacketCipher: the Blowfish block cipher that protects login-server bodies.
//
// Standard Blowfish (16 rounds, P-array and S-boxes from the hexadecimal
// digits of pi, standard key expansion) in ECB mode. The only particular is
// how a body is cut into blocks: each 8-byte block is read as two 32-bit
// little-endian words, the first four bytes being the left half, and written
// back the same way. A body of n bytes has its first floor(n / 8) blocks
// transformed in place; the last n mod 8 bytes travel as they are.
//
// instance() is the one process-wide cipher keyed with "0X7E19"; it is built
// on first use and never changes, so it may be shared freely on the loop
// thread. The object is immutable after construction.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pom {

class PacketCipher {
 public:
  // The cipher every enciphered connection uses, keyed with "0X7E19".
  static const PacketCipher& instance();

  // Keys a cipher with 1..56 key bytes (taken cyclically); keyLength 0 keys
  // with the standard tables alone.
  PacketCipher(const std::uint8_t* key, std::size_t keyLength);

  void encipherBlock(std::uint32_t& left, std::uint32_t& right) const;
  void decipherBlock(std::uint32_t& left, std::uint32_t& right) const;

  // floor(length / 8) blocks in place, from the start of the body.
  void encipherBody(std::uint8_t* body, std::size_t length) const;
  void decipherBody(std::uint8_t* body, std::size_t length) const;

 private:
  std::array<std::uint32_t, 18> parray_;
  std::array<std::array<std::uint32_t, 256>, 4> sbox_;
};

}  // namespace pom
