// Uploads through the whole client engine (queue, scheduler, upload
// sessions, chunks read from disk), against the protocol's own cap: one
// chunk per acknowledgement with the 15 ms pause, so a session moves at
// most chunk / (15 ms + round trip). For the chunk sizes 256 KiB and 1 MiB:
//   (a) `pomcli put` of the file as a child process: wall time (start-up,
//       login and the first 800 ms start tick included) and CPU seconds per
//       GiB of the child;
//   (b) the same upload path run in this process, timed from the first
//       chunk to the service's confirmation: throughput as a ratio of the
//       cap, with the client thread's CPU seconds per GiB;
// and three parallel uploads against one (three files of a third each).
// The round trip is measured in the same run for each chunk size: a chunk
// of that size one way and a 4-byte acknowledgement back over loopback TCP.
//
//   bench_upload [MiB]   (default 256)
//
// The local service runs in this process (its own threads) on its own port
// base. Each figure is the best of three rounds.
#include <netinet/tcp.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_service.h"
#include "bench/bench_support.h"
#include "cli/headless_client.h"
#include "cli/web_commands.h"
#include "core/app/client_app.h"
#include "core/ports/text_codec.h"
#include "core/transfer/upload_engine.h"
#include "core/transfer/upload_module.h"
#include "core/transfer/upload_window.h"
#include "service/service_app.h"

namespace {

namespace fs = std::filesystem;
using namespace pom::bench;

// The median round trip of one chunk and its acknowledgement over loopback
// TCP (no Nagle delay): `chunk` bytes one way, 4 bytes back, in seconds.
double chunkRoundTrip(std::size_t chunk) {
  const int port = freePort();
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  int on = 1;
  ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
  ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(listener, 1);
  std::thread echo([listener, chunk] {
    const int s = ::accept(listener, nullptr, nullptr);
    int noDelay = 1;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    std::vector<char> buffer(chunk);
    const char ack[4] = {8, 0, 0, 0};
    while (::recv(s, buffer.data(), chunk, MSG_WAITALL) == static_cast<ssize_t>(chunk))
      ::send(s, ack, sizeof ack, 0);
    ::close(s);
  });
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  int noDelay = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  std::vector<double> trips;
  if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    std::vector<char> buffer(chunk, 'x');
    char ack[4];
    for (int i = 0; i < 200; ++i) {
      const auto start = Clock::now();
      if (::send(s, buffer.data(), chunk, 0) != static_cast<ssize_t>(chunk) ||
          ::recv(s, ack, sizeof ack, MSG_WAITALL) != sizeof ack)
        break;
      trips.push_back(secondsSince(start));
    }
  }
  ::close(s);
  echo.join();
  ::close(listener);
  if (trips.empty()) return 0;
  std::sort(trips.begin(), trips.end());
  return trips[trips.size() / 2];
}

void writeRandomFile(const std::string& path, std::int64_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::ofstream out(path, std::ios::binary);
  std::vector<std::uint32_t> block(1 << 18);
  for (std::int64_t left = size; left > 0;) {
    for (std::uint32_t& word : block) word = random();
    const auto n = static_cast<std::size_t>(
        std::min<std::int64_t>(left, static_cast<std::int64_t>(block.size() * 4)));
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
    left -= static_cast<std::int64_t>(n);
  }
}

// Logs in as the bench member and uploads the files into its top folder
// through the upload window's presenter, as `pomcli put` does, timing the
// span in which chunks flow.
InProcessRun uploadInProcess(int portBase, const std::string& workDir,
                             const std::vector<std::string>& files, int parallel) {
  InProcessRun result;
  std::ostringstream errors, out;
  pom::HeadlessClient client(benchClientOptions(portBase, workDir), errors);
  if (!client.start() || client.loginAndList() != pom::Outcome::Done) return result;
  pom::WebCommands web(client, out);
  std::int32_t folderId = 0;
  if (web.openFolder("", folderId) != pom::Outcome::Done) return result;
  pom::UploadModule& uploads = client.app().module<pom::UploadModule>();
  uploads.openWindow();
  pom::UploadWindow& window = uploads.window();
  window.setMaxConcurrent(parallel);
  for (const std::string& file : files) {
    if (!uploads.queueFile(pom::utf8ToCp949(file))) return result;
  }
  window.start();
  auto sending = [&] {
    for (const pom::UploadJob& job : window.jobs()) {
      if (job.state == pom::UploadState::Sending) return true;
    }
    return false;
  };
  auto done = [&] {
    for (const pom::UploadJob& job : window.jobs()) {
      if (job.state != pom::UploadState::Completed && job.state != pom::UploadState::Failed)
        return false;
    }
    return true;
  };
  if (!client.waitUntil(sending)) return result;
  const auto start = Clock::now();
  const double cpuStart = threadCpuSeconds();
  if (!client.waitUntil(done)) return result;
  result.seconds = secondsSince(start);
  result.cpu = threadCpuSeconds() - cpuStart;
  result.ok = true;
  for (const pom::UploadJob& job : window.jobs())
    result.ok &= job.state == pom::UploadState::Completed;
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const std::int64_t mib = argc > 1 ? std::atoll(argv[1]) : 256;
  const std::int64_t size = mib << 20;
  const fs::path self = fs::canonical("/proc/self/exe");
  const std::string pomcli = (self.parent_path().parent_path() / "src/cli/pomcli").string();
  if (!fs::exists(pomcli)) {
    std::fprintf(stderr, "pomcli not built at %s\n", pomcli.c_str());
    return 1;
  }
  const std::string dir =
      fs::temp_directory_path() / ("pom-bench-put-" + std::to_string(::getpid()));
  fs::create_directories(dir + "/client");
  const int portBase = 25000 + (::getpid() % 400) * 10;
  const std::unique_ptr<pom::service::ServiceApp> service = startBenchService(dir, portBase);
  if (!service) return 1;
  pom::service::ServiceApp& app = *service;

  std::printf("preparing a file of %lld MiB and three of a third...\n",
              static_cast<long long>(mib));
  std::fflush(stdout);
  const std::string big = dir + "/big.bin";
  writeRandomFile(big, size, 1);
  std::vector<std::string> parts;
  for (int i = 1; i <= 3; ++i) {
    parts.push_back(dir + "/part" + std::to_string(i) + ".bin");
    writeRandomFile(parts.back(), size / 3, static_cast<std::uint32_t>(1 + i));
  }
  const std::string log = dir + "/children.log";
  const double gib = static_cast<double>(size) / (1 << 30);
  bool ok = true;

  std::printf("file of %lld MiB, best of 3 rounds:\n", static_cast<long long>(mib));
  for (const int chunk : {262144, 1048576}) {
    app.faults().set("upload_chunk_size", std::to_string(chunk));
    const double rtt = chunkRoundTrip(static_cast<std::size_t>(chunk));
    const double cap = chunk / (pom::kChunkPauseMs / 1000.0 + rtt);
    double wall = 1e9, childCpu = 1e9, span = 1e9, spanCpu = 1e9;
    for (int round = 0; round < 3 && ok; ++round) {
      ChildRun run = runChild({pomcli, "put", "--id", "bench", "--password", "bench", "--port-base",
                               std::to_string(portBase), "--workdir", dir + "/client", "--parallel",
                               "1", "--timeout", "60000", big},
                              log);
      ok &= run.ok;
      wall = std::min(wall, run.wall);
      childCpu = std::min(childCpu, run.cpu);
      const InProcessRun inside = uploadInProcess(portBase, dir + "/client", {big}, 1);
      ok &= inside.ok;
      span = std::min(span, inside.seconds);
      spanCpu = std::min(spanCpu, inside.cpu);
    }
    if (!ok) break;
    const double rate = static_cast<double>(size) / span;
    std::printf(
        "  chunk %4d KiB: round trip %.0f us, cap %.1f MiB/s; chunks flowing %.1f MiB/s = "
        "%.3f of the cap, %.2f CPU s per GiB\n",
        chunk / 1024, rtt * 1e6, cap / (1 << 20), rate / (1 << 20), rate / cap, spanCpu / gib);
    std::printf(
        "                 pomcli put %.2f s (%.1f MiB/s with start-up and login), "
        "%.2f CPU s per GiB\n",
        wall, mibPerSecond(size, wall), childCpu / gib);
  }
  app.faults().set("upload_chunk_size", "1048576");
  double one = 1e9, three = 1e9;
  for (int round = 0; round < 3 && ok; ++round) {
    const InProcessRun a = uploadInProcess(portBase, dir + "/client", parts, 1);
    const InProcessRun b = uploadInProcess(portBase, dir + "/client", parts, 3);
    ok &= a.ok && b.ok;
    one = std::min(one, a.seconds);
    three = std::min(three, b.seconds);
  }
  app.stop();
  if (!ok) {
    std::fprintf(stderr, "an upload failed; see %s\n", log.c_str());
    return 1;
  }
  fs::remove_all(dir);
  std::printf(
      "three files of %lld MiB in 1 MiB chunks: one at a time %.2f s, three at once "
      "%.2f s, ratio %.2f\n",
      static_cast<long long>(size / 3 >> 20), one, three, one / three);
  return 0;
}
