// Downloads through the whole client engine, run as `pomcli get` (queue,
// scheduler, download sessions, files written to disk), against what a user
// would otherwise pick and against the bare wire, all in one run:
//   (a) curl fetching the same bytes from nginx over loopback;
//   (b) a raw loopback stream of the same bytes in 1 MiB pieces to disk;
// and the same download path run in this process, timed from the first
// byte to the last (without start-up, login and the 400 ms start tick).
// Also: the client's CPU seconds per GiB (getrusage of the child), three
// parallel downloads against one, and many small files per second against
// curl fetching the same files over one connection.
//
//   bench_download [MiB] [small files]   (defaults 1024 and 1000; 0 skips them)
//
// The local service runs in this process on its own port base; pomcli and
// nginx run as children. Each figure is the best of three rounds, the
// contenders alternating, so a burst of other work does not decide a ratio.
// Without nginx or curl (bench/download/run installs them) the curl figures
// are skipped.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_service.h"
#include "bench/bench_support.h"
#include "bench/raw_stream.h"
#include "cli/headless_client.h"
#include "cli/web_commands.h"
#include "core/app/client_app.h"
#include "core/transfer/download_module.h"
#include "core/transfer/download_window.h"
#include "service/demo_data.h"
#include "service/service_app.h"

namespace {

namespace fs = std::filesystem;
using namespace pom::bench;

std::string nginxProgram() {
  return fs::exists("/usr/sbin/nginx") ? "/usr/sbin/nginx" : "nginx";
}

// The same download path as `pomcli get`, run in this process: logs in as
// the bench member, queues the file with Ctrl+D and starts the queue, then
// times the span in which data flows, without the start-up, the login and
// the 400 ms start tick.
InProcessRun downloadInProcess(int portBase, const std::string& workDir, const std::string& name,
                               const std::string& into) {
  InProcessRun result;
  std::ostringstream errors, out;
  pom::HeadlessClient client(benchClientOptions(portBase, workDir), errors);
  if (!client.start() || client.loginAndList() != pom::Outcome::Done) return result;
  pom::DownloadModule& downloads = client.app().module<pom::DownloadModule>();
  downloads.openWindow();
  pom::DownloadWindow& window = downloads.window();
  window.setDownloadFolder(into);
  pom::WebCommands web(client, out);
  if (web.queueDownloads({name}) != pom::Outcome::Done || window.jobs().size() != 1) return result;
  window.start();
  const pom::TransferJob& job = window.jobs().front();
  if (!client.waitUntil([&] { return job.received > 0; })) return result;
  const auto start = Clock::now();
  const double cpuStart = threadCpuSeconds();
  if (!client.waitUntil([&] { return job.state == pom::JobState::Completed; })) return result;
  result.seconds = secondsSince(start);
  result.cpu = threadCpuSeconds() - cpuStart;
  result.ok = true;
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const std::int64_t mib = argc > 1 ? std::atoll(argv[1]) : 1024;
  const int smallCount = argc > 2 ? std::atoi(argv[2]) : 1000;
  const std::int64_t size = mib << 20;
  const std::int64_t partSize = size / 3;
  const fs::path self = fs::canonical("/proc/self/exe");
  const std::string pomcli = (self.parent_path().parent_path() / "src/cli/pomcli").string();
  if (!fs::exists(pomcli)) {
    std::fprintf(stderr, "pomcli not built at %s\n", pomcli.c_str());
    return 1;
  }

  const std::string dir =
      fs::temp_directory_path() / ("pom-bench-get-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const int portBase = 24000 + (::getpid() % 400) * 10;
  const std::unique_ptr<pom::service::ServiceApp> service = startBenchService(dir, portBase);
  if (!service) return 1;
  pom::service::ServiceApp& app = *service;
  std::printf("preparing %lld MiB, three parts and %d small files...\n",
              static_cast<long long>(mib), smallCount);
  std::fflush(stdout);
  auto& store = app.store();
  const std::int32_t big = pom::service::addGeneratedFile(store, "bench", 0, "big.bin", size);
  std::vector<std::int32_t> parts;
  for (int i = 1; i <= 3; ++i)
    parts.push_back(pom::service::addGeneratedFile(store, "bench", 0,
                                                   "part" + std::to_string(i) + ".bin", partSize));
  const std::int32_t smallFolder = store.addFolder("bench", 0, "small", 'f');
  std::vector<std::int32_t> smalls;
  for (int i = 0; i < smallCount; ++i)
    smalls.push_back(pom::service::addGeneratedFile(store, "bench", smallFolder,
                                                    "s" + std::to_string(i) + ".bin", 4096));

  // nginx serves the same body files under plain names.
  const std::string root = dir + "/www";
  fs::create_directories(root + "/small");
  fs::create_symlink(store.bodyPath(big), root + "/big.bin");
  for (int i = 0; i < smallCount; ++i)
    fs::create_symlink(store.bodyPath(smalls[static_cast<std::size_t>(i)]),
                       root + "/small/s" + std::to_string(i) + ".bin");
  const bool withCurl = have("nginx") && have("curl");
  Daemon nginx;
  int httpPort = 0;
  if (withCurl) {
    httpPort = freePort();
    std::ofstream conf(dir + "/nginx.conf");
    conf << "daemon off;\nmaster_process off;\nworker_processes 1;\npid " << dir
         << "/nginx.pid;\nerror_log " << dir << "/nginx-error.log;\n"
         << "events { worker_connections 64; }\n"
         << "http {\n  access_log off;\n  sendfile on;\n  tcp_nopush on;\n"
         << "  default_type application/octet-stream;\n  disable_symlinks off;\n"
         << "  server { listen 127.0.0.1:" << httpPort << "; root " << root << "; }\n}\n";
    conf.close();
    if (!nginx.start({nginxProgram(), "-p", dir, "-c", dir + "/nginx.conf"}, dir + "/nginx.log") ||
        !waitForPort(httpPort)) {
      std::fprintf(stderr, "nginx did not start; see %s/nginx-error.log\n", dir.c_str());
      return 1;
    }
  } else {
    std::printf("curl/nginx missing: curl figures skipped (bench/download/run installs them)\n");
  }

  const std::string log = dir + "/children.log";
  auto pomGet = [&](const std::vector<std::string>& paths, const std::string& into, int parallel) {
    std::vector<std::string> args{pomcli,        "get",
                                  "--id",        "bench",
                                  "--password",  "bench",
                                  "--port-base", std::to_string(portBase),
                                  "--workdir",   dir + "/client",
                                  "--into",      into,
                                  "--parallel",  std::to_string(parallel),
                                  "--timeout",   "60000"};
    args.insert(args.end(), paths.begin(), paths.end());
    return runChild(args, log);
  };
  fs::create_directories(dir + "/client");
  // The file comes from the storage server: the peer list is asked at a
  // port where nothing listens, so that path ends at once.
  std::ofstream(dir + "/client/PomConfig.ini") << "[Servers]\r\nPeerList=127.0.0.1:9\r\n";
  const std::string url = "http://127.0.0.1:" + std::to_string(httpPort);

  // Warm the page cache of the bodies alike for every contender.
  pom::bench::rawDownload(store.bodyPath(big), size, dir + "/warm.bin");
  fs::remove(dir + "/warm.bin");

  double raw = 1e9, curl = 1e9, client = 1e9, clientCpu = 1e9, flowing = 1e9, flowingCpu = 1e9;
  double one = 1e9, three = 1e9, smallClient = 1e9, smallCurl = 1e9;
  bool identical = true, ok = true;
  std::string curlSmallConfig = dir + "/small.curl";
  {
    std::ofstream config(curlSmallConfig);
    for (int i = 0; i < smallCount; ++i)
      config << "url = \"" << url << "/small/s" << i << ".bin\"\noutput = \"" << dir << "/out/s"
             << i << ".bin\"\n";
  }
  for (int round = 0; round < 3 && ok; ++round) {
    freshFolder(dir + "/out");
    auto start = Clock::now();
    ok &= pom::bench::rawDownload(store.bodyPath(big), size, dir + "/out/big.bin") == size;
    raw = std::min(raw, secondsSince(start));

    if (withCurl) {
      freshFolder(dir + "/out");
      ChildRun run = runChild({"curl", "-s", "-o", dir + "/out/big.bin", url + "/big.bin"}, log);
      ok &= run.ok;
      curl = std::min(curl, run.wall);
    }

    freshFolder(dir + "/out");
    ChildRun run = pomGet({"big.bin"}, dir + "/out", 1);
    ok &= run.ok;
    client = std::min(client, run.wall);
    clientCpu = std::min(clientCpu, run.cpu);
    freshFolder(dir + "/out");
    const InProcessRun inside =
        downloadInProcess(portBase, dir + "/client", "big.bin", dir + "/out");
    ok &= inside.ok;
    flowing = std::min(flowing, inside.seconds);
    flowingCpu = std::min(flowingCpu, inside.cpu);
    if (round == 0) identical &= sameBytes(dir + "/out/big.bin", store.bodyPath(big));

    freshFolder(dir + "/out");
    run = pomGet({"part1.bin", "part2.bin", "part3.bin"}, dir + "/out", 1);
    ok &= run.ok;
    one = std::min(one, run.wall);
    freshFolder(dir + "/out");
    run = pomGet({"part1.bin", "part2.bin", "part3.bin"}, dir + "/out", 3);
    ok &= run.ok;
    three = std::min(three, run.wall);
    if (round == 0)
      for (int i = 0; i < 3; ++i)
        identical &= sameBytes(dir + "/out/part" + std::to_string(i + 1) + ".bin",
                               store.bodyPath(parts[static_cast<std::size_t>(i)]));

    // The small files take one round: one start per 400 ms tick makes a
    // thousand of them last minutes, and the figure hardly varies.
    if (round > 0 || smallCount == 0) continue;
    freshFolder(dir + "/out");
    run = pomGet({"small"}, dir + "/out", 3);
    ok &= run.ok;
    smallClient = std::min(smallClient, run.wall);
    identical &= sameBytes(dir + "/out/small/s0.bin", store.bodyPath(smalls.front())) &&
                 sameBytes(dir + "/out/small/s" + std::to_string(smallCount - 1) + ".bin",
                           store.bodyPath(smalls.back()));
    if (withCurl) {
      freshFolder(dir + "/out");
      ChildRun curlRun = runChild({"curl", "-s", "-K", curlSmallConfig}, log);
      ok &= curlRun.ok;
      smallCurl = std::min(smallCurl, curlRun.wall);
    }
  }
  app.stop();
  if (!ok || !identical) {
    std::fprintf(stderr, "a download failed or differs from the body (%s); see %s\n",
                 ok ? "bytes differ" : "exit status", log.c_str());
    return 1;
  }
  fs::remove_all(dir);

  const double gib = static_cast<double>(size) / (1 << 30);
  std::printf("file of %lld MiB, best of 3 rounds:\n", static_cast<long long>(mib));
  std::printf("  raw loopback stream   : %8.1f MiB/s (%.2f s)\n", mibPerSecond(size, raw), raw);
  if (withCurl)
    std::printf("  curl from nginx       : %8.1f MiB/s (%.2f s)\n", mibPerSecond(size, curl), curl);
  std::printf("  pomcli get            : %8.1f MiB/s (%.2f s, start-up and login included)\n",
              mibPerSecond(size, client), client);
  std::printf("  pomcli / raw          : %.2f\n", raw / client);
  if (withCurl) std::printf("  pomcli / curl         : %.2f\n", curl / client);
  std::printf("  client CPU            : %.2f s per GiB\n", clientCpu / gib);
  std::printf(
      "  data flowing (in-process, first byte to last): %.1f MiB/s, %.2f of raw, "
      "%.2f CPU s per GiB of the client thread\n",
      mibPerSecond(size, flowing), raw / flowing, flowingCpu / gib);
  std::printf("three files of %lld MiB: one at a time %.2f s, three at once %.2f s, ratio %.2f\n",
              static_cast<long long>(partSize >> 20), one, three, one / three);
  if (smallCount > 0) {
    std::printf("%d files of 4 KiB (one round): pomcli %.1f files/s", smallCount,
                smallCount / smallClient);
    if (withCurl)
      std::printf(", curl %.1f files/s, ratio %.3f", smallCount / smallCurl,
                  smallCurl / smallClient);
    std::printf("\n");
  }
  return 0;
}
