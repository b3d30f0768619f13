// Peers: stand-ins for members' computers that hold copies of files.
//
// Each peer host listens on the peer port. A client sends one framed packet
// (start marker 0xFFFFFFFF, uint32 total length = body + 12, body, end marker
// 0xFEFEFEFE, little-endian) whose body is the text
// "|header|<unique code>|<total size>|<offset>|||"; the peer answers with the
// raw bytes of the file from offset to its end and closes. A peer serves every
// complete file of the store; which peers a client is offered is the peer
// list's business (web_search.h).
//
// Anything else is closed without an answer: a bad marker, a length outside
// 12..kMaxPeerHeader+12, a header that does not parse, an unknown code, a size
// that differs from the file's, an offset below 0 or past the end. A client
// that sends no header within the header timeout is dropped. An offset equal
// to the size gets an empty answer.
//
// Fault switches, each used once per connection they apply to, for every
// peer or one peer only (faults.h): "peer_stall" (non-zero: read the header
// and send nothing until the client leaves), "peer_rate" N (send at most N
// bytes per second), "peer_corrupt" N (answer bytes from the N-th on are
// inverted), "peer_close_after" N (close after N bytes of the answer).
//
// Every header that arrives whole in its frame is logged to the request log
// when one is given (parsed, or as malformed).
//
// With hangingHost set, that address listens on the peer port with a backlog
// kept full: a connect to it hangs (SYNs go unanswered) until the client gives
// up. Nothing is ever accepted there.
//
// Threads: one accept thread, one thread per connection (at most
// maxConnections; more are closed at once). stop() (also the destructor)
// closes everything and joins all threads within a fraction of a second.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "service/faults.h"
#include "service/ports.h"
#include "service/store.h"

namespace pom {
namespace service {

class RequestLog;

inline constexpr std::size_t kMaxPeerHeader = 1024;

struct PeerServerConfig {
  std::vector<std::string> hosts;
  std::uint16_t port = 4881;  // 0: a free port per host
  int headerTimeoutMs = 10000;
  int sendTimeoutMs = 10000;  // a client that takes nothing for this long is dropped
  int maxConnections = 32;
  std::string hangingHost;         // empty: none
  RequestLog* requests = nullptr;  // peer headers are logged here when set

  // The peer hosts, the peer port and the hanging host of the ports.
  static PeerServerConfig fromPorts(const ServicePorts& ports);
};

struct PeerRequest {
  std::string uniqueCode;
  std::int64_t totalSize = 0;
  std::int64_t offset = 0;
};

// Parses the header text; nullopt for anything but "|header|code|n|n|||"
// with two decimal numbers.
std::optional<PeerRequest> parsePeerHeader(const std::string& text);

// The framed packet a client sends (for tests and tools).
std::string framePeerHeader(const std::string& text);

class PeerServer {
 public:
  ~PeerServer();
  PeerServer(const PeerServer&) = delete;
  PeerServer& operator=(const PeerServer&) = delete;

  void stop();
  // Bound port of each host, in the order of the configuration.
  const std::vector<std::uint16_t>& ports() const { return ports_; }
  // Port of the hanging listener (0 when there is none).
  std::uint16_t hangingPort() const { return hangingPort_; }

 private:
  friend std::unique_ptr<PeerServer> startPeerServer(const PeerServerConfig&, Store&, Faults&,
                                                     std::string*);
  struct Connection {
    int fd = -1;
    std::thread thread;
    std::atomic<bool> done{false};
    int peer = 0;  // index of the host in the configuration
  };

  PeerServer(const PeerServerConfig& config, Store& store, Faults& faults);
  void acceptLoop();
  void serve(Connection& connection);
  void reapFinished();
  bool startHanging(const std::string& host, std::string* error);

  PeerServerConfig config_;
  Store& store_;
  Faults& faults_;
  std::vector<int> listeners_;
  std::vector<std::uint16_t> ports_;
  int hangingListener_ = -1;
  int hangingFiller_ = -1;
  std::uint16_t hangingPort_ = 0;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::atomic<bool> stopping_{false};
  std::thread acceptThread_;
  std::mutex mutex_;  // guards connections_
  std::list<Connection> connections_;
};

// nullptr (with a reason) when a host cannot be bound.
std::unique_ptr<PeerServer> startPeerServer(const PeerServerConfig& config, Store& store,
                                            Faults& faults, std::string* error = nullptr);

}  // namespace service
}  // namespace pom
