#include "core/transfer/peer_module.h"

#include "core/hub/module_context.h"
#include "core/hub/session_link.h"
#include "core/transfer/peer_manager.h"
#include "core/transfer/peer_sources.h"

namespace pom {

PeerModule::PeerModule(ModuleContext& context) : context_(context) {}

PeerModule::~PeerModule() = default;

bool PeerModule::connect() {
  bool ok = context_.require(session_, name());
  ok &= context_.require(downloads_, name());
  return ok;
}

void PeerModule::create(Stage stage) {
  if (stage != Stage::Peers) return;
  const AppPorts& ports = context_.ports();
  PeerManager::Deps deps;
  deps.sockets = ports.sockets;
  deps.clock = ports.clock;
  deps.random = ports.random;
  deps.http = ports.http;
  deps.servers = &context_.servers();
  deps.config = &context_.config();
  deps.session = session_;
  manager_ = std::make_unique<PeerManager>(deps);
  context_.fanOut().add(FanOutSlot::PeerManager, "PeerManager", *manager_);
  if (downloads_ != nullptr) manager_->setHost(downloads_->attachPeers(manager_.get()));
  context_.note("+PeerManager");
}

void PeerModule::destroy(Stage stage) {
  if (stage != Stage::Peers || !manager_) return;
  context_.fanOut().remove(manager_.get());
  if (downloads_ != nullptr) downloads_->attachPeers(nullptr);
  manager_->stop();
  manager_.reset();
  context_.note("-PeerManager");
}

}  // namespace pom
