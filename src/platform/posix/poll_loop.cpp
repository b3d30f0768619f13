#include "platform/posix/poll_loop.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace pom {
namespace {

using Clock = std::chrono::steady_clock;

int msBetween(Clock::time_point from, Clock::time_point to) {
  if (to <= from) return 0;
  // Rounded up, so a wait never ends just before a timer is due.
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(to - from).count();
  const auto ms = (us + 999) / 1000;
  return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

}  // namespace

PollLoop::PollLoop() = default;
PollLoop::~PollLoop() = default;

EventLoop::TimerId PollLoop::startTimer(std::uint32_t intervalMs, Callback callback) {
  return addTimer(intervalMs, true, std::move(callback));
}

void PollLoop::stopTimer(TimerId id) {
  timers_.erase(id);
}

EventLoop::TimerId PollLoop::postDelayed(std::uint32_t delayMs, Callback callback) {
  return addTimer(delayMs, false, std::move(callback));
}

EventLoop::TimerId PollLoop::addTimer(std::uint32_t delayMs, bool repeating, Callback callback) {
  TimerId id = nextTimerId_++;
  if (nextTimerId_ == 0) nextTimerId_ = 1;  // 0 is never an id
  timers_[id] = Timer{Clock::now() + std::chrono::milliseconds(delayMs), delayMs, repeating,
                      std::move(callback)};
  return id;
}

void PollLoop::addClient(PollClient* client) {
  if (std::find(clients_.begin(), clients_.end(), client) == clients_.end()) {
    clients_.push_back(client);
  }
}

void PollLoop::removeClient(PollClient* client) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

std::chrono::microseconds PollLoop::untilNextTimer(TimePoint now) const {
  std::chrono::microseconds wait(-1);
  for (const auto& entry : timers_) {
    const auto left = entry.second.due <= now
                          ? std::chrono::microseconds(0)
                          : std::chrono::ceil<std::chrono::microseconds>(entry.second.due - now);
    if (wait.count() < 0 || left < wait) wait = left;
  }
  return wait;
}

void PollLoop::runDueTimers() {
  // Only timers due at the start of this pass run, each at most once, so a
  // zero-interval timer or a call that posts another cannot starve the loop.
  const TimePoint now = Clock::now();
  std::vector<TimerId> due;
  for (const auto& entry : timers_) {
    if (entry.second.due <= now) due.push_back(entry.first);
  }
  for (TimerId id : due) {
    auto it = timers_.find(id);
    if (it == timers_.end()) continue;  // stopped by an earlier callback
    Callback callback;
    if (it->second.repeating) {
      it->second.due = now + std::chrono::milliseconds(it->second.intervalMs);
      callback = it->second.callback;  // the timer may be stopped while it runs
    } else {
      callback = std::move(it->second.callback);
      timers_.erase(it);
    }
    callback();
  }
}

void PollLoop::runOnce(int waitMs) {
  // Timers are waited for to the microsecond (ppoll), so the short pauses
  // of the transfers (15 ms between chunks) do not grow by a rounded-up
  // millisecond each.
  std::chrono::microseconds wait =
      waitMs < 0 ? std::chrono::microseconds(-1) : std::chrono::milliseconds(waitMs);
  const std::chrono::microseconds timerWait = untilNextTimer(Clock::now());
  if (timerWait.count() >= 0 && (wait.count() < 0 || timerWait < wait)) wait = timerWait;
  timespec timeout{};
  timeout.tv_sec = static_cast<time_t>(wait.count() / 1000000);
  timeout.tv_nsec = static_cast<long>(wait.count() % 1000000 * 1000);

  std::vector<pollfd> fds;
  std::vector<PollClient*> owners;
  fds.swap(pollFds_);
  owners.swap(pollOwners_);
  fds.clear();
  owners.clear();
  for (PollClient* client : clients_) {
    const int fd = client->pollFd();
    const short events = client->pollEvents();
    if (fd < 0 || events == 0) continue;
    fds.push_back(pollfd{fd, events, 0});
    owners.push_back(client);
  }
  const int ready = ::ppoll(fds.data(), fds.size(), wait.count() < 0 ? nullptr : &timeout, nullptr);
  if (ready > 0) {
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      // A callback may have removed, re-created or destroyed any client.
      PollClient* client = owners[i];
      if (std::find(clients_.begin(), clients_.end(), client) == clients_.end()) continue;
      if (client->pollFd() != fds[i].fd) continue;
      client->onPollEvents(fds[i].revents);
    }
  }
  pollFds_.swap(fds);
  pollOwners_.swap(owners);
  runDueTimers();
}

void PollLoop::run() {
  stopped_ = false;
  while (!stopped_) runOnce(-1);
}

void PollLoop::runFor(std::uint32_t durationMs) {
  stopped_ = false;
  const TimePoint end = Clock::now() + std::chrono::milliseconds(durationMs);
  for (TimePoint now = Clock::now(); !stopped_ && now < end; now = Clock::now()) {
    runOnce(msBetween(now, end));
  }
}

bool PollLoop::runUntil(const std::function<bool()>& predicate, std::uint32_t timeoutMs) {
  stopped_ = false;
  const TimePoint end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  if (predicate()) return true;
  for (TimePoint now = Clock::now(); !stopped_ && now < end; now = Clock::now()) {
    runOnce(std::min(msBetween(now, end), 50));
    if (predicate()) return true;
  }
  return predicate();
}

}  // namespace pom
