// The fixed-size replies and notifications of the login server.
#include "core/net/messages/replies.h"

#include "core/net/messages/body_check.h"
#include "core/net/wire.h"

namespace pom {
namespace {

// AddFriendReply and EditMemoReply share their layout.
template <typename Reply>
Bytes encodeFriendReply(const Reply& m) {
  auto out = body::start(Reply::kType, Reply::kSize);
  m.record.writeTo(out, 6);
  out.u8(248, static_cast<std::uint8_t>(m.result));
  return out.take();
}

template <typename Reply>
std::optional<Reply> decodeFriendReply(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, Reply::kType, Reply::kSize)) return std::nullopt;
  Reply m;
  m.record = FriendRecord::readFrom(in, 6);
  m.result = static_cast<decltype(m.result)>(in.u8(248));
  return m;
}

}  // namespace

Bytes LoginReply::encode() const {
  auto out = body::start(kType, kSize);
  out.text(10, 21, memberId);
  out.text(31, 42, memberText);
  out.raw(73, 13, registrationNumber);
  out.i16(87, flatRate);
  out.i64(89, credit);
  out.i64(97, valueB);
  out.i64(105, valueC);
  out.i64(113, valueD);
  out.u8(121, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<LoginReply> LoginReply::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  LoginReply m;
  m.memberId = in.text(10, 21);
  m.memberText = in.text(31, 42);
  m.registrationNumber = in.text(73, 13);
  m.flatRate = in.i16(87);
  m.credit = in.i64(89);
  m.valueB = in.i64(97);
  m.valueC = in.i64(105);
  m.valueD = in.i64(113);
  m.result = static_cast<decltype(m.result)>(in.u8(121));
  return m;
}

Bytes AddFriendReply::encode() const {
  return encodeFriendReply(*this);
}
std::optional<AddFriendReply> AddFriendReply::decode(const std::uint8_t* data, std::size_t length) {
  return decodeFriendReply<AddFriendReply>(data, length);
}

Bytes EditMemoReply::encode() const {
  return encodeFriendReply(*this);
}
std::optional<EditMemoReply> EditMemoReply::decode(const std::uint8_t* data, std::size_t length) {
  return decodeFriendReply<EditMemoReply>(data, length);
}

Bytes RemoveFriendReply::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 21, friendId);
  out.u8(27, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<RemoveFriendReply> RemoveFriendReply::decode(const std::uint8_t* data,
                                                           std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  RemoveFriendReply m;
  m.friendId = in.text(6, 21);
  m.result = static_cast<decltype(m.result)>(in.u8(27));
  return m;
}

Bytes UploadFolderCreated::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(10, folderId);
  out.u16(14, pendingIndex);
  out.u8(16, forUpload);
  out.u8(17, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<UploadFolderCreated> UploadFolderCreated::decode(const std::uint8_t* data,
                                                               std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  UploadFolderCreated m;
  m.folderId = in.i32(10);
  m.pendingIndex = in.u16(14);
  m.forUpload = in.u8(16);
  m.result = static_cast<decltype(m.result)>(in.u8(17));
  return m;
}

Bytes FolderCreated::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 100, name);
  out.i32(106, folderId);
  out.i32(110, parentId);
  out.u8(114, static_cast<std::uint8_t>(sharingState));
  out.i64(116, storedBytes);
  out.i64(124, size);
  date.writeTo(out, 132);
  out.u16(148, downloadCount);
  out.u8(152, skipLabelEdit);
  out.u8(153, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<FolderCreated> FolderCreated::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  FolderCreated m;
  m.name = in.text(6, 100);
  m.folderId = in.i32(106);
  m.parentId = in.i32(110);
  m.sharingState = static_cast<char>(in.u8(114));
  m.storedBytes = in.i64(116);
  m.size = in.i64(124);
  m.date = DateBlock::readFrom(in, 132);
  m.downloadCount = in.u16(148);
  m.skipLabelEdit = in.u8(152);
  m.result = static_cast<decltype(m.result)>(in.u8(153));
  return m;
}

Bytes FileRegistered::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 256, name);
  out.i32(262, fileId);
  out.i32(266, parentId);
  out.u8(270, static_cast<std::uint8_t>(sharingState));
  out.i64(272, storedBytes);
  out.i64(280, size);
  date.writeTo(out, 288);
  out.u16(304, downloadCount);
  out.u8(308, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<FileRegistered> FileRegistered::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  FileRegistered m;
  m.name = in.text(6, 256);
  m.fileId = in.i32(262);
  m.parentId = in.i32(266);
  m.sharingState = static_cast<char>(in.u8(270));
  m.storedBytes = in.i64(272);
  m.size = in.i64(280);
  m.date = DateBlock::readFrom(in, 288);
  m.downloadCount = in.u16(304);
  m.result = static_cast<decltype(m.result)>(in.u8(308));
  return m;
}

Bytes ItemSizeUpdate::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, itemId);
  out.i64(10, size);
  out.i64(18, storedBytes);
  out.u16(26, daysKept);
  out.u8(30, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<ItemSizeUpdate> ItemSizeUpdate::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  ItemSizeUpdate m;
  m.itemId = in.i32(6);
  m.size = in.i64(10);
  m.storedBytes = in.i64(18);
  m.daysKept = in.u16(26);
  m.result = static_cast<decltype(m.result)>(in.u8(30));
  return m;
}

Bytes UploadTicket::encode() const {
  auto out = body::start(kType, kSize);
  out.text(6, 16, storageHost);
  out.u16(22, storagePort);
  out.u16(24, uploadRow);
  out.i32(26, serverFileId);
  out.i64(30, fileSize);
  out.i64(38, storedBytes);
  out.u8(46, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<UploadTicket> UploadTicket::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  UploadTicket m;
  m.storageHost = in.text(6, 16);
  m.storagePort = in.u16(22);
  m.uploadRow = in.u16(24);
  m.serverFileId = in.i32(26);
  m.fileSize = in.i64(30);
  m.storedBytes = in.i64(38);
  m.result = static_cast<decltype(m.result)>(in.u8(46));
  return m;
}

Bytes DownloadTicket::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, fileId);
  out.text(10, 256, serverPath);
  out.text(266, 100, storagePathHead);
  out.text(366, 100, storagePathTail);
  out.text(466, 16, storageHost);
  out.i16(482, flatRate);
  out.u8(484, static_cast<std::uint8_t>(result));
  out.text(485, 33, uniqueCode);
  return out.take();
}

std::optional<DownloadTicket> DownloadTicket::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  DownloadTicket m;
  m.fileId = in.i32(6);
  m.serverPath = in.text(10, 256);
  m.storagePathHead = in.text(266, 100);
  m.storagePathTail = in.text(366, 100);
  m.storageHost = in.text(466, 16);
  m.flatRate = in.i16(482);
  m.result = static_cast<decltype(m.result)>(in.u8(484));
  m.uniqueCode = in.text(485, 33);
  return m;
}

Bytes SetSharingReply::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, itemId);
  out.u8(10, static_cast<std::uint8_t>(sharingState));
  out.u8(11, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<SetSharingReply> SetSharingReply::decode(const std::uint8_t* data,
                                                       std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  SetSharingReply m;
  m.itemId = in.i32(6);
  m.sharingState = static_cast<char>(in.u8(10));
  m.result = static_cast<decltype(m.result)>(in.u8(11));
  return m;
}

Bytes DeleteItemReply::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, itemId);
  out.u8(10, kind);
  out.u8(11, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<DeleteItemReply> DeleteItemReply::decode(const std::uint8_t* data,
                                                       std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  DeleteItemReply m;
  m.itemId = in.i32(6);
  m.kind = in.u8(10);
  m.result = static_cast<decltype(m.result)>(in.u8(11));
  return m;
}

Bytes RenameFileReply::encode() const {
  auto out = body::start(kType, kSize);
  out.u8(270, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<RenameFileReply> RenameFileReply::decode(const std::uint8_t* data,
                                                       std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  RenameFileReply m;
  m.result = static_cast<decltype(m.result)>(in.u8(270));
  return m;
}

Bytes MoveFileReply::encode() const {
  return body::start(kType, kSize).take();
}

std::optional<MoveFileReply> MoveFileReply::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  return MoveFileReply{};
}

Bytes CreditBalance::encode() const {
  auto out = body::start(kType, kSize);
  out.i64(6, credit);
  return out.take();
}

std::optional<CreditBalance> CreditBalance::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  CreditBalance m;
  m.credit = in.i64(6);
  return m;
}

Bytes ExtendTermReply::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, value);
  out.i64(10, quotaBytes);
  out.i64(18, usedBytes);
  out.u8(26, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<ExtendTermReply> ExtendTermReply::decode(const std::uint8_t* data,
                                                       std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  ExtendTermReply m;
  m.value = in.i32(6);
  m.quotaBytes = in.i64(10);
  m.usedBytes = in.i64(18);
  m.result = static_cast<decltype(m.result)>(in.u8(26));
  return m;
}

Bytes CombinedLinkReply::encode() const {
  auto out = body::start(kType, kSize);
  out.text(204, 20, linkCode);
  out.u8(224, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<CombinedLinkReply> CombinedLinkReply::decode(const std::uint8_t* data,
                                                           std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  CombinedLinkReply m;
  m.linkCode = in.text(204, 20);
  m.result = static_cast<decltype(m.result)>(in.u8(224));
  return m;
}

Bytes ServerNotice::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(4, show);
  out.text(8, 100, text);
  return out.take();
}

std::optional<ServerNotice> ServerNotice::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  ServerNotice m;
  m.show = in.i32(4);
  m.text = in.text(8, 100);
  return m;
}

Bytes NoteNotice::encode() const {
  auto out = body::start(kType, kSize);
  out.u8(8, flag);
  return out.take();
}

std::optional<NoteNotice> NoteNotice::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  NoteNotice m;
  m.flag = in.u8(8);
  return m;
}

Bytes KeepAlive::encode() const {
  return body::start(kType, kSize).take();
}

std::optional<KeepAlive> KeepAlive::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isAtLeast(in, kType, 4)) return std::nullopt;
  return KeepAlive{};
}

Bytes SessionInfo::encode() const {
  auto out = body::start(kType, kSize);
  out.u16(4, sessionNumber);
  return out.take();
}

std::optional<SessionInfo> SessionInfo::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  SessionInfo m;
  m.sessionNumber = in.u16(4);
  return m;
}

}  // namespace pom
