#include "core/mainwindow/main_window_presenter.h"

#include <gtest/gtest.h>

#include "core/base/config_keys.h"
#include "core/hub/session_state.h"
#include "platform/posix/posix_file_system.h"
#include "support/fake_ports.h"
#include "support/fake_views.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

class MainWindowPresenterTest : public ::testing::Test {
 protected:
  MainWindowPresenterTest() {
    profile.writeText("Config", "BasicFolder", dir.path().string(), "./PomConfig.ini");
    view.paint.sizes[262] = {240, 30};  // end button: 60 x 30 frames
    view.paint.sizes[231] = {200, 40};  // download button: 50 x 40 at (134, 0)
    MainWindowPresenter::Deps deps;
    deps.view = &view;
    deps.config = &config;
    deps.dialogs = &dialogs;
    deps.shell = &shell;
    deps.files = &files;
    deps.session = &session;
    deps.password = [] { return std::string("ab"); };
    deps.webSite = [] { return std::string("http://web"); };
    deps.homePage = [] { return std::string("http://home"); };
    deps.clubSite = [] { return std::string("http://club"); };
    deps.fileBoxSite = [] { return std::string("http://box"); };
    deps.paymentSite = [] { return std::string("http://pay"); };
    deps.openBrowserWindow = [this](const std::string& url, int l, int t, int w, int h) {
      shell.openBrowserWindow(url, l, t, w, h);
    };
    deps.uploadNoticeShown = &uploadNotice;
    presenter = std::make_unique<MainWindowPresenter>(deps);
    for (int i = 0; i < static_cast<int>(PaneId::Count); ++i) {
      presenter->setPane(static_cast<PaneId>(i), &panes[i]);
    }
    session.memberId = "demo1";
    presenter->prepare();
  }

  FakePane& pane(PaneId id) { return panes[static_cast<int>(id)]; }
  void click(int x, int y) {
    presenter->onLeftDown(x, y);
    presenter->onLeftUp(x, y);
  }

  test::TempDir dir;
  MemoryProfile profile;
  MemoryRegistry registry;
  ConfigStore config{profile, registry, "/tmp"};
  FakeDialogs dialogs;
  FakeShell shell;
  PosixFileSystem files;
  SessionState session;
  FakeMainWindowView view;
  FakePane panes[static_cast<int>(PaneId::Count)];
  bool uploadNotice = false;
  std::unique_ptr<MainWindowPresenter> presenter;
};

TEST_F(MainWindowPresenterTest, BuildLayoutSizesCentresAndShowsTheNoticePage) {
  presenter->buildLayout();
  EXPECT_FALSE(view.visible);          // the build runs hidden
  EXPECT_EQ(view.resized.width, 888);  // 880 + 8 frame
  EXPECT_EQ(view.resized.height, 740);
  EXPECT_EQ(view.calls,
            std::vector<std::string>({"searchBar", "bottomFrame -10,661 4000x100", "center 888x740",
                                      "frames", "dropFiles", "panes"}));
  EXPECT_EQ(presenter->downloadFolder(), dir.path().string());
  EXPECT_EQ(presenter->rightPaneMode(), RightPaneMode::NoticePage);
  EXPECT_TRUE(pane(PaneId::WebPage).visible);
  EXPECT_FALSE(pane(PaneId::OwnList).visible);
  EXPECT_EQ(presenter->button(12).x(), 880 - 87);
  EXPECT_EQ(presenter->button(12).y(), 706 - 30);
}

TEST_F(MainWindowPresenterTest, RightPaneModesShowOneViewAtATime) {
  presenter->buildLayout();
  presenter->setRightPaneMode(RightPaneMode::SearchList);
  EXPECT_TRUE(pane(PaneId::SearchList).visible);
  EXPECT_FALSE(pane(PaneId::WebPage).visible);
  EXPECT_FALSE(pane(PaneId::OwnList).visible);
  EXPECT_FALSE(pane(PaneId::FolderList).visible);
}

TEST_F(MainWindowPresenterTest, ResizeKeepsTheMinimumAndTellsThePanesTheGrowth) {
  presenter->buildLayout();
  presenter->onResize(500, 300);  // far below the minimum
  EXPECT_EQ(view.resized.width, 888);
  EXPECT_EQ(view.resized.height, 740);

  presenter->onResize(1000, 800);
  EXPECT_EQ(view.resized.width, 1008);
  EXPECT_EQ(view.resized.height, 834);
  // First resize: outer minus the requested client size; later ones: the growth.
  EXPECT_EQ(pane(PaneId::OwnList).grownW, 1008 - 880);
  EXPECT_EQ(pane(PaneId::OwnList).grownH, 834 - 706);
  EXPECT_EQ(presenter->image(2).width(), 1008 - 594);
  EXPECT_EQ(presenter->image(6).y(), 775);
  EXPECT_EQ(presenter->button(10).y(), 770);
  EXPECT_EQ(presenter->button(11).x(), 90);
  EXPECT_EQ(presenter->splitters().geometry().verticalRangeBottom, 834);
  EXPECT_EQ(presenter->splitters().geometry().horizontalRangeRight, 1008);
}

TEST_F(MainWindowPresenterTest, SplitterDropMovesPanesAndEveryReleaseEndsListDrags) {
  std::vector<std::string> order;
  const char* names[] = {"localTree", "localList", "webTree", "own", "search", "folder", "web"};
  for (int i = 0; i < static_cast<int>(PaneId::Count); ++i) {
    panes[i].order = &order;
    panes[i].name = names[i];
  }
  presenter->buildLayout();
  presenter->trackMouseMove(233, 300);
  EXPECT_EQ(view.cursor, CursorShape::SizeWestEast);
  presenter->trackLeftDown(233, 300);
  presenter->trackLeftUp(50, 300);
  EXPECT_EQ(pane(PaneId::WebPage).splits, (std::vector<std::pair<int, int>>{{120, 0}}));
  EXPECT_EQ(view.repaints, 1);
  EXPECT_EQ(order, std::vector<std::string>({"localList", "own", "search", "folder"}));

  presenter->trackLeftUp(600, 600);  // no drag: only the list drags end
  EXPECT_EQ(pane(PaneId::WebPage).splits.size(), 1u);
  EXPECT_EQ(order.size(), 8u);
}

TEST_F(MainWindowPresenterTest, DownloadWithoutSelectionWarns) {
  presenter->buildLayout();
  click(140, 10);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, "다운로드 할 파일을 선택 하세요!    ");
  EXPECT_EQ(dialogs.boxes[0].caption, "확인");
  EXPECT_EQ(dialogs.boxes[0].icon, MessageIcon::Warning);
  EXPECT_EQ(dialogs.boxes[0].owner, DialogOwner::MainWindow);

  int downloads = 0;
  presenter->hooks().ownListHasSelection = [] { return true; };
  presenter->hooks().downloadSelected = [&] { ++downloads; };
  click(140, 10);
  EXPECT_EQ(downloads, 1);
  EXPECT_EQ(dialogs.boxes.size(), 1u);
}

TEST_F(MainWindowPresenterTest, PageButtonsOpenTheirAddressesWithTheWebToken) {
  presenter->buildLayout();
  click(535, 5);  // payment (532, 0)
  click(485, 5);  // help desk (482, 0)
  ASSERT_EQ(shell.launches.size(), 2u);
  EXPECT_EQ(shell.launches[0].parameters, "http://pay/payment/pay.asp?userid=demo1&md6=315351");
  EXPECT_EQ(shell.launches[1].parameters, "http://web/help_desk/");
  EXPECT_EQ(shell.launches[1].show, ShowMode::Maximized);

  click(190, 66);  // memo list (188, 64): a browser window beside the main window
  ASSERT_EQ(shell.browsers.size(), 1u);
  EXPECT_EQ(shell.browsers[0].url, "http://web/memo/msg_list01.asp?userid=demo1&md6=315351");
  EXPECT_EQ(shell.browsers[0].left, 104);
  EXPECT_EQ(shell.browsers[0].top, 80);
  EXPECT_EQ(shell.browsers[0].width, 460);
  EXPECT_EQ(shell.browsers[0].height, 500);

  click(5, 680);  // open download folder, moved to (3, h - 30)
  EXPECT_EQ(shell.launches.back().file, "explorer.exe");
  EXPECT_EQ(shell.launches.back().parameters, dir.path().string());
  EXPECT_EQ(shell.launches.back().show, ShowMode::Normal);
}

TEST_F(MainWindowPresenterTest, ChoosingTheDownloadFolderSavesIt) {
  presenter->buildLayout();
  std::string pointed;
  presenter->hooks().pointLocalTreeAt = [&](const std::string& p) { pointed = p; };
  click(95, 680);
  EXPECT_EQ(dialogs.folderTitles, std::vector<std::string>({"디렉토리를 선택하세요"}));
  EXPECT_EQ(presenter->downloadFolder(), dir.path().string());  // nothing picked

  dialogs.folderToPick = "/srv/down";
  click(95, 680);
  EXPECT_EQ(profile.value("Config", "BasicFolder"), "/srv/down");
  EXPECT_EQ(presenter->downloadFolder(), "/srv/down");
  EXPECT_EQ(pointed, "/srv/down");
}

TEST_F(MainWindowPresenterTest, EndButtonAndEscapeSendTheCloseCommand) {
  presenter->buildLayout();
  click(800, 680);
  presenter->onEscape();
  EXPECT_EQ(view.closeRequests, 2);
}

TEST_F(MainWindowPresenterTest, CloseAsksTheRightQuestion) {
  dialogs.answers = {MessageAnswer::No};
  EXPECT_FALSE(presenter->confirmClose());
  EXPECT_EQ(dialogs.boxes[0].text, "프로그램을 종료하시겠습니까?     ");
  EXPECT_EQ(dialogs.boxes[0].caption, "종료");
  EXPECT_EQ(dialogs.boxes[0].buttons, MessageButtons::YesNo);
  dialogs.answers = {MessageAnswer::Yes};
  EXPECT_TRUE(presenter->confirmClose());

  presenter->hooks().uploadsPending = [] { return true; };
  presenter->hooks().downloadsPending = [] { return true; };
  dialogs.boxes.clear();
  dialogs.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(presenter->confirmClose());
  ASSERT_EQ(dialogs.boxes.size(), 1u);  // no question about downloads
  EXPECT_EQ(dialogs.boxes[0].text,
            "업로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ");
  EXPECT_EQ(dialogs.boxes[0].caption, "Pomvale");
  EXPECT_EQ(dialogs.boxes[0].buttons, MessageButtons::OkCancel);

  presenter->hooks().uploadsPending = nullptr;
  dialogs.answers = {MessageAnswer::Ok};
  EXPECT_TRUE(presenter->confirmClose());
  EXPECT_EQ(dialogs.boxes[1].text,
            "다운로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ");
}

TEST_F(MainWindowPresenterTest, DroppedFilesQueueRegularNonEmptyFilesAndOpenTheNoticeOnce) {
  presenter->buildLayout();
  dir.write("a.txt", "abc");
  dir.write("b.txt", "de");
  dir.write("empty.txt", "");
  std::vector<std::string> queued;
  presenter->hooks().uploadDroppedFile = [&](const std::string& p) { queued.push_back(p); };

  presenter->onFilesDropped({dir.path().string(), dir.file("empty.txt")});
  EXPECT_TRUE(queued.empty());
  EXPECT_TRUE(shell.browsers.empty());

  presenter->onFilesDropped({dir.file("a.txt"), dir.file("b.txt"), dir.file("missing")});
  EXPECT_EQ(queued, std::vector<std::string>({dir.file("a.txt"), dir.file("b.txt")}));
  ASSERT_EQ(shell.browsers.size(), 1u);
  EXPECT_EQ(shell.browsers[0].url, "http://web/pop/20080401.asp");
  EXPECT_EQ(shell.browsers[0].height, 660);
  EXPECT_TRUE(uploadNotice);

  presenter->onFilesDropped({dir.file("a.txt")});
  EXPECT_EQ(shell.browsers.size(), 1u);
}

TEST_F(MainWindowPresenterTest, StatusPaintShowsMemberPointsAndConnectionKind) {
  presenter->buildLayout();
  session.credit = -20;
  session.flatRate = 5;
  presenter->setAdLine("광고", "http://ad");
  presenter->paint();
  EXPECT_EQ(view.pointsText, "0P");
  EXPECT_EQ(view.connectionText, "접속안됨");
  const auto& ops = view.paint.ops;
  EXPECT_NE(std::find(ops.begin(), ops.end(), "text demo1님 at 30,70 bold black"), ops.end());
  EXPECT_NE(std::find(ops.begin(), ops.end(), "text 쪽지: at 150,70 bold black"), ops.end());
  EXPECT_NE(std::find(ops.begin(), ops.end(), "text 광고 at 220,684 bold black"), ops.end());
  EXPECT_EQ(view.calls.back(), "statusPanel 258 at 594,0");
}

}  // namespace
}  // namespace pom
