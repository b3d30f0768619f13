// UploadServerSession: receives a file in acknowledged chunks.
#include <fcntl.h>
#include <unistd.h>

#include "service/file_bodies.h"
#include "service/result_codes.h"
#include "service/storage_server.h"
#include "service/storage_sessions.h"

namespace pom {
namespace service {

namespace {
constexpr std::uint8_t kRefused = 1;
constexpr std::uint8_t kDigestMismatch = 2;
}  // namespace

UploadServerSession::UploadServerSession(StorageServer& server, SocketFactory& sockets)
    : StorageSession(server, sockets,
                     ConnectionKind{65536, kChunkSize + 4096, false, kMessageNumber}) {}

void UploadServerSession::handle(const std::uint8_t* body, std::size_t length) {
  auto type = bodyType(body, length);
  if (!type) return;
  switch (static_cast<UploadRequestType>(*type)) {
    case UploadRequestType::UploadRequest:
      if (accepted_) return;
      if (auto request = UploadRequest::decode(body, length)) onRequest(*request);
      break;
    case UploadRequestType::FileChunk:
      if (!accepted_) return;
      if (auto chunk = FileChunk::view(body, length)) {
        onChunk(chunk->data, chunk->size);
      } else {
        finish();  // a chunk whose count does not match its body
      }
      break;
    case UploadRequestType::UploadCancel:
      // What is stored so far stays for a later resume.
      finish();
      break;
    default:
      break;
  }
}

void UploadServerSession::onRequest(const UploadRequest& request) {
  Store& store = server_.store();
  UploadAccept accept;
  accept.chunkSize = kChunkSize;
  setResult(accept.result, kRefused);

  auto file = store.item(request.serverFileId);
  bool usable = file && !file->isFolder() && file->owner == request.memberId &&
                server_.sessionValid(request.sessionNumber, request.memberId) &&
                request.totalSize > 0 && request.offset >= 0 &&
                // A file the service already holds whole is never overwritten.
                !(file->size > 0 && file->complete());
  auto forced = server_.faults().consumeInt("upload_accept_result");
  if (!usable || (forced && *forced != static_cast<int>(UploadAccept::Result::Resume) &&
                  *forced != static_cast<int>(UploadAccept::Result::FromStart))) {
    if (forced) setResult(accept.result, *forced);
    send(accept.encode());
    closeAfterFlush();
    return;
  }

  digest_ = digestToHex(request.sampleDigest);
  // Resume only the same content (same size and sample) from where it stopped.
  bool resume = file->size == request.totalSize && file->sampleDigest == digest_ &&
                request.offset == file->stored;
  if (file->size == 0 && request.offset == 0) resume = true;  // a fresh record
  if (forced && *forced == static_cast<int>(UploadAccept::Result::FromStart)) resume = false;
  std::int64_t keep = resume ? file->stored : 0;

  char share = request.sharingLetter;
  if (share != 't' && share != 'f' && share != 'c' && share != 'b') share = 'f';
  bodyFd_ = ::open(store.bodyPath(file->id).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (bodyFd_ < 0 || ::ftruncate(bodyFd_, keep) != 0 ||
      !store.setFileInfo(file->id, request.totalSize, keep, share, "", digest_)) {
    send(accept.encode());
    closeAfterFlush();
    return;
  }
  file_ = *store.item(file->id);
  dropAfter_ = server_.faults().consumeInt("drop_upload_after");
  accepted_ = true;
  accept.result = resume ? UploadAccept::Result::Resume : UploadAccept::Result::FromStart;
  send(accept.encode());
}

void UploadServerSession::onChunk(const std::uint8_t* data, std::size_t size) {
  std::int64_t room = file_.size - file_.stored;
  if (size > static_cast<std::size_t>(kChunkSize) || static_cast<std::int64_t>(size) > room) {
    finish();  // more than was announced: keep what is stored, drop the session
    return;
  }
  for (std::size_t done = 0; done < size;) {
    ssize_t w = ::pwrite(bodyFd_, data + done, size - done,
                         static_cast<off_t>(file_.stored + static_cast<std::int64_t>(done)));
    if (w <= 0) {
      finish();
      return;
    }
    done += static_cast<std::size_t>(w);
  }
  file_.stored += static_cast<std::int64_t>(size);
  received_ += static_cast<std::int64_t>(size);
  server_.store().setStored(file_.id, file_.stored);

  if (dropAfter_ && received_ >= *dropAfter_) {
    finish();
    return;
  }
  if (file_.stored >= file_.size) {
    complete();
  } else {
    send(ChunkAck{}.encode());
  }
}

void UploadServerSession::complete() {
  Store& store = server_.store();
  UploadDone done;
  done.value = file_.id;
  std::string actual = sampleDigestOfFile(store.bodyPath(file_.id), file_.size);
  if (actual != digest_) {
    // The bytes are not the file that was announced: keep none of them.
    ::ftruncate(bodyFd_, 0);
    store.setStored(file_.id, 0);
    setResult(done.result, kDigestMismatch);
  } else {
    char share = file_.share;
    std::string code = uniqueCodeFor(actual, file_.size);
    if (share == 't' && store.isProtected(code)) share = 'b';
    store.setFileInfo(file_.id, file_.size, file_.stored, share, code, actual);
    done.result = UploadDone::Result::Stored;
  }
  send(done.encode());
  accepted_ = false;
  // The client closes the session when it reads UploadDone.
}

}  // namespace service
}  // namespace pom
