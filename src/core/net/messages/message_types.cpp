#include "core/net/messages/message_types.h"

#include "core/net/wire.h"

namespace pom {
namespace {

constexpr BodySize exact(std::size_t n) {
  return {BodySizeKind::Exact, n};
}
constexpr BodySize atLeast(std::size_t n) {
  return {BodySizeKind::Variable, n};
}
constexpr BodySize unknown() {
  return {BodySizeKind::Unknown, 0};
}

}  // namespace

std::optional<std::int32_t> bodyType(const std::uint8_t* body, std::size_t length) {
  WireReader in(body, length);
  if (!in.has(0, 4)) return std::nullopt;
  return in.i32(0);
}

bool acceptsLength(BodySize size, std::size_t length) {
  switch (size.kind) {
    case BodySizeKind::Exact:
      return length == size.exact;
    case BodySizeKind::Variable:
      return length >= size.exact;
    case BodySizeKind::Unknown:
      break;
  }
  return false;
}

BodySize expectedReplySize(std::int32_t type) {
  switch (type) {
    case 0:
      return exact(122);  // LoginReply
    case 1:
      return atLeast(7);  // FriendList
    case 2:
      return atLeast(17);  // FolderList
    case 3:
      return atLeast(38);  // MemberFolderList
    case 4:
      return exact(249);  // AddFriendReply
    case 5:
      return exact(28);  // RemoveFriendReply
    case 6:
      return exact(249);  // EditMemoReply
    case 7:
      return exact(18);  // UploadFolderCreated
    case 8:
      return exact(154);  // FolderCreated
    case 10:
      return exact(309);  // FileRegistered
    case 11:
      return exact(31);  // ItemSizeUpdate
    case 12:
      return exact(47);  // UploadTicket
    case 13:
      return exact(518);  // DownloadTicket
    case 14:
      return exact(12);  // SetSharingReply
    case 15:
      return exact(12);  // DeleteItemReply
    case 17:
      return exact(271);  // RenameFileReply
    case 19:
      return exact(19);  // MoveFileReply
    case 21:
      return atLeast(8);  // SearchResults
    case 22:
      return atLeast(8);  // SearchMoreResults
    case 23:
      return atLeast(8);  // FolderContent
    case 24:
      return exact(15);  // CreditBalance
    case 25:
      return exact(27);  // ExtendTermReply
    case 26:
      return exact(225);  // CombinedLinkReply
    case 27:
      return exact(108);  // ServerNotice
    case 28:
      return exact(9);  // NoteNotice
    case 50:
      return exact(9);  // KeepAlive
    case 51:
      return exact(7);  // SessionInfo
    case 52:
      return exact(6);
    default:
      return unknown();
  }
}

BodySize expectedRequestSize(std::int32_t type) {
  switch (type) {
    case 0:
      return exact(38);  // LoginRequest
    case 1:
      return exact(6);  // FriendListRequest
    case 2:
      return exact(15);  // FolderListRequest
    case 3:
      return exact(36);  // MemberFolderListRequest
    case 4:
      return exact(227);  // AddFriendRequest
    case 5:
      return exact(27);  // RemoveFriendRequest
    case 6:
      return exact(249);  // EditMemoRequest
    case 7:
      return exact(115);  // CreateFolderRequest
    case 9:
      return exact(11);  // UploadFinished
    case 12:
      return exact(268);  // UploadTicketRequest
    case 13:
      return exact(18);  // DownloadTicketRequest
    case 14:
      return exact(16);  // SetSharingRequest
    case 15:
      return exact(15);  // DeleteItemRequest
    case 16:
      return exact(110);  // RenameFolderRequest
    case 17:
      return exact(271);  // RenameFileRequest
    case 19:
      return exact(19);  // MoveFileRequest
    case 23:
      return exact(31);  // FolderContentRequest
    case 24:
      return exact(6);  // TransferEnded
    case 25:
      return exact(10);  // ExtendTermRequest
    case 26:
      return exact(225);  // CombinedLinkRequest
    case 28:
      return exact(9);  // NoteCheckRequest
    case 30:
      return exact(50);  // PeerReport
    default:
      return unknown();
  }
}

BodySize expectedDownloadReplySize(std::int32_t type) {
  switch (type) {
    case 3:
      return exact(19);  // DownloadAccept
    case 5:
      return atLeast(8);  // FileData
    case 6:
      return exact(16);  // CreditInfo
    case 7:
      return exact(17);  // CreditShortage
    case 10:
      return atLeast(4);  // FileRefused, whatever its length
    case 50:
      return atLeast(4);  // KeepAlive, whatever its length
    case 51:
      return exact(7);  // SessionInfo
    default:
      return unknown();
  }
}

BodySize expectedUploadReplySize(std::int32_t type) {
  switch (type) {
    case 0:
      return exact(11);  // UploadAccept
    case 2:
      return exact(11);  // UploadDone
    case 8:
      return atLeast(4);  // ChunkAck, whatever its length
    case 50:
      return atLeast(4);  // KeepAlive
    case 51:
      return exact(7);  // SessionInfo
    default:
      return unknown();
  }
}

BodySize expectedDownloadRequestSize(std::int32_t type) {
  return type == 3 ? exact(562) : unknown();
}

BodySize expectedUploadRequestSize(std::int32_t type) {
  switch (type) {
    case 0:
      return exact(442);  // UploadRequest
    case 1:
      return atLeast(8);  // FileChunk
    case 2:
      return exact(6);  // UploadCancel
    default:
      return unknown();
  }
}

char sharingLetterFor(bool upLoadPublic1, bool upLoadPublic2, bool upLoadPublic3) {
  char letter = sharing::kPrivate;
  if (upLoadPublic1) letter = sharing::kPublic;
  if (upLoadPublic2) letter = sharing::kPrivate;
  if (upLoadPublic3) letter = sharing::kClub;
  return letter;
}

std::string replaceReservedMarks(std::string name) {
  for (char& c : name) {
    if (c == '\'' || c == ',' || c == ';') c = '!';
  }
  return name;
}

}  // namespace pom
