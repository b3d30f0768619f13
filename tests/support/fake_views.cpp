#include "fake_views.h"

namespace pom {

bool FakePainter::bitmapSize(int resourceId, SkinSize& size) {
  const auto found = sizes.find(resourceId);
  if (found != sizes.end()) {
    size = found->second;
    return true;
  }
  if (missingIsError) return false;
  size = SkinSize{40, 20};
  return true;
}

void FakePainter::copyBitmap(int resourceId, int srcX, int srcY, int width, int height, int x,
                             int y) {
  ops.push_back("copy " + std::to_string(resourceId) + " from " + std::to_string(srcX) + "," +
                std::to_string(srcY) + " " + std::to_string(width) + "x" + std::to_string(height) +
                " at " + std::to_string(x) + "," + std::to_string(y));
}

void FakePainter::stretchBitmap(int resourceId, int x, int y, int width, int height) {
  ops.push_back("stretch " + std::to_string(resourceId) + " at " + std::to_string(x) + "," +
                std::to_string(y) + " " + std::to_string(width) + "x" + std::to_string(height));
}

SkinSize FakePainter::drawText(const std::string& text, int x, int y, SkinFont font,
                               SkinColor color) {
  const char* colour = color == SkinColor::Blue    ? "blue"
                       : color == SkinColor::White ? "white"
                                                   : "black";
  ops.push_back("text " + text + " at " + std::to_string(x) + "," + std::to_string(y) + " " +
                (font == SkinFont::Bold ? "bold " : "") + colour);
  return textExtent;
}

void FakeMainWindowView::paintStatusPanel(int resourceId, int x, int y, const std::string& points,
                                          const std::string& connection) {
  calls.push_back("statusPanel " + std::to_string(resourceId) + " at " + std::to_string(x) + "," +
                  std::to_string(y));
  pointsText = points;
  connectionText = connection;
}

}  // namespace pom
