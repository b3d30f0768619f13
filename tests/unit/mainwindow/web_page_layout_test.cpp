// Where the notice page and its frame go when splitters drop and the main
// window grows.
#include "core/mainwindow/web_page_layout.h"

#include <gtest/gtest.h>

namespace pom {
namespace {

TEST(WebPageLayout, StartsBelowTheSearchBarWithItsFrameAround) {
  WebPageLayout layout;
  EXPECT_EQ(layout.page().x, 240);
  EXPECT_EQ(layout.page().y, 97);
  EXPECT_EQ(layout.frame().x, 234);
  EXPECT_EQ(layout.frame().y, 85);
  EXPECT_EQ(layout.frame().width, 644);
  EXPECT_EQ(layout.frame().height, 283);
}

TEST(WebPageLayout, SplittersMoveTheLeftEdgeAndTheBottom) {
  WebPageLayout layout;
  layout.moveToSplit(0, 450);  // horizontal bar dropped at y 450
  EXPECT_EQ(layout.page().height, 450 - 95 - 2);
  EXPECT_EQ(layout.frame().height, layout.page().height + 15);
  EXPECT_EQ(layout.page().x, 240);  // x untouched

  layout.moveToSplit(300, 0);  // vertical bar dropped at x 300: the right edge stays
  EXPECT_EQ(layout.left, 308);
  EXPECT_EQ(layout.page().x + layout.width, 240 + 640);
  EXPECT_EQ(layout.width, 640 - (300 + 8 - 236));
}

TEST(WebPageLayout, GrowingWidensButNeverHeightens) {
  WebPageLayout layout;
  layout.grow(100);
  EXPECT_EQ(layout.page().width, 740);
  EXPECT_EQ(layout.page().height, 268);
  EXPECT_EQ(layout.frame().width, 744);
}

// The pane places its view wherever the layout goes.
TEST(WebPagePane, PlacesItsViewOnAttachGrowAndDrop) {
  struct RecordingView : WebPageView {
    PaneRect frame, page;
    int places = 0;
    bool visible = false;
    void place(const PaneRect& f, const PaneRect& p) override {
      frame = f;
      page = p;
      ++places;
    }
    void setVisible(bool v) override { visible = v; }
  } view;
  WebPagePane pane;
  pane.grow(10, 10);  // no view yet: only the layout moves
  pane.attach(&view);
  EXPECT_EQ(view.places, 1);
  EXPECT_EQ(view.page.width, 650);
  pane.moveToSplit(300, 450);
  EXPECT_EQ(view.places, 2);
  EXPECT_EQ(view.page.x, 312);
  EXPECT_EQ(view.page.height, 353);
  EXPECT_EQ(view.frame.height, 368);
  pane.setVisible(true);
  EXPECT_TRUE(view.visible);
}

}  // namespace
}  // namespace pom
