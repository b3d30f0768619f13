// Requests the client sends to the login server, one plain struct per
// message. encode() gives the exact body (zero-filled, packed,
// little-endian, texts cut to their field); decode() is the service's side
// and refuses a body of the wrong type or length. Bytes the layout leaves
// unused are written as zero and ignored when read.
//
// Messages with a `sessionNumber` carry the number last received in
// SessionInfo at offset 4; all others have zero there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/net/messages/message_types.h"

namespace pom {

using Bytes = std::vector<std::uint8_t>;

struct LoginRequest {
  static constexpr RequestType kType = RequestType::Login;
  static constexpr std::size_t kSize = 38;
  std::string memberId;  // char[21] at 6
  std::string password;  // char[11] at 27
  Bytes encode() const;
  static std::optional<LoginRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(memberId, password); }
};

struct FriendListRequest {
  static constexpr RequestType kType = RequestType::FriendList;
  static constexpr std::size_t kSize = 6;
  Bytes encode() const;
  static std::optional<FriendListRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(); }
};

struct FolderListRequest {
  static constexpr RequestType kType = RequestType::FolderList;
  static constexpr std::size_t kSize = 15;
  std::int32_t folderId = 0;
  std::int32_t lastEntryId = 0;   // 0 for the first page
  std::uint8_t continuation = 0;  // 0 first; then byte 14 of the previous page
  Bytes encode() const;
  static std::optional<FolderListRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(folderId, lastEntryId, continuation); }
};

struct MemberFolderListRequest {
  static constexpr RequestType kType = RequestType::MemberFolderList;
  static constexpr std::size_t kSize = 36;
  std::string friendId;       // char[21] at 6
  std::int32_t folderId = 0;  // 0: the friend's top folder
  std::int32_t lastEntryId = 0;
  std::uint8_t continuation = 0;
  Bytes encode() const;
  static std::optional<MemberFolderListRequest> decode(const std::uint8_t* body,
                                                       std::size_t length);
  auto tie() const { return std::tie(friendId, folderId, lastEntryId, continuation); }
};

struct AddFriendRequest {
  static constexpr RequestType kType = RequestType::AddFriend;
  static constexpr std::size_t kSize = 227;
  std::string friendId;  // char[21] at 6
  std::string memo;      // char[200] at 27
  Bytes encode() const;
  static std::optional<AddFriendRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(friendId, memo); }
};

struct RemoveFriendRequest {
  static constexpr RequestType kType = RequestType::RemoveFriend;
  static constexpr std::size_t kSize = 27;
  std::string friendId;  // char[21] at 6
  Bytes encode() const;
  static std::optional<RemoveFriendRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(friendId); }
};

struct EditMemoRequest {
  static constexpr RequestType kType = RequestType::EditMemo;
  static constexpr std::size_t kSize = 249;
  std::string memberId;  // the member's own id, char[21] at 6
  std::string friendId;  // char[21] at 27
  std::string memo;      // char[200] at 48
  Bytes encode() const;
  static std::optional<EditMemoRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(memberId, friendId, memo); }
};

struct CreateFolderRequest {
  static constexpr RequestType kType = RequestType::CreateFolder;
  static constexpr std::size_t kSize = 115;
  std::string name;                       // char[100] at 6; ' , ; are sent as '!'
  std::int32_t parentId = 0;              // a negative folder is sent as 0
  std::uint16_t pendingIndex = 0;         // folder upload only
  char sharingState = sharing::kPrivate;  // see sharingLetterFor()
  bool forUpload = false;                 // byte 114: 1 when the folder receives a local folder
  Bytes encode() const;
  static std::optional<CreateFolderRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(name, parentId, pendingIndex, sharingState, forUpload); }
};

// Copies the storage server's UploadDone to the login server.
struct UploadFinished {
  static constexpr RequestType kType = RequestType::UploadFinished;
  static constexpr std::size_t kSize = 11;
  std::int32_t value = 0;
  std::uint8_t result = 0;
  Bytes encode() const;
  static std::optional<UploadFinished> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(value, result); }
};

struct UploadTicketRequest {
  static constexpr RequestType kType = RequestType::UploadTicket;
  static constexpr std::size_t kSize = 268;
  std::uint16_t uploadRow = 0;
  std::string fileName;       // char[256] at 8; ' , ; are sent as '!'
  std::int32_t folderId = 0;  // below 1 is sent as 2
  Bytes encode() const;
  static std::optional<UploadTicketRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(uploadRow, fileName, folderId); }
};

struct DownloadTicketRequest {
  static constexpr RequestType kType = RequestType::DownloadTicket;
  static constexpr std::size_t kSize = 18;
  std::int32_t fileId = 0;
  std::int64_t missingBytes = 0;  // file size - bytes already on disk
  Bytes encode() const;
  static std::optional<DownloadTicketRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(fileId, missingBytes); }
};

struct SetSharingRequest {
  static constexpr RequestType kType = RequestType::SetSharing;
  static constexpr std::size_t kSize = 16;
  std::int32_t parentId = 0;  // 0 when the tree sends it for a folder node
  std::int32_t itemId = 0;
  char kind = item_kind::kFile;
  char sharingState = sharing::kPrivate;
  Bytes encode() const;
  static std::optional<SetSharingRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(parentId, itemId, kind, sharingState); }
};

struct DeleteItemRequest {
  static constexpr RequestType kType = RequestType::DeleteItem;
  static constexpr std::size_t kSize = 15;
  std::int32_t folderId = 0;  // a file's parent folder, or the folder itself
  std::int32_t itemId = 0;
  char kind = item_kind::kFile;
  Bytes encode() const;
  static std::optional<DeleteItemRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(folderId, itemId, kind); }
};

struct RenameFolderRequest {
  static constexpr RequestType kType = RequestType::RenameFolder;
  static constexpr std::size_t kSize = 110;
  static constexpr std::size_t kMaxName = 98;
  std::int32_t folderId = 0;
  std::string name;  // at 10, at most 98 bytes (108 and 109 stay zero); ' , ; sent as '!'
  Bytes encode() const;
  static std::optional<RenameFolderRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(folderId, name); }
};

struct RenameFileRequest {
  static constexpr RequestType kType = RequestType::RenameFile;
  static constexpr std::size_t kSize = 271;
  std::uint16_t sessionNumber = 0;
  std::int32_t fileId = 0;
  std::int32_t parentId = 0;
  std::string name;  // char[256] at 14
  Bytes encode() const;
  static std::optional<RenameFileRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(sessionNumber, fileId, parentId, name); }
};

struct MoveFileRequest {
  static constexpr RequestType kType = RequestType::MoveFile;
  static constexpr std::size_t kSize = 19;
  std::uint16_t sessionNumber = 0;
  std::int32_t fileId = 0;
  std::int32_t fromFolderId = 0;
  std::int32_t toFolderId = 0;
  Bytes encode() const;
  static std::optional<MoveFileRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(sessionNumber, fileId, fromFolderId, toFolderId); }
};

struct FolderContentRequest {
  static constexpr RequestType kType = RequestType::FolderContent;
  static constexpr std::size_t kSize = 31;
  std::string ownerId;  // char[21] at 6
  std::int32_t folderId = 0;
  Bytes encode() const;
  static std::optional<FolderContentRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(ownerId, folderId); }
};

struct TransferEnded {
  static constexpr RequestType kType = RequestType::TransferEnded;
  static constexpr std::size_t kSize = 6;
  Bytes encode() const;
  static std::optional<TransferEnded> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(); }
};

struct ExtendTermRequest {
  static constexpr RequestType kType = RequestType::ExtendTerm;
  static constexpr std::size_t kSize = 10;
  std::uint16_t sessionNumber = 0;
  std::int32_t folderId = 0;
  Bytes encode() const;
  static std::optional<ExtendTermRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(sessionNumber, folderId); }
};

// No session number: the text field starts right after the type.
struct CombinedLinkRequest {
  static constexpr RequestType kType = RequestType::CombinedLink;
  static constexpr std::size_t kSize = 225;
  static constexpr std::size_t kMaxFiles = 10;
  std::vector<std::int32_t> fileIds;  // "12,345" in char[221] at 4; only the first 10 travel
  Bytes encode() const;
  // Refuses a text that is not decimal ids separated by single commas.
  static std::optional<CombinedLinkRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(fileIds); }
};

struct NoteCheckRequest {
  static constexpr RequestType kType = RequestType::NoteCheck;
  static constexpr std::size_t kSize = 9;
  Bytes encode() const;
  static std::optional<NoteCheckRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(); }
};

struct PeerReport {
  static constexpr RequestType kType = RequestType::PeerReport;
  static constexpr std::size_t kSize = 50;
  std::uint16_t sessionNumber = 0;
  std::int32_t fileId = 0;
  std::string memberId;  // char[21] at 10
  std::int64_t totalSize = 0;
  std::int64_t peerBytes = 0;
  bool completed = false;  // 1: the transfer ended with the data written
  std::int16_t flatRate = 0;
  Bytes encode() const;
  static std::optional<PeerReport> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const {
    return std::tie(sessionNumber, fileId, memberId, totalSize, peerBytes, completed, flatRate);
  }
};

// Every request the client sends to the login server, in type order; the
// service's size table (expectedRequestSize) is built from their kSize.
using LoginServerRequests =
    std::tuple<LoginRequest, FriendListRequest, FolderListRequest, MemberFolderListRequest,
               AddFriendRequest, RemoveFriendRequest, EditMemoRequest, CreateFolderRequest,
               UploadFinished, UploadTicketRequest, DownloadTicketRequest, SetSharingRequest,
               DeleteItemRequest, RenameFolderRequest, RenameFileRequest, MoveFileRequest,
               FolderContentRequest, TransferEnded, ExtendTermRequest, CombinedLinkRequest,
               NoteCheckRequest, PeerReport>;

}  // namespace pom
