// Two core Connections over the Win32 backend, talking to each other on
// loopback: framing, the cipher, partial sends and reads, and reconnection.
#include "core/net/connection.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/win32/winsock_socket.h"
#include "support/loopback.h"
#include "support/message_pump.h"
#include "support/recording_connection.h"

namespace pom {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::pumpUntil;

constexpr DWORD kWaitMs = 10000;

Bytes makeBody(std::uint32_t type, std::size_t length) {
  Bytes body(length);
  for (std::size_t i = 0; i < length; ++i) body[i] = static_cast<std::uint8_t>(i * 13 + length);
  for (std::size_t i = 0; i < 4 && i < length; ++i)
    body[i] = static_cast<std::uint8_t>(type >> (8 * i));
  return body;
}

class Win32ConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(listener.ok());
    window.add(&client);
    window.add(&server);
  }

  // Starts the client's connect, accepts it and hands the accepted socket to
  // the server side; waits until the client's connect handler ran.
  void connectPair() {
    const int before = client.connects;
    ASSERT_TRUE(client.initialise());
    EXPECT_FALSE(client.connectTo("127.0.0.1", listener.port()));
    const SOCKET accepted = listener.accept(kWaitMs);
    ASSERT_NE(accepted, INVALID_SOCKET);
    ASSERT_TRUE(server.attach(factory.adoptSocket(accepted)));
    ASSERT_TRUE(pumpUntil([&] { return client.connects > before; }, kWaitMs));
  }

  test::SocketWindow window;
  WinsockSocketFactory factory{window.handle()};
  test::Listener listener;
  RecordingConnection client{factory, kMainServerKind};
  RecordingConnection server{factory, kMainServerKind};
};

TEST_F(Win32ConnectionTest, EncipheredPacketsCrossInBothDirections) {
  connectPair();
  // Bodies around the cipher's block size, and one far larger than a
  // socket buffer so that sending and reading happen in pieces.
  const std::vector<Bytes> requests = {makeBody(1, 4), makeBody(2, 7), makeBody(3, 8),
                                       makeBody(4, 38), makeBody(5, 200000)};
  for (const Bytes& body : requests) ASSERT_TRUE(client.queue(body.data(), body.size()));
  ASSERT_TRUE(pumpUntil([&] { return server.bodies.size() >= requests.size(); }, kWaitMs));
  EXPECT_EQ(server.bodies, requests);

  const std::vector<Bytes> replies = {makeBody(51, 16), makeBody(52, 150001)};
  for (const Bytes& body : replies) ASSERT_TRUE(server.queue(body.data(), body.size()));
  ASSERT_TRUE(pumpUntil([&] { return client.bodies.size() >= replies.size(); }, kWaitMs));
  EXPECT_EQ(client.bodies, replies);
  EXPECT_EQ(client.sendFill(), 0u);
  EXPECT_EQ(server.sendFill(), 0u);
  EXPECT_EQ(client.closes + server.closes, 0);
}

// The server drops the session; the next message reconnects to the
// remembered host and port and is delivered on the new connection.
TEST_F(Win32ConnectionTest, SendMessageAfterTheServerDroppedReconnectsAndDelivers) {
  connectPair();
  server.reset();
  ASSERT_TRUE(pumpUntil([&] { return client.closes > 0; }, kWaitMs));
  ASSERT_FALSE(client.isOpen());
  const Bytes body = makeBody(9, 64);
  EXPECT_TRUE(client.sendMessage(body.data(), body.size()));
  EXPECT_TRUE(client.isOpen());
  EXPECT_EQ(client.host(), "127.0.0.1");
  const SOCKET accepted = listener.accept(kWaitMs);
  ASSERT_NE(accepted, INVALID_SOCKET);
  ASSERT_TRUE(server.attach(factory.adoptSocket(accepted)));
  ASSERT_TRUE(pumpUntil([&] { return !server.bodies.empty(); }, kWaitMs));
  EXPECT_EQ(server.bodies.front(), body);
}

TEST_F(Win32ConnectionTest, RefusedConnectResetsTheConnection) {
  const std::uint16_t port = test::unusedPort();
  ASSERT_TRUE(client.initialise());
  EXPECT_FALSE(client.connectTo("127.0.0.1", port));
  ASSERT_TRUE(pumpUntil([&] { return client.closes > 0; }, kWaitMs));
  EXPECT_EQ(client.connects, 0);
  EXPECT_FALSE(client.isOpen());
}

}  // namespace
}  // namespace pom
