#include "core/transfer/session_slots.h"

namespace pom {

SessionSlots::SessionSlots(SocketFactory& sockets, const ConnectionKind& kind,
                           WindowMessageFanOut* fanOut, FanOutSlot slot, const std::string& name)
    : fanOut_(fanOut) {
  for (int i = 0; i < kTransferSlots; ++i) {
    auto& session = sessions_[static_cast<std::size_t>(i)];
    session = std::make_unique<Connection>(sockets, kind, static_cast<std::uint32_t>(i));
    if (fanOut_ != nullptr) fanOut_->add(slot, name + std::to_string(i), *session);
  }
}

SessionSlots::~SessionSlots() {
  for (auto& session : sessions_) {
    if (fanOut_ != nullptr) fanOut_->remove(session.get());
  }
}

void SessionSlots::offer(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  for (auto& session : sessions_) session->onSocketMessage(message, wParam, lParam);
}

void SessionSlots::resetAll() {
  for (auto& session : sessions_) session->reset();
}

}  // namespace pom
