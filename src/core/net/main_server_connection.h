// MainServerConnection: the enciphered connection to the login server.
//
// Its handlers carry the session: onConnect selects traffic and runs the
// login step, onClose resets and asks whether to reconnect, onRead takes one
// packet and hands its body to the reply dispatcher. The flow and the
// dispatcher are attached by ClientApp after construction; without them the
// handlers only do the connection's own part. Loop thread only.
#pragma once

#include "core/net/connection.h"

namespace pom {

class ReplyDispatcher;
class SessionFlow;

class MainServerConnection : public Connection {
 public:
  explicit MainServerConnection(SocketFactory& sockets);

  void attach(SessionFlow* flow, ReplyDispatcher* dispatcher) {
    flow_ = flow;
    dispatcher_ = dispatcher;
  }

  void onRead() override;
  void onClose() override;
  void onConnect() override;

 private:
  SessionFlow* flow_ = nullptr;
  ReplyDispatcher* dispatcher_ = nullptr;
};

}  // namespace pom
