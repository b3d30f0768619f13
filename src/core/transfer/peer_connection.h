// PeerConnection: one slot's connection to a peer, the handler of that
// slot's peer connection (raw reads, message number 1064 + slot).
//
// It keeps the binding to a file (slot, fileId), the position in the file's
// peer list and the watchdog's counters, and hands every event to its owner,
// the PeerManager, which holds the rules. The byte count is the
// connection's own, so each peer's speed is measured on what that peer sent.
// Owned by the PeerManager; the Connection outlives it. Loop thread only.
#pragma once

#include <cstdint>

#include "core/net/connection.h"

namespace pom {

class PeerConnection;

class PeerConnectionOwner {
 public:
  virtual ~PeerConnectionOwner() = default;
  virtual void peerConnected(PeerConnection& peer) = 0;
  virtual void peerRead(PeerConnection& peer) = 0;
  virtual void peerClosed(PeerConnection& peer) = 0;
};

class PeerConnection final : public ConnectionHandler {
 public:
  PeerConnection(int index, Connection& connection, PeerConnectionOwner& owner);
  ~PeerConnection() override;
  PeerConnection(const PeerConnection&) = delete;
  PeerConnection& operator=(const PeerConnection&) = delete;

  // The slot this connection belongs to (fixed), whether bound or not.
  int index() const { return index_; }
  bool bound() const { return slot >= 0; }
  Connection& connection() { return connection_; }

  // Binds to a file for a new peer: the counters start from now; dropped
  // and connected are cleared. Each binding is a new run.
  void bind(std::int32_t file, std::uint32_t now);
  // Back to unbound; the list position and attempts stay for the file.
  void unbind();

  // ConnectionHandler
  void onRead(Connection& connection) override;
  void onConnect(Connection& connection) override;
  void onClose(Connection& connection) override;

  int slot = -1;  // -1: unbound
  std::int32_t fileId = 0;
  int nextPeer = 0;
  int attempts = 0;
  std::uint32_t lastDataTick = 0;
  std::uint32_t connectTick = 0;
  bool connected = false;
  bool dropped = false;
  int slowCount = 0;
  std::uint32_t lastCheckTick = 0;
  // Bytes this peer sent in this run, at the last watchdog check, and the
  // smoothed KB per check.
  std::int64_t bytes = 0;
  std::int64_t bytesAtCheck = 0;
  std::int64_t smoothedKB = 0;
  // Grows with every binding and unbinding: a caller that wrote bytes can
  // tell whether the run it served is still the same afterwards.
  std::uint32_t run = 0;

 private:
  const int index_;
  Connection& connection_;
  PeerConnectionOwner& owner_;
};

}  // namespace pom
