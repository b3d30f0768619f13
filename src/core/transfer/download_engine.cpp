#include "core/transfer/download_engine.h"

#include <algorithm>

#include "core/hub/session_link.h"
#include "core/net/byte_order.h"
#include "core/net/messages/download_messages.h"
#include "core/ports/dialogs.h"
#include "core/ports/file_system.h"
#include "core/transfer/download_queue.h"

namespace pom {
namespace {

constexpr char kDiskErrorText[] = "디스크에러 하드디스크을 점검해주세요.     ";
constexpr char kShortageForcedText[] = "패킷이 모자랍니다. 충전후 이용해 주세요!     ";
constexpr char kShortageText[] = "패킷이 모자랍니다. 충전후 이용해 주세요!";

}  // namespace

DownloadEngine::DownloadEngine(int slot, Connection& session, DownloadEngineHost& host)
    : slot_(slot), session_(&session), host_(host) {
  session_->setHandler(this);
}

DownloadEngine::~DownloadEngine() {
  detach();
}

void DownloadEngine::detach() {
  if (session_ == nullptr) return;
  session_->setHandler(nullptr);
  session_->reset();
  session_ = nullptr;
  file_.reset();
  open_ = false;
}

int DownloadEngine::jobIndex() const {
  return host_.queue().jobForSlot(slot_);
}

bool DownloadEngine::connect(const std::string& host, std::uint16_t port) {
  if (session_ == nullptr) return false;
  // Whatever this slot still had open ends first, so that its TransferEnded
  // is not lost.
  abort();
  server_ = host;
  port_ = port;
  if (!session_->initialise()) {
    session_->reset();
    return false;
  }
  const bool started =
      session_->connectTo(host, port) || session_->socket().lastError() == SocketError::WouldBlock;
  if (!started) {
    session_->reset();
    return false;
  }
  open_ = true;
  return true;
}

void DownloadEngine::endTransfer() {
  if (!open_) return;
  open_ = false;
  host_.transferEnded();
}

void DownloadEngine::abort() {
  file_.reset();
  if (session_ != nullptr) session_->reset();
  endTransfer();
}

void DownloadEngine::endSession(bool refused) {
  file_.reset();
  if (session_ != nullptr) session_->reset();
  const int index = jobIndex();
  if (index >= 0 && refused) {
    host_.queue().resetTo(index, JobState::Unavailable, false);
    host_.jobChanged(index);
  }
  endTransfer();
}

bool DownloadEngine::openJobFile() {
  DownloadQueue& queue = host_.queue();
  const int index = jobIndex();
  if (index < 0) return false;
  TransferJob& job = queue.job(index);
  FileSystem& files = host_.files();
  if (queue.bindLocalPath(job)) {
    // An empty or missing file starts anew; otherwise the bytes on disk stay
    // and the write position follows them.
    file_ = job.received <= 0 ? files.open(job.localPath, OpenMode::Create)
                              : files.open(job.localPath, OpenMode::Append);
    if (file_ != nullptr && file_->position() != job.received) file_.reset();
  }
  if (file_ == nullptr) {
    abort();
    host_.holdJob(index);
    host_.dialogs().show(kDiskErrorText, "Error", MessageIcon::Error, DialogOwner::DownloadWindow);
    return false;
  }
  job.state = JobState::Transferring;
  job.shownState = stateText(job.state);
  job.receivedAtTick = job.received;
  job.speedTick = host_.now();
  return true;
}

WriteOutcome DownloadEngine::writeBytes(const std::uint8_t* data, std::size_t size) {
  const int index = jobIndex();
  if (index < 0 || file_ == nullptr) return WriteOutcome::NoJob;
  TransferJob& job = host_.queue().job(index);
  // Never more than the file still lacks: surplus bytes would make the local
  // file larger than the service's.
  const std::int64_t missing = std::max<std::int64_t>(0, job.totalSize - job.received);
  const std::size_t take =
      static_cast<std::size_t>(std::min<std::int64_t>(missing, static_cast<std::int64_t>(size)));
  if (take > 0 && !file_->write(data, take)) {
    host_.stopAll();
    host_.dialogs().show(kDiskErrorText, "Error", MessageIcon::Error, DialogOwner::DownloadWindow);
    endSession(false);
    return WriteOutcome::DiskError;
  }
  job.received += static_cast<std::int64_t>(take);
  if (take > 0) job.autoRetries = 0;
  if (job.received < job.totalSize) return WriteOutcome::More;
  file_.reset();
  host_.jobCompleted(index);
  host_.queue().resetTo(index, JobState::Completed);
  host_.jobChanged(index);
  endSession(false);
  return WriteOutcome::Complete;
}

void DownloadEngine::sendRequest(int index) {
  const TransferJob& job = host_.queue().job(index);
  SessionLink& session = host_.session();
  DownloadRequest request;
  request.sessionNumber = static_cast<std::uint16_t>(session.state().sessionNumber);
  request.fileId = job.fileId;
  request.memberId = session.state().memberId;
  request.password = session.password();
  request.path = DownloadRequest::joinPath(job.storagePath, job.serverPath);
  request.offset = job.received;
  const Bytes body = request.encode();
  session_->queue(body.data(), body.size());
}

void DownloadEngine::onConnect(Connection& connection) {
  if (!connection.isOpen()) {
    onClose(connection);
    return;
  }
  const int index = jobIndex();
  if (index < 0 || host_.queue().job(index).state != JobState::Requesting) {
    endSession(false);
    return;
  }
  if (!openJobFile()) return;
  sendRequest(index);
  host_.jobChanged(index);
}

void DownloadEngine::onClose(Connection&) {
  // A lost connection is not a refusal: the job stops and may start again.
  file_.reset();
  const int index = jobIndex();
  endTransfer();
  if (index >= 0) host_.connectionDropped(index);
}

void DownloadEngine::onRead(Connection& connection) {
  if (!connection.receivePacket()) return;
  const std::uint8_t* body = connection.body();
  const std::size_t length = connection.bodyLength();
  if (length < 4) return;
  switch (static_cast<DownloadReplyType>(loadLe32(body))) {
    case DownloadReplyType::DownloadAccept:
      onAccept(body, length);
      break;
    case DownloadReplyType::FileData:
      onFileData(body, length);
      break;
    case DownloadReplyType::CreditInfo:
      onCreditInfo(body, length);
      break;
    case DownloadReplyType::CreditShortage:
      onCreditShortage(body, length);
      break;
    case DownloadReplyType::FileRefused:
      endSession(true);
      break;
    default:
      break;  // KeepAlive, SessionInfo and the rest: read and ignored
  }
}

void DownloadEngine::onAccept(const std::uint8_t* body, std::size_t length) {
  const std::optional<DownloadAccept> accept = DownloadAccept::decode(body, length);
  if (!accept) return;
  if (accept->refused != 0 || accept->fileId == 0 || accept->fileSize == 0) {
    endSession(true);
    return;
  }
  const int index = jobIndex();
  if (index < 0) return;
  TransferJob& job = host_.queue().job(index);
  job.totalSize = accept->fileSize;
  if (job.received < job.totalSize) return;
  if (job.received == job.totalSize) {
    file_.reset();
    host_.queue().resetTo(index, JobState::Completed);
    host_.jobCompleted(index);
    host_.jobChanged(index);
    endSession(false);
    return;
  }
  // The local file is larger than the service's: it is some other file. The
  // job starts again and its next binding picks a free numbered name.
  endSession(false);
  host_.queue().resetTo(index, JobState::Stopped);
  host_.jobChanged(index);
}

void DownloadEngine::onFileData(const std::uint8_t* body, std::size_t length) {
  const std::optional<FileData::View> data = FileData::view(body, length);
  if (!data || data->size != length - FileData::kHeadSize) {
    // A count that does not match the body: the stream cannot be trusted and
    // nothing of it is written.
    const int index = jobIndex();
    endSession(false);
    if (index >= 0) host_.holdJob(index);
    return;
  }
  if (data->size == 0) return;
  writeBytes(data->data, data->size);
}

void DownloadEngine::onCreditInfo(const std::uint8_t* body, std::size_t length) {
  const std::optional<CreditInfo> info = CreditInfo::decode(body, length);
  if (!info) return;
  SessionState& member = host_.session().state();
  member.credit = info->credit;
  member.flatRate = static_cast<std::int16_t>(info->flatRate);
  endSession(true);
}

void DownloadEngine::onCreditShortage(const std::uint8_t* body, std::size_t length) {
  const std::optional<CreditShortage> shortage = CreditShortage::decode(body, length);
  if (!shortage) return;
  SessionState& member = host_.session().state();
  member.credit = std::max<std::int64_t>(0, shortage->credit);
  member.flatRate = static_cast<std::int16_t>(shortage->flatRate);
  const char* text = nullptr;
  if (shortage->force != 0) {
    text = kShortageForcedText;
  } else if (member.flatRate == 0 && member.credit <= 0) {
    text = kShortageText;
  }
  if (text == nullptr) return;
  host_.stopAll();
  host_.dialogs().show(text, "Pomvale", MessageIcon::None, DialogOwner::DownloadWindow);
}

}  // namespace pom
