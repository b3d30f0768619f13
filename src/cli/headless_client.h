// HeadlessClient: the whole client core over the POSIX backend with the
// headless views, as the command-line front end and the tests that drive
// the core against the local service use it.
//
// start() makes the application and its views; login() logs in the way the
// login window does and waits for the verdict. Message boxes are printed to
// the error stream (UTF-8) and answered from `dialogs()`. One instance per
// process: the application object is global.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli_ports.h"
#include "cli/cli_views.h"
#include "platform/posix/posix_ports.h"

namespace pom {

class ClientApp;
class StorageModule;

// Exit codes of the headless front end.
enum class Outcome { Done = 0, Failed = 1, BadUsage = 2, NoAnswer = 3 };

struct HeadlessOptions {
  std::string id;  // CP949
  std::string password;
  int portBase = 0;  // added to the login ports
  std::filesystem::path workDir = ".";
  std::uint32_t timeoutMs = 10000;  // for each awaited answer
};

class HeadlessClient {
 public:
  HeadlessClient(const HeadlessOptions& options, std::ostream& errors);
  ~HeadlessClient();
  HeadlessClient(const HeadlessClient&) = delete;
  HeadlessClient& operator=(const HeadlessClient&) = delete;

  // Creates the application and hands it the views; false (with the
  // reasons printed) when it cannot start.
  bool start();
  // Logs in and waits for the answer. Failed when refused, NoAnswer when
  // none came in time.
  Outcome login();
  // Logs in and waits until the first listing of "내웹폴더" is complete.
  Outcome loginAndList();

  // Turns the loop until the predicate holds or the timeout passes.
  bool waitUntil(const std::function<bool()>& done);
  bool waitUntil(const std::function<bool()>& done, std::uint32_t timeoutMs);
  // Turns the loop for a while (answers that may or may not come).
  void settle(std::uint32_t ms);

  ClientApp& app() { return *app_; }
  StorageModule& storage();
  PollLoop& loop() { return platform_.loop; }
  Clock& clock() { return platform_.clock; }
  CliDialogs& dialogs() { return dialogs_; }
  CliShell& shell() { return shell_; }
  CliFrontEnd& front() { return front_; }
  const HeadlessOptions& options() const { return options_; }
  std::ostream& errors() { return errors_; }

 private:
  HeadlessOptions options_;
  std::ostream& errors_;
  CliDialogs dialogs_;
  CliShell shell_;
  PosixPorts platform_;
  CliFrontEnd front_;
  ClientApp* app_ = nullptr;
};

}  // namespace pom
