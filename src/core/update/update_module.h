// UpdateModule: the version check and the banned search words as one module
// of the composition root.
//
// It has no member of the designed creation order: the versions are read
// when the module is made (the version check comes before any member), and
// it offers VersionLink. The check against the update server, the updater
// hand-over and the banned-word list build on it. Loop thread only.
#pragma once

#include "core/hub/module.h"
#include "core/hub/version_link.h"
#include "core/update/version_info.h"

namespace pom {

class ModuleContext;

class UpdateModule final : public Module, public VersionLink {
 public:
  explicit UpdateModule(ModuleContext& context);
  ~UpdateModule() override;

  const char* name() const override { return "update"; }

  // VersionLink
  std::string clientVersion() const override { return versions_.clientVersion(); }

  const VersionInfo& versions() const { return versions_; }

 private:
  ModuleContext& context_;
  VersionInfo versions_;
};

}  // namespace pom
