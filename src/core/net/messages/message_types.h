// Message type numbers of every protocol conversation, the body-size table the
// dispatchers use to drop wrong-length messages, and small helpers shared by
// the message builders.
//
// A body starts with its int32 type. On the login-server session a request
// and the server's answer share a type number but not a layout, hence
// separate enums for each direction; the storage-server data sessions
// (downloads and uploads) have numbering of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>

namespace pom {

// Client to login server.
enum class RequestType : std::int32_t {
  Login = 0,
  FriendList = 1,
  FolderList = 2,
  MemberFolderList = 3,
  AddFriend = 4,
  RemoveFriend = 5,
  EditMemo = 6,
  CreateFolder = 7,
  UploadFinished = 9,
  UploadTicket = 12,
  DownloadTicket = 13,
  SetSharing = 14,
  DeleteItem = 15,
  RenameFolder = 16,
  RenameFile = 17,
  MoveFile = 19,
  FolderContent = 23,
  TransferEnded = 24,
  ExtendTerm = 25,
  CombinedLink = 26,
  NoteCheck = 28,
  PeerReport = 30,
};

// Login server to client: replies and unsolicited notifications.
enum class ReplyType : std::int32_t {
  LoginReply = 0,
  FriendList = 1,
  FolderList = 2,
  MemberFolderList = 3,
  AddFriendReply = 4,
  RemoveFriendReply = 5,
  EditMemoReply = 6,
  UploadFolderCreated = 7,
  FolderCreated = 8,
  FileRegistered = 10,
  ItemSizeUpdate = 11,
  UploadTicket = 12,
  DownloadTicket = 13,
  SetSharingReply = 14,
  DeleteItemReply = 15,
  RenameFileReply = 17,
  MoveFileReply = 19,
  SearchResults = 21,
  SearchMoreResults = 22,
  FolderContent = 23,
  CreditBalance = 24,
  ExtendTermReply = 25,
  CombinedLinkReply = 26,
  ServerNotice = 27,
  NoteNotice = 28,
  KeepAlive = 50,
  SessionInfo = 51,
  Unused52 = 52,  // 6 bytes, read and ignored
};

// Client to storage server, download session.
enum class DownloadRequestType : std::int32_t {
  DownloadRequest = 3,
};

// Storage server to client, download session.
enum class DownloadReplyType : std::int32_t {
  DownloadAccept = 3,
  FileData = 5,
  CreditInfo = 6,
  CreditShortage = 7,
  FileRefused = 10,
  KeepAlive = 50,
  SessionInfo = 51,
};

// Client to storage server, upload session.
enum class UploadRequestType : std::int32_t {
  UploadRequest = 0,
  FileChunk = 1,
  UploadCancel = 2,
};

// Storage server to client, upload session.
enum class UploadReplyType : std::int32_t {
  UploadAccept = 0,
  UploadDone = 2,
  ChunkAck = 8,
  KeepAlive = 50,
  SessionInfo = 51,
};

// The int32 type at the start of a body; nothing when the body is shorter
// than 4 bytes.
std::optional<std::int32_t> bodyType(const std::uint8_t* body, std::size_t length);

// How long a body of a given type must be.
//   Exact:    exactly `exact` bytes; any other length is ignored.
//   Variable: any length from `exact` (the fixed head) up; lists are read
//             only as far as their entries lie inside the body.
//   Unknown:  the type is not handled on this conversation; ignore it.
enum class BodySizeKind { Exact, Variable, Unknown };
struct BodySize {
  BodySizeKind kind = BodySizeKind::Unknown;
  std::size_t exact = 0;
};
// True when a body of `length` bytes is acceptable under `size`.
bool acceptsLength(BodySize size, std::size_t length);

// Login-server replies by type number (types 50 and 52 included; types the
// client ignores, such as 9, 16, 18, 20, 29..49 and above 52, are Unknown).
BodySize expectedReplySize(std::int32_t type);
// Login-server requests by type number (for the service side).
BodySize expectedRequestSize(std::int32_t type);
// Data sessions. Messages that act whatever their length (FileData,
// FileRefused, ChunkAck, KeepAlive) are Variable with their minimum length.
BodySize expectedDownloadReplySize(std::int32_t type);
BodySize expectedUploadReplySize(std::int32_t type);
BodySize expectedDownloadRequestSize(std::int32_t type);
BodySize expectedUploadRequestSize(std::int32_t type);

// Sharing-state codes ('t' public, 'f' private, 'c' club, 'b'/'s' cannot be
// made public) and item kinds ('d' folder, 'f' file) as they travel.
namespace sharing {
constexpr char kPublic = 't';
constexpr char kPrivate = 'f';
constexpr char kClub = 'c';
constexpr char kRestricted = 'b';
constexpr char kBlocked = 's';
}  // namespace sharing
namespace item_kind {
constexpr char kFolder = 'd';
constexpr char kFile = 'f';
}  // namespace item_kind

// Sharing letter of a new folder or upload from the three UpLoadPublic
// settings: 't' for the first, 'f' for the second, 'c' for the third; later
// settings win; 'f' when none is set.
char sharingLetterFor(bool upLoadPublic1, bool upLoadPublic2, bool upLoadPublic3);

// Replaces the characters ' , and ; with '!' (names the service stores in
// comma-separated lists and quoted queries must not contain them).
std::string replaceReservedMarks(std::string name);

// Field-wise equality for every message struct and record: each one exposes
// tie() over its fields. Found by argument-dependent lookup.
template <typename T>
auto operator==(const T& a, const T& b) -> decltype(a.tie() == b.tie()) {
  return a.tie() == b.tie();
}
template <typename T>
auto operator!=(const T& a, const T& b) -> decltype(a.tie() == b.tie()) {
  return !(a.tie() == b.tie());
}

}  // namespace pom
