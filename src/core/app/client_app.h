// ClientApp: the one application object, the hub through which windows,
// dialogs, connections and lists find each other.
//
// The front end (Win32 program or headless front end) builds the ports,
// calls createAndInitialise, creates its top-level window and views, hands
// them to run, and then runs the only loop. Every message of the top window
// goes through dispatchWindowMessage, which offers it to its sinks in the
// fixed order: main-server connection, 3 upload sessions, 3 download
// sessions, peer-source manager, main window, login window.
//
// Members are created and deleted in fixed orders (see client_app.cpp);
// members of later subsystems are null slots until those exist. Everything
// runs on the loop thread. The global accessor returns the instance or null.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/base/servers.h"
#include "core/ports/dialogs.h"

namespace pom {

class ConfigStore;
class Clock;
class EventLoop;
class FileSystem;
class HttpClient;
class LoginPresenter;
class LoginView;
class Connection;
class MainWindowPresenter;
class MainWindowView;
class Profile;
class ProgressDialog;
class ProgressDialogView;
class Random;
class Registry;
class Servers;
class SessionFlow;
class SessionHost;
class SessionState;
class Shell;
class SocketFactory;
class SocketNotificationSink;
class TermExtensionDialog;
class TermExtensionDialogView;
class ReplyDispatcher;

// Exit codes and the single-instance check of the entry point.
inline constexpr char kInstanceMutexName[] = "Pomvale";
inline constexpr int kExitAlreadyRunning = -1;  // also: start-up failed
inline constexpr int kExitForUpdate = 0;        // the updater takes over
inline constexpr int kExitAfterClose = 1;       // the member closed the program
// The warning shown when another instance runs (no owner, default caption).
MessageBoxRequest alreadyRunningBox();

struct AppPorts {
  EventLoop* loop = nullptr;
  Clock* clock = nullptr;
  Random* random = nullptr;
  SocketFactory* sockets = nullptr;
  Profile* profile = nullptr;
  Registry* registry = nullptr;
  FileSystem* files = nullptr;
  HttpClient* http = nullptr;
  Dialogs* dialogs = nullptr;
  Shell* shell = nullptr;
  std::string workingDir;  // where font.ini and the program's files live
  // The login ports are 7031 and 7032; a local service started with a port
  // offset (tests, several services side by side) moves both.
  std::uint16_t loginPortBase = kLoginPortBase;
  // Told "+Name" / "-Name" as each member is created and deleted (optional;
  // diagnostics and tests).
  std::function<void(const char*)> lifecycleObserver;
};

// A window-side receiver of the top window's messages (main window command
// handler, login window mouse handler). Results are ignored.
class WindowMessageSink {
 public:
  virtual ~WindowMessageSink() = default;
  virtual void onWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) = 0;
};

// The views the front end hands to run. Any may be null (the headless front
// end has no windows); the presenters then run without a view.
struct FrontEnd {
  LoginView* login = nullptr;
  MainWindowView* main = nullptr;
  ProgressDialogView* progress = nullptr;
  TermExtensionDialogView* termExtension = nullptr;
  WindowMessageSink* mainWindowSink = nullptr;
  WindowMessageSink* loginWindowSink = nullptr;
  // Ends the program when the member declines to reconnect (after the login
  // view, if any, has destroyed the top window).
  std::function<void()> endProgram;
};

class ClientApp {
 public:
  // The global accessor: the instance, or null before creation / after teardown.
  static ClientApp* instance();
  // Allocates the instance and initialises it; null on failure.
  static ClientApp* createAndInitialise(const AppPorts& ports);
  // Deletes the members in order, deletes the instance and clears the
  // accessor; the front end destroys its top window first. Safe when nothing
  // exists.
  static void teardown();

  // Start-up after the top window exists: login presenter, main window
  // components, dialogs, banned words, the advertisement line, show.
  void run(const FrontEnd& frontEnd);

  // The fan-out of every message that reaches the top window's procedure.
  void dispatchWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

  // Connect-to-server: initialise the main-server connection, seed with the
  // tick count, draw r1 = rand() % 2 then r2 = rand() % 2, connect to login
  // host r1 on port 7031 + r2.
  void connectToServer();
  // The login was accepted for the first time: hide the login controls,
  // build the main layout in the same window, set loggedIn.
  void switchToMain();
  // A separate browser window on url (the five flags of the callers are
  // accepted and ignored); placement values below 0 are not applied.
  bool openBrowserWindow(const std::string& url, int left, int top, int width, int height);
  // On every paint of the top window.
  void repaintAll();
  // "http://host[:port]" of an HTTP server setting.
  std::string webBase(Server server) const;

  // Members (null when not created).
  SessionState* sessionState() { return sessionState_.get(); }
  Connection* mainConnection() { return mainConnection_.get(); }
  LoginPresenter* loginWindow() { return loginWindow_.get(); }
  MainWindowPresenter* mainWindow() { return mainWindow_.get(); }
  ProgressDialog* progressDialog() { return progressDialog_.get(); }
  TermExtensionDialog* termExtensionDialog() { return termExtensionDialog_.get(); }
  SessionFlow* sessionFlow() { return sessionFlow_.get(); }
  ReplyDispatcher* dispatcher() { return dispatcher_.get(); }
  const AppPorts& ports() const { return ports_; }
  ConfigStore& config() { return *config_; }
  Servers& servers() { return *servers_; }
  const FrontEnd& frontEnd() const { return frontEnd_; }

  // Flags shared across subsystems.
  bool downloadAfterListing = false;
  bool loginPending = false;
  bool uploadNoticeShown = false;
  bool loggedIn() const { return loggedIn_; }

  ~ClientApp();

 private:
  explicit ClientApp(const AppPorts& ports);
  bool initialise();
  void createMembers();
  void deleteMembers();
  void note(const char* event);

  AppPorts ports_;
  FrontEnd frontEnd_;
  std::unique_ptr<ConfigStore> config_;
  std::unique_ptr<Servers> servers_;

  // Members in declaration order. Null slots stand for members of later
  // subsystems: upload sessions (3), download sessions (3), sound player,
  // upload window, download window, settings dialog, friend-add and
  // memo-edit dialogs, the peer-source manager, the banned-word list.
  std::unique_ptr<Connection> mainConnection_;
  std::unique_ptr<SessionState> sessionState_;
  std::string gameSettingsPath_;
  std::unique_ptr<LoginPresenter> loginWindow_;
  std::unique_ptr<MainWindowPresenter> mainWindow_;
  std::unique_ptr<ProgressDialog> progressDialog_;
  std::unique_ptr<TermExtensionDialog> termExtensionDialog_;
  std::unique_ptr<SessionHost> sessionHost_;
  std::unique_ptr<SessionFlow> sessionFlow_;
  std::unique_ptr<ReplyDispatcher> dispatcher_;

  bool loggedIn_ = false;
};

}  // namespace pom
