#include "service/peer_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "service/demo_data.h"
#include "service/request_log.h"

namespace pom {
namespace service {

namespace {

constexpr std::uint32_t kStartMarker = 0xFFFFFFFFu;
constexpr std::uint32_t kEndMarker = 0xFEFEFEFEu;
constexpr std::size_t kChunk = 32 * 1024;
constexpr int kSliceMs = 100;  // how often blocked threads look at the stop flag

using Clock = std::chrono::steady_clock;

std::uint32_t readLe32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void writeLe32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

int msLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return static_cast<int>(std::max<long long>(0, left.count()));
}

// Waits for events on fd in short slices; false on timeout, stop or error.
bool waitFor(int fd, short events, Clock::time_point deadline, const std::atomic<bool>& stopping) {
  while (!stopping) {
    const int left = msLeft(deadline);
    if (left == 0) return false;
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, std::min(left, kSliceMs));
    if (n < 0 && errno != EINTR) return false;
    if (n > 0) return (p.revents & (events | POLLHUP | POLLERR)) != 0;
  }
  return false;
}

bool readExact(int fd, unsigned char* buffer, std::size_t size, Clock::time_point deadline,
               const std::atomic<bool>& stopping) {
  std::size_t got = 0;
  while (got < size) {
    if (!waitFor(fd, POLLIN, deadline, stopping)) return false;
    const ssize_t n = ::recv(fd, buffer + got, size - got, 0);
    if (n == 0) return false;
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    got += static_cast<std::size_t>(n);
  }
  return true;
}

bool sendAll(int fd, const char* data, std::size_t size, int timeoutMs,
             const std::atomic<bool>& stopping) {
  std::size_t sent = 0;
  while (sent < size) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    if (!waitFor(fd, POLLOUT, deadline, stopping)) return false;
    const ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

// Strict decimal with an optional leading "-"; nothing else, no overflow.
std::optional<std::int64_t> parseDecimal(const std::string& text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) i = 1;
  if (i == text.size() || text.size() - i > 18) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

int listenOn(const std::string& host, std::uint16_t port, std::uint16_t& bound, std::string& why) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
    why = "not an IPv4 address: " + host;
    return -1;
  }
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    why = std::strerror(errno);
    return -1;
  }
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 16) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    why = "cannot listen on " + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
    ::close(fd);
    return -1;
  }
  bound = ntohs(address.sin_port);
  return fd;
}

}  // namespace

PeerServerConfig PeerServerConfig::fromPorts(const ServicePorts& ports) {
  PeerServerConfig config;
  config.hosts = ports.peerHosts;
  config.port = ports.peerPort;
  config.hangingHost = ports.hangingPeerHost;
  return config;
}

std::optional<PeerRequest> parsePeerHeader(const std::string& text) {
  static const std::string kPrefix = "|header|";
  static const std::string kSuffix = "|||";
  if (text.size() < kPrefix.size() + kSuffix.size() ||
      text.compare(0, kPrefix.size(), kPrefix) != 0 ||
      text.compare(text.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) {
    return std::nullopt;
  }
  const std::string inner =
      text.substr(kPrefix.size(), text.size() - kPrefix.size() - kSuffix.size());
  const auto first = inner.find('|');
  if (first == std::string::npos) return std::nullopt;
  const auto second = inner.find('|', first + 1);
  if (second == std::string::npos || inner.find('|', second + 1) != std::string::npos) {
    return std::nullopt;
  }
  PeerRequest request;
  request.uniqueCode = inner.substr(0, first);
  const auto total = parseDecimal(inner.substr(first + 1, second - first - 1));
  const auto offset = parseDecimal(inner.substr(second + 1));
  if (request.uniqueCode.empty() || !total || !offset) return std::nullopt;
  request.totalSize = *total;
  request.offset = *offset;
  return request;
}

std::string framePeerHeader(const std::string& text) {
  std::string packet;
  writeLe32(packet, kStartMarker);
  writeLe32(packet, static_cast<std::uint32_t>(text.size() + 12));
  packet += text;
  writeLe32(packet, kEndMarker);
  return packet;
}

PeerServer::PeerServer(const PeerServerConfig& config, Store& store, Faults& faults)
    : config_(config), store_(store), faults_(faults) {}

PeerServer::~PeerServer() {
  stop();
}

void PeerServer::stop() {
  if (stopping_.exchange(true)) return;
  if (wakeWrite_ >= 0) {
    const char byte = 0;
    (void)!::write(wakeWrite_, &byte, 1);
  }
  if (acceptThread_.joinable()) acceptThread_.join();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (Connection& connection : connections_) ::shutdown(connection.fd, SHUT_RDWR);
  }
  // No new connection can appear now: the accept thread has ended.
  for (Connection& connection : connections_) {
    if (connection.thread.joinable()) connection.thread.join();
    ::close(connection.fd);
  }
  connections_.clear();
  for (int fd : listeners_) ::close(fd);
  listeners_.clear();
  for (int* fd : {&hangingFiller_, &hangingListener_}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  if (wakeRead_ >= 0) ::close(wakeRead_);
  if (wakeWrite_ >= 0) ::close(wakeWrite_);
  wakeRead_ = wakeWrite_ = -1;
}

void PeerServer::reapFinished() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = connections_.begin(); it != connections_.end();) {
    if (it->done) {
      it->thread.join();
      ::close(it->fd);
      it = connections_.erase(it);
    } else {
      ++it;
    }
  }
}

void PeerServer::acceptLoop() {
  std::vector<pollfd> fds;
  fds.push_back({wakeRead_, POLLIN, 0});
  for (int fd : listeners_) fds.push_back({fd, POLLIN, 0});
  while (!stopping_) {
    const int n = ::poll(fds.data(), fds.size(), 1000);
    reapFinished();
    if (n <= 0) continue;
    if (fds[0].revents != 0) break;
    for (std::size_t i = 1; i < fds.size(); ++i) {
      if ((fds[i].revents & POLLIN) == 0) continue;
      const int fd = ::accept4(fds[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      std::lock_guard<std::mutex> lock(mutex_);
      if (static_cast<int>(connections_.size()) >= config_.maxConnections) {
        ::close(fd);
        continue;
      }
      connections_.emplace_back();
      Connection& connection = connections_.back();
      connection.fd = fd;
      connection.peer = static_cast<int>(i - 1);
      connection.thread = std::thread([this, &connection] {
        try {
          serve(connection);
        } catch (...) {
          // A failing store or a lack of memory ends this connection only.
        }
        // The client sees the end at once; the descriptor itself is closed
        // when the thread is reaped, so stop() never touches a reused number.
        ::shutdown(connection.fd, SHUT_RDWR);
        connection.done = true;
      });
    }
  }
}

void PeerServer::serve(Connection& connection) {
  const int fd = connection.fd;
  const auto headerDeadline = Clock::now() + std::chrono::milliseconds(config_.headerTimeoutMs);
  unsigned char head[8];
  if (!readExact(fd, head, sizeof head, headerDeadline, stopping_)) return;
  const std::uint32_t total = readLe32(head + 4);
  if (readLe32(head) != kStartMarker || total < 12 || total > kMaxPeerHeader + 12) return;
  std::string rest(total - 8, '\0');
  if (!readExact(fd, reinterpret_cast<unsigned char*>(&rest[0]), rest.size(), headerDeadline,
                 stopping_)) {
    return;
  }
  const std::size_t bodyLength = total - 12;
  if (readLe32(reinterpret_cast<const unsigned char*>(rest.data()) + bodyLength) != kEndMarker) {
    return;
  }
  const std::optional<PeerRequest> request = parsePeerHeader(rest.substr(0, bodyLength));
  const std::string& host = config_.hosts[static_cast<std::size_t>(connection.peer)];
  if (config_.requests) {
    PeerHeaderEntry entry;
    entry.peer = host;
    entry.malformed = !request;
    if (request) {
      entry.checksum = request->uniqueCode;
      entry.totalSize = request->totalSize;
      entry.offset = request->offset;
    }
    config_.requests->recordPeerHeader(entry);
  }
  if (!request) return;
  const std::optional<Item> file = store_.fileByUniqueCode(request->uniqueCode);
  if (!file || file->isFolder() || !file->complete() || file->size != request->totalSize ||
      request->offset < 0 || request->offset > file->size) {
    return;
  }

  const int peerNumber = connection.peer + 1;
  if (faults_.consumeForPeer("peer_stall", peerNumber, host).value_or(0) != 0) {
    // Accept the request and then say nothing until the client gives up.
    char sink[256];
    while (!stopping_) {
      const auto slice = Clock::now() + std::chrono::milliseconds(kSliceMs);
      if (waitFor(fd, POLLIN, slice, stopping_) && ::recv(fd, sink, sizeof sink, 0) <= 0) return;
    }
    return;
  }
  const long long rate = faults_.consumeForPeer("peer_rate", peerNumber, host).value_or(0);
  // Answer bytes from this count on go out inverted; the answer ends after
  // closeAfter bytes (-1: neither).
  const long long corruptFrom =
      faults_.consumeForPeer("peer_corrupt", peerNumber, host).value_or(-1);
  const long long closeAfter =
      faults_.consumeForPeer("peer_close_after", peerNumber, host).value_or(-1);

  restoreGeneratedBody(store_, *file);  // the bulk folder's bodies come late
  const int body = ::open(store_.bodyPath(file->id).c_str(), O_RDONLY | O_CLOEXEC);
  if (body < 0) return;
  std::vector<char> buffer(kChunk);
  std::int64_t position = request->offset;
  std::int64_t sent = 0;
  const auto started = Clock::now();
  while (position < file->size && !stopping_) {
    std::int64_t left = file->size - position;
    if (closeAfter >= 0) left = std::min<std::int64_t>(left, closeAfter - sent);
    if (left <= 0) break;  // closes mid-file
    std::size_t want =
        static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(kChunk), left));
    if (rate > 0) {
      // Spread the bytes evenly: never ahead of rate × elapsed time.
      const auto elapsedMs =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
      const std::int64_t allowed = rate * (elapsedMs + kSliceMs) / 1000 - sent;
      if (allowed <= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kSliceMs / 4));
        continue;
      }
      want = std::min<std::size_t>(want, static_cast<std::size_t>(allowed));
    }
    const ssize_t n = ::pread(body, buffer.data(), want, position);
    if (n <= 0) break;  // the body file is shorter than its record says
    if (corruptFrom >= 0) {
      for (ssize_t k = std::max<std::int64_t>(0, corruptFrom - sent); k < n; ++k)
        buffer[static_cast<std::size_t>(k)] =
            static_cast<char>(~buffer[static_cast<std::size_t>(k)]);
    }
    if (!sendAll(fd, buffer.data(), static_cast<std::size_t>(n), config_.sendTimeoutMs,
                 stopping_)) {
      break;
    }
    position += n;
    sent += n;
  }
  ::close(body);
}

bool PeerServer::startHanging(const std::string& host, std::string* error) {
  // A backlog of 0 holds one finished connection; once the service's own
  // filler connection sits in it, the kernel drops every further SYN, so a
  // client's connect neither completes nor fails until it gives up.
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(config_.port);
  if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
    *error = "not an IPv4 address: " + host;
    return false;
  }
  hangingListener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  ::setsockopt(hangingListener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  socklen_t length = sizeof address;
  if (hangingListener_ < 0 ||
      ::bind(hangingListener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(hangingListener_, 0) != 0 ||
      ::getsockname(hangingListener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    *error = "cannot listen on " + host + ":" + std::to_string(config_.port) + ": " +
             std::strerror(errno);
    return false;
  }
  hangingPort_ = ntohs(address.sin_port);
  hangingFiller_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  const int started =
      hangingFiller_ < 0
          ? -1
          : ::connect(hangingFiller_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  // Loopback completes the handshake at once or within a few milliseconds.
  pollfd p{hangingFiller_, POLLOUT, 0};
  int failure = 0;
  socklen_t failureLength = sizeof failure;
  if (hangingFiller_ < 0 || (started != 0 && errno != EINPROGRESS) || ::poll(&p, 1, 2000) != 1 ||
      ::getsockopt(hangingFiller_, SOL_SOCKET, SO_ERROR, &failure, &failureLength) != 0 ||
      failure != 0) {
    *error = "cannot fill the backlog of " + host;
    return false;
  }
  return true;
}

std::unique_ptr<PeerServer> startPeerServer(const PeerServerConfig& config, Store& store,
                                            Faults& faults, std::string* error) {
  std::unique_ptr<PeerServer> server(new PeerServer(config, store, faults));
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    if (error) *error = std::strerror(errno);
    return nullptr;
  }
  server->wakeRead_ = pipeFds[0];
  server->wakeWrite_ = pipeFds[1];
  std::string why;
  for (const std::string& host : config.hosts) {
    std::uint16_t bound = 0;
    const int fd = listenOn(host, config.port, bound, why);
    if (fd < 0) {
      if (error) *error = why;
      return nullptr;
    }
    server->listeners_.push_back(fd);
    server->ports_.push_back(bound);
  }
  if (!config.hangingHost.empty() && !server->startHanging(config.hangingHost, &why)) {
    if (error) *error = why;
    return nullptr;
  }
  server->acceptThread_ = std::thread([raw = server.get()] { raw->acceptLoop(); });
  return server;
}

}  // namespace service
}  // namespace pom
