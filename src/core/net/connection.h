// Connection: a non-blocking TCP connection with fixed send and receive
// buffers and the packet framing shared by every session of the client.
//
// queue() frames a body into the send buffer (enciphering it when
// `enciphered` is set) and signals a write to itself, so the packet is flushed
// before queue() returns; what the socket does not take waits for the next
// write notification. receivePacket() assembles one packet per read
// notification, deciphers it and checks its markers; a bad length or marker
// closes the socket silently (no onClose). readRaw() is the unframed read of
// peer connections. reserveBody()/commitBody() are queue() without the copy:
// the caller writes one body straight into the send buffer (the upload
// session reads file chunks there). sendMessage() reconnects to the remembered host and port
// when the socket is closed, then queues.
//
// Notifications reach a Connection through onSocketMessage (it is the sink of
// its own socket). The connection does its own part of each event first and
// then reports it to its ConnectionHandler: a write flushes and reports
// onWrite; a connect selects traffic (resetting when that fails, so the
// handler sees a closed socket) and reports onConnect; a close, a failed
// connect or an error notification resets and reports onClose; a read is
// reported as onRead, and the handler reads (receivePacket or readRaw). The
// protocols (login session, download and upload sessions, peers) are handlers
// that own their connection, so each is a small state machine of its own.
//
// The message number of the notifications comes from the connection kind and
// slot (ConnectionKind) and is fixed for the life of the connection.
//
// Ownership: the connection owns its socket (made by the SocketFactory, which
// must outlive it) and both buffers, allocated once; the handler is not owned
// and must outlive the connection or be cleared first. Everything runs on the
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

class Connection;

// What a connection reports to the protocol that drives it, after its own part.
class ConnectionHandler {
 public:
  virtual ~ConnectionHandler() = default;
  // Readable: take one packet (receivePacket) or the raw bytes (readRaw).
  virtual void onRead(Connection& connection) = 0;
  // The queued bytes were flushed as far as the socket took them.
  virtual void onWrite(Connection& connection) {}
  // The connection is up and registered for traffic (closed again if that
  // registration failed).
  virtual void onConnect(Connection& connection) {}
  // The connection dropped or could not be made; it has been reset.
  virtual void onClose(Connection& connection) {}
};

class Connection : public SocketNotificationSink {
 public:
  // Capacities, `enciphered` and the message number (base + slot) from the kind.
  Connection(SocketFactory& sockets, const ConnectionKind& kind, std::uint32_t slot = 0,
             ConnectionHandler* handler = nullptr);
  ~Connection() override;

  // The receiver of the events; may be changed or cleared at any time.
  void setHandler(ConnectionHandler* handler) { handler_ = handler; }

  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Resets an open socket, creates a new one bound to this connection's
  // message number and sets SO_LINGER (on, 0 s). False when the socket cannot
  // be made.
  bool initialise();
  // Registers for the connect notification, remembers host and port, then
  // connects. The result is the socket's: a started connect reports false.
  bool connectTo(const std::string& host, std::uint16_t port);
  // Takes over an already connected socket (an accepted one), binds it to this
  // connection and registers for traffic.
  bool attach(std::unique_ptr<TcpSocket> socket);

  // Frames and queues one body, then flushes. False when it does not fit.
  bool queue(const void* body, std::size_t length);
  // Room for one body of up to maxLength bytes in the send buffer, null when
  // it would not fit (the rule of queue). Valid until the next call on this
  // connection; write the body there, then commitBody.
  std::uint8_t* reserveBody(std::size_t maxLength);
  // Frames the reserved body with its actual length and flushes as queue
  // does. False, nothing queued, for a zero length, a length beyond the
  // reservation or no reservation.
  bool commitBody(std::size_t length);
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

  // Decodes a notification meant for this connection (message number and
  // current socket handle) and handles it; returns the event, 0 when the
  // notification is not this connection's or carried an error.
  int onSocketMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

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

 private:
  void dropSilently();
  void handleWrite();
  void handleConnect();
  void handleClose();

  std::unique_ptr<TcpSocket> socket_;
  SendBuffer send_;
  ReceiveBuffer receive_;
  ConnectionHandler* handler_;
  const std::uint32_t messageNumber_;
  std::string host_;
  std::uint16_t port_ = 4001;
};

}  // namespace pom
