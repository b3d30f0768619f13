// Module: one subsystem as the composition root (ClientApp) sees it.
//
// A module is constructed with the ModuleContext and provides its links
// there. connect() looks up the links it needs (false fails the start).
// Its members (connections, presenters, dialogs) are then created in stages:
// ClientApp runs the stages in creation order and, within a stage, every
// module in module order, so the members come to life in the program's
// designed order whatever module owns them; a module registers its reply
// handlers and fan-out receivers as it creates the members behind them.
// Teardown runs the stages in their own order the same way. Once the front
// end is up, attachViews() asks it for the module's views, start() does the
// module's share of the start-up (fetches) and show() shows the first window.
//
// Every step runs on the loop thread, each exactly once, in this order:
// construct, connect, create (each stage), attachViews, start, show, destroy
// (each stage), destruct.
#pragma once

namespace pom {

class ModuleContext;

enum class Stage {
  State,        // session state
  Connections,  // the login-server connection, upload sessions, download sessions
  Windows,      // login and main window, transfer windows, dialogs
  Peers,        // the peer-source manager
};

// Creation: the session state, then the connections, the windows and
// dialogs, the peer-source manager. Teardown: the connections first (no
// notification may reach a half-deleted member), then the session state, the
// windows and dialogs, and the peer-source manager last.
inline constexpr Stage kCreationStages[] = {Stage::State, Stage::Connections, Stage::Windows,
                                            Stage::Peers};
inline constexpr Stage kTeardownStages[] = {Stage::Connections, Stage::State, Stage::Windows,
                                            Stage::Peers};

class Module {
 public:
  virtual ~Module() = default;
  virtual const char* name() const = 0;

  virtual bool connect() { return true; }
  virtual void create(Stage stage) {}
  virtual void attachViews() {}
  virtual void start() {}
  virtual void show() {}
  virtual void destroy(Stage stage) {}
};

}  // namespace pom
