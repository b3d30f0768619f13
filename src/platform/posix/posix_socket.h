// PosixSocket: the TcpSocket port over a non-blocking BSD socket, driven by a
// PollLoop.
//
// Readiness is reported to the bound sink as the Windows socket layer would:
// onSocketMessage(messageNumber, fd, makeSocketLParam(event, error)).
//  - Connect: once a started connect completes, with the error (refused,
//    unreachable, ...) in the high word when it failed.
//  - Write: once after traffic is selected on a connected socket, and again
//    when the socket becomes writable after a send would have blocked.
//  - Read: while unread bytes remain; re-armed by every receive() call, so a
//    sink that does not read is not told twice.
//  - Close: once, when the peer shut down (after the data has been read) or
//    the connection broke (error in the high word).
// Only events of the selected kind are delivered (selectConnect: Connect;
// selectTraffic: Read, Write, Close). signalWrite() calls the sink at once.
// errno values are mapped to SocketError; the socket never raises SIGPIPE.
//
// The loop must outlive the socket. A sink may close, re-create or destroy
// the socket from inside a notification.
#pragma once

#include <cstdint>
#include <memory>

#include "core/ports/tcp_socket.h"
#include "platform/posix/poll_loop.h"

namespace pom {

SocketError socketErrorFromErrno(int error);

class PosixSocket : public TcpSocket, private PollClient {
 public:
  explicit PosixSocket(PollLoop& loop);
  // Takes over a connected descriptor (an accepted socket); made non-blocking.
  PosixSocket(PollLoop& loop, int connectedFd);
  ~PosixSocket() override;

  PosixSocket(const PosixSocket&) = delete;
  PosixSocket& operator=(const PosixSocket&) = delete;

  bool create() override;
  bool close() override;
  bool isOpen() const override { return fd_ >= 0; }
  std::intptr_t handle() const override { return fd_; }
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
  enum class Selected { None, Connect, Traffic };

  int pollFd() const override { return fd_; }
  short pollEvents() const override;
  void onPollEvents(short revents) override;

  void adopt(int fd);
  void finishConnect(short revents);
  void checkReadable(short revents);
  // Delivers one notification; false when this socket was destroyed or its
  // descriptor changed meanwhile (the caller must stop touching it).
  bool notify(SocketEvent event, SocketError error = SocketError::None);

  PollLoop& loop_;
  int fd_ = -1;
  SocketNotificationSink* sink_ = nullptr;
  std::uint32_t messageNumber_ = 0;
  Selected selected_ = Selected::None;
  SocketError lastError_ = SocketError::None;
  bool connecting_ = false;   // connect started, outcome not yet reported
  bool connected_ = false;    // connect reported success, or accepted
  bool writeWanted_ = false;  // report Write when the socket is writable
  bool readArmed_ = true;     // a Read may be reported
  bool closeReported_ = false;
  // Set to false when the socket is destroyed; notify() checks it.
  std::shared_ptr<bool> alive_;
  std::uint32_t generation_ = 0;                // bumped whenever the descriptor changes
  mutable std::uint32_t polledGeneration_ = 0;  // generation_ when the loop last asked
};

// Makes PosixSockets bound to one loop.
class PosixSocketFactory : public SocketFactory {
 public:
  explicit PosixSocketFactory(PollLoop& loop) : loop_(loop) {}
  std::unique_ptr<TcpSocket> createSocket() override;

 private:
  PollLoop& loop_;
};

}  // namespace pom
