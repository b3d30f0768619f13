// PaneLayout: where one pane of the main window sits, and how it follows the
// window's growth and the two splitters.
//
// The vertical bar (initially x 230 to 236) divides the left column (the
// trees) from the right area; the horizontal bar (y 365 to 375) divides the
// upper panes from the lower ones. A pane left of the bar ends 2 pixels
// before it; one right of it starts 6 after its left edge and keeps its right
// edge. An upper pane ends 1 pixel below the bar's top; a lower one starts
// 10 below it and keeps its bottom. Growing the window widens the right
// panes and heightens the lower ones.
#pragma once

#include "core/ui/view_types.h"

namespace pom {

struct PaneLayout {
  enum class Side { Left, Right };
  enum class Band { Upper, Lower };

  PaneRect rect;
  Side side = Side::Right;
  Band band = Band::Upper;

  // The outer size grew by (dw, dh).
  void grow(int dw, int dh) {
    if (side == Side::Right) rect.width += dw;
    if (band == Band::Lower) rect.height += dh;
  }
  // A splitter was dropped: x the new vertical bar's left edge, y the
  // horizontal bar's top (0: that bar did not move).
  void moveToSplit(int x, int y) {
    if (x != 0) {
      if (side == Side::Left) {
        rect.width = x - 2 - rect.x;
      } else {
        const int right = rect.x + rect.width;
        rect.x = x + 6;
        rect.width = right - rect.x;
      }
    }
    if (y != 0) {
      if (band == Band::Upper) {
        rect.height = y + 1 - rect.y;
      } else {
        const int bottom = rect.y + rect.height;
        rect.y = y + 10;
        rect.height = bottom - rect.y;
      }
    }
  }
};

}  // namespace pom
