// Conversions at the Win32 edge: the core's CP949 bytes to and from the wide
// strings the W functions take. Same replacement rules as text_codec.h.
#pragma once

#include <cstddef>
#include <string>

namespace pom {

std::wstring widen(const std::string& cp949);
std::string narrow(const std::wstring& wide);

// Cuts a CP949 text to at most maxBytes bytes without splitting a double-byte
// character (a lone lead byte at the end would corrupt the next text joined to it).
std::string cutCp949(const std::string& text, std::size_t maxBytes);

}  // namespace pom
