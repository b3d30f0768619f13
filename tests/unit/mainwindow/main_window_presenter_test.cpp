#include "core/mainwindow/main_window_presenter.h"

#include <gtest/gtest.h>

#include "core/base/config_keys.h"
#include "core/base/servers.h"
#include "support/fake_links.h"
#include "support/fake_ports.h"
#include "support/fake_views.h"
#include "support/memory_file_system.h"

namespace pom {
namespace {

class MainWindowPresenterTest : public ::testing::Test {
 protected:
  MainWindowPresenterTest() {
    files.addFolder("c:\\down");
    profile.writeText("Config", "BasicFolder", "c:\\down", "./PomConfig.ini");
    for (const char* key : {"WebSite", "PaymentSite"}) {
      profile.writeText("Servers", key, std::string(key) == "WebSite" ? "web" : "pay",
                        "./PomConfig.ini");
    }
    view.paint.sizes[262] = {240, 30};  // end button: 60 x 30 frames
    view.paint.sizes[231] = {200, 40};  // download button: 50 x 40 at (134, 0)
    MainWindowPresenter::Deps deps;
    deps.view = &view;
    deps.config = &config;
    deps.dialogs = &dialogs;
    deps.shell = &shell;
    deps.files = &files;
    deps.servers = &servers;
    deps.session = &session;
    deps.storage = &storage;
    deps.search = &search;
    deps.uploads = &uploads;
    deps.downloads = &downloads;
    deps.local = &local;
    presenter = std::make_unique<MainWindowPresenter>(deps);
    for (int i = 0; i < static_cast<int>(PaneId::Count); ++i) {
      presenter->setPane(static_cast<PaneId>(i), &panes[i]);
    }
    session.member.memberId = "demo1";
    presenter->prepare();
  }

  FakePane& pane(PaneId id) { return panes[static_cast<int>(id)]; }
  void click(int x, int y) {
    presenter->onLeftDown(x, y);
    presenter->onLeftUp(x, y);
  }

  MemoryProfile profile;
  MemoryRegistry registry;
  ConfigStore config{profile, registry, "c:\\work"};
  Servers servers{profile};
  FakeDialogs dialogs;
  FakeShell shell;
  MemoryFileSystem files;
  FakeSessionLink session;
  FakeStorageLink storage;
  FakeSearchLink search;
  FakeUploadLink uploads;
  FakeDownloadLink downloads;
  FakeLocalBrowserLink local;
  FakeMainWindowView view;
  FakePane panes[static_cast<int>(PaneId::Count)];
  std::unique_ptr<MainWindowPresenter> presenter;
};

TEST_F(MainWindowPresenterTest, BuildLayoutSizesCentresAndShowsTheNoticePage) {
  presenter->buildLayout();
  EXPECT_FALSE(view.visible);          // the build runs hidden
  EXPECT_EQ(view.resized.width, 888);  // 880 + 8 frame
  EXPECT_EQ(view.resized.height, 740);
  EXPECT_EQ(view.calls, std::vector<std::string>(
                            {"searchBar", "bottomFrame -10,661 4000x100", "center 888x740",
                             "frames", "dropFiles", "controls",
                             "webPage http://web/help_desk/notice_program.asp?userid=demo1"}));
  EXPECT_EQ(presenter->downloadFolder(), "c:\\down");
  EXPECT_EQ(local.pointedAt, std::vector<std::string>({"c:\\down"}));
  EXPECT_EQ(presenter->rightPaneMode(), RightPaneMode::NoticePage);
  EXPECT_TRUE(view.webPage.visible);
  EXPECT_EQ(view.webPage.page.x, 240);
  EXPECT_FALSE(pane(PaneId::OwnList).visible);
  EXPECT_EQ(presenter->button(12).x(), 880 - 87);
  EXPECT_EQ(presenter->button(12).y(), 706 - 30);
}

TEST_F(MainWindowPresenterTest, RightPaneModesShowOneViewAtATime) {
  presenter->buildLayout();
  presenter->setRightPaneMode(RightPaneMode::SearchList);
  EXPECT_TRUE(pane(PaneId::SearchList).visible);
  EXPECT_FALSE(view.webPage.visible);
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
  EXPECT_EQ(pane(PaneId::OwnList).splits, (std::vector<std::pair<int, int>>{{120, 0}}));
  EXPECT_EQ(view.webPage.page.x, 132) << "the notice page follows the split";
  EXPECT_EQ(view.repaints, 1);
  EXPECT_EQ(order, std::vector<std::string>({"localList", "own", "search", "folder"}));

  presenter->trackLeftUp(600, 600);  // no drag: only the list drags end
  EXPECT_EQ(pane(PaneId::OwnList).splits.size(), 1u);
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

  storage.selection = true;
  click(140, 10);
  EXPECT_EQ(storage.downloads, 1) << "the own list queues its selection";
  EXPECT_EQ(search.downloads, 1) << "and so do the search and folder lists";
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
  EXPECT_EQ(shell.launches.back().parameters, "c:\\down");
  EXPECT_EQ(shell.launches.back().show, ShowMode::Normal);
}

TEST_F(MainWindowPresenterTest, ChoosingTheDownloadFolderSavesIt) {
  presenter->buildLayout();
  click(95, 680);
  EXPECT_EQ(dialogs.folderTitles, std::vector<std::string>({"디렉토리를 선택하세요"}));
  EXPECT_EQ(presenter->downloadFolder(), "c:\\down");  // nothing picked

  dialogs.folderToPick = "/srv/down";
  click(95, 680);
  EXPECT_EQ(profile.value("Config", "BasicFolder"), "/srv/down");
  EXPECT_EQ(presenter->downloadFolder(), "/srv/down");
  EXPECT_EQ(local.pointedAt.back(), "/srv/down");
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

  uploads.pending = true;
  downloads.pending = true;
  dialogs.boxes.clear();
  dialogs.answers = {MessageAnswer::Cancel};
  EXPECT_FALSE(presenter->confirmClose());
  ASSERT_EQ(dialogs.boxes.size(), 1u);  // no question about downloads
  EXPECT_EQ(dialogs.boxes[0].text,
            "업로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ");
  EXPECT_EQ(dialogs.boxes[0].caption, "Pomvale");
  EXPECT_EQ(dialogs.boxes[0].buttons, MessageButtons::OkCancel);

  uploads.pending = false;
  dialogs.answers = {MessageAnswer::Ok};
  EXPECT_TRUE(presenter->confirmClose());
  EXPECT_EQ(dialogs.boxes[1].text,
            "다운로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ");
}

TEST_F(MainWindowPresenterTest, DroppedFilesQueueRegularNonEmptyFiles) {
  presenter->buildLayout();
  files.addFile("c:\\in\\a.txt", "abc");
  files.addFile("c:\\in\\b.txt", "de");
  files.addFile("c:\\in\\empty.txt", "");

  presenter->onFilesDropped({"c:\\in", "c:\\in\\empty.txt"});
  EXPECT_TRUE(uploads.queued.empty());
  EXPECT_EQ(uploads.notices, 0) << "nothing was started";

  presenter->onFilesDropped({"c:\\in\\a.txt", "c:\\in\\b.txt", "c:\\in\\missing"});
  EXPECT_EQ(uploads.queued, std::vector<std::string>({"c:\\in\\a.txt", "c:\\in\\b.txt"}));
  EXPECT_EQ(uploads.notices, 1);
  EXPECT_EQ(uploads.noticeHeight, UploadLink::kNoticeHeight);
}

TEST_F(MainWindowPresenterTest, UploadAndSettingsButtonsGoToTheirSubsystems) {
  presenter->buildLayout();
  click(195, 5);  // upload (193, 0): nothing selected
  EXPECT_EQ(dialogs.lastText(), "업로드 할 파일을 선택 하세요!    ");
  local.selection = true;
  click(195, 5);
  EXPECT_EQ(uploads.windowOpens, 1);
  EXPECT_EQ(local.uploads, 1);
  click(245, 5);  // settings (242, 0)
  EXPECT_EQ(local.settingsOpens, 1);
  click(815, 66);  // search (811, 63)
  EXPECT_EQ(search.searches, 1);
}

TEST_F(MainWindowPresenterTest, StatusPaintShowsMemberPointsAndConnectionKind) {
  presenter->buildLayout();
  session.member.credit = -20;
  session.member.flatRate = 5;
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
