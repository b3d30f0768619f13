#include "win32/window.h"

#include <windowsx.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

constexpr UINT_PTR kSubclassId = 0x504F4D;  // one subclass of ours per control

MousePoint mouseAt(WPARAM wParam, LPARAM lParam) {
  return MousePoint{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam)};
}

}  // namespace

Window::~Window() {
  if (window_ == nullptr || !IsWindow(window_)) return;
  switch (binding_) {
    case Binding::Window:
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      break;
    case Binding::Control:
      RemoveWindowSubclass(window_, &Window::controlProc, kSubclassId);
      break;
    case Binding::Dialog:
      SetWindowLongPtrW(window_, DWLP_USER, 0);
      break;
    case Binding::None:
      break;
  }
}

bool Window::registerClass(HINSTANCE instance, const wchar_t* className, HICON icon,
                           HBRUSH background, HCURSOR cursor) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Window::windowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hIconSm = icon;
  windowClass.hCursor = cursor;
  windowClass.hbrBackground = background;
  windowClass.lpszClassName = className;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND Window::create(HINSTANCE instance, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, DWORD exStyle) {
  return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                         instance, this);
}

bool Window::attachTo(HWND control) {
  if (control == nullptr) return false;
  if (!SetWindowSubclass(control, &Window::controlProc, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  window_ = control;
  binding_ = Binding::Control;
  return true;
}

LRESULT Window::defaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (binding_) {
    case Binding::Control:
      return DefSubclassProc(window_, message, wParam, lParam);
    case Binding::Dialog:
      return 0;  // the dialog manager's default follows the FALSE answer
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

LRESULT Window::onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  return dispatch(message, wParam, lParam, handled);
}

LRESULT Window::dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  LRESULT result = 0;
  switch (message) {
    case WM_CREATE:
      return onCreate() ? 0 : -1;
    case WM_PAINT:
      handled = onPaint();
      break;
    case WM_SIZE:
      onSize(LOWORD(lParam), HIWORD(lParam));
      handled = binding_ != Binding::Control;
      break;
    case WM_COMMAND:
      handled = onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      break;
    case WM_NOTIFY:
      handled = onNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), result);
      break;
    case WM_TIMER:
      handled = onTimer(wParam);
      break;
    case WM_MOUSEMOVE:
      handled = onMouseMove(mouseAt(wParam, lParam));
      break;
    case WM_LBUTTONDOWN:
      handled = onLeftDown(mouseAt(wParam, lParam));
      break;
    case WM_LBUTTONUP:
      handled = onLeftUp(mouseAt(wParam, lParam));
      break;
    case WM_LBUTTONDBLCLK:
      handled = onLeftDoubleClick(mouseAt(wParam, lParam));
      break;
    case WM_RBUTTONDOWN:
      handled = onRightDown(mouseAt(wParam, lParam));
      break;
    case WM_RBUTTONUP:
      handled = onRightUp(mouseAt(wParam, lParam));
      break;
    case WM_CAPTURECHANGED:
      handled = onCaptureChanged(reinterpret_cast<HWND>(lParam));
      break;
    case WM_KEYDOWN:
      handled = onKeyDown(static_cast<UINT>(wParam), lParam);
      break;
    case WM_CHAR:
      handled = onChar(static_cast<wchar_t>(wParam), lParam);
      break;
    case WM_DROPFILES:
      handled = onDropFiles(reinterpret_cast<HDROP>(wParam));
      break;
    case WM_CLOSE:
      handled = onClose();
      break;
    case WM_DESTROY:
      onDestroy();
      handled = binding_ == Binding::Window;
      break;
    default:
      handled = false;
      break;
  }
  return result;
}

LRESULT CALLBACK Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    self = static_cast<Window*>(create->lpCreateParams);
    if (self != nullptr) {
      self->window_ = window;
      self->binding_ = Binding::Window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  bool handled = false;
  LRESULT result = self->onMessage(message, wParam, lParam, handled);
  if (!handled) result = DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->binding_ = Binding::None;
  }
  return result;
}

LRESULT CALLBACK Window::controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data) {
  auto* self = reinterpret_cast<Window*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, &Window::controlProc, id);
    if (self != nullptr) {
      self->window_ = nullptr;
      self->binding_ = Binding::None;
    }
    return DefSubclassProc(control, message, wParam, lParam);
  }
  bool handled = false;
  const LRESULT result = self->onMessage(message, wParam, lParam, handled);
  return handled ? result : DefSubclassProc(control, message, wParam, lParam);
}

// --- dialogs ---------------------------------------------------------------

void Dialog::createDialog(int templateId) {
  HWND created = CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId), nullptr,
                                    &Dialog::dialogProc, reinterpret_cast<LPARAM>(this));
  // onInitDialog may already have closed it again.
  if (created == nullptr || !IsWindow(created)) window_ = nullptr;
}

INT_PTR Dialog::runModal(int templateId, HWND owner) {
  return DialogBoxParamW(instance_, MAKEINTRESOURCEW(templateId), owner, &Dialog::dialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    // Bound before anything else, so the presenter can fill the dialog
    // through its view while it is being created.
    self = reinterpret_cast<Dialog*>(lParam);
    self->window_ = dialog;
    self->binding_ = Binding::Dialog;
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    return self->onInitDialog() ? TRUE : FALSE;
  }
  self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    self->window_ = nullptr;
    self->binding_ = Binding::None;
    return FALSE;
  }
  bool handled = false;
  const LRESULT result = self->onMessage(message, wParam, lParam, handled);
  if (handled) SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
  return handled ? TRUE : FALSE;
}

void Dialog::setDialogTitle(const std::string& title) {
  if (dialogExists()) SetWindowTextW(window_, widen(title).c_str());
}

void Dialog::setItemText(int controlId, const std::string& text) {
  if (dialogExists()) SetDlgItemTextW(window_, controlId, widen(text).c_str());
}

void Dialog::showDialog() {
  if (!dialogExists()) return;
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetFocus(window_);
}

void Dialog::destroyDialog() {
  if (dialogExists()) {
    ShowWindow(window_, SW_HIDE);
    DestroyWindow(window_);
  }
  window_ = nullptr;
}

std::vector<std::string> droppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, i, &path[0], length + 1);
    path.resize(length);
    paths.push_back(narrow(path));
  }
  DragFinish(drop);
  return paths;
}

}  // namespace pom
