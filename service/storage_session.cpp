// StorageSession (common part) and DownloadServerSession.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "service/demo_data.h"
#include "service/hostile_names.h"
#include "service/storage_server.h"
#include "service/storage_sessions.h"
#include "service/tickets.h"

namespace pom {
namespace service {

// ---- StorageSession

StorageSession::StorageSession(StorageServer& server, SocketFactory& sockets,
                               const ConnectionKind& kind)
    : Connection(sockets, kind, 0, this), server_(server) {}

StorageSession::~StorageSession() {
  if (bodyFd_ >= 0) ::close(bodyFd_);
}

bool StorageSession::start(std::unique_ptr<TcpSocket> socket) {
  auto wrapped = std::make_unique<FaultSocket>(std::move(socket));
  faultSocket_ = wrapped.get();
  return attach(std::move(wrapped));
}

void StorageSession::onRead(Connection&) {
  touch();
  if (receivePacket()) handle(body(), bodyLength());
  if (!isOpen()) finish();
}

void StorageSession::onWrite(Connection&) {
  touch();
  if (closing_ && sendFill() == 0) {
    finish();
    return;
  }
  if (isOpen()) afterFlush();
}

void StorageSession::onClose(Connection&) {
  finish();
}

std::int64_t StorageSession::idleMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               lastActivity_)
      .count();
}

void StorageSession::finish() {
  if (finished_) return;
  finished_ = true;
  ended();
  close();
  server_.discard(this);
}

void StorageSession::closeAfterFlush() {
  closing_ = true;
  if (sendFill() == 0) finish();
}

// ---- DownloadServerSession

DownloadServerSession::DownloadServerSession(StorageServer& server, SocketFactory& sockets)
    : StorageSession(server, sockets, ConnectionKind{2 * kChunk, 65536, false, kMessageNumber}),
      chunk_(FileData::kHeadSize + kChunk) {}

bool DownloadServerSession::start(std::unique_ptr<TcpSocket> socket) {
  if (!StorageSession::start(std::move(socket))) return false;
  Faults& faults = server_.faults();
  if (auto budget = faults.consumeInt("drop_download_after"))
    faultSocket_->limitSend(*budget, [this] { server_.loop().post([this] { finish(); }); });
  if (auto corrupt = faults.consume("corrupt_next_download"))
    faultSocket_->corruptNextPacket(*corrupt == "length" ? Corruption::Length : Corruption::Marker);
  return true;
}

void DownloadServerSession::handle(const std::uint8_t* body, std::size_t length) {
  if (started_) return;  // the client sends one request per session
  if (auto request = DownloadRequest::decode(body, length)) {
    if (RequestLog* log = server_.requests()) log->recordDownloadRequest(*request);
    onRequest(*request);
  }
}

void DownloadServerSession::refuse(const DownloadRequest& request, bool withFlag) {
  // Nothing follows a refusal: without this the flush of the refusal would
  // start the pump, which finds nothing to send and reports completion.
  done_ = true;
  if (withFlag) {
    DownloadAccept accept;
    accept.fileId = request.fileId;
    accept.refused = 1;
    send(accept.encode());
  } else {
    send(FileRefused{}.encode());
  }
  closeAfterFlush();
}

void DownloadServerSession::onRequest(const DownloadRequest& request) {
  started_ = true;
  Store& store = server_.store();
  if (auto forced = server_.faults().consume("download_refuse")) {
    refuse(request, *forced == "flag");
    return;
  }
  auto member = store.authenticate(request.memberId, request.password);
  if (!member) {
    refuse(request, true);
    return;
  }
  auto file = store.item(request.fileId);
  if (!file || !mayDownload(*file, member->id) ||
      request.path != downloadPathsFor(*file, servedName(server_.faults(), *file)).joined() ||
      request.offset < 0) {
    refuse(request, false);
    return;
  }
  if (auto gone = server_.faults().peekInt("download_file_gone");
      gone && (*gone == 0 || *gone == file->id)) {
    // The ticket was granted, but the body has gone since.
    server_.faults().consume("download_file_gone");
    refuse(request, false);
    return;
  }
  restoreGeneratedBody(store, *file);  // the bulk folder's bodies come late
  bodyFd_ = ::open(store.bodyPath(file->id).c_str(), O_RDONLY | O_CLOEXEC);
  if (bodyFd_ < 0) {
    refuse(request, false);
    return;
  }
  member_ = *member;
  fileId_ = file->id;
  position_ = std::min(request.offset, file->size);
  end_ = file->size;
  if (member_.flatRate == 0)
    allowance_ = std::max<std::int64_t>(member_.credit, 0) * kBytesPerCredit;
  shortageFault_ = server_.faults().consume("credit_shortage");
  countMismatch_ = server_.faults().consumeInt("filedata_count_mismatch");
  rate_ = server_.faults().peekInt("download_rate").value_or(0);
  rateStart_ = std::chrono::steady_clock::now();

  // A client that already holds everything closes after the acceptance.
  done_ = position_ >= end_;
  DownloadAccept accept;
  accept.fileSize = server_.faults().consumeInt("download_accept_size").value_or(file->size);
  accept.fileId = file->id;
  send(accept.encode());  // its flush starts the data pump
  pump();
}

DownloadServerSession::~DownloadServerSession() {
  if (rateTimer_ != 0) server_.loop().stopTimer(rateTimer_);
}

void DownloadServerSession::pump() {
  if (!started_ || done_ || pumping_ || !isOpen()) return;
  pumping_ = true;
  int queued = 0;
  while (position_ < end_ && isOpen()) {
    // Queue behind an empty buffer only: a partly sent buffer is compacted on
    // every flush, so keeping it shallow keeps the copying down; the kernel's
    // socket buffer does the queueing.
    if (sendFill() != 0) break;
    if (queued == 32) {
      // Let other sessions have a turn; carry on at the next one.
      if (!pumpPosted_) {
        pumpPosted_ = true;
        server_.loop().post([this] {
          pumpPosted_ = false;
          pump();
        });
      }
      break;
    }
    std::int64_t want = std::min<std::int64_t>(kChunk, end_ - position_);
    if (rate_ > 0) {
      // Never ahead of rate × elapsed time; come back when more is allowed.
      const auto elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - rateStart_)
                                 .count();
      const std::int64_t allowed = rate_ * (elapsedMs + 50) / 1000 - rateSent_;
      if (allowed <= 0) {
        if (rateTimer_ == 0) {
          rateTimer_ = server_.loop().postDelayed(20, [this] {
            rateTimer_ = 0;
            pump();
          });
        }
        break;
      }
      want = std::min(want, allowed);
    }
    if (allowance_ >= 0) want = std::min(want, allowance_ - sent_);
    if (want <= 0) {
      // Out of credit: say so and stop.
      CreditShortage shortage;
      shortage.credit = 0;
      shortage.flatRate = static_cast<std::uint16_t>(member_.flatRate);
      send(shortage.encode());
      done_ = true;
      charge();
      closeAfterFlush();
      break;
    }
    ssize_t got = ::pread(bodyFd_, chunk_.data() + FileData::kHeadSize,
                          static_cast<std::size_t>(want), static_cast<off_t>(position_));
    if (got <= 0) {
      // The body is shorter than the store says: stop rather than send garbage.
      done_ = true;
      finish();
      break;
    }
    std::uint32_t type = static_cast<std::uint32_t>(FileData::kType);
    std::uint32_t n = static_cast<std::uint32_t>(got);
    // The count field may lie (filedata_count_mismatch); the body is real.
    std::uint32_t count = n;
    if (countMismatch_) {
      count = static_cast<std::uint32_t>(static_cast<std::int64_t>(n) + *countMismatch_);
      countMismatch_.reset();
    }
    for (int k = 0; k < 4; ++k) {
      chunk_[k] = static_cast<std::uint8_t>(type >> (8 * k));
      chunk_[4 + k] = static_cast<std::uint8_t>(count >> (8 * k));
    }
    if (!queue(chunk_.data(), FileData::kHeadSize + n)) break;
    position_ += got;
    sent_ += got;
    rateSent_ += got;
    ++queued;
    if (shortageFault_) {
      CreditShortage shortage;
      shortage.force = *shortageFault_ == "force" ? 1 : 0;
      shortage.credit = shortage.force ? member_.credit : 0;
      shortage.flatRate = static_cast<std::uint16_t>(member_.flatRate);
      send(shortage.encode());
      done_ = true;
      closeAfterFlush();
      break;
    }
  }
  if (position_ >= end_ && !done_ && isOpen()) complete();
  pumping_ = false;
}

void DownloadServerSession::complete() {
  done_ = true;
  charge();
  server_.store().countDownload(fileId_);
  auto member = server_.store().member(member_.id);
  CreditInfo info;
  info.credit = member ? member->credit : member_.credit;
  info.flatRate = static_cast<std::uint16_t>(member_.flatRate);
  send(info.encode());
  // The client closes the session when it reads CreditInfo.
}

void DownloadServerSession::charge() {
  if (member_.id.empty() || member_.flatRate > 0 || sent_ <= charged_) return;
  // Charge whole transfers once, partial ones for what was sent.
  server_.store().charge(member_.id, creditCost(sent_) - creditCost(charged_));
  charged_ = sent_;
}

void DownloadServerSession::ended() {
  charge();
}

}  // namespace service
}  // namespace pom
