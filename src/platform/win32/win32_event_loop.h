// Win32EventLoop: the EventLoop port on a message-only window of the GUI thread.
//
// Repeating timers and delayed calls are SetTimer timers of that window;
// post() is a PostMessage to it, so posted calls run in order at the next
// turn of the program's own GetMessage/DispatchMessage loop (or of any modal
// loop, such as an open message box). There is no run() here: the program's
// message loop drives everything.
//
// Create, use and destroy on the GUI thread. Callbacks may start and stop
// timers, stop themselves and post further calls. Destroying the loop drops
// every pending callback without running it.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

#include "core/ports/event_loop.h"

namespace pom {

class Win32EventLoop final : public EventLoop {
 public:
  Win32EventLoop();
  ~Win32EventLoop() override;
  Win32EventLoop(const Win32EventLoop&) = delete;
  Win32EventLoop& operator=(const Win32EventLoop&) = delete;

  TimerId startTimer(std::uint32_t intervalMs, Callback callback) override;
  void stopTimer(TimerId id) override;
  TimerId postDelayed(std::uint32_t delayMs, Callback callback) override;

  // False when the window could not be created (then nothing ever runs).
  bool valid() const { return window_ != nullptr; }

 private:
  struct Entry {
    std::shared_ptr<Callback> callback;
    bool repeating;
  };

  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  TimerId add(std::uint32_t delayMs, bool repeating, Callback callback);
  void fire(TimerId id);
  TimerId nextId();

  HWND window_ = nullptr;
  TimerId lastId_ = 0;
  std::map<TimerId, Entry> entries_;
};

}  // namespace pom
