// LoginSession: download and upload tickets and the end of an upload.
#include "service/hostile_names.h"
#include "service/login_server.h"
#include "service/login_session.h"
#include "service/result_codes.h"
#include "service/tickets.h"

namespace pom {
namespace service {

void LoginSession::onDownloadTicket(const DownloadTicketRequest& request) {
  Store& store = server_.store();
  auto member = store.member(memberId_);
  auto file = store.item(request.fileId);
  DownloadTicket ticket;
  ticket.fileId = request.fileId;
  ticket.storageHost = server_.ports().storageHost;
  ticket.flatRate = static_cast<std::int16_t>(member ? member->flatRate : 0);
  ticket.result = DownloadTicket::Result::Unavailable;
  if (file && member && mayDownload(*file, memberId_)) {
    DownloadPaths paths = downloadPathsFor(*file, servedName(server_.faults(), *file));
    ticket.serverPath = paths.serverPath;
    ticket.storagePathHead = paths.storageHead;
    ticket.storagePathTail = paths.storageTail;
    ticket.uniqueCode = file->uniqueCode;
    bool affordable = member->flatRate > 0 || creditCost(request.missingBytes) <= member->credit;
    ticket.result = affordable ? DownloadTicket::Result::Go : DownloadTicket::Result::PaymentNeeded;
  }
  if (auto forced = server_.faults().consumeInt("download_ticket_result"))
    setResult(ticket.result, *forced);
  sendBody(ticket.encode());
}

void LoginSession::onUploadTicket(const UploadTicketRequest& request) {
  Store& store = server_.store();
  Faults& faults = server_.faults();
  auto forced = faults.consumeInt("upload_ticket_result");
  auto fakedSizes = faults.consumeIntPair("upload_ticket_sizes");
  UploadTicket ticket;
  ticket.storageHost = server_.ports().storageHost;
  ticket.storagePort = server_.ports().uploadPort;
  ticket.uploadRow = request.uploadRow;
  setResult(ticket.result, 1);
  bool refusedByFault = forced && *forced != static_cast<int>(UploadTicket::Result::Go) &&
                        *forced != static_cast<int>(UploadTicket::Result::FromNothing);
  if (!request.fileName.empty() && ownFolder(request.folderId) && !refusedByFault) {
    // An unfinished file of the same name in the target folder is resumed;
    // anything else starts a new file record. A file the service holds whole
    // is never offered: the request names no content, so a same-named file
    // may be another one. upload_ticket_sizes names the first record of that
    // name, whatever it holds.
    for (const auto& item : store.findByName(memberId_, request.folderId, request.fileName)) {
      if (!item.isFolder() && (fakedSizes || (item.size > 0 && !item.complete()))) {
        ticket.serverFileId = item.id;
        ticket.fileSize = item.size;
        ticket.storedBytes = item.stored;
        ticket.result = UploadTicket::Result::Go;
        break;
      }
    }
    if (ticket.result != UploadTicket::Result::Go) {
      Item file;
      file.owner = memberId_;
      file.parentId = request.folderId;
      file.kind = 'f';
      file.name = request.fileName;
      if (std::int32_t id = store.addFile(file)) {
        newUploads_.insert(id);
        ticket.serverFileId = id;
        ticket.result = UploadTicket::Result::FromNothing;
      }
    }
    if (fakedSizes && ticket.serverFileId != 0) {
      // Only the ticket says so; the store keeps what it holds. A client
      // that connects after being told of more bytes than the file has is
      // refused by the storage server.
      ticket.fileSize = fakedSizes->first;
      ticket.storedBytes = fakedSizes->second;
      ticket.result = UploadTicket::Result::Go;
      if (ticket.storedBytes > ticket.fileSize) faults.markHeldBeyondSize(ticket.serverFileId);
    }
  }
  if (forced) setResult(ticket.result, *forced);
  sendBody(ticket.encode());
}

void LoginSession::onUploadFinished(const UploadFinished& request) {
  // The storage server's UploadDone carries the file id; only results 0 and
  // 1 are forwarded by the client.
  auto file = ownItem(request.value);
  if (!file || file->isFolder() || !file->complete() || file->size == 0) return;
  bool isNew = newUploads_.erase(file->id) > 0;
  if (isNew) {
    FileRegistered reply;
    reply.name = file->name;
    reply.fileId = file->id;
    reply.parentId = file->parentId;
    reply.sharingState = file->share;
    reply.storedBytes = file->stored;
    reply.size = file->size;
    reply.date.day = static_cast<std::uint16_t>(file->daysKept);
    reply.downloadCount = static_cast<std::uint16_t>(file->downloads);
    reply.result = FileRegistered::Result::Registered;
    sendBody(reply.encode());
  } else {
    ItemSizeUpdate reply;
    reply.itemId = file->id;
    reply.size = file->size;
    reply.storedBytes = file->stored;
    reply.daysKept = static_cast<std::uint16_t>(file->daysKept);
    reply.result = ItemSizeUpdate::Result::Updated;
    sendBody(reply.encode());
  }
}

}  // namespace service
}  // namespace pom
