// Splitters: the vertical and horizontal bars of the main window that the
// member drags to resize the panes. Pure geometry and drag state: the main
// window's presenter feeds it every mouse move, left-button down and up (in
// client coordinates taken from the cursor) and applies what it returns.
//
// Bars: vertical from x 230 to 236, reacting for y in (100, 700);
// horizontal from y 365 to 375, reacting for x in (10, 800). After each
// resize the vertical range's lower limit becomes the window height and the
// horizontal range's right limit the window width. All comparisons strict.
#pragma once

#include "core/mainwindow/main_window_view.h"

namespace pom {

struct SplitterGeometry {
  int verticalLeft = 230;
  int verticalRight = 236;
  int horizontalTop = 365;
  int horizontalBottom = 375;
  int verticalRangeTop = 100;  // y range in which the vertical bar reacts
  int verticalRangeBottom = 700;
  int horizontalRangeLeft = 10;  // x range in which the horizontal bar reacts
  int horizontalRangeRight = 800;
};

// What a button release did: the new split positions (0: that bar did not
// move).
struct SplitterDrop {
  int x = 0;
  int y = 0;
  bool moved() const { return x != 0 || y != 0; }
};

class Splitters {
 public:
  // Returns the cursor to show.
  CursorShape mouseMove(int x, int y);
  // Returns the cursor to show when a drag started, nothing otherwise.
  bool leftDown(int x, int y, CursorShape& cursor);
  // Ends the drags; width and height are the window's last outer size.
  SplitterDrop leftUp(int x, int y, int width, int height);

  void setRangeLimits(int windowWidth, int windowHeight);

  const SplitterGeometry& geometry() const { return geometry_; }
  bool verticalDrag() const { return verticalDrag_; }
  bool horizontalDrag() const { return horizontalDrag_; }

 private:
  bool insideVerticalBar(int x) const;
  bool insideHorizontalBar(int y) const;
  bool inVerticalRange(int y) const;
  bool inHorizontalRange(int x) const;

  SplitterGeometry geometry_;
  bool verticalDrag_ = false;
  bool horizontalDrag_ = false;
};

}  // namespace pom
