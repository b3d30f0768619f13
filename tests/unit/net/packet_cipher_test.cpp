#include "core/net/packet_cipher.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace pom {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes hexBytes(const std::string& hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  return out;
}

struct Vector {
  const char* key;
  std::uint32_t plainLeft, plainRight;
  std::uint32_t cipherLeft, cipherRight;
};

// Published Blowfish vectors; the blocks are written as the two 32-bit halves.
const Vector kVectors[] = {
    {"0000000000000000", 0x00000000, 0x00000000, 0x4EF99745, 0x6198DD78},
    {"FFFFFFFFFFFFFFFF", 0xFFFFFFFF, 0xFFFFFFFF, 0x51866FD5, 0xB85ECB8A},
    {"0123456789ABCDEF", 0x11111111, 0x11111111, 0x61F9C380, 0x2281B096},
    {"7CA110454A1A6E57", 0x01A1D6D0, 0x39776742, 0x59C68245, 0xEB05282B},
    // Variable key lengths (6 bytes, like the packet key).
    {"F0", 0xFEDCBA98, 0x76543210, 0xF9AD597C, 0x49DB005E},
    {"F0E1D2C3B4A5", 0xFEDCBA98, 0x76543210, 0x9457AA83, 0xB1928C0D},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F", 0xFEDCBA98, 0x76543210, 0x93142887, 0xEE3BE15C},
};

TEST(PacketCipher, MatchesPublishedBlockVectorsBothWays) {
  for (const Vector& v : kVectors) {
    const Bytes key = hexBytes(v.key);
    const PacketCipher cipher(key.data(), key.size());
    std::uint32_t left = v.plainLeft, right = v.plainRight;
    cipher.encipherBlock(left, right);
    EXPECT_EQ(left, v.cipherLeft) << v.key;
    EXPECT_EQ(right, v.cipherRight) << v.key;
    cipher.decipherBlock(left, right);
    EXPECT_EQ(left, v.plainLeft) << v.key;
    EXPECT_EQ(right, v.plainRight) << v.key;
  }
}

TEST(PacketCipher, ReadsEachBlockAsTwoLittleEndianWordsLeftFirst) {
  // Key 7CA110454A1A6E57, halves 01A1D6D0 / 39776742 -> 59C68245 / EB05282B,
  // laid out in the body as little-endian words.
  const Bytes key = hexBytes("7CA110454A1A6E57");
  const PacketCipher cipher(key.data(), key.size());
  Bytes body = hexBytes("D0D6A101426777395A");  // one block and one clear byte
  cipher.encipherBody(body.data(), body.size());
  EXPECT_EQ(body, hexBytes("4582C6592B2805EB5A"));
  cipher.decipherBody(body.data(), body.size());
  EXPECT_EQ(body, hexBytes("D0D6A101426777395A"));
}

TEST(PacketCipher, TransformsOnlyWholeBlocksOfABody) {
  const PacketCipher& cipher = PacketCipher::instance();
  Bytes seven = {1, 2, 3, 4, 5, 6, 7};
  cipher.encipherBody(seven.data(), seven.size());
  EXPECT_EQ(seven, (Bytes{1, 2, 3, 4, 5, 6, 7})) << "shorter than a block travels in clear";

  // A 38-byte body (the size of a login request): bytes 0..31 are four
  // blocks, each enciphered by itself; bytes 32..37 stay as they are.
  Bytes body(38);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 7 + 3);
  const Bytes plain = body;
  cipher.encipherBody(body.data(), body.size());
  for (std::size_t block = 0; block < 4; ++block) {
    Bytes expected(plain.begin() + block * 8, plain.begin() + block * 8 + 8);
    cipher.encipherBody(expected.data(), 8);
    EXPECT_EQ(Bytes(body.begin() + block * 8, body.begin() + block * 8 + 8), expected) << block;
    EXPECT_NE(expected, Bytes(plain.begin() + block * 8, plain.begin() + block * 8 + 8));
  }
  EXPECT_EQ(Bytes(body.begin() + 32, body.end()), Bytes(plain.begin() + 32, plain.end()));
  cipher.decipherBody(body.data(), body.size());
  EXPECT_EQ(body, plain);

  // Exactly one block: the packet key gives a fixed, non-trivial result.
  Bytes eight = {'L', 'o', 'g', 'i', 'n', 0, 0, 0};
  cipher.encipherBody(eight.data(), eight.size());
  EXPECT_NE(eight, (Bytes{'L', 'o', 'g', 'i', 'n', 0, 0, 0}));
  cipher.decipherBody(eight.data(), eight.size());
  EXPECT_EQ(eight, (Bytes{'L', 'o', 'g', 'i', 'n', 0, 0, 0}));
}

TEST(PacketCipher, PacketKeyIsTheSixAsciiBytes) {
  const std::uint8_t key[] = {'0', 'X', '7', 'E', '1', '9'};
  const PacketCipher explicitKey(key, sizeof key);
  std::uint32_t l1 = 0x12345678, r1 = 0x9ABCDEF0, l2 = l1, r2 = r1;
  explicitKey.encipherBlock(l1, r1);
  PacketCipher::instance().encipherBlock(l2, r2);
  EXPECT_EQ(l1, l2);
  EXPECT_EQ(r1, r2);
  // A 12-byte key repeating the six bytes expands to the same schedule, which
  // proves the key is taken cyclically.
  const std::uint8_t doubled[] = {'0', 'X', '7', 'E', '1', '9', '0', 'X', '7', 'E', '1', '9'};
  const PacketCipher cyclic(doubled, sizeof doubled);
  std::uint32_t l3 = 0x12345678, r3 = 0x9ABCDEF0;
  cyclic.encipherBlock(l3, r3);
  EXPECT_EQ(l3, l1);
  EXPECT_EQ(r3, r1);
}

// Cross-check a random 4 KiB body against the openssl command line with a
// 16-byte key, converting between its big-endian blocks and our word order.
TEST(PacketCipher, AgreesWithOpensslOnALongBody) {
  if (std::system("openssl version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no openssl";
  std::mt19937 random(7);
  Bytes key(16), body(4096 + 5);
  for (auto& b : key) b = static_cast<std::uint8_t>(random());
  for (auto& b : body) b = static_cast<std::uint8_t>(random());

  const std::string dir = ::testing::TempDir();
  const std::string in = dir + "/pom_bf_in.bin", out = dir + "/pom_bf_out.bin";
  {
    std::ofstream file(in, std::ios::binary);
    for (std::size_t i = 0; i + 8 <= body.size(); i += 8) {  // whole blocks, words byte-swapped
      for (int half = 0; half < 2; ++half) {
        for (int b = 3; b >= 0; --b) file.put(static_cast<char>(body[i + half * 4 + b]));
      }
    }
  }
  std::string keyHex;
  for (std::uint8_t b : key) {
    char two[3];
    std::snprintf(two, sizeof two, "%02X", b);
    keyHex += two;
  }
  const std::string command = "openssl enc -provider legacy -provider default -bf-ecb -nopad -K " +
                              keyHex + " -in " + in + " -out " + out + " 2>/dev/null";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "openssl has no Blowfish here";
  std::ifstream file(out, std::ios::binary);
  const Bytes theirs((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_EQ(theirs.size(), 4096u);

  const PacketCipher cipher(key.data(), key.size());
  Bytes ours = body;
  cipher.encipherBody(ours.data(), ours.size());
  for (std::size_t i = 0; i < 4096; i += 4) {
    for (int b = 0; b < 4; ++b) ASSERT_EQ(ours[i + b], theirs[i + 3 - b]) << "byte " << i + b;
  }
  EXPECT_EQ(Bytes(ours.end() - 5, ours.end()), Bytes(body.end() - 5, body.end()));
}

}  // namespace
}  // namespace pom
