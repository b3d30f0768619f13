#include "core/mainwindow/splitters.h"

#include <gtest/gtest.h>

namespace pom {
namespace {

TEST(SplittersTest, CursorShowsWhatThePointerIsOver) {
  Splitters s;
  EXPECT_EQ(s.mouseMove(233, 370), CursorShape::SizeAll);
  EXPECT_EQ(s.mouseMove(233, 200), CursorShape::SizeWestEast);
  EXPECT_EQ(s.mouseMove(500, 370), CursorShape::SizeNorthSouth);
  EXPECT_EQ(s.mouseMove(230, 200), CursorShape::Arrow);  // edges are outside (strict)
  EXPECT_EQ(s.mouseMove(233, 100), CursorShape::Arrow);  // outside the vertical bar's range
  EXPECT_EQ(s.mouseMove(800, 370), CursorShape::Arrow);
}

TEST(SplittersTest, VerticalDropIsClampedToTheWindow) {
  Splitters s;
  CursorShape cursor;
  ASSERT_TRUE(s.leftDown(233, 200, cursor));
  EXPECT_EQ(cursor, CursorShape::SizeWestEast);
  SplitterDrop drop = s.leftUp(50, 200, 888, 740);
  EXPECT_EQ(drop.x, 120);
  EXPECT_EQ(drop.y, 0);
  EXPECT_EQ(s.geometry().verticalLeft, 120);
  EXPECT_EQ(s.geometry().verticalRight, 130);

  ASSERT_TRUE(s.leftDown(125, 200, cursor));
  EXPECT_EQ(s.leftUp(800, 200, 888, 740).x, 888 - 150);
  ASSERT_TRUE(s.leftDown(740, 200, cursor));
  EXPECT_EQ(s.leftUp(400, 200, 888, 740).x, 400);
}

TEST(SplittersTest, HorizontalDropIsClampedAndBothMoveFromTheCrossing) {
  Splitters s;
  CursorShape cursor;
  ASSERT_TRUE(s.leftDown(500, 370, cursor));
  EXPECT_EQ(s.leftUp(500, 150, 888, 740).y, 250);
  ASSERT_TRUE(s.leftDown(500, 255, cursor));
  EXPECT_EQ(s.leftUp(500, 700, 888, 740).y, 740 - 150);

  ASSERT_TRUE(s.leftDown(233, 595, cursor));
  EXPECT_EQ(cursor, CursorShape::SizeAll);
  const SplitterDrop drop = s.leftUp(300, 400, 888, 740);
  EXPECT_EQ(drop.x, 300);
  EXPECT_EQ(drop.y, 400);
}

TEST(SplittersTest, LeavingTheAreaCancelsTheDrag) {
  Splitters s;
  CursorShape cursor;
  s.leftDown(233, 200, cursor);
  EXPECT_EQ(s.mouseMove(300, 200), CursorShape::SizeWestEast);
  EXPECT_EQ(s.mouseMove(300, 50), CursorShape::Arrow);
  EXPECT_FALSE(s.verticalDrag());
  EXPECT_FALSE(s.leftUp(300, 200, 888, 740).moved());
}

TEST(SplittersTest, RangesFollowTheWindowSize) {
  Splitters s;
  EXPECT_EQ(s.mouseMove(233, 720), CursorShape::Arrow);
  s.setRangeLimits(1200, 900);
  EXPECT_EQ(s.mouseMove(233, 720), CursorShape::SizeWestEast);
  EXPECT_EQ(s.mouseMove(1000, 370), CursorShape::SizeNorthSouth);
}

}  // namespace
}  // namespace pom
