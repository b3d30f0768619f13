// StorageModule: the web storage subsystem as one module of the composition
// root.
//
// Members (stage Windows, in this order): the web-folder tree and the web
// file list (panes of the main window), the friend-add and memo dialogs, the
// progress dialog and the term-extension dialog. It owns the folder
// listings (and so listingPending; a search's pending flag is kept beside
// it), registers the storage reply branches with their message boxes,
// builds the tree once the first login stands (which asks for the first
// listing), forgets what was outstanding when a login follows a lost
// connection, and offers StorageLink. Loop thread only.
#pragma once

#include <memory>

#include "core/hub/module.h"
#include "core/hub/storage_link.h"
#include "core/storage/folder_listings.h"
#include "core/storage/storage_replies.h"
#include "core/storage/web_file_list_view.h"

namespace pom {

class DownloadLink;
class FriendAddDialog;
class FriendAddDialogView;
class LocalBrowserLink;
class MainWindowLink;
class MemoDialog;
class MemoDialogView;
class ModuleContext;
class ProgressDialog;
class ProgressDialogView;
class SessionLink;
class TermExtensionDialog;
class TermExtensionDialogView;
class UploadLink;
class WebFileList;
class WebFolderTree;
class WebTreeView;

class StorageModule final : public Module,
                            public StorageLink,
                            private StorageReplyTarget,
                            private ListingTarget,
                            private WebFileListHost {
 public:
  explicit StorageModule(ModuleContext& context);
  ~StorageModule() override;

  const char* name() const override { return "web storage"; }
  bool connect() override;
  void create(Stage stage) override;
  void attachViews() override;
  void destroy(Stage stage) override;

  // StorageLink
  bool ownListHasSelection() const override;
  void downloadSelection() override;
  bool listingPending() const override;
  void setListingPending(bool pending) override { searchPending_ = pending; }
  std::int32_t currentFolderId() const override;
  std::string currentFolderPath() const override;
  bool ownListing() const override;
  bool openFriendAdd(const std::string& presetId) override;
  void copyWebLinks(const std::vector<LinkedFile>& files) override;
  void requestCombinedLink(const std::vector<LinkedFile>& files) override;

  WebFolderTree& tree() { return *tree_; }
  WebFileList& list() { return *list_; }
  FolderListings& listings() { return *listings_; }
  FriendAddDialog& friendAddDialog() { return *friendAdd_; }
  MemoDialog& memoDialog() { return *memo_; }
  ProgressDialog& progressDialog() { return *progress_; }
  TermExtensionDialog& termExtensionDialog() { return *termExtension_; }

 private:
  // StorageReplyTarget
  void friendListArrived(const FriendList& list) override;
  void folderPageArrived(const FolderList& page) override;
  void memberFolderPageArrived(const MemberFolderList& page) override;
  void friendAdded(const FriendRecord& record) override;
  void friendRemoved(const std::string& friendId) override;
  void memoChanged() override;
  void folderCreated(const FolderCreated& folder) override;
  void fileRegistered(const FileRegistered& file) override;
  void itemSizeUpdated(const ItemSizeUpdate& update) override;
  void sharingConfirmed(std::int32_t itemId, char state) override;
  void sharingFailed(std::int32_t itemId) override;
  void deleteConfirmed(std::int32_t itemId, bool deleted, bool folder) override;
  void renameRefused() override;
  bool combinedLinkMade(const std::string& linkCode) override;
  void combinedLinkFailed() override;

  // ListingTarget
  void listingStarted(const ListingRequest& request) override;
  void pageArrived(const ListingRequest& request, const std::vector<FolderEntry>& entries) override;
  void listingComplete(const ListingRequest& request) override;

  // WebFileListHost
  void refreshListing() override;
  void openFolder(std::int32_t folderId, const std::string& ownerId, bool downloadAfter,
                  const std::string& downloadInto) override;
  void folderRenamed(std::int32_t folderId, const std::string& name) override;
  void selectParentFolder() override;

  void onLoggedIn(bool again);
  void onExtendTermReply(const ExtendTermReply& reply);

  ModuleContext& context_;
  SessionLink* session_ = nullptr;
  MainWindowLink* mainWindow_ = nullptr;
  DownloadLink* downloads_ = nullptr;
  LocalBrowserLink* local_ = nullptr;
  UploadLink* uploads_ = nullptr;
  bool searchPending_ = false;

  std::unique_ptr<ProgressDialog> progress_;
  std::unique_ptr<TermExtensionDialog> termExtension_;
  std::unique_ptr<FriendAddDialog> friendAdd_;
  std::unique_ptr<MemoDialog> memo_;
  std::unique_ptr<WebFileList> list_;
  std::unique_ptr<FolderListings> listings_;
  std::unique_ptr<WebFolderTree> tree_;
  std::unique_ptr<StorageReplies> replies_;

  std::unique_ptr<WebTreeView> treeView_;
  std::unique_ptr<WebFileListView> listView_;
  std::unique_ptr<FriendAddDialogView> friendAddView_;
  std::unique_ptr<MemoDialogView> memoView_;
  std::unique_ptr<ProgressDialogView> progressView_;
  std::unique_ptr<TermExtensionDialogView> termExtensionView_;
};

}  // namespace pom
