// Feeds arbitrary bytes, in arbitrary splits, to a framed Connection on a
// scripted in-memory socket, and checks what the reader hands out.
//
// Input: byte 0 picks the setup (bit 0: enciphered, bits 1-2: receive
// capacity, bit 3: raw reads); then records of [split length][bytes], each
// record one receive call's worth, followed by a read notification.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "core/net/connection.h"
#include "core/net/packet_cipher.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class ScriptedSocket : public pom::TcpSocket {
 public:
  std::deque<Bytes> chunks;
  Bytes sent;
  bool open = false;
  pom::SocketNotificationSink* sink = nullptr;
  std::uint32_t message = 0;
  pom::SocketError error = pom::SocketError::None;

  bool create() override { return !open && (open = true); }
  bool close() override {
    if (!open) return false;
    open = false;
    return true;
  }
  bool isOpen() const override { return open; }
  std::intptr_t handle() const override { return open ? 3 : -1; }
  bool setLingerZero() override { return open; }
  void bind(pom::SocketNotificationSink* s, std::uint32_t m) override {
    sink = s;
    message = m;
  }
  bool selectConnect() override { return open; }
  bool selectTraffic() override { return open; }
  bool connect(const char*, std::uint16_t) override {
    error = pom::SocketError::WouldBlock;
    return false;
  }
  int send(const void* data, std::size_t length) override {
    if (!open) {
      error = pom::SocketError::NotConnected;
      return -1;
    }
    const auto* p = static_cast<const std::uint8_t*>(data);
    sent.insert(sent.end(), p, p + length);
    return static_cast<int>(length);
  }
  int receive(void* buffer, std::size_t size) override {
    if (!open) {
      error = pom::SocketError::NotConnected;
      return -1;
    }
    if (chunks.empty()) {
      error = pom::SocketError::WouldBlock;
      return -1;
    }
    Bytes& chunk = chunks.front();
    if (chunk.empty()) {  // an empty record stands for the peer's close
      chunks.pop_front();
      return 0;
    }
    const std::size_t take = size < chunk.size() ? size : chunk.size();
    std::memcpy(buffer, chunk.data(), take);
    chunk.erase(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(take));
    if (chunk.empty()) chunks.pop_front();
    return static_cast<int>(take);
  }
  pom::SocketError lastError() const override { return error; }
  void signalWrite() override {
    if (sink != nullptr) sink->onSocketMessage(message, 3, 2);
  }
};

class ScriptedFactory : public pom::SocketFactory {
 public:
  ScriptedSocket* last = nullptr;
  std::unique_ptr<pom::TcpSocket> createSocket() override {
    auto socket = std::make_unique<ScriptedSocket>();
    last = socket.get();
    return socket;
  }
};

std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Reads packets, checks them, and echoes each body back out through queue.
class Reader : public pom::Connection, private pom::ConnectionHandler {
 public:
  Reader(pom::SocketFactory& f, std::uint32_t capacity, bool raw)
      : Connection(f, pom::ConnectionKind{4096, capacity, false, 1054}, 0, this), raw_(raw) {}

 private:
  void onRead(pom::Connection&) override {
    if (raw_) {
      if (readRaw() && lastRawLength() > static_cast<std::int32_t>(receiveCapacity())) std::abort();
      return;
    }
    if (!receivePacket()) return;
    const std::uint32_t length = bodyLength();
    if (length + pom::kPacketOverhead >= receiveCapacity()) std::abort();
    const std::uint8_t* start = body() - pom::kPacketBodyOffset;
    if (le32(start) != pom::kPacketStartMarker || le32(start + 4) != length + 12) std::abort();
    if (le32(body() + length) != pom::kPacketEndMarker) std::abort();
    // Bytes past the packet read 0xFF.
    for (std::uint32_t i = length + 12; i < receiveCapacity(); ++i) {
      if (start[i] != 0xFF) std::abort();
    }
    Bytes copy(body(), body() + length);
    Bytes exact(length);
    if (!copyBody(exact.data(), length) || exact != copy) std::abort();
    queue(copy.data(), copy.size());
  }

  bool raw_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const std::uint32_t kCapacities[] = {16, 64, 1024, 32768};
  const std::uint8_t setup = data[0];
  ScriptedFactory sockets;
  Reader reader(sockets, kCapacities[(setup >> 1) & 3], (setup & 8) != 0);
  reader.enciphered = (setup & 1) != 0;
  reader.initialise();
  reader.connectTo("127.0.0.1", 7201);
  reader.onSocketMessage(1054, 3, 16);

  std::size_t offset = 1;
  int notifications = 0;
  while (offset < size && notifications < 4096) {
    const std::size_t split = data[offset++];
    const std::size_t take = split < size - offset ? split : size - offset;
    sockets.last->chunks.emplace_back(data + offset, data + offset + take);
    offset += take;
    reader.onSocketMessage(1054, 3, 1);
    ++notifications;
    if (!reader.isOpen()) {
      // Closed after a framing error: the next request reconnects.
      std::uint8_t ping[4] = {1, 0, 0, 0};
      reader.sendMessage(ping, sizeof ping);
      reader.onSocketMessage(1054, 3, 16);
    }
    if (reader.receivePosition() >= reader.receiveCapacity()) std::abort();
  }
  // Everything the reader echoed must be well-formed packets.
  const Bytes& out = sockets.last->sent;
  std::size_t at = 0;
  while (at + 12 <= out.size()) {
    if (le32(&out[at]) != pom::kPacketStartMarker) std::abort();
    const std::uint32_t total = le32(&out[at + 4]);
    if (total < 12 || at + total > out.size()) std::abort();
    if (le32(&out[at + total - 4]) != pom::kPacketEndMarker) std::abort();
    at += total;
  }
  if (at != out.size()) std::abort();
  return 0;
}
