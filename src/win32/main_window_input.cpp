// The main window's input: its own mouse messages and dropped files (the
// command handler of the fan-out), Enter in the search edit, and the
// splitter tracker and Escape the message loop hands over.
#include "win32/main_window.h"

#include <string>
#include <vector>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

bool isOwnWindow(HWND top, HWND window) {
  return window != nullptr && (window == top || IsChild(top, window));
}

}  // namespace

bool Win32MainWindowView::SearchEditKeys::onKeyDown(UINT key, LPARAM) {
  if (key == VK_RETURN) presenter_.onSearchEnter();
  return false;
}

bool Win32MainWindowView::SearchEditKeys::onChar(wchar_t character, LPARAM) {
  return character == L'\r';  // handled on key-down; the edit would only beep
}

void Win32MainWindowView::filesDropped(HDROP drop) {
  const std::vector<std::string> paths = droppedPaths(drop);
  presenter_.onFilesDropped(paths);
}

void Win32MainWindowView::onWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                          std::intptr_t) {
  if (!presenter_.layoutBuilt()) return;
  if (message == WM_DROPFILES) {
    filesDropped(reinterpret_cast<HDROP>(wParam));
    return;
  }
  if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_LBUTTONUP) return;
  const POINT at = top_.cursorInClient();
  if (message == WM_MOUSEMOVE) presenter_.onMouseMove(at.x, at.y);
  if (message == WM_LBUTTONDOWN) presenter_.onLeftDown(at.x, at.y);
  if (message == WM_LBUTTONUP) presenter_.onLeftUp(at.x, at.y);
}

void Win32MainWindowView::preTranslate(const MSG& message) {
  if (!presenter_.layoutBuilt()) return;
  switch (message.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      // Every window of the program, in this window's client coordinates.
      const POINT at = top_.cursorInClient();
      if (message.message == WM_MOUSEMOVE) presenter_.trackMouseMove(at.x, at.y);
      if (message.message == WM_LBUTTONDOWN) presenter_.trackLeftDown(at.x, at.y);
      if (message.message == WM_LBUTTONUP) presenter_.trackLeftUp(at.x, at.y);
      break;
    }
    case WM_KEYDOWN:
      if (message.wParam == VK_ESCAPE && isOwnWindow(top_.handle(), message.hwnd)) {
        presenter_.onEscape();
      }
      break;
  }
}

}  // namespace pom
