// SessionFlow: the life of the one login-server session.
//
// Opening the connection (Connect-to-server: a random login host and port),
// the login step when the connection comes up (one LoginRequest per
// connection, guarded by loginPending), the answers to it (accepted, flat
// rate exhausted, retry once after 100 ms, refused), the server's unsolicited
// notifications (session number, credit, notices, waiting notes) and the
// question after a lost connection (reconnect and log in again, or end the
// program). After a reconnect an accepted login only refreshes the session
// state: the main window is not rebuilt and no note check is sent; a refusal
// then only shows its message, the login controls stay hidden.
//
// A connect attempt that cannot even start (no socket, an unresolvable host)
// takes the lost-connection path, posted to the next turn of the loop, as a
// refused connection does.
//
// It is the connection's handler: packets go to the reply dispatcher. The
// rest of the program is reached through SessionHost (the session module, a
// fake in tests). Loop thread only.
#pragma once

#include <cstdint>
#include <string>

#include "core/net/connection.h"

namespace pom {

class Dialogs;
class ReplyDispatcher;
class Servers;
class SessionState;
struct AppPorts;
struct CreditBalance;
struct LoginReply;
struct NoteNotice;
struct ServerNotice;
struct SessionInfo;

class SessionHost {
 public:
  virtual ~SessionHost() = default;

  virtual bool loginPending() const = 0;
  virtual void setLoginPending(bool pending) = 0;
  virtual bool loggedIn() const = 0;
  // The member id and password the login window keeps.
  virtual std::string loginId() const = 0;
  virtual std::string loginPassword() const = 0;

  // Switch-to-main (sets loggedIn).
  virtual void switchToMain() = 0;
  // The login window's answers (log-in button, controls, focus, busy).
  virtual void loginAccepted() = 0;
  virtual void loginRefusedQuota() = 0;
  virtual void loginRefused() = 0;
  virtual void clearLoginBusy() = 0;

  // The member declined to reconnect: the top window is destroyed, which
  // ends the program.
  virtual void endProgram() = 0;

  virtual void repaintMainWindow() = 0;
  // A browser window on the memo list at the main window's position plus
  // (4, 30), 460 x 1000.
  virtual void openMemoList() = 0;
  virtual Dialogs& dialogs() = 0;
  virtual int currentYear() const = 0;
};

class SessionFlow : public ConnectionHandler {
 public:
  static constexpr std::uint32_t kLoginRetryDelayMs = 100;

  SessionFlow(SessionHost& host, Connection& connection, SessionState& session,
              ReplyDispatcher& dispatcher, const AppPorts& ports, const Servers& servers);
  ~SessionFlow() override;
  SessionFlow(const SessionFlow&) = delete;
  SessionFlow& operator=(const SessionFlow&) = delete;

  // Registers the session branches (types 0, 24, 27, 28, 51) and the types
  // that are read and ignored (19, 50, 52).
  void registerReplies();

  // Connect-to-server: initialise the connection, seed with the tick count,
  // draw r1 = rand() % 2 then r2 = rand() % 2, connect to login host r1 on
  // port 7031 + r2. False when the attempt could not be started (the
  // lost-connection path then follows on the next turn of the loop).
  bool connectToServer();

  // The connection's events: a packet goes to the dispatcher; a connect runs
  // the login step; a close (the connection is already reset) asks.
  void onRead(Connection& connection) override;
  void onConnect(Connection& connection) override;
  void onClose(Connection& connection) override;

  // The connection is up (traffic already selected): send the login once.
  void loginStep();
  // The connection broke or could not be made (already reset): ask.
  void connectionLost();

  void onLoginReply(const LoginReply& reply);
  void onSessionInfo(const SessionInfo& info);
  void onCreditBalance(const CreditBalance& balance);
  void onServerNotice(const ServerNotice& notice);
  void onNoteNotice(const NoteNotice& notice);

  // The retry answer has been followed once in this run.
  bool retriedLogin() const { return retriedLogin_; }

 private:
  void sendLogin();

  SessionHost& host_;
  Connection& connection_;
  SessionState& session_;
  ReplyDispatcher& dispatcher_;
  const AppPorts& ports_;
  const Servers& servers_;
  bool retriedLogin_ = false;
  std::uint32_t retryTimer_ = 0;
  std::uint32_t failedConnectCall_ = 0;
};

}  // namespace pom
