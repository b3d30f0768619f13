// UploadServerSession: receives a file in acknowledged chunks.
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <limits>

#include "service/file_bodies.h"
#include "service/result_codes.h"
#include "service/storage_server.h"
#include "service/storage_sessions.h"

namespace pom {
namespace service {

namespace {

constexpr std::uint8_t kRefused = 1;
constexpr std::uint8_t kDigestMismatch = 2;
// Room for every other upload message (UploadRequest is 442 bytes) and the
// framing around a chunk.
constexpr std::uint32_t kReceiveSlack = 4096;

std::int32_t chunkSizeToGrant(Faults& faults) {
  const long long n =
      faults.consumeInt("upload_chunk_size").value_or(UploadServerSession::kDefaultChunkSize);
  return static_cast<std::int32_t>(std::clamp<long long>(
      n, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

ConnectionKind uploadKind(std::int32_t chunkSize) {
  const std::int32_t buffered = std::clamp(chunkSize, 0, UploadServerSession::kMaxBufferedChunk);
  return ConnectionKind{65536, static_cast<std::uint32_t>(buffered) + kReceiveSlack, false,
                        UploadServerSession::kMessageNumber};
}

// A success result of UploadDone, the ones the client reports to the login
// server.
bool isSuccess(long long result) {
  return result == 0 || result == 1;
}

}  // namespace

UploadServerSession::UploadServerSession(StorageServer& server, SocketFactory& sockets)
    : UploadServerSession(server, sockets, chunkSizeToGrant(server.faults())) {}

UploadServerSession::UploadServerSession(StorageServer& server, SocketFactory& sockets,
                                         std::int32_t chunkSize)
    : StorageSession(server, sockets, uploadKind(chunkSize)), chunkSize_(chunkSize) {}

void UploadServerSession::handle(const std::uint8_t* body, std::size_t length) {
  auto type = bodyType(body, length);
  if (!type) return;
  RequestLog* log = server_.requests();
  if (*type != static_cast<std::int32_t>(UploadRequestType::FileChunk)) nextIsEarly_ = false;
  switch (static_cast<UploadRequestType>(*type)) {
    case UploadRequestType::UploadRequest:
      if (accepted_) return;
      if (auto request = UploadRequest::decode(body, length)) {
        if (log) log->recordUploadRequest(*request);
        onRequest(*request);
      }
      break;
    case UploadRequestType::FileChunk: {
      auto chunk = FileChunk::view(body, length);
      if (!chunk) {
        finish();  // a chunk whose count does not match its body
        return;
      }
      const bool early = !chunkAllowed_ || nextIsEarly_;
      chunkAllowed_ = false;
      nextIsEarly_ = false;
      if (log) log->recordFileChunk(memberId_, chunk->size, file_.stored, early);
      if (accepted_) onChunk(chunk->data, chunk->size);
      break;
    }
    case UploadRequestType::UploadCancel:
      if (log) log->recordUploadCancel(memberId_, file_.id, file_.stored);
      // What is stored so far stays for a later resume.
      finish();
      break;
    default:
      break;
  }
}

void UploadServerSession::onRequest(const UploadRequest& request) {
  Store& store = server_.store();
  Faults& faults = server_.faults();
  UploadAccept accept;
  accept.chunkSize = chunkSize_;
  setResult(accept.result, kRefused);

  auto file = store.item(request.serverFileId);
  bool usable = file && !file->isFolder() && file->owner == request.memberId &&
                server_.sessionValid(request.sessionNumber, request.memberId) &&
                request.totalSize > 0 && request.offset >= 0 &&
                // A file the service already holds whole is never overwritten,
                // nor one a ticket said it holds more of than its size.
                !(file->size > 0 && file->complete()) && !faults.heldBeyondSize(file->id);
  auto forced = faults.consumeInt("upload_accept_result");
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
  memberId_ = request.memberId;
  dropAfter_ = faults.consumeInt("drop_upload_after");
  noAck_ = faults.consume("upload_no_ack").has_value();
  earlyDone_ = faults.consume("upload_early_done").has_value();
  accepted_ = true;
  accept.result = resume ? UploadAccept::Result::Resume : UploadAccept::Result::FromStart;
  send(accept.encode());
  chunkAllowed_ = true;
}

void UploadServerSession::onChunk(const std::uint8_t* data, std::size_t size) {
  const std::int64_t room = file_.size - file_.stored;
  const std::int64_t limit = std::min(chunkSize_, kMaxBufferedChunk);
  const auto n = static_cast<std::int64_t>(size);
  if (n == 0 || n > limit || n > room) {
    // Empty, larger than granted or than announced: keep what is stored,
    // drop the session.
    finish();
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
  file_.stored += n;
  received_ += n;
  server_.store().setStored(file_.id, file_.stored);

  if (dropAfter_ && received_ >= *dropAfter_) {
    finish();
    return;
  }
  if (file_.stored >= file_.size) {
    complete();
  } else if (earlyDone_) {
    // Claims the whole file after one chunk; the store still says what it
    // holds, so the login server does not register the file.
    earlyDone_ = false;
    sendDone(server_.faults().consumeInt("upload_done_result").value_or(0));
  } else {
    acknowledge();
  }
}

bool UploadServerSession::moreWaiting() const {
  if (receivePosition() > 0) return true;
  int pending = 0;
  const int fd = faultSocket_ ? static_cast<int>(faultSocket_->handle()) : -1;
  return fd >= 0 && ::ioctl(fd, FIONREAD, &pending) == 0 && pending > 0;
}

void UploadServerSession::acknowledge() {
  if (noAck_) return;
  // Whatever is already here was sent before the client could read this
  // acknowledgement.
  nextIsEarly_ = moreWaiting();
  send(ChunkAck{}.encode());
  chunkAllowed_ = true;
}

void UploadServerSession::complete() {
  Store& store = server_.store();
  auto forced = server_.faults().consumeInt("upload_done_result");
  std::string actual = sampleDigestOfFile(store.bodyPath(file_.id), file_.size);
  const bool matches = actual == digest_;
  if (!matches || (forced && !isSuccess(*forced))) {
    // The bytes are not the file that was announced (or the service says it
    // failed): keep none of them.
    ::ftruncate(bodyFd_, 0);
    store.setStored(file_.id, 0);
  } else {
    char share = file_.share;
    std::string code = uniqueCodeFor(actual, file_.size);
    if (share == 't' && store.isProtected(code)) share = 'b';
    store.setFileInfo(file_.id, file_.size, file_.stored, share, code, actual);
  }
  sendDone(forced.value_or(matches ? static_cast<int>(UploadDone::Result::Stored)
                                   : static_cast<int>(kDigestMismatch)));
}

void UploadServerSession::sendDone(long long result) {
  UploadDone done;
  done.value = file_.id;
  setResult(done.result, static_cast<int>(result));
  send(done.encode());
  accepted_ = false;
  // The client closes the session when it reads UploadDone.
}

}  // namespace service
}  // namespace pom
