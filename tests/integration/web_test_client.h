// Raw loopback TCP helpers for the web and peer tests: send exact bytes,
// read until the server closes, with bounded waits. Plain sockets on purpose,
// so the tests see the bytes on the wire and can send malformed requests.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>

namespace pom::test {

class RawClient {
 public:
  RawClient(const std::string& host, std::uint16_t port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    ::inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~RawClient() {
    if (fd_ >= 0) ::close(fd_);
  }
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool connected() const { return fd_ >= 0; }

  bool send(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }

  // Reads until the server closes, timeoutMs passes, maxBytes arrived or (when
  // not empty) `until` appears. closed() tells whether the end was a close.
  std::string readAll(int timeoutMs = 5000, std::size_t maxBytes = 64 << 20,
                      const std::string& until = std::string()) {
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[16384];
    closed_ = false;
    while (out.size() < maxBytes) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0) break;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left)) <= 0) break;
      const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) {
        closed_ = true;
        break;
      }
      out.append(buffer, static_cast<std::size_t>(n));
      if (!until.empty() && out.find(until) != std::string::npos) break;
    }
    return out;
  }
  bool closed() const { return closed_; }

 private:
  int fd_ = -1;
  bool closed_ = false;
};

struct HttpReply {
  int status = 0;
  std::string headers;  // status line and header lines, CRLF-separated
  std::string body;
};

// Splits a whole HTTP/1.x answer (the server closed after it).
inline HttpReply parseHttpReply(const std::string& raw) {
  HttpReply reply;
  const auto end = raw.find("\r\n\r\n");
  if (raw.compare(0, 9, "HTTP/1.1 ") != 0 && raw.compare(0, 9, "HTTP/1.0 ") != 0) return reply;
  reply.status = std::stoi(raw.substr(9, 3));
  reply.headers = raw.substr(0, end);
  if (end != std::string::npos) reply.body = raw.substr(end + 4);
  return reply;
}

// One HTTP/1.0 request (the server closes after answering it).
inline HttpReply httpRequest(const std::string& host, std::uint16_t port,
                             const std::string& request) {
  RawClient client(host, port);
  if (!client.connected() || !client.send(request)) return HttpReply{};
  return parseHttpReply(client.readAll());
}

inline HttpReply httpGet(const std::string& host, std::uint16_t port, const std::string& target) {
  return httpRequest(host, port, "GET " + target + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n");
}

}  // namespace pom::test
