// pomcli: the headless front end. Logs in with the core over the POSIX
// backend and prints what the main window's status panel would show.
//
//   pomcli login --id ID --password PW [--port-base N] [--workdir DIR]
//                [--reconnect yes|no] [--notes yes|no] [--timeout MS]
//
// Exit codes: 0 logged in, 1 the login was refused or the program ended,
// 2 bad usage, 3 no answer in time.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/cli_ports.h"
#include "core/app/client_app.h"
#include "core/base/servers.h"
#include "core/hub/session_state.h"
#include "core/mainwindow/status_panel.h"
#include "core/ports/text_codec.h"
#include "core/session/login_presenter.h"
#include "core/session/session_module.h"
#include "platform/posix/posix_ports.h"

namespace {

struct Options {
  std::string id;
  std::string password;
  int portBase = 0;
  std::string workDir = ".";
  bool reconnect = false;
  bool notes = false;
  int timeoutMs = 10000;
};

int usage() {
  std::cerr << "usage: pomcli login --id ID --password PW [--port-base N] [--workdir DIR]\n"
               "                    [--reconnect yes|no] [--notes yes|no] [--timeout MS]\n";
  return 2;
}

bool parse(int argc, char** argv, Options& options) {
  if (argc < 2 || std::string(argv[1]) != "login") return false;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    const std::string value = argv[i + 1];
    if (flag == "--id") {
      options.id = value;
    } else if (flag == "--password") {
      options.password = value;
    } else if (flag == "--port-base") {
      options.portBase = std::atoi(value.c_str());
    } else if (flag == "--workdir") {
      options.workDir = value;
    } else if (flag == "--reconnect") {
      options.reconnect = value == "yes";
    } else if (flag == "--notes") {
      options.notes = value == "yes";
    } else if (flag == "--timeout") {
      options.timeoutMs = std::atoi(value.c_str());
    } else {
      return false;
    }
  }
  return argc % 2 == 0 && options.portBase >= 0 && options.portBase < 50000 &&
         options.timeoutMs > 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pom;
  Options options;
  if (!parse(argc, argv, options)) return usage();

  const std::filesystem::path workDir = std::filesystem::absolute(options.workDir);
  CliDialogs dialogs(std::cerr);
  dialogs.okCancel = options.reconnect ? MessageAnswer::Ok : MessageAnswer::Cancel;
  dialogs.yesNo = options.notes ? MessageAnswer::Yes : MessageAnswer::No;
  CliShell shell(std::cerr);
  PosixPorts platform(workDir, dialogs, shell);

  ClientApp* app = ClientApp::createAndInitialise(
      platform.ports(static_cast<std::uint16_t>(kLoginPortBase + options.portBase)));
  if (app == nullptr) {
    for (const std::string& problem : ClientApp::startProblems()) std::cerr << problem << "\n";
    return 1;
  }
  // The id and password come from the command line in the local code page.
  CliFrontEnd front(utf8ToCp949(options.id), utf8ToCp949(options.password));
  app->run(front);
  SessionModule& session = app->module<SessionModule>();

  int code = 1;
  if (session.login().tryLogin()) {
    const std::size_t boxesBefore = dialogs.shown.size();
    const bool done = platform.loop.runUntil(
        [&] {
          return session.loggedIn() || front.ended ||
                 (!session.login().busy() && dialogs.shown.size() > boxesBefore);
        },
        static_cast<std::uint32_t>(options.timeoutMs));
    if (session.loggedIn()) {
      platform.loop.runFor(200);  // the session number and notices that follow the login
      const SessionState& member = session.state();
      std::cout << "member: " << cp949ToUtf8(member.memberId) << "\n"
                << "points: " << formatPoints(member.credit) << "\n"
                << "connection: " << cp949ToUtf8(connectionKindText(member.flatRate)) << "\n";
      code = 0;
    } else if (!done) {
      std::cerr << "no answer from the login server\n";
      code = 3;
    }
  }
  ClientApp::teardown();
  return code;
}
