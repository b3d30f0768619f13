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
#include "core/session/login_presenter.h"
#include "core/base/servers.h"
#include "core/hub/session_state.h"
#include "core/mainwindow/status_panel.h"
#include "core/ports/text_codec.h"
#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_http_client.h"
#include "platform/posix/posix_profile.h"
#include "platform/posix/posix_random.h"
#include "platform/posix/posix_registry.h"
#include "platform/posix/posix_socket.h"

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
  PollLoop loop;
  PosixClock clock;
  PosixRandom random;
  PosixSocketFactory sockets(loop);
  PosixProfile profile(workDir);
  PosixRegistry registry(workDir);
  PosixFileSystem files;
  PosixHttpClient http(3000);
  CliDialogs dialogs(std::cerr);
  dialogs.okCancel = options.reconnect ? MessageAnswer::Ok : MessageAnswer::Cancel;
  dialogs.yesNo = options.notes ? MessageAnswer::Yes : MessageAnswer::No;
  CliShell shell(std::cerr);

  AppPorts ports;
  ports.loop = &loop;
  ports.clock = &clock;
  ports.random = &random;
  ports.sockets = &sockets;
  ports.profile = &profile;
  ports.registry = &registry;
  ports.files = &files;
  ports.http = &http;
  ports.dialogs = &dialogs;
  ports.shell = &shell;
  ports.workingDir = workDir.string();
  ports.loginPortBase = static_cast<std::uint16_t>(kLoginPortBase + options.portBase);

  ClientApp* app = ClientApp::createAndInitialise(ports);
  if (app == nullptr) return 1;
  // The id and password come from the command line in the local code page.
  CliLoginView view(utf8ToCp949(options.id), utf8ToCp949(options.password));
  bool ended = false;
  FrontEnd front;
  front.login = &view;
  front.endProgram = [&ended] { ended = true; };
  app->run(front);

  int code = 1;
  if (app->loginWindow()->tryLogin()) {
    const std::size_t boxesBefore = dialogs.shown.size();
    const bool done = loop.runUntil(
        [&] {
          return app->loggedIn() || ended ||
                 (!app->loginWindow()->busy() && dialogs.shown.size() > boxesBefore);
        },
        static_cast<std::uint32_t>(options.timeoutMs));
    if (app->loggedIn()) {
      loop.runFor(200);  // the session number and notices that follow the login
      const SessionState& session = *app->sessionState();
      std::cout << "member: " << cp949ToUtf8(session.memberId) << "\n"
                << "points: " << formatPoints(session.credit) << "\n"
                << "connection: " << cp949ToUtf8(connectionKindText(session.flatRate)) << "\n";
      code = 0;
    } else if (!done) {
      std::cerr << "no answer from the login server\n";
      code = 3;
    }
  }
  ClientApp::teardown();
  return code;
}
