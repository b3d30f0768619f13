#include "core/session/session_module.h"

#include <ctime>

#include "core/base/web_addresses.h"
#include "core/base/web_token.h"
#include "core/hub/main_window_link.h"
#include "core/hub/module_context.h"
#include "core/hub/version_link.h"
#include "core/net/connection.h"
#include "core/ports/shell.h"
#include "core/session/login_presenter.h"
#include "core/session/login_view.h"
#include "core/session/session_views.h"

namespace pom {

SessionModule::SessionModule(ModuleContext& context) : context_(context) {
  context_.provide<SessionLink>(*this);
}

SessionModule::~SessionModule() {
  context_.withdraw<SessionLink>();
}

bool SessionModule::connect() {
  bool ok = context_.require(mainWindow_, name());
  ok &= context_.require(versions_, name());
  return ok;
}

void SessionModule::create(Stage stage) {
  switch (stage) {
    case Stage::State:
      state_ = std::make_unique<SessionState>();
      context_.note("+SessionState");
      break;
    case Stage::Connections: {
      connection_ = std::make_unique<Connection>(*context_.ports().sockets, kMainServerKind);
      SessionHost& host = *this;
      flow_ = std::make_unique<SessionFlow>(host, *connection_, *state_, context_.replies(),
                                            context_.ports(), context_.servers());
      flow_->registerReplies();
      context_.fanOut().add(FanOutSlot::MainServer, "MainServerConnection", *connection_);
      context_.note("+MainServerConnection");
      break;
    }
    case Stage::Windows: {
      LoginPresenter::Deps deps;
      deps.config = &context_.config();
      deps.dialogs = context_.ports().dialogs;
      deps.shell = context_.ports().shell;
      deps.files = context_.ports().files;
      deps.servers = &context_.servers();
      deps.connectToServer = [this] { flow_->connectToServer(); };
      login_ = std::make_unique<LoginPresenter>(std::move(deps));
      context_.note("+LoginWindow");
      break;
    }
    case Stage::Peers:
      break;
  }
}

void SessionModule::attachViews() {
  SessionViews* views = nullptr;
  if (!context_.require(views, name())) return;
  loginView_ = views->createLoginView(*login_);
  login_->attachView(loginView_.get());
  login_->initialise(versions_->clientVersion());
}

void SessionModule::show() {
  if (loginView_ != nullptr) loginView_->showWindow();
}

void SessionModule::destroy(Stage stage) {
  switch (stage) {
    case Stage::Connections:
      if (connection_) {
        context_.fanOut().remove(connection_.get());
        flow_.reset();
        connection_.reset();
        context_.note("-MainServerConnection");
      }
      break;
    case Stage::State:
      if (state_) {
        state_.reset();
        context_.note("-SessionState");
      }
      break;
    case Stage::Windows:
      if (login_) {
        login_->attachView(nullptr);
        loginView_.reset();
        login_.reset();
        context_.note("-LoginWindow");
      }
      break;
    case Stage::Peers:
      break;
  }
}

const std::string& SessionModule::password() const {
  return login_->password();
}

std::string SessionModule::webToken() const {
  return makeWebToken(login_->password());
}

bool SessionModule::send(const Bytes& body) {
  return connection_->sendMessage(body.data(), body.size());
}

void SessionModule::paintLoginWindow() {
  login_->repaint();
}

std::string SessionModule::loginId() const {
  return login_->memberId();
}

std::string SessionModule::loginPassword() const {
  return login_->password();
}

void SessionModule::switchToMain() {
  login_->hideControls();
  mainWindow_->buildLayout();
  loggedIn_ = true;
  // The web storage now asks for the first folder listing, whose answer
  // shows the window again.
  tellLoggedIn(false);
}

void SessionModule::whenLoggedIn(std::function<void(bool again)> listener) {
  loginListeners_.push_back(std::move(listener));
}

void SessionModule::loginAccepted() {
  login_->loginAccepted();
  // A login on a new connection after a lost one (the first login is told
  // once the main window stands, in switchToMain).
  if (loggedIn_) tellLoggedIn(true);
}

void SessionModule::tellLoggedIn(bool again) {
  for (const auto& listener : loginListeners_) listener(again);
}

void SessionModule::loginRefusedQuota() {
  login_->loginRefusedQuota();
}

void SessionModule::loginRefused() {
  login_->loginRefused();
}

void SessionModule::clearLoginBusy() {
  login_->clearBusy();
}

void SessionModule::endProgram() {
  // Destroying the top window ends the program (the front end's loop stops).
  if (loginView_ != nullptr) loginView_->destroyWindow();
}

void SessionModule::repaintMainWindow() {
  mainWindow_->redraw();
}

void SessionModule::openMemoList() {
  const ScreenPoint at = mainWindow_->screenPosition();
  context_.ports().shell->openBrowserWindow(
      memoListUrl(context_.servers(), state_->memberId, webToken()), at.x + 4, at.y + 30, 460,
      1000);
}

Dialogs& SessionModule::dialogs() {
  return *context_.ports().dialogs;
}

int SessionModule::currentYear() const {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  return local != nullptr ? local->tm_year + 1900 : 1970;
}

}  // namespace pom
