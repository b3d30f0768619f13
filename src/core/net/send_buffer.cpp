#include "core/net/send_buffer.h"

#include <algorithm>
#include <cstring>

#include "core/net/byte_order.h"
#include "core/net/packet_cipher.h"
#include "core/net/packet_frame.h"
#include "core/ports/tcp_socket.h"

namespace pom {
SendBuffer::SendBuffer(std::uint32_t capacity) : capacity_(capacity), storage_(capacity, 0) {}

bool SendBuffer::fits(std::size_t length) const {
  // fill + length + 12 >= capacity refuses; written so that no sum can wrap.
  return length < capacity_ && kPacketOverhead < capacity_ - fill_ &&
         length < capacity_ - fill_ - kPacketOverhead;
}

void SendBuffer::frame(std::size_t length, const PacketCipher* cipher) {
  // The body is already in place at fill + 8.
  std::uint8_t* packet = storage_.data() + fill_;
  const auto total = static_cast<std::uint32_t>(length + kPacketOverhead);
  storeLe32(packet, kPacketStartMarker);
  storeLe32(packet + 4, total);
  if (cipher != nullptr) cipher->encipherBody(packet + 8, length);
  storeLe32(packet + 8 + length, kPacketEndMarker);
  fill_ += total;
  dirty_ = std::max(dirty_, fill_);
}

bool SendBuffer::append(const void* body, std::size_t length, const PacketCipher* cipher) {
  reserving_ = false;
  if (!fits(length)) return false;
  if (length > 0) std::memcpy(storage_.data() + fill_ + 8, body, length);
  frame(length, cipher);
  return true;
}

std::uint8_t* SendBuffer::reserve(std::size_t maxLength) {
  reserving_ = false;
  if (!fits(maxLength)) return nullptr;
  reserving_ = true;
  reserved_ = maxLength;
  // The caller may write anywhere in the room, whatever it commits later:
  // the whole packet's span counts as written for the zeroing after a send.
  dirty_ = std::max(dirty_, static_cast<std::uint32_t>(fill_ + maxLength + kPacketOverhead));
  return storage_.data() + fill_ + 8;
}

bool SendBuffer::commit(std::size_t length, const PacketCipher* cipher) {
  const bool open = reserving_;
  reserving_ = false;
  if (!open || length == 0 || length > reserved_) return false;
  frame(length, cipher);
  return true;
}

bool SendBuffer::flushTo(TcpSocket& socket) {
  reserving_ = false;  // the unsent rest may move to the start
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
