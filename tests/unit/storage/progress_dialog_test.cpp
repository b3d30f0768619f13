#include "core/storage/progress_dialog.h"

#include <gtest/gtest.h>

#include "core/storage/term_extension_dialog.h"
#include "support/fake_ports.h"
#include "support/fake_views.h"

namespace pom {
namespace {

TEST(ProgressDialogTest, OpensOnceWithItsTitlesUntilTheAnswerArrives) {
  FakeProgressView view;
  ProgressDialog dialog;
  dialog.attach(&view);
  EXPECT_TRUE(dialog.openLoading());
  EXPECT_TRUE(dialog.busy());
  EXPECT_EQ(view.title, "로딩 중");
  EXPECT_EQ(view.label, "목록을 불러오는 중 입니다.");

  EXPECT_FALSE(dialog.openMoving());  // already open: nothing changes
  EXPECT_EQ(view.title, "로딩 중");
  EXPECT_EQ(view.creates, 1);

  dialog.finish();
  EXPECT_FALSE(dialog.busy());
  EXPECT_FALSE(view.open);
  EXPECT_TRUE(dialog.openMoving());
  EXPECT_EQ(view.title, "이동 중 ");
  EXPECT_EQ(view.label, "파일을 이동 중 입니다.");

  dialog.onCloseMessage();  // the member closes it: still waiting
  EXPECT_FALSE(view.open);
  EXPECT_TRUE(dialog.busy());
}

class TermExtensionDialogTest : public ::testing::Test {
 protected:
  TermExtensionDialogTest() {
    view.dialog = &dialog;
    dialog.attach(&view, &dialogs);
  }
  void openWith(int result, std::int64_t quota, std::int64_t used) {
    dialog.result = static_cast<ExtendTermReply::Result>(result);
    dialog.freeQuota = quota;
    dialog.totalUsed = used;
    dialog.open();
  }
  FakeDialogs dialogs;
  FakeTermView view;
  TermExtensionDialog dialog;
};

TEST_F(TermExtensionDialogTest, CompletedExtensionShowsTheSizes) {
  openWith(0, 10485760, 3145728);
  EXPECT_TRUE(view.open);
  EXPECT_EQ(view.title, "기간 연장 알림");
  EXPECT_EQ(view.labels[kTermQuotaLabelId], "10MB");
  EXPECT_EQ(view.labels[kTermUsedLabelId], "3MB");
  EXPECT_EQ(view.labels[kTermAvailableLabelId], "7MB");
  EXPECT_EQ(view.labels[kTermResultLabelId], "기한 연장이 완료되었습니다.");
  EXPECT_TRUE(dialogs.boxes.empty());

  dialog.close();
  EXPECT_FALSE(view.open);
  EXPECT_EQ(dialog.result, TermExtensionDialog::kNoAnswer);
  EXPECT_EQ(dialog.freeQuota, 0);
}

TEST_F(TermExtensionDialogTest, UsageExceededShowsZeroAvailable) {
  openWith(4, 10485760, 3145728);
  EXPECT_EQ(view.labels[kTermResultLabelId], "사용 용량을 초과했습니다.");
  EXPECT_EQ(view.labels[kTermAvailableLabelId], "0MB");
  EXPECT_TRUE(view.open);
}

TEST_F(TermExtensionDialogTest, NotEligibleShowsOnlyTheMessageBox) {
  openWith(2, 0, 0);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "기한연장 대상자가 아닙니다.     ");
  EXPECT_EQ(dialogs.boxes[0].caption, "알림");
  EXPECT_EQ(dialogs.boxes[0].owner, DialogOwner::TermExtensionDialog);
  EXPECT_FALSE(view.open);
  EXPECT_EQ(view.title, "");
}

TEST_F(TermExtensionDialogTest, OtherResultsCloseAtOnce) {
  openWith(9, 0, 0);
  EXPECT_EQ(view.labels[kTermResultLabelId], "잠시 후 다시 시도해주세요");
  EXPECT_FALSE(view.open);
  EXPECT_EQ(dialog.result, TermExtensionDialog::kNoAnswer);
}

}  // namespace
}  // namespace pom
