#include "core/net/send_buffer.h"

#include <algorithm>
#include <cstring>

#include "core/net/packet_cipher.h"
#include "core/ports/tcp_socket.h"

namespace pom {
namespace {

constexpr std::uint32_t kStartMarker = 0xFFFFFFFFu;
constexpr std::uint32_t kEndMarker = 0xFEFEFEFEu;
constexpr std::size_t kOverhead = 12;

void putLittle32(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
  p[2] = static_cast<std::uint8_t>(v >> 16);
  p[3] = static_cast<std::uint8_t>(v >> 24);
}

}  // namespace

SendBuffer::SendBuffer(std::uint32_t capacity) : capacity_(capacity), storage_(capacity, 0) {}

bool SendBuffer::append(const void* body, std::size_t length, const PacketCipher* cipher) {
  // fill + length + 12 >= capacity refuses; written so that no sum can wrap.
  if (length >= capacity_ || kOverhead >= capacity_ - fill_ ||
      length >= capacity_ - fill_ - kOverhead) {
    return false;
  }
  std::uint8_t* packet = storage_.data() + fill_;
  const auto total = static_cast<std::uint32_t>(length + kOverhead);
  putLittle32(packet, kStartMarker);
  putLittle32(packet + 4, total);
  if (length > 0) std::memcpy(packet + 8, body, length);
  if (cipher != nullptr) cipher->encipherBody(packet + 8, length);
  putLittle32(packet + 8 + length, kEndMarker);
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
