// VersionInfo: the version texts of the client ("cver") and of the updater
// ("uver"), read from the registry values under HKCU Software\Pomvale2.0
// ("0.9" when missing). The login window shows the client version in its
// title. Owned by the update module, which fills it from the registry or,
// when the version check runs, from the check's result.
#pragma once

#include <string>
#include <utility>

namespace pom {

class ConfigStore;

class VersionInfo {
 public:
  void load(const ConfigStore& config);
  // The texts the version check settled on.
  void set(std::string clientVersion, std::string updaterVersion) {
    clientVersion_ = std::move(clientVersion);
    updaterVersion_ = std::move(updaterVersion);
  }

  const std::string& clientVersion() const { return clientVersion_; }
  const std::string& updaterVersion() const { return updaterVersion_; }

 private:
  std::string clientVersion_ = "0.9";
  std::string updaterVersion_ = "0.9";
};

}  // namespace pom
