// SessionLink: what the session module (login window, login-server session,
// member record) offers the other modules.
#pragma once

#include <functional>
#include <string>

#include "core/hub/session_state.h"
#include "core/net/messages/requests.h"

namespace pom {

class SessionLink {
 public:
  static constexpr char kLinkName[] = "SessionLink";
  virtual ~SessionLink() = default;

  // The member record of the current login.
  virtual SessionState& state() = 0;
  // The login was accepted once in this run (never cleared).
  virtual bool loggedIn() const = 0;
  // The password kept from the login window, and the web token made from it.
  virtual const std::string& password() const = 0;
  virtual std::string webToken() const = 0;
  // Sends a request body to the login server, reconnecting first when the
  // connection is down; false when the send buffer cannot take it.
  virtual bool send(const Bytes& body) = 0;
  // Repaints the login window's background and buttons (while it shows them).
  virtual void paintLoginWindow() = 0;
  // Told after every accepted login, the first and each one after a
  // reconnect (`again` true): what was outstanding on the old connection
  // will never be answered.
  virtual void whenLoggedIn(std::function<void(bool again)> listener) = 0;
};

}  // namespace pom
