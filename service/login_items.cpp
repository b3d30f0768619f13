// LoginSession: requests that change folders and files (create, share,
// delete, rename, move, term extension, combined links).
#include <ctime>
#include <random>
#include <sstream>

#include "service/login_server.h"
#include "service/login_session.h"
#include "service/result_codes.h"

namespace pom {
namespace service {

namespace {

constexpr std::uint8_t kFailed = 1;
constexpr int kExtensionDays = 30;

bool settable(char state) {
  return state == 't' || state == 'f' || state == 'c';
}
bool neverPublic(char state) {
  return state == 'b' || state == 's';
}

std::string makeLinkCode() {
  static std::mt19937_64 generator{std::random_device{}()};
  static const char kDigits[] = "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ";
  std::string code = "PV";
  for (int i = 0; i < 14; ++i) code += kDigits[generator() % (sizeof kDigits - 1)];
  return code;
}

}  // namespace

void LoginSession::onCreateFolder(const CreateFolderRequest& request) {
  Store& store = server_.store();
  char share = settable(request.sharingState) ? request.sharingState : 'f';
  std::int32_t id = 0;
  if (!request.name.empty() && ownFolder(request.parentId))
    id = store.addFolder(memberId_, request.parentId, request.name, share);

  if (request.forUpload) {
    UploadFolderCreated reply;
    reply.folderId = id;
    reply.pendingIndex = request.pendingIndex;
    reply.forUpload = 1;
    setResult(reply.result, id ? 0 : kFailed);
    sendBody(reply.encode());
    return;
  }
  FolderCreated reply;
  reply.name = request.name;
  reply.folderId = id;
  reply.parentId = request.parentId;
  reply.sharingState = share;
  reply.date = dateBlockAt(std::time(nullptr));
  if (auto flag = server_.faults().consumeInt("folder_created_byte152"))
    reply.skipLabelEdit = static_cast<std::uint8_t>(*flag);
  setResult(reply.result, id ? 0 : kFailed);
  sendBody(reply.encode());
}

void LoginSession::onSetSharing(const SetSharingRequest& request) {
  Store& store = server_.store();
  ForcedResult forced{server_.faults().consumeInt("sharing_result")};
  SetSharingReply reply;
  reply.itemId = request.itemId;
  reply.sharingState = request.sharingState;
  setResult(reply.result, kFailed);
  auto item = ownItem(request.itemId);
  bool usable =
      item && item->id >= 3 && item->kind == request.kind && settable(request.sharingState);
  if (!usable || forced.refuses()) {
    // A refused change reports the state that stays in force.
    if (usable) reply.sharingState = item->share;
    forced.apply(reply.result);
    sendBody(reply.encode());
    return;
  }
  reply.sharingState = item->share;
  bool guarded = !item->isFolder() && store.isProtected(item->uniqueCode);
  if (request.sharingState == 't' && (guarded || neverPublic(item->share))) {
    // Files on the protected list can never be public; they are marked so.
    char state = neverPublic(item->share) ? item->share : 'b';
    store.setShare(item->id, state);
    reply.sharingState = state;
    reply.result = SetSharingReply::Result::Protected;
  } else if (store.setShare(item->id, request.sharingState)) {
    reply.sharingState = request.sharingState;
    reply.result = SetSharingReply::Result::Done;
  }
  forced.apply(reply.result);
  sendBody(reply.encode());
}

void LoginSession::onDeleteItem(const DeleteItemRequest& request) {
  Store& store = server_.store();
  ForcedResult forced{server_.faults().consumeInt("delete_result")};
  DeleteItemReply reply;
  reply.itemId = request.itemId;
  reply.kind = static_cast<std::uint8_t>(request.kind);
  setResult(reply.result, kFailed);
  auto item = ownItem(request.itemId);
  // Folders must be empty: nothing is ever deleted that the member cannot see.
  if (!forced.refuses() && item && item->id >= 3 && item->kind == request.kind &&
      (!item->isFolder() || store.countChildren(item->id) == 0) && store.remove(item->id)) {
    reply.result = DeleteItemReply::Result::Deleted;
  }
  forced.apply(reply.result);
  sendBody(reply.encode());
}

void LoginSession::onRenameFolder(const RenameFolderRequest& request) {
  // The protocol has no answer to this request; the tree already shows the
  // name. So the rename_result switch (type 17's reply) does not apply here.
  auto folder = ownItem(request.folderId);
  if (folder && folder->isFolder() && folder->id >= 3 && !request.name.empty())
    server_.store().rename(folder->id, request.name);
}

void LoginSession::onRenameFile(const RenameFileRequest& request) {
  ForcedResult forced{server_.faults().consumeInt("rename_result")};
  RenameFileReply reply;
  setResult(reply.result, kFailed);
  auto file = ownItem(request.fileId);
  // An incomplete file keeps its name: a resumed upload finds it by name.
  if (!forced.refuses() && file && !file->isFolder() && file->complete() && !request.name.empty() &&
      server_.store().rename(file->id, request.name))
    reply.result = RenameFileReply::Result::Renamed;
  forced.apply(reply.result);
  sendBody(reply.encode());
}

void LoginSession::onMoveFile(const MoveFileRequest& request) {
  auto file = ownItem(request.fileId);
  if (file && !file->isFolder() && Store::topLevel(request.fromFolderId) == file->parentId &&
      ownFolder(request.toFolderId))
    server_.store().move(file->id, request.toFolderId);
  sendBody(MoveFileReply{}.encode());
}

void LoginSession::onExtendTerm(const ExtendTermRequest& request) {
  Store& store = server_.store();
  ForcedResult forced{server_.faults().consumeInt("extend_term_result")};
  auto member = store.member(memberId_);
  ExtendTermReply reply;
  reply.value = request.folderId;
  reply.quotaBytes = member ? member->extensionQuota : 0;
  reply.result = ExtendTermReply::Result::NotEligible;
  auto folder = ownItem(request.folderId);
  if (folder && folder->isFolder() && folder->id >= 3) {
    reply.usedBytes = store.folderBytes(folder->id);
    if (forced.refuses()) {
      setResult(reply.result, kFailed);
    } else if (reply.usedBytes > reply.quotaBytes) {
      reply.result = ExtendTermReply::Result::CapacityExceeded;
    } else if (store.extendTerm(folder->id, kExtensionDays)) {
      reply.result = ExtendTermReply::Result::Extended;
    } else {
      setResult(reply.result, kFailed);
    }
  }
  forced.apply(reply.result);
  sendBody(reply.encode());
}

void LoginSession::onCombinedLink(const CombinedLinkRequest& request) {
  Store& store = server_.store();
  ForcedResult forced{server_.faults().consumeInt("combined_link_result")};
  CombinedLinkReply reply;
  setResult(reply.result, kFailed);
  bool ok = !forced.refuses() && !request.fileIds.empty();
  std::ostringstream ids;
  for (std::size_t i = 0; ok && i < request.fileIds.size(); ++i) {
    auto file = store.item(request.fileIds[i]);
    ok = file && !file->isFolder() && (file->owner == memberId_ || file->share == 't');
    ids << (i ? "," : "") << request.fileIds[i];
  }
  if (ok) {
    for (int attempt = 0; attempt < 3 && reply.result != CombinedLinkReply::Result::Made;
         ++attempt) {
      std::string code = makeLinkCode();
      if (store.addCombinedLink(code, memberId_, ids.str())) {
        reply.linkCode = code;
        reply.result = CombinedLinkReply::Result::Made;
      }
    }
  }
  forced.apply(reply.result);
  sendBody(reply.encode());
}

}  // namespace service
}  // namespace pom
