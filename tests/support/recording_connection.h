// RecordingConnection: a Connection that is its own handler, for tests of the
// framing over fake or real sockets. It counts every event it is told of and
// keeps each body of a framed read (one packet per read notification, as the
// framed kinds take them). Header only, so the Windows-side tests and the
// fuzz targets can use it without the native support library.
#pragma once

#include <cstdint>
#include <vector>

#include "core/net/connection.h"

namespace pom {

// A kind of the given capacities, not enciphered, under message number 1034
// (or another): for connections that are not one of the program's kinds.
constexpr ConnectionKind plainKind(std::uint32_t sendCapacity, std::uint32_t receiveCapacity,
                                   std::uint32_t messageNumber = kMainServerKind.messageBase) {
  return ConnectionKind{sendCapacity, receiveCapacity, false, messageNumber};
}

class RecordingConnection : public Connection, private ConnectionHandler {
 public:
  using Body = std::vector<std::uint8_t>;

  RecordingConnection(SocketFactory& sockets, const ConnectionKind& kind, std::uint32_t slot = 0)
      : Connection(sockets, kind, slot, this) {}

  int reads = 0, writes = 0, closes = 0, connects = 0;
  std::vector<Body> bodies;

 private:
  void onRead(Connection&) override {
    ++reads;
    if (receivePacket()) bodies.emplace_back(body(), body() + bodyLength());
  }
  void onWrite(Connection&) override { ++writes; }
  void onClose(Connection&) override { ++closes; }
  void onConnect(Connection&) override { ++connects; }
};

}  // namespace pom
