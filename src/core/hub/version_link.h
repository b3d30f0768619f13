// VersionLink: the versions and the banned search words the update module
// keeps. Offered by the update module for its whole life; loop thread only.
#pragma once

#include <string>
#include <string_view>

namespace pom {

class BannedWordList;

class VersionLink {
 public:
  static constexpr char kLinkName[] = "VersionLink";
  virtual ~VersionLink() = default;
  // "cver": the client's version text (the login window shows it).
  virtual std::string clientVersion() const = 0;
  // The banned search words of "dblist.dat" in lower case; empty until they
  // are loaded, and for the whole run when "BadSearch" is set.
  virtual const BannedWordList& bannedWords() const = 0;
  // A keyword (already lowered) is one of the banned words; what the search
  // asks, since it may not include the list's own header.
  virtual bool isBannedWord(std::string_view keyword) const { return false; }
};

}  // namespace pom
