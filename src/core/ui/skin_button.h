// SkinButton: a four-state bitmap button without a window of its own.
//
// The bitmap holds four frames side by side (normal, hover, pressed,
// clicked); the frame drawn is the current state. The owner forwards the
// parent window's mouse events as client coordinates (taken from the system
// cursor) and runs the command when clickTest returns true. A button that is
// not loaded, or disabled, neither draws nor reacts.
#pragma once

#include "core/ui/skin_pointer.h"

namespace pom {

class SkinPainter;

struct SkinRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  // Inclusive at the top-left edge, exclusive at the bottom-right.
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

class SkinButton {
 public:
  // Measures the bitmap through the painter (one frame is a quarter of its
  // width), places the button and enables it. False when the bitmap is missing.
  bool load(int x, int y, SkinPainter* parent, int resourceId);
  void destroy();

  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }

  void paint();
  // Each test returns true when it consumed the event.
  // restoreArrow: set the arrow cursor when the pointer is outside.
  bool hoverTest(int x, int y, bool restoreArrow = false);
  bool pressTest(int x, int y);
  bool clickTest(int x, int y);
  bool repaintIfClickedTest(int x, int y);

  void setPosition(int x, int y) {
    x_ = x;
    y_ = y;
  }
  int x() const { return x_; }
  int y() const { return y_; }
  SkinRect rect() const { return {x_, y_, x_ + width_, y_ + height_}; }
  int width() const { return width_; }
  int height() const { return height_; }
  SkinState state() const { return pointer_.state(); }
  int resourceId() const { return resourceId_; }

 private:
  bool apply(SkinPointer::Outcome outcome);

  SkinPainter* parent_ = nullptr;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool enabled_ = false;
  SkinPointer pointer_;
  int resourceId_ = -1;
};

}  // namespace pom
