#include "service/login_session.h"
#include "service/result_codes.h"

#include <ctime>

#include "service/hostile_names.h"
#include "service/login_server.h"
#include "service/tickets.h"

namespace pom {
namespace service {

namespace {

constexpr std::uint8_t kPageCapacity = 30;
constexpr std::uint8_t kFailed = 1;
// FolderContent must fit the client's 262,144-byte receive buffer.
constexpr std::size_t kMaxContentBody = 200000;

DateBlock dateOf(const Item& item) {
  DateBlock date = dateBlockAt(item.createdAt);
  // For a file the day field carries the number of days it is kept.
  if (!item.isFolder()) date.day = static_cast<std::uint16_t>(item.daysKept);
  return date;
}

// Entries name an item as the service serves it (hostile_names.h).
FolderEntry entryOf(const Item& item, const Faults& faults) {
  FolderEntry entry;
  entry.itemId = item.id;
  entry.parentId = item.parentId;
  entry.sharingState = item.share;
  entry.storedBytes = item.isFolder() ? 0 : item.stored;
  entry.fileSize = item.isFolder() ? 0 : item.size;
  entry.date = dateOf(item);
  entry.downloadCount = static_cast<std::uint16_t>(item.downloads);
  entry.name = servedName(faults, item);
  return entry;
}

SearchEntry searchEntryOf(const Item& file, const Faults& faults) {
  SearchEntry entry;
  entry.fileId = file.id;
  entry.folderId = file.parentId;
  entry.ownerId = file.owner;
  entry.uniqueCode = file.uniqueCode;
  entry.fileSize = file.size;
  entry.daysKept = file.daysKept;
  entry.name = servedName(faults, file);
  return entry;
}

FriendRecord recordOf(const std::string& friendId, const std::string& displayName,
                      const std::string& memo) {
  FriendRecord record;
  record.friendId = friendId;
  record.displayName = displayName;
  record.memo = memo;
  return record;
}

}  // namespace

DateBlock dateBlockAt(std::int64_t unixSeconds) {
  std::time_t when = static_cast<std::time_t>(unixSeconds);
  std::tm local{};
  localtime_r(&when, &local);
  DateBlock date;
  date.year = static_cast<std::int16_t>(local.tm_year + 1900);
  date.month = static_cast<std::uint16_t>(local.tm_mon + 1);
  date.day = static_cast<std::uint16_t>(local.tm_mday);
  date.hour = static_cast<std::uint16_t>(local.tm_hour);
  date.minute = static_cast<std::uint16_t>(local.tm_min);
  date.second = static_cast<std::uint16_t>(local.tm_sec);
  return date;
}

LoginSession::LoginSession(LoginServer& server, SocketFactory& sockets)
    : Connection(sockets, ConnectionKind{kBufferSize, kBufferSize, true, kMessageNumber}, 0, this),
      server_(server) {}

bool LoginSession::start(std::unique_ptr<TcpSocket> socket) {
  auto wrapped = std::make_unique<FaultSocket>(std::move(socket));
  faultSocket_ = wrapped.get();
  if (auto budget = server_.faults().consumeInt("drop_login_after")) {
    faultSocket_->limitSend(*budget, [this] {
      close();
      server_.discard(this);
    });
  }
  return attach(std::move(wrapped));
}

void LoginSession::onRead(Connection&) {
  if (receivePacket()) handle(body(), bodyLength());
  if (!isOpen()) server_.discard(this);
}

void LoginSession::onClose(Connection&) {
  server_.discard(this);
}

void LoginSession::sendBody(const Bytes& body) {
  if (!isOpen()) return;
  if (auto corrupt = server_.faults().consume("corrupt_next")) {
    faultSocket_->corruptNextPacket(*corrupt == "length" ? Corruption::Length : Corruption::Marker);
  }
  queue(body.data(), body.size());
}

void LoginSession::sendKeepAlive() {
  sendBody(KeepAlive{}.encode());
}

void LoginSession::sendNotice(const std::string& text) {
  ServerNotice notice;
  notice.show = 1;
  notice.text = text;
  sendBody(notice.encode());
}

void LoginSession::handle(const std::uint8_t* body, std::size_t length) {
  auto type = bodyType(body, length);
  if (!type) return;
  // Logged before it is handled: the line is there once the reply is sent.
  server_.requests().record(memberId_, body, length);
  auto request = static_cast<RequestType>(*type);
  if (request == RequestType::Login) {
    if (auto r = LoginRequest::decode(body, length)) onLogin(*r);
    return;
  }
  if (!loggedIn_) return;
  switch (request) {
    case RequestType::FriendList:
      if (FriendListRequest::decode(body, length)) onFriendList();
      break;
    case RequestType::FolderList:
      if (auto r = FolderListRequest::decode(body, length)) onFolderList(*r);
      break;
    case RequestType::MemberFolderList:
      if (auto r = MemberFolderListRequest::decode(body, length)) onMemberFolderList(*r);
      break;
    case RequestType::AddFriend:
      if (auto r = AddFriendRequest::decode(body, length)) onAddFriend(*r);
      break;
    case RequestType::RemoveFriend:
      if (auto r = RemoveFriendRequest::decode(body, length)) onRemoveFriend(*r);
      break;
    case RequestType::EditMemo:
      if (auto r = EditMemoRequest::decode(body, length)) onEditMemo(*r);
      break;
    case RequestType::CreateFolder:
      if (auto r = CreateFolderRequest::decode(body, length)) onCreateFolder(*r);
      break;
    case RequestType::UploadFinished:
      if (auto r = UploadFinished::decode(body, length)) onUploadFinished(*r);
      break;
    case RequestType::UploadTicket:
      if (auto r = UploadTicketRequest::decode(body, length)) onUploadTicket(*r);
      break;
    case RequestType::DownloadTicket:
      if (auto r = DownloadTicketRequest::decode(body, length)) onDownloadTicket(*r);
      break;
    case RequestType::SetSharing:
      if (auto r = SetSharingRequest::decode(body, length)) onSetSharing(*r);
      break;
    case RequestType::DeleteItem:
      if (auto r = DeleteItemRequest::decode(body, length)) onDeleteItem(*r);
      break;
    case RequestType::RenameFolder:
      if (auto r = RenameFolderRequest::decode(body, length)) onRenameFolder(*r);
      break;
    case RequestType::RenameFile:
      if (auto r = RenameFileRequest::decode(body, length)) onRenameFile(*r);
      break;
    case RequestType::MoveFile:
      if (auto r = MoveFileRequest::decode(body, length)) onMoveFile(*r);
      break;
    case RequestType::FolderContent:
      if (auto r = FolderContentRequest::decode(body, length)) onFolderContent(*r);
      break;
    case RequestType::TransferEnded:
      if (TransferEnded::decode(body, length)) onTransferEnded();
      break;
    case RequestType::ExtendTerm:
      if (auto r = ExtendTermRequest::decode(body, length)) onExtendTerm(*r);
      break;
    case RequestType::CombinedLink:
      // A malformed id list is still answered, with a failure.
      if (auto r = CombinedLinkRequest::decode(body, length)) {
        onCombinedLink(*r);
      } else if (length == CombinedLinkRequest::kSize) {
        onCombinedLink(CombinedLinkRequest{});
      }
      break;
    case RequestType::NoteCheck:
      if (NoteCheckRequest::decode(body, length)) onNoteCheck();
      break;
    case RequestType::PeerReport:
      if (auto r = PeerReport::decode(body, length)) onPeerReport(*r);
      break;
    default:
      break;
  }
}

// ---- session

void LoginSession::onLogin(const LoginRequest& request) {
  Store& store = server_.store();
  auto forced = server_.faults().consumeInt("login_result");
  auto member = store.authenticate(request.memberId, request.password);

  LoginReply reply;
  reply.memberId = request.memberId;
  setResult(reply.result, kFailed);
  if (member) {
    int others = server_.loggedInCount(member->id) - (loggedIn_ && memberId_ == member->id ? 1 : 0);
    reply.result = (member->flatRate > 0 && others >= member->maxConnections)
                       ? LoginReply::Result::FlatRateExhausted
                       : LoginReply::Result::Accepted;
    reply.memberText = member->displayName;
    reply.registrationNumber = member->registration;
    reply.flatRate = static_cast<std::int16_t>(member->flatRate);
    reply.credit = member->credit;
    reply.valueB = member->extensionQuota;
  }
  // A forced acceptance needs a real member to describe.
  if (forced && (member || *forced != static_cast<int>(LoginReply::Result::Accepted)))
    setResult(reply.result, *forced);

  loggedIn_ = reply.result == LoginReply::Result::Accepted;
  memberId_ = loggedIn_ ? member->id : std::string();
  sendBody(reply.encode());
  if (!loggedIn_) return;

  SessionInfo info;
  info.sessionNumber = server_.nextSessionNumber(memberId_);
  sessionNumber = info.sessionNumber;
  sendBody(info.encode());
  if (auto notice = server_.faults().peek("notice"); notice && !notice->empty())
    sendNotice(*notice);
}

void LoginSession::onNoteCheck() {
  auto member = server_.store().member(memberId_);
  NoteNotice notice;
  notice.flag = (member && member->notesWaiting) ? 0 : 1;
  sendBody(notice.encode());
}

void LoginSession::onTransferEnded() {
  auto member = server_.store().member(memberId_);
  if (!member) return;
  CreditBalance balance;
  balance.credit = member->credit;
  sendBody(balance.encode());
}

void LoginSession::onPeerReport(const PeerReport& request) {
  PeerReportRecord record;
  record.fileId = request.fileId;
  record.memberId = memberId_;
  record.fileSize = request.totalSize;
  record.peerBytes = request.peerBytes;
  record.completed = request.completed;
  record.flatRate = request.flatRate;
  server_.store().addPeerReport(record);
}

// ---- helpers

std::optional<Item> LoginSession::ownItem(std::int32_t id) {
  auto item = server_.store().item(id);
  if (!item || item->owner != memberId_) return std::nullopt;
  return item;
}

bool LoginSession::ownFolder(std::int32_t folderId) {
  if (Store::topLevel(folderId) == 0) return true;
  auto folder = ownItem(folderId);
  return folder && folder->isFolder();
}

// ---- listings

void LoginSession::onFolderList(const FolderListRequest& request) {
  FolderList reply;
  reply.folderId = request.folderId;
  reply.continuation = static_cast<std::uint8_t>(request.continuation + 1);
  reply.capacity = kPageCapacity;
  if (ownFolder(request.folderId)) {
    for (const auto& item : server_.store().listPage(memberId_, request.folderId,
                                                     request.lastEntryId, kPageCapacity, false))
      reply.entries.push_back(entryOf(item, server_.faults()));
  }
  sendBody(reply.encode());
}

void LoginSession::onMemberFolderList(const MemberFolderListRequest& request) {
  Store& store = server_.store();
  MemberFolderList reply;
  reply.friendId = request.friendId;
  reply.folderId = request.folderId;
  reply.continuation = static_cast<std::uint8_t>(request.continuation + 1);
  reply.capacity = kPageCapacity;
  bool visible = store.member(request.friendId).has_value();
  if (visible && Store::topLevel(request.folderId) != 0) {
    auto folder = store.item(request.folderId);
    visible =
        folder && folder->isFolder() && folder->owner == request.friendId && folder->share == 't';
  }
  if (visible) {
    for (const auto& item : store.listPage(request.friendId, request.folderId, request.lastEntryId,
                                           kPageCapacity, true))
      reply.entries.push_back(entryOf(item, server_.faults()));
  }
  sendBody(reply.encode());
}

void LoginSession::onFolderContent(const FolderContentRequest& request) {
  Store& store = server_.store();
  FolderContent reply;
  bool own = request.ownerId == memberId_;
  bool visible = store.member(request.ownerId).has_value();
  if (visible && Store::topLevel(request.folderId) != 0) {
    auto folder = store.item(request.folderId);
    visible = folder && folder->isFolder() && folder->owner == request.ownerId &&
              (own || folder->share == 't');
  }
  if (visible) {
    std::size_t size = FolderContent::kHeadSize;
    for (const auto& file : store.filesIn(request.ownerId, request.folderId, !own)) {
      if (file.size == 0 || !file.complete()) continue;
      SearchEntry entry = searchEntryOf(file, server_.faults());
      size += entry.encodedSize();
      if (size > kMaxContentBody || reply.entries.size() == 0xFFFF) break;
      reply.entries.push_back(std::move(entry));
    }
  }
  sendBody(reply.encode());
}

// ---- friends

void LoginSession::onFriendList() {
  FriendList reply;
  for (const auto& f : server_.store().friends(memberId_)) {
    if (reply.friends.size() == 255) break;
    reply.friends.push_back(recordOf(f.friendId, f.displayName, f.memo));
  }
  sendBody(reply.encode());
}

void LoginSession::onAddFriend(const AddFriendRequest& request) {
  Store& store = server_.store();
  ForcedResult forced{server_.faults().consumeInt("add_friend_result")};
  AddFriendReply reply;
  reply.record = recordOf(request.friendId, "", request.memo);
  auto other = store.member(request.friendId);
  if (forced.refuses()) {
    setResult(reply.result, kFailed);
  } else if (request.friendId == memberId_) {
    reply.result = AddFriendReply::Result::OwnId;
  } else if (!other) {
    reply.result = AddFriendReply::Result::NoSuchId;
  } else if (store.isFriend(memberId_, request.friendId)) {
    reply.result = AddFriendReply::Result::AlreadyFriend;
  } else if (store.addFriend(memberId_, request.friendId, request.memo)) {
    reply.result = AddFriendReply::Result::Added;
    reply.record.displayName = other->displayName;
  } else {
    setResult(reply.result, kFailed);
  }
  forced.apply(reply.result);
  sendBody(reply.encode());
}

void LoginSession::onRemoveFriend(const RemoveFriendRequest& request) {
  ForcedResult forced{server_.faults().consumeInt("remove_friend_result")};
  RemoveFriendReply reply;
  reply.friendId = request.friendId;
  bool removed = !forced.refuses() && server_.store().removeFriend(memberId_, request.friendId);
  setResult(reply.result, removed ? 0 : kFailed);
  forced.apply(reply.result);
  sendBody(reply.encode());
}

void LoginSession::onEditMemo(const EditMemoRequest& request) {
  Store& store = server_.store();
  ForcedResult forced{server_.faults().consumeInt("edit_memo_result")};
  EditMemoReply reply;
  reply.record = recordOf(request.friendId, "", request.memo);
  setResult(reply.result, kFailed);
  if (!forced.refuses() && request.memberId == memberId_ &&
      store.setMemo(memberId_, request.friendId, request.memo)) {
    reply.result = EditMemoReply::Result::Changed;
    if (auto other = store.member(request.friendId)) reply.record.displayName = other->displayName;
  }
  forced.apply(reply.result);
  sendBody(reply.encode());
}

}  // namespace service
}  // namespace pom
