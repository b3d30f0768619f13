// PeerManager: the peer-source manager, owner of the three peer connections
// (one per download slot, raw reads, message number 1064 + slot). It is the
// fan-out's receiver after the download sessions and offers each
// notification to its connections. Choosing peers, the watchdog and the
// fall-back to the storage server build on it. Loop thread only.
#pragma once

#include "core/ports/tcp_socket.h"
#include "core/transfer/session_slots.h"

namespace pom {

class PeerManager final : public SocketNotificationSink {
 public:
  explicit PeerManager(SocketFactory& sockets);

  int onSocketMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  // Closes every peer connection.
  void stop();

  Connection& connection(int slot) { return peers_[slot]; }

 private:
  SessionSlots peers_;
};

}  // namespace pom
