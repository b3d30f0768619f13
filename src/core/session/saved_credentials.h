// The saved password of "./PomConfig.ini" (key UserPw): a 16-byte zero-filled
// buffer holding the password's bytes and a terminating zero, written as 32
// upper-case hexadecimal digits, high half first.
//
// Decoding takes pairs of characters for 16 bytes; '0'-'9' and 'A'-'F' add
// four bits each; any other character (a lower-case digit, the text's end)
// ends that byte with what it has accumulated and skips the rest of the pair.
// The password is the decoded bytes up to the first zero byte.
#pragma once

#include <string>

namespace pom {

inline constexpr std::size_t kSavedPasswordBytes = 16;

// Passwords longer than 15 bytes are cut to 15 so the terminator always fits.
std::string encodeSavedPassword(const std::string& password);
std::string decodeSavedPassword(const std::string& hexText);

}  // namespace pom
