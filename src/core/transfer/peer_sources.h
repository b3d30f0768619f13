// PeerSources: what the download engine asks of the peer sources, and
// PeerTransferHost: what the peer sources may do with a slot's job.
//
// A granted ticket first goes to startForTicket; when it answers false the
// storage server serves the file. A peer connection writes what it receives
// through writeBytes, the same path as the storage server's data (capped at
// the file's size, with the same completion and disk-error handling), and
// hands the job back with fallBackToServer, which resumes at the bytes on
// disk. Loop thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/net/messages/replies.h"
#include "core/transfer/transfer_job.h"

namespace pom {

class PeerSources {
 public:
  virtual ~PeerSources() = default;
  // A granted ticket for job: true when peers took the file.
  virtual bool startForTicket(const DownloadTicket& ticket, const TransferJob& job) = 0;
  // A measured storage-server speed of a file, in Mbps.
  virtual void speedSample(std::int32_t fileId, double mbps) = 0;
  // Closes the slot's peer connection when one is open; true when it was.
  virtual bool closeSlot(int slot, std::int32_t fileId) = 0;
  // Forgets the file's peer-source record.
  virtual void dropSource(std::int32_t fileId) = 0;
  // The download window's 500 ms check of stalled and slow peers.
  virtual void watchdog() = 0;
  // The download window is destroyed: every peer connection closes and
  // every record goes.
  virtual void closeAll() = 0;
  // The transfer host is about to go (the program ends): connections close
  // without a word to anyone and the host is never called again.
  virtual void detachHost() {}
};

// The present peer sources: every file is served by the storage server.
class StorageServerOnly final : public PeerSources {
 public:
  bool startForTicket(const DownloadTicket&, const TransferJob&) override { return false; }
  void speedSample(std::int32_t, double) override {}
  bool closeSlot(int, std::int32_t) override { return false; }
  void dropSource(std::int32_t) override {}
  void watchdog() override {}
  void closeAll() override {}
};

// The result of writing received bytes into a job's file.
enum class WriteOutcome {
  NoJob,      // no job transfers on the slot (bytes dropped)
  More,       // written, more to come
  Complete,   // the last byte is there; the transfer has been ended
  DiskError,  // the disk refused; every transfer has been stopped
};

class PeerTransferHost {
 public:
  virtual ~PeerTransferHost() = default;
  // Opens (creating or resuming) the local file of the job on slot and makes
  // it state 7; false when it cannot be opened (the job has been stopped).
  virtual bool openJobFile(int slot) = 0;
  virtual WriteOutcome writeBytes(int slot, const std::uint8_t* data, std::size_t size) = 0;
  // The storage server (the ticket's host) takes the job on slot over from
  // its received bytes.
  virtual void fallBackToServer(int slot, const std::string& storageHost) = 0;
  // The bytes on disk of the job on slot; -1 when no job holds the slot.
  virtual std::int64_t jobReceived(int slot) = 0;
  // Another peer takes over: the job's file closes and the job waits for a
  // connection again (state 6); the next openJobFile resumes at received.
  virtual void releaseJobFile(int slot) = 0;
};

// What the download module offers the peer module: the peer manager, made
// after the download window, replaces the storage-server-only sources
// (attach) and gives them back (null) before it goes. Answers the host the
// peer connections write through, null when there is no window.
class PeerSeamLink {
 public:
  static constexpr char kLinkName[] = "PeerSeamLink";
  virtual ~PeerSeamLink() = default;
  virtual PeerTransferHost* attachPeers(PeerSources* peers) = 0;
};

}  // namespace pom
