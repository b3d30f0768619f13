// Framed transfer of 1 MiB bodies between two Connections over loopback (an
// upload-sized sender into a download-sized receiver, POSIX loop), against a
// raw TCP stream of the same number of bytes in the same process and run.
// Both sides run in one thread, so the processor time of the process (user
// and system) is the cost of the transfer; rates are bytes per processor
// second, which holds up on a machine that other work is also using.
//
//   bench_framed [MiB per measurement, default 256] [rounds, default 5]
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <memory>
#include <vector>

#include "core/net/connection.h"
#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_listener.h"
#include "platform/posix/posix_socket.h"

namespace {

constexpr std::size_t kBody = 1 << 20;

class Receiver : public pom::ConnectionHandler {
 public:
  void onRead(pom::Connection& connection) override {
    if (connection.receivePacket()) {
      ++packets;
      bytes += connection.bodyLength();
    }
  }
  std::size_t packets = 0;
  std::size_t bytes = 0;
};

class Sender : public pom::ConnectionHandler {
 public:
  void onRead(pom::Connection&) override {}
  void onConnect(pom::Connection&) override { connected = true; }
  bool connected = false;
};

// Processor seconds to move `count` framed 1 MiB bodies; negative on failure.
double framedSeconds(std::size_t count) {
  pom::PollLoop loop;
  pom::PosixSocketFactory sockets(loop);
  std::deque<std::unique_ptr<pom::PosixSocket>> accepted;
  pom::PosixListener listener(
      loop, [&](std::unique_ptr<pom::PosixSocket> s) { accepted.push_back(std::move(s)); });
  if (!listener.listen("127.0.0.1", 0)) return -1;
  Sender sent;
  Receiver received;
  pom::Connection sender(sockets, pom::kUploadSessionKind, 0, &sent);
  pom::Connection receiver(sockets, pom::kDownloadSessionKind, 0, &received);
  sender.initialise();
  sender.connectTo("127.0.0.1", listener.port());
  if (!loop.runUntil([&] { return sent.connected && !accepted.empty(); }, 5000)) return -1;
  receiver.attach(std::move(accepted.front()));

  std::vector<std::uint8_t> body(kBody);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 7);
  std::size_t queued = 0;
  const std::clock_t start = std::clock();
  const bool done = loop.runUntil(
      [&] {
        while (queued < count && sender.queue(body.data(), body.size())) ++queued;
        return received.packets == count;
      },
      120000);
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  return done && received.bytes == count * kBody ? seconds : -1;
}

// Processor seconds to move the same bytes (bodies plus frame overhead) as a raw
// stream between two non-blocking loopback sockets in one thread.
double rawSeconds(std::size_t count) {
  const int server = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(server, 1) != 0 ||
      ::getsockname(server, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return -1;
  }
  const int out = ::socket(AF_INET, SOCK_STREAM, 0);
  if (::connect(out, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
  const int in = ::accept4(server, nullptr, nullptr, SOCK_NONBLOCK);
  ::close(server);
  if (in < 0) return -1;
  ::fcntl(out, F_SETFL, O_NONBLOCK);

  const std::size_t total = count * (kBody + pom::kPacketOverhead);
  std::vector<std::uint8_t> source(kBody + pom::kPacketOverhead, 0x5A), sinkBuffer(source.size());
  std::size_t sent = 0, received = 0;
  const std::clock_t start = std::clock();
  while (received < total) {
    pollfd fds[2] = {{out, static_cast<short>(sent < total ? POLLOUT : 0), 0}, {in, POLLIN, 0}};
    if (::poll(fds, 2, 5000) <= 0) break;
    if ((fds[0].revents & POLLOUT) != 0) {
      const std::size_t offset = sent % source.size();
      const std::size_t want = std::min(source.size() - offset, total - sent);
      const ssize_t n = ::send(out, source.data() + offset, want, MSG_NOSIGNAL);
      if (n > 0) sent += static_cast<std::size_t>(n);
    }
    if ((fds[1].revents & POLLIN) != 0) {
      const ssize_t n = ::recv(in, sinkBuffer.data(), sinkBuffer.size(), 0);
      if (n > 0) received += static_cast<std::size_t>(n);
    }
  }
  const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  ::close(out);
  ::close(in);
  return received == total ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 256;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const double bytesRaw = count * (kBody + pom::kPacketOverhead) / 1e6;
  const double bytesFramed = count * kBody / 1e6;
  double framedBest = 0, rawBest = 0, framedTotal = 0, rawTotal = 0;
  for (int round = 0; round < rounds; ++round) {
    // Alternate the two so that drift on a shared machine hits both alike.
    const double raw = rawSeconds(count);
    const double framed = framedSeconds(count);
    if (raw <= 0 || framed <= 0) {
      std::printf("framed transfer: a measurement failed (raw %.3f s, framed %.3f s)\n", raw,
                  framed);
      return 1;
    }
    std::printf("round %d: raw %.1f MB/s, framed %.1f MB/s\n", round + 1, bytesRaw / raw,
                bytesFramed / framed);
    rawBest = round == 0 ? raw : std::min(rawBest, raw);
    framedBest = round == 0 ? framed : std::min(framedBest, framed);
    rawTotal += raw;
    framedTotal += framed;
  }
  // The best round of each is the least disturbed by other work; the totals
  // are given too.
  std::printf("framed 1 MiB bodies over loopback: best %.1f MB/s, overall %.1f MB/s\n",
              bytesFramed / framedBest, rounds * bytesFramed / framedTotal);
  std::printf(
      "framed baseline: raw TCP stream of the same bytes: best %.1f MB/s, overall %.1f MB/s\n",
      bytesRaw / rawBest, rounds * bytesRaw / rawTotal);
  std::printf("framed ratio framed/raw: best %.2f, overall %.2f\n",
              (bytesFramed / framedBest) / (bytesRaw / rawBest),
              (bytesFramed / framedTotal) / (bytesRaw / rawTotal));
  return 0;
}
