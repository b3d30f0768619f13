#include "core/ui/skin_button.h"

#include "core/ui/skin_painter.h"

namespace pom {

bool SkinButton::load(int x, int y, SkinPainter* parent, int resourceId) {
  parent_ = parent;
  x_ = x;
  y_ = y;
  SkinSize size;
  if (parent_ == nullptr || !parent_->bitmapSize(resourceId, size)) return false;
  resourceId_ = resourceId;
  width_ = size.width / 4;  // four frames side by side
  height_ = size.height;
  pointer_.reset();
  enabled_ = true;
  return true;
}

void SkinButton::destroy() {
  enabled_ = false;
  resourceId_ = -1;
  width_ = 0;
  height_ = 0;
  pointer_.reset();
}

void SkinButton::paint() {
  if (!enabled_ || parent_ == nullptr || !parent_->windowValid()) return;
  const int frame = static_cast<int>(pointer_.state());
  parent_->copyBitmap(resourceId_, frame * width_, 0, width_, height_, x_, y_);
}

bool SkinButton::apply(SkinPointer::Outcome outcome) {
  if (outcome.repaint) paint();
  return outcome.consumed;
}

bool SkinButton::hoverTest(int x, int y, bool restoreArrow) {
  if (!enabled_ || pointer_.state() == SkinState::Pressed) return false;
  const bool inside = rect().contains(x, y);
  const bool consumed = apply(pointer_.hover(inside));
  if (!inside && restoreArrow && parent_ != nullptr) parent_->setArrowCursor();
  return consumed;
}

bool SkinButton::pressTest(int x, int y) {
  return enabled_ && apply(pointer_.press(rect().contains(x, y)));
}

bool SkinButton::clickTest(int x, int y) {
  return enabled_ && apply(pointer_.click(rect().contains(x, y)));
}

bool SkinButton::repaintIfClickedTest(int x, int y) {
  return apply(pointer_.repaintIfClicked(rect().contains(x, y)));
}

}  // namespace pom
