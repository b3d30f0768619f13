// Small value types the presenters and their views share: screen points,
// rectangles in client pixels, and the cursor shapes the program sets.
#pragma once

namespace pom {

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

struct PaneRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

enum class CursorShape { Arrow, SizeAll, SizeWestEast, SizeNorthSouth };

}  // namespace pom
