#include "win32/web_page_window.h"

#include <memory>

#include "platform/win32/wide_text.h"
#include "win32/browser_host.h"

namespace pom {
namespace {

constexpr wchar_t kPageClass[] = L"PomvaleWebPage";

BrowserHost* hostOf(HWND page) {
  return reinterpret_cast<BrowserHost*>(GetWindowLongPtrW(page, GWLP_USERDATA));
}

}  // namespace

WebPageWindow::~WebPageWindow() {
  if (page_ != nullptr && IsWindow(page_)) DestroyWindow(page_);
  if (frame_ != nullptr && IsWindow(frame_)) DestroyWindow(frame_);
}

LRESULT CALLBACK WebPageWindow::pageProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      // Without an embedded browser there is no page window at all.
      auto host = std::make_unique<BrowserHost>(window);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host.get()));
      if (!host->embed()) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return -1;
      }
      host.release();
      return 0;
    }
    case WM_DESTROY:
      if (BrowserHost* host = hostOf(window)) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        host->release();
        delete host;
      }
      return 0;
    case WM_SIZE:
      if (BrowserHost* host = hostOf(window)) host->resize(LOWORD(lParam) - 8, HIWORD(lParam) - 4);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool WebPageWindow::create(HINSTANCE instance, HWND parent, const std::string& url) {
  const PaneRect frame = layout_.frame();
  frame_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_GROUPBOX, frame.x, frame.y, frame.width,
                           frame.height, parent, nullptr, instance, nullptr);
  const HRESULT ole = OleInitialize(nullptr);  // S_FALSE: already up on this thread
  if (FAILED(ole)) return false;
  WNDCLASSEXW pageClass{};
  pageClass.cbSize = sizeof pageClass;
  pageClass.lpfnWndProc = &WebPageWindow::pageProcedure;
  pageClass.hInstance = instance;
  pageClass.lpszClassName = kPageClass;
  RegisterClassExW(&pageClass);
  const PaneRect page = layout_.page();
  page_ = CreateWindowExW(0, kPageClass, kPageClass, WS_CHILD | WS_VISIBLE, page.x, page.y,
                          page.width, page.height, parent, nullptr, instance, nullptr);
  if (page_ != nullptr) {
    if (BrowserHost* host = hostOf(page_)) host->navigate(widen(url).c_str());
  }
  setVisible(false);
  return true;
}

void WebPageWindow::setVisible(bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  if (frame_ != nullptr) ShowWindow(frame_, show);
  if (page_ != nullptr) {
    ShowWindow(page_, show);
    if (visible) SetFocus(page_);
  }
}

void WebPageWindow::place() {
  const PaneRect page = layout_.page(), frame = layout_.frame();
  if (page_ != nullptr) MoveWindow(page_, page.x, page.y, page.width, page.height, TRUE);
  if (frame_ != nullptr) MoveWindow(frame_, frame.x, frame.y, frame.width, frame.height, TRUE);
}

void WebPageWindow::grow(int dw, int) {
  layout_.grow(dw);
  place();
}

void WebPageWindow::moveToSplit(int x, int y) {
  layout_.moveToSplit(x, y);
  place();
}

}  // namespace pom
