// LoginSession: one client's connection to the login server.
//
// Reads one request per read notification (Connection::receivePacket),
// decodes it with the message catalogue and answers as a real service would,
// from the Store. Every decoded request goes to the server's RequestLog
// first. Before a successful LoginRequest every other request is ignored.
// Bodies of the wrong length or of unknown types are ignored; bad framing
// closes the connection (the Connection does that) and the server then
// discards the session.
//
// Owned by the LoginServer; loop thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/net/connection.h"
#include "core/net/messages/messages.h"
#include "service/fault_socket.h"
#include "service/store.h"

namespace pom {
namespace service {

class LoginServer;

// The date block of a reply for a moment in seconds since 1970 (local time).
DateBlock dateBlockAt(std::int64_t unixSeconds);

class LoginSession : public Connection, private ConnectionHandler {
 public:
  static constexpr std::uint32_t kMessageNumber = 2034;
  // Replies are small except listing pages (at most 30 entries with names of
  // up to 65,535 bytes, in theory): the buffers match the client's.
  static constexpr std::uint32_t kBufferSize = 262144;

  LoginSession(LoginServer& server, SocketFactory& sockets);
  bool start(std::unique_ptr<TcpSocket> socket);

  bool loggedIn() const { return loggedIn_; }
  const std::string& memberId() const { return memberId_; }

  // Queues one reply body (applying the corrupt_next switch first).
  void sendBody(const Bytes& body);
  void sendKeepAlive();
  void sendNotice(const std::string& text);

 private:
  void onRead(Connection&) override;
  void onClose(Connection&) override;
  void handle(const std::uint8_t* body, std::size_t length);
  void onLogin(const LoginRequest& request);
  void onFriendList();
  void onFolderList(const FolderListRequest& request);
  void onMemberFolderList(const MemberFolderListRequest& request);
  void onAddFriend(const AddFriendRequest& request);
  void onRemoveFriend(const RemoveFriendRequest& request);
  void onEditMemo(const EditMemoRequest& request);
  void onCreateFolder(const CreateFolderRequest& request);
  void onUploadFinished(const UploadFinished& request);
  void onUploadTicket(const UploadTicketRequest& request);
  void onDownloadTicket(const DownloadTicketRequest& request);
  void onSetSharing(const SetSharingRequest& request);
  void onDeleteItem(const DeleteItemRequest& request);
  void onRenameFolder(const RenameFolderRequest& request);
  void onRenameFile(const RenameFileRequest& request);
  void onMoveFile(const MoveFileRequest& request);
  void onFolderContent(const FolderContentRequest& request);
  void onTransferEnded();
  void onExtendTerm(const ExtendTermRequest& request);
  void onCombinedLink(const CombinedLinkRequest& request);
  void onNoteCheck();
  void onPeerReport(const PeerReport& request);

  // The item when it exists and belongs to this member.
  std::optional<Item> ownItem(std::int32_t id);
  // True for the top level (0..2) and for own folders.
  bool ownFolder(std::int32_t folderId);

  LoginServer& server_;
  FaultSocket* faultSocket_ = nullptr;  // owned by the Connection
  bool loggedIn_ = false;
  std::string memberId_;
  // Files created by this session's upload tickets: their UploadFinished
  // announces a new item (FileRegistered) instead of a changed one.
  std::set<std::int32_t> newUploads_;
};

}  // namespace service
}  // namespace pom
