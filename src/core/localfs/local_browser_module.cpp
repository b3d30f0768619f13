#include "core/localfs/local_browser_module.h"

#include "core/hub/main_window_link.h"
#include "core/hub/module_context.h"
#include "core/hub/session_link.h"
#include "core/hub/storage_link.h"
#include "core/hub/transfer_links.h"

namespace pom {

LocalBrowserModule::LocalBrowserModule(ModuleContext& context) : context_(context) {
  context_.provide<LocalBrowserLink>(*this);
}

LocalBrowserModule::~LocalBrowserModule() {
  context_.withdraw<LocalBrowserLink>();
}

bool LocalBrowserModule::connect() {
  bool ok = context_.require(uploads_, name());
  ok &= context_.require(mainWindow_, name());
  ok &= context_.require(storage_, name());
  if (context_.require(session_, name())) {
    // The panes show with the main layout, built at the first login.
    session_->whenLoggedIn([this](bool again) {
      if (again) return;
      treePane_.setVisible(true);
      listPane_.setVisible(true);
    });
  } else {
    ok = false;
  }
  ok &= settings_.connect(name());
  return ok;
}

void LocalBrowserModule::create(Stage stage) {
  settings_.create(stage);
  if (stage != Stage::Windows) return;
  LocalFileList::Deps deps;
  deps.uploads = uploads_;
  deps.mainWindow = mainWindow_;
  deps.storage = storage_;
  list_ = std::make_unique<LocalFileList>(deps);
  tree_ = std::make_unique<LocalFolderTree>(*list_, uploads_);
  list_->setHost(tree_.get());
}

void LocalBrowserModule::attachViews() {
  settings_.attachViews();
  LocalBrowserViews* views = context_.find<LocalBrowserViews>();
  if (views == nullptr || !list_) return;
  shell_ = views->createLocalShell();
  if (shell_ == nullptr) return;
  listView_ = views->createLocalListView(*list_);
  treeView_ = views->createLocalTreeView(*tree_);
  list_->setShell(shell_.get());
  list_->setView(listView_.get());
  listPane_.attach(listView_.get());
  treePane_.attach(treeView_.get());
  tree_->attach(shell_.get(), treeView_.get());
  mainWindow_->setPane(PaneId::LocalTree, &treePane_);
  mainWindow_->setPane(PaneId::LocalList, &listPane_);
}

void LocalBrowserModule::destroy(Stage stage) {
  settings_.destroy(stage);
  if (stage != Stage::Windows || !list_) return;
  // The views first (they ask the presenters), the items the presenters
  // hold before the shell that made them. The main window is gone already.
  treePane_.attach(nullptr);
  listPane_.attach(nullptr);
  treeView_.reset();
  listView_.reset();
  tree_.reset();
  list_.reset();
  shell_.reset();
}

bool LocalBrowserModule::localListHasSelection() const {
  return list_ && list_->hasSelection();
}

void LocalBrowserModule::uploadSelection() {
  if (list_) list_->uploadSelected();
}

void LocalBrowserModule::pointTreeAt(const std::string& path) {
  if (tree_) tree_->pointAt(path);
}

std::string LocalBrowserModule::shownFolder() const {
  return list_ ? list_->shownFolder() : std::string();
}

}  // namespace pom
