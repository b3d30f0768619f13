#include "core/transfer/upload_engine.h"

#include <algorithm>

#include "core/base/text_utils.h"
#include "core/hub/session_link.h"
#include "core/net/byte_order.h"
#include "core/net/messages/message_types.h"
#include "core/net/messages/replies.h"
#include "core/net/messages/requests.h"
#include "core/net/messages/upload_messages.h"
#include "core/ports/file_system.h"

namespace pom {
namespace {

// The reasons a job fails, for the member (the state column shows "실패").
constexpr char kOpenFailedText[] = "파일을 열 수 없습니다";
constexpr char kChangedText[] = "파일 크기가 바뀌었습니다";
constexpr char kReadFailedText[] = "파일을 읽을 수 없습니다";
constexpr char kDroppedText[] = "스토리지 연결이 끊어졌습니다";

std::string refusedText(int result) {
  return "업로드 거부 (결과 " + std::to_string(result) + ")";
}
std::string chunkSizeText(std::int32_t size) {
  return "잘못된 전송 단위 (" + std::to_string(size) + ")";
}
std::string doneText(int result) {
  return "업로드 실패 (결과 " + std::to_string(result) + ")";
}
std::string earlyDoneText(int result) {
  return "전송 도중 종료 (결과 " + std::to_string(result) + ")";
}

// The service's UploadDone results that mean the file is stored.
bool storedResult(std::uint8_t result) {
  return result == 0 || result == 1;
}

// Field sizes of UploadRequest, zero byte included.
constexpr std::size_t kMemberIdField = 21;
constexpr std::size_t kSubFolderField = 100;
constexpr std::size_t kFileNameField = 256;

}  // namespace

UploadEngine::UploadEngine(int slot, Connection& session, UploadEngineHost& host)
    : slot_(slot), session_(&session), host_(host) {
  session_->setHandler(this);
}

UploadEngine::~UploadEngine() {
  detach();
}

bool UploadEngine::idle() const {
  return !bound_ && (session_ == nullptr || !session_->isOpen());
}

void UploadEngine::stopTimers() {
  if (chunkTimer_ != 0) host_.loop().stopTimer(chunkTimer_);
  if (graceTimer_ != 0) host_.loop().stopTimer(graceTimer_);
  chunkTimer_ = 0;
  graceTimer_ = 0;
}

void UploadEngine::detach() {
  if (session_ == nullptr) return;
  stopTimers();
  session_->setHandler(nullptr);
  session_->reset();
  session_ = nullptr;
  file_.reset();
  bound_ = connected_ = chunkOutstanding_ = chunkWaitsForRoom_ = freeAfterClose_ = false;
}

int UploadEngine::boundJob() {
  if (!bound_) return -1;
  return host_.jobOnSlot(slot_);
}

void UploadEngine::bind() {
  bound_ = true;
}

bool UploadEngine::connect(const std::string& host, std::uint16_t port) {
  if (session_ == nullptr) return false;
  // Whatever this slot still had open (a cancelled session in its grace)
  // gives way to the new one.
  stopTimers();
  session_->reset();
  file_.reset();
  connected_ = chunkOutstanding_ = chunkWaitsForRoom_ = freeAfterClose_ = false;
  bound_ = true;
  const bool started =
      session_->initialise() && (session_->connectTo(host, port) ||
                                 session_->socket().lastError() == SocketError::WouldBlock);
  if (!started) {
    session_->reset();
    bound_ = false;
    return false;
  }
  return true;
}

void UploadEngine::release() {
  bound_ = false;
  if (chunkTimer_ != 0) host_.loop().stopTimer(chunkTimer_);
  chunkTimer_ = 0;
  chunkOutstanding_ = chunkWaitsForRoom_ = false;
  file_.reset();
  // A session in its cancel grace closes on its own; anything else is not
  // needed any more.
  if (session_ != nullptr && graceTimer_ == 0) {
    session_->reset();
    connected_ = false;
  }
}

void UploadEngine::stop() {
  if (session_ == nullptr) return;
  if (graceTimer_ != 0) {  // already cancelled; the grace runs on
    bound_ = false;
    return;
  }
  if (connected_ && session_->isOpen()) {
    cancelSession(false);
    return;
  }
  // Still connecting (or not connected at all): nobody to tell.
  release();
}

void UploadEngine::endSession() {
  stopTimers();
  file_.reset();
  if (session_ != nullptr) session_->reset();
  bound_ = connected_ = chunkOutstanding_ = chunkWaitsForRoom_ = freeAfterClose_ = false;
  host_.slotFreed(slot_);
}

void UploadEngine::cancelSession(bool freeSlot) {
  if (chunkTimer_ != 0) host_.loop().stopTimer(chunkTimer_);
  chunkTimer_ = 0;
  file_.reset();
  bound_ = chunkOutstanding_ = chunkWaitsForRoom_ = false;
  freeAfterClose_ = freeSlot;
  const Bytes cancel = UploadCancel().encode();
  session_->queue(cancel.data(), cancel.size());
  // The service closes a cancelled session; one that does not within the
  // grace would hold the slot for ever.
  graceTimer_ = host_.loop().postDelayed(kCancelGraceMs, [this] {
    graceTimer_ = 0;
    closeAfterGrace();
  });
}

void UploadEngine::closeAfterGrace() {
  if (session_ != nullptr) session_->reset();
  connected_ = false;
  const bool freeSlot = freeAfterClose_;
  freeAfterClose_ = false;
  if (freeSlot) host_.slotFreed(slot_);
}

void UploadEngine::failJob(int index, const std::string& reason) {
  file_.reset();
  UploadJob& job = host_.job(index);
  resetUploadJob(job, UploadState::Failed);
  job.failure = reason;
  host_.jobChanged(index);
  host_.jobFailed(index);
}

void UploadEngine::onConnect(Connection& connection) {
  if (!connection.isOpen()) {
    onClose(connection);
    return;
  }
  connected_ = true;
  const int index = boundJob();
  if (index < 0 || host_.job(index).state != UploadState::Connecting) {
    // No job waits for this session: nothing to announce.
    endSession();
    return;
  }
  UploadJob& job = host_.job(index);
  job.state = UploadState::Announced;  // the row keeps its text
  // Existing files only: a missing source must never be created empty.
  file_ = host_.files().open(job.localPath, OpenMode::Read);
  const char* failure = nullptr;
  if (file_ == nullptr) {
    failure = kOpenFailedText;
  } else if (file_->size() != job.totalSize) {
    // Another file now (the digest and the size announced would not be its).
    failure = kChangedText;
  } else if (job.sent > 0 && !file_->seek(job.sent)) {
    failure = kReadFailedText;
  }
  if (failure != nullptr) {
    failJob(index, failure);
    endSession();
    return;
  }
  sendRequest(index);
  host_.jobChanged(index);
}

void UploadEngine::sendRequest(int index) {
  const UploadJob& job = host_.job(index);
  SessionState& member = host_.session().state();
  UploadRequest request;
  request.sessionNumber = static_cast<std::uint16_t>(member.sessionNumber);
  request.serverFileId = job.serverFileId;
  request.folderId = job.folderId;
  // Cut at a character boundary so that no field ends in half a character.
  request.memberId = cutText(member.memberId, kMemberIdField - 1);
  request.subFolder = cutText(job.subFolder, kSubFolderField - 1);
  request.fileName = cutText(baseName(job.localPath), kFileNameField - 1);
  request.totalSize = job.totalSize;
  request.offset = job.sent;
  request.sharingLetter = host_.sharingLetterFor(job.localPath);
  request.sampleDigest = job.sampleDigest;
  const Bytes body = request.encode();
  session_->queue(body.data(), body.size());
}

void UploadEngine::onRead(Connection& connection) {
  if (!connection.receivePacket()) return;
  const std::uint8_t* body = connection.body();
  const std::size_t length = connection.bodyLength();
  if (length < 4) return;
  switch (static_cast<UploadReplyType>(loadLe32(body))) {
    case UploadReplyType::UploadAccept:
      onAccept(body, length);
      break;
    case UploadReplyType::ChunkAck:
      onChunkAck();
      break;
    case UploadReplyType::UploadDone:
      onDone(body, length);
      break;
    case UploadReplyType::SessionInfo:
      if (const auto info = SessionInfo::decode(body, length)) {
        connection.sessionNumber = info->sessionNumber;
      }
      break;
    default:
      break;  // KeepAlive and the rest: read and ignored
  }
}

void UploadEngine::onAccept(const std::uint8_t* body, std::size_t length) {
  const std::optional<UploadAccept> accept = UploadAccept::decode(body, length);
  if (!accept) return;
  const int index = boundJob();
  if (index < 0 || host_.job(index).state != UploadState::Announced) return;
  UploadJob& job = host_.job(index);
  const auto result = static_cast<std::uint8_t>(accept->result);
  if (accept->result != UploadAccept::Result::Resume &&
      accept->result != UploadAccept::Result::FromStart) {
    failJob(index, refusedText(result));
    endSession();
    return;
  }
  if (accept->chunkSize < 1 || accept->chunkSize > kMaxUploadChunk) {
    // A chunk that cannot be held (or is no chunk at all) would never end.
    failJob(index, chunkSizeText(accept->chunkSize));
    cancelSession(true);
    return;
  }
  if (accept->result == UploadAccept::Result::FromStart) {
    job.sent = 0;
    if (file_ == nullptr || !file_->seek(0)) {
      failJob(index, kReadFailedText);
      cancelSession(true);
      return;
    }
  }
  job.state = UploadState::Sending;
  job.shownState = uploadStateText(job.state);
  job.chunkSize = accept->chunkSize;
  job.sentAtTick = job.sent;
  job.speedTick = host_.now();
  host_.jobChanged(index);
  sendChunk();
}

void UploadEngine::sendChunk() {
  const int index = boundJob();
  if (index < 0 || file_ == nullptr || chunkOutstanding_) return;
  UploadJob& job = host_.job(index);
  if (job.state != UploadState::Sending || job.sent >= job.totalSize) return;
  const auto n =
      static_cast<std::size_t>(std::min<std::int64_t>(job.chunkSize, job.totalSize - job.sent));
  std::uint8_t* body = session_->reserveBody(FileChunk::kHeadSize + n);
  if (body == nullptr) {
    // Bytes from before still wait for the socket: the chunk follows them.
    chunkWaitsForRoom_ = true;
    return;
  }
  std::uint8_t* data = body + FileChunk::kHeadSize;
  std::size_t got = 0;
  while (got < n) {
    const std::int64_t r = file_->read(data + got, n - got);
    if (r <= 0) break;
    got += static_cast<std::size_t>(r);
  }
  if (got < n) {
    // The file shrank or cannot be read: no empty or short chunk goes out,
    // and the service is told to drop the upload.
    session_->commitBody(0);
    failJob(index, kReadFailedText);
    cancelSession(true);
    return;
  }
  FileChunk::writeHead(body, static_cast<std::int32_t>(n));
  chunkOutstanding_ = true;
  job.sent += static_cast<std::int64_t>(n);
  session_->commitBody(FileChunk::kHeadSize + n);
}

void UploadEngine::onWrite(Connection&) {
  if (!chunkWaitsForRoom_) return;
  chunkWaitsForRoom_ = false;
  sendChunk();
}

void UploadEngine::onChunkAck() {
  // One chunk per acknowledgement: one that answers nothing sends nothing.
  if (!chunkOutstanding_ || boundJob() < 0) return;
  chunkOutstanding_ = false;
  if (chunkTimer_ != 0) return;
  chunkTimer_ = host_.loop().postDelayed(kChunkPauseMs, [this] {
    chunkTimer_ = 0;
    sendChunk();
  });
}

void UploadEngine::onDone(const std::uint8_t* body, std::size_t length) {
  const std::optional<UploadDone> done = UploadDone::decode(body, length);
  if (!done) return;
  const int index = boundJob();
  if (index < 0) return;  // cancelled meanwhile: the session closes anyway
  UploadJob& job = host_.job(index);
  const auto result = static_cast<std::uint8_t>(done->result);
  const bool everythingSent = job.state == UploadState::Sending && job.sent >= job.totalSize;
  if (everythingSent && storedResult(result)) {
    UploadFinished finished;
    finished.value = done->value;
    finished.result = result;
    host_.session().send(finished.encode());
    file_.reset();
    host_.jobCompleted(index);
    resetUploadJob(job, UploadState::Completed);
    host_.jobChanged(index);
  } else {
    failJob(index, everythingSent ? doneText(result) : earlyDoneText(result));
  }
  endSession();
}

void UploadEngine::onClose(Connection&) {
  connected_ = false;
  file_.reset();
  if (graceTimer_ != 0) {
    // The service closed the cancelled session: the slot is free now.
    host_.loop().stopTimer(graceTimer_);
    graceTimer_ = 0;
    closeAfterGrace();
    return;
  }
  if (!bound_) return;
  const int index = boundJob();
  if (index >= 0) {
    const UploadState state = host_.job(index).state;
    if (state == UploadState::Connecting || state == UploadState::Announced ||
        state == UploadState::Sending) {
      failJob(index, kDroppedText);
    }
  }
  endSession();
}

}  // namespace pom
