// SkinLinkLabel: one line of text that opens its link address when clicked.
//
// Its size is measured from the text at every paint, so before the first
// paint it is 0 x 0 and reacts to nothing. Blue while hovered or pressed,
// black otherwise. On a click it opens the link through the Shell port with
// the browser program, maximised.
#pragma once

#include <cstddef>
#include <string>

#include "core/ui/skin_button.h"
#include "core/ui/skin_painter.h"

namespace pom {

class Shell;
class SkinPainter;

class SkinLinkLabel {
 public:
  static constexpr std::size_t kTextCapacity = 1024;  // bytes, terminator included

  void attach(int x, int y, SkinPainter* parent, Shell* shell);
  void destroy();

  // Both are cut to 1,023 bytes.
  void setText(const std::string& text);
  void setLink(const std::string& link);
  void setFont(SkinFont font) { font_ = font; }
  const std::string& text() const { return text_; }
  const std::string& link() const { return link_; }

  bool isEnabled() const { return enabled_; }
  void paint();
  bool hoverTest(int x, int y);
  bool pressTest(int x, int y);
  // On a click also opens the link.
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

 private:
  bool apply(SkinPointer::Outcome outcome);

  SkinPainter* parent_ = nullptr;
  Shell* shell_ = nullptr;
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool enabled_ = false;
  SkinPointer pointer_;
  SkinFont font_ = SkinFont::Normal;
  std::string text_;
  std::string link_;
};

}  // namespace pom
