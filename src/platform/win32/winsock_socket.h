// WinsockSocket: the TcpSocket port on Windows Sockets 2.2 with WSAAsyncSelect.
//
// Readiness arrives as window messages: WSAAsyncSelect posts the socket's
// message number to the factory's window with wParam = handle and lParam =
// event | error << 16. The window procedure belongs to the application, which
// offers every message to every connection's onSocketMessage; this class never
// calls the bound sink itself, except from signalWrite when no window is set.
//
// Every socket object starts Windows Sockets (asking for exactly 2.2) when it
// is constructed and releases it when destroyed, so the library stays up as
// long as any socket exists. When the granted version is not 2.2 the object
// exists but create() fails.
//
// WinsockSocketFactory owns the window binding shared by its sockets; the
// window may be set after the sockets are made (the connections exist before
// the top-level window does). Loop thread only.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <cstdint>
#include <memory>

#include "core/ports/tcp_socket.h"

namespace pom {

// WSAStartup asking for 2.2; true only when exactly 2.2 was granted (a wrong
// version is released again at once). Balance a success with WSACleanup.
bool startWinsock();

class WinsockSocket final : public TcpSocket {
 public:
  explicit WinsockSocket(std::shared_ptr<HWND> window);
  // Takes ownership of an already open handle (an accepted connection).
  WinsockSocket(std::shared_ptr<HWND> window, SOCKET adopted);
  ~WinsockSocket() override;
  WinsockSocket(const WinsockSocket&) = delete;
  WinsockSocket& operator=(const WinsockSocket&) = delete;

  bool create() override;
  bool close() override;
  bool isOpen() const override;
  std::intptr_t handle() const override;
  bool setLingerZero() override;

  void bind(SocketNotificationSink* sink, std::uint32_t messageNumber) override;
  bool selectConnect() override;
  bool selectTraffic() override;

  bool connect(const char* host, std::uint16_t port) override;
  int send(const void* data, std::size_t length) override;
  int receive(void* buffer, std::size_t size) override;
  SocketError lastError() const override;

  void signalWrite() override;

  bool started() const { return started_; }

 private:
  bool select(long events);
  void recordError();

  std::shared_ptr<HWND> window_;
  bool started_;
  SOCKET handle_ = INVALID_SOCKET;
  SocketNotificationSink* sink_ = nullptr;
  std::uint32_t messageNumber_ = 0;  // set by bind
  SocketError lastError_ = SocketError::None;
};

class WinsockSocketFactory final : public SocketFactory {
 public:
  explicit WinsockSocketFactory(HWND window = nullptr);
  // The window that receives the notifications of every socket made here.
  void setWindow(HWND window) { *window_ = window; }
  HWND window() const { return *window_; }

  std::unique_ptr<TcpSocket> createSocket() override;
  // Wraps a handle opened elsewhere (the client never listens; tests and
  // local tools accept connections with plain Winsock and hand them over).
  std::unique_ptr<TcpSocket> adoptSocket(SOCKET handle);

 private:
  std::shared_ptr<HWND> window_;
};

}  // namespace pom
