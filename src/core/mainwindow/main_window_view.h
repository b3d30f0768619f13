// MainWindowView and MainPane: the main window as its presenter sees it.
//
// The main window is the same top-level window as the login window, given
// the main layout when the login succeeds. The presenter runs the layout
// build, resizing, splitters, commands and status paint; the view creates the
// standard controls (search bar, group frames, the pane views), sizes the
// window, sets cursors and paints what the presenter hands it. Coordinates
// are client pixels of the window unless a name says "outer" or "screen".
//
// Panes (the six views and the embedded web page) are presenters of their
// own modules, handed to the main window with setPane; a pane that is not
// there yet is skipped.
#pragma once

#include <string>

#include "core/hub/main_pane.h"
#include "core/ui/skin_painter.h"
#include "core/ui/view_types.h"

namespace pom {

class WebPageView;

class MainWindowView {
 public:
  virtual ~MainWindowView() = default;

  virtual SkinPainter* painter() = 0;

  virtual void setWindowVisible(bool visible) = 0;
  // Radios "자연어검색" (345, 68) 95 x 15, id 3506, and "일반검색" (440, 68)
  // 70 x 15, id 3507, the second checked; edit (517, 64) 285 x 20 whose Enter runs
  // the search. Bold font on the three.
  virtual void createSearchBar() = 0;
  // Group frames (-10, 51) 314 x 39, (-10, 51) 4000 x 39 and the bottom
  // frame (-10, 662) 4000 x 100.
  virtual void createFrames() = 0;
  virtual void acceptDroppedFiles() = 0;
  // Initialises the common controls the pane views use.
  virtual void prepareControls() = 0;
  // The notice page: its frame and the hosted browser navigated once to url
  // (CP949), both hidden. The view owns it.
  virtual WebPageView* createWebPage(const std::string& url) = 0;

  // Adds caption, system menu, sizing border, minimize and maximize boxes to
  // the window style and returns the outer size of a w x h client area.
  virtual SkinSize outerSizeForClient(int clientWidth, int clientHeight) = 0;
  virtual void centerOnScreen(int outerWidth, int outerHeight) = 0;
  virtual void moveBottomFrame(int x, int y, int width, int height) = 0;
  // Resizes the window to the outer size and makes it not topmost.
  virtual void resizeWindow(int outerWidth, int outerHeight) = 0;
  // Redraws the frame and the bottom 100 pixels of a client area this high.
  virtual void redrawAfterResize(int clientHeight) = 0;

  virtual void setCursor(CursorShape shape) = 0;
  virtual void repaintAll() = 0;
  // Sends the window its own close command (Escape, the end button).
  virtual void requestClose() = 0;
  // Screen position of the window's top-left corner.
  virtual ScreenPoint screenPosition() = 0;

  // The status panel: a copy of the panel bitmap at (x, y) with the two
  // texts drawn on it in bold white at (115, 12) and (115, 32), composed off
  // screen and copied to the window.
  virtual void paintStatusPanel(int resourceId, int x, int y, const std::string& pointsText,
                                const std::string& connectionText) = 0;
};

}  // namespace pom
