// PeerModule: the peer sources as one module of the composition root.
// Member: the peer-source manager (stage Peers, created after every window
// and stopped and deleted last). Once made it takes over the download
// window's peer sources (PeerSeamLink); the download module takes them back
// when the window goes. Loop thread only.
#pragma once

#include <memory>

#include "core/hub/module.h"

namespace pom {

class ModuleContext;
class PeerManager;
class PeerSeamLink;
class SessionLink;

class PeerModule final : public Module {
 public:
  explicit PeerModule(ModuleContext& context);
  ~PeerModule() override;

  const char* name() const override { return "peers"; }
  bool connect() override;
  void create(Stage stage) override;
  void destroy(Stage stage) override;

  PeerManager& manager() { return *manager_; }

 private:
  ModuleContext& context_;
  SessionLink* session_ = nullptr;
  PeerSeamLink* downloads_ = nullptr;
  std::unique_ptr<PeerManager> manager_;
};

}  // namespace pom
