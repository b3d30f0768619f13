#include "core/net/packet_cipher.h"

#include "core/net/byte_order.h"
#include "core/net/packet_cipher_tables.h"

namespace pom {
namespace {

constexpr std::uint8_t kPacketKey[] = {'0', 'X', '7', 'E', '1', '9'};

// The rounds must be inlined into the body loops to keep the halves in
// registers; without the hint the compiler calls them once per block.
#if defined(__GNUC__)
#define POM_BF_INLINE __attribute__((always_inline)) inline
#else
#define POM_BF_INLINE inline
#endif

// Sixteen Feistel rounds, unrolled, with the round keys in the order given
// (forward for enciphering, reversed for deciphering).
struct Rounds {
  const std::uint32_t* s0;
  const std::uint32_t* s1;
  const std::uint32_t* s2;
  const std::uint32_t* s3;

  POM_BF_INLINE std::uint32_t f(std::uint32_t x) const {
    return ((s0[x >> 24] + s1[(x >> 16) & 0xFF]) ^ s2[(x >> 8) & 0xFF]) + s3[x & 0xFF];
  }

  template <int Step>
  POM_BF_INLINE void run(const std::uint32_t* p, std::uint32_t& left, std::uint32_t& right) const {
    constexpr int k0 = Step > 0 ? 0 : 17;
    std::uint32_t l = left;
    std::uint32_t r = right;
#define POM_BF_PAIR(i)                  \
  l ^= p[k0 + Step * (i)];              \
  r ^= f(l) ^ p[k0 + Step * ((i) + 1)]; \
  l ^= f(r);
    POM_BF_PAIR(0)
    POM_BF_PAIR(2)
    POM_BF_PAIR(4)
    POM_BF_PAIR(6)
    POM_BF_PAIR(8)
    POM_BF_PAIR(10)
    POM_BF_PAIR(12)
    POM_BF_PAIR(14)
#undef POM_BF_PAIR
    left = r ^ p[k0 + Step * 17];
    right = l ^ p[k0 + Step * 16];
  }
};

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
  const Rounds rounds{sbox_[0].data(), sbox_[1].data(), sbox_[2].data(), sbox_[3].data()};
  rounds.run<1>(parray_.data(), left, right);
}

void PacketCipher::decipherBlock(std::uint32_t& left, std::uint32_t& right) const {
  const Rounds rounds{sbox_[0].data(), sbox_[1].data(), sbox_[2].data(), sbox_[3].data()};
  rounds.run<-1>(parray_.data(), left, right);
}

void PacketCipher::encipherBody(std::uint8_t* body, std::size_t length) const {
  const Rounds rounds{sbox_[0].data(), sbox_[1].data(), sbox_[2].data(), sbox_[3].data()};
  for (std::size_t offset = 0; offset + 8 <= length; offset += 8) {
    std::uint32_t left = loadLe32(body + offset);
    std::uint32_t right = loadLe32(body + offset + 4);
    rounds.run<1>(parray_.data(), left, right);
    storeLe32(body + offset, left);
    storeLe32(body + offset + 4, right);
  }
}

void PacketCipher::decipherBody(std::uint8_t* body, std::size_t length) const {
  const Rounds rounds{sbox_[0].data(), sbox_[1].data(), sbox_[2].data(), sbox_[3].data()};
  for (std::size_t offset = 0; offset + 8 <= length; offset += 8) {
    std::uint32_t left = loadLe32(body + offset);
    std::uint32_t right = loadLe32(body + offset + 4);
    rounds.run<-1>(parray_.data(), left, right);
    storeLe32(body + offset, left);
    storeLe32(body + offset + 4, right);
  }
}

}  // namespace pom
