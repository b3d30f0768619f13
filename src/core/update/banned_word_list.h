// BannedWordList: the banned search words of "dblist.dat", a sorted set of
// distinct CP949 texts held in lower case (only single-byte ASCII letters
// are lowered; the trail byte of a double-byte character is never touched).
//
// Owned by the update module, which fills it once per start after the login
// window exists; the search reads it through VersionLink::bannedWords() and
// asks contains() with the keyword it has already lowered. Loop thread only.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>

namespace pom {

class BannedWordList {
 public:
  // Exact match against a stored (lower-case) word.
  bool contains(std::string_view text) const { return words_.find(text) != words_.end(); }
  bool empty() const { return words_.empty(); }
  std::size_t size() const { return words_.size(); }

  // Lowers the ASCII letters of word (walking CP949 by character) and stores
  // it; an empty text is a valid entry.
  void insert(std::string_view word);
  void clear() { words_.clear(); }

  // Replaces the list with the entries of a "dblist.dat" body: read as the
  // text reads of the file would, at most 127 characters per piece, each
  // piece losing its last character (the line break, or the last character
  // of a line that has none or that was cut at 127); CR LF counts as one
  // line break, as a text read sees it.
  void parse(std::string_view body);

  const std::set<std::string, std::less<>>& words() const { return words_; }

 private:
  std::set<std::string, std::less<>> words_;
};

}  // namespace pom
