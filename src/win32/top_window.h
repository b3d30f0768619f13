// TopWindow: the program's one top-level window, class and title "Pomvale".
// It starts as the login window (308 x 245, centred with 300 as the height)
// and is turned into the main window in place when the login succeeds.
//
// Its procedure offers every message to the application's fan-out first
// (socket notifications, the main window's command handler, the login
// window's mouse handler) and then does what only the window itself can:
// painting through the skin painter (the application's repaint-all),
// transparent static controls, and, once the main layout is there, the
// minimum track size, resizing and the close question, which it asks of the
// main window's view. Destroying it ends the program's loop with exit code 1.
//
// Owns the painter shared by the login and main views. GUI thread only.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "win32/gdi_painter.h"
#include "win32/window.h"

namespace pom {

class ClientApp;

// What the top window asks of the main layout once it is built.
class TopWindowLayout {
 public:
  virtual ~TopWindowLayout() = default;
  virtual bool layoutBuilt() const = 0;
  virtual void clientResized(int width, int height) = 0;
  // The close command: true when the member agreed to end the program.
  virtual bool confirmClose() = 0;
};

// A control on the top window that answers its own notifications (the
// parent receives them; the top window hands each to the control's target).
class NotifyTarget {
 public:
  virtual ~NotifyTarget() = default;
  // True when handled, with the answer in result.
  virtual bool onControlNotify(NMHDR* header, LRESULT& result) = 0;
};

class TopWindow final : public Window {
 public:
  TopWindow(HINSTANCE instance, const std::string& fontFace, ClientApp& app);
  ~TopWindow() override;

  // Registers the class and creates the window, hidden; false on failure.
  bool createWindow();
  HINSTANCE instance() const { return instance_; }
  GdiPainter& painter() { return painter_; }
  void setLayout(TopWindowLayout* layout) { layout_ = layout; }
  void addNotifyTarget(HWND control, NotifyTarget* target) { notifyTargets_[control] = target; }
  void removeNotifyTarget(HWND control) { notifyTargets_.erase(control); }

  // Client coordinates of the current cursor position.
  POINT cursorInClient() const;

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  bool onPaint() override;
  void onSize(int width, int height) override;
  bool onClose() override;
  bool onNotify(int id, NMHDR* header, LRESULT& result) override;
  void onDestroy() override;

 private:
  bool mainLayout() const { return layout_ != nullptr && layout_->layoutBuilt(); }

  HINSTANCE instance_;
  ClientApp& app_;
  TopWindowLayout* layout_ = nullptr;
  std::map<HWND, NotifyTarget*> notifyTargets_;
  HBRUSH background_ = nullptr;
  GdiPainter painter_;
  bool resizing_ = false;
};

}  // namespace pom
