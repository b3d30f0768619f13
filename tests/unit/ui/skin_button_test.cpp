#include "core/ui/skin_button.h"

#include <gtest/gtest.h>

#include "core/ui/skin_image.h"
#include "core/ui/skin_link_label.h"
#include "support/fake_ports.h"
#include "support/fake_views.h"

namespace pom {
namespace {

class SkinButtonTest : public ::testing::Test {
 protected:
  SkinButtonTest() {
    painter.sizes[115] = {80, 20};  // four 20 x 20 frames
    button.load(10, 10, &painter, 115);
  }
  FakePainter painter;
  SkinButton button;
};

TEST_F(SkinButtonTest, LoadMeasuresOneFrameAndDrawsTheFrameOfTheState) {
  EXPECT_TRUE(button.isEnabled());
  EXPECT_EQ(button.width(), 20);
  EXPECT_EQ(button.height(), 20);
  EXPECT_TRUE(button.hoverTest(15, 15));
  EXPECT_EQ(painter.ops.back(), "copy 115 from 20,0 20x20 at 10,10");
  EXPECT_TRUE(button.pressTest(15, 15));
  EXPECT_EQ(painter.ops.back(), "copy 115 from 40,0 20x20 at 10,10");
}

TEST_F(SkinButtonTest, RectangleIsInclusiveAtTopLeftOnly) {
  EXPECT_TRUE(button.hoverTest(10, 10));
  EXPECT_FALSE(button.hoverTest(30, 15));
  EXPECT_FALSE(button.hoverTest(15, 30));
  EXPECT_TRUE(button.hoverTest(29, 29));
}

TEST_F(SkinButtonTest, PressAndReleaseInsideClicksOnce) {
  EXPECT_TRUE(button.pressTest(15, 15));
  EXPECT_TRUE(button.clickTest(15, 15));
  EXPECT_EQ(button.state(), SkinState::Clicked);
  EXPECT_FALSE(button.clickTest(15, 15));  // not pressed any more
  EXPECT_TRUE(button.hoverTest(15, 15));
  EXPECT_EQ(button.state(), SkinState::Hover);
}

TEST_F(SkinButtonTest, ReleaseOutsideGivesNoCommandAndReturnsToNormal) {
  button.pressTest(15, 15);
  EXPECT_FALSE(button.hoverTest(100, 100));  // moving while pressed changes nothing
  EXPECT_EQ(button.state(), SkinState::Pressed);
  EXPECT_FALSE(button.clickTest(100, 100));
  EXPECT_EQ(button.state(), SkinState::Normal);
}

TEST_F(SkinButtonTest, ReleaseInsideWithoutPressDoesNothing) {
  button.hoverTest(15, 15);
  EXPECT_FALSE(button.clickTest(15, 15));
  EXPECT_EQ(button.state(), SkinState::Hover);
}

TEST_F(SkinButtonTest, LeavingRestoresNormalAndTheArrowWhenAsked) {
  button.hoverTest(15, 15);
  const std::size_t paints = painter.ops.size();
  EXPECT_FALSE(button.hoverTest(100, 100, true));
  EXPECT_EQ(button.state(), SkinState::Normal);
  EXPECT_EQ(painter.ops.size(), paints + 1);
  EXPECT_EQ(painter.arrowCursors, 1);
  EXPECT_FALSE(button.hoverTest(100, 100));
  EXPECT_EQ(painter.ops.size(), paints + 1);  // already normal: no repaint
}

TEST_F(SkinButtonTest, DisabledOrUnloadedButtonNeitherPaintsNorReacts) {
  button.setEnabled(false);
  button.paint();
  EXPECT_FALSE(button.hoverTest(15, 15));
  EXPECT_FALSE(button.pressTest(15, 15));
  EXPECT_FALSE(button.clickTest(15, 15));
  EXPECT_TRUE(painter.ops.empty());

  SkinButton missing;
  painter.missingIsError = true;
  EXPECT_FALSE(missing.load(0, 0, &painter, 999));
  EXPECT_FALSE(missing.isEnabled());
  EXPECT_FALSE(missing.pressTest(0, 0));
}

TEST_F(SkinButtonTest, NothingIsDrawnOnAVanishedWindow) {
  painter.valid = false;
  EXPECT_TRUE(button.hoverTest(15, 15));
  EXPECT_TRUE(painter.ops.empty());
}

TEST_F(SkinButtonTest, RepaintIfClicked) {
  button.pressTest(15, 15);
  button.clickTest(15, 15);
  EXPECT_TRUE(button.repaintIfClickedTest(15, 15));
  const std::size_t paints = painter.ops.size();
  EXPECT_FALSE(button.repaintIfClickedTest(50, 50));
  EXPECT_EQ(button.state(), SkinState::Normal);
  EXPECT_EQ(painter.ops.size(), paints);  // outside: no paint
}

TEST(SkinImageTest, StretchesToTheDrawnSize) {
  FakePainter painter;
  painter.sizes[264] = {30, 10};
  SkinImage image;
  image.paint(&painter);  // not loaded: invisible
  EXPECT_TRUE(painter.ops.empty());
  ASSERT_TRUE(image.load(787, 0, &painter, 264));
  image.setDrawnWidth(300);
  image.paint(&painter);
  EXPECT_EQ(painter.ops.back(), "stretch 264 at 787,0 300x10");
  image.drawAt(&painter, 0, 0);
  EXPECT_EQ(painter.ops.back(), "stretch 264 at 0,0 300x10");
}

TEST(SkinLinkLabelTest, ReactsOnlyAfterAPaintAndOpensItsLinkOnClick) {
  FakePainter painter;
  FakeShell shell;
  SkinLinkLabel label;
  label.attach(220, 100, &painter, &shell);
  label.setText("광고");
  label.setLink("http://127.0.0.1/ad");
  EXPECT_FALSE(label.pressTest(220, 100));  // size 0 before the first paint

  label.paint();
  EXPECT_EQ(painter.ops.back(), "text 광고 at 220,100 black");
  EXPECT_TRUE(label.hoverTest(230, 105));
  EXPECT_EQ(painter.ops.back(), "text 광고 at 220,100 blue");
  EXPECT_TRUE(label.pressTest(230, 105));
  EXPECT_TRUE(label.clickTest(230, 105));
  ASSERT_EQ(shell.launches.size(), 1u);
  EXPECT_EQ(shell.launches[0].file, "IEXPLORE.EXE");
  EXPECT_EQ(shell.launches[0].parameters, "http://127.0.0.1/ad");
  EXPECT_EQ(shell.launches[0].show, ShowMode::Maximized);
}

TEST(SkinLinkLabelTest, TextAndLinkAreCutToTheirBuffers) {
  SkinLinkLabel label;
  label.setText(std::string(2000, 'a'));
  label.setLink(std::string(1023, 'b'));
  EXPECT_EQ(label.text().size(), 1023u);
  EXPECT_EQ(label.link().size(), 1023u);
}

}  // namespace
}  // namespace pom
