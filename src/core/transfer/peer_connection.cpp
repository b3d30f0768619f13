#include "core/transfer/peer_connection.h"

namespace pom {

PeerConnection::PeerConnection(int index, Connection& connection, PeerConnectionOwner& owner)
    : index_(index), connection_(connection), owner_(owner) {
  connection_.setHandler(this);
}

PeerConnection::~PeerConnection() {
  connection_.setHandler(nullptr);
}

void PeerConnection::bind(std::int32_t file, std::uint32_t now) {
  slot = index_;
  fileId = file;
  lastDataTick = now;
  lastCheckTick = now;
  connectTick = 0;
  connected = false;
  dropped = false;
  slowCount = 0;
  bytes = 0;
  bytesAtCheck = 0;
  smoothedKB = 0;
  ++run;
}

void PeerConnection::unbind() {
  slot = -1;
  connected = false;
  slowCount = 0;
  bytes = 0;
  bytesAtCheck = 0;
  smoothedKB = 0;
  ++run;
}

void PeerConnection::onRead(Connection&) {
  owner_.peerRead(*this);
}

void PeerConnection::onConnect(Connection&) {
  owner_.peerConnected(*this);
}

void PeerConnection::onClose(Connection&) {
  owner_.peerClosed(*this);
}

}  // namespace pom
