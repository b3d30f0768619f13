#include "fake_socket.h"

#include <algorithm>
#include <cstring>

namespace pom {

int FakeSocket::deliver(SocketEvent event, SocketError error) {
  if (sink_ == nullptr) return 0;
  return sink_->onSocketMessage(messageNumber_, static_cast<std::uintptr_t>(handle()),
                                makeSocketLParam(event, error));
}

std::size_t FakeSocket::pendingReceiveBytes() const {
  std::size_t total = 0;
  for (const Step& step : receives_) total += step.bytes.size();
  return total;
}

bool FakeSocket::create() {
  if (open_ || createFails_) return false;
  open_ = true;
  ++creates_;
  ++handle_;  // every socket gets a new handle, as the platform would give it
  lingerZero_ = false;
  selection_ = Selection::None;
  return true;
}

bool FakeSocket::close() {
  if (!open_) return false;
  open_ = false;
  ++closes_;
  selection_ = Selection::None;
  return true;
}

bool FakeSocket::setLingerZero() {
  if (!open_) return false;
  lingerZero_ = true;
  return true;
}

void FakeSocket::bind(SocketNotificationSink* sink, std::uint32_t messageNumber) {
  sink_ = sink;
  messageNumber_ = messageNumber;
}

bool FakeSocket::selectConnect() {
  if (!open_ || selectFails_) return false;
  selection_ = Selection::Connect;
  return true;
}

bool FakeSocket::selectTraffic() {
  if (!open_ || selectFails_) return false;
  selection_ = Selection::Traffic;
  return true;
}

bool FakeSocket::connect(const char* host, std::uint16_t port) {
  ++connects_;
  host_ = host != nullptr ? host : "";
  port_ = port;
  lastError_ = connectAtOnce_ ? SocketError::None : connectError_;
  return connectAtOnce_;
}

int FakeSocket::send(const void* data, std::size_t length) {
  ++sendCalls_;
  if (!open_) {
    lastError_ = SocketError::NotConnected;
    return -1;
  }
  std::size_t take = length;
  if (!sends_.empty()) {
    const SendStep step = sends_.front();
    sends_.pop_front();
    if (step.error != SocketError::None) {
      lastError_ = step.error;
      return -1;
    }
    take = std::min(length, step.accept);
  } else if (sendBlocked_) {
    lastError_ = SocketError::WouldBlock;
    return -1;
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  sent_.insert(sent_.end(), bytes, bytes + take);
  return static_cast<int>(take);
}

int FakeSocket::receive(void* buffer, std::size_t size) {
  if (!open_) {
    lastError_ = SocketError::NotConnected;
    return -1;
  }
  if (receives_.empty()) {
    lastError_ = SocketError::WouldBlock;
    return -1;
  }
  Step& step = receives_.front();
  switch (step.kind) {
    case Step::Error:
      lastError_ = step.error;
      receives_.pop_front();
      return -1;
    case Step::Closed:
      receives_.pop_front();
      return 0;
    case Step::Data:
      break;
  }
  const std::size_t take = std::min(size, step.bytes.size());
  if (take > 0) std::memcpy(buffer, step.bytes.data(), take);
  step.bytes.erase(step.bytes.begin(), step.bytes.begin() + static_cast<std::ptrdiff_t>(take));
  if (step.bytes.empty()) receives_.pop_front();
  return static_cast<int>(take);
}

void FakeSocket::signalWrite() {
  deliver(SocketEvent::Write);
}

std::unique_ptr<TcpSocket> FakeSocketFactory::createSocket() {
  auto socket = std::make_unique<FakeSocket>();
  made_.push_back(socket.get());
  return socket;
}

}  // namespace pom
