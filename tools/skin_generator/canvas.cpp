#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace skin {
namespace {

double clamp01(double v) {
  return v < 0 ? 0 : (v > 1 ? 1 : v);
}

// Signed distance from p to a box of half size (hx, hy) centred on the origin
// with corners rounded by r: negative inside.
double roundBoxDistance(double px, double py, double hx, double hy, double r) {
  double qx = std::fabs(px) - (hx - r);
  double qy = std::fabs(py) - (hy - r);
  double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
}

void put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, unsigned v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
  t = clamp01(t);
  auto m = [t](int x, int y) { return static_cast<std::uint8_t>(std::lround(x + (y - x) * t)); };
  return Rgb{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Rgb Canvas::pixel(int x, int y) const {
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::blend(int x, int y, Rgb color, double alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  Rgb& p = pixels_[static_cast<size_t>(y) * width_ + x];
  p = mix(p, color, alpha);
}

void Canvas::fillRect(int x, int y, int w, int h, Rgb color) {
  for (int j = std::max(0, y); j < std::min(height_, y + h); ++j)
    for (int i = std::max(0, x); i < std::min(width_, x + w); ++i)
      pixels_[static_cast<size_t>(j) * width_ + i] = color;
}

void Canvas::verticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
  for (int j = 0; j < h; ++j) fillRect(x, y + j, w, 1, mix(top, bottom, h > 1 ? j / (h - 1.0) : 0));
}

void Canvas::horizontalGradient(int x, int y, int w, int h, Rgb left, Rgb right) {
  for (int i = 0; i < w; ++i) fillRect(x + i, y, 1, h, mix(left, right, w > 1 ? i / (w - 1.0) : 0));
}

void Canvas::frameRect(int x, int y, int w, int h, Rgb color) {
  fillRect(x, y, w, 1, color);
  fillRect(x, y + h - 1, w, 1, color);
  fillRect(x, y, 1, h, color);
  fillRect(x + w - 1, y, 1, h, color);
}

void Canvas::hline(int x, int y, int w, Rgb color, double alpha) {
  for (int i = x; i < x + w; ++i) blend(i, y, color, alpha);
}

void Canvas::fillRoundRect(double x, double y, double w, double h, double radius, Rgb color,
                           double alpha) {
  double cx = x + w / 2, cy = y + h / 2;
  radius = std::min(radius, std::min(w, h) / 2);
  for (int j = static_cast<int>(std::floor(y)); j < static_cast<int>(std::ceil(y + h)); ++j)
    for (int i = static_cast<int>(std::floor(x)); i < static_cast<int>(std::ceil(x + w)); ++i) {
      double d = roundBoxDistance(i + 0.5 - cx, j + 0.5 - cy, w / 2, h / 2, radius);
      blend(i, j, color, alpha * clamp01(0.5 - d));
    }
}

void Canvas::gradientRoundRect(double x, double y, double w, double h, double radius, Rgb top,
                               Rgb bottom) {
  double cx = x + w / 2, cy = y + h / 2;
  radius = std::min(radius, std::min(w, h) / 2);
  for (int j = static_cast<int>(std::floor(y)); j < static_cast<int>(std::ceil(y + h)); ++j) {
    Rgb c = mix(top, bottom, (j + 0.5 - y) / h);
    for (int i = static_cast<int>(std::floor(x)); i < static_cast<int>(std::ceil(x + w)); ++i) {
      double d = roundBoxDistance(i + 0.5 - cx, j + 0.5 - cy, w / 2, h / 2, radius);
      blend(i, j, c, clamp01(0.5 - d));
    }
  }
}

void Canvas::strokeRoundRect(double x, double y, double w, double h, double radius,
                             double thickness, Rgb color, double alpha) {
  double cx = x + w / 2, cy = y + h / 2;
  radius = std::min(radius, std::min(w, h) / 2);
  for (int j = static_cast<int>(std::floor(y)); j < static_cast<int>(std::ceil(y + h)); ++j)
    for (int i = static_cast<int>(std::floor(x)); i < static_cast<int>(std::ceil(x + w)); ++i) {
      double d = roundBoxDistance(i + 0.5 - cx, j + 0.5 - cy, w / 2, h / 2, radius);
      // Coverage of the band between the outline and `thickness` inside it.
      double cover = clamp01(0.5 - d) - clamp01(0.5 - (d + thickness));
      blend(i, j, color, alpha * cover);
    }
}

void Canvas::fillCircle(double cx, double cy, double radius, Rgb color, double alpha) {
  for (int j = static_cast<int>(cy - radius - 1); j <= static_cast<int>(cy + radius + 1); ++j)
    for (int i = static_cast<int>(cx - radius - 1); i <= static_cast<int>(cx + radius + 1); ++i) {
      double d = std::hypot(i + 0.5 - cx, j + 0.5 - cy) - radius;
      blend(i, j, color, alpha * clamp01(0.5 - d));
    }
}

void Canvas::strokeCircle(double cx, double cy, double radius, double thickness, Rgb color) {
  for (int j = static_cast<int>(cy - radius - 1); j <= static_cast<int>(cy + radius + 1); ++j)
    for (int i = static_cast<int>(cx - radius - 1); i <= static_cast<int>(cx + radius + 1); ++i) {
      double d = std::fabs(std::hypot(i + 0.5 - cx, j + 0.5 - cy) - radius) - thickness / 2;
      blend(i, j, color, clamp01(0.5 - d));
    }
}

void Canvas::fillPolygon(const std::vector<Point>& points, Rgb color, double alpha) {
  if (points.size() < 3) return;
  double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
  for (const Point& p : points) {
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  auto inside = [&points](double x, double y) {
    bool in = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const Point &a = points[i], &b = points[j];
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
  };
  // 4 x 4 samples per pixel give smooth enough edges at icon sizes.
  for (int j = static_cast<int>(std::floor(minY)); j < static_cast<int>(std::ceil(maxY)); ++j)
    for (int i = static_cast<int>(std::floor(minX)); i < static_cast<int>(std::ceil(maxX)); ++i) {
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) hits += inside(i + (sx + 0.5) / 4, j + (sy + 0.5) / 4);
      blend(i, j, color, alpha * hits / 16.0);
    }
}

void Canvas::line(Point a, Point b, double thickness, Rgb color) {
  double minX = std::min(a.x, b.x) - thickness, maxX = std::max(a.x, b.x) + thickness;
  double minY = std::min(a.y, b.y) - thickness, maxY = std::max(a.y, b.y) + thickness;
  double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  for (int j = static_cast<int>(minY); j <= static_cast<int>(maxY); ++j)
    for (int i = static_cast<int>(minX); i <= static_cast<int>(maxX); ++i) {
      double px = i + 0.5 - a.x, py = j + 0.5 - a.y;
      double t = len2 > 0 ? clamp01((px * dx + py * dy) / len2) : 0;
      double d = std::hypot(px - t * dx, py - t * dy) - thickness / 2;
      blend(i, j, color, clamp01(0.5 - d));
    }
}

void Canvas::drawMask(const Mask& mask, int x, int y, Rgb color, double alpha) {
  for (int j = 0; j < mask.height; ++j)
    for (int i = 0; i < mask.width; ++i) blend(x + i, y + j, color, alpha * mask.at(i, j) / 255.0);
}

void Canvas::paste(const Canvas& other, int x, int y) {
  for (int j = 0; j < other.height_; ++j)
    for (int i = 0; i < other.width_; ++i) blend(x + i, y + j, other.pixel(i, j), 1.0);
}

bool Canvas::writeBmp(const std::string& path) const {
  const unsigned stride = (static_cast<unsigned>(width_) * 3 + 3) & ~3u;
  const unsigned imageSize = stride * static_cast<unsigned>(height_);
  std::vector<std::uint8_t> out;
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  put32(out, 54 + imageSize);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);  // BITMAPINFOHEADER
  put32(out, static_cast<unsigned>(width_));
  put32(out, static_cast<unsigned>(height_));  // positive: bottom-up rows
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);  // BI_RGB
  put32(out, imageSize);
  put32(out, 2835);  // 72 dpi
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  for (int j = height_ - 1; j >= 0; --j) {
    for (int i = 0; i < width_; ++i) {
      Rgb p = pixel(i, j);
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
    for (unsigned pad = static_cast<unsigned>(width_) * 3; pad < stride; ++pad) out.push_back(0);
  }
  return writeFile(path, out);
}

bool writeIco(const std::string& path, const std::vector<IconImage>& images) {
  std::vector<std::vector<std::uint8_t>> bodies;
  for (const IconImage& image : images) {
    const Canvas& black = *image.onBlack;
    const Canvas& white = *image.onWhite;
    const unsigned w = static_cast<unsigned>(black.width()),
                   h = static_cast<unsigned>(black.height());
    const unsigned maskStride = ((w + 31) / 32) * 4;
    std::vector<std::uint8_t> body;
    put32(body, 40);
    put32(body, w);
    put32(body, h * 2);  // colour rows followed by the AND mask
    put16(body, 1);
    put16(body, 32);
    put32(body, 0);
    put32(body, w * h * 4 + maskStride * h);
    for (int k = 0; k < 4; ++k) put32(body, 0);
    std::vector<std::uint8_t> alphas;
    for (int j = static_cast<int>(h) - 1; j >= 0; --j)
      for (unsigned i = 0; i < w; ++i) {
        Rgb b = black.pixel(static_cast<int>(i), j), wh = white.pixel(static_cast<int>(i), j);
        int alpha = 255 - (wh.g - b.g);
        alpha = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
        auto unmix = [alpha](int c) {
          return static_cast<std::uint8_t>(alpha == 0 ? 0 : std::min(255, c * 255 / alpha));
        };
        body.push_back(unmix(b.b));
        body.push_back(unmix(b.g));
        body.push_back(unmix(b.r));
        body.push_back(static_cast<std::uint8_t>(alpha));
        alphas.push_back(static_cast<std::uint8_t>(alpha));
      }
    for (unsigned j = 0; j < h; ++j) {
      std::vector<std::uint8_t> row(maskStride, 0);
      for (unsigned i = 0; i < w; ++i)
        if (alphas[j * w + i] < 128) row[i / 8] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
      body.insert(body.end(), row.begin(), row.end());
    }
    bodies.push_back(std::move(body));
  }
  std::vector<std::uint8_t> out;
  put16(out, 0);
  put16(out, 1);  // icon
  put16(out, static_cast<unsigned>(images.size()));
  unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
  for (size_t k = 0; k < images.size(); ++k) {
    out.push_back(static_cast<std::uint8_t>(images[k].onBlack->width()));
    out.push_back(static_cast<std::uint8_t>(images[k].onBlack->height()));
    out.push_back(0);
    out.push_back(0);
    put16(out, 1);
    put16(out, 32);
    put32(out, static_cast<unsigned>(bodies[k].size()));
    put32(out, offset);
    offset += static_cast<unsigned>(bodies[k].size());
  }
  for (const auto& body : bodies) out.insert(out.end(), body.begin(), body.end());
  return writeFile(path, out);
}

}  // namespace skin
