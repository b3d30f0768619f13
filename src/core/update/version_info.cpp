#include "core/update/version_info.h"

#include "core/base/config_keys.h"

namespace pom {
namespace {
VersionInfo* g_versionInfo = nullptr;
}

VersionInfo* VersionInfo::instance() {
  return g_versionInfo;
}

VersionInfo* VersionInfo::create() {
  if (g_versionInfo == nullptr) g_versionInfo = new VersionInfo();
  return g_versionInfo;
}

void VersionInfo::destroy() {
  delete g_versionInfo;
  g_versionInfo = nullptr;
}

void VersionInfo::load(const ConfigStore& config) {
  clientVersion_ = config.cver();
  updaterVersion_ = config.uver();
}

}  // namespace pom
