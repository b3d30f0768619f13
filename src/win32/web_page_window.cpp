#include "win32/web_page_window.h"

#include "platform/win32/wide_text.h"
#include "win32/browser_host.h"

namespace pom {
namespace {

constexpr wchar_t kPageClass[] = L"PomvaleWebPage";

}  // namespace

WebPageWindow::Page::~Page() {
  if (handle() != nullptr && IsWindow(handle())) DestroyWindow(handle());
}

bool WebPageWindow::Page::onCreate() {
  // Without an embedded browser there is no page window at all.
  host_ = std::make_unique<BrowserHost>(handle());
  if (!host_->embed()) {
    host_.reset();
    return false;
  }
  return true;
}

void WebPageWindow::Page::onSize(int width, int height) {
  if (host_) host_->resize(width - 8, height - 4);
}

void WebPageWindow::Page::onDestroy() {
  if (host_) {
    host_->release();
    host_.reset();
  }
}

void WebPageWindow::Page::navigate(const std::string& url) {
  if (host_) host_->navigate(widen(url).c_str());
}

WebPageWindow::~WebPageWindow() {
  if (frame_ != nullptr && IsWindow(frame_)) DestroyWindow(frame_);
}

void WebPageWindow::create(HINSTANCE instance, HWND parent, const std::string& url) {
  frame_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_GROUPBOX, 0, 0, 0, 0, parent, nullptr,
                           instance, nullptr);
  const HRESULT ole = OleInitialize(nullptr);  // S_FALSE: already up on this thread
  if (FAILED(ole)) return;
  if (!Window::registerClass(instance, kPageClass, nullptr, nullptr)) return;
  if (page_.create(instance, kPageClass, kPageClass, WS_CHILD, 0, 0, 0, 0, parent) != nullptr) {
    page_.navigate(url);
  }
}

void WebPageWindow::place(const PaneRect& frame, const PaneRect& page) {
  if (page_.handle() != nullptr) {
    MoveWindow(page_.handle(), page.x, page.y, page.width, page.height, TRUE);
  }
  if (frame_ != nullptr) MoveWindow(frame_, frame.x, frame.y, frame.width, frame.height, TRUE);
}

void WebPageWindow::setVisible(bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  if (frame_ != nullptr) ShowWindow(frame_, show);
  if (page_.handle() != nullptr) {
    ShowWindow(page_.handle(), show);
    if (visible) SetFocus(page_.handle());
  }
}

}  // namespace pom
