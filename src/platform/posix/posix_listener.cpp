#include "platform/posix/posix_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace pom {

PosixListener::PosixListener(PollLoop& loop, AcceptHandler onAccept)
    : loop_(loop), onAccept_(std::move(onAccept)) {
  loop_.addClient(this);
}

PosixListener::~PosixListener() {
  loop_.removeClient(this);
  close();
}

bool PosixListener::listen(const std::string& address, std::uint16_t port) {
  close();
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  if (::inet_aton(address.c_str(), &local.sin_addr) == 0) {
    errno = EINVAL;
    return false;
  }
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
      ::listen(fd, SOMAXCONN) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return false;
  }
  socklen_t length = sizeof local;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
  fd_ = fd;
  port_ = ntohs(local.sin_port);
  return true;
}

void PosixListener::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

short PosixListener::pollEvents() const {
  return fd_ >= 0 ? POLLIN : 0;
}

void PosixListener::onPollEvents(short revents) {
  // One connection per turn: the handler may close or destroy the listener,
  // and the loop reports the rest again at the next turn.
  const int accepted = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (accepted < 0) return;
  auto socket = std::make_unique<PosixSocket>(loop_, accepted);
  AcceptHandler handler = onAccept_;  // outlives a listener destroyed by it
  if (handler) handler(std::move(socket));
}

}  // namespace pom
