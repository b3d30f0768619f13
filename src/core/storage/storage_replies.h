// StorageReplies: the reply branches of the web storage (friend list, folder
// listings, friends and memos, new folders and files, sharing, deleting,
// renaming, combined links).
//
// It shows the server's verdicts with their exact texts and hands the rest
// of each answer to a StorageReplyTarget: the web tree and the file list.
// Message boxes are owned by the top window. Loop thread only.
#pragma once

#include <cstdint>
#include <string>

#include "core/net/messages/replies.h"

namespace pom {

class Dialogs;
class ReplyDispatcher;

class StorageReplyTarget {
 public:
  virtual ~StorageReplyTarget() = default;

  virtual void friendListArrived(const FriendList& list) = 0;
  virtual void folderPageArrived(const FolderList& page) = 0;
  virtual void memberFolderPageArrived(const MemberFolderList& page) = 0;
  // A friend was added (the display name is never empty: "*****" stands in).
  virtual void friendAdded(const FriendRecord& record) = 0;
  virtual void friendRemoved(const std::string& friendId) = 0;
  // A memo changed: the friend list is to be requested again.
  virtual void memoChanged() = 0;
  virtual void folderCreated(const FolderCreated& folder) = 0;
  virtual void fileRegistered(const FileRegistered& file) = 0;
  virtual void itemSizeUpdated(const ItemSizeUpdate& update) = 0;
  // A sharing change is in force (state 'b' when the copyright check refused
  // to make the item public), or failed.
  virtual void sharingConfirmed(std::int32_t itemId, char state) = 0;
  virtual void sharingFailed(std::int32_t itemId) = 0;
  // A delete was done or refused; `folder` when a folder went.
  virtual void deleteConfirmed(std::int32_t itemId, bool deleted, bool folder) = 0;
  // A rename was refused: the listing is to be requested again.
  virtual void renameRefused() = 0;
  // The combined link's code arrived; true when its text reached the
  // clipboard.
  virtual bool combinedLinkMade(const std::string& linkCode) = 0;
  // The combined link was refused; what waited for its code is dropped.
  virtual void combinedLinkFailed() = 0;
};

class StorageReplies {
 public:
  StorageReplies(ReplyDispatcher& dispatcher, Dialogs& dialogs, StorageReplyTarget& target);

  void onAddFriendReply(const AddFriendReply& reply);
  void onRemoveFriendReply(const RemoveFriendReply& reply);
  void onEditMemoReply(const EditMemoReply& reply);
  void onSetSharingReply(const SetSharingReply& reply);
  void onDeleteItemReply(const DeleteItemReply& reply);
  void onRenameFileReply(const RenameFileReply& reply);
  void onCombinedLinkReply(const CombinedLinkReply& reply);

 private:
  void error(const std::string& text);

  Dialogs& dialogs_;
  StorageReplyTarget& target_;
};

}  // namespace pom
