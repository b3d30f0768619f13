#include "message_pump.h"

#include "platform/win32/message_window.h"

namespace pom::test {
namespace {

constexpr wchar_t kClassName[] = L"PomTestSocketWindow";

}  // namespace

SocketWindow::SocketWindow()
    : window_(createMessageWindow(kClassName, &SocketWindow::windowProc, this)) {}

SocketWindow::~SocketWindow() {
  destroyMessageWindow(window_);
}

LRESULT CALLBACK SocketWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = messageWindowOwner<SocketWindow>(window);
  if (self != nullptr && message >= WM_USER) {
    // Copy: a sink may be added while a message is being offered.
    const std::vector<SocketNotificationSink*> sinks = self->sinks_;
    for (SocketNotificationSink* sink : sinks) {
      sink->onSocketMessage(message, static_cast<std::uintptr_t>(wParam),
                            static_cast<std::intptr_t>(lParam));
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
      if (done()) return true;
    }
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    const DWORD wait = static_cast<DWORD>(deadline - now < 20 ? deadline - now : 20);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
  }
}

void pumpFor(DWORD ms) {
  pumpUntil([] { return false; }, ms);
}

int RecordingSink::onSocketMessage(std::uint32_t message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
  if (message != messageNumber_) return 0;
  seen.push_back(Notification{message, wParam, lParam});
  if (reaction) reaction(seen.back());
  return static_cast<int>(lParam & 0xFFFF);
}

bool RecordingSink::saw(SocketEvent event) const {
  for (const Notification& n : seen) {
    if (n.event() == static_cast<int>(event)) return true;
  }
  return false;
}

}  // namespace pom::test
