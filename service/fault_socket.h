// FaultSocket: a TcpSocket wrapper through which the service's connections
// send, so fault switches can damage what leaves without touching the
// framing code.
//
// - limitSend(n, onExhausted): at most n more bytes leave; when the budget is
//   used up, onExhausted runs once (from inside send(); it should defer the
//   close) and later sends report would-block, so nothing else leaves.
// - corruptNextPacket(kind): the next packet that starts in the outgoing stream
//   carries an impossible total length (0xFFFFFFF0) or a wrong end marker
//   (0xFEFEFEFF). The change is tied to stream offsets, so a packet that leaves
//   in several sends is damaged consistently.
//
// Everything else is forwarded to the wrapped socket, which keeps reporting
// notifications straight to the bound sink. Loop thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "core/ports/tcp_socket.h"

namespace pom {
namespace service {

enum class Corruption { Length, Marker };

class FaultSocket : public TcpSocket {
 public:
  explicit FaultSocket(std::unique_ptr<TcpSocket> inner) : inner_(std::move(inner)) {}

  void limitSend(std::int64_t bytes, std::function<void()> onExhausted);
  void corruptNextPacket(Corruption kind);
  std::int64_t bytesSent() const { return offset_; }

  bool create() override { return inner_->create(); }
  bool close() override { return inner_->close(); }
  bool isOpen() const override { return inner_->isOpen(); }
  std::intptr_t handle() const override { return inner_->handle(); }
  bool setLingerZero() override { return inner_->setLingerZero(); }
  void bind(SocketNotificationSink* sink, std::uint32_t messageNumber) override {
    inner_->bind(sink, messageNumber);
  }
  bool selectConnect() override { return inner_->selectConnect(); }
  bool selectTraffic() override { return inner_->selectTraffic(); }
  bool connect(const char* host, std::uint16_t port) override {
    return inner_->connect(host, port);
  }
  int send(const void* data, std::size_t length) override;
  int receive(void* buffer, std::size_t size) override { return inner_->receive(buffer, size); }
  SocketError lastError() const override {
    return blocked_ ? SocketError::WouldBlock : inner_->lastError();
  }
  void signalWrite() override { inner_->signalWrite(); }

 private:
  // Where the frames of the outgoing stream begin and end.
  struct Tracker {
    std::int64_t frameStart = 0;
    std::int64_t frameEnd = -1;  // unknown until the length field has passed
    std::uint8_t header[8] = {};
    int headerHave = 0;
    // Feeds bytes that sit at stream offset `at`; calls onFrame(start, total)
    // whenever a frame's total length becomes known.
    template <typename F>
    void feed(std::int64_t at, const std::uint8_t* data, std::size_t n, F onFrame);
  };

  std::unique_ptr<TcpSocket> inner_;
  std::int64_t offset_ = 0;  // bytes of the stream already sent
  Tracker committed_;
  std::int64_t budget_ = -1;  // -1: unlimited
  std::function<void()> onExhausted_;
  bool blocked_ = false;
  bool armed_ = false;
  Corruption armedKind_ = Corruption::Length;
  std::int64_t armedAt_ = 0;
  std::map<std::int64_t, std::uint8_t> overrides_;
};

}  // namespace service
}  // namespace pom
