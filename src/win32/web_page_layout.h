// WebPageLayout: where the embedded notice page and its frame sit. The page
// starts at left 236, top 95, 640 x 268 and sits at (left + 4, top + 2); its
// frame is 2 further left, 10 higher, 4 wider and 15 taller. A dropped
// splitter moves the page's left edge (x) or its bottom (y); growing the
// main window widens the page but never makes it taller.
#pragma once

namespace pom {

struct PaneRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct WebPageLayout {
  int left = 236;
  int top = 95;
  int width = 640;
  int height = 268;

  PaneRect page() const { return {left + 4, top + 2, width, height}; }
  PaneRect frame() const { return {left - 2, top - 10, width + 4, height + 15}; }

  // A splitter was dropped: x the new vertical split (0: unchanged), y the
  // new horizontal split (0: unchanged).
  void moveToSplit(int x, int y) {
    if (x != 0) {
      width += left - x - 8;
      left = x + 8;
    }
    if (y != 0) height = y - top - 2;
  }
  // The main window's outer width grew by dw.
  void grow(int dw) { width += dw; }
};

}  // namespace pom
