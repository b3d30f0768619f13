// The keyword rules of the search, as pure functions: preparing the text of
// the search bar (cut, lowered, checked for length and banned words) and
// encoding it for the request. Texts are CP949 bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace pom {

// Tells whether a (lowered) keyword is a banned word.
using BannedWordTest = std::function<bool(std::string_view keyword)>;

// The search edit holds at most 63 bytes.
inline constexpr std::size_t kKeywordBytes = 63;
inline constexpr std::size_t kMinKeywordBytes = 3;

inline constexpr char kTooShortMessage[] =
    "두글자 이상 입력해주세요!(검색어을 정확히 입력하셔야 정확한 결과을 볼수있습니다.)";

// "(keyword)은 금지된 검색어입니다.(저작권보호요청 이나 음란물)".
std::string bannedMessage(const std::string& keyword);

struct PreparedKeyword {
  enum class Outcome { TooShort, Banned, Ready };
  Outcome outcome = Outcome::TooShort;
  // The text as read and lowered (what the edit keeps when it is too short).
  std::string text;
  // Without its leading spaces: what is searched, or what is banned.
  std::string keyword;
};

// Cuts the text to 63 bytes at a character boundary, lowers its ASCII
// letters (never a trail byte), refuses it below 3 bytes, skips the leading
// spaces and looks the rest up among the banned words (exact match; an
// empty test bans nothing).
PreparedKeyword prepareKeyword(std::string_view editText, const BannedWordTest& isBanned);

// "%XX" with upper-case hex digits for every byte except the letters, the
// digits and ! " $ ' ( ) * , - . : < > _ — "%" and "+" are encoded too, so
// the server never reads them as an escape or a blank.
std::string encodeKeyword(std::string_view keyword);

}  // namespace pom
