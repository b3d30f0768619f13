#include "core/app/skin_button.h"

#include "core/app/skin_painter.h"

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
  state_ = SkinState::Normal;
  enabled_ = true;
  return true;
}

void SkinButton::destroy() {
  enabled_ = false;
  resourceId_ = -1;
  width_ = 0;
  height_ = 0;
  state_ = SkinState::Normal;
}

void SkinButton::paint() {
  if (!enabled_ || parent_ == nullptr || !parent_->windowValid()) return;
  const int frame = static_cast<int>(state_);
  parent_->copyBitmap(resourceId_, frame * width_, 0, width_, height_, x_, y_);
}

void SkinButton::setState(SkinState state, bool repaint) {
  state_ = state;
  if (repaint) paint();
}

bool SkinButton::hoverTest(int x, int y, bool restoreArrow) {
  if (!enabled_ || state_ == SkinState::Pressed) return false;
  if (rect().contains(x, y)) {
    setState(SkinState::Hover, true);
    return true;
  }
  if (state_ != SkinState::Normal) setState(SkinState::Normal, true);
  if (restoreArrow && parent_ != nullptr) parent_->setArrowCursor();
  return false;
}

bool SkinButton::pressTest(int x, int y) {
  if (!enabled_ || !rect().contains(x, y)) return false;
  setState(SkinState::Pressed, true);
  return true;
}

bool SkinButton::clickTest(int x, int y) {
  if (!enabled_) return false;
  if (!rect().contains(x, y)) {
    if (state_ != SkinState::Normal) setState(SkinState::Normal, true);
    return false;
  }
  if (state_ != SkinState::Pressed) return false;
  setState(SkinState::Clicked, true);
  return true;
}

bool SkinButton::repaintIfClickedTest(int x, int y) {
  if (!rect().contains(x, y)) {
    state_ = SkinState::Normal;
    return false;
  }
  if (state_ != SkinState::Clicked) return false;
  paint();
  return true;
}

}  // namespace pom
