// EventLoop: the one loop of the program, as the core sees it.
//
// Everything in the core runs on the loop thread. Timers, deferred calls and
// the short waits of the protocol (a pause before TransferEnded, before the
// next upload chunk, before a login retry) go through this port, so that a test
// can run them with a fake clock and nothing in the core ever blocks.
//
// Ownership: callbacks are owned by the loop until they run or are cancelled.
// Re-entrancy: callbacks may start and stop timers and post further calls.
#pragma once

#include <cstdint>
#include <functional>

namespace pom {

class EventLoop {
 public:
  using Callback = std::function<void()>;
  using TimerId = std::uint32_t;  // 0 is never a valid id

  virtual ~EventLoop() = default;

  // A repeating timer, first firing after intervalMs. Returns its id.
  virtual TimerId startTimer(std::uint32_t intervalMs, Callback callback) = 0;
  // Stops a repeating timer or cancels a pending delayed call; unknown ids are ignored.
  virtual void stopTimer(TimerId id) = 0;
  // Runs callback once, after delayMs (0: at the next turn of the loop).
  virtual TimerId postDelayed(std::uint32_t delayMs, Callback callback) = 0;
  // Runs callback once at the next turn of the loop.
  TimerId post(Callback callback) { return postDelayed(0, std::move(callback)); }
};

}  // namespace pom
