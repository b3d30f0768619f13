// SkinPainter: the drawing surface of one window, as the skinned controls
// see it. The Win32 side implements it per window (bitmaps loaded from the
// program's resources by number, drawn onto that window's client area);
// tests implement it with a recorder.
//
// The skinned controls decide what to draw and when; the painter only puts
// pixels on the window. Coordinates are client pixels of the window.
#pragma once

#include <string>

namespace pom {

struct SkinSize {
  int width = 0;
  int height = 0;
};

enum class SkinFont { Normal, Bold };

// Text colours the skinned controls use.
enum class SkinColor { Black, White, Blue };

class SkinPainter {
 public:
  virtual ~SkinPainter() = default;

  // Loads the bitmap resource (once) and reports its full size; false when
  // there is no such resource.
  virtual bool bitmapSize(int resourceId, SkinSize& size) = 0;

  // False while the window does not exist (or no longer does): nothing draws.
  virtual bool windowValid() = 0;

  // Copies width x height pixels from (srcX, srcY) of the bitmap to (x, y).
  virtual void copyBitmap(int resourceId, int srcX, int srcY, int width, int height, int x,
                          int y) = 0;

  // Draws the whole bitmap stretched to (x, y, width, height).
  virtual void stretchBitmap(int resourceId, int x, int y, int width, int height) = 0;

  // The standard arrow cursor, set by a hover test when the pointer leaves.
  virtual void setArrowCursor() = 0;

  // Draws text with a transparent background and returns its extent.
  virtual SkinSize drawText(const std::string& text, int x, int y, SkinFont font,
                            SkinColor color) = 0;
};

}  // namespace pom
