#include "core/app/client_app.h"

#include <ctime>

#include "core/mainwindow/ad_line.h"
#include "core/base/config_keys.h"
#include "core/session/login_presenter.h"
#include "core/session/login_view.h"
#include "core/mainwindow/main_window_presenter.h"
#include "core/storage/progress_dialog.h"
#include "core/hub/session_state.h"
#include "core/storage/term_extension_dialog.h"
#include "core/update/version_info.h"
#include "core/net/connection.h"
#include "core/net/reply_dispatcher.h"
#include "core/session/session_flow.h"
#include "core/ports/clock.h"
#include "core/ports/http_client.h"
#include "core/ports/random.h"
#include "core/ports/shell.h"

namespace pom {
namespace {

ClientApp* g_app = nullptr;

// The session flow's view of the application.
class AppSessionHost : public SessionHost {
 public:
  explicit AppSessionHost(ClientApp& app) : app_(app) {}

  bool loginPending() const override { return app_.loginPending; }
  void setLoginPending(bool pending) override { app_.loginPending = pending; }
  bool loggedIn() const override { return app_.loggedIn(); }
  std::string memberId() const override { return app_.loginWindow()->memberId(); }
  std::string password() const override { return app_.loginWindow()->password(); }
  void switchToMain() override { app_.switchToMain(); }
  void loginAccepted() override { app_.loginWindow()->loginAccepted(); }
  void loginRefusedQuota() override { app_.loginWindow()->loginRefusedQuota(); }
  void loginRefused() override { app_.loginWindow()->loginRefused(); }
  void clearLoginBusy() override { app_.loginWindow()->clearBusy(); }
  void reconnect() override { app_.connectToServer(); }
  void endProgram() override {
    if (app_.frontEnd().login != nullptr) app_.frontEnd().login->destroyWindow();
    if (app_.frontEnd().endProgram) app_.frontEnd().endProgram();
  }
  void repaintMainWindow() override {
    if (app_.frontEnd().main != nullptr) app_.frontEnd().main->repaintAll();
  }
  void openMemoList() override {
    ScreenPoint at;
    if (app_.frontEnd().main != nullptr) at = app_.frontEnd().main->screenPosition();
    app_.openBrowserWindow(app_.mainWindow()->memoListUrl(), at.x + 4, at.y + 30, 460, 1000);
  }
  Dialogs& dialogs() override { return *app_.ports().dialogs; }
  int currentYear() const override {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return local != nullptr ? local->tm_year + 1900 : 1970;
  }

 private:
  ClientApp& app_;
};

}  // namespace

MessageBoxRequest alreadyRunningBox() {
  MessageBoxRequest box;
  box.text = "폼베일2.0b가 이미 실행중입니다!     ";
  box.icon = MessageIcon::Warning;
  box.owner = DialogOwner::None;
  return box;
}

ClientApp* ClientApp::instance() {
  return g_app;
}

ClientApp::ClientApp(const AppPorts& ports)
    : ports_(ports),
      config_(std::make_unique<ConfigStore>(*ports.profile, *ports.registry, ports.workingDir)),
      servers_(std::make_unique<Servers>(*ports.profile)) {
  VersionInfo::create();
}

ClientApp::~ClientApp() {
  deleteMembers();
  VersionInfo::destroy();
}

ClientApp* ClientApp::createAndInitialise(const AppPorts& ports) {
  if (g_app != nullptr) return g_app;
  g_app = new ClientApp(ports);
  if (!g_app->initialise()) {
    teardown();
    return nullptr;
  }
  return g_app;
}

void ClientApp::teardown() {
  delete g_app;  // the destructor deletes the members in their order
  g_app = nullptr;
}

void ClientApp::note(const char* event) {
  if (ports_.lifecycleObserver) ports_.lifecycleObserver(event);
}

bool ClientApp::initialise() {
  // The version check against the update server comes first; until it
  // exists the versions are only read, for the login window's title.
  VersionInfo::instance()->load(*config_);
  createMembers();
  gameSettingsPath_ = ports_.workingDir + "\\GameSetting.ini";
  return true;
}

void ClientApp::createMembers() {
  sessionState_ = std::make_unique<SessionState>();
  note("+SessionState");
  // sound player: not part of this program yet
  mainConnection_ = std::make_unique<Connection>(*ports_.sockets, kMainServerKind);
  note("+MainServerConnection");
  // upload sessions (3), download sessions (3): created here by the transfer subsystem
  note("+GameSettingsPath");

  LoginPresenter::Deps login;
  login.config = config_.get();
  login.dialogs = ports_.dialogs;
  login.shell = ports_.shell;
  login.files = ports_.files;
  login.webSite = [this] { return webBase(Server::WebSite); };
  login.connectToServer = [this] { connectToServer(); };
  loginWindow_ = std::make_unique<LoginPresenter>(std::move(login));
  note("+LoginWindow");

  MainWindowPresenter::Deps main;
  main.config = config_.get();
  main.dialogs = ports_.dialogs;
  main.shell = ports_.shell;
  main.files = ports_.files;
  main.session = sessionState_.get();
  main.password = [this] { return loginWindow_->password(); };
  main.webSite = [this] { return webBase(Server::WebSite); };
  main.homePage = [this] { return webBase(Server::WebSite); };
  main.clubSite = [this] { return webBase(Server::ClubSite); };
  main.fileBoxSite = [this] { return webBase(Server::FileBoxSite); };
  main.paymentSite = [this] { return webBase(Server::PaymentSite); };
  main.openBrowserWindow = [this](const std::string& url, int left, int top, int width,
                                  int height) { openBrowserWindow(url, left, top, width, height); };
  main.uploadNoticeShown = &uploadNoticeShown;
  mainWindow_ = std::make_unique<MainWindowPresenter>(std::move(main));
  note("+MainWindow");
  // upload window, download window, settings dialog, friend-add and
  // memo-edit dialogs: created here by their subsystems
  progressDialog_ = std::make_unique<ProgressDialog>();
  note("+ProgressDialog");
  termExtensionDialog_ = std::make_unique<TermExtensionDialog>(ports_.dialogs);
  note("+TermExtensionDialog");
  // peer-source manager: created here by the transfer subsystem

  // The connection's handlers: the session flow and the reply dispatcher.
  sessionHost_ = std::make_unique<AppSessionHost>(*this);
  dispatcher_ = std::make_unique<ReplyDispatcher>();
  sessionFlow_ = std::make_unique<SessionFlow>(*sessionHost_, *mainConnection_, *sessionState_,
                                               *ports_.loop, *dispatcher_);
  sessionFlow_->registerReplies();
  registerDialogBranches(*dispatcher_, *termExtensionDialog_, *progressDialog_);
}

void ClientApp::deleteMembers() {
  sessionFlow_.reset();
  dispatcher_.reset();
  sessionHost_.reset();
  if (mainConnection_) {
    mainConnection_.reset();
    note("-MainServerConnection");
  }
  // upload sessions, download sessions, sound player
  if (sessionState_) {
    sessionState_.reset();
    note("-SessionState");
  }
  gameSettingsPath_.clear();
  note("-GameSettingsPath");
  if (loginWindow_) {
    loginWindow_.reset();
    note("-LoginWindow");
  }
  if (mainWindow_) {
    mainWindow_.reset();
    note("-MainWindow");
  }
  // upload window, download window, settings dialog, friend-add and memo-edit dialogs
  if (progressDialog_) {
    progressDialog_.reset();
    note("-ProgressDialog");
  }
  if (termExtensionDialog_) {
    termExtensionDialog_.reset();
    note("-TermExtensionDialog");
  }
  // then the peer-source manager is stopped and deleted
}

void ClientApp::run(const FrontEnd& frontEnd) {
  frontEnd_ = frontEnd;
  loginWindow_->attachView(frontEnd.login);
  loginWindow_->initialise(VersionInfo::instance()->clientVersion());
  mainWindow_->attachView(frontEnd.main);
  mainWindow_->prepare();
  progressDialog_->attach(frontEnd.progress);
  termExtensionDialog_->attach(frontEnd.termExtension, ports_.dialogs);
  // BadSearch 0: the banned search words are loaded here by the search subsystem.
  if (ports_.http != nullptr) {
    const HostPort server = servers_->http(Server::UpdateServer);
    const AdLine line = fetchAdLine(*ports_.http, server.host + ":" + std::to_string(server.port));
    mainWindow_->setAdLine(line.text, line.link);
  }
  if (frontEnd.login != nullptr) frontEnd.login->showWindow();
}

void ClientApp::dispatchWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  if (mainConnection_) mainConnection_->onSocketMessage(message, wParam, lParam);
  // the three upload sessions, the three download sessions and the
  // peer-source manager take their turn here once they exist
  if (frontEnd_.mainWindowSink != nullptr) {
    frontEnd_.mainWindowSink->onWindowMessage(message, wParam, lParam);
  }
  if (frontEnd_.loginWindowSink != nullptr) {
    frontEnd_.loginWindowSink->onWindowMessage(message, wParam, lParam);
  }
}

void ClientApp::connectToServer() {
  mainConnection_->initialise();
  ports_.random->seed(ports_.clock->tickCount());
  const int r1 = ports_.random->next() % 2;
  const int r2 = ports_.random->next() % 2;
  mainConnection_->connectTo(servers_->loginHost(r1),
                             static_cast<std::uint16_t>(ports_.loginPortBase + r2));
}

void ClientApp::switchToMain() {
  loginWindow_->hideControls();
  mainWindow_->buildLayout();
  loggedIn_ = true;
  // The first folder listing shows the window again; until the folder tree
  // asks for one, show it here so the member is never left without a window.
  if (frontEnd_.main != nullptr) frontEnd_.main->setWindowVisible(true);
}

bool ClientApp::openBrowserWindow(const std::string& url, int left, int top, int width,
                                  int height) {
  return ports_.shell != nullptr && ports_.shell->openBrowserWindow(url, left, top, width, height);
}

void ClientApp::repaintAll() {
  if (loggedIn_) mainWindow_->paint();
  loginWindow_->repaint();
}

std::string ClientApp::webBase(Server server) const {
  const HostPort address = servers_->http(server);
  std::string base = "http://" + address.host;
  if (address.port != kHttpPort) base += ":" + std::to_string(address.port);
  return base;
}

}  // namespace pom
