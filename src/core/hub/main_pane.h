// MainPane and PaneId: one view of the main window's panes (the trees, the
// lists, the notice page) as the main window drives it. The panes belong to
// their own modules and are handed to the main window through MainWindowLink.
#pragma once

namespace pom {

// One view of the main window's panes (trees, lists, the web page).
class MainPane {
 public:
  virtual ~MainPane() = default;
  virtual void setVisible(bool visible) = 0;
  // The window's outer size grew by (dw, dh) since the last resize.
  virtual void grow(int dw, int dh) = 0;
  // A splitter was dropped: x is the new vertical split (0: unchanged), y the
  // new horizontal split (0: unchanged).
  virtual void moveToSplit(int x, int y) = 0;
  // Paints what the pane draws on the window itself (skinned buttons).
  virtual void repaint() {}
  // The window's own mouse messages, in its client coordinates (a pane's
  // skinned buttons react to them).
  virtual void mouseMove(int x, int y) {}
  virtual void leftDown(int x, int y) {}
  virtual void leftUp(int x, int y) {}
  // Left button released anywhere: finish an item drag in progress.
  virtual void finishItemDrag() {}
};

enum class PaneId {
  LocalTree = 0,
  LocalList,
  WebTree,
  OwnList,
  SearchList,
  FolderList,
  WebPage,
  Count
};

}  // namespace pom
