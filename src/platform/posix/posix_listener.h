// PosixListener: a listening TCP socket on an IPv4 address, for the local
// service and for tests. Each accepted connection is handed to the callback
// as a non-blocking PosixSocket bound to the same loop; the receiver binds it
// to a sink (for example Connection::attach) before traffic is reported.
//
// Loop thread only; the loop must outlive the listener.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_socket.h"

namespace pom {

class PosixListener : private PollClient {
 public:
  using AcceptHandler = std::function<void(std::unique_ptr<PosixSocket>)>;

  PosixListener(PollLoop& loop, AcceptHandler onAccept);
  ~PosixListener() override;

  PosixListener(const PosixListener&) = delete;
  PosixListener& operator=(const PosixListener&) = delete;

  // Binds (with SO_REUSEADDR) and listens on address:port; port 0 picks a
  // free port, readable with port(). False (errno kept) on failure.
  bool listen(const std::string& address, std::uint16_t port);
  void close();
  bool isListening() const { return fd_ >= 0; }
  std::uint16_t port() const { return port_; }

 private:
  int pollFd() const override { return fd_; }
  short pollEvents() const override;
  void onPollEvents(short revents) override;

  PollLoop& loop_;
  AcceptHandler onAccept_;
  int fd_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace pom
