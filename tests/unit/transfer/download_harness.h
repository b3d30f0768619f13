// The download window's presenter on fakes: the real queue, engines and
// sessions over fake sockets, the memory file system, a manual loop and a
// recording view; the login server is a recording session link.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/config_keys.h"
#include "core/base/servers.h"
#include "core/net/messages/messages.h"
#include "core/net/messages/peer_header.h"
#include "core/net/packet_frame.h"
#include "core/transfer/download_window.h"
#include "core/transfer/peer_list.h"
#include "core/transfer/peer_manager.h"
#include "core/transfer/session_slots.h"
#include "support/fake_app.h"
#include "support/fake_links.h"
#include "support/fake_transfer_views.h"

namespace pom::test {

inline constexpr char kFolder[] = "c:\\down";
// The file unique code every test ticket carries.
inline constexpr char kPeerCode[] = "0123456789abcdefABCDEF0123456789";

// Peer sources that record what the engine tells them.
class RecordingPeers : public PeerSources {
 public:
  std::vector<std::int32_t> tickets, dropped;
  std::vector<double> samples;
  int watchdogs = 0, closeAlls = 0;
  bool startForTicket(const DownloadTicket& t, const TransferJob&) override {
    tickets.push_back(t.fileId);
    return false;
  }
  void speedSample(std::int32_t, double mbps) override { samples.push_back(mbps); }
  bool closeSlot(int, std::int32_t) override { return false; }
  void dropSource(std::int32_t fileId) override { dropped.push_back(fileId); }
  void watchdog() override { ++watchdogs; }
  void closeAll() override { ++closeAlls; }
};

inline Bytes framed(const Bytes& body) {
  Bytes out;
  const auto put = [&out](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  put(kPacketStartMarker);
  put(static_cast<std::uint32_t>(body.size() + kPacketOverhead));
  out.insert(out.end(), body.begin(), body.end());
  put(kPacketEndMarker);
  return out;
}

class DownloadHarness {
 public:
  explicit DownloadHarness(bool withView = true) {
    fake.files.addFolder(kFolder);
    session.member.memberId = "demo1";
    session.member.sessionNumber = 77;
    session.kept = "pw";
    main.folder = kFolder;
    DownloadWindow::Deps deps;
    deps.loop = &fake.loop;
    deps.clock = &fake.loop;
    deps.files = &fake.files;
    deps.dialogs = &fake.dialogs;
    deps.shell = &fake.shell;
    deps.registry = &fake.registry;
    deps.config = &config;
    deps.servers = &servers;
    deps.session = &session;
    deps.mainWindow = &main;
    deps.local = &local;
    deps.sessions = &sessions;
    deps.pool = &pool;
    deps.peers = &peers;
    window = std::make_unique<DownloadWindow>(std::move(deps));
    if (withView) window->attachView(&view);
  }

  // Opens the window and queues files; then starts the queue.
  void add(std::int32_t id, const std::string& name, std::int64_t size,
           const std::string& sub = "") {
    window->open();
    window->add(id, name, size, sub);
  }
  // One start-timer tick (and what falls due with it).
  void tick() { fake.loop.advance(kStartTimerMs); }
  void ticket(std::int32_t id, DownloadTicket::Result result = DownloadTicket::Result::Go) {
    DownloadTicket t;
    t.fileId = id;
    t.serverPath = "/srv/" + std::to_string(id);
    t.storagePathHead = "/st";
    t.storagePathTail = "ore";
    t.storageHost = "127.0.0.5";
    t.flatRate = 2;
    t.uniqueCode = kPeerCode;
    t.result = result;
    window->onTicket(t);
  }
  FakeSocket& socket(int slot) { return static_cast<FakeSocket&>(sessions[slot].socket()); }
  // The storage server's side of slot: the connection is up / a message.
  void connected(int slot) { socket(slot).deliver(SocketEvent::Connect); }
  void serve(int slot, const Bytes& body) {
    socket(slot).scriptReceive(framed(body));
    socket(slot).deliver(SocketEvent::Read);
  }
  void accept(int slot, std::int32_t id, std::int64_t size, std::uint8_t refused = 0) {
    DownloadAccept a;
    a.fileId = id;
    a.fileSize = size;
    a.refused = refused;
    serve(slot, a.encode());
  }
  void data(int slot, const std::string& bytes) {
    FileData d;
    d.data.assign(bytes.begin(), bytes.end());
    serve(slot, d.encode());
  }
  // Ticket, connection and acceptance of the job now requesting on slot.
  void begin(int slot, std::int32_t id, std::int64_t size) {
    ticket(id);
    connected(slot);
    accept(slot, id, size);
  }

  // Requests of type M sent to the login server, in order.
  template <typename M>
  std::vector<M> sent() const {
    std::vector<M> found;
    for (const Bytes& body : session.sent) {
      if (auto decoded = M::decode(body.data(), body.size())) found.push_back(*decoded);
    }
    return found;
  }
  int transferEnds() const { return static_cast<int>(sent<TransferEnded>().size()); }
  const TransferJob& job(int index) const {
    return window->jobs()[static_cast<std::size_t>(index)];
  }
  std::string file(const std::string& name) const {
    return fake.files.contents(std::string(kFolder) + "\\" + name);
  }

  FakePorts fake;
  ConfigStore config{fake.profile, fake.registry, "c:\\work"};
  Servers servers{fake.profile};
  FakeSessionLink session;
  FakeMainWindowLink main;
  FakeLocalBrowserLink local;
  SessionSlots sessions{fake.sockets, kDownloadSessionKind, nullptr, FanOutSlot::DownloadSessions,
                        "DownloadSession"};
  TransferSlotPool pool;
  RecordingPeers peers;
  FakeTransferWindowView view;
  std::unique_ptr<DownloadWindow> window;
};

// The download window with the real peer manager attached, as the peer
// module wires it; the peer list is the fake HTTP client, peers are fake
// sockets. Registry speeds ("Pv_dl<n>") may be set before the manager loads.
class PeerHarness : public DownloadHarness {
 public:
  explicit PeerHarness(const std::vector<std::string>& speeds = {}) {
    for (std::size_t n = 0; n < speeds.size(); ++n) {
      config.setPvDownloadSpeed(static_cast<int>(n + 1), speeds[n]);
    }
    PeerManager::Deps deps;
    deps.sockets = &fake.sockets;
    deps.clock = &fake.loop;
    deps.random = &fake.random;
    deps.http = &fake.http;
    deps.servers = &servers;
    deps.config = &config;
    deps.session = &session;
    manager = std::make_unique<PeerManager>(deps);
    manager->setHost(window.get());
    window->setPeers(*manager);
  }
  ~PeerHarness() {
    window->setPeers(peers);
    manager->detachHost();
  }

  // The peer list's reply for a file of size.
  void listPeers(std::int64_t size, const std::string& body, int status = 200) {
    fake.http.reply("127.0.0.1", peerListPath(kPeerCode, size), body, status);
  }
  // A job of size queued and waiting for its ticket on slot 0.
  void queued(std::int32_t id, const std::string& name, std::int64_t size) {
    add(id, name, size);
    window->start();
    tick();
  }
  FakeSocket& peerSocket(int slot) {
    return static_cast<FakeSocket&>(manager->connection(slot).socket());
  }
  // The peer on slot: connected, sends bytes, closes.
  void peerUp(int slot) { peerSocket(slot).deliver(SocketEvent::Connect); }
  void peerSends(int slot, const std::string& bytes) {
    // One read takes at most the receive buffer: notify until all is read.
    peerSocket(slot).scriptReceive(bytes);
    for (int i = 0; i < 1000 && peerSocket(slot).pendingReceiveBytes() > 0; ++i) {
      peerSocket(slot).deliver(SocketEvent::Read);
    }
  }
  void peerCloses(int slot) { peerSocket(slot).deliver(SocketEvent::Close); }
  // The header the client sent the current peer of slot.
  std::optional<PeerHeader> header(int slot) {
    const Bytes& sent = peerSocket(slot).sent();
    if (sent.size() < kPacketOverhead) return std::nullopt;
    return PeerHeader::decode(sent.data() + 8, sent.size() - kPacketOverhead);
  }

  std::unique_ptr<PeerManager> manager;
};

}  // namespace pom::test
