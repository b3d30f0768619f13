// Replies and notifications of the login server, one plain struct per
// message. decode() is the client's side: it refuses a body of the wrong type
// and, for fixed-size messages, of any length but the exact one; list
// messages read entries only while an entry lies wholly inside the body, so
// an announced count that runs past the end stops at the last complete entry
// (the announced count is kept in `count`). encode() is the service's side;
// for lists it writes entries.size() as the count and ignores `count`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/net/messages/message_types.h"
#include "core/net/messages/records.h"
#include "core/net/messages/requests.h"

namespace pom {

struct LoginReply {
  static constexpr ReplyType kType = ReplyType::LoginReply;
  static constexpr std::size_t kSize = 122;
  enum class Result : std::uint8_t { Accepted = 0, FlatRateExhausted = 3, Retry = 100 };
  std::string memberId;            // char[21] at 10
  std::string memberText;          // char[42] at 31
  std::string registrationNumber;  // 13 ASCII digits at 73 (no terminator inside the field)
  std::int16_t flatRate = 0;
  std::int64_t credit = 0;
  std::int64_t valueB = 0;
  std::int64_t valueC = 0;
  std::int64_t valueD = 0;
  Result result = Result::Accepted;
  Bytes encode() const;
  static std::optional<LoginReply> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const {
    return std::tie(memberId, memberText, registrationNumber, flatRate, credit, valueB, valueC,
                    valueD, result);
  }
};

struct FriendList {
  static constexpr ReplyType kType = ReplyType::FriendList;
  static constexpr std::size_t kHeadSize = 7;
  std::uint8_t count = 0;  // as announced
  std::vector<FriendRecord> friends;
  Bytes encode() const;
  static std::optional<FriendList> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(count, friends); }
};

struct FolderList {
  static constexpr ReplyType kType = ReplyType::FolderList;
  static constexpr std::size_t kHeadSize = 17;
  std::int32_t folderId = 0;
  std::uint8_t continuation = 0;
  std::uint8_t capacity = 0;  // page capacity: fewer entries than this ends the listing
  std::uint8_t count = 0;     // entries announced in this page
  std::vector<FolderEntry> entries;
  Bytes encode() const;
  static std::optional<FolderList> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(folderId, continuation, capacity, count, entries); }
};

struct MemberFolderList {
  static constexpr ReplyType kType = ReplyType::MemberFolderList;
  static constexpr std::size_t kHeadSize = 38;
  std::string friendId;  // char[21] at 6
  std::int32_t folderId = 0;
  std::uint8_t continuation = 0;
  std::uint8_t capacity = 0;
  std::uint8_t count = 0;
  std::vector<FolderEntry> entries;
  Bytes encode() const;
  static std::optional<MemberFolderList> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(friendId, folderId, continuation, capacity, count, entries); }
};

struct AddFriendReply {
  static constexpr ReplyType kType = ReplyType::AddFriendReply;
  static constexpr std::size_t kSize = 249;
  enum class Result : std::uint8_t { Added = 0, NoSuchId = 2, AlreadyFriend = 3, OwnId = 4 };
  FriendRecord record;  // at 6
  Result result = Result::Added;
  Bytes encode() const;
  static std::optional<AddFriendReply> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(record, result); }
};

struct RemoveFriendReply {
  static constexpr ReplyType kType = ReplyType::RemoveFriendReply;
  static constexpr std::size_t kSize = 28;
  enum class Result : std::uint8_t { Removed = 0 };
  std::string friendId;  // char[21] at 6
  Result result = Result::Removed;
  Bytes encode() const;
  static std::optional<RemoveFriendReply> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(friendId, result); }
};

struct EditMemoReply {
  static constexpr ReplyType kType = ReplyType::EditMemoReply;
  static constexpr std::size_t kSize = 249;
  enum class Result : std::uint8_t { Changed = 0 };
  FriendRecord record;
  Result result = Result::Changed;
  Bytes encode() const;
  static std::optional<EditMemoReply> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(record, result); }
};

struct UploadFolderCreated {
  static constexpr ReplyType kType = ReplyType::UploadFolderCreated;
  static constexpr std::size_t kSize = 18;
  enum class Result : std::uint8_t { Created = 0 };
  std::int32_t folderId = 0;  // the new folder, at 10
  std::uint16_t pendingIndex = 0;
  std::uint8_t forUpload = 0;  // must be 1
  Result result = Result::Created;
  Bytes encode() const;
  static std::optional<UploadFolderCreated> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(folderId, pendingIndex, forUpload, result); }
};

struct FolderCreated {
  static constexpr ReplyType kType = ReplyType::FolderCreated;
  static constexpr std::size_t kSize = 154;
  enum class Result : std::uint8_t { Created = 0 };
  std::string name;  // char[100] at 6
  std::int32_t folderId = 0;
  std::int32_t parentId = 0;
  char sharingState = 0;
  std::int64_t storedBytes = 0;
  std::int64_t size = 0;
  DateBlock date;
  std::uint16_t downloadCount = 0;
  std::uint8_t skipLabelEdit = 0;  // 0: open the new name for editing
  Result result = Result::Created;
  Bytes encode() const;
  static std::optional<FolderCreated> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const {
    return std::tie(name, folderId, parentId, sharingState, storedBytes, size, date, downloadCount,
                    skipLabelEdit, result);
  }
};

struct FileRegistered {
  static constexpr ReplyType kType = ReplyType::FileRegistered;
  static constexpr std::size_t kSize = 309;
  enum class Result : std::uint8_t { Registered = 0 };
  std::string name;  // char[256] at 6
  std::int32_t fileId = 0;
  std::int32_t parentId = 0;
  char sharingState = 0;
  std::int64_t storedBytes = 0;
  std::int64_t size = 0;
  DateBlock date;  // date.day (offset 292) is the number of days kept
  std::uint16_t downloadCount = 0;
  Result result = Result::Registered;
  Bytes encode() const;
  static std::optional<FileRegistered> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const {
    return std::tie(name, fileId, parentId, sharingState, storedBytes, size, date, downloadCount,
                    result);
  }
};

struct ItemSizeUpdate {
  static constexpr ReplyType kType = ReplyType::ItemSizeUpdate;
  static constexpr std::size_t kSize = 31;
  enum class Result : std::uint8_t { Updated = 0 };
  std::int32_t itemId = 0;
  std::int64_t size = 0;
  std::int64_t storedBytes = 0;
  std::uint16_t daysKept = 0;
  Result result = Result::Updated;
  Bytes encode() const;
  static std::optional<ItemSizeUpdate> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(itemId, size, storedBytes, daysKept, result); }
};

struct UploadTicket {
  static constexpr ReplyType kType = ReplyType::UploadTicket;
  static constexpr std::size_t kSize = 47;
  enum class Result : std::uint8_t { Go = 0, FromNothing = 255 };
  std::string storageHost;  // char[16] at 6, dotted IPv4
  std::uint16_t storagePort = 0;
  std::uint16_t uploadRow = 0;
  std::int32_t serverFileId = 0;
  std::int64_t fileSize = 0;
  std::int64_t storedBytes = 0;
  Result result = Result::Go;
  Bytes encode() const;
  static std::optional<UploadTicket> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const {
    return std::tie(storageHost, storagePort, uploadRow, serverFileId, fileSize, storedBytes,
                    result);
  }
};

struct DownloadTicket {
  static constexpr ReplyType kType = ReplyType::DownloadTicket;
  static constexpr std::size_t kSize = 518;
  enum class Result : std::uint8_t { Go = 0, PaymentNeeded = 1, Unavailable = 255 };
  std::int32_t fileId = 0;
  std::string serverPath;       // char[256] at 10
  std::string storagePathHead;  // char[100] at 266
  std::string storagePathTail;  // char[100] at 366
  std::string storageHost;      // char[16] at 466, dotted IPv4 (port 7201)
  std::int16_t flatRate = 0;
  Result result = Result::Go;
  std::string uniqueCode;  // char[33] at 485
  // The two parts of the second path text, appended.
  std::string storagePath() const { return storagePathHead + storagePathTail; }
  Bytes encode() const;
  static std::optional<DownloadTicket> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const {
    return std::tie(fileId, serverPath, storagePathHead, storagePathTail, storageHost, flatRate,
                    result, uniqueCode);
  }
};

struct SetSharingReply {
  static constexpr ReplyType kType = ReplyType::SetSharingReply;
  static constexpr std::size_t kSize = 12;
  enum class Result : std::uint8_t { Done = 0, Protected = 3 };
  std::int32_t itemId = 0;
  char sharingState = 0;  // now in force
  Result result = Result::Done;
  Bytes encode() const;
  static std::optional<SetSharingReply> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(itemId, sharingState, result); }
};

struct DeleteItemReply {
  static constexpr ReplyType kType = ReplyType::DeleteItemReply;
  static constexpr std::size_t kSize = 12;
  enum class Result : std::uint8_t { Deleted = 0 };
  std::int32_t itemId = 0;
  std::uint8_t kind = 0;  // 100 ('d') when a folder was deleted
  Result result = Result::Deleted;
  Bytes encode() const;
  static std::optional<DeleteItemReply> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(itemId, kind, result); }
};

struct RenameFileReply {
  static constexpr ReplyType kType = ReplyType::RenameFileReply;
  static constexpr std::size_t kSize = 271;
  enum class Result : std::uint8_t { Renamed = 0 };
  Result result = Result::Renamed;  // at 270
  Bytes encode() const;
  static std::optional<RenameFileReply> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(result); }
};

struct MoveFileReply {
  static constexpr ReplyType kType = ReplyType::MoveFileReply;
  static constexpr std::size_t kSize = 19;
  Bytes encode() const;
  static std::optional<MoveFileReply> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(); }
};

// SearchResults, SearchMoreResults and FolderContent share one layout:
// uint16 count at 6, SearchEntry records from 8.
struct SearchResults {
  static constexpr ReplyType kType = ReplyType::SearchResults;
  static constexpr std::size_t kHeadSize = 8;
  std::uint16_t count = 0;
  std::vector<SearchEntry> entries;
  Bytes encode() const;
  static std::optional<SearchResults> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(count, entries); }
};

struct SearchMoreResults {
  static constexpr ReplyType kType = ReplyType::SearchMoreResults;
  static constexpr std::size_t kHeadSize = 8;
  std::uint16_t count = 0;
  std::vector<SearchEntry> entries;
  Bytes encode() const;
  static std::optional<SearchMoreResults> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(count, entries); }
};

struct FolderContent {
  static constexpr ReplyType kType = ReplyType::FolderContent;
  static constexpr std::size_t kHeadSize = 8;
  std::uint16_t count = 0;
  std::vector<SearchEntry> entries;  // uniqueCode not used
  Bytes encode() const;
  static std::optional<FolderContent> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(count, entries); }
};

struct CreditBalance {
  static constexpr ReplyType kType = ReplyType::CreditBalance;
  static constexpr std::size_t kSize = 15;
  std::int64_t credit = 0;
  Bytes encode() const;
  static std::optional<CreditBalance> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(credit); }
};

struct ExtendTermReply {
  static constexpr ReplyType kType = ReplyType::ExtendTermReply;
  static constexpr std::size_t kSize = 27;
  enum class Result : std::uint8_t { Extended = 0, NotEligible = 2, CapacityExceeded = 4 };
  std::int32_t value = 0;  // stored, not shown
  std::int64_t quotaBytes = 0;
  std::int64_t usedBytes = 0;
  Result result = Result::Extended;
  Bytes encode() const;
  static std::optional<ExtendTermReply> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(value, quotaBytes, usedBytes, result); }
};

struct CombinedLinkReply {
  static constexpr ReplyType kType = ReplyType::CombinedLinkReply;
  static constexpr std::size_t kSize = 225;
  enum class Result : std::uint8_t { Made = 0 };
  std::string linkCode;  // char[20] at 204
  Result result = Result::Made;
  Bytes encode() const;
  static std::optional<CombinedLinkReply> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(linkCode, result); }
};

struct ServerNotice {
  static constexpr ReplyType kType = ReplyType::ServerNotice;
  static constexpr std::size_t kSize = 108;
  std::int32_t show = 0;  // 1: show the text
  std::string text;       // char[100] at 8
  Bytes encode() const;
  static std::optional<ServerNotice> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(show, text); }
};

struct NoteNotice {
  static constexpr ReplyType kType = ReplyType::NoteNotice;
  static constexpr std::size_t kSize = 9;
  std::uint8_t flag = 0;  // at 8; 0: notes are waiting
  bool notesWaiting() const { return flag == 0; }
  Bytes encode() const;
  static std::optional<NoteNotice> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(flag); }
};

// Also sent on the storage-server data sessions, where any length counts.
struct KeepAlive {
  static constexpr ReplyType kType = ReplyType::KeepAlive;
  static constexpr std::size_t kSize = 9;
  Bytes encode() const;
  // Accepts any body of type 50 (it is ignored after reading).
  static std::optional<KeepAlive> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(); }
};

// The same 7-byte message on the login session and on the data sessions.
struct SessionInfo {
  static constexpr ReplyType kType = ReplyType::SessionInfo;
  static constexpr std::size_t kSize = 7;
  std::uint16_t sessionNumber = 0;
  Bytes encode() const;
  static std::optional<SessionInfo> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(sessionNumber); }
};

// Six bytes the server may send; read and ignored.
struct Unused52Reply {
  static constexpr ReplyType kType = ReplyType::Unused52;
  static constexpr std::size_t kSize = 6;
};

// Every message the login server sends, in type order. The dispatcher's size
// table (expectedReplySize) is built from each one's kSize (exact) or
// kHeadSize (a list: at least its head), so the struct is the one source.
using LoginServerReplies =
    std::tuple<LoginReply, FriendList, FolderList, MemberFolderList, AddFriendReply,
               RemoveFriendReply, EditMemoReply, UploadFolderCreated, FolderCreated, FileRegistered,
               ItemSizeUpdate, UploadTicket, DownloadTicket, SetSharingReply, DeleteItemReply,
               RenameFileReply, MoveFileReply, SearchResults, SearchMoreResults, FolderContent,
               CreditBalance, ExtendTermReply, CombinedLinkReply, ServerNotice, NoteNotice,
               KeepAlive, SessionInfo, Unused52Reply>;

}  // namespace pom
