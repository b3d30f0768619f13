// Test clients for the local service: a core Connection on a PollLoop of the
// test thread, keeping every packet body it receives, with bounded waits.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "core/net/connection.h"
#include "core/net/messages/messages.h"
#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_socket.h"

namespace pom {
namespace testing_support {

// The number a result byte carries (the service's tests check raw values).
template <typename Result>
constexpr int resultCode(Result result) {
  return static_cast<int>(result);
}

class RecordingConnection : public Connection, private ConnectionHandler {
 public:
  RecordingConnection(SocketFactory& sockets, const ConnectionKind& kind)
      : Connection(sockets, kind, 0, this) {}
  void onRead(Connection&) override {
    if (receivePacket()) bodies.emplace_back(body(), body() + bodyLength());
    if (!isOpen()) closed = true;
  }
  void onConnect(Connection&) override { connected = isOpen(); }
  void onClose(Connection&) override { closed = true; }
  std::deque<Bytes> bodies;
  bool connected = false;
  bool closed = false;
};

class ServiceClient {
 public:
  explicit ServiceClient(const ConnectionKind& kind = kMainServerKind)
      : sockets_(loop_), connection_(sockets_, kind), kind_(kind) {}

  bool connect(const std::string& host, std::uint16_t port, std::uint32_t timeoutMs = 3000) {
    connection_.initialise();
    connection_.connectTo(host, port);
    return loop_.runUntil([&] { return connection_.connected || connection_.closed; }, timeoutMs) &&
           connection_.connected;
  }
  bool send(const Bytes& body) { return connection_.queue(body.data(), body.size()); }
  bool sendRaw(const void* body, std::size_t length) { return connection_.queue(body, length); }

  // The next body of the given type (others before it are dropped), or nothing
  // within the timeout.
  std::optional<Bytes> next(std::int32_t type, std::uint32_t timeoutMs = 3000) {
    std::optional<Bytes> found;
    loop_.runUntil(
        [&] {
          while (!connection_.bodies.empty()) {
            Bytes body = std::move(connection_.bodies.front());
            connection_.bodies.pop_front();
            auto t = bodyType(body.data(), body.size());
            if (t && *t == type) {
              found = std::move(body);
              return true;
            }
          }
          return connection_.closed;
        },
        timeoutMs);
    return found;
  }
  template <typename Reply>
  std::optional<Reply> await(std::uint32_t timeoutMs = 3000) {
    auto body = next(static_cast<std::int32_t>(Reply::kType), timeoutMs);
    if (!body) return std::nullopt;
    return Reply::decode(body->data(), body->size());
  }
  // Turns the loop until the service closes the connection.
  bool waitClosed(std::uint32_t timeoutMs = 3000) {
    return loop_.runUntil([&] { return connection_.closed || !connection_.isOpen(); }, timeoutMs);
  }
  void run(std::uint32_t ms) { loop_.runFor(ms); }

  RecordingConnection& connection() { return connection_; }
  PollLoop& loop() { return loop_; }

 private:
  PollLoop loop_;
  PosixSocketFactory sockets_;
  RecordingConnection connection_;
  ConnectionKind kind_;
};

}  // namespace testing_support
}  // namespace pom
