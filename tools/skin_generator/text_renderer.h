// TextRenderer: turns a UTF-8 label into an anti-aliased coverage mask with a
// real Korean font (NanumGothic from fonts-nanum), by running ImageMagick's
// convert as a child process. Masks are cached per (text, size, weight).
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "canvas.h"

namespace skin {

enum class Weight { Regular, Bold, ExtraBold };

class TextRenderer {
 public:
  // Empty when the font or convert is missing (the caller reports it).
  const Mask& render(const std::string& utf8, int pixelSize, Weight weight);
  bool failed() const { return failed_; }

 private:
  std::string fontFile(Weight weight);
  std::map<std::tuple<std::string, int, Weight>, Mask> cache_;
  std::map<Weight, std::string> fonts_;
  bool failed_ = false;
};

// Draws text with its box centred on (cx, cy).
void drawTextCentred(Canvas& canvas, TextRenderer& text, const std::string& utf8, double cx,
                     double cy, int pixelSize, Weight weight, Rgb color, double alpha = 1.0);
// Draws text with its box's left edge at x and centred vertically on cy.
void drawTextLeft(Canvas& canvas, TextRenderer& text, const std::string& utf8, int x, double cy,
                  int pixelSize, Weight weight, Rgb color, double alpha = 1.0);

}  // namespace skin
