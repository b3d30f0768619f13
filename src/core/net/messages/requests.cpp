#include "core/net/messages/requests.h"

#include <limits>

#include "core/net/messages/body_check.h"
#include "core/net/wire.h"

namespace pom {

Bytes LoginRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 21, memberId);
  out.text(27, 11, password);
  return out.take();
}

std::optional<LoginRequest> LoginRequest::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  LoginRequest m;
  m.memberId = in.text(6, 21);
  m.password = in.text(27, 11);
  return m;
}

Bytes FriendListRequest::encode() const {
  return body::start(kType, kSize).take();
}

std::optional<FriendListRequest> FriendListRequest::decode(const std::uint8_t* data,
                                                           std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  return FriendListRequest{};
}

Bytes FolderListRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, folderId);
  out.i32(10, lastEntryId);
  out.u8(14, continuation);
  return out.take();
}

std::optional<FolderListRequest> FolderListRequest::decode(const std::uint8_t* data,
                                                           std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  FolderListRequest m;
  m.folderId = in.i32(6);
  m.lastEntryId = in.i32(10);
  m.continuation = in.u8(14);
  return m;
}

Bytes MemberFolderListRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 21, friendId);
  out.i32(27, folderId);
  out.i32(31, lastEntryId);
  out.u8(35, continuation);
  return out.take();
}

std::optional<MemberFolderListRequest> MemberFolderListRequest::decode(const std::uint8_t* data,
                                                                       std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  MemberFolderListRequest m;
  m.friendId = in.text(6, 21);
  m.folderId = in.i32(27);
  m.lastEntryId = in.i32(31);
  m.continuation = in.u8(35);
  return m;
}

Bytes AddFriendRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 21, friendId);
  out.text(27, 200, memo);
  return out.take();
}

std::optional<AddFriendRequest> AddFriendRequest::decode(const std::uint8_t* data,
                                                         std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  AddFriendRequest m;
  m.friendId = in.text(6, 21);
  m.memo = in.text(27, 200);
  return m;
}

Bytes RemoveFriendRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 21, friendId);
  return out.take();
}

std::optional<RemoveFriendRequest> RemoveFriendRequest::decode(const std::uint8_t* data,
                                                               std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  RemoveFriendRequest m;
  m.friendId = in.text(6, 21);
  return m;
}

Bytes EditMemoRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 21, memberId);
  out.text(27, 21, friendId);
  out.text(48, 200, memo);
  return out.take();
}

std::optional<EditMemoRequest> EditMemoRequest::decode(const std::uint8_t* data,
                                                       std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  EditMemoRequest m;
  m.memberId = in.text(6, 21);
  m.friendId = in.text(27, 21);
  m.memo = in.text(48, 200);
  return m;
}

Bytes CreateFolderRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 100, replaceReservedMarks(name));
  out.i32(106, parentId < 0 ? 0 : parentId);
  out.u16(110, pendingIndex);
  out.u8(112, static_cast<std::uint8_t>(sharingState));
  out.u8(113, 'f');
  out.u8(114, forUpload ? 1 : 0);
  return out.take();
}

std::optional<CreateFolderRequest> CreateFolderRequest::decode(const std::uint8_t* data,
                                                               std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  CreateFolderRequest m;
  m.name = in.text(6, 100);
  m.parentId = in.i32(106);
  m.pendingIndex = in.u16(110);
  m.sharingState = static_cast<char>(in.u8(112));
  m.forUpload = in.u8(114) != 0;
  return m;
}

Bytes UploadFinished::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, value);
  out.u8(10, result);
  return out.take();
}

std::optional<UploadFinished> UploadFinished::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  UploadFinished m;
  m.value = in.i32(6);
  m.result = in.u8(10);
  return m;
}

Bytes UploadTicketRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.u16(6, uploadRow);
  out.text(8, 256, replaceReservedMarks(fileName));
  out.i32(264, folderId < 1 ? 2 : folderId);
  return out.take();
}

std::optional<UploadTicketRequest> UploadTicketRequest::decode(const std::uint8_t* data,
                                                               std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  UploadTicketRequest m;
  m.uploadRow = in.u16(6);
  m.fileName = in.text(8, 256);
  m.folderId = in.i32(264);
  return m;
}

Bytes DownloadTicketRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, fileId);
  out.i64(10, missingBytes);
  return out.take();
}

std::optional<DownloadTicketRequest> DownloadTicketRequest::decode(const std::uint8_t* data,
                                                                   std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  DownloadTicketRequest m;
  m.fileId = in.i32(6);
  m.missingBytes = in.i64(10);
  return m;
}

Bytes SetSharingRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, parentId);
  out.i32(10, itemId);
  out.u8(14, static_cast<std::uint8_t>(kind));
  out.u8(15, static_cast<std::uint8_t>(sharingState));
  return out.take();
}

std::optional<SetSharingRequest> SetSharingRequest::decode(const std::uint8_t* data,
                                                           std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  SetSharingRequest m;
  m.parentId = in.i32(6);
  m.itemId = in.i32(10);
  m.kind = static_cast<char>(in.u8(14));
  m.sharingState = static_cast<char>(in.u8(15));
  return m;
}

Bytes DeleteItemRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, folderId);
  out.i32(10, itemId);
  out.u8(14, static_cast<std::uint8_t>(kind));
  return out.take();
}

std::optional<DeleteItemRequest> DeleteItemRequest::decode(const std::uint8_t* data,
                                                           std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  DeleteItemRequest m;
  m.folderId = in.i32(6);
  m.itemId = in.i32(10);
  m.kind = static_cast<char>(in.u8(14));
  return m;
}

Bytes RenameFolderRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, folderId);
  // The field is 100 bytes but only 98 travel: the last two bytes of the
  // body stay zero.
  out.raw(10, kMaxName, replaceReservedMarks(name));
  return out.take();
}

std::optional<RenameFolderRequest> RenameFolderRequest::decode(const std::uint8_t* data,
                                                               std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  RenameFolderRequest m;
  m.folderId = in.i32(6);
  m.name = in.text(10, kMaxName);
  return m;
}

Bytes RenameFileRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.u16(4, sessionNumber);
  out.i32(6, fileId);
  out.i32(10, parentId);
  out.text(14, 256, name);
  return out.take();
}

std::optional<RenameFileRequest> RenameFileRequest::decode(const std::uint8_t* data,
                                                           std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  RenameFileRequest m;
  m.sessionNumber = in.u16(4);
  m.fileId = in.i32(6);
  m.parentId = in.i32(10);
  m.name = in.text(14, 256);
  return m;
}

Bytes MoveFileRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.u16(4, sessionNumber);
  out.i32(6, fileId);
  out.i32(10, fromFolderId);
  out.i32(14, toFolderId);
  return out.take();
}

std::optional<MoveFileRequest> MoveFileRequest::decode(const std::uint8_t* data,
                                                       std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  MoveFileRequest m;
  m.sessionNumber = in.u16(4);
  m.fileId = in.i32(6);
  m.fromFolderId = in.i32(10);
  m.toFolderId = in.i32(14);
  return m;
}

Bytes FolderContentRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 21, ownerId);
  out.i32(27, folderId);
  return out.take();
}

std::optional<FolderContentRequest> FolderContentRequest::decode(const std::uint8_t* data,
                                                                 std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  FolderContentRequest m;
  m.ownerId = in.text(6, 21);
  m.folderId = in.i32(27);
  return m;
}

Bytes TransferEnded::encode() const {
  return body::start(kType, kSize).take();
}

std::optional<TransferEnded> TransferEnded::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  return TransferEnded{};
}

Bytes ExtendTermRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.u16(4, sessionNumber);
  out.i32(6, folderId);
  return out.take();
}

std::optional<ExtendTermRequest> ExtendTermRequest::decode(const std::uint8_t* data,
                                                           std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  ExtendTermRequest m;
  m.sessionNumber = in.u16(4);
  m.folderId = in.i32(6);
  return m;
}

Bytes NoteCheckRequest::encode() const {
  return body::start(kType, kSize).take();
}

std::optional<NoteCheckRequest> NoteCheckRequest::decode(const std::uint8_t* data,
                                                         std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  return NoteCheckRequest{};
}

Bytes PeerReport::encode() const {
  auto out = body::start(kType, kSize);
  out.u16(4, sessionNumber);
  out.i32(6, fileId);
  out.text(10, 21, memberId);
  out.i64(31, totalSize);
  out.i64(39, peerBytes);
  out.u8(47, completed ? 1 : 0);
  out.i16(48, flatRate);
  return out.take();
}

std::optional<PeerReport> PeerReport::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  PeerReport m;
  m.sessionNumber = in.u16(4);
  m.fileId = in.i32(6);
  m.memberId = in.text(10, 21);
  m.totalSize = in.i64(31);
  m.peerBytes = in.i64(39);
  m.completed = in.u8(47) != 0;
  m.flatRate = in.i16(48);
  return m;
}

}  // namespace pom
