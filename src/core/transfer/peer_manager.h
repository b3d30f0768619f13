// PeerManager: the peer-source manager, owner of the three peer connections
// (one per download slot, raw reads, message number 1064 + slot) and of the
// PeerSource records, one per file whose ticket arrived.
//
// For a file above 10,485,760 bytes it asks the peer list (a short, bounded
// request), then connects the job's slot to the listed peers one after
// another (at most three attempts per file and slot), asks each with the
// header text for the file from the bytes on disk, and writes what arrives
// through the transfer host's capped write path. The 500 ms watchdog drops
// peers that connect or send nothing for 8 s or stay too slow twice; after
// the attempts or the list the storage server takes over at the bytes on
// disk. Bytes from peers are reported with PeerReport: flag 1 once when the
// file completes, flag 0 for abandoned peers that gave 4,194,304 bytes or
// more. Speeds of storage-server transfers feed the usual server speed.
//
// It is the fan-out's receiver after the download sessions and offers each
// notification to its connections. Created after the download window and
// attached to it (setHost); every dependency outlives it, the host until
// detachHost. Loop thread only; the host's calls may re-enter (a disk error
// stops every transfer), so each handler re-checks its connection's run.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/ports/tcp_socket.h"
#include "core/transfer/peer_connection.h"
#include "core/transfer/peer_sources.h"
#include "core/transfer/peer_speed_history.h"
#include "core/transfer/session_slots.h"

namespace pom {

class Clock;
class ConfigStore;
class HttpClient;
class Random;
class Servers;
class SessionLink;

inline constexpr int kPeerAttempts = 3;
inline constexpr std::uint32_t kWatchdogCheckMs = 1000;
inline constexpr std::uint32_t kPeerSilenceMs = 8000;
inline constexpr std::uint32_t kSpeedCheckAfterMs = 10000;
inline constexpr int kSlowChecks = 2;
inline constexpr std::int64_t kReportMinimumBytes = 4194304;
inline constexpr int kPeerListTimeoutMs = 2000;

struct PeerSource {
  TransferJob job;  // as it was when the ticket arrived
  std::string storageHost;
  std::vector<std::string> peers;  // in random order
  std::string checksum;
  std::int16_t mode = 1;  // 1: storage server, 2: peers
  std::int64_t peerBytes = 0;
};

class PeerManager final : public SocketNotificationSink,
                          public PeerSources,
                          private PeerConnectionOwner {
 public:
  struct Deps {
    SocketFactory* sockets = nullptr;
    Clock* clock = nullptr;
    Random* random = nullptr;
    HttpClient* http = nullptr;
    const Servers* servers = nullptr;
    ConfigStore* config = nullptr;
    SessionLink* session = nullptr;
  };

  explicit PeerManager(const Deps& deps);
  ~PeerManager() override;
  PeerManager(const PeerManager&) = delete;
  PeerManager& operator=(const PeerManager&) = delete;

  void setHost(PeerTransferHost* host) { host_ = host; }

  int onSocketMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  // Closes every peer connection.
  void stop();

  Connection& connection(int slot) { return peers_[slot]; }
  const PeerConnection& peer(int slot) const {
    return *connections_[static_cast<std::size_t>(slot)];
  }
  const PeerSource* source(std::int32_t fileId) const;
  double usualSpeed() const { return history_.usualSpeed(); }

  // PeerSources
  bool startForTicket(const DownloadTicket& ticket, const TransferJob& job) override;
  void speedSample(std::int32_t fileId, double mbps) override;
  bool closeSlot(int slot, std::int32_t fileId) override;
  void dropSource(std::int32_t fileId) override;
  void watchdog() override;
  void closeAll() override;
  void detachHost() override;

 private:
  // PeerConnectionOwner
  void peerConnected(PeerConnection& peer) override;
  void peerRead(PeerConnection& peer) override;
  void peerClosed(PeerConnection& peer) override;

  PeerSource* findSource(std::int32_t fileId);
  std::vector<std::string> requestPeers(const PeerSource& source);
  // Connects the slot to the next listed peer; false when the list or the
  // attempts are used up.
  bool connectNext(PeerConnection& peer, PeerSource& source);
  // The next peer, or else the storage server.
  void nextOrFallBack(PeerConnection& peer);
  void fallBack(PeerConnection& peer);
  void drop(PeerConnection& peer);
  // Closes and unbinds; reports abandoned peers as the rule says.
  void abandon(PeerConnection& peer);
  void reportAbandoned(PeerSource& source);
  void report(PeerSource& source, bool completed);
  std::uint32_t now() const;

  Deps deps_;
  PeerTransferHost* host_ = nullptr;
  SessionSlots peers_;
  std::array<std::unique_ptr<PeerConnection>, kTransferSlots> connections_;
  std::vector<PeerSource> sources_;
  ServerSpeedHistory history_;
};

}  // namespace pom
