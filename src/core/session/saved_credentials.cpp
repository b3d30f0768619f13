#include "core/session/saved_credentials.h"

#include <array>

namespace pom {

namespace {

// Value of an upper-case hexadecimal digit, -1 for anything else.
int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string encodeSavedPassword(const std::string& password) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::array<unsigned char, kSavedPasswordBytes> buffer{};
  // One byte is always left for the terminating zero.
  for (std::size_t i = 0; i < password.size() && i < kSavedPasswordBytes - 1; ++i) {
    buffer[i] = static_cast<unsigned char>(password[i]);
  }
  std::string text;
  text.reserve(kSavedPasswordBytes * 2);
  for (unsigned char byte : buffer) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::string decodeSavedPassword(const std::string& hexText) {
  std::string password;
  std::size_t pos = 0;
  for (std::size_t i = 0; i < kSavedPasswordBytes; ++i) {
    unsigned value = 0;
    for (int half = 0; half < 2; ++half) {
      const int digit = pos + half < hexText.size() ? hexValue(hexText[pos + half]) : -1;
      if (digit < 0) break;  // the byte keeps what it has; the rest of the pair is skipped
      value = (value << 4) | static_cast<unsigned>(digit);
    }
    pos += 2;
    if (value == 0) break;
    password += static_cast<char>(value);
  }
  return password;
}

}  // namespace pom
