#include "core/mainwindow/splitters.h"

namespace pom {

bool Splitters::insideVerticalBar(int x) const {
  return x > geometry_.verticalLeft && x < geometry_.verticalRight;
}

bool Splitters::insideHorizontalBar(int y) const {
  return y > geometry_.horizontalTop && y < geometry_.horizontalBottom;
}

bool Splitters::inVerticalRange(int y) const {
  return y > geometry_.verticalRangeTop && y < geometry_.verticalRangeBottom;
}

bool Splitters::inHorizontalRange(int x) const {
  return x > geometry_.horizontalRangeLeft && x < geometry_.horizontalRangeRight;
}

CursorShape Splitters::mouseMove(int x, int y) {
  if (verticalDrag_ || horizontalDrag_) {
    if (inHorizontalRange(x) && inVerticalRange(y)) {
      if (verticalDrag_ && horizontalDrag_) return CursorShape::SizeAll;
      return verticalDrag_ ? CursorShape::SizeWestEast : CursorShape::SizeNorthSouth;
    }
    verticalDrag_ = false;
    horizontalDrag_ = false;
    return CursorShape::Arrow;
  }
  if (insideVerticalBar(x) && insideHorizontalBar(y)) return CursorShape::SizeAll;
  if (insideVerticalBar(x) && inVerticalRange(y)) return CursorShape::SizeWestEast;
  if (insideHorizontalBar(y) && inHorizontalRange(x)) return CursorShape::SizeNorthSouth;
  return CursorShape::Arrow;
}

bool Splitters::leftDown(int x, int y, CursorShape& cursor) {
  if (insideVerticalBar(x) && insideHorizontalBar(y)) {
    verticalDrag_ = horizontalDrag_ = true;
    cursor = CursorShape::SizeAll;
    return true;
  }
  if (insideVerticalBar(x) && inVerticalRange(y)) {
    verticalDrag_ = true;
    cursor = CursorShape::SizeWestEast;
    return true;
  }
  if (insideHorizontalBar(y) && inHorizontalRange(x)) {
    horizontalDrag_ = true;
    cursor = CursorShape::SizeNorthSouth;
    return true;
  }
  return false;
}

SplitterDrop Splitters::leftUp(int x, int y, int width, int height) {
  SplitterDrop drop;
  if (verticalDrag_) {
    if (x < 100) x = 120;
    if (x > width - 150) x = width - 150;
    geometry_.verticalLeft = x;
    geometry_.verticalRight = x + 10;
    drop.x = x;
  }
  if (horizontalDrag_) {
    if (y < 200) y = 250;
    if (y > height - 150) y = height - 150;
    geometry_.horizontalTop = y;
    geometry_.horizontalBottom = y + 10;
    drop.y = y;
  }
  verticalDrag_ = false;
  horizontalDrag_ = false;
  return drop;
}

void Splitters::setRangeLimits(int windowWidth, int windowHeight) {
  geometry_.verticalRangeBottom = windowHeight;
  geometry_.horizontalRangeRight = windowWidth;
}

}  // namespace pom
