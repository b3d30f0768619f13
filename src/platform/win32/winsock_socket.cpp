#include "platform/win32/winsock_socket.h"

#include <climits>
#include <cstring>

namespace pom {
namespace {

int clampLength(std::size_t length) {
  return length > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(length);
}

}  // namespace

bool startWinsock() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  if (LOBYTE(data.wVersion) != 2 || HIBYTE(data.wVersion) != 2) {
    WSACleanup();
    return false;
  }
  return true;
}

WinsockSocket::WinsockSocket(std::shared_ptr<HWND> window)
    : window_(std::move(window)), started_(startWinsock()) {}

WinsockSocket::WinsockSocket(std::shared_ptr<HWND> window, SOCKET adopted)
    : WinsockSocket(std::move(window)) {
  handle_ = adopted;
}

WinsockSocket::~WinsockSocket() {
  close();
  if (started_) WSACleanup();
}

bool WinsockSocket::create() {
  if (handle_ != INVALID_SOCKET) return false;
  handle_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (handle_ == INVALID_SOCKET) {
    recordError();
    return false;
  }
  return true;
}

bool WinsockSocket::close() {
  if (handle_ == INVALID_SOCKET) return false;
  if (::closesocket(handle_) != 0) {
    recordError();
    return false;
  }
  handle_ = INVALID_SOCKET;
  return true;
}

bool WinsockSocket::isOpen() const {
  return handle_ != INVALID_SOCKET;
}

std::intptr_t WinsockSocket::handle() const {
  return handle_ == INVALID_SOCKET ? -1 : static_cast<std::intptr_t>(handle_);
}

bool WinsockSocket::setLingerZero() {
  linger option{};
  option.l_onoff = 1;
  option.l_linger = 0;
  if (::setsockopt(handle_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&option),
                   sizeof option) != 0) {
    recordError();
    return false;
  }
  return true;
}

void WinsockSocket::bind(SocketNotificationSink* sink, std::uint32_t messageNumber) {
  sink_ = sink;
  messageNumber_ = messageNumber;
}

bool WinsockSocket::select(long events) {
  if (::WSAAsyncSelect(handle_, *window_, messageNumber_, events) != 0) {
    recordError();
    return false;
  }
  return true;
}

bool WinsockSocket::selectConnect() {
  return select(FD_CONNECT);
}

bool WinsockSocket::selectTraffic() {
  return select(FD_READ | FD_WRITE | FD_CLOSE);
}

bool WinsockSocket::connect(const char* host, std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  // Dotted text first, then the resolver; a null host is a caller's mistake
  // and is refused like an unresolvable one rather than dereferenced.
  unsigned long dotted = host != nullptr ? ::inet_addr(host) : INADDR_NONE;
  if (dotted != INADDR_NONE) {
    address.sin_addr.s_addr = dotted;
  } else {
    const hostent* entry = host != nullptr ? ::gethostbyname(host) : nullptr;
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_length != 4 ||
        entry->h_addr_list[0] == nullptr) {
      ::WSASetLastError(WSAEINVAL);
      lastError_ = SocketError::Invalid;
      return false;
    }
    std::memcpy(&address.sin_addr, entry->h_addr_list[0], 4);
  }
  if (::connect(handle_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    lastError_ = SocketError::None;
    return true;
  }
  recordError();
  return false;
}

int WinsockSocket::send(const void* data, std::size_t length) {
  const int n = ::send(handle_, static_cast<const char*>(data), clampLength(length), 0);
  if (n == SOCKET_ERROR) {
    recordError();
    return -1;
  }
  return n;
}

int WinsockSocket::receive(void* buffer, std::size_t size) {
  const int n = ::recv(handle_, static_cast<char*>(buffer), clampLength(size), 0);
  if (n == SOCKET_ERROR) {
    recordError();
    return -1;
  }
  return n;
}

SocketError WinsockSocket::lastError() const {
  return lastError_;
}

void WinsockSocket::signalWrite() {
  const WPARAM wParam = static_cast<WPARAM>(handle_);
  const LPARAM lParam = static_cast<LPARAM>(makeSocketLParam(SocketEvent::Write));
  if (*window_ != nullptr) {
    ::SendMessageW(*window_, messageNumber_, wParam, lParam);
  } else if (sink_ != nullptr) {
    // No window yet: deliver it directly, still before returning.
    sink_->onSocketMessage(messageNumber_, wParam, lParam);
  }
}

void WinsockSocket::recordError() {
  lastError_ = static_cast<SocketError>(::WSAGetLastError());
}

WinsockSocketFactory::WinsockSocketFactory(HWND window) : window_(std::make_shared<HWND>(window)) {}

std::unique_ptr<TcpSocket> WinsockSocketFactory::createSocket() {
  return std::make_unique<WinsockSocket>(window_);
}

std::unique_ptr<TcpSocket> WinsockSocketFactory::adoptSocket(SOCKET handle) {
  return std::make_unique<WinsockSocket>(window_, handle);
}

}  // namespace pom
