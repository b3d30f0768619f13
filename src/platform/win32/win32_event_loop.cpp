#include "platform/win32/win32_event_loop.h"

#include <utility>

#include "platform/win32/message_window.h"

namespace pom {
namespace {

constexpr wchar_t kClassName[] = L"PomEventLoopWindow";
constexpr UINT kPostedCall = WM_APP + 1;

}  // namespace

Win32EventLoop::Win32EventLoop()
    : window_(createMessageWindow(kClassName, &Win32EventLoop::windowProc, this)) {}

// Destroying the window also kills its timers.
Win32EventLoop::~Win32EventLoop() {
  destroyMessageWindow(window_);
}

EventLoop::TimerId Win32EventLoop::startTimer(std::uint32_t intervalMs, Callback callback) {
  return add(intervalMs, true, std::move(callback));
}

EventLoop::TimerId Win32EventLoop::postDelayed(std::uint32_t delayMs, Callback callback) {
  return add(delayMs, false, std::move(callback));
}

void Win32EventLoop::stopTimer(TimerId id) {
  auto it = entries_.find(id);
  if (it == entries_.end()) return;
  entries_.erase(it);
  // A posted call has no timer; KillTimer of an unknown id does nothing, and a
  // posted message for an erased id is ignored when it arrives.
  if (window_ != nullptr) KillTimer(window_, id);
}

EventLoop::TimerId Win32EventLoop::nextId() {
  do {
    ++lastId_;
  } while (lastId_ == 0 || entries_.count(lastId_) != 0);
  return lastId_;
}

EventLoop::TimerId Win32EventLoop::add(std::uint32_t delayMs, bool repeating, Callback callback) {
  if (window_ == nullptr || !callback) return 0;
  const TimerId id = nextId();
  entries_[id] = Entry{std::make_shared<Callback>(std::move(callback)), repeating};
  // A repeating timer of 0 ms still goes through SetTimer (the platform raises
  // it to its minimum); only a one-shot call with no delay is a posted message.
  const bool ok = (delayMs == 0 && !repeating) ? PostMessageW(window_, kPostedCall, id, 0) != 0
                                               : SetTimer(window_, id, delayMs, nullptr) != 0;
  if (!ok) {
    entries_.erase(id);
    return 0;
  }
  return id;
}

void Win32EventLoop::fire(TimerId id) {
  auto it = entries_.find(id);
  if (it == entries_.end()) return;  // stopped while its message was queued
  // Hold the callback by a shared pointer: it may stop its own timer (erasing
  // the entry) while it runs.
  std::shared_ptr<Callback> callback = it->second.callback;
  if (!it->second.repeating) {
    KillTimer(window_, id);
    entries_.erase(it);
  }
  (*callback)();
}

LRESULT CALLBACK Win32EventLoop::windowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  auto* self = messageWindowOwner<Win32EventLoop>(window);
  if (self != nullptr && (message == WM_TIMER || message == kPostedCall)) {
    self->fire(static_cast<TimerId>(wParam));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace pom
