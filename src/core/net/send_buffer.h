// SendBuffer: the fixed-size outgoing buffer of a Connection.
//
// Holds framed packets queued and not yet sent, always at the start of the
// storage. append() frames one body (start marker 0xFFFFFFFF, total length =
// body + 12, body, end marker 0xFEFEFEFE; little-endian) and refuses it when
// fill + length + 12 >= capacity. flushTo() sends as much as the socket takes
// without blocking and keeps the unsent rest at the start of the storage.
//
// reserve()/commit() build one body in place instead of copying it: reserve
// hands out room for a body of up to n bytes behind what is queued, the
// caller writes the body there (a file read straight into the buffer), and
// commit frames it with its actual length under the same refusal rule. Any
// other call (append, flush, clear) drops an open reservation, because the
// room may move; a commit after that queues nothing.
// Owned by its Connection; loop thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pom {

class PacketCipher;
class TcpSocket;

class SendBuffer {
 public:
  explicit SendBuffer(std::uint32_t capacity);

  // Frames body into the buffer, enciphering the body in place when cipher is
  // given. False (nothing queued) when the packet does not fit.
  bool append(const void* body, std::size_t length, const PacketCipher* cipher);
  // Sends queued bytes until all are gone or the socket would block (true), or
  // another send error occurs (false; the bytes stay queued).
  bool flushTo(TcpSocket& socket);
  // Room for one body of up to maxLength bytes behind what is queued, or
  // null (no reservation) when a packet of that size would not fit.
  std::uint8_t* reserve(std::size_t maxLength);
  // Frames the reserved body with its actual length (at most the reserved
  // size), enciphering it in place when cipher is given. A zero length
  // queues nothing and reports false, as does a commit without a
  // reservation or beyond it; the reservation ends either way.
  bool commit(std::size_t length, const PacketCipher* cipher);
  // Drops everything queued.
  void clear() {
    fill_ = 0;
    reserving_ = false;
  }

  std::uint32_t capacity() const { return capacity_; }
  std::uint32_t fill() const { return fill_; }
  const std::uint8_t* data() const { return storage_.data(); }

 private:
  void zeroUsed();
  bool fits(std::size_t length) const;
  void frame(std::size_t length, const PacketCipher* cipher);

  std::uint32_t capacity_;
  std::vector<std::uint8_t> storage_;
  std::uint32_t fill_ = 0;
  // Bytes at and beyond this offset are known to be zero; lets a completed
  // flush zero the storage without touching the untouched tail.
  std::uint32_t dirty_ = 0;
  // An open reservation of reserved_ body bytes behind fill_.
  bool reserving_ = false;
  std::size_t reserved_ = 0;
};

}  // namespace pom
