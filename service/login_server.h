// LoginServer: the login-server side of the protocol on every login host and
// port, for many clients at once.
//
// Each accepted connection becomes a LoginSession (login_session.h): framed,
// enciphered packets through the core's Connection, one reply per request as
// the message catalogue lays them out. The server also pushes what the
// service has to say: KeepAlive to every logged-in session now and then, and
// a ServerNotice to all of them when the "notice" switch changes. Every
// request a session decodes is appended to the RequestLog it is given.
//
// Sessions that close, fail framing or are dropped by a fault are destroyed
// on a later turn of the loop, never inside their own callbacks.
//
// Loop thread only (start/stop included); the Store and Faults it is given are
// shared with other threads and lock themselves.
#pragma once

#include <cstdint>
#include <list>
#include <map>
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

class LoginSession;

class LoginServer {
 public:
  LoginServer(PollLoop& loop, Store& store, Faults& faults, RequestLog& requests,
              const ServicePorts& ports);
  ~LoginServer();
  LoginServer(const LoginServer&) = delete;
  LoginServer& operator=(const LoginServer&) = delete;

  // Listens on every login host and port; false (nothing left listening) when
  // one cannot be bound.
  bool start(std::string* error);
  void stop();

  std::size_t sessionCount() const { return sessions_.size(); }
  // Logged-in sessions of a member (flat-rate connection limit).
  int loggedInCount(const std::string& memberId) const;
  // A fresh session number for memberId: never 0 and never 0xFFFF (the
  // client's "none"). Numbers stay valid for their member until the service
  // stops, so a transfer started before a reconnect still identifies itself.
  std::uint16_t nextSessionNumber(const std::string& memberId);
  // True when the number was issued to this member.
  bool sessionBelongsTo(std::uint16_t number, const std::string& memberId) const;

  Store& store() { return store_; }
  Faults& faults() { return faults_; }
  RequestLog& requests() { return requests_; }
  PollLoop& loop() { return loop_; }
  const ServicePorts& ports() const { return ports_; }

  // Schedules the session's destruction on a later turn of the loop.
  void discard(LoginSession* session);

 private:
  void accept(std::unique_ptr<PosixSocket> socket);
  void tick();

  PollLoop& loop_;
  Store& store_;
  Faults& faults_;
  RequestLog& requests_;
  ServicePorts ports_;
  PosixSocketFactory sockets_;
  std::vector<std::unique_ptr<PosixListener>> listeners_;
  SessionList<LoginSession> sessions_;
  EventLoop::TimerId tickTimer_ = 0;
  std::uint32_t sinceKeepAliveMs_ = 0;
  std::string lastNotice_;
  std::uint16_t lastSessionNumber_ = 0;
  std::map<std::uint16_t, std::string> issued_;
};

}  // namespace service
}  // namespace pom
