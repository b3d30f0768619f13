// UploadEngine: one upload slot's session with a storage server, the
// handler of that slot's upload session.
//
// The window binds the slot when it asks for a job's ticket and connects it
// with the ticket's host and port. On connect the engine opens the job's
// file, announces it (UploadRequest with the sample digest and the sharing
// letter), sends one FileChunk per ChunkAck after the 15 ms pause (a timer,
// never a sleep), and ends the session on UploadDone, a refusal, a failed
// read or a drop. Only the job bound to this slot is ever changed; the
// service's result decides between "완료" and "실패".
//
// Chunks are read from the file straight into the session's send buffer;
// at most one unacknowledged chunk is in flight. Owned by the upload
// window; the session is one of the module's three and outlives the
// engine's binding (detach clears it). Loop thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/net/connection.h"
#include "core/ports/event_loop.h"
#include "core/transfer/upload_job.h"

namespace pom {

class FileSystem;
class OpenFile;
class SessionLink;

// Chunk sizes the engine accepts: a larger chunk does not fit the send
// buffer of 1,050,624 bytes with its framing.
inline constexpr std::int32_t kMaxUploadChunk = 1050603;
inline constexpr std::uint32_t kChunkPauseMs = 15;
// After UploadCancel the service is given this long to close the session
// before the engine closes it itself.
inline constexpr std::uint32_t kCancelGraceMs = 500;

class UploadEngineHost {
 public:
  virtual ~UploadEngineHost() = default;
  // Index of the job bound to slot (any state, ticket pending included);
  // -1 when none.
  virtual int jobOnSlot(int slot) = 0;
  virtual UploadJob& job(int index) = 0;
  virtual SessionLink& session() = 0;
  virtual FileSystem& files() = 0;
  virtual EventLoop& loop() = 0;
  virtual std::uint32_t now() = 0;
  // The sharing letter for the file ('t', 'f', 'c', or 'b' for restricted
  // types).
  virtual char sharingLetterFor(const std::string& localPath) = 0;
  // The job's row changed (state, texts).
  virtual void jobChanged(int index) = 0;
  // The service confirmed the whole file (still the job's state before the
  // reset): final speed update with 1,000 ms, the totals, the row scrolled
  // to. The engine resets the job to state 3 afterwards.
  virtual void jobCompleted(int index) = 0;
  // The job failed (already reset to state 4, failure set).
  virtual void jobFailed(int index) = 0;
  // The slot's session is free again: the queue may start the next job.
  virtual void slotFreed(int slot) = 0;
};

class UploadEngine final : public ConnectionHandler {
 public:
  UploadEngine(int slot, Connection& session, UploadEngineHost& host);
  ~UploadEngine() override;
  UploadEngine(const UploadEngine&) = delete;
  UploadEngine& operator=(const UploadEngine&) = delete;

  int slot() const { return slot_; }
  // The slot is free: the session is neither connected (nor closing after a
  // cancel) nor bound to a job.
  bool idle() const;
  bool bound() const { return bound_; }
  bool fileOpen() const { return file_ != nullptr; }

  // The window asked for a ticket for the job on this slot.
  void bind();
  // Starts the session to host:port for the job on this slot (state 6);
  // false when not even the attempt could start (the session is then
  // unbound; the caller shows the message and fails the job).
  bool connect(const std::string& host, std::uint16_t port);
  // Stop, cancel, a lower limit, the window closed: when the session is
  // connected it is unbound and UploadCancel is sent, and the session is
  // closed after kCancelGraceMs unless the service closed it first. The job
  // itself is left to the caller.
  void stop();
  // Unbinds without sending anything (a ticket refused or not needed).
  void release();
  // The program ends: no more notifications, nothing is sent.
  void detach();

  // ConnectionHandler
  void onRead(Connection& connection) override;
  void onConnect(Connection& connection) override;
  void onClose(Connection& connection) override;

 private:
  void onWrite(Connection& connection) override;
  void onAccept(const std::uint8_t* body, std::size_t length);
  void onChunkAck();
  void onDone(const std::uint8_t* body, std::size_t length);
  // The job bound to this slot, -1 when none (or the engine is unbound).
  int boundJob();
  void sendRequest(int index);
  // Reads the next chunk of the job on this slot into the send buffer.
  void sendChunk();
  // Resets the job to state 4 with the reason, closes its file, tells the host.
  void failJob(int index, const std::string& reason);
  // Closes the session at once, unbinds, and frees the slot.
  void endSession();
  // Sends UploadCancel, unbinds, and closes the session after the grace;
  // freeSlot: tell slotFreed once the socket is closed.
  void cancelSession(bool freeSlot);
  void closeAfterGrace();
  void stopTimers();

  const int slot_;
  Connection* session_;
  UploadEngineHost& host_;
  std::unique_ptr<OpenFile> file_;
  bool bound_ = false;
  // The session reported its connect (UploadCancel then has a reader).
  bool connected_ = false;
  // A chunk went out and its ChunkAck has not come yet.
  bool chunkOutstanding_ = false;
  // A chunk found no room in the send buffer; it goes with the next write.
  bool chunkWaitsForRoom_ = false;
  // The slot is freed when the cancelled session has closed.
  bool freeAfterClose_ = false;
  EventLoop::TimerId chunkTimer_{};
  EventLoop::TimerId graceTimer_{};
};

}  // namespace pom
