#include "loopback.h"

#include <vector>

namespace pom::test {

WinsockSession::WinsockSession() {
  WSADATA data;
  ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockSession::~WinsockSession() {
  if (ok_) WSACleanup();
}

Listener::Listener() {
  handle_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (handle_ == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof address;
  if (::bind(handle_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(handle_, 4) != 0 ||
      ::getsockname(handle_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close();
    return;
  }
  port_ = ntohs(address.sin_port);
}

Listener::~Listener() {
  close();
}

void Listener::close() {
  if (handle_ != INVALID_SOCKET) ::closesocket(handle_);
  handle_ = INVALID_SOCKET;
}

SOCKET Listener::accept(DWORD timeoutMs) {
  if (handle_ == INVALID_SOCKET) return INVALID_SOCKET;
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(handle_, &readable);
  timeval timeout{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
  if (::select(0, &readable, nullptr, nullptr, &timeout) != 1) return INVALID_SOCKET;
  return ::accept(handle_, nullptr, nullptr);
}

std::uint16_t unusedPort() {
  Listener listener;
  return listener.port();  // released when the listener closes
}

EchoServer::EchoServer() : thread_([this] { run(); }) {}

EchoServer::~EchoServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void EchoServer::run() {
  SOCKET peer = INVALID_SOCKET;
  for (int i = 0; i < 100 && !stop_ && peer == INVALID_SOCKET; ++i) peer = listener_.accept(100);
  if (peer == INVALID_SOCKET) return;
  DWORD timeoutMs = 200;
  ::setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
               sizeof timeoutMs);
  std::vector<char> buffer(16384);
  int idle = 0;
  while (!stop_ && idle < 100) {  // at most ~20 s without traffic
    const int n = ::recv(peer, buffer.data(), static_cast<int>(buffer.size()), 0);
    if (n == 0) break;
    if (n < 0) {
      if (::WSAGetLastError() != WSAETIMEDOUT) break;
      ++idle;
      continue;
    }
    idle = 0;
    int sent = 0;
    while (sent < n) {
      const int m = ::send(peer, buffer.data() + sent, n - sent, 0);
      if (m <= 0) break;
      sent += m;
    }
    if (sent < n) break;
    echoed_ += static_cast<std::uint64_t>(n);
  }
  ::closesocket(peer);
}

}  // namespace pom::test
