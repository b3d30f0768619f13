#include "core/ui/skin_link_label.h"

#include "core/base/text_utils.h"
#include "core/ports/shell.h"

namespace pom {

void SkinLinkLabel::attach(int x, int y, SkinPainter* parent, Shell* shell) {
  parent_ = parent;
  shell_ = shell;
  x_ = x;
  y_ = y;
  width_ = 0;
  height_ = 0;
  pointer_.reset();
  enabled_ = true;
}

void SkinLinkLabel::destroy() {
  enabled_ = false;
  parent_ = nullptr;
}

void SkinLinkLabel::setText(const std::string& text) {
  text_ = cutText(text, kTextCapacity - 1);
}

void SkinLinkLabel::setLink(const std::string& link) {
  link_ = cutText(link, kTextCapacity - 1);
}

void SkinLinkLabel::paint() {
  if (!enabled_ || parent_ == nullptr || !parent_->windowValid()) return;
  const bool lit = pointer_.state() == SkinState::Hover || pointer_.state() == SkinState::Pressed;
  const SkinSize extent =
      parent_->drawText(text_, x_, y_, font_, lit ? SkinColor::Blue : SkinColor::Black);
  width_ = extent.width;
  height_ = extent.height;
}

bool SkinLinkLabel::apply(SkinPointer::Outcome outcome) {
  if (outcome.repaint) paint();
  return outcome.consumed;
}

bool SkinLinkLabel::hoverTest(int x, int y) {
  return enabled_ && apply(pointer_.hover(rect().contains(x, y)));
}

bool SkinLinkLabel::pressTest(int x, int y) {
  return enabled_ && apply(pointer_.press(rect().contains(x, y)));
}

bool SkinLinkLabel::clickTest(int x, int y) {
  if (!enabled_ || !apply(pointer_.click(rect().contains(x, y)))) return false;
  if (shell_ != nullptr) shell_->execute("open", "IEXPLORE.EXE", link_, ShowMode::Maximized);
  return true;
}

bool SkinLinkLabel::repaintIfClickedTest(int x, int y) {
  return apply(pointer_.repaintIfClicked(rect().contains(x, y)));
}

}  // namespace pom
