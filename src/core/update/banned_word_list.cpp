#include "core/update/banned_word_list.h"

#include "core/base/text_utils.h"

namespace pom {

void BannedWordList::insert(std::string_view word) {
  words_.insert(lowerAscii(word));
}

void BannedWordList::parse(std::string_view body) {
  words_.clear();
  // Read as text: a CR LF pair is one line break.
  std::string text;
  text.reserve(body.size());
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') continue;
    text += body[i];
  }
  // A text read of at most 127 characters stops after a line break or after
  // 127 characters, whichever comes first; the last character of each piece
  // is dropped as the line break even when it is not one.
  constexpr std::size_t kPiece = 127;
  std::size_t at = 0;
  const std::string_view all(text);
  while (at < all.size()) {
    const std::size_t end = all.find('\n', at);
    std::size_t length = end == std::string_view::npos ? all.size() - at : end - at + 1;
    if (length > kPiece) length = kPiece;
    insert(all.substr(at, length - 1));
    at += length;
  }
}

}  // namespace pom
