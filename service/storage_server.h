// StorageServer: the download and upload data sessions of the storage host.
//
// Downloads (port 7201): DownloadRequest → DownloadAccept (size, refusal
// flag) → FileData messages of 64 KiB from the requested offset, queued as the
// send buffer drains (driven by write notifications, never the whole file at
// once) → CreditInfo with the balance after the charge. FileRefused for a
// file the member may not fetch; CreditShortage when a member without a flat
// rate runs out of credit on the way. Members without a flat rate are charged
// per byte sent (tickets.h).
//
// Download fault switches (faults.h): drop_download_after,
// corrupt_next_download, download_refuse, credit_shortage, download_file_gone,
// download_accept_size and filedata_count_mismatch. A file served under a
// hostile name is expected with the server path its ticket carried.
//
// Uploads (upload port): UploadRequest → UploadAccept (chunk size, 0 resume or
// 255 restart) → one ChunkAck per FileChunk, each appended to the body file
// and counted in the store → UploadDone once every byte is held and the
// sample digest of what is stored matches the one announced (result 2 and the
// bytes discarded when it does not). A protected file announced public ends
// as 'b'. An empty chunk, one larger than granted or than the bytes still
// missing, closes the session. UploadCancel closes it at once; what is held
// stays for a resume.
//
// Upload fault switches (faults.h): upload_accept_result, upload_chunk_size,
// upload_no_ack, upload_early_done, upload_done_result, drop_upload_after,
// and upload_ticket_sizes on the login side (a file its ticket said is held
// beyond its size is refused here). Every UploadRequest, FileChunk and UploadCancel is logged
// (request_log.h).
//
// Upload requests carry no password: they must name a login session number
// issued to the member (setSessionCheck).
//
// Bad input (garbage, wrong lengths or markers, out-of-range chunks) closes
// that session only; what the store holds stays consistent with the body file.
// Idle sessions are closed after a minute.
//
// Loop thread only; Store and Faults are shared with other threads.
#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_listener.h"
#include "platform/posix/posix_socket.h"
#include "service/faults.h"
#include "service/ports.h"
#include "service/request_log.h"
#include "service/session_list.h"
#include "service/store.h"

namespace pom {
namespace service {

class StorageSession;

class StorageServer {
 public:
  // Every DownloadRequest that decodes, and every upload request, goes to
  // requests when it is given.
  StorageServer(PollLoop& loop, Store& store, Faults& faults, const ServicePorts& ports,
                RequestLog* requests = nullptr);
  ~StorageServer();
  StorageServer(const StorageServer&) = delete;
  StorageServer& operator=(const StorageServer&) = delete;

  bool start(std::string* error);
  void stop();
  std::size_t sessionCount() const { return sessions_.size(); }

  // Upload requests carry no password, only the member id and the number of
  // the member's login session: an upload is accepted only when check(number,
  // memberId) holds. Unset: every number is accepted.
  using SessionCheck = std::function<bool(std::uint16_t, const std::string&)>;
  void setSessionCheck(SessionCheck check) { sessionCheck_ = std::move(check); }
  bool sessionValid(std::uint16_t number, const std::string& memberId) const {
    return !sessionCheck_ || sessionCheck_(number, memberId);
  }

  Store& store() { return store_; }
  Faults& faults() { return faults_; }
  RequestLog* requests() { return requests_; }
  PollLoop& loop() { return loop_; }

  // Schedules the session's destruction on a later turn of the loop.
  void discard(StorageSession* session);

 private:
  template <typename Session>
  void accept(std::unique_ptr<PosixSocket> socket);
  void tick();

  PollLoop& loop_;
  Store& store_;
  Faults& faults_;
  RequestLog* requests_;
  ServicePorts ports_;
  PosixSocketFactory sockets_;
  std::unique_ptr<PosixListener> downloads_;
  std::unique_ptr<PosixListener> uploads_;
  SessionList<StorageSession> sessions_;
  EventLoop::TimerId tickTimer_ = 0;
  SessionCheck sessionCheck_;
};

}  // namespace service
}  // namespace pom
