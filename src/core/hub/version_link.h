// VersionLink: the versions the update module keeps.
#pragma once

#include <string>

namespace pom {

class VersionLink {
 public:
  static constexpr char kLinkName[] = "VersionLink";
  virtual ~VersionLink() = default;
  // "cver": the client's version text (the login window shows it).
  virtual std::string clientVersion() const = 0;
};

}  // namespace pom
