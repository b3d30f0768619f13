// LocalPane: the local tree or list as a pane of the main window (the lower
// band; the tree left of the vertical bar, the list right of it). The pane
// keeps its rectangle and has its view follow the window's growth and the
// splitters; the 23 pixels above the rectangle hold the pane's caption.
// Loop thread only.
#pragma once

#include "core/hub/main_pane.h"
#include "core/ui/pane_layout.h"

namespace pom {

// What a local view does as a pane.
class LocalPaneView {
 public:
  virtual ~LocalPaneView() = default;
  virtual void place(const PaneRect& rect) = 0;
  virtual void setVisible(bool visible) = 0;
};

class LocalPane final : public MainPane {
 public:
  static constexpr int kCaptionHeight = 23;

  LocalPane(PaneRect rect, PaneLayout::Side side) {
    layout_.rect = rect;
    layout_.side = side;
    layout_.band = PaneLayout::Band::Lower;
  }

  void attach(LocalPaneView* view) {
    view_ = view;
    place();
  }
  const PaneRect& rect() const { return layout_.rect; }

  void setVisible(bool visible) override {
    if (view_ != nullptr) view_->setVisible(visible);
  }
  void grow(int dw, int dh) override {
    layout_.grow(dw, dh);
    place();
  }
  void moveToSplit(int x, int y) override {
    layout_.moveToSplit(x, y);
    // A lower pane starts below its caption, not right under the bar.
    if (y != 0) {
      layout_.rect.y += kCaptionHeight;
      layout_.rect.height -= kCaptionHeight;
    }
    place();
  }

 private:
  void place() {
    if (view_ != nullptr) view_->place(layout_.rect);
  }

  PaneLayout layout_;
  LocalPaneView* view_ = nullptr;
};

}  // namespace pom
