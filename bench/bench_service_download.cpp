// Download throughput of the storage server into a client Connection that
// writes to disk, against a raw loopback TCP stream of the same bytes (read
// from the same body file, written to disk the same way) in the same run.
//
//   bench_service_download [MiB]   (default 1024)
//
// Prints both rates (best of three alternating rounds) and the ratio
// service / raw.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/raw_stream.h"
#include "core/net/connection.h"
#include "core/net/messages/messages.h"
#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_socket.h"
#include "service/demo_data.h"
#include "service/service_app.h"
#include "service/tickets.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// A download session as the client's engine runs it: every FileData is
// written straight from the receive buffer to the file.
class WritingSession : public pom::Connection, private pom::ConnectionHandler {
 public:
  WritingSession(pom::SocketFactory& sockets, int out)
      : Connection(sockets, pom::kDownloadSessionKind, 0, this), out_(out) {}
  bool connected = false;
  bool ended = false;
  std::int64_t written = 0;

 private:
  void onRead(pom::Connection&) override {
    if (!receivePacket()) {
      if (!isOpen()) ended = true;
      return;
    }
    auto type = pom::bodyType(body(), bodyLength());
    if (type && *type == 5) {
      auto view = pom::FileData::view(body(), bodyLength());
      if (view) written += ::write(out_, view->data, view->size);
    } else if (type && *type == 6) {
      ended = true;
    }
  }
  void onConnect(pom::Connection&) override { connected = isOpen(); }
  void onClose(pom::Connection&) override { ended = true; }
  int out_;
};

// Receives one download into `path`; returns bytes written.
std::int64_t serviceDownload(pom::service::ServiceApp& app, std::int32_t fileId,
                             const std::string& path) {
  pom::PollLoop loop;
  pom::PosixSocketFactory sockets(loop);
  int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  WritingSession session(sockets, out);
  session.initialise();
  session.connectTo(app.ports().storageHost, app.ports().downloadPort);
  if (!loop.runUntil([&] { return session.connected || session.ended; }, 3000)) return -1;
  pom::DownloadRequest request;
  request.fileId = fileId;
  request.memberId = "bench";
  request.password = "bench";
  request.path = pom::service::downloadPathsFor(*app.store().item(fileId)).joined();
  pom::Bytes body = request.encode();
  session.queue(body.data(), body.size());
  while (!session.ended) loop.runOnce(1000);
  ::close(out);
  return session.written;
}

}  // namespace

int main(int argc, char** argv) {
  std::int64_t mib = argc > 1 ? std::atoll(argv[1]) : 1024;
  std::string dir =
      std::filesystem::temp_directory_path() / ("pom-bench-dl-" + std::to_string(::getpid()));
  pom::service::ServiceOptions options;
  options.dataDir = dir + "/data";
  options.ports = pom::service::ServicePorts::withBase(23000 + (::getpid() % 500) * 10, false);
  options.web = false;
  options.seed = false;
  std::filesystem::create_directories(dir);
  pom::service::ServiceApp app(options);
  std::string error;
  if (!app.start(&error)) {
    std::fprintf(stderr, "cannot start the service: %s\n", error.c_str());
    return 1;
  }
  pom::service::Member member;
  member.id = "bench";
  member.password = "bench";
  member.flatRate = 1;
  app.store().addMember(member);
  std::int64_t size = mib << 20;
  std::printf("preparing a %lld MiB body...\n", static_cast<long long>(mib));
  std::fflush(stdout);
  std::int32_t id = pom::service::addGeneratedFile(app.store(), "bench", 0, "big.bin", size);

  // Warm the page cache of the body for both runs alike.
  pom::bench::rawDownload(app.store().bodyPath(id), size, dir + "/warm.bin");
  std::filesystem::remove(dir + "/warm.bin");
  ::sync();

  // Alternate the two, three rounds each; the best round of each counts, so
  // that a burst of other work on the machine does not decide the ratio.
  double rawSeconds = 1e9, serviceSeconds = 1e9;
  std::int64_t raw = 0, got = 0;
  for (int round = 0; round < 3; ++round) {
    auto start = Clock::now();
    raw = pom::bench::rawDownload(app.store().bodyPath(id), size, dir + "/raw.bin");
    rawSeconds = std::min(rawSeconds, seconds(start));
    std::filesystem::remove(dir + "/raw.bin");
    ::sync();  // both runs start without dirty pages from the other

    start = Clock::now();
    got = serviceDownload(app, id, dir + "/service.bin");
    serviceSeconds = std::min(serviceSeconds, seconds(start));
    std::filesystem::remove(dir + "/service.bin");
    ::sync();
    if (raw != size || got != size) break;
  }

  app.stop();
  std::filesystem::remove_all(dir);
  if (raw != size || got != size) {
    std::fprintf(stderr, "incomplete transfer: raw %lld, service %lld of %lld\n",
                 static_cast<long long>(raw), static_cast<long long>(got),
                 static_cast<long long>(size));
    return 1;
  }
  double rawRate = static_cast<double>(size) / rawSeconds / (1 << 20);
  double serviceRate = static_cast<double>(size) / serviceSeconds / (1 << 20);
  std::printf("raw loopback stream : %8.1f MiB/s (%.2f s)\n", rawRate, rawSeconds);
  std::printf("storage server      : %8.1f MiB/s (%.2f s)\n", serviceRate, serviceSeconds);
  std::printf("ratio service/raw   : %.2f\n", serviceRate / rawRate);
  return 0;
}
