// WebPageLayout and WebPagePane: where the embedded notice page and its frame
// sit, and the pane that keeps them there.
//
// The page starts at left 236, top 95, 640 x 268 and sits at (left + 4,
// top + 2); its frame is 2 further left, 10 higher, 4 wider and 15 taller. A
// dropped splitter moves the page's left edge (x) or its bottom (y); growing
// the main window widens the page but never makes it taller.
#pragma once

#include "core/mainwindow/main_window_view.h"
#include "core/ui/view_types.h"

namespace pom {

struct WebPageLayout {
  int left = 236;
  int top = 95;
  int width = 640;
  int height = 268;

  PaneRect page() const { return {left + 4, top + 2, width, height}; }
  PaneRect frame() const { return {left - 2, top - 10, width + 4, height + 15}; }

  // A splitter was dropped: x the new vertical split (0: unchanged), y the
  // new horizontal split (0: unchanged).
  void moveToSplit(int x, int y) {
    if (x != 0) {
      width += left - x - 8;
      left = x + 8;
    }
    if (y != 0) height = y - top - 2;
  }
  // The main window's outer width grew by dw.
  void grow(int dw) { width += dw; }
};

// The notice page's window as its pane sees it.
class WebPageView {
 public:
  virtual ~WebPageView() = default;
  virtual void place(const PaneRect& frame, const PaneRect& page) = 0;
  virtual void setVisible(bool visible) = 0;
};

// The right pane in mode 0: moves and shows the page through its view.
class WebPagePane final : public MainPane {
 public:
  void attach(WebPageView* view);
  void setVisible(bool visible) override;
  void grow(int dw, int dh) override;
  void moveToSplit(int x, int y) override;
  const WebPageLayout& layout() const { return layout_; }

 private:
  void place();
  WebPageLayout layout_;
  WebPageView* view_ = nullptr;
};

}  // namespace pom
