// PollLoop: the POSIX event loop, a single-threaded poll(2) loop with timers.
//
// Implements the core's EventLoop (repeating timers, delayed and deferred
// calls) and watches file descriptors for the POSIX sockets and listeners.
// A watcher (PollClient) is asked for its descriptor and wanted events at
// every turn, so it can change them at any time; it may unregister itself or
// others from inside a callback (the loop checks before every call).
//
// run() turns until stop(); runFor() and runUntil() are the bounded forms for
// tests and tools. Nothing here is thread-safe except stop(): everything else
// belongs to the thread that runs the loop.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include <poll.h>

#include "core/ports/event_loop.h"

namespace pom {

class PollClient {
 public:
  virtual ~PollClient() = default;
  // The descriptor to watch, or -1 for none at the moment.
  virtual int pollFd() const = 0;
  // poll(2) events wanted now (POLLIN, POLLOUT); 0 for none.
  virtual short pollEvents() const = 0;
  // Called with the returned events of pollFd().
  virtual void onPollEvents(short revents) = 0;
};

class PollLoop : public EventLoop {
 public:
  PollLoop();
  ~PollLoop() override;

  TimerId startTimer(std::uint32_t intervalMs, Callback callback) override;
  void stopTimer(TimerId id) override;
  TimerId postDelayed(std::uint32_t delayMs, Callback callback) override;

  void addClient(PollClient* client);
  void removeClient(PollClient* client);

  // Turns until stop() is called.
  void run();
  // Turns for about durationMs (or until stop()).
  void runFor(std::uint32_t durationMs);
  // Turns until predicate() holds (checked after every turn) or timeoutMs has
  // passed; returns the last value of predicate().
  bool runUntil(const std::function<bool()>& predicate, std::uint32_t timeoutMs);
  // One turn: waits at most waitMs for descriptors or the next timer, then
  // runs what is ready.
  void runOnce(int waitMs);
  // Makes run()/runFor()/runUntil() return after the current turn.
  void stop() { stopped_ = true; }

 private:
  using TimePoint = std::chrono::steady_clock::time_point;
  struct Timer {
    TimePoint due;
    std::uint32_t intervalMs;
    bool repeating;
    Callback callback;
  };

  TimerId addTimer(std::uint32_t delayMs, bool repeating, Callback callback);
  // Time until the next timer is due (zero when one is due); -1 when none.
  std::chrono::microseconds untilNextTimer(TimePoint now) const;
  void runDueTimers();

  std::map<TimerId, Timer> timers_;
  TimerId nextTimerId_ = 1;
  std::vector<PollClient*> clients_;
  // Storage lent to each turn so the busy path does not allocate; a turn
  // nested inside a callback simply finds it taken and uses its own.
  std::vector<pollfd> pollFds_;
  std::vector<PollClient*> pollOwners_;
  std::atomic<bool> stopped_{false};
};

}  // namespace pom
