#include "core/mainwindow/main_window_module.h"

#include "core/base/config_keys.h"
#include "core/hub/local_browser_link.h"
#include "core/hub/module_context.h"
#include "core/hub/search_link.h"
#include "core/hub/session_link.h"
#include "core/hub/storage_link.h"
#include "core/hub/transfer_links.h"
#include "core/mainwindow/ad_line.h"
#include "core/mainwindow/main_window_presenter.h"
#include "core/mainwindow/main_window_views.h"
#include "core/ports/http_client.h"

namespace pom {

MainWindowModule::MainWindowModule(ModuleContext& context) : context_(context) {
  context_.provide<MainWindowLink>(*this);
}

MainWindowModule::~MainWindowModule() {
  context_.withdraw<MainWindowLink>();
}

bool MainWindowModule::connect() {
  bool ok = context_.require(session_, name());
  ok &= context_.require(storage_, name());
  ok &= context_.require(search_, name());
  ok &= context_.require(uploads_, name());
  ok &= context_.require(downloads_, name());
  ok &= context_.require(local_, name());
  return ok;
}

void MainWindowModule::create(Stage stage) {
  if (stage != Stage::Windows) return;
  MainWindowPresenter::Deps deps;
  deps.config = &context_.config();
  deps.dialogs = context_.ports().dialogs;
  deps.shell = context_.ports().shell;
  deps.files = context_.ports().files;
  deps.servers = &context_.servers();
  deps.session = session_;
  deps.storage = storage_;
  deps.search = search_;
  deps.uploads = uploads_;
  deps.downloads = downloads_;
  deps.local = local_;
  presenter_ = std::make_unique<MainWindowPresenter>(std::move(deps));
  context_.note("+MainWindow");
}

void MainWindowModule::attachViews() {
  MainWindowViews* views = nullptr;
  if (!context_.require(views, name())) return;
  view_ = views->createMainWindowView(*presenter_);
  presenter_->attachView(view_.get());
  presenter_->prepare();
}

void MainWindowModule::start() {
  const HostPort server = context_.servers().http(Server::UpdateServer);
  const AdLine line =
      fetchAdLine(*context_.ports().http, server.host + ":" + std::to_string(server.port));
  presenter_->setAdLine(line.text, line.link);
}

void MainWindowModule::destroy(Stage stage) {
  if (stage != Stage::Windows || !presenter_) return;
  presenter_->attachView(nullptr);
  view_.reset();
  presenter_.reset();
  context_.note("-MainWindow");
}

bool MainWindowModule::layoutBuilt() const {
  return presenter_->layoutBuilt();
}

void MainWindowModule::buildLayout() {
  presenter_->buildLayout();
}

void MainWindowModule::setVisible(bool visible) {
  if (view_ != nullptr) view_->setWindowVisible(visible);
}

void MainWindowModule::paint() {
  presenter_->paint();
}

void MainWindowModule::redraw() {
  if (view_ != nullptr) view_->repaintAll();
}

ScreenPoint MainWindowModule::screenPosition() {
  return view_ != nullptr ? view_->screenPosition() : ScreenPoint{};
}

void MainWindowModule::setPane(PaneId id, MainPane* pane) {
  presenter_->setPane(id, pane);
}

void MainWindowModule::showAndFocus() {
  if (view_ != nullptr) view_->setWindowVisible(true);
}

SkinPainter* MainWindowModule::painter() {
  return view_ != nullptr ? view_->painter() : nullptr;
}

RightPaneMode MainWindowModule::rightPaneMode() const {
  return presenter_->rightPaneMode();
}

void MainWindowModule::setRightPaneMode(RightPaneMode mode) {
  presenter_->setRightPaneMode(mode);
}

std::string MainWindowModule::ensureDownloadFolder() {
  // Read at the moment of use: the download window may have chosen another.
  presenter_->ensureDownloadFolder(context_.config().readText(ConfigKey::BasicFolder));
  return presenter_->downloadFolder();
}

}  // namespace pom
