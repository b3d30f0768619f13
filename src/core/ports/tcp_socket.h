// TcpSocket: a non-blocking IPv4 TCP socket whose readiness is reported as
// socket notifications, the only way the core reaches the network.
//
// A notification is the triple the Windows socket layer delivers: a message
// number (one per connection), the socket handle and an lParam whose low word
// is the event (SocketEvent) and whose high word is the error (0 or a
// SocketError value). Both backends deliver notifications to the one
// SocketNotificationSink registered with the socket, on the loop thread; the
// Win32 backend through WSAAsyncSelect and the top window's procedure, the
// POSIX backend through its poll loop. The core's Connection decodes them
// (Connection::onSocketMessage), so both backends share one dispatch rule.
//
// Error codes are the Windows Sockets numbers on every platform; the POSIX
// backend maps errno onto them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pom {

enum class SocketEvent : std::uint16_t {
  Read = 1,      // FD_READ
  Write = 2,     // FD_WRITE
  Connect = 16,  // FD_CONNECT
  Close = 32,    // FD_CLOSE
};

enum class SocketError : int {
  None = 0,
  Invalid = 10022,     // WSAEINVAL: bad argument, unresolvable host
  WouldBlock = 10035,  // WSAEWOULDBLOCK
  ConnectionAborted = 10053,
  ConnectionReset = 10054,
  NotConnected = 10057,
  TimedOut = 10060,
  ConnectionRefused = 10061,
  HostUnreachable = 10065,
  Other = 10000,
};

// lParam of a socket notification: event in the low word, error in the high word.
constexpr std::intptr_t makeSocketLParam(SocketEvent event, SocketError error = SocketError::None) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(error) << 16) |
                                    static_cast<std::uint32_t>(event));
}

class SocketNotificationSink {
 public:
  virtual ~SocketNotificationSink() = default;
  // Returns the event handled, or 0 when the message is not this sink's.
  virtual int onSocketMessage(std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) = 0;
};

class TcpSocket {
 public:
  virtual ~TcpSocket() = default;

  // Opens a stream socket; false when one is already open (the old one stays).
  virtual bool create() = 0;
  // Closes the handle; false when there was none or closing failed.
  virtual bool close() = 0;
  virtual bool isOpen() const = 0;
  // Platform handle as an integer (wParam of notifications); -1 when closed.
  virtual std::intptr_t handle() const = 0;
  // SO_LINGER on with 0 s: closing resets the connection at once.
  virtual bool setLingerZero() = 0;

  // Where notifications go and under which message number.
  virtual void bind(SocketNotificationSink* sink, std::uint32_t messageNumber) = 0;
  // Register for the connect notification only (used right before connect).
  virtual bool selectConnect() = 0;
  // Register for read, write and close notifications (after a connect).
  virtual bool selectTraffic() = 0;

  // Dotted IPv4 first, then name resolution; an unresolvable host sets
  // lastError() = Invalid and returns false without an attempt. Otherwise true
  // only when connected at once; normally false with WouldBlock while the
  // connection proceeds, its outcome arriving as a Connect notification.
  virtual bool connect(const char* host, std::uint16_t port) = 0;
  // One send/recv call: bytes moved, or -1 with lastError() set (0 from
  // receive: the peer closed).
  virtual int send(const void* data, std::size_t length) = 0;
  virtual int receive(void* buffer, std::size_t size) = 0;
  virtual SocketError lastError() const = 0;

  // Delivers a Write notification to the sink synchronously, before returning
  // (the self-signalled write that flushes a freshly queued packet).
  virtual void signalWrite() = 0;
};

// Creates sockets of the platform; owned by whoever builds connections.
class SocketFactory {
 public:
  virtual ~SocketFactory() = default;
  virtual std::unique_ptr<TcpSocket> createSocket() = 0;
};

}  // namespace pom
