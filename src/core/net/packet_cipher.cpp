#include "core/net/packet_cipher.h"

#include "core/net/packet_cipher_tables.h"

namespace pom {
namespace {

constexpr std::uint8_t kPacketKey[] = {'0', 'X', '7', 'E', '1', '9'};

std::uint32_t loadLittle(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void storeLittle(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

}  // namespace

const PacketCipher& PacketCipher::instance() {
  static const PacketCipher cipher(kPacketKey, sizeof kPacketKey);
  return cipher;
}

PacketCipher::PacketCipher(const std::uint8_t* key, std::size_t keyLength) {
  for (std::size_t i = 0; i < parray_.size(); ++i) parray_[i] = kBlowfishInitialP[i];
  for (std::size_t box = 0; box < sbox_.size(); ++box) {
    for (std::size_t i = 0; i < 256; ++i) sbox_[box][i] = kBlowfishInitialS[box][i];
  }
  if (key != nullptr && keyLength > 0) {
    // Key bytes are taken cyclically, four at a time as a big-endian word.
    std::size_t k = 0;
    for (auto& entry : parray_) {
      std::uint32_t word = 0;
      for (int i = 0; i < 4; ++i) {
        word = (word << 8) | key[k];
        k = (k + 1) % keyLength;
      }
      entry ^= word;
    }
  }
  std::uint32_t left = 0;
  std::uint32_t right = 0;
  for (std::size_t i = 0; i < parray_.size(); i += 2) {
    encipherBlock(left, right);
    parray_[i] = left;
    parray_[i + 1] = right;
  }
  for (auto& box : sbox_) {
    for (std::size_t i = 0; i < box.size(); i += 2) {
      encipherBlock(left, right);
      box[i] = left;
      box[i + 1] = right;
    }
  }
}

void PacketCipher::encipherBlock(std::uint32_t& left, std::uint32_t& right) const {
  std::uint32_t l = left;
  std::uint32_t r = right;
  for (int round = 0; round < 16; round += 2) {
    l ^= parray_[round];
    r ^= feistel(l);
    r ^= parray_[round + 1];
    l ^= feistel(r);
  }
  l ^= parray_[16];
  r ^= parray_[17];
  left = r;
  right = l;
}

void PacketCipher::decipherBlock(std::uint32_t& left, std::uint32_t& right) const {
  std::uint32_t l = left;
  std::uint32_t r = right;
  for (int round = 17; round > 1; round -= 2) {
    l ^= parray_[round];
    r ^= feistel(l);
    r ^= parray_[round - 1];
    l ^= feistel(r);
  }
  l ^= parray_[1];
  r ^= parray_[0];
  left = r;
  right = l;
}

void PacketCipher::encipherBody(std::uint8_t* body, std::size_t length) const {
  for (std::size_t offset = 0; offset + 8 <= length; offset += 8) {
    std::uint32_t left = loadLittle(body + offset);
    std::uint32_t right = loadLittle(body + offset + 4);
    encipherBlock(left, right);
    storeLittle(body + offset, left);
    storeLittle(body + offset + 4, right);
  }
}

void PacketCipher::decipherBody(std::uint8_t* body, std::size_t length) const {
  for (std::size_t offset = 0; offset + 8 <= length; offset += 8) {
    std::uint32_t left = loadLittle(body + offset);
    std::uint32_t right = loadLittle(body + offset + 4);
    decipherBlock(left, right);
    storeLittle(body + offset, left);
    storeLittle(body + offset + 4, right);
  }
}

}  // namespace pom
