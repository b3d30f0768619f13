#include "core/hub/fan_out.h"

#include <algorithm>

#include "core/ports/tcp_socket.h"

namespace pom {

void WindowMessageFanOut::insert(Entry entry) {
  const auto after = std::upper_bound(entries_.begin(), entries_.end(), entry.slot,
                                      [](FanOutSlot slot, const Entry& e) {
                                        return static_cast<int>(slot) < static_cast<int>(e.slot);
                                      });
  entries_.insert(after, std::move(entry));
}

void WindowMessageFanOut::add(FanOutSlot slot, std::string name, WindowMessageSink& sink) {
  insert(Entry{slot, std::move(name), &sink, nullptr});
}

void WindowMessageFanOut::add(FanOutSlot slot, std::string name, SocketNotificationSink& sink) {
  insert(Entry{slot, std::move(name), nullptr, &sink});
}

void WindowMessageFanOut::remove(const void* receiver) {
  for (Entry& entry : entries_) {
    if (entry.window == receiver || entry.socket == receiver) {
      entry.window = nullptr;
      entry.socket = nullptr;
    }
  }
  if (dispatching_ == 0) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [](const Entry& e) { return !e.window && !e.socket; }),
                   entries_.end());
  }
}

void WindowMessageFanOut::dispatch(std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
  // By index: a receiver may show a message box, which pumps messages and
  // dispatches again, or leave; cleared entries are skipped.
  ++dispatching_;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (WindowMessageSink* window = entries_[i].window) {
      window->onWindowMessage(message, wParam, lParam);
    } else if (SocketNotificationSink* socket = entries_[i].socket) {
      socket->onSocketMessage(message, wParam, lParam);
    }
  }
  --dispatching_;
}

std::vector<std::string> WindowMessageFanOut::order() const {
  std::vector<std::string> names;
  for (const Entry& entry : entries_) {
    if (entry.window || entry.socket) names.push_back(entry.name);
  }
  return names;
}

}  // namespace pom
