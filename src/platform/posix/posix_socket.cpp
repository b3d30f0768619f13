#include "platform/posix/posix_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pom {
namespace {

// poll(2) tells of the peer's shutdown where it can, which spares a probe on
// every read notification.
#ifdef POLLRDHUP
constexpr short kPeerShutdown = POLLRDHUP;
#else
constexpr short kPeerShutdown = POLLIN;
#endif

bool makeNonBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL, 0);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

// Dotted IPv4 first (as inet_addr reads it), then name resolution.
bool resolveIpv4(const char* host, in_addr& address) {
  if (::inet_aton(host, &address) != 0) return true;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr) return false;
  address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
  ::freeaddrinfo(found);
  return true;
}

}  // namespace

SocketError socketErrorFromErrno(int error) {
  switch (error) {
    case 0:
      return SocketError::None;
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EINPROGRESS:
    case EALREADY:
      return SocketError::WouldBlock;
    case EINVAL:
      return SocketError::Invalid;
    case ECONNREFUSED:
      return SocketError::ConnectionRefused;
    case ECONNRESET:
    case EPIPE:
      return SocketError::ConnectionReset;
    case ECONNABORTED:
      return SocketError::ConnectionAborted;
    case ENOTCONN:
      return SocketError::NotConnected;
    case ETIMEDOUT:
      return SocketError::TimedOut;
    case EHOSTUNREACH:
    case ENETUNREACH:
      return SocketError::HostUnreachable;
    default:
      return SocketError::Other;
  }
}

PosixSocket::PosixSocket(PollLoop& loop) : loop_(loop), alive_(std::make_shared<bool>(true)) {
  loop_.addClient(this);
}

PosixSocket::PosixSocket(PollLoop& loop, int connectedFd) : PosixSocket(loop) {
  makeNonBlocking(connectedFd);
  adopt(connectedFd);
  connected_ = true;
}

PosixSocket::~PosixSocket() {
  *alive_ = false;
  loop_.removeClient(this);
  if (fd_ >= 0) ::close(fd_);
}

void PosixSocket::adopt(int fd) {
  fd_ = fd;
  ++generation_;
  selected_ = Selected::None;
  connecting_ = false;
  connected_ = false;
  writeWanted_ = false;
  readArmed_ = true;
  closeReported_ = false;
  lastError_ = SocketError::None;
}

bool PosixSocket::create() {
  if (fd_ >= 0) return false;
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) {
    lastError_ = socketErrorFromErrno(errno);
    return false;
  }
  if (!makeNonBlocking(fd)) {
    lastError_ = socketErrorFromErrno(errno);
    ::close(fd);
    return false;
  }
  adopt(fd);
  return true;
}

bool PosixSocket::close() {
  if (fd_ < 0) return false;
  const int fd = fd_;
  fd_ = -1;
  ++generation_;
  selected_ = Selected::None;
  connecting_ = false;
  connected_ = false;
  return ::close(fd) == 0;
}

bool PosixSocket::setLingerZero() {
  if (fd_ < 0) return false;
  linger option{};
  option.l_onoff = 1;
  option.l_linger = 0;
  if (::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &option, sizeof option) != 0) {
    lastError_ = socketErrorFromErrno(errno);
    return false;
  }
  return true;
}

void PosixSocket::bind(SocketNotificationSink* sink, std::uint32_t messageNumber) {
  sink_ = sink;
  messageNumber_ = messageNumber;
}

bool PosixSocket::selectConnect() {
  if (fd_ < 0) return false;
  selected_ = Selected::Connect;
  return true;
}

bool PosixSocket::selectTraffic() {
  if (fd_ < 0) return false;
  selected_ = Selected::Traffic;
  // A connected socket is writable at once: say so, as the platform does when
  // write notifications are first asked for.
  writeWanted_ = true;
  return true;
}

bool PosixSocket::connect(const char* host, std::uint16_t port) {
  if (host == nullptr || fd_ < 0) {
    lastError_ = fd_ < 0 ? SocketError::Other : SocketError::Invalid;
    return false;
  }
  in_addr address{};
  if (!resolveIpv4(host, address)) {
    lastError_ = SocketError::Invalid;
    return false;
  }
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(port);
  peer.sin_addr = address;
  const int result = ::connect(fd_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
  if (result == 0) {
    lastError_ = SocketError::None;
    connecting_ = true;  // the Connect notification still follows
    return true;
  }
  const int error = errno;
  lastError_ = socketErrorFromErrno(error);
  if (error == EINPROGRESS) {
    connecting_ = true;
    return false;
  }
  // Failed at once (a refused loopback connect, say): the outcome is still
  // reported as a Connect notification with the error, like a failure that
  // took time, so the owner's handlers see one path.
  const SocketError failure = lastError_;
  const std::weak_ptr<bool> alive = alive_;
  const std::uint32_t generation = generation_;
  loop_.post([this, alive, generation, failure] {
    if (alive.expired() || generation != generation_ || selected_ != Selected::Connect) return;
    notify(SocketEvent::Connect, failure);
  });
  return false;
}

int PosixSocket::send(const void* data, std::size_t length) {
  if (fd_ < 0) {
    lastError_ = SocketError::NotConnected;
    return -1;
  }
  const ssize_t n = ::send(fd_, data, length, MSG_NOSIGNAL);
  if (n < 0) {
    lastError_ = socketErrorFromErrno(errno);
    if (lastError_ == SocketError::WouldBlock) writeWanted_ = true;
    return -1;
  }
  return static_cast<int>(n);
}

int PosixSocket::receive(void* buffer, std::size_t size) {
  if (fd_ < 0) {
    lastError_ = SocketError::NotConnected;
    return -1;
  }
  readArmed_ = true;  // reading re-enables the read notification
  const ssize_t n = ::recv(fd_, buffer, size, 0);
  if (n < 0) {
    lastError_ = socketErrorFromErrno(errno);
    return -1;
  }
  return static_cast<int>(n);
}

void PosixSocket::signalWrite() {
  if (sink_ != nullptr) {
    sink_->onSocketMessage(messageNumber_, static_cast<std::uintptr_t>(fd_),
                           makeSocketLParam(SocketEvent::Write));
  }
}

short PosixSocket::pollEvents() const {
  polledGeneration_ = generation_;
  if (fd_ < 0) return 0;
  if (connecting_) return selected_ == Selected::Connect ? POLLOUT : 0;
  if (selected_ != Selected::Traffic || closeReported_) return 0;
  short events = 0;
  if (readArmed_) events |= POLLIN | kPeerShutdown;
  if (writeWanted_) events |= POLLOUT;
  return events;
}

void PosixSocket::onPollEvents(short revents) {
  // The descriptor was closed and perhaps re-created (with the same number)
  // since the loop asked: these events belong to the old one.
  if (polledGeneration_ != generation_) return;
  if (connecting_) {
    finishConnect(revents);
    return;
  }
  if ((revents & (POLLIN | kPeerShutdown | POLLHUP | POLLERR)) != 0 && readArmed_) {
    checkReadable(revents);
    return;  // the descriptor may have changed; writes are looked at next turn
  }
  if ((revents & POLLOUT) != 0 && writeWanted_) {
    writeWanted_ = false;
    notify(SocketEvent::Write);
  }
}

void PosixSocket::finishConnect(short revents) {
  if ((revents & (POLLOUT | POLLERR | POLLHUP)) == 0) return;  // not decided yet
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
  if (error == 0 && (revents & (POLLERR | POLLHUP)) != 0) error = ECONNREFUSED;
  connecting_ = false;
  connected_ = error == 0;
  notify(SocketEvent::Connect, socketErrorFromErrno(error));
}

void PosixSocket::checkReadable(short revents) {
  // Data is reported first, the close only once all of it has been read.
  // Without a sign of the peer's shutdown or an error, readable means data,
  // so no extra call is needed on the busy path; otherwise peek at one byte
  // to tell the two apart.
  bool data = (revents & (kPeerShutdown | POLLHUP | POLLERR)) == 0;
  int error = 0;
  if (!data) {
    char probe = 0;
    const ssize_t n = ::recv(fd_, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    data = n > 0;
    if (n < 0) error = errno;
  }
  if (data) {
    readArmed_ = false;
    const bool stillHere = notify(SocketEvent::Read);
    if (stillHere && (revents & POLLOUT) != 0 && writeWanted_) {
      writeWanted_ = false;
      notify(SocketEvent::Write);
    }
    return;
  }
  closeReported_ = true;
  notify(SocketEvent::Close, socketErrorFromErrno(error));
}

bool PosixSocket::notify(SocketEvent event, SocketError error) {
  if (sink_ == nullptr) return true;
  const std::weak_ptr<bool> alive = alive_;
  const std::uint32_t generation = generation_;
  const auto wParam = static_cast<std::uintptr_t>(fd_);
  sink_->onSocketMessage(messageNumber_, wParam, makeSocketLParam(event, error));
  return !alive.expired() && generation == generation_;
}

std::unique_ptr<TcpSocket> PosixSocketFactory::createSocket() {
  return std::make_unique<PosixSocket>(loop_);
}

}  // namespace pom
