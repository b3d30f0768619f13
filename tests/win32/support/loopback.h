// Plain blocking Winsock peers for the socket tests, on 127.0.0.1 only.
//
// Listener: a listening socket on an ephemeral port; accept() waits at most
// the given time. EchoServer: a thread that accepts one connection and sends
// back everything it receives until the peer closes (every wait bounded).
// WinsockSession keeps the library started for a test's lifetime.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace pom::test {

class WinsockSession {
 public:
  WinsockSession();
  ~WinsockSession();
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

class Listener {
 public:
  Listener();
  ~Listener();
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;

  bool ok() const { return handle_ != INVALID_SOCKET; }
  std::uint16_t port() const { return port_; }
  // INVALID_SOCKET when nobody connected within timeoutMs.
  SOCKET accept(DWORD timeoutMs);
  void close();

 private:
  WinsockSession session_;
  SOCKET handle_ = INVALID_SOCKET;
  std::uint16_t port_ = 0;
};

// A port on 127.0.0.1 that nobody listens on (bound, then released).
std::uint16_t unusedPort();

class EchoServer {
 public:
  EchoServer();
  ~EchoServer();
  std::uint16_t port() const { return listener_.port(); }
  std::uint64_t echoed() const { return echoed_.load(); }

 private:
  void run();
  Listener listener_;
  std::atomic<std::uint64_t> echoed_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace pom::test
