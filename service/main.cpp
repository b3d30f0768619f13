// pomservice: the local stand-in of the online service.
//
//   pomservice [--data DIR] [--port-base N] [--fault KEY=VALUE[*COUNT]]... [--no-web]
//              [--bulk-folder COUNT] [--huge-file BYTES] [--bench-file [BYTES]]
//              [--small-files COUNT] [--hostile-name KIND@FILEID]
//
// --bulk-folder gives demo1 a folder "대량항목" of COUNT generated files (for
// benchmarks; kept in the data directory, not added twice). --huge-file adds
// "대용량.bin" of BYTES to demo1's top level (sparse from 4 GiB up),
// --bench-file "벤치/벤치.bin" (default 1 GiB, written once, reused while its
// size stays), --small-files a folder "작은파일" of COUNT 4,096-byte files
// (demo_data.h). --hostile-name is the switch hostile_name (faults.h). Every
// request the login server, the storage servers and the peers decode is
// logged to DIR/requests.jsonl (request_log.h).
//
// Runs in the foreground, prints a line containing "ready" once every
// listener is up, and stops cleanly on SIGINT or SIGTERM. Listens on loopback
// addresses only.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "service/demo_data.h"
#include "service/service_app.h"

namespace {

void usage() {
  std::fprintf(stderr,
               "usage: pomservice [--data DIR] [--port-base N] [--fault KEY=VALUE[*COUNT]]... "
               "[--no-web] [--bulk-folder COUNT] [--huge-file BYTES] [--bench-file [BYTES]] "
               "[--small-files COUNT] [--hostile-name KIND@FILEID]\n");
}

bool parseInt(const char* text, int* value) {
  char* end = nullptr;
  long parsed = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || parsed < -60000 || parsed > 60000) return false;
  *value = static_cast<int>(parsed);
  return true;
}

// A positive byte count (decimal, 64-bit).
bool parseBytes(const char* text, std::int64_t* value) {
  char* end = nullptr;
  errno = 0;
  long long parsed = std::strtoll(text, &end, 10);
  if (*text == '\0' || *end != '\0' || errno != 0 || parsed < 1) return false;
  *value = parsed;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using pom::service::ServiceOptions;
  ServiceOptions options;
  options.dataDir = "service-data";
  int portBase = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--data" && hasValue) {
      options.dataDir = argv[++i];
    } else if (arg == "--port-base" && hasValue) {
      if (!parseInt(argv[++i], &portBase)) {
        usage();
        return 2;
      }
    } else if (arg == "--fault" && hasValue) {
      options.faults.push_back(argv[++i]);
    } else if (arg == "--bulk-folder" && hasValue) {
      if (!parseInt(argv[++i], &options.bulkFolder) || options.bulkFolder < 1) {
        usage();
        return 2;
      }
    } else if (arg == "--huge-file" && hasValue) {
      if (!parseBytes(argv[++i], &options.hugeFile)) {
        usage();
        return 2;
      }
    } else if (arg == "--bench-file") {
      // The size is optional: the next argument is taken only when it is one.
      options.benchFile = pom::service::demo::kDefaultBenchBytes;
      if (hasValue && parseBytes(argv[i + 1], &options.benchFile)) ++i;
    } else if (arg == "--small-files" && hasValue) {
      if (!parseInt(argv[++i], &options.smallFiles) || options.smallFiles < 1) {
        usage();
        return 2;
      }
    } else if (arg == "--hostile-name" && hasValue) {
      options.faults.push_back(std::string("hostile_name=") + argv[++i]);
    } else if (arg == "--no-web") {
      options.web = false;
    } else {
      usage();
      return arg == "--help" || arg == "-h" ? 0 : 2;
    }
  }
  options.ports = pom::service::ServicePorts::withBase(portBase, ::geteuid() == 0);

  // Signals are taken synchronously by this thread; every thread the service
  // starts inherits the blocked mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  pom::service::ServiceApp app(options);
  std::string error;
  if (!app.start(&error)) {
    std::fprintf(stderr, "pomservice: %s\n", error.c_str());
    return 1;
  }
  const auto& ports = app.ports();
  std::printf(
      "pomservice ready: data %s; login %s,%s ports %u,%u; storage %s:%u (upload %u); "
      "control %s:%u; web %s:%u%s\n",
      options.dataDir.c_str(), ports.loginHosts[0].c_str(), ports.loginHosts[1].c_str(),
      ports.loginPorts[0], ports.loginPorts[1], ports.storageHost.c_str(), ports.downloadPort,
      ports.uploadPort, ports.controlHost.c_str(), ports.controlPort, ports.webHost.c_str(),
      ports.webPort, options.web ? "" : " (off)");
  std::fflush(stdout);

  int received = 0;
  sigwait(&stopSignals, &received);
  std::printf("pomservice: stopping (%s)\n", received == SIGINT ? "SIGINT" : "SIGTERM");
  std::fflush(stdout);
  app.stop();
  return 0;
}
