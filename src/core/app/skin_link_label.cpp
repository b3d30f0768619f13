#include "core/app/skin_link_label.h"

#include "core/ports/shell.h"

namespace pom {

void SkinLinkLabel::attach(int x, int y, SkinPainter* parent, Shell* shell) {
  parent_ = parent;
  shell_ = shell;
  x_ = x;
  y_ = y;
  width_ = 0;
  height_ = 0;
  state_ = SkinState::Normal;
  enabled_ = true;
}

void SkinLinkLabel::destroy() {
  enabled_ = false;
  parent_ = nullptr;
}

void SkinLinkLabel::setText(const std::string& text) {
  text_ = text.substr(0, kTextCapacity - 1);
}

void SkinLinkLabel::setLink(const std::string& link) {
  link_ = link.substr(0, kTextCapacity - 1);
}

void SkinLinkLabel::paint() {
  if (!enabled_ || parent_ == nullptr || !parent_->windowValid()) return;
  const bool lit = state_ == SkinState::Hover || state_ == SkinState::Pressed;
  const SkinSize extent =
      parent_->drawText(text_, x_, y_, font_, lit ? SkinColor::Blue : SkinColor::Black);
  width_ = extent.width;
  height_ = extent.height;
}

void SkinLinkLabel::setState(SkinState state, bool repaint) {
  state_ = state;
  if (repaint) paint();
}

bool SkinLinkLabel::hoverTest(int x, int y) {
  if (!enabled_ || state_ == SkinState::Pressed) return false;
  if (rect().contains(x, y)) {
    setState(SkinState::Hover, true);
    return true;
  }
  if (state_ != SkinState::Normal) setState(SkinState::Normal, true);
  return false;
}

bool SkinLinkLabel::pressTest(int x, int y) {
  if (!enabled_ || !rect().contains(x, y)) return false;
  setState(SkinState::Pressed, true);
  return true;
}

bool SkinLinkLabel::clickTest(int x, int y) {
  if (!enabled_) return false;
  if (!rect().contains(x, y)) {
    if (state_ != SkinState::Normal) setState(SkinState::Normal, true);
    return false;
  }
  if (state_ != SkinState::Pressed) return false;
  setState(SkinState::Clicked, true);
  if (shell_ != nullptr) shell_->execute("open", "IEXPLORE.EXE", link_, ShowMode::Maximized);
  return true;
}

bool SkinLinkLabel::repaintIfClickedTest(int x, int y) {
  if (!rect().contains(x, y)) {
    state_ = SkinState::Normal;
    return false;
  }
  if (state_ != SkinState::Clicked) return false;
  paint();
  return true;
}

}  // namespace pom
