// Canvas: a 24-bit RGB raster with the few anti-aliased primitives the skin
// needs (gradients, rounded boxes, circles, polygons, alpha masks for text),
// and writers for the two file formats the resource compiler takes: a
// bottom-up 24-bit .bmp and a 32-bit .ico with 16x16 and 32x32 images.
//
// Host tool only: nothing here runs inside the client.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skin {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

constexpr Rgb rgb(unsigned hex) {
  return Rgb{static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8),
             static_cast<std::uint8_t>(hex)};
}
Rgb mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b

struct Point {
  double x, y;
};

// An 8-bit coverage mask (text, glyphs) placed by its owner.
struct Mask {
  int width = 0, height = 0;
  std::vector<std::uint8_t> alpha;
  std::uint8_t at(int x, int y) const { return alpha[static_cast<size_t>(y) * width + x]; }
};

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill = Rgb{});

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb pixel(int x, int y) const;
  void blend(int x, int y, Rgb color, double alpha);

  void fillRect(int x, int y, int w, int h, Rgb color);
  void verticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
  void horizontalGradient(int x, int y, int w, int h, Rgb left, Rgb right);
  void frameRect(int x, int y, int w, int h, Rgb color);
  void hline(int x, int y, int w, Rgb color, double alpha = 1.0);

  // Anti-aliased shapes; coordinates are pixel edges, so (0, 0, w, h) covers
  // exactly w x h pixels.
  void fillRoundRect(double x, double y, double w, double h, double radius, Rgb color,
                     double alpha = 1.0);
  void gradientRoundRect(double x, double y, double w, double h, double radius, Rgb top,
                         Rgb bottom);
  void strokeRoundRect(double x, double y, double w, double h, double radius, double thickness,
                       Rgb color, double alpha = 1.0);
  void fillCircle(double cx, double cy, double radius, Rgb color, double alpha = 1.0);
  void strokeCircle(double cx, double cy, double radius, double thickness, Rgb color);
  void fillPolygon(const std::vector<Point>& points, Rgb color, double alpha = 1.0);
  void line(Point a, Point b, double thickness, Rgb color);

  void drawMask(const Mask& mask, int x, int y, Rgb color, double alpha = 1.0);
  // Copies another canvas in at (x, y), clipped.
  void paste(const Canvas& other, int x, int y);

  bool writeBmp(const std::string& path) const;

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
};

// Writes an icon file of 32-bit images. Each image is given twice, drawn on
// black and on white: the difference yields the alpha of every pixel, so
// anti-aliased edges stay clean on any background.
struct IconImage {
  const Canvas* onBlack;
  const Canvas* onWhite;
};
bool writeIco(const std::string& path, const std::vector<IconImage>& images);

}  // namespace skin
