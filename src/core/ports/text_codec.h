// Text conversion between the core's CP949 bytes and UTF-16, provided by the
// platform backend linked in (Win32: code page 949; POSIX: iconv).
// Bytes that do not convert become U+FFFD one way and '?' the other.
#pragma once

#include <string>

namespace pom {

std::u16string cp949ToUtf16(const std::string& text);
std::string utf16ToCp949(const std::u16string& text);

// Convenience for logs, tests and the POSIX file system: CP949 <-> UTF-8.
std::string cp949ToUtf8(const std::string& text);
std::string utf8ToCp949(const std::string& text);

}  // namespace pom
