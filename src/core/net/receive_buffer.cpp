#include "core/net/receive_buffer.h"

#include <algorithm>
#include <cstring>

#include "core/net/byte_order.h"
#include "core/net/packet_frame.h"
#include "core/ports/tcp_socket.h"

namespace pom {
ReceiveBuffer::ReceiveBuffer(std::uint32_t capacity)
    : capacity_(capacity), storage_(capacity, 0xFF) {}

void ReceiveBuffer::wipeFrom(std::uint32_t end) {
  // The storage reads as if it had been filled with 0xFF before the read:
  // only bytes that held older data past the new end need it, and bytes past
  // dirty_ were never written since the last time.
  if (dirty_ > end) std::memset(storage_.data() + end, 0xFF, dirty_ - end);
  dirty_ = end;
}

ReadOutcome ReceiveBuffer::readPacket(TcpSocket& socket) {
  // A buffer too small for a header could never hold a packet.
  if (capacity_ < kPacketHeaderLength) return ReadOutcome::FramingError;
  while (position_ < kPacketHeaderLength) {
    const int r = socket.receive(storage_.data() + position_, kPacketHeaderLength - position_);
    if (r < 0) return ReadOutcome::Incomplete;
    position_ += static_cast<std::uint32_t>(r);
    dirty_ = std::max(dirty_, position_);
    if (r == 0) return ReadOutcome::Incomplete;
  }
  const std::uint32_t total = loadLe32(storage_.data() + 4);
  if (total < kPacketOverhead || total >= capacity_) return ReadOutcome::FramingError;
  while (position_ < total) {
    const int r = socket.receive(storage_.data() + position_, total - position_);
    if (r <= 0) return ReadOutcome::Incomplete;
    position_ += static_cast<std::uint32_t>(r);
    dirty_ = std::max(dirty_, position_);
  }
  packetLength_ = total;
  position_ = 0;
  wipeFrom(total);
  return ReadOutcome::Complete;
}

bool ReceiveBuffer::readRaw(TcpSocket& socket) {
  const int r = socket.receive(storage_.data(), capacity_);
  if (r < 0) {
    wipeFrom(0);
    return false;
  }
  lastRawLength_ = r;
  dirty_ = std::max<std::uint32_t>(dirty_, static_cast<std::uint32_t>(r));
  wipeFrom(static_cast<std::uint32_t>(r));
  return true;
}

}  // namespace pom
