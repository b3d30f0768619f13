#include "core/storage/storage_replies.h"

#include "core/net/reply_dispatcher.h"
#include "core/ports/dialogs.h"

namespace pom {
namespace {

constexpr char kOwner[] = "web storage";
constexpr char kAnonymousFriend[] = "*****";
constexpr std::uint8_t kFolderKind = 100;

}  // namespace

StorageReplies::StorageReplies(ReplyDispatcher& dispatcher, Dialogs& dialogs,
                               StorageReplyTarget& target)
    : dialogs_(dialogs), target_(target) {
  dispatcher.on<FriendList>(kOwner, [this](const FriendList& m) { target_.friendListArrived(m); });
  dispatcher.on<FolderList>(kOwner, [this](const FolderList& m) { target_.folderPageArrived(m); });
  dispatcher.on<MemberFolderList>(
      kOwner, [this](const MemberFolderList& m) { target_.memberFolderPageArrived(m); });
  dispatcher.on<AddFriendReply>(kOwner, [this](const AddFriendReply& m) { onAddFriendReply(m); });
  dispatcher.on<RemoveFriendReply>(kOwner,
                                   [this](const RemoveFriendReply& m) { onRemoveFriendReply(m); });
  dispatcher.on<EditMemoReply>(kOwner, [this](const EditMemoReply& m) { onEditMemoReply(m); });
  dispatcher.on<FolderCreated>(kOwner, [this](const FolderCreated& m) {
    if (m.result == FolderCreated::Result::Created) target_.folderCreated(m);
  });
  dispatcher.on<FileRegistered>(kOwner, [this](const FileRegistered& m) {
    if (m.result == FileRegistered::Result::Registered) target_.fileRegistered(m);
  });
  dispatcher.on<ItemSizeUpdate>(kOwner, [this](const ItemSizeUpdate& m) {
    if (m.result == ItemSizeUpdate::Result::Updated) target_.itemSizeUpdated(m);
  });
  dispatcher.on<SetSharingReply>(kOwner,
                                 [this](const SetSharingReply& m) { onSetSharingReply(m); });
  dispatcher.on<DeleteItemReply>(kOwner,
                                 [this](const DeleteItemReply& m) { onDeleteItemReply(m); });
  dispatcher.on<RenameFileReply>(kOwner,
                                 [this](const RenameFileReply& m) { onRenameFileReply(m); });
  dispatcher.on<CombinedLinkReply>(kOwner,
                                   [this](const CombinedLinkReply& m) { onCombinedLinkReply(m); });
}

void StorageReplies::error(const std::string& text) {
  dialogs_.show(text, "Error", MessageIcon::Error, DialogOwner::TopWindow);
}

void StorageReplies::onAddFriendReply(const AddFriendReply& reply) {
  switch (reply.result) {
    case AddFriendReply::Result::Added: {
      FriendRecord record = reply.record;
      if (record.displayName.empty()) record.displayName = kAnonymousFriend;
      dialogs_.show(record.displayName + "님이 친구로 추가되었습니다.     ", "알림",
                    MessageIcon::Warning, DialogOwner::TopWindow);
      target_.friendAdded(record);
      break;
    }
    case AddFriendReply::Result::NoSuchId:
      error("존재하지 않는 아이디 입니다.     ");
      break;
    case AddFriendReply::Result::AlreadyFriend:
      error("이미 친구목록에 등록되어있습니다.     ");
      break;
    case AddFriendReply::Result::OwnId:
      error("자기자신은 등록할수 없습니다.     ");
      break;
    default:
      error("등록이 재대로 이루어 지지않습니다.     ");
      break;
  }
}

void StorageReplies::onRemoveFriendReply(const RemoveFriendReply& reply) {
  if (reply.result == RemoveFriendReply::Result::Removed) {
    target_.friendRemoved(reply.friendId);
  } else {
    error("친구목록에 등록되어있지 않습니다.");
  }
}

void StorageReplies::onEditMemoReply(const EditMemoReply& reply) {
  if (reply.result == EditMemoReply::Result::Changed) {
    target_.memoChanged();
  } else {
    error("메모수정에 실패했습니다.");
  }
}

void StorageReplies::onSetSharingReply(const SetSharingReply& reply) {
  switch (reply.result) {
    case SetSharingReply::Result::Done:
      target_.sharingConfirmed(reply.itemId, reply.sharingState);
      break;
    case SetSharingReply::Result::Protected:
      dialogs_.show("고유코드 값이 저작권또는 음란물에 포함되어 공개설정이 불가능합니다.     ",
                    "경고", MessageIcon::Warning, DialogOwner::TopWindow);
      target_.sharingConfirmed(reply.itemId, sharing::kRestricted);
      break;
    default:
      dialogs_.show("공개설정이 정상적으로 이루어지지 않았습니다.     ", "경고",
                    MessageIcon::Warning, DialogOwner::TopWindow);
      target_.sharingFailed(reply.itemId);
      break;
  }
}

void StorageReplies::onDeleteItemReply(const DeleteItemReply& reply) {
  if (reply.result == DeleteItemReply::Result::Deleted) {
    target_.deleteConfirmed(reply.itemId, true, reply.kind == kFolderKind);
  } else {
    error(
        "삭제가 정상적으로 이루어지지 않았습니다.\r\n\r\n폴더나 파일이 존재하면 삭제할수없습니다.");
    target_.deleteConfirmed(reply.itemId, false, false);
  }
}

void StorageReplies::onRenameFileReply(const RenameFileReply& reply) {
  if (reply.result == RenameFileReply::Result::Renamed) return;
  dialogs_.show("미완료 파일이거나 특정파일은 이름변경 불가 합니다.     ", "알림",
                MessageIcon::Warning, DialogOwner::TopWindow);
  target_.renameRefused();
}

void StorageReplies::onCombinedLinkReply(const CombinedLinkReply& reply) {
  if (reply.result != CombinedLinkReply::Result::Made) {
    error("통합링크 생성에 실패했습니다.     ");
    target_.combinedLinkFailed();
    return;
  }
  if (target_.combinedLinkMade(reply.linkCode)) {
    dialogs_.show("통합링크가 복사되었습니다.     ", "알림", MessageIcon::None,
                  DialogOwner::TopWindow);
  }
}

}  // namespace pom
