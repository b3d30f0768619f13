// The two kinds of storage-server session (see storage_server.h for the
// conversations). Both are Connections over a FaultSocket, owned by the
// StorageServer and destroyed on a later turn after they close.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/net/connection.h"
#include "core/net/messages/messages.h"
#include "service/fault_socket.h"
#include "service/store.h"

namespace pom {
namespace service {

class StorageServer;

class StorageSession : public Connection, private ConnectionHandler {
 public:
  StorageSession(StorageServer& server, SocketFactory& sockets, const ConnectionKind& kind);
  ~StorageSession() override;
  virtual bool start(std::unique_ptr<TcpSocket> socket);

  // Milliseconds since the last traffic.
  std::int64_t idleMs() const;
  // Closes at once and hands the session back to the server.
  void finish();

 protected:
  virtual void handle(const std::uint8_t* body, std::size_t length) = 0;
  // Called after every flush (more data may be queued).
  virtual void afterFlush() {}
  // Called once when the session ends for whatever reason.
  virtual void ended() {}
  void touch() { lastActivity_ = std::chrono::steady_clock::now(); }
  // Closes once everything queued has left.
  void closeAfterFlush();
  void send(const Bytes& body) { queue(body.data(), body.size()); }

  StorageServer& server_;
  FaultSocket* faultSocket_ = nullptr;
  int bodyFd_ = -1;

 private:
  void onRead(Connection&) override;
  void onWrite(Connection&) override;
  void onClose(Connection&) override;

  std::chrono::steady_clock::time_point lastActivity_ = std::chrono::steady_clock::now();
  bool closing_ = false;
  bool finished_ = false;
};

class DownloadServerSession : public StorageSession {
 public:
  static constexpr std::uint32_t kMessageNumber = 2054;
  static constexpr std::uint32_t kChunk = 1048576;
  DownloadServerSession(StorageServer& server, SocketFactory& sockets);
  ~DownloadServerSession() override;
  bool start(std::unique_ptr<TcpSocket> socket) override;

 protected:
  void handle(const std::uint8_t* body, std::size_t length) override;
  void afterFlush() override { pump(); }
  void ended() override;

 private:
  void onRequest(const DownloadRequest& request);
  void refuse(const DownloadRequest& request, bool withFlag);
  void pump();
  void complete();
  void charge();

  bool started_ = false;
  bool pumping_ = false;
  bool pumpPosted_ = false;
  bool done_ = false;
  Member member_;
  std::int32_t fileId_ = 0;
  std::int64_t position_ = 0;
  std::int64_t end_ = 0;
  std::int64_t sent_ = 0;        // data bytes queued
  std::int64_t charged_ = 0;     // data bytes already charged
  std::int64_t allowance_ = -1;  // data bytes the credit covers; -1 unlimited
  std::optional<std::string> shortageFault_;
  std::optional<long long> countMismatch_;  // added to the first FileData's count
  // download_rate: data bytes per second (0: as fast as the socket takes
  // them), counted from the acceptance.
  long long rate_ = 0;
  std::chrono::steady_clock::time_point rateStart_;
  std::int64_t rateSent_ = 0;
  EventLoop::TimerId rateTimer_ = 0;  // the wait for more allowance
  std::vector<std::uint8_t> chunk_;
};

// Receives one file in acknowledged chunks. The chunk size it grants is fixed
// when the client connects (upload_chunk_size, else kDefaultChunkSize), and
// its receive buffer is sized to take a chunk of that size whole.
class UploadServerSession : public StorageSession {
 public:
  static constexpr std::uint32_t kMessageNumber = 2044;
  // One chunk with its framing fits the client's send buffer of 1,050,624
  // bytes.
  static constexpr std::int32_t kDefaultChunkSize = 1048576;
  // Grants above this are only for provoking a client's check; the session
  // still takes no chunk larger than this (bigger packets break the framing
  // check and close it).
  static constexpr std::int32_t kMaxBufferedChunk = 4 << 20;
  UploadServerSession(StorageServer& server, SocketFactory& sockets);

 protected:
  void handle(const std::uint8_t* body, std::size_t length) override;

 private:
  UploadServerSession(StorageServer& server, SocketFactory& sockets, std::int32_t chunkSize);
  void onRequest(const UploadRequest& request);
  void onChunk(const std::uint8_t* data, std::size_t size);
  void acknowledge();
  void complete();
  // UploadDone for the file with this result byte; no chunk is taken after it.
  void sendDone(long long result);
  // True when the client has sent bytes this session has not read yet.
  bool moreWaiting() const;

  const std::int32_t chunkSize_;
  bool accepted_ = false;
  Item file_;
  std::string memberId_;       // of the accepted UploadRequest
  std::string digest_;         // announced sample digest (hex)
  std::int64_t received_ = 0;  // data bytes received in this session
  std::optional<long long> dropAfter_;
  bool noAck_ = false;      // upload_no_ack
  bool earlyDone_ = false;  // upload_early_done
  // The client may send one chunk: set by the acceptance and by each
  // ChunkAck, cleared by every chunk. A chunk without it came before the
  // service acknowledged the previous one.
  bool chunkAllowed_ = false;
  // Bytes had already arrived when the last ChunkAck left: the next chunk, if
  // that is what they are, was sent before the acknowledgement.
  bool nextIsEarly_ = false;
};

}  // namespace service
}  // namespace pom
