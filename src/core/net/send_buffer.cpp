#include "core/net/send_buffer.h"

#include <algorithm>
#include <cstring>

#include "core/net/byte_order.h"
#include "core/net/packet_cipher.h"
#include "core/net/packet_frame.h"
#include "core/ports/tcp_socket.h"

namespace pom {
SendBuffer::SendBuffer(std::uint32_t capacity) : capacity_(capacity), storage_(capacity, 0) {}

bool SendBuffer::append(const void* body, std::size_t length, const PacketCipher* cipher) {
  // fill + length + 12 >= capacity refuses; written so that no sum can wrap.
  if (length >= capacity_ || kPacketOverhead >= capacity_ - fill_ ||
      length >= capacity_ - fill_ - kPacketOverhead) {
    return false;
  }
  std::uint8_t* packet = storage_.data() + fill_;
  const auto total = static_cast<std::uint32_t>(length + kPacketOverhead);
  storeLe32(packet, kPacketStartMarker);
  storeLe32(packet + 4, total);
  if (length > 0) std::memcpy(packet + 8, body, length);
  if (cipher != nullptr) cipher->encipherBody(packet + 8, length);
  storeLe32(packet + 8 + length, kPacketEndMarker);
  fill_ += total;
  dirty_ = std::max(dirty_, fill_);
  return true;
}

bool SendBuffer::flushTo(TcpSocket& socket) {
  std::uint32_t offset = 0;
  std::uint32_t remaining = fill_;
  while (remaining > 0) {
    const int sent = socket.send(storage_.data() + offset, remaining);
    if (sent < 0) {
      // Would block: the rest goes with the next write notification. (No
      // pause here: the loop thread must never sleep.)
      if (socket.lastError() == SocketError::WouldBlock) break;
      // Keep what was not taken at the start, so nothing is sent twice.
      if (offset > 0) {
        std::memmove(storage_.data(), storage_.data() + offset, remaining);
        fill_ = remaining;
      }
      return false;
    }
    const auto n = static_cast<std::uint32_t>(sent);
    if (n == 0) break;  // took nothing: wait for the next write notification
    if (n >= remaining) {
      fill_ = 0;
      zeroUsed();
      return true;
    }
    offset += n;
    remaining -= n;
  }
  if (remaining > 0 && offset > 0) {
    std::memmove(storage_.data(), storage_.data() + offset, remaining);
    fill_ = remaining;
  }
  return true;
}

void SendBuffer::zeroUsed() {
  // The storage reads as all zero after a complete send; only the bytes
  // written since the last time can differ.
  std::memset(storage_.data(), 0, dirty_);
  dirty_ = 0;
}

}  // namespace pom
