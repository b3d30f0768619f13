#include "service/login_server.h"

#include <algorithm>

#include "service/login_session.h"

namespace pom {
namespace service {

namespace {
constexpr std::uint32_t kTickMs = 100;
constexpr std::uint32_t kDefaultKeepAliveMs = 30000;
}  // namespace

LoginServer::LoginServer(PollLoop& loop, Store& store, Faults& faults, RequestLog& requests,
                         const ServicePorts& ports)
    : loop_(loop),
      store_(store),
      faults_(faults),
      requests_(requests),
      ports_(ports),
      sockets_(loop),
      sessions_(loop) {}

LoginServer::~LoginServer() {
  stop();
}

bool LoginServer::start(std::string* error) {
  for (const auto& host : ports_.loginHosts) {
    for (auto port : ports_.loginPorts) {
      auto listener = std::make_unique<PosixListener>(
          loop_, [this](std::unique_ptr<PosixSocket> socket) { accept(std::move(socket)); });
      if (!listener->listen(host, port)) {
        if (error) *error = "login server cannot listen on " + host + ":" + std::to_string(port);
        stop();
        return false;
      }
      listeners_.push_back(std::move(listener));
    }
  }
  lastNotice_ = faults_.peek("notice").value_or("");
  tickTimer_ = loop_.startTimer(kTickMs, [this] { tick(); });
  return true;
}

void LoginServer::stop() {
  if (tickTimer_) loop_.stopTimer(tickTimer_);
  tickTimer_ = 0;
  listeners_.clear();
  sessions_.clear();
}

int LoginServer::loggedInCount(const std::string& memberId) const {
  return static_cast<int>(std::count_if(sessions_.begin(), sessions_.end(), [&](const auto& s) {
    return s->loggedIn() && s->memberId() == memberId && s->isOpen();
  }));
}

std::uint16_t LoginServer::nextSessionNumber(const std::string& memberId) {
  do {
    ++lastSessionNumber_;
  } while (lastSessionNumber_ == 0 || lastSessionNumber_ == 0xFFFF);
  issued_[lastSessionNumber_] = memberId;
  return lastSessionNumber_;
}

bool LoginServer::sessionBelongsTo(std::uint16_t number, const std::string& memberId) const {
  auto it = issued_.find(number);
  return it != issued_.end() && it->second == memberId;
}

void LoginServer::accept(std::unique_ptr<PosixSocket> socket) {
  LoginSession* session = sessions_.add(std::make_unique<LoginSession>(*this, sockets_));
  if (!session->start(std::move(socket))) discard(session);
}

void LoginServer::discard(LoginSession* session) {
  sessions_.discard(session);
}

void LoginServer::tick() {
  // Sessions whose socket was closed by the framing check get no close
  // notification: collect them here.
  for (const auto& session : sessions_) {
    if (!session->isOpen()) discard(session.get());
  }

  // Every live connection dropped at once (linger 0: the clients see a
  // reset), as when the server restarts.
  if (faults_.consume("drop_logins")) {
    for (const auto& session : sessions_) {
      session->reset();
      discard(session.get());
    }
  }

  std::string notice = faults_.peek("notice").value_or("");
  if (notice != lastNotice_) {
    lastNotice_ = notice;
    if (!notice.empty()) {
      for (const auto& session : sessions_) {
        if (session->loggedIn() && session->isOpen()) session->sendNotice(notice);
      }
    }
  }

  auto interval = faults_.peekInt("keepalive_ms").value_or(kDefaultKeepAliveMs);
  sinceKeepAliveMs_ += kTickMs;
  if (interval > 0 && sinceKeepAliveMs_ >= interval) {
    sinceKeepAliveMs_ = 0;
    for (const auto& session : sessions_) {
      if (session->loggedIn() && session->isOpen()) session->sendKeepAlive();
    }
  }
}

}  // namespace service
}  // namespace pom
