// Test helpers for the GUI thread of the Windows-side tests.
//
// SocketWindow plays the application's top-level window: a message-only
// window whose procedure offers every message to each registered sink in
// order, as the program's window offers it to every connection.
// pumpUntil runs the message loop until a condition holds or a deadline
// passes, so no test can hang on a notification that never comes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "core/ports/tcp_socket.h"

namespace pom::test {

class SocketWindow {
 public:
  SocketWindow();
  ~SocketWindow();
  SocketWindow(const SocketWindow&) = delete;
  SocketWindow& operator=(const SocketWindow&) = delete;

  HWND handle() const { return window_; }
  void add(SocketNotificationSink* sink) { sinks_.push_back(sink); }
  void clear() { sinks_.clear(); }

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
  std::vector<SocketNotificationSink*> sinks_;
};

// Dispatches messages until done() is true (checked after every message and
// at least every 20 ms) or timeoutMs passes. Returns done()'s last value.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches messages for about ms milliseconds.
void pumpFor(DWORD ms);

// One socket notification as the sink received it.
struct Notification {
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  int event() const { return static_cast<int>(lParam & 0xFFFF); }
  int error() const {
    return static_cast<int>((static_cast<std::uint32_t>(lParam) >> 16) & 0xFFFF);
  }
};

// Records the notifications of one message number; an optional reaction runs
// for each (to send or receive as a connection would).
class RecordingSink : public SocketNotificationSink {
 public:
  explicit RecordingSink(std::uint32_t messageNumber) : messageNumber_(messageNumber) {}
  int onSocketMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

  bool saw(SocketEvent event) const;
  std::function<void(const Notification&)> reaction;
  std::vector<Notification> seen;

 private:
  std::uint32_t messageNumber_;
};

}  // namespace pom::test
