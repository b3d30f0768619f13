#include "core/net/main_server_connection.h"

#include "core/net/reply_dispatcher.h"
#include "core/session/session_flow.h"

namespace pom {

MainServerConnection::MainServerConnection(SocketFactory& sockets)
    : Connection(sockets, kMainServerKind) {}

void MainServerConnection::onRead() {
  if (!receivePacket()) return;
  if (dispatcher_ != nullptr) dispatcher_->dispatch(body(), bodyLength());
}

void MainServerConnection::onClose() {
  reset();
  if (flow_ != nullptr) flow_->connectionLost();
}

void MainServerConnection::onConnect() {
  if (!selectTraffic()) reset();
  if (flow_ != nullptr) flow_->loginStep();
}

}  // namespace pom
