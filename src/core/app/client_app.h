// ClientApp: the one application object and the composition root.
//
// It makes one module per subsystem (update, session and login, main window,
// uploads, downloads, local browser, web storage, peers, search), wires them
// through their links (a link nobody offers fails the start), creates their
// members stage by stage in the designed order and deletes them in the
// designed teardown order. The front end builds the ports, calls
// createAndInitialise, then run with its views, and then runs the only loop;
// every message of its top window goes to dispatchWindowMessage, the fan-out
// in the designed order (login-server connection, upload sessions, download
// sessions, peer-source manager, main window, login window).
//
// Everything runs on the loop thread. The global accessor returns the
// instance or null; front ends reach what they need through the object they
// were given, never through the accessor.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/app/front_end.h"
#include "core/hub/app_ports.h"
#include "core/hub/module.h"
#include "core/hub/module_context.h"
#include "core/ports/dialogs.h"

namespace pom {

// Exit codes and the single-instance check of the entry point.
inline constexpr char kInstanceMutexName[] = "Pomvale";
inline constexpr int kExitAlreadyRunning = -1;  // also: start-up failed
inline constexpr int kExitForUpdate = 0;        // the updater takes over
inline constexpr int kExitAfterClose = 1;       // the program was ended by the member
// The warning shown when another instance runs (no owner, default caption).
MessageBoxRequest alreadyRunningBox();

class ClientApp {
 public:
  // The global accessor: the instance, or null before creation / after teardown.
  static ClientApp* instance();
  // Allocates the instance, wires and creates the modules; null on failure
  // (startProblems() then says why).
  static ClientApp* createAndInitialise(const AppPorts& ports);
  // Deletes the members in order, deletes the instance and clears the
  // accessor; the front end destroys its top window first. Safe when nothing
  // exists.
  static void teardown();
  // Why the last createAndInitialise failed.
  static const std::vector<std::string>& startProblems();
  // The last createAndInitialise started the updater instead (null result,
  // no problems): the front end ends with kExitForUpdate.
  static bool handedOverToUpdater();

  // Start-up once the front end is up: views, fetches, the login window.
  // The front end must outlive the application.
  void run(FrontEnd& frontEnd);

  // The fan-out of every message that reaches the top window's procedure.
  void dispatchWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  // On every paint of the top window: the main window once its layout is
  // built, then the login window.
  void repaintAll();

  ModuleContext& context() { return context_; }
  // The module of a type (every module exists for the life of the app).
  template <typename M>
  M& module() const {
    for (const auto& m : modules_) {
      if (auto* found = dynamic_cast<M*>(m.get())) return *found;
    }
    std::abort();
  }
  // The modules' names in module order.
  std::vector<std::string> moduleNames() const;

  ~ClientApp();
  ClientApp(const ClientApp&) = delete;
  ClientApp& operator=(const ClientApp&) = delete;

 private:
  explicit ClientApp(const AppPorts& ports);
  bool initialise();
  template <typename M>
  void add() {
    modules_.push_back(std::make_unique<M>(context_));
  }
  void addModules();
  void deleteMembers();

  ModuleContext context_;
  std::vector<std::unique_ptr<Module>> modules_;
  std::string gameSettingsPath_;
  bool created_ = false;
  FrontEnd* frontEnd_ = nullptr;
};

}  // namespace pom
