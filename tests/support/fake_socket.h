// FakeSocket: a scripted TcpSocket for unit tests of the core.
//
// Records everything sent (sent()), hands out scripted receive steps in any
// split (bytes, would-block, an error, the peer's close), takes sends
// according to a script (all by default), counts creates and closes, and
// delivers signalWrite() and injected notifications to the bound sink
// synchronously, as the real backends do. FakeSocketFactory makes FakeSockets
// and keeps a pointer to each for the test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/ports/tcp_socket.h"

namespace pom {

class FakeSocket : public TcpSocket {
 public:
  using Bytes = std::vector<std::uint8_t>;

  // --- scripting ---
  // Bytes the next receive calls return, at most the requested size each.
  void scriptReceive(const Bytes& bytes) { receives_.push_back(Step{Step::Data, bytes, {}}); }
  void scriptReceive(const std::string& bytes) { scriptReceive(Bytes(bytes.begin(), bytes.end())); }
  // One receive returning -1 with the error (WouldBlock when nothing is left).
  void scriptReceiveError(SocketError error) { receives_.push_back(Step{Step::Error, {}, error}); }
  // One receive returning 0: the peer closed.
  void scriptReceiveClosed() { receives_.push_back(Step{Step::Closed, {}, {}}); }
  // The next send takes at most count bytes.
  void scriptSendAccept(std::size_t count) { sends_.push_back(SendStep{count, SocketError::None}); }
  // The next send returns -1 with the error.
  void scriptSendError(SocketError error) { sends_.push_back(SendStep{0, error}); }
  // With no send step scripted: take everything (default) or would-block.
  void setSendBlocked(bool blocked) { sendBlocked_ = blocked; }
  void setCreateFails(bool fails) { createFails_ = fails; }
  void setSelectFails(bool fails) { selectFails_ = fails; }
  void setConnectResult(bool connectedAtOnce, SocketError error) {
    connectAtOnce_ = connectedAtOnce;
    connectError_ = error;
  }
  // Delivers a notification to the bound sink as the platform would.
  int deliver(SocketEvent event, SocketError error = SocketError::None);

  // --- observation ---
  const Bytes& sent() const { return sent_; }
  void clearSent() { sent_.clear(); }
  std::size_t pendingReceiveBytes() const;
  int creates() const { return creates_; }
  int closes() const { return closes_; }
  int connects() const { return connects_; }
  int sendCalls() const { return sendCalls_; }
  const std::string& connectedHost() const { return host_; }
  std::uint16_t connectedPort() const { return port_; }
  bool lingerZero() const { return lingerZero_; }
  enum class Selection { None, Connect, Traffic };
  Selection selection() const { return selection_; }
  SocketNotificationSink* sink() const { return sink_; }
  std::uint32_t messageNumber() const { return messageNumber_; }

  // --- TcpSocket ---
  bool create() override;
  bool close() override;
  bool isOpen() const override { return open_; }
  std::intptr_t handle() const override { return open_ ? handle_ : -1; }
  bool setLingerZero() override;
  void bind(SocketNotificationSink* sink, std::uint32_t messageNumber) override;
  bool selectConnect() override;
  bool selectTraffic() override;
  bool connect(const char* host, std::uint16_t port) override;
  int send(const void* data, std::size_t length) override;
  int receive(void* buffer, std::size_t size) override;
  SocketError lastError() const override { return lastError_; }
  void signalWrite() override;

 private:
  struct Step {
    enum Kind { Data, Error, Closed } kind;
    Bytes bytes;
    SocketError error;
  };
  struct SendStep {
    std::size_t accept;
    SocketError error;
  };

  std::deque<Step> receives_;
  std::deque<SendStep> sends_;
  Bytes sent_;
  bool open_ = false;
  std::intptr_t handle_ = 100;
  bool sendBlocked_ = false;
  bool createFails_ = false;
  bool selectFails_ = false;
  bool connectAtOnce_ = false;
  SocketError connectError_ = SocketError::WouldBlock;
  bool lingerZero_ = false;
  int creates_ = 0;
  int closes_ = 0;
  int connects_ = 0;
  int sendCalls_ = 0;
  std::string host_;
  std::uint16_t port_ = 0;
  Selection selection_ = Selection::None;
  SocketNotificationSink* sink_ = nullptr;
  std::uint32_t messageNumber_ = 0;
  SocketError lastError_ = SocketError::None;
};

class FakeSocketFactory : public SocketFactory {
 public:
  std::unique_ptr<TcpSocket> createSocket() override;
  // Every socket made so far, in order (owned by whoever took them).
  const std::vector<FakeSocket*>& made() const { return made_; }
  FakeSocket& last() const { return *made_.back(); }

 private:
  std::vector<FakeSocket*> made_;
};

}  // namespace pom
