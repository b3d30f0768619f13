// SessionModule: the session and login subsystem as one module of the
// composition root.
//
// Members: the session state (stage State), the login-server connection with
// its session flow (stage Connections; the connection is the first receiver
// of the top window's fan-out), and the login window (stage Windows). It owns
// loginPending and loggedIn, registers the session's reply branches, and
// offers SessionLink. It needs the main window (to switch to it, repaint it,
// place the memo list) and the client version (the login window's title).
// Loop thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/hub/module.h"
#include "core/hub/session_link.h"
#include "core/session/session_flow.h"

namespace pom {

class Connection;
class LoginPresenter;
class LoginView;
class MainWindowLink;
class ModuleContext;
class SessionViews;
class VersionLink;

class SessionModule final : public Module, public SessionLink, private SessionHost {
 public:
  explicit SessionModule(ModuleContext& context);
  ~SessionModule() override;

  const char* name() const override { return "session"; }
  bool connect() override;
  void create(Stage stage) override;
  void attachViews() override;
  void show() override;
  void destroy(Stage stage) override;

  // SessionLink
  SessionState& state() override { return *state_; }
  bool loggedIn() const override { return loggedIn_; }
  const std::string& password() const override;
  std::string webToken() const override;
  bool send(const Bytes& body) override;
  void paintLoginWindow() override;
  void whenLoggedIn(std::function<void(bool again)> listener) override;

  // For the front ends and tests.
  LoginPresenter& login() { return *login_; }
  SessionFlow& flow() { return *flow_; }
  Connection& connection() { return *connection_; }
  bool loginPending() const override { return loginPending_; }

 private:
  // SessionHost
  void setLoginPending(bool pending) override { loginPending_ = pending; }
  std::string loginId() const override;
  std::string loginPassword() const override;
  void switchToMain() override;
  void loginAccepted() override;
  void loginRefusedQuota() override;
  void loginRefused() override;
  void clearLoginBusy() override;
  void endProgram() override;
  void repaintMainWindow() override;
  void openMemoList() override;
  Dialogs& dialogs() override;
  int currentYear() const override;
  void tellLoggedIn(bool again);

  ModuleContext& context_;
  MainWindowLink* mainWindow_ = nullptr;
  VersionLink* versions_ = nullptr;
  std::unique_ptr<SessionState> state_;
  std::unique_ptr<Connection> connection_;
  std::unique_ptr<SessionFlow> flow_;
  std::unique_ptr<LoginPresenter> login_;
  std::unique_ptr<LoginView> loginView_;
  std::vector<std::function<void(bool)>> loginListeners_;
  bool loginPending_ = false;
  bool loggedIn_ = false;
};

}  // namespace pom
