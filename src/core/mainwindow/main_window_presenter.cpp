#include "core/mainwindow/main_window_presenter.h"

#include "core/base/config_keys.h"
#include "core/base/local_path.h"
#include "core/base/servers.h"
#include "core/base/web_addresses.h"
#include "core/hub/local_browser_link.h"
#include "core/hub/search_link.h"
#include "core/hub/session_link.h"
#include "core/hub/storage_link.h"
#include "core/hub/transfer_links.h"
#include "core/mainwindow/status_panel.h"
#include "core/ports/dialogs.h"
#include "core/ports/file_system.h"
#include "core/ports/shell.h"

namespace pom {
namespace {

struct Placement {
  int x;
  int y;
  int bitmap;
};

constexpr Placement kButtons[kMainButtonCount] = {
    {134, 0, 231}, {193, 0, 237},  {242, 0, 236},   {312, 0, 234},  {362, 0, 230},
    {412, 0, 232}, {482, 0, 233},  {532, 0, 235},   {811, 63, 183}, {188, 64, 276},
    {5, 670, 260}, {95, 670, 261}, {785, 670, 262},
};

// Entries 5 and 7-12 of the image array are not used.
constexpr int kUsedImages[] = {0, 1, 2, 3, 4, 6};
constexpr Placement kImages[kMainImageCount] = {
    {0, 0, 238}, {594, 0, 258},   {787, 0, 264}, {10, 67, 265}, {133, 68, 293},
    {0, 0, 0},   {200, 675, 267}, {0, 0, 0},     {0, 0, 0},     {0, 0, 0},
    {0, 0, 0},   {0, 0, 0},       {0, 0, 0},
};
constexpr int kPaintedImages[] = {0, 2, 3, 4, 6};

constexpr char kDefaultDownloadFolder[] = "c:\\PomDownLoad\\";

}  // namespace

MainWindowPresenter::MainWindowPresenter(Deps deps) : deps_(std::move(deps)) {}

void MainWindowPresenter::prepare() {
  for (SkinButton& button : buttons_) button.destroy();
  for (SkinImage& image : images_) image.destroy();
  splitters_ = Splitters();
  lastWidth_ = kMainClientWidth;
  lastHeight_ = kMainClientHeight;
  built_ = false;
}

void MainWindowPresenter::buildLayout() {
  MainWindowView* view = deps_.view;
  if (view == nullptr) {  // headless: nothing to lay out
    built_ = true;
    return;
  }
  view->setWindowVisible(false);
  SkinPainter* painter = view->painter();
  for (int i = 0; i < kMainButtonCount; ++i) {
    buttons_[i].load(kButtons[i].x, kButtons[i].y, painter, kButtons[i].bitmap);
  }
  for (int i : kUsedImages) images_[i].load(kImages[i].x, kImages[i].y, painter, kImages[i].bitmap);
  adLine_.attach(220, kImages[6].y + 3, painter, deps_.shell);
  adLine_.setFont(SkinFont::Bold);
  view->createSearchBar();
  built_ = true;  // resizing works from here on
  onResize(kMainClientWidth, kMainClientHeight);
  view->centerOnScreen(lastWidth_, lastHeight_);
  view->createFrames();
  view->acceptDroppedFiles();
  view->prepareControls();
  ensureDownloadFolder(deps_.config->readText(ConfigKey::BasicFolder));
  deps_.local->pointTreeAt(downloadFolder_);
  webPage_.attach(
      view->createWebPage(noticePageUrl(*deps_.servers, deps_.session->state().memberId)));
  setPane(PaneId::WebPage, &webPage_);
  setRightPaneMode(RightPaneMode::NoticePage);
}

void MainWindowPresenter::setRightPaneMode(RightPaneMode mode) {
  mode_ = mode;
  const PaneId rightPanes[] = {PaneId::WebPage, PaneId::OwnList, PaneId::SearchList,
                               PaneId::FolderList};
  for (int i = 0; i < 4; ++i) {
    if (MainPane* pane = panes_[static_cast<int>(rightPanes[i])]) {
      pane->setVisible(i == static_cast<int>(mode));
    }
  }
}

void MainWindowPresenter::forEachPane(const std::function<void(MainPane&)>& action) {
  for (MainPane* pane : panes_) {
    if (pane != nullptr) action(*pane);
  }
}

void MainWindowPresenter::onResize(int clientWidth, int clientHeight) {
  if (!built_ || deps_.view == nullptr) return;
  MainWindowView& view = *deps_.view;
  SkinSize outer = view.outerSizeForClient(clientWidth, clientHeight);
  if (outer.width < kMainMinOuterWidth) outer.width = kMainMinOuterWidth;
  if (outer.height < kMainMinOuterHeight) outer.height = kMainMinOuterHeight;

  const int h = clientHeight;
  buttons_[10].setPosition(3, h - 30);
  buttons_[11].setPosition(90, h - 30);
  buttons_[12].setPosition(clientWidth - 87, h - 30);
  images_[2].setDrawnWidth(outer.width - 594);
  images_[6].setPosition(200, h - 25);

  const int dw = outer.width - lastWidth_;
  const int dh = outer.height - lastHeight_;
  forEachPane([dw, dh](MainPane& pane) { pane.grow(dw, dh); });

  lastWidth_ = outer.width;
  lastHeight_ = outer.height;
  splitters_.setRangeLimits(lastWidth_, lastHeight_);
  view.moveBottomFrame(-10, h - 45, 4000, 100);
  view.resizeWindow(outer.width, outer.height);
  view.redrawAfterResize(h);
}

void MainWindowPresenter::trackMouseMove(int x, int y) {
  if (deps_.view != nullptr) deps_.view->setCursor(splitters_.mouseMove(x, y));
}

void MainWindowPresenter::trackLeftDown(int x, int y) {
  CursorShape cursor = CursorShape::Arrow;
  if (splitters_.leftDown(x, y, cursor) && deps_.view != nullptr) deps_.view->setCursor(cursor);
}

void MainWindowPresenter::trackLeftUp(int x, int y) {
  const SplitterDrop drop = splitters_.leftUp(x, y, lastWidth_, lastHeight_);
  if (drop.moved()) {
    forEachPane([drop](MainPane& pane) { pane.moveToSplit(drop.x, drop.y); });
    if (deps_.view != nullptr) deps_.view->repaintAll();
  }
  for (PaneId id : {PaneId::LocalList, PaneId::OwnList, PaneId::SearchList, PaneId::FolderList}) {
    if (MainPane* pane = panes_[static_cast<int>(id)]) pane->finishItemDrag();
  }
}

void MainWindowPresenter::onMouseMove(int x, int y) {
  for (SkinButton& button : buttons_) button.hoverTest(x, y);
  adLine_.hoverTest(x, y);
  forEachPane([x, y](MainPane& pane) { pane.mouseMove(x, y); });
}

void MainWindowPresenter::onLeftDown(int x, int y) {
  for (SkinButton& button : buttons_) button.pressTest(x, y);
  adLine_.pressTest(x, y);
  forEachPane([x, y](MainPane& pane) { pane.leftDown(x, y); });
}

void MainWindowPresenter::onLeftUp(int x, int y) {
  for (int i = 0; i < kMainButtonCount; ++i) {
    if (buttons_[i].clickTest(x, y)) runButton(static_cast<MainButton>(i));
  }
  adLine_.clickTest(x, y);
  forEachPane([x, y](MainPane& pane) { pane.leftUp(x, y); });
}

void MainWindowPresenter::openPage(const std::string& url) {
  deps_.shell->execute("open", "IEXPLORE.EXE", url, ShowMode::Maximized);
}

void MainWindowPresenter::runButton(MainButton button) {
  switch (button) {
    case MainButton::Download:
      if (!deps_.storage->ownListHasSelection()) {
        deps_.dialogs->show("다운로드 할 파일을 선택 하세요!    ", "확인", MessageIcon::Warning,
                            DialogOwner::MainWindow);
      } else {
        deps_.storage->downloadSelection();
        deps_.search->downloadSelection();
      }
      break;
    case MainButton::Upload:
      if (!deps_.local->localListHasSelection()) {
        deps_.dialogs->show("업로드 할 파일을 선택 하세요!    ", "확인", MessageIcon::Warning,
                            DialogOwner::MainWindow);
      } else {
        deps_.uploads->openWindow();
        deps_.local->uploadSelection();
      }
      break;
    case MainButton::Settings:
      deps_.local->openSettings();
      break;
    case MainButton::HomePage:
      openPage(deps_.servers->webBase(Server::WebSite) + "/");
      break;
    case MainButton::ClubSite:
      openPage(deps_.servers->webBase(Server::ClubSite) + "/");
      break;
    case MainButton::FileBoxSite:
      openPage(deps_.servers->webBase(Server::FileBoxSite) + "/");
      break;
    case MainButton::HelpDesk:
      openPage(deps_.servers->webBase(Server::WebSite) + "/help_desk/");
      break;
    case MainButton::Payment:
      openPage(
          paymentUrl(*deps_.servers, deps_.session->state().memberId, deps_.session->webToken()));
      break;
    case MainButton::Search:
      deps_.search->runSearch();
      break;
    case MainButton::MemoList:
      if (deps_.view != nullptr) {
        const ScreenPoint at = deps_.view->screenPosition();
        deps_.shell->openBrowserWindow(
            memoListUrl(*deps_.servers, deps_.session->state().memberId, deps_.session->webToken()),
            at.x + 4, at.y + 30, 460, 500);
      }
      break;
    case MainButton::OpenDownloadFolder:
      deps_.shell->execute("open", "explorer.exe", downloadFolder_, ShowMode::Normal);
      break;
    case MainButton::ChooseDownloadFolder:
      chooseDownloadFolder();
      break;
    case MainButton::End:
      if (deps_.view != nullptr) deps_.view->requestClose();
      break;
  }
}

void MainWindowPresenter::chooseDownloadFolder() {
  std::string path;
  if (!deps_.dialogs->pickFolder(DialogOwner::MainWindow, "디렉토리를 선택하세요", path)) return;
  deps_.config->writeText(ConfigKey::BasicFolder, path);
  deps_.local->pointTreeAt(path);
  downloadFolder_ = path;
}

void MainWindowPresenter::onFilesDropped(const std::vector<std::string>& paths) {
  bool queued = false;
  for (const std::string& path : paths) {
    const FileInfo file = deps_.files->info(path);
    if (!file.exists || file.isDirectory || file.size == 0) continue;
    queued = deps_.uploads->queueFile(path) || queued;
  }
  if (queued) deps_.uploads->noteUploadStarted(UploadLink::kNoticeHeight);
}

void MainWindowPresenter::onSearchEnter() {
  deps_.search->runSearch();
}

void MainWindowPresenter::onEscape() {
  if (deps_.view != nullptr) deps_.view->requestClose();
}

bool MainWindowPresenter::confirmClose() {
  Dialogs& dialogs = *deps_.dialogs;
  if (deps_.uploads->uploadsPending()) {
    return dialogs.show("업로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ",
                        "Pomvale", MessageIcon::Warning, DialogOwner::MainWindow,
                        MessageButtons::OkCancel) == MessageAnswer::Ok;
  }
  if (deps_.downloads->downloadsPending()) {
    return dialogs.show(
               "다운로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ",
               "Pomvale", MessageIcon::Warning, DialogOwner::MainWindow,
               MessageButtons::OkCancel) == MessageAnswer::Ok;
  }
  return dialogs.show("프로그램을 종료하시겠습니까?     ", "종료", MessageIcon::Warning,
                      DialogOwner::MainWindow, MessageButtons::YesNo) != MessageAnswer::No;
}

void MainWindowPresenter::paint() {
  if (!built_ || deps_.view == nullptr) return;
  SkinPainter* painter = deps_.view->painter();
  for (SkinButton& button : buttons_) button.paint();
  for (int i : kPaintedImages) images_[i].paint(painter);
  if (painter != nullptr && painter->windowValid()) {
    painter->drawText(memberLine(deps_.session->state().memberId), 30, 70, SkinFont::Bold,
                      SkinColor::Black);
    painter->drawText("쪽지:", 150, 70, SkinFont::Bold, SkinColor::Black);
  }
  adLine_.setPosition(220, images_[6].y() + 3);
  adLine_.paint();
  const SkinImage& panel = images_[kStatusPanelImage];
  const SessionState& session = deps_.session->state();
  if (panel.isVisible()) {
    deps_.view->paintStatusPanel(panel.resourceId(), panel.x(), panel.y(),
                                 formatPoints(session.credit),
                                 connectionKindText(session.flatRate));
  }
  forEachPane([](MainPane& pane) { pane.repaint(); });
}

void MainWindowPresenter::ensureDownloadFolder(const std::string& path) {
  if (!path.empty() && deps_.files->info(path).isDirectory) {
    downloadFolder_ = path;
    return;
  }
  downloadFolder_ = kDefaultDownloadFolder;
  makeDirectories(*deps_.files, downloadFolder_);
}

void MainWindowPresenter::setAdLine(const std::string& text, const std::string& link) {
  adLine_.setText(text);
  adLine_.setLink(link);
}

}  // namespace pom
