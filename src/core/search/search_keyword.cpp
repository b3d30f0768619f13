#include "core/search/search_keyword.h"

#include "core/base/text_utils.h"

namespace pom {

namespace {

bool copiedAsIs(unsigned char byte) {
  if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'))
    return true;
  switch (byte) {
    case '!':
    case '"':
    case '$':
    case '\'':
    case '(':
    case ')':
    case '*':
    case ',':
    case '-':
    case '.':
    case ':':
    case '<':
    case '>':
    case '_':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string bannedMessage(const std::string& keyword) {
  return "(" + keyword + ")은 금지된 검색어입니다.(저작권보호요청 이나 음란물)";
}

PreparedKeyword prepareKeyword(std::string_view editText, const BannedWordTest& isBanned) {
  PreparedKeyword prepared;
  prepared.text = lowerAscii(cutText(editText, kKeywordBytes));
  if (prepared.text.size() < kMinKeywordBytes) return prepared;
  const std::size_t start = prepared.text.find_first_not_of(' ');
  prepared.keyword = start == std::string::npos ? std::string() : prepared.text.substr(start);
  const bool banned = isBanned && isBanned(prepared.keyword);
  prepared.outcome = banned ? PreparedKeyword::Outcome::Banned : PreparedKeyword::Outcome::Ready;
  return prepared;
}

std::string encodeKeyword(std::string_view keyword) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(keyword.size() * 3);
  for (const char c : keyword) {
    const auto byte = static_cast<unsigned char>(c);
    if (copiedAsIs(byte)) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    }
  }
  return out;
}

}  // namespace pom
