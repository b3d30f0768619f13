// Window: the base of the program's windows. A static window procedure binds
// the object to its handle at WM_NCCREATE (the object is passed as the
// creation parameter) and forwards every later message to the virtual
// handlers; a handler that does not act returns the default processing.
//
// The object must outlive its window; destroying the object first detaches
// it (the window then falls back to the default procedure). GUI thread only.
#pragma once

#include <windows.h>

namespace pom {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND handle() const { return window_; }

  // Registers a class whose procedure is Window's; true when registered now
  // or already before.
  static bool registerClass(HINSTANCE instance, const wchar_t* className, HICON icon,
                            HBRUSH background, HCURSOR cursor = nullptr);

  HWND create(HINSTANCE instance, const wchar_t* className, const wchar_t* title, DWORD style,
              int x, int y, int width, int height, HWND parent = nullptr);

 protected:
  // Every message; the default implementation calls the handlers below for
  // their messages and defaultProc for the rest.
  virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual bool onCreate() { return true; }
  virtual void onPaint() { defaultProc(WM_PAINT, 0, 0); }
  virtual void onSize(int width, int height) {}
  virtual bool onCommand(int id, int code, HWND control) { return false; }
  virtual bool onClose() { return false; }  // true: handled, do not destroy
  virtual void onDestroy() {}
  LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK staticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};

}  // namespace pom
