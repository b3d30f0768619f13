// Fuzzes every parser of the message catalogue. The first input byte picks
// the conversation (login-server replies, login-server requests, download and
// upload session messages in both directions, the peer header); the rest is
// the message body. Besides memory safety it checks that a decoded message
// re-encodes to a body that decodes again, that two rounds reach a fixed
// point, that whatever decodes also passes the size table, and that FileData
// and FileChunk views stay inside the body.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

#include "core/net/messages/messages.h"

namespace pom {
namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

template <typename T>
void roundTrip(const std::uint8_t* data, std::size_t size, BodySize expected) {
  const auto first = T::decode(data, size);
  if (!first) return;
  require(acceptsLength(expected, size));
  const Bytes once = first->encode();
  const auto second = T::decode(once.data(), once.size());
  require(second.has_value());
  const Bytes twice = second->encode();
  require(twice == once);
  const auto third = T::decode(twice.data(), twice.size());
  require(third.has_value() && *third == *second);
}

template <typename T>
void checkView(const std::uint8_t* data, std::size_t size) {
  const auto view = T::view(data, size);
  if (!view) return;
  require(view->data >= data + T::kHeadSize);
  require(view->size <= size - T::kHeadSize);
}

void mainReply(const std::uint8_t* d, std::size_t n) {
  const auto type = bodyType(d, n);
  if (!type) return;
  const BodySize size = expectedReplySize(*type);
  switch (static_cast<ReplyType>(*type)) {
    case ReplyType::LoginReply:
      return roundTrip<LoginReply>(d, n, size);
    case ReplyType::FriendList:
      return roundTrip<FriendList>(d, n, size);
    case ReplyType::FolderList:
      return roundTrip<FolderList>(d, n, size);
    case ReplyType::MemberFolderList:
      return roundTrip<MemberFolderList>(d, n, size);
    case ReplyType::AddFriendReply:
      return roundTrip<AddFriendReply>(d, n, size);
    case ReplyType::RemoveFriendReply:
      return roundTrip<RemoveFriendReply>(d, n, size);
    case ReplyType::EditMemoReply:
      return roundTrip<EditMemoReply>(d, n, size);
    case ReplyType::UploadFolderCreated:
      return roundTrip<UploadFolderCreated>(d, n, size);
    case ReplyType::FolderCreated:
      return roundTrip<FolderCreated>(d, n, size);
    case ReplyType::FileRegistered:
      return roundTrip<FileRegistered>(d, n, size);
    case ReplyType::ItemSizeUpdate:
      return roundTrip<ItemSizeUpdate>(d, n, size);
    case ReplyType::UploadTicket:
      return roundTrip<UploadTicket>(d, n, size);
    case ReplyType::DownloadTicket:
      return roundTrip<DownloadTicket>(d, n, size);
    case ReplyType::SetSharingReply:
      return roundTrip<SetSharingReply>(d, n, size);
    case ReplyType::DeleteItemReply:
      return roundTrip<DeleteItemReply>(d, n, size);
    case ReplyType::RenameFileReply:
      return roundTrip<RenameFileReply>(d, n, size);
    case ReplyType::MoveFileReply:
      return roundTrip<MoveFileReply>(d, n, size);
    case ReplyType::SearchResults:
      return roundTrip<SearchResults>(d, n, size);
    case ReplyType::SearchMoreResults:
      return roundTrip<SearchMoreResults>(d, n, size);
    case ReplyType::FolderContent:
      return roundTrip<FolderContent>(d, n, size);
    case ReplyType::CreditBalance:
      return roundTrip<CreditBalance>(d, n, size);
    case ReplyType::ExtendTermReply:
      return roundTrip<ExtendTermReply>(d, n, size);
    case ReplyType::CombinedLinkReply:
      return roundTrip<CombinedLinkReply>(d, n, size);
    case ReplyType::ServerNotice:
      return roundTrip<ServerNotice>(d, n, size);
    case ReplyType::NoteNotice:
      return roundTrip<NoteNotice>(d, n, size);
    case ReplyType::KeepAlive:
      return roundTrip<KeepAlive>(d, n, expectedDownloadReplySize(50));
    case ReplyType::SessionInfo:
      return roundTrip<SessionInfo>(d, n, size);
    case ReplyType::Unused52:
      return;
  }
}

void mainRequest(const std::uint8_t* d, std::size_t n) {
  const auto type = bodyType(d, n);
  if (!type) return;
  const BodySize size = expectedRequestSize(*type);
  switch (static_cast<RequestType>(*type)) {
    case RequestType::Login:
      return roundTrip<LoginRequest>(d, n, size);
    case RequestType::FriendList:
      return roundTrip<FriendListRequest>(d, n, size);
    case RequestType::FolderList:
      return roundTrip<FolderListRequest>(d, n, size);
    case RequestType::MemberFolderList:
      return roundTrip<MemberFolderListRequest>(d, n, size);
    case RequestType::AddFriend:
      return roundTrip<AddFriendRequest>(d, n, size);
    case RequestType::RemoveFriend:
      return roundTrip<RemoveFriendRequest>(d, n, size);
    case RequestType::EditMemo:
      return roundTrip<EditMemoRequest>(d, n, size);
    case RequestType::CreateFolder:
      return roundTrip<CreateFolderRequest>(d, n, size);
    case RequestType::UploadFinished:
      return roundTrip<UploadFinished>(d, n, size);
    case RequestType::UploadTicket:
      return roundTrip<UploadTicketRequest>(d, n, size);
    case RequestType::DownloadTicket:
      return roundTrip<DownloadTicketRequest>(d, n, size);
    case RequestType::SetSharing:
      return roundTrip<SetSharingRequest>(d, n, size);
    case RequestType::DeleteItem:
      return roundTrip<DeleteItemRequest>(d, n, size);
    case RequestType::RenameFolder:
      return roundTrip<RenameFolderRequest>(d, n, size);
    case RequestType::RenameFile:
      return roundTrip<RenameFileRequest>(d, n, size);
    case RequestType::MoveFile:
      return roundTrip<MoveFileRequest>(d, n, size);
    case RequestType::FolderContent:
      return roundTrip<FolderContentRequest>(d, n, size);
    case RequestType::TransferEnded:
      return roundTrip<TransferEnded>(d, n, size);
    case RequestType::ExtendTerm:
      return roundTrip<ExtendTermRequest>(d, n, size);
    case RequestType::CombinedLink:
      return roundTrip<CombinedLinkRequest>(d, n, size);
    case RequestType::NoteCheck:
      return roundTrip<NoteCheckRequest>(d, n, size);
    case RequestType::PeerReport:
      return roundTrip<PeerReport>(d, n, size);
  }
}

void downloadSession(const std::uint8_t* d, std::size_t n) {
  const auto type = bodyType(d, n);
  if (!type) return;
  const BodySize size = expectedDownloadReplySize(*type);
  roundTrip<DownloadRequest>(d, n, expectedDownloadRequestSize(*type));
  switch (static_cast<DownloadReplyType>(*type)) {
    case DownloadReplyType::DownloadAccept:
      return roundTrip<DownloadAccept>(d, n, size);
    case DownloadReplyType::FileData:
      checkView<FileData>(d, n);
      return roundTrip<FileData>(d, n, size);
    case DownloadReplyType::CreditInfo:
      return roundTrip<CreditInfo>(d, n, size);
    case DownloadReplyType::CreditShortage:
      return roundTrip<CreditShortage>(d, n, size);
    case DownloadReplyType::FileRefused:
      return roundTrip<FileRefused>(d, n, size);
    case DownloadReplyType::KeepAlive:
      return roundTrip<KeepAlive>(d, n, size);
    case DownloadReplyType::SessionInfo:
      return roundTrip<SessionInfo>(d, n, size);
  }
}

void uploadSession(const std::uint8_t* d, std::size_t n) {
  const auto type = bodyType(d, n);
  if (!type) return;
  const BodySize reply = expectedUploadReplySize(*type);
  const BodySize request = expectedUploadRequestSize(*type);
  switch (*type) {
    case 0:
      roundTrip<UploadRequest>(d, n, request);
      return roundTrip<UploadAccept>(d, n, reply);
    case 1:
      checkView<FileChunk>(d, n);
      return roundTrip<FileChunk>(d, n, request);
    case 2:
      roundTrip<UploadCancel>(d, n, request);
      return roundTrip<UploadDone>(d, n, reply);
    case 8:
      return roundTrip<ChunkAck>(d, n, reply);
    case 50:
      return roundTrip<KeepAlive>(d, n, reply);
    case 51:
      return roundTrip<SessionInfo>(d, n, reply);
    default:
      return;
  }
}

void peerHeader(const std::uint8_t* d, std::size_t n) {
  const auto header = PeerHeader::decode(d, n);
  if (!header) return;
  require(header->offset >= 0 && header->offset <= header->totalSize);
  const std::string text = header->encode();
  const auto again =
      PeerHeader::decode(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  require(again.has_value() && *again == *header);
}

}  // namespace
}  // namespace pom

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t* body = data + 1;
  const std::size_t length = size - 1;
  switch (data[0] % 5) {
    case 0:
      pom::mainReply(body, length);
      break;
    case 1:
      pom::mainRequest(body, length);
      break;
    case 2:
      pom::downloadSession(body, length);
      break;
    case 3:
      pom::uploadSession(body, length);
      break;
    case 4:
      pom::peerHeader(body, length);
      break;
  }
  return 0;
}
