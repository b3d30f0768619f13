// What the version check adds to the program's start: the check as start-up
// runs it (both version files fetched to temporary files and compared, the
// registry values read), against the local service's update server, with
// the POSIX backend and real files.
//
//   bench_version_check   (POM_BENCH_ROUNDS rounds, default 3)
//
// Three cases: the server answers (against a bare GET of the two files with
// the same HTTP client in the same run); the server refuses the connection
// (a closed port); the server accepts and never answers (a listener whose
// backlog takes the connection), which must cost at most one timeout.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "bench/bench_support.h"
#include "cli/cli_ports.h"
#include "core/base/config_keys.h"
#include "core/update/version_check.h"
#include "platform/posix/posix_ports.h"
#include "service/service_app.h"

namespace {

using pom::bench::Clock;
namespace fs = std::filesystem;

// A loopback listener that never accepts: connects complete through the
// backlog, requests go out, and no answer ever comes.
int silentListener(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof at;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
      ::listen(fd, 16) != 0 || ::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length) != 0)
    return -1;
  port = ntohs(at.sin_port);
  return fd;
}

// One version check in a fresh program folder; its wall time in ms.
double timedCheck(const std::string& dir, const std::string& server, bool& reachable) {
  pom::bench::freshFolder(dir);
  std::ostringstream quiet;
  pom::CliDialogs dialogs(quiet);
  pom::CliShell shell(quiet);
  pom::PosixPorts platform(dir, dialogs, shell);
  pom::ConfigStore config(platform.profile, platform.registry, dir);
  pom::VersionCheckSettings settings;
  settings.updateServer = server;
  settings.workingDir = dir;
  settings.programDir = dir;
  pom::VersionCheck check(platform.http, platform.files, config, settings);
  const auto start = Clock::now();
  reachable = check.run().serverReachable;
  return pom::bench::secondsSince(start) * 1000;
}

}  // namespace

int main() {
  const int rounds =
      std::getenv("POM_BENCH_ROUNDS") ? std::atoi(std::getenv("POM_BENCH_ROUNDS")) : 3;
  const std::string dir =
      fs::temp_directory_path() / ("pom-bench-version-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const int portBase = 27000 + (::getpid() % 400) * 10;
  pom::service::ServiceOptions options;
  options.dataDir = dir + "/data";
  options.ports = pom::service::ServicePorts::withBase(portBase, false);
  options.seed = false;
  pom::service::ServiceApp service(options);
  std::string error;
  if (!service.start(&error)) {
    std::fprintf(stderr, "cannot start the service: %s\n", error.c_str());
    return 1;
  }
  const std::string answering = "127.0.0.1:" + std::to_string(service.ports().webPort);
  const std::string refusing = "127.0.0.1:" + std::to_string(pom::bench::freePort());
  int silentPort = 0;
  const int silent = silentListener(silentPort);
  if (silent < 0) {
    std::fprintf(stderr, "cannot open a silent listener\n");
    return 1;
  }
  const std::string dead = "127.0.0.1:" + std::to_string(silentPort);

  std::ostringstream quiet;
  pom::CliDialogs dialogs(quiet);
  pom::CliShell shell(quiet);
  pom::PosixPorts bare(dir, dialogs, shell);
  double best[4] = {1e9, 1e9, 1e9, 1e9};  // answering, bare GETs, refused, silent
  bool ok = true;
  for (int round = 0; round < rounds && ok; ++round) {
    bool reachable = false;
    best[0] = std::min(best[0], timedCheck(dir + "/answering", answering, reachable));
    ok &= reachable;
    const auto start = Clock::now();
    for (const char* file : {"/UpdateFiles/UverChk.dat", "/UpdateFiles/CverChk.dat"}) {
      pom::HttpRequest request;
      request.host = answering;
      request.path = file;
      request.timeoutMs = pom::kVersionFileTimeoutMs;
      ok &= bare.http.send(request, pom::kVersionFileMaxBytes).status == 200;
    }
    best[1] = std::min(best[1], pom::bench::secondsSince(start) * 1000);
    best[2] = std::min(best[2], timedCheck(dir + "/refused", refusing, reachable));
    ok &= !reachable;
    best[3] = std::min(best[3], timedCheck(dir + "/silent", dead, reachable));
    ok &= !reachable;
  }
  ::close(silent);
  if (!ok) {
    std::fprintf(stderr, "a check did not end as expected\n");
    return 1;
  }
  std::printf("version check at start, best of %d rounds:\n", rounds);
  std::printf("  server answers          %8.2f ms  (%.2fx two bare GETs of the files, %.2f ms)\n",
              best[0], best[0] / best[1], best[1]);
  std::printf("  connection refused      %8.2f ms\n", best[2]);
  std::printf("  server never answers    %8.2f ms  (%.2fx the %d ms timeout)\n", best[3],
              best[3] / pom::kVersionFileTimeoutMs, pom::kVersionFileTimeoutMs);
  fs::remove_all(dir);
  return 0;
}
