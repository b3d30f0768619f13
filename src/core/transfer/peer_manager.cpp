#include "core/transfer/peer_manager.h"

namespace pom {

PeerManager::PeerManager(SocketFactory& sockets)
    : peers_(sockets, kPeerConnectionKind, nullptr, FanOutSlot::PeerManager, "PeerConnection") {}

int PeerManager::onSocketMessage(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
  peers_.offer(message, wParam, lParam);
  return 0;
}

void PeerManager::stop() {
  peers_.resetAll();
}

}  // namespace pom
