// GdiPainter: the SkinPainter of one window on GDI. Bitmaps are loaded from
// the program's resources by number the first time they are asked for and
// kept, each selected into its own memory context, until the painter dies.
//
// Drawing goes to the window's paint context while a PaintScope is open (the
// window's WM_PAINT) and otherwise straight to a fresh window context, so
// skinned controls may repaint themselves from a mouse handler.
//
// Fonts: the normal and bold faces from "font.ini" (height 12, not
// anti-aliased, variable pitch), owned here. GUI thread only.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "core/ui/skin_painter.h"

namespace pom {

// The program's text font: face from "font.ini", height 12, the given weight.
HFONT createSkinFont(const std::string& faceCp949, int weight);

class GdiPainter final : public SkinPainter {
 public:
  GdiPainter(HINSTANCE instance, const std::string& fontFace);
  ~GdiPainter() override;
  GdiPainter(const GdiPainter&) = delete;
  GdiPainter& operator=(const GdiPainter&) = delete;

  void setWindow(HWND window) { window_ = window; }
  HWND window() const { return window_; }
  HFONT font(SkinFont which) const { return which == SkinFont::Bold ? bold_ : normal_; }

  bool bitmapSize(int resourceId, SkinSize& size) override;
  bool windowValid() override;
  void copyBitmap(int resourceId, int srcX, int srcY, int width, int height, int x, int y) override;
  void stretchBitmap(int resourceId, int x, int y, int width, int height) override;
  void setArrowCursor() override;
  SkinSize drawText(const std::string& text, int x, int y, SkinFont font, SkinColor color) override;

  // The memory context holding a bitmap (null when there is no such resource).
  HDC bitmapContext(int resourceId);
  // Copies width x height pixels of another context to (x, y) of the target.
  void copyFrom(HDC source, int width, int height, int x, int y);

  // While alive, drawing goes to dc (the paint context, or an off-screen one).
  class Scope {
   public:
    Scope(GdiPainter& painter, HDC dc) : painter_(painter), previous_(painter.target_) {
      painter.target_ = dc;
    }
    ~Scope() { painter_.target_ = previous_; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    GdiPainter& painter_;
    HDC previous_;
  };

 private:
  struct Loaded {
    HBITMAP bitmap = nullptr;
    HDC context = nullptr;
    HGDIOBJ previous = nullptr;
    SkinSize size;
  };
  const Loaded* load(int resourceId);
  // Runs draw with the current target, or a window context made for it.
  template <typename Draw>
  void withTarget(Draw draw);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HDC target_ = nullptr;
  HFONT normal_ = nullptr;
  HFONT bold_ = nullptr;
  std::map<int, Loaded> bitmaps_;
};

}  // namespace pom
