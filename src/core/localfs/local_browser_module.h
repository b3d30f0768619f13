// LocalBrowserModule: the local file browser and the settings dialog as one
// module of the composition root (their members come in the Windows stage
// after the transfer windows). It offers LocalBrowserLink. Until the local
// tree and list exist there is no selection to upload and no tree to point
// at; until the settings dialog exists its button opens nothing.
// Loop thread only.
#pragma once

#include "core/hub/local_browser_link.h"
#include "core/hub/module.h"

namespace pom {

class ModuleContext;

class LocalBrowserModule final : public Module, public LocalBrowserLink {
 public:
  explicit LocalBrowserModule(ModuleContext& context);
  ~LocalBrowserModule() override;

  const char* name() const override { return "local browser"; }

  // LocalBrowserLink
  bool localListHasSelection() const override { return false; }
  void uploadSelection() override {}
  void pointTreeAt(const std::string&) override {}
  void openSettings() override {}

 private:
  ModuleContext& context_;
};

}  // namespace pom
