// MainWindowLink: what the main-window module offers the other modules, and
// the right-pane mode they switch.
#pragma once

#include <string>

#include "core/hub/main_pane.h"
#include "core/ui/skin_painter.h"
#include "core/ui/view_types.h"

namespace pom {

// Which of the four right-pane views is shown.
enum class RightPaneMode { NoticePage = 0, OwnList = 1, SearchList = 2, FolderList = 3 };

class MainWindowLink {
 public:
  static constexpr char kLinkName[] = "MainWindowLink";
  virtual ~MainWindowLink() = default;

  // The main layout is built once, when the first login is accepted.
  virtual bool layoutBuilt() const = 0;
  virtual void buildLayout() = 0;
  // Shows (and updates) or hides the window.
  virtual void setVisible(bool visible) = 0;
  // Paints buttons, images, the member line and the status panel.
  virtual void paint() = 0;
  // Invalidates the whole window so that it repaints (a new balance, say).
  virtual void redraw() = 0;
  // Screen position of the window's top-left corner.
  virtual ScreenPoint screenPosition() = 0;
  // The window's drawing surface, for the skinned buttons of the panes
  // (null without a window).
  virtual SkinPainter* painter() = 0;

  // A pane of another module joins the window (it is moved, shown and told
  // of splitter drops with the others).
  virtual void setPane(PaneId id, MainPane* pane) = 0;
  // Repaints the window (a new caption, say) and shows, updates and focuses it.
  virtual void showAndFocus() = 0;

  virtual RightPaneMode rightPaneMode() const = 0;
  virtual void setRightPaneMode(RightPaneMode mode) = 0;

  // The download folder; when it is unset or missing, "c:\PomDownLoad\" is
  // made and becomes it.
  virtual std::string ensureDownloadFolder() = 0;
};

}  // namespace pom
