// Where the notice page and its frame go when splitters drop and the main
// window grows.
#include "win32/web_page_layout.h"

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

}  // namespace
}  // namespace pom
