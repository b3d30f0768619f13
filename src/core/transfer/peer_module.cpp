#include "core/transfer/peer_module.h"

#include "core/hub/module_context.h"
#include "core/transfer/peer_manager.h"

namespace pom {

PeerModule::PeerModule(ModuleContext& context) : context_(context) {}

PeerModule::~PeerModule() = default;

void PeerModule::create(Stage stage) {
  if (stage != Stage::Peers) return;
  manager_ = std::make_unique<PeerManager>(*context_.ports().sockets);
  context_.fanOut().add(FanOutSlot::PeerManager, "PeerManager", *manager_);
  context_.note("+PeerManager");
}

void PeerModule::destroy(Stage stage) {
  if (stage != Stage::Peers || !manager_) return;
  context_.fanOut().remove(manager_.get());
  manager_->stop();
  manager_.reset();
  context_.note("-PeerManager");
}

}  // namespace pom
