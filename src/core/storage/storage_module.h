// StorageModule: the web storage subsystem as one module of the composition
// root.
//
// Members (stage Windows, in this order): the progress dialog and the
// term-extension dialog; the web tree, the file list and the friend and memo
// dialogs join them. It owns listingPending, registers the storage reply
// branches with their message boxes and offers StorageLink.
//
// Until the web tree and the file list exist, the answers they would take
// end only the wait the loading dialog shows; there is no selection to
// download and nothing to refresh. Loop thread only.
#pragma once

#include <memory>

#include "core/hub/module.h"
#include "core/hub/storage_link.h"
#include "core/storage/storage_replies.h"

namespace pom {

class ModuleContext;
class ProgressDialog;
class ProgressDialogView;
class TermExtensionDialog;
class TermExtensionDialogView;

class StorageModule final : public Module, public StorageLink, private StorageReplyTarget {
 public:
  explicit StorageModule(ModuleContext& context);
  ~StorageModule() override;

  const char* name() const override { return "web storage"; }
  void create(Stage stage) override;
  void attachViews() override;
  void destroy(Stage stage) override;

  // StorageLink
  bool ownListHasSelection() const override { return false; }
  void downloadSelection() override {}
  bool listingPending() const override { return listingPending_; }
  void setListingPending(bool pending) override { listingPending_ = pending; }

  ProgressDialog& progressDialog() { return *progress_; }
  TermExtensionDialog& termExtensionDialog() { return *termExtension_; }

 private:
  // StorageReplyTarget
  void friendListArrived(const FriendList&) override;
  void folderPageArrived(const FolderList&) override;
  void memberFolderPageArrived(const MemberFolderList&) override;
  void friendAdded(const FriendRecord&) override {}
  void friendRemoved(const std::string&) override {}
  void memoChanged() override {}
  void folderCreated(const FolderCreated&) override {}
  void fileRegistered(const FileRegistered&) override {}
  void itemSizeUpdated(const ItemSizeUpdate&) override {}
  void sharingConfirmed(std::int32_t, char) override {}
  void sharingFailed(std::int32_t) override {}
  void deleteConfirmed(std::int32_t, bool, bool) override {}
  void renameRefused() override {}
  bool combinedLinkMade(const std::string&) override { return false; }

  void onExtendTermReply(const ExtendTermReply& reply);

  ModuleContext& context_;
  bool listingPending_ = false;
  std::unique_ptr<ProgressDialog> progress_;
  std::unique_ptr<ProgressDialogView> progressView_;
  std::unique_ptr<TermExtensionDialog> termExtension_;
  std::unique_ptr<TermExtensionDialogView> termExtensionView_;
  std::unique_ptr<StorageReplies> replies_;
};

}  // namespace pom
