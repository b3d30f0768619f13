#include "core/ui/skin_image.h"

#include "core/ui/skin_painter.h"

namespace pom {

bool SkinImage::load(int x, int y, SkinPainter* painter, int resourceId) {
  x_ = x;
  y_ = y;
  SkinSize size;
  if (painter == nullptr || !painter->bitmapSize(resourceId, size)) return false;
  resourceId_ = resourceId;
  bitmapWidth_ = drawnWidth_ = size.width;
  bitmapHeight_ = drawnHeight_ = size.height;
  visible_ = true;
  return true;
}

void SkinImage::destroy() {
  visible_ = false;
  resourceId_ = -1;
}

void SkinImage::paint(SkinPainter* painter) const {
  drawAt(painter, x_, y_);
}

void SkinImage::drawAt(SkinPainter* painter, int x, int y) const {
  if (!visible_ || painter == nullptr || !painter->windowValid()) return;
  painter->stretchBitmap(resourceId_, x, y, drawnWidth_, drawnHeight_);
}

}  // namespace pom
