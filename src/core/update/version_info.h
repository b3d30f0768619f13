// VersionInfo: the version texts of the client ("cver") and of the updater
// ("uver"), read from the registry values under HKCU Software\Pomvale2.0
// ("0.9" when missing). The login window shows the client version in its
// title. Owned by the update module; the version check against the update
// server builds on it.
#pragma once

#include <string>

namespace pom {

class ConfigStore;

class VersionInfo {
 public:
  void load(const ConfigStore& config);

  const std::string& clientVersion() const { return clientVersion_; }
  const std::string& updaterVersion() const { return updaterVersion_; }

 private:
  std::string clientVersion_ = "0.9";
  std::string updaterVersion_ = "0.9";
};

}  // namespace pom
