// Connections over real loopback sockets with the POSIX backend.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <random>
#include <vector>

#include "core/net/connection.h"
#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_listener.h"
#include "platform/posix/posix_socket.h"
#include "support/recording_connection.h"

namespace pom {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t kTimeoutMs = 10000;

using Endpoint = RecordingConnection;

class LoopbackTest : public ::testing::Test {
 protected:
  LoopbackTest()
      : sockets(loop), listener(loop, [this](std::unique_ptr<PosixSocket> s) {
          accepted.push_back(std::move(s));
        }) {}

  void SetUp() override { ASSERT_TRUE(listener.listen("127.0.0.1", 0)); }

  // Connects client to the listener and attaches the accepted socket to server.
  void connectPair(Endpoint& client, Endpoint& server) {
    ASSERT_TRUE(client.initialise());
    client.connectTo("127.0.0.1", listener.port());
    ASSERT_TRUE(
        loop.runUntil([&] { return client.connects == 1 && !accepted.empty(); }, kTimeoutMs));
    ASSERT_TRUE(server.attach(std::move(accepted.front())));
    accepted.pop_front();
  }

  PollLoop loop;
  PosixSocketFactory sockets;
  PosixListener listener;
  std::deque<std::unique_ptr<PosixSocket>> accepted;
};

Bytes randomBody(std::mt19937& random, std::size_t length) {
  Bytes body(length);
  for (auto& b : body) b = static_cast<std::uint8_t>(random());
  return body;
}

// Queues every body, waiting whenever the send buffer is full, and runs the
// loop until the receiver has them all.
void transfer(PollLoop& loop, Endpoint& from, Endpoint& to, const std::vector<Bytes>& bodies) {
  std::size_t next = 0;
  const std::size_t before = to.bodies.size();
  const bool done = loop.runUntil(
      [&] {
        while (next < bodies.size() && from.queue(bodies[next].data(), bodies[next].size())) ++next;
        return to.bodies.size() == before + bodies.size();
      },
      kTimeoutMs * 3);
  ASSERT_TRUE(done) << "received " << to.bodies.size() - before << " of " << bodies.size();
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    ASSERT_EQ(to.bodies[before + i], bodies[i]) << "packet " << i;
  }
}

TEST_F(LoopbackTest, EncipheredPacketsOfEverySizeArriveIntact) {
  Endpoint client(sockets, kMainServerKind), server(sockets, kMainServerKind);
  ASSERT_TRUE(client.enciphered && server.enciphered);
  connectPair(client, server);

  std::mt19937 random(42);
  std::vector<Bytes> bodies;
  for (std::size_t length : {0, 1, 7, 8, 9, 15, 16, 38, 1000, 4093, 65536}) {
    bodies.push_back(randomBody(random, length));
  }
  // The largest body both buffers take: fill + length + 12 < 262,144 on the
  // way out, total < 262,144 on the way in.
  const std::size_t largest = kMainServerKind.sendCapacity - kPacketOverhead - 1;
  for (int i = 0; i < 6; ++i) bodies.push_back(randomBody(random, largest - i * 3));
  for (int i = 0; i < 200; ++i) bodies.push_back(randomBody(random, random() % 3000));

  transfer(loop, client, server, bodies);
  transfer(loop, server, client, bodies);
  EXPECT_EQ(client.closes + server.closes, 0);

  Bytes tooBig(largest + 1);
  EXPECT_FALSE(client.queue(tooBig.data(), tooBig.size()));
}

TEST_F(LoopbackTest, LargeDataSessionBodiesArriveIntact) {
  // Upload-sized send buffer into a download-sized receive buffer.
  Endpoint client(sockets, kUploadSessionKind), server(sockets, kDownloadSessionKind);
  connectPair(client, server);
  std::mt19937 random(5);
  std::vector<Bytes> bodies;
  for (int i = 0; i < 8; ++i) bodies.push_back(randomBody(random, 1048576 + i));
  transfer(loop, client, server, bodies);
}

TEST_F(LoopbackTest, RefusedConnectReportsOnClose) {
  PosixListener closed(loop, nullptr);
  ASSERT_TRUE(closed.listen("127.0.0.1", 0));
  const std::uint16_t port = closed.port();
  closed.close();

  Endpoint client(sockets, kMainServerKind);
  ASSERT_TRUE(client.initialise());
  EXPECT_FALSE(client.connectTo("127.0.0.1", port));
  ASSERT_TRUE(loop.runUntil([&] { return client.closes > 0; }, kTimeoutMs));
  EXPECT_EQ(client.connects, 0);
  EXPECT_FALSE(client.isOpen());
}

TEST_F(LoopbackTest, SendMessageReconnectsAfterTheServerDropsUs) {
  Endpoint client(sockets, kMainServerKind), server(sockets, kMainServerKind);
  connectPair(client, server);
  server.reset();  // linger 0: the client sees a reset
  ASSERT_TRUE(loop.runUntil([&] { return client.closes == 1; }, kTimeoutMs));
  ASSERT_FALSE(client.isOpen());

  const Bytes body = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_TRUE(client.sendMessage(body.data(), body.size()));
  ASSERT_TRUE(loop.runUntil([&] { return !accepted.empty() && client.connects == 2; }, kTimeoutMs));
  Endpoint again(sockets, kMainServerKind);
  ASSERT_TRUE(again.attach(std::move(accepted.front())));
  ASSERT_TRUE(loop.runUntil([&] { return !again.bodies.empty(); }, kTimeoutMs));
  EXPECT_EQ(again.bodies[0], body) << "queued while connecting, sent once connected";
}

// Raw socket semantics of the backend, as the connection relies on them.
class RecordingSink : public SocketNotificationSink {
 public:
  int onSocketMessage(std::uint32_t message, std::uintptr_t, std::intptr_t lParam) override {
    events.push_back(static_cast<std::uint32_t>(lParam));
    if (onEvent) onEvent(static_cast<std::uint32_t>(lParam));
    return static_cast<int>(lParam & 0xFFFF);
  }
  std::vector<std::uint32_t> events;
  std::function<void(std::uint32_t)> onEvent;
};

TEST_F(LoopbackTest, SocketReportsReadsThenAnOrderlyClose) {
  PosixSocket client(loop);
  RecordingSink sink;
  client.bind(&sink, 1064);
  ASSERT_TRUE(client.create());
  EXPECT_FALSE(client.create()) << "a second create keeps the open handle";
  ASSERT_TRUE(client.selectConnect());
  EXPECT_FALSE(client.connect("127.0.0.1", listener.port()));
  EXPECT_EQ(client.lastError(), SocketError::WouldBlock);
  ASSERT_TRUE(loop.runUntil([&] { return !sink.events.empty() && !accepted.empty(); }, kTimeoutMs));
  EXPECT_EQ(sink.events[0], static_cast<std::uint32_t>(makeSocketLParam(SocketEvent::Connect)));
  client.selectTraffic();

  std::unique_ptr<PosixSocket> server = std::move(accepted.front());
  const char text[] = "hello, peer";
  ASSERT_EQ(server->send(text, sizeof text), static_cast<int>(sizeof text));
  server->close();  // no linger option: an orderly shutdown after the data

  // Read in small pieces: reads are reported while bytes remain, the close
  // only after the last byte was taken.
  std::string got;
  bool closed = false;
  sink.onEvent = [&](std::uint32_t lParam) {
    if ((lParam & 0xFFFF) == static_cast<std::uint32_t>(SocketEvent::Read)) {
      EXPECT_FALSE(closed);
      char piece[4];
      const int n = client.receive(piece, sizeof piece);
      if (n > 0) got.append(piece, n);
    } else if ((lParam & 0xFFFF) == static_cast<std::uint32_t>(SocketEvent::Close)) {
      EXPECT_EQ(lParam >> 16, 0u) << "orderly: no error";
      closed = true;
    }
  };
  ASSERT_TRUE(loop.runUntil([&] { return closed; }, kTimeoutMs));
  EXPECT_EQ(got, std::string(text, sizeof text));
}

TEST_F(LoopbackTest, UnresolvableHostFailsWithInvalidAndNoAttempt) {
  PosixSocket client(loop);
  RecordingSink sink;
  client.bind(&sink, 1034);
  ASSERT_TRUE(client.create());
  client.selectConnect();
  EXPECT_FALSE(client.connect("", 7031));
  EXPECT_EQ(client.lastError(), SocketError::Invalid);
  loop.runFor(50);
  EXPECT_TRUE(sink.events.empty());
}

}  // namespace
}  // namespace pom
