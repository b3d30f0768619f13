// ReceiveBuffer: the fixed-size incoming buffer of a Connection.
//
// readPacket() assembles one framed packet across any split of the byte
// stream, keeping its position between calls; a packet is accepted when its
// total length is at least 12 and below the capacity. readRaw() takes one
// unframed chunk of up to the capacity. After a whole packet or a raw read the
// storage past the received bytes reads 0xFF, as if it had been filled with
// 0xFF before the read (a short body read as a longer record sees 0xFF, never
// bytes of an older packet). Owned by its Connection; loop thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pom {

class TcpSocket;

enum class ReadOutcome {
  Incomplete,    // the socket has no more bytes for now, or the peer closed
  Complete,      // a whole packet is in the buffer; position is 0 again
  FramingError,  // the total length is out of range
};

class ReceiveBuffer {
 public:
  explicit ReceiveBuffer(std::uint32_t capacity);

  ReadOutcome readPacket(TcpSocket& socket);
  // One receive of up to the capacity: false on a socket error; otherwise the
  // count (0: the peer closed) is kept as lastRawLength().
  bool readRaw(TcpSocket& socket);

  // Abandons a partly received packet.
  void restart() { position_ = 0; }

  std::uint32_t capacity() const { return capacity_; }
  std::uint32_t position() const { return position_; }
  // Total length of the last whole packet (header included), 0 before one.
  std::uint32_t packetLength() const { return packetLength_; }
  std::int32_t lastRawLength() const { return lastRawLength_; }
  std::uint8_t* data() { return storage_.data(); }
  const std::uint8_t* data() const { return storage_.data(); }

 private:
  void wipeFrom(std::uint32_t end);

  std::uint32_t capacity_;
  std::vector<std::uint8_t> storage_;
  std::uint32_t position_ = 0;
  std::uint32_t packetLength_ = 0;
  std::int32_t lastRawLength_ = 0;
  // Bytes at and beyond this offset read 0xFF.
  std::uint32_t dirty_ = 0;
};

}  // namespace pom
