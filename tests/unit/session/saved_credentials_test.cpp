#include "core/session/saved_credentials.h"

#include <gtest/gtest.h>

namespace pom {
namespace {

TEST(SavedCredentialsTest, EncodesSixteenZeroFilledBytes) {
  EXPECT_EQ(encodeSavedPassword("abcd"), "61626364" + std::string(24, '0'));
  EXPECT_EQ(encodeSavedPassword(""), std::string(32, '0'));
  // Bytes from 128 up print as two upper-case digits.
  EXPECT_EQ(encodeSavedPassword("\xB1\xBC").substr(0, 6), "B1BC00");
  // The terminator always fits: a too-long password is cut to 15 bytes.
  std::string cut;
  for (int i = 0; i < 15; ++i) cut += "7A";
  EXPECT_EQ(encodeSavedPassword(std::string(20, 'z')), cut + "00");
}

TEST(SavedCredentialsTest, RoundTrips) {
  for (const std::string password : {"abcd", "pass1234!@", "\xB1\xBC\xB8\xB2", "0123456789"}) {
    EXPECT_EQ(decodeSavedPassword(encodeSavedPassword(password)), password);
  }
}

TEST(SavedCredentialsTest, DecodingFollowsTheStopRules) {
  // A lower-case digit ends its byte with what it has: "6a" -> 0x06.
  EXPECT_EQ(decodeSavedPassword("616a6364" + std::string(24, '0')),
            "a\x06"
            "cd");
  // A bad first half leaves the byte 0, which ends the password.
  EXPECT_EQ(decodeSavedPassword("61zz6364"), "a");
  // Decoding stops at the first zero byte even when more follows.
  EXPECT_EQ(decodeSavedPassword("6100626364"), "a");
  // A short text ends where it ends; an odd tail keeps its high half alone.
  EXPECT_EQ(decodeSavedPassword("6162"), "ab");
  EXPECT_EQ(decodeSavedPassword("61626"), "ab\x06");
  EXPECT_EQ(decodeSavedPassword(""), "");
  // Only 16 bytes are read.
  EXPECT_EQ(decodeSavedPassword(std::string(40, '4')), std::string(16, 'D'));
}

}  // namespace
}  // namespace pom
