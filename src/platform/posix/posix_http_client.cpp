#include "platform/posix/posix_http_client.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace pom {
namespace {

using Clock = std::chrono::steady_clock;

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

int remainingMs(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool waitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, remainingMs(deadline));
    if (n > 0) return true;
    if (n == 0) return false;
    if (errno != EINTR) return false;
  }
}

bool splitHostPort(const std::string& text, std::string& host, std::string& port) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos) {
    host = text;
    port = "80";
  } else {
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
  }
  return !host.empty() && !port.empty();
}

int connectTo(const std::string& hostPort, Clock::time_point deadline) {
  std::string host, port;
  if (!splitHostPort(hostPort, host, port)) return -1;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0 || found == nullptr) {
    return -1;
  }
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    ::freeaddrinfo(found);
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  int result = ::connect(fd, found->ai_addr, found->ai_addrlen);
  ::freeaddrinfo(found);
  if (result != 0 && errno == EINPROGRESS && waitFor(fd, POLLOUT, deadline)) {
    int error = 0;
    socklen_t length = sizeof(error);
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
    result = error == 0 ? 0 : -1;
  }
  if (result != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool sendAll(int fd, const std::string& data, Clock::time_point deadline) {
  std::size_t sent = 0;
  while (sent < data.size()) {
    const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (!waitFor(fd, POLLOUT, deadline)) return false;
    } else {
      return false;
    }
  }
  return true;
}

std::string lowerAsciiCopy(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The caller's header lines, each ended by CRLF, blank lines dropped.
std::string normaliseHeaders(const std::string& headers, bool& hasContentLength) {
  std::string out;
  std::size_t start = 0;
  while (start < headers.size()) {
    std::size_t end = headers.find('\n', start);
    if (end == std::string::npos) end = headers.size();
    std::string line = headers.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (!line.empty()) {
      if (lowerAsciiCopy(line).rfind("content-length:", 0) == 0) hasContentLength = true;
      out += line + "\r\n";
    }
    start = end + 1;
  }
  return out;
}

std::string buildRequest(const HttpRequest& request) {
  bool hasContentLength = false;
  const std::string extra = normaliseHeaders(request.headers, hasContentLength);
  std::string text = request.method + " " + (request.path.empty() ? "/" : request.path) +
                     " HTTP/1.0\r\nHost: " + request.host + "\r\n";
  if (!request.agent.empty()) text += "User-Agent: " + request.agent + "\r\n";
  text += extra;
  if (!request.body.empty() && !hasContentLength) {
    text += "Content-Length: " + std::to_string(request.body.size()) + "\r\n";
  }
  text += "\r\n";
  text += request.body;
  return text;
}

void parseHead(const std::string& head, HttpResponse& response) {
  // "HTTP/1.x 200 OK"
  const std::size_t space = head.find(' ');
  if (head.rfind("HTTP/", 0) == 0 && space != std::string::npos) {
    response.status = std::atoi(head.c_str() + space + 1);
  }
  std::size_t start = head.find("\r\n");
  while (start != std::string::npos && start + 2 < head.size()) {
    start += 2;
    std::size_t end = head.find("\r\n", start);
    if (end == std::string::npos) end = head.size();
    const std::string line = head.substr(start, end - start);
    if (lowerAsciiCopy(line).rfind("content-length:", 0) == 0) {
      const char* digits = line.c_str() + std::strlen("content-length:");
      while (*digits == ' ' || *digits == '\t') ++digits;
      if (*digits >= '0' && *digits <= '9') {
        response.hasContentLength = true;
        response.contentLength = std::strtoll(digits, nullptr, 10);
      }
    }
    start = end;
  }
}

}  // namespace

HttpResponse PosixHttpClient::send(const HttpRequest& request, std::size_t maxBody) {
  HttpResponse response;
  const int timeoutMs = request.timeoutMs > 0 ? request.timeoutMs : timeoutMs_;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const Fd fd(connectTo(request.host, deadline));
  if (fd.get() < 0 || !sendAll(fd.get(), buildRequest(request), deadline)) return response;

  std::string head;
  bool inBody = false;
  std::int64_t received = 0;  // body bytes read, kept or not
  char buffer[4096];
  for (;;) {
    if (!waitFor(fd.get(), POLLIN, deadline)) return HttpResponse();  // timed out
    const ssize_t n = ::recv(fd.get(), buffer, sizeof(buffer), 0);
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      break;
    }
    if (n == 0) break;
    std::size_t used = 0;
    if (!inBody) {
      head.append(buffer, static_cast<std::size_t>(n));
      const std::size_t end = head.find("\r\n\r\n");
      if (end == std::string::npos) {
        if (head.size() > 65536) return HttpResponse();  // no end of head in sight
        continue;
      }
      const std::string rest = head.substr(end + 4);
      head.resize(end);
      parseHead(head, response);
      inBody = true;
      // Bytes past the announced length are not part of the body.
      if (response.hasContentLength && response.contentLength >= 0 &&
          static_cast<std::uint64_t>(response.contentLength) < maxBody)
        maxBody = static_cast<std::size_t>(response.contentLength);
      response.body = rest.substr(0, maxBody);
      received = static_cast<std::int64_t>(rest.size());
      used = static_cast<std::size_t>(n);
    }
    if (used < static_cast<std::size_t>(n)) {
      received += static_cast<std::int64_t>(static_cast<std::size_t>(n) - used);
      if (response.body.size() < maxBody) {
        const std::size_t take =
            std::min(maxBody - response.body.size(), static_cast<std::size_t>(n) - used);
        response.body.append(buffer + used, take);
      }
    }
    // A server that keeps the connection open is done once the announced
    // length has arrived.
    if (response.hasContentLength && received >= response.contentLength) break;
  }
  if (!inBody) return HttpResponse();  // closed before a whole head
  response.sent = true;
  return response;
}

}  // namespace pom
