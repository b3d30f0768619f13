#include "core/net/connection.h"

#include <cstring>

#include "core/net/byte_order.h"
#include "core/net/packet_cipher.h"

namespace pom {
Connection::Connection(SocketFactory& sockets, const ConnectionKind& kind, std::uint32_t slot,
                       ConnectionHandler* handler)
    : enciphered(kind.enciphered),
      socket_(sockets.createSocket()),
      send_(kind.sendCapacity),
      receive_(kind.receiveCapacity),
      handler_(handler),
      messageNumber_(kind.messageNumber(slot)) {}

Connection::~Connection() {
  // No notification may reach a half-destroyed connection.
  socket_->bind(nullptr, messageNumber_);
  socket_->close();
}

bool Connection::initialise() {
  if (socket_->isOpen()) reset();
  // A new socket starts a new byte stream: a packet half received on the old
  // one can never be completed.
  receive_.restart();
  socket_->bind(this, messageNumber_);
  if (!socket_->create()) return false;
  return socket_->setLingerZero();
}

bool Connection::connectTo(const std::string& host, std::uint16_t port) {
  socket_->selectConnect();
  host_ = host;
  port_ = port;
  return socket_->connect(host.c_str(), port);
}

bool Connection::attach(std::unique_ptr<TcpSocket> socket) {
  if (!socket) return false;
  socket_->bind(nullptr, messageNumber_);
  socket_->close();
  send_.clear();
  receive_.restart();
  socket_ = std::move(socket);
  socket_->bind(this, messageNumber_);
  return socket_->selectTraffic();
}

bool Connection::queue(const void* body, std::size_t length) {
  const PacketCipher* cipher = enciphered ? &PacketCipher::instance() : nullptr;
  if (!send_.append(body, length, cipher)) return false;
  // Delivered synchronously: onWrite flushes before queue returns.
  socket_->signalWrite();
  return true;
}

std::uint8_t* Connection::reserveBody(std::size_t maxLength) {
  return send_.reserve(maxLength);
}

bool Connection::commitBody(std::size_t length) {
  const PacketCipher* cipher = enciphered ? &PacketCipher::instance() : nullptr;
  if (!send_.commit(length, cipher)) return false;
  socket_->signalWrite();
  return true;
}

bool Connection::sendMessage(const void* body, std::size_t length) {
  if (!socket_->isOpen()) {
    reset();
    initialise();
    connectTo(host_, port_);
  }
  return queue(body, length);
}

bool Connection::flush() {
  return send_.flushTo(*socket_);
}

bool Connection::readPacket() {
  switch (receive_.readPacket(*socket_)) {
    case ReadOutcome::Complete:
      return true;
    case ReadOutcome::FramingError:
      dropSilently();
      return false;
    case ReadOutcome::Incomplete:
      break;
  }
  return false;
}

bool Connection::receivePacket() {
  if (!readPacket()) return false;
  const std::uint32_t total = receive_.packetLength();
  std::uint8_t* data = receive_.data();
  if (enciphered) PacketCipher::instance().decipherBody(data + kPacketBodyOffset, total - 12);
  if (loadLe32(data) != kPacketStartMarker || loadLe32(data + total - 4) != kPacketEndMarker) {
    dropSilently();
    return false;
  }
  return true;
}

bool Connection::readRaw() {
  return receive_.readRaw(*socket_);
}

const std::uint8_t* Connection::body() const {
  return receive_.data() + kPacketBodyOffset;
}

std::uint32_t Connection::bodyLength() const {
  const std::uint32_t total = receive_.packetLength();
  return total >= kPacketOverhead ? total - kPacketOverhead : 0;
}

bool Connection::copyBody(void* destination, std::size_t expectedSize) const {
  if (receive_.packetLength() < kPacketOverhead || bodyLength() != expectedSize) return false;
  if (expectedSize > 0) std::memcpy(destination, body(), expectedSize);
  return true;
}

const std::uint8_t* Connection::rawData() const {
  return receive_.data();
}

std::int32_t Connection::lastRawLength() const {
  return receive_.lastRawLength();
}

void Connection::reset() {
  socket_->close();
  send_.clear();
  receive_.restart();
}

bool Connection::close() {
  return socket_->close();
}

bool Connection::isOpen() const {
  return socket_->isOpen();
}

void Connection::dropSilently() {
  // A bad length or marker: the stream cannot be trusted any more. The socket
  // is closed without onClose; the partial packet is forgotten so that the
  // next connection starts framing afresh.
  socket_->close();
  receive_.restart();
}

int Connection::onSocketMessage(std::uint32_t message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  if (message != messageNumber_) return 0;
  // A notification names the socket it was raised for. One still queued for a
  // socket this connection has closed since (a reset and a reconnect before the
  // window's queue drained) must not act on the new socket: a stale close would
  // drop the fresh connection together with what was queued on it.
  if (socket_ == nullptr || !socket_->isOpen() ||
      static_cast<std::intptr_t>(wParam) != socket_->handle()) {
    return 0;
  }
  const auto bits = static_cast<std::uint32_t>(lParam);
  const auto error = static_cast<SocketError>(bits >> 16);
  const auto event = static_cast<int>(bits & 0xFFFF);
  if (bits > 0xFFFF) {
    if (error != SocketError::WouldBlock) handleClose();
    return 0;
  }
  switch (static_cast<SocketEvent>(event)) {
    case SocketEvent::Read:
      if (handler_ != nullptr) handler_->onRead(*this);
      break;
    case SocketEvent::Write:
      handleWrite();
      break;
    case SocketEvent::Connect:
      handleConnect();
      break;
    case SocketEvent::Close:
      handleClose();
      break;
    default:
      break;  // other events are not ours to handle, but still reported
  }
  return event;
}

void Connection::handleWrite() {
  flush();
  if (handler_ != nullptr) handler_->onWrite(*this);
}

void Connection::handleConnect() {
  if (!socket_->selectTraffic()) reset();
  if (handler_ != nullptr) handler_->onConnect(*this);
}

void Connection::handleClose() {
  reset();
  if (handler_ != nullptr) handler_->onClose(*this);
}

}  // namespace pom
