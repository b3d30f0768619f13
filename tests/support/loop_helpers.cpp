#include "loop_helpers.h"

namespace pom {

EventLoop::TimerId ManualLoop::startTimer(std::uint32_t intervalMs, Callback callback) {
  return add(intervalMs, true, std::move(callback));
}

void ManualLoop::stopTimer(TimerId id) {
  entries_.erase(id);
}

EventLoop::TimerId ManualLoop::postDelayed(std::uint32_t delayMs, Callback callback) {
  return add(delayMs, false, std::move(callback));
}

EventLoop::TimerId ManualLoop::add(std::uint32_t delayMs, bool repeating, Callback callback) {
  const TimerId id = nextId_++;
  entries_[id] = Entry{now_ + delayMs, delayMs, repeating, std::move(callback)};
  return id;
}

int ManualLoop::advance(std::uint32_t ms) {
  const std::uint64_t end = now_ + ms;
  int ran = 0;
  // Bounded: a zero-interval repeating timer would otherwise never let go.
  for (int guard = 0; guard < 100000; ++guard) {
    auto next = entries_.end();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->second.due <= end && (next == entries_.end() || it->second.due < next->second.due)) {
        next = it;
      }
    }
    if (next == entries_.end()) break;
    if (next->second.due > now_) now_ = next->second.due;
    Callback callback;
    if (next->second.repeating) {
      next->second.due = now_ + (next->second.interval > 0 ? next->second.interval : 1);
      callback = next->second.callback;
    } else {
      callback = std::move(next->second.callback);
      entries_.erase(next);
    }
    callback();
    ++ran;
  }
  now_ = end;
  return ran;
}

}  // namespace pom
