#include "platform/win32/message_window.h"

namespace pom {

HWND createMessageWindow(const wchar_t* className, WNDPROC procedure, void* owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = className;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered
  HWND window =
      CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (window != nullptr)
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  return window;
}

void destroyMessageWindow(HWND window) {
  if (window == nullptr) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

}  // namespace pom
