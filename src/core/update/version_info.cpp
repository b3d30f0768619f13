#include "core/update/version_info.h"

#include "core/base/config_keys.h"

namespace pom {

void VersionInfo::load(const ConfigStore& config) {
  clientVersion_ = config.cver();
  updaterVersion_ = config.uver();
}

}  // namespace pom
