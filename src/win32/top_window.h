// TopWindow: the program's one top-level window, class and title "Pomvale".
// It starts as the login window (308 x 245, centred with 300 as the height)
// and is turned into the main window in place when the login succeeds.
//
// Its procedure offers every message to ClientApp's fan-out first (socket
// notifications, the main window's command handler, the login window's
// mouse handler) and then does what only the window itself can: painting
// through the skin painter, transparent static controls, the minimum track
// size and resizing of the main layout, and the close command.
//
// Owns the painter shared by the login and main views. GUI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "win32/gdi_painter.h"
#include "win32/window.h"

namespace pom {

class TopWindow final : public Window {
 public:
  TopWindow(HINSTANCE instance, const std::string& fontFace);
  ~TopWindow() override;

  // Registers the class and creates the window, hidden; false on failure.
  bool createWindow();
  HINSTANCE instance() const { return instance_; }
  GdiPainter& painter() { return painter_; }

  // The member agreed to end the program (the exit code tells it apart from
  // a window destroyed for another reason).
  bool closedByMember() const { return closedByMember_; }

  // Client coordinates of the current cursor position.
  POINT cursorInClient() const;

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void onPaint() override;
  void onSize(int width, int height) override;
  bool onClose() override;
  void onDestroy() override;

 private:
  HINSTANCE instance_;
  HBRUSH background_ = nullptr;
  GdiPainter painter_;
  bool closedByMember_ = false;
  bool resizing_ = false;
};

}  // namespace pom
