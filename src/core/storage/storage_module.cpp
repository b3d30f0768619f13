#include "core/storage/storage_module.h"

#include "core/hub/local_browser_link.h"
#include "core/hub/main_window_link.h"
#include "core/hub/module_context.h"
#include "core/hub/session_link.h"
#include "core/hub/transfer_links.h"
#include "core/storage/progress_dialog.h"
#include "core/storage/storage_dialogs.h"
#include "core/storage/storage_views.h"
#include "core/storage/term_extension_dialog.h"
#include "core/storage/web_file_list.h"
#include "core/storage/web_folder_tree.h"

namespace pom {

StorageModule::StorageModule(ModuleContext& context) : context_(context) {
  context_.provide<StorageLink>(*this);
}

StorageModule::~StorageModule() {
  context_.withdraw<StorageLink>();
}

bool StorageModule::connect() {
  bool ok = context_.require(session_, name());
  ok &= context_.require(mainWindow_, name());
  ok &= context_.require(downloads_, name());
  ok &= context_.require(uploads_, name());
  local_ = context_.find<LocalBrowserLink>();  // optional: drops on the local list
  return ok;
}

void StorageModule::create(Stage stage) {
  if (stage != Stage::Windows) return;
  const AppPorts& ports = context_.ports();
  friendAdd_ = std::make_unique<FriendAddDialog>(*session_);
  context_.note("+FriendAddDialog");
  memo_ = std::make_unique<MemoDialog>();
  context_.note("+MemoDialog");
  progress_ = std::make_unique<ProgressDialog>();
  context_.note("+ProgressDialog");
  termExtension_ = std::make_unique<TermExtensionDialog>(ports.dialogs);
  context_.note("+TermExtensionDialog");

  WebFileList::Deps list;
  list.host = this;
  list.session = session_;
  list.downloads = downloads_;
  list.local = local_;
  list.uploads = uploads_;
  list.dialogs = ports.dialogs;
  list.shell = ports.shell;
  list.config = &context_.config();
  list.loop = ports.loop;
  list.servers = &context_.servers();
  list.progress = progress_.get();
  list.memo = memo_.get();
  list_ = std::make_unique<WebFileList>(std::move(list));
  ListingTarget& target = *this;
  listings_ = std::make_unique<FolderListings>(*session_, *progress_, target);
  context_.note("+WebFileList");

  WebFolderTree::Deps tree;
  tree.session = session_;
  tree.mainWindow = mainWindow_;
  tree.downloads = downloads_;
  tree.local = local_;
  tree.uploads = uploads_;
  tree.dialogs = ports.dialogs;
  tree.config = &context_.config();
  tree.listings = listings_.get();
  tree.list = list_.get();
  tree.progress = progress_.get();
  tree.friendAdd = friendAdd_.get();
  tree.memo = memo_.get();
  tree_ = std::make_unique<WebFolderTree>(std::move(tree));
  context_.note("+WebFolderTree");

  StorageReplyTarget& replies = *this;
  replies_ = std::make_unique<StorageReplies>(context_.replies(), *ports.dialogs, replies);
  context_.replies().on<ExtendTermReply>(
      name(), [this](const ExtendTermReply& reply) { onExtendTermReply(reply); });
  session_->whenLoggedIn([this](bool again) { onLoggedIn(again); });
}

void StorageModule::attachViews() {
  StorageViews* views = nullptr;
  if (!context_.require(views, name())) return;
  treeView_ = views->createWebTreeView(*tree_);
  tree_->attachView(treeView_.get(), mainWindow_->painter());
  listView_ = views->createWebFileListView(*list_);
  list_->attachView(listView_.get(), mainWindow_->painter());
  friendAddView_ = views->createFriendAddDialogView(*friendAdd_);
  friendAdd_->attach(friendAddView_.get());
  memoView_ = views->createMemoDialogView(*memo_);
  memo_->attach(memoView_.get());
  progressView_ = views->createProgressDialogView(*progress_);
  progress_->attach(progressView_.get());
  termExtensionView_ = views->createTermExtensionDialogView(*termExtension_);
  termExtension_->attach(termExtensionView_.get(), context_.ports().dialogs);
  mainWindow_->setPane(PaneId::WebTree, tree_.get());
  mainWindow_->setPane(PaneId::OwnList, list_.get());
}

void StorageModule::destroy(Stage stage) {
  // The main window, which holds the two panes, has gone before (it comes
  // earlier in module order).
  if (stage != Stage::Windows || !tree_) return;
  replies_.reset();
  tree_->attachView(nullptr, nullptr);
  treeView_.reset();
  tree_.reset();
  context_.note("-WebFolderTree");
  listings_.reset();
  list_->attachView(nullptr, nullptr);
  listView_.reset();
  list_.reset();
  context_.note("-WebFileList");
  friendAdd_->attach(nullptr);
  friendAddView_.reset();
  friendAdd_.reset();
  context_.note("-FriendAddDialog");
  memo_->attach(nullptr);
  memoView_.reset();
  memo_.reset();
  context_.note("-MemoDialog");
  progress_->attach(nullptr);
  progressView_.reset();
  progress_.reset();
  context_.note("-ProgressDialog");
  termExtension_->attach(nullptr, context_.ports().dialogs);
  termExtensionView_.reset();
  termExtension_.reset();
  context_.note("-TermExtensionDialog");
}

void StorageModule::onLoggedIn(bool again) {
  if (!again) {
    // The main layout stands: the tree shows and lists "내웹폴더", whose
    // answer shows the window again.
    tree_->setVisible(true);
    tree_->build();
    return;
  }
  // A new connection: the answers the old one owed will never come.
  listings_->reset();
  list_->clearQueues();
  tree_->forgetOpened();
  searchPending_ = false;
}

// --- StorageLink ---------------------------------------------------------

bool StorageModule::ownListHasSelection() const {
  return list_->hasSelection();
}

void StorageModule::downloadSelection() {
  list_->command(WebListCommand::Download);
}

bool StorageModule::listingPending() const {
  return listings_->pending() || searchPending_;
}

std::int32_t StorageModule::currentFolderId() const {
  // Uploads go only into the member's own folders.
  if (!list_ || !list_->ownListing() || list_->folder() < 0) return 0;
  return list_->folder();
}

bool StorageModule::ownListing() const {
  return list_ != nullptr && list_->ownListing();
}

bool StorageModule::openFriendAdd(const std::string& presetId) {
  return friendAdd_ != nullptr && friendAdd_->open(presetId);
}

namespace {

std::vector<LinkRow> linkRows(const std::vector<StorageLink::LinkedFile>& files) {
  std::vector<LinkRow> rows;
  for (const StorageLink::LinkedFile& file : files)
    rows.push_back({file.fileId, file.name, file.sizeBytes});
  return rows;
}

}  // namespace

void StorageModule::copyWebLinks(const std::vector<LinkedFile>& files) {
  if (list_ != nullptr) list_->copyWebLinks(linkRows(files));
}

void StorageModule::requestCombinedLink(const std::vector<LinkedFile>& files) {
  if (list_ != nullptr) list_->requestCombinedLink(linkRows(files));
}

std::string StorageModule::currentFolderPath() const {
  if (!tree_) return "";
  const WebNodeId node = tree_->findFolder(tree_->ownRoot(), currentFolderId(), nullptr);
  return node == 0 ? "" : tree_->pathOf(node);
}

// --- listings ------------------------------------------------------------

void StorageModule::listingStarted(const ListingRequest& request) {
  list_->beginListing(request.folderId, request.friendId);
}

void StorageModule::pageArrived(const ListingRequest& request,
                                const std::vector<FolderEntry>& entries) {
  list_->appendEntries(entries);
  if (request.own()) mainWindow_->showAndFocus();
}

void StorageModule::listingComplete(const ListingRequest& request) {
  if (request.own()) {
    tree_->showOwnFolder(request.folderId);
  } else {
    tree_->showFriendFolder(request.folderId, request.friendId);
  }
  if (request.downloadAfter) tree_->downloadFolder(request.node, request.downloadInto);
}

// --- replies -------------------------------------------------------------

void StorageModule::friendListArrived(const FriendList& list) {
  tree_->friendListArrived(list.friends);
}

void StorageModule::folderPageArrived(const FolderList& page) {
  listings_->onFolderList(page);
}

void StorageModule::memberFolderPageArrived(const MemberFolderList& page) {
  listings_->onMemberFolderList(page);
}

void StorageModule::friendAdded(const FriendRecord& record) {
  tree_->addFriend(record.displayName, record.friendId, record.memo);
}

void StorageModule::friendRemoved(const std::string& friendId) {
  tree_->removeFriend(friendId);
}

void StorageModule::memoChanged() {
  tree_->memoChanged();
}

void StorageModule::folderCreated(const FolderCreated& folder) {
  const WebItem item = WebItem::fromCreated(folder);
  list_->addItem(item);
  if (folder.parentId < 0 || folder.parentId != list_->folder() || !list_->ownListing()) return;
  tree_->showOwnFolder(folder.parentId);
  if (folder.skipLabelEdit == 0) list_->editLabel(folder.folderId);
}

void StorageModule::fileRegistered(const FileRegistered& file) {
  list_->addItem(WebItem::fromRegistered(file));
}

void StorageModule::itemSizeUpdated(const ItemSizeUpdate& update) {
  list_->updateItem(update);
}

void StorageModule::sharingConfirmed(std::int32_t itemId, char state) {
  list_->shareConfirmed(itemId, state);
}

void StorageModule::sharingFailed(std::int32_t itemId) {
  list_->shareFailed(itemId);
}

void StorageModule::deleteConfirmed(std::int32_t itemId, bool deleted, bool folder) {
  if (deleted && folder) tree_->removeFolder(itemId);
  list_->deleteConfirmed(itemId, deleted);
}

void StorageModule::renameRefused() {
  tree_->refresh();
}

bool StorageModule::combinedLinkMade(const std::string& linkCode) {
  return list_->pasteCombinedLink(linkCode);
}

void StorageModule::combinedLinkFailed() {
  list_->combinedLinkFailed();
}

void StorageModule::onExtendTermReply(const ExtendTermReply& reply) {
  termExtension_->storedValue = reply.value;
  termExtension_->freeQuota = reply.quotaBytes;
  termExtension_->totalUsed = reply.usedBytes;
  termExtension_->result = reply.result;
  termExtension_->open();
}

// --- WebFileListHost -----------------------------------------------------

void StorageModule::refreshListing() {
  tree_->refresh();
}

void StorageModule::openFolder(std::int32_t folderId, const std::string& ownerId,
                               bool downloadAfter, const std::string& downloadInto) {
  tree_->openFolder(folderId, ownerId, downloadAfter, downloadInto);
}

void StorageModule::folderRenamed(std::int32_t folderId, const std::string& name) {
  tree_->renameFolder(folderId, name);
}

void StorageModule::selectParentFolder() {
  tree_->selectParent();
}

}  // namespace pom
