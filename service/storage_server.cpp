#include "service/storage_server.h"

#include <algorithm>

#include "service/storage_sessions.h"

namespace pom {
namespace service {

namespace {
constexpr std::uint32_t kTickMs = 1000;
constexpr std::int64_t kIdleLimitMs = 60000;
}  // namespace

StorageServer::StorageServer(PollLoop& loop, Store& store, Faults& faults,
                             const ServicePorts& ports, RequestLog* requests)
    : loop_(loop),
      store_(store),
      faults_(faults),
      requests_(requests),
      ports_(ports),
      sockets_(loop),
      sessions_(loop) {}

StorageServer::~StorageServer() {
  stop();
}

bool StorageServer::start(std::string* error) {
  downloads_ = std::make_unique<PosixListener>(loop_, [this](std::unique_ptr<PosixSocket> s) {
    accept<DownloadServerSession>(std::move(s));
  });
  uploads_ = std::make_unique<PosixListener>(
      loop_, [this](std::unique_ptr<PosixSocket> s) { accept<UploadServerSession>(std::move(s)); });
  if (!downloads_->listen(ports_.storageHost, ports_.downloadPort) ||
      !uploads_->listen(ports_.storageHost, ports_.uploadPort)) {
    if (error)
      *error = "storage server cannot listen on " + ports_.storageHost + ":" +
               std::to_string(ports_.downloadPort) + "/" + std::to_string(ports_.uploadPort);
    stop();
    return false;
  }
  tickTimer_ = loop_.startTimer(kTickMs, [this] { tick(); });
  return true;
}

void StorageServer::stop() {
  if (tickTimer_) loop_.stopTimer(tickTimer_);
  tickTimer_ = 0;
  downloads_.reset();
  uploads_.reset();
  sessions_.clear();
}

template <typename Session>
void StorageServer::accept(std::unique_ptr<PosixSocket> socket) {
  StorageSession* session = sessions_.add(std::make_unique<Session>(*this, sockets_));
  if (!session->start(std::move(socket))) session->finish();
}

void StorageServer::discard(StorageSession* session) {
  sessions_.discard(session);
}

void StorageServer::tick() {
  for (const auto& session : sessions_) {
    // Closed by the framing check (no close notification), or idle too long.
    if (!session->isOpen() || session->idleMs() > kIdleLimitMs) session->finish();
  }
}

}  // namespace service
}  // namespace pom
