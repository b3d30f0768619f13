// Small text helpers shared by the lists, the transfer windows and the
// protocol code. All texts are CP949 bytes; only ASCII letters are ever
// changed by case folding, so double-byte characters pass through untouched.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pom {

// The part of a path after the last backslash or slash (the whole text when
// there is none). Neither byte can be the trail byte of a CP949 character
// (trail bytes are 0x41-0x5A, 0x61-0x7A, 0x81-0xFE), so a byte scan is exact;
// '/' is accepted too because Windows treats it as a separator as well.
std::string baseName(std::string_view path);

// The longest head of text of at most maxBytes bytes that ends on a character
// boundary: a CP949 lead byte (0x81-0xFE) always takes its trail byte with it,
// so no cut leaves half a character behind.
std::string cutText(std::string_view text, std::size_t maxBytes);

// Replaces every apostrophe, comma and semicolon with '!', in place.
void sanitise(std::string& text);

// ASCII-only lower-casing. The trail byte of a CP949 double-byte character
// is skipped even when it has the value of an ASCII letter.
void toLowerAscii(std::string& text);
std::string lowerAscii(std::string_view text);
bool endsWithNoCase(std::string_view text, std::string_view suffix);  // ASCII case-insensitive

// "%dMB" of bytes >> 20 when that is above 0, else "%I64dKB" of bytes >> 10.
std::string formatSize(std::int64_t bytes);
// "%04d-%02d-%02d %02d:%02d".
std::string formatDate(int year, int month, int day, int hour, int minute);
// Decimal with ',' every three digits ("1,200,000"); a negative value shows as 0.
std::string formatThousands(std::int64_t value);

}  // namespace pom
