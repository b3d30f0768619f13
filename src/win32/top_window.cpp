#include "win32/top_window.h"

#include "core/app/client_app.h"
#include "core/mainwindow/main_window_presenter.h"
#include "core/session/login_presenter.h"

namespace pom {
namespace {

constexpr wchar_t kClassName[] = L"Pomvale";
constexpr int kApplicationIcon = 103;

}  // namespace

TopWindow::TopWindow(HINSTANCE instance, const std::string& fontFace, ClientApp& app)
    : instance_(instance), app_(app), painter_(instance, fontFace) {}

TopWindow::~TopWindow() {
  if (handle() != nullptr && IsWindow(handle())) DestroyWindow(handle());
  if (background_ != nullptr) DeleteObject(background_);
}

bool TopWindow::createWindow() {
  background_ = CreateSolidBrush(RGB(224, 226, 235));
  HICON icon = LoadIconW(instance_, MAKEINTRESOURCEW(kApplicationIcon));
  if (!registerClass(instance_, kClassName, icon, background_)) return false;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kLoginWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kLoginCentringHeight) / 2;
  HWND window = create(instance_, kClassName, kClassName,
                       WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, left, top,
                       kLoginWindowWidth, kLoginWindowHeight);
  if (window == nullptr) return false;
  painter_.setWindow(window);
  return true;
}

POINT TopWindow::cursorInClient() const {
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(handle(), &point);
  return point;
}

LRESULT TopWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  app_.dispatchWindowMessage(message, wParam, lParam);
  handled = true;
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // Labels, check boxes and radios let the background bitmap show through.
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_GETMINMAXINFO:
      if (mainLayout()) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = kMainMinOuterWidth;
        info->ptMinTrackSize.y = kMainMinOuterHeight;
        return 0;
      }
      break;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) return 0;
      break;
  }
  return Window::onMessage(message, wParam, lParam, handled);
}

bool TopWindow::onPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle(), &ps);
  {
    GdiPainter::Scope scope(painter_, dc);
    app_.repaintAll();
  }
  EndPaint(handle(), &ps);
  return true;
}

void TopWindow::onSize(int width, int height) {
  // The presenter resizes the window itself; the guard keeps that from
  // coming back here while it is still at work.
  if (!mainLayout() || resizing_) return;
  resizing_ = true;
  layout_->clientResized(width, height);
  resizing_ = false;
}

bool TopWindow::onNotify(int, NMHDR* header, LRESULT& result) {
  const auto found = notifyTargets_.find(header->hwndFrom);
  return found != notifyTargets_.end() && found->second->onControlNotify(header, result);
}

bool TopWindow::onClose() {
  // Before the login there is nothing to lose; afterwards the main window
  // asks (pending uploads, pending downloads, or simply whether to end).
  if (mainLayout() && !layout_->confirmClose()) return true;
  DestroyWindow(handle());
  return true;
}

void TopWindow::onDestroy() {
  // However the window goes (the member's close, a declined reconnect), the
  // program ends as one the member closed.
  PostQuitMessage(kExitAfterClose);
}

}  // namespace pom
