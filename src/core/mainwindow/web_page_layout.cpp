#include "core/mainwindow/web_page_layout.h"

namespace pom {

void WebPagePane::attach(WebPageView* view) {
  view_ = view;
  place();
}

void WebPagePane::place() {
  if (view_ != nullptr) view_->place(layout_.frame(), layout_.page());
}

void WebPagePane::setVisible(bool visible) {
  if (view_ != nullptr) view_->setVisible(visible);
}

void WebPagePane::grow(int dw, int) {
  layout_.grow(dw);
  place();
}

void WebPagePane::moveToSplit(int x, int y) {
  layout_.moveToSplit(x, y);
  place();
}

}  // namespace pom
