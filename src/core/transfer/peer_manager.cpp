#include "core/transfer/peer_manager.h"

#include <algorithm>

#include "core/base/servers.h"
#include "core/hub/session_link.h"
#include "core/net/messages/peer_header.h"
#include "core/net/messages/requests.h"
#include "core/ports/clock.h"
#include "core/ports/http_client.h"
#include "core/ports/random.h"
#include "core/transfer/peer_list.h"

namespace pom {
namespace {

constexpr char kPeerListAgent[] = "PeerSvrList";
constexpr std::size_t kPeerListMaxBody = 16384;

}  // namespace

PeerManager::PeerManager(const Deps& deps)
    : deps_(deps),
      peers_(*deps.sockets, kPeerConnectionKind, nullptr, FanOutSlot::PeerManager,
             "PeerConnection"),
      history_(*deps.config) {
  PeerConnectionOwner& owner = *this;
  for (int slot = 0; slot < kTransferSlots; ++slot) {
    connections_[static_cast<std::size_t>(slot)] =
        std::make_unique<PeerConnection>(slot, peers_[slot], owner);
  }
}

PeerManager::~PeerManager() {
  peers_.resetAll();
}

int PeerManager::onSocketMessage(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
  peers_.offer(message, wParam, lParam);
  return 0;
}

void PeerManager::stop() {
  detachHost();
}

std::uint32_t PeerManager::now() const {
  return deps_.clock->tickCount();
}

const PeerSource* PeerManager::source(std::int32_t fileId) const {
  for (const PeerSource& s : sources_) {
    if (s.job.fileId == fileId) return &s;
  }
  return nullptr;
}

PeerSource* PeerManager::findSource(std::int32_t fileId) {
  return const_cast<PeerSource*>(static_cast<const PeerManager&>(*this).source(fileId));
}

// --- starting a file -------------------------------------------------------

bool PeerManager::startForTicket(const DownloadTicket& ticket, const TransferJob& job) {
  dropSource(job.fileId);
  PeerSource fresh;
  fresh.job = job;
  fresh.storageHost = ticket.storageHost;
  fresh.checksum = ticket.uniqueCode;
  sources_.push_back(std::move(fresh));
  const int slot = job.slot;
  if (slot < 0 || slot >= kTransferSlots || host_ == nullptr) return false;
  if (!wantsPeers(job.totalSize) || !validChecksum(ticket.uniqueCode)) return false;
  std::vector<std::string> listed = requestPeers(sources_.back());
  // The request blocked the loop: re-find the record.
  PeerSource* source = findSource(job.fileId);
  if (source == nullptr || listed.empty()) return false;
  source->peers = std::move(listed);
  PeerConnection& peer = *connections_[static_cast<std::size_t>(slot)];
  // A new file starts the list and the attempts anew on this slot.
  peer.connection().reset();
  peer.unbind();
  peer.nextPeer = 0;
  peer.attempts = 0;
  if (connectNext(peer, *source)) return true;
  source->mode = 1;
  peer.connection().reset();
  peer.unbind();
  return false;
}

std::vector<std::string> PeerManager::requestPeers(const PeerSource& source) {
  const HostPort server = deps_.servers->http(Server::PeerList);
  HttpRequest request;
  request.host = server.host;
  if (server.port != kHttpPort) request.host += ":" + std::to_string(server.port);
  request.path = peerListPath(source.checksum, source.job.totalSize);
  request.agent = kPeerListAgent;
  // The request blocks the loop: a list that does not come quickly is none.
  request.timeoutMs = kPeerListTimeoutMs;
  deps_.random->seed(now());
  const HttpResponse reply = deps_.http->send(request, kPeerListMaxBody);
  if (!reply.sent || reply.status != 200) return {};
  // A reply shorter than it announced was cut: its last address may be a
  // different one.
  if (reply.hasContentLength &&
      (reply.contentLength <= 1 ||
       reply.contentLength != static_cast<std::int64_t>(reply.body.size()))) {
    return {};
  }
  if (reply.body.size() <= 1) return {};
  std::vector<std::string> peers = parsePeerList(reply.body);
  shufflePeers(peers, *deps_.random);
  return peers;
}

bool PeerManager::connectNext(PeerConnection& peer, PeerSource& source) {
  while (peer.nextPeer < static_cast<int>(source.peers.size()) && peer.attempts < kPeerAttempts) {
    const std::string address = source.peers[static_cast<std::size_t>(peer.nextPeer)];
    ++peer.nextPeer;
    ++peer.attempts;
    Connection& connection = peer.connection();
    connection.reset();
    peer.bind(source.job.fileId, now());
    if (connection.initialise() && (connection.connectTo(address, deps_.servers->peerPort()) ||
                                    connection.socket().lastError() == SocketError::WouldBlock)) {
      source.mode = 2;
      return true;
    }
    connection.reset();
    peer.unbind();
  }
  return false;
}

// --- the exchange ----------------------------------------------------------

void PeerManager::peerConnected(PeerConnection& peer) {
  if (!peer.bound()) {
    peer.connection().reset();
    return;
  }
  if (!peer.connection().isOpen()) {
    peerClosed(peer);
    return;
  }
  peer.connectTick = now();
  peer.connected = true;
  const std::uint32_t run = peer.run;
  if (host_ == nullptr || !host_->openJobFile(peer.slot)) {
    // The host held the job and told the member; the peers are done with it.
    if (peer.run == run) abandon(peer);
    return;
  }
  const PeerSource* source = findSource(peer.fileId);
  if (source == nullptr) return;
  PeerHeader header;
  header.checksum = source->checksum;
  header.totalSize = source->job.totalSize;
  header.offset = std::max<std::int64_t>(0, host_->jobReceived(peer.slot));
  const std::string text = header.encode();
  peer.connection().queue(text.data(), text.size());
}

void PeerManager::peerRead(PeerConnection& peer) {
  Connection& connection = peer.connection();
  if (!connection.readRaw()) return;
  const std::int32_t count = connection.lastRawLength();
  if (count <= 0) {
    peerClosed(peer);
    return;
  }
  // Bytes of a peer that was given up, or that came before the connect was
  // reported, are not the file's.
  if (!peer.bound() || peer.dropped || !peer.connected || host_ == nullptr) return;
  peer.lastDataTick = now();
  PeerSource* source = findSource(peer.fileId);
  const std::int64_t before = host_->jobReceived(peer.slot);
  const std::uint32_t run = peer.run;
  const std::int32_t fileId = peer.fileId;
  const WriteOutcome outcome =
      host_->writeBytes(peer.slot, connection.rawData(), static_cast<std::size_t>(count));
  // Only what the file lacked was written; the rest of a peer's bytes count
  // for nothing.
  if (source != nullptr && before >= 0 && outcome != WriteOutcome::NoJob &&
      outcome != WriteOutcome::DiskError) {
    const std::int64_t lacking = std::max<std::int64_t>(0, source->job.totalSize - before);
    source = findSource(fileId);
    if (source != nullptr) source->peerBytes += std::min<std::int64_t>(lacking, count);
  }
  if (peer.run != run) return;  // the write stopped this transfer already
  peer.bytes += count;
  switch (outcome) {
    case WriteOutcome::More:
      return;
    case WriteOutcome::Complete:
      source = findSource(fileId);
      connection.reset();
      peer.unbind();
      if (source != nullptr && source->mode == 2) {
        report(*source, true);
        deps_.session->send(TransferEnded().encode());
      }
      return;
    case WriteOutcome::NoJob:
    case WriteOutcome::DiskError:
      abandon(peer);
      return;
  }
}

void PeerManager::peerClosed(PeerConnection& peer) {
  if (!peer.bound()) return;
  nextOrFallBack(peer);
}

// --- giving up on a peer ---------------------------------------------------

void PeerManager::nextOrFallBack(PeerConnection& peer) {
  PeerSource* source = findSource(peer.fileId);
  if (source != nullptr && peer.nextPeer < static_cast<int>(source->peers.size()) &&
      peer.attempts < kPeerAttempts) {
    // The next peer starts from the bytes on disk now.
    if (host_ != nullptr && peer.connected) host_->releaseJobFile(peer.slot);
    if (connectNext(peer, *source)) return;
  }
  fallBack(peer);
}

void PeerManager::fallBack(PeerConnection& peer) {
  const int slot = peer.index();
  peer.connection().reset();
  std::string storageHost;
  if (PeerSource* source = findSource(peer.fileId)) {
    reportAbandoned(*source);
    source->mode = 1;
    storageHost = source->storageHost;
  }
  peer.unbind();
  if (host_ != nullptr) host_->fallBackToServer(slot, storageHost);
}

void PeerManager::drop(PeerConnection& peer) {
  peer.dropped = true;
  peer.connection().reset();
  nextOrFallBack(peer);
}

void PeerManager::abandon(PeerConnection& peer) {
  peer.connection().reset();
  if (PeerSource* source = findSource(peer.fileId)) {
    reportAbandoned(*source);
    source->mode = 1;
  }
  peer.unbind();
}

void PeerManager::reportAbandoned(PeerSource& source) {
  if (source.mode == 2 && source.peerBytes >= kReportMinimumBytes) report(source, false);
}

void PeerManager::report(PeerSource& source, bool completed) {
  const SessionState& member = deps_.session->state();
  PeerReport report;
  report.sessionNumber = static_cast<std::uint16_t>(member.sessionNumber);
  report.fileId = source.job.fileId;
  report.memberId = member.memberId;
  report.totalSize = source.job.totalSize;
  report.peerBytes = source.peerBytes;
  report.completed = completed;
  report.flatRate = member.flatRate;
  source.peerBytes = 0;
  deps_.session->send(report.encode());
}

// --- the engine's calls ----------------------------------------------------

void PeerManager::speedSample(std::int32_t fileId, double mbps) {
  const PeerSource* source = findSource(fileId);
  if (source != nullptr && source->mode == 1) history_.record(mbps);
}

bool PeerManager::closeSlot(int slot, std::int32_t) {
  if (slot < 0 || slot >= kTransferSlots) return false;
  PeerConnection& peer = *connections_[static_cast<std::size_t>(slot)];
  if (!peer.bound()) return false;
  abandon(peer);
  return true;
}

void PeerManager::dropSource(std::int32_t fileId) {
  sources_.erase(std::remove_if(sources_.begin(), sources_.end(),
                                [fileId](const PeerSource& s) { return s.job.fileId == fileId; }),
                 sources_.end());
}

void PeerManager::watchdog() {
  const double required = requiredPeerSpeed(history_.usualSpeed());
  for (auto& owned : connections_) {
    PeerConnection& peer = *owned;
    // A connect that never completes is watched as well as a silent peer.
    if (!peer.bound()) continue;
    const std::uint32_t tick = now();
    const std::uint32_t sinceCheck = tick - peer.lastCheckTick;
    if (sinceCheck < kWatchdogCheckMs) continue;
    if (tick - peer.lastDataTick >= kPeerSilenceMs) {
      drop(peer);
      continue;
    }
    // The peer's own bytes since the last check, smoothed from the first
    // check on so that the speed rule starts from a settled value.
    const std::int64_t deltaKB = (peer.bytes - peer.bytesAtCheck) / 1024;
    peer.smoothedKB = (deltaKB + peer.smoothedKB) / 2;
    if (peer.connected && tick - peer.connectTick >= kSpeedCheckAfterMs) {
      const double speed = static_cast<double>(peer.smoothedKB) * 8.0 / sinceCheck;
      if (speed < required && ++peer.slowCount >= kSlowChecks) {
        drop(peer);
        continue;
      }
    }
    peer.bytesAtCheck = peer.bytes;
    peer.lastCheckTick = tick;
  }
}

void PeerManager::closeAll() {
  for (int slot = 0; slot < kTransferSlots; ++slot) closeSlot(slot, 0);
  peers_.resetAll();
  sources_.clear();
}

void PeerManager::detachHost() {
  host_ = nullptr;
  peers_.resetAll();
  for (auto& peer : connections_) peer->unbind();
  sources_.clear();
}

}  // namespace pom
