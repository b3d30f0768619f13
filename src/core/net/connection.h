// Connection: a non-blocking TCP connection with fixed send and receive
// buffers and the packet framing shared by every session of the client.
//
// queue() frames a body into the send buffer (enciphering it when
// `enciphered` is set) and signals a write to itself, so the packet is flushed
// before queue() returns; what the socket does not take waits for the next
// write notification. receivePacket() assembles one packet per read
// notification, deciphers it and checks its markers; a bad length or marker
// closes the socket silently (no onClose). readRaw() is the unframed read of
// peer connections. sendMessage() reconnects to the remembered host and port
// when the socket is closed, then queues.
//
// Notifications reach a Connection through onSocketMessage (it is the sink of
// its own socket), which decodes them into the four virtual handlers that the
// connection kinds override: onRead, onWrite, onClose, onConnect.
//
// Ownership: the connection owns its socket (made by the SocketFactory, which
// must outlive it) and both buffers, allocated once. Everything runs on the
// loop thread; handlers may call any operation here, including reset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/net/connection_kinds.h"
#include "core/net/packet_frame.h"
#include "core/net/receive_buffer.h"
#include "core/net/send_buffer.h"
#include "core/ports/tcp_socket.h"

namespace pom {

class Connection : public SocketNotificationSink {
 public:
  Connection(SocketFactory& sockets, std::uint32_t sendCapacity, std::uint32_t receiveCapacity);
  // Capacities and `enciphered` from the kind; the message number still comes
  // with initialise().
  Connection(SocketFactory& sockets, const ConnectionKind& kind);
  ~Connection() override;

  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Stores the message number, resets an open socket, creates a new one and
  // sets SO_LINGER (on, 0 s). False when the socket cannot be made.
  bool initialise(std::uint32_t messageNumber);
  // Registers for the connect notification, remembers host and port, then
  // connects. The result is the socket's: a started connect reports false.
  bool connectTo(const std::string& host, std::uint16_t port);
  // Takes over an already connected socket (an accepted one), binds it to this
  // connection under messageNumber and registers for traffic.
  bool attach(std::unique_ptr<TcpSocket> socket, std::uint32_t messageNumber);

  // Frames and queues one body, then flushes. False when it does not fit.
  bool queue(const void* body, std::size_t length);
  // Reconnects to the remembered host and port if the socket is closed, then
  // queues.
  bool sendMessage(const void* body, std::size_t length);
  // Sends what is queued (base onWrite). False on a send error other than
  // would-block; the bytes stay queued.
  bool flush();

  // Framed read of one packet; true when a whole packet is in the buffer.
  bool readPacket();
  // readPacket, then decipher and check the markers.
  bool receivePacket();
  // Unframed read (peer connections).
  bool readRaw();

  // The last received packet's body (type first) and its length.
  const std::uint8_t* body() const;
  std::uint32_t bodyLength() const;
  // Copies the body only when its length is exactly expectedSize.
  bool copyBody(void* destination, std::size_t expectedSize) const;
  // The last unframed read and its length (0: the peer closed).
  const std::uint8_t* rawData() const;
  std::int32_t lastRawLength() const;

  // Closes the socket and empties both buffers (base onClose).
  void reset();
  // Closes the socket only; the buffers keep what they hold.
  bool close();
  bool isOpen() const;

  int onSocketMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

  // Base behaviour: onRead nothing; onWrite flush; onClose reset; onConnect
  // registers for traffic, or resets when that fails.
  virtual void onRead();
  virtual void onWrite();
  virtual void onClose();
  virtual void onConnect();

  // Assigned by the server (SessionInfo); survives resets.
  std::uint16_t sessionNumber = 0xFFFF;
  // Encipher bodies on send and decipher them on receive.
  bool enciphered = false;

  std::uint32_t messageNumber() const { return messageNumber_; }
  const std::string& host() const { return host_; }
  std::uint16_t port() const { return port_; }

  // Introspection (tests, engines that need to know what is pending).
  std::uint32_t sendFill() const { return send_.fill(); }
  const std::uint8_t* sendData() const { return send_.data(); }
  std::uint32_t sendCapacity() const { return send_.capacity(); }
  std::uint32_t receivePosition() const { return receive_.position(); }
  std::uint32_t receiveCapacity() const { return receive_.capacity(); }
  TcpSocket& socket() { return *socket_; }

 protected:
  // Registers for read, write and close notifications.
  bool selectTraffic() { return socket_->selectTraffic(); }

 private:
  void dropSilently();

  std::unique_ptr<TcpSocket> socket_;
  SendBuffer send_;
  ReceiveBuffer receive_;
  std::uint32_t messageNumber_ = 1034;
  std::string host_;
  std::uint16_t port_ = 4001;
};

}  // namespace pom
