// SkinImage: a static bitmap drawn stretched to its drawn size. It keeps no
// parent: the owner names the painter at each paint (the main window also
// composes its status panel through it off screen).
#pragma once

#include "core/ui/skin_button.h"

namespace pom {

class SkinPainter;

class SkinImage {
 public:
  // Measures the bitmap, places the image and makes it visible.
  bool load(int x, int y, SkinPainter* painter, int resourceId);
  void destroy();

  bool isVisible() const { return visible_; }
  void setVisible(bool visible) { visible_ = visible; }

  // Draws at its own position, or at (x, y), onto the given painter.
  void paint(SkinPainter* painter) const;
  void drawAt(SkinPainter* painter, int x, int y) const;

  void setPosition(int x, int y) {
    x_ = x;
    y_ = y;
  }
  int x() const { return x_; }
  int y() const { return y_; }
  SkinRect rect() const { return {x_, y_, x_ + drawnWidth_, y_ + drawnHeight_}; }
  int width() const { return drawnWidth_; }
  int height() const { return drawnHeight_; }
  void setDrawnWidth(int width) { drawnWidth_ = width; }
  int bitmapWidth() const { return bitmapWidth_; }
  int bitmapHeight() const { return bitmapHeight_; }
  int resourceId() const { return resourceId_; }

 private:
  int x_ = 0;
  int y_ = 0;
  int bitmapWidth_ = 0;
  int bitmapHeight_ = 0;
  int drawnWidth_ = 0;
  int drawnHeight_ = 0;
  bool visible_ = false;
  int resourceId_ = -1;
};

}  // namespace pom
