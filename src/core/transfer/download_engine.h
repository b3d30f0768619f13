// DownloadEngine: the storage-server side of one transfer slot, the handler
// of that slot's download session.
//
// Bound to a job by the ticket (connect), it opens the job's local file when
// the connection is up, asks for the file from the bytes on disk, writes the
// data it receives (writeBytes, the one write path that the peer sources
// use as well) and ends the transfer on completion, refusal, credit notices
// or a drop. Each opened transfer sends TransferEnded exactly once, after
// its connection closed, through the host's short pause.
//
// What happens to the job afterwards (state, slot, row) goes through the
// queue and the host. Owned by the download window; the session is one of
// the module's three and outlives the engine's binding (detach clears it).
// Loop thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/net/connection.h"
#include "core/transfer/peer_sources.h"

namespace pom {

class Dialogs;
class DownloadQueue;
class FileSystem;
class OpenFile;
class SessionLink;

class DownloadEngineHost {
 public:
  virtual ~DownloadEngineHost() = default;
  virtual DownloadQueue& queue() = 0;
  virtual SessionLink& session() = 0;
  virtual Dialogs& dialogs() = 0;
  virtual FileSystem& files() = 0;
  virtual std::uint32_t now() = 0;
  // The job's row changed.
  virtual void jobChanged(int index) = 0;
  // The job at index received its last byte (still state 7): final speed
  // update, the row scrolled to, the local folder view refreshed.
  virtual void jobCompleted(int index) = 0;
  // An opened transfer is over: TransferEnded goes out after the pause.
  virtual void transferEnded() = 0;
  // The data connection of the job at index dropped (state 6 or 7).
  virtual void connectionDropped(int index) = 0;
  // The job at index could not go on and waits for the member (state 1).
  virtual void holdJob(int index) = 0;
  // Every transfer stops (credit exhausted, disk error).
  virtual void stopAll() = 0;
};

class DownloadEngine final : public ConnectionHandler {
 public:
  DownloadEngine(int slot, Connection& session, DownloadEngineHost& host);
  ~DownloadEngine() override;
  DownloadEngine(const DownloadEngine&) = delete;
  DownloadEngine& operator=(const DownloadEngine&) = delete;

  int slot() const { return slot_; }
  // A transfer was opened and its TransferEnded is still owed.
  bool transferOpen() const { return open_; }
  bool fileOpen() const { return file_ != nullptr; }

  // Starts the data connection to host:port for the job on this slot; false
  // when not even the attempt could start.
  bool connect(const std::string& host, std::uint16_t port);
  // The storage server the last ticket named (the peers' fall-back).
  bool reconnect() { return connect(server_, port_); }

  // Opens the local file of the job on this slot (state 6) and makes it
  // state 7; false when it cannot be opened (the transfer is then ended, the
  // job held and the disk-error message shown).
  bool openJobFile();
  // Writes received bytes into the job's file, at most what the file still
  // lacks, and completes or fails the job as they say.
  WriteOutcome writeBytes(const std::uint8_t* data, std::size_t size);

  // Stop, cancel, a lower limit, the window closed: the connection closes
  // and the transfer ends; the job itself is left to the caller.
  void abort();
  // The program ends: no more notifications, nothing is sent.
  void detach();

  // ConnectionHandler
  void onRead(Connection& connection) override;
  void onConnect(Connection& connection) override;
  void onClose(Connection& connection) override;

 private:
  void onAccept(const std::uint8_t* body, std::size_t length);
  void onFileData(const std::uint8_t* body, std::size_t length);
  void onCreditInfo(const std::uint8_t* body, std::size_t length);
  void onCreditShortage(const std::uint8_t* body, std::size_t length);
  void sendRequest(int index);
  // Closes the connection and the file and ends the transfer; the job on
  // the slot becomes state 4 when refused is set.
  void endSession(bool refused);
  void endTransfer();
  int jobIndex() const;

  const int slot_;
  Connection* session_;
  DownloadEngineHost& host_;
  std::unique_ptr<OpenFile> file_;
  bool open_ = false;
  std::string server_;
  std::uint16_t port_ = 0;
};

}  // namespace pom
