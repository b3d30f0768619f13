// Window and Dialog: the one base of the program's windows, dialogs and
// subclassed controls.
//
// A static procedure binds the object to its handle (WM_NCCREATE for a window
// made with create(), WM_INITDIALOG for a dialog, attachTo() for a control
// made elsewhere) and forwards every later message to onMessage, whose
// default dispatch calls the virtual handlers below: creation, paint, size,
// commands, notifications (WM_NOTIFY), timers, mouse buttons and moves,
// capture changes, keys and characters, dropped files, close and destroy. A
// handler returns true when it handled the message; otherwise the default
// processing runs (DefWindowProc, the dialog manager, or the control's own
// procedure). A view receives its presenter in its constructor.
//
// The object must outlive its window; destroying the object first detaches
// it (the window then falls back to the default procedure). GUI thread only.
#pragma once

#include <windows.h>
// shellapi.h needs windows.h first.
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace pom {

struct MousePoint {
  int x = 0;
  int y = 0;
  UINT keys = 0;  // MK_* flags
};

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
              int x, int y, int width, int height, HWND parent = nullptr, DWORD exStyle = 0);
  // Routes the messages of a control made elsewhere (an edit, a list) through
  // this object; unhandled ones reach the control's own procedure.
  bool attachTo(HWND control);

 protected:
  // Every message. The default calls the handlers below for their messages;
  // `handled` tells whether one did (result then holds the answer).
  virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

  virtual bool onCreate() { return true; }
  virtual bool onPaint() { return false; }
  virtual void onSize(int width, int height) {}
  virtual bool onCommand(int id, int code, HWND control) { return false; }
  virtual bool onNotify(int id, NMHDR* header, LRESULT& result) { return false; }
  virtual bool onTimer(UINT_PTR id) { return false; }
  virtual bool onMouseMove(const MousePoint& at) { return false; }
  virtual bool onLeftDown(const MousePoint& at) { return false; }
  virtual bool onLeftUp(const MousePoint& at) { return false; }
  virtual bool onLeftDoubleClick(const MousePoint& at) { return false; }
  virtual bool onRightDown(const MousePoint& at) { return false; }
  virtual bool onRightUp(const MousePoint& at) { return false; }
  virtual bool onCaptureChanged(HWND gaining) { return false; }
  virtual bool onKeyDown(UINT key, LPARAM flags) { return false; }
  virtual bool onChar(wchar_t character, LPARAM flags) { return false; }
  virtual bool onDropFiles(HDROP drop) { return false; }
  virtual bool onClose() { return false; }  // true: handled, do not destroy
  virtual void onDestroy() {}

  // The default processing of whatever this object is bound as.
  LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;

 private:
  enum class Binding { None, Window, Control, Dialog };
  friend class Dialog;
  LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR self);
  Binding binding_ = Binding::None;
};

// A modeless dialog from a resource template, bound at WM_INITDIALOG.
class Dialog : public Window {
 public:
  explicit Dialog(HINSTANCE instance) : instance_(instance) {}
  ~Dialog() override { destroyDialog(); }

  bool dialogExists() const { return window_ != nullptr && IsWindow(window_); }
  void setDialogTitle(const std::string& title);
  void setItemText(int controlId, const std::string& text);
  void showDialog();
  void destroyDialog();

 protected:
  // Creates the dialog without owner; onInitDialog runs before it returns
  // (and may already close it again).
  void createDialog(int templateId);
  // Runs the dialog modally over owner; the result given to endModal.
  INT_PTR runModal(int templateId, HWND owner);
  void endModal(INT_PTR result) { EndDialog(window_, result); }
  virtual bool onInitDialog() { return true; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  HINSTANCE instance_;
};

// The paths of files dropped on a window (CP949), in the order given; the
// drop is finished.
std::vector<std::string> droppedPaths(HDROP drop);

}  // namespace pom
