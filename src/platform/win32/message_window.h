// Message-only windows: invisible windows that exist to receive messages
// (timers, posted calls, socket notifications) on the thread that made them.
#pragma once

#include <windows.h>

namespace pom {

// Registers the class (once; later calls reuse it) and creates a message-only
// window whose GWLP_USERDATA holds owner. Returns null on failure.
HWND createMessageWindow(const wchar_t* className, WNDPROC procedure, void* owner);

// Clears the owner pointer (so late messages find none) and destroys the window.
void destroyMessageWindow(HWND window);

// The owner given to createMessageWindow, or null.
template <typename Owner>
Owner* messageWindowOwner(HWND window) {
  return reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace pom
