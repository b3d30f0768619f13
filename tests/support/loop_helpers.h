// Loop helpers for tests.
//
// ManualLoop: an EventLoop and Clock whose time moves only when the test says
// so (advance), for deterministic tests of timers and the protocol's short
// waits. Callbacks run in due order; ones due at the same time in the order
// they were started.
//
// LoopbackPair helpers for the POSIX backend live with the integration tests;
// here only what unit tests of the core need.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "core/ports/clock.h"
#include "core/ports/event_loop.h"

namespace pom {

class ManualLoop : public EventLoop, public Clock {
 public:
  TimerId startTimer(std::uint32_t intervalMs, Callback callback) override;
  void stopTimer(TimerId id) override;
  TimerId postDelayed(std::uint32_t delayMs, Callback callback) override;
  std::uint32_t tickCount() const override { return static_cast<std::uint32_t>(now_); }

  // Moves time forward by ms, running every callback that falls due (each
  // repeating timer as often as its interval fits). Returns how many ran.
  int advance(std::uint32_t ms);
  // Runs what is due now (posted calls included) without moving time.
  int runPending() { return advance(0); }
  std::size_t pendingCount() const { return entries_.size(); }
  bool isPending(TimerId id) const { return entries_.count(id) != 0; }
  void setTick(std::uint64_t now) { now_ = now; }

 private:
  struct Entry {
    std::uint64_t due;
    std::uint32_t interval;
    bool repeating;
    Callback callback;
  };
  TimerId add(std::uint32_t delayMs, bool repeating, Callback callback);

  std::map<TimerId, Entry> entries_;
  TimerId nextId_ = 1;
  std::uint64_t now_ = 1000;
};

}  // namespace pom
