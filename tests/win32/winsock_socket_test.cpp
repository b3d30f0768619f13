// WinsockSocket against real loopback peers: notifications through a window,
// the connect outcomes, the self-signalled write, linger and a large echo.
#include "platform/win32/winsock_socket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "support/loopback.h"
#include "support/message_pump.h"

namespace pom {
namespace {

using test::Notification;
using test::pumpUntil;

constexpr std::uint32_t kMessage = 1034;
constexpr DWORD kWaitMs = 5000;

class WinsockSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    factory.setWindow(window.handle());
    window.add(&sink);
    socket = factory.createSocket();
    socket->bind(&sink, kMessage);
  }

  // Creates, starts a non-blocking connect to 127.0.0.1:port and waits for
  // its outcome. Returns the connect notification.
  Notification connectAndWait(std::uint16_t port) {
    EXPECT_TRUE(socket->create());
    EXPECT_TRUE(socket->setLingerZero());
    EXPECT_TRUE(socket->selectConnect());
    EXPECT_FALSE(socket->connect("127.0.0.1", port));
    EXPECT_EQ(socket->lastError(), SocketError::WouldBlock);
    EXPECT_TRUE(pumpUntil([&] { return sink.saw(SocketEvent::Connect); }, kWaitMs));
    return sink.seen.empty() ? Notification{0, 0, 0} : sink.seen.front();
  }

  test::SocketWindow window;
  test::RecordingSink sink{kMessage};
  WinsockSocketFactory factory;
  std::unique_ptr<TcpSocket> socket;
};

TEST(WinsockStartup, GrantsExactlyVersionTwoTwo) {
  ASSERT_TRUE(startWinsock());
  WSACleanup();
}

TEST_F(WinsockSocketTest, CreateOnOpenSocketFailsAndKeepsTheHandle) {
  EXPECT_EQ(socket->handle(), -1);
  EXPECT_FALSE(socket->close());
  ASSERT_TRUE(socket->create());
  const std::intptr_t handle = socket->handle();
  EXPECT_NE(handle, -1);
  EXPECT_FALSE(socket->create());
  EXPECT_EQ(socket->handle(), handle);
  EXPECT_TRUE(socket->isOpen());
  EXPECT_TRUE(socket->close());
  EXPECT_EQ(socket->handle(), -1);
  EXPECT_FALSE(socket->isOpen());
}

TEST_F(WinsockSocketTest, ConnectReportsConnectThenWriteOnceTrafficIsSelected) {
  test::Listener listener;
  ASSERT_TRUE(listener.ok());
  const Notification connected = connectAndWait(listener.port());
  EXPECT_EQ(connected.message, kMessage);
  EXPECT_EQ(connected.wParam, static_cast<std::uintptr_t>(socket->handle()));
  EXPECT_EQ(connected.lParam, makeSocketLParam(SocketEvent::Connect));
  // Only the connect event was selected: nothing else may have arrived.
  EXPECT_EQ(sink.seen.size(), 1u);

  ASSERT_TRUE(socket->selectTraffic());
  EXPECT_TRUE(pumpUntil([&] { return sink.saw(SocketEvent::Write); }, kWaitMs));
  SOCKET peer = listener.accept(kWaitMs);
  ASSERT_NE(peer, INVALID_SOCKET);
  closesocket(peer);
}

TEST_F(WinsockSocketTest, ConnectByNameResolvesLocalhost) {
  test::Listener listener;
  ASSERT_TRUE(socket->create());
  ASSERT_TRUE(socket->selectConnect());
  EXPECT_FALSE(socket->connect("localhost", listener.port()));
  EXPECT_EQ(socket->lastError(), SocketError::WouldBlock);
  ASSERT_TRUE(pumpUntil([&] { return sink.saw(SocketEvent::Connect); }, kWaitMs));
  EXPECT_EQ(sink.seen.front().error(), 0);
}

TEST_F(WinsockSocketTest, RefusedConnectArrivesAsConnectWithError10061) {
  const Notification outcome = connectAndWait(test::unusedPort());
  EXPECT_EQ(outcome.event(), static_cast<int>(SocketEvent::Connect));
  EXPECT_EQ(outcome.error(), 10061);
  EXPECT_EQ(outcome.lParam, makeSocketLParam(SocketEvent::Connect, SocketError::ConnectionRefused));
}

TEST_F(WinsockSocketTest, UnresolvableHostFailsWithInvalidAndNoAttempt) {
  ASSERT_TRUE(socket->create());
  ASSERT_TRUE(socket->selectConnect());
  EXPECT_FALSE(socket->connect("no-such-host.invalid", 7031));
  EXPECT_EQ(socket->lastError(), SocketError::Invalid);
  EXPECT_EQ(WSAGetLastError(), 10022);
  // An attempt would report its outcome as a connect notification.
  test::pumpFor(300);
  EXPECT_TRUE(sink.seen.empty());
}

TEST_F(WinsockSocketTest, NullHostIsRefusedNotDereferenced) {
  ASSERT_TRUE(socket->create());
  EXPECT_FALSE(socket->connect(nullptr, 7031));
  EXPECT_EQ(socket->lastError(), SocketError::Invalid);
}

TEST_F(WinsockSocketTest, SignalWriteReachesTheSinkBeforeReturning) {
  ASSERT_TRUE(socket->create());
  socket->signalWrite();
  ASSERT_EQ(sink.seen.size(), 1u);
  EXPECT_EQ(sink.seen[0].message, kMessage);
  EXPECT_EQ(sink.seen[0].wParam, static_cast<std::uintptr_t>(socket->handle()));
  EXPECT_EQ(sink.seen[0].lParam, 2);
}

TEST_F(WinsockSocketTest, OtherMessageNumbersStayWithTheirOwnSink) {
  test::RecordingSink other(1054);
  window.add(&other);
  ASSERT_TRUE(socket->create());
  socket->signalWrite();
  EXPECT_EQ(sink.seen.size(), 1u);
  EXPECT_TRUE(other.seen.empty());
}

TEST_F(WinsockSocketTest, PeerCloseArrivesAsClose) {
  test::Listener listener;
  connectAndWait(listener.port());
  ASSERT_TRUE(socket->selectTraffic());
  SOCKET peer = listener.accept(kWaitMs);
  ASSERT_NE(peer, INVALID_SOCKET);
  closesocket(peer);
  EXPECT_TRUE(pumpUntil([&] { return sink.saw(SocketEvent::Close); }, kWaitMs));
}

TEST_F(WinsockSocketTest, LingerIsOnWithZeroTimeout) {
  ASSERT_TRUE(socket->create());
  ASSERT_TRUE(socket->setLingerZero());
  linger option{0, 99};
  int length = sizeof option;
  ASSERT_EQ(getsockopt(static_cast<SOCKET>(socket->handle()), SOL_SOCKET, SO_LINGER,
                       reinterpret_cast<char*>(&option), &length),
            0);
  EXPECT_NE(option.l_onoff, 0);
  EXPECT_EQ(option.l_linger, 0);
}

// Sends 1 MiB through a small send buffer, so that send runs into
// WSAEWOULDBLOCK and the rest must wait for the re-armed FD_WRITE.
TEST_F(WinsockSocketTest, LargeEchoResumesAfterWouldBlock) {
  test::EchoServer echo;
  connectAndWait(echo.port());
  ASSERT_EQ(sink.seen.front().error(), 0);
  int small = 8192;
  setsockopt(static_cast<SOCKET>(socket->handle()), SOL_SOCKET, SO_SNDBUF,
             reinterpret_cast<const char*>(&small), sizeof small);

  std::vector<unsigned char> out(1 << 20);
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<unsigned char>(i * 7 + i / 251);
  std::vector<unsigned char> in;
  in.reserve(out.size());
  std::size_t sent = 0;
  int wouldBlocks = 0;
  int writesAfterWouldBlock = 0;
  bool failed = false;
  sink.reaction = [&](const Notification& n) {
    if (n.error() != 0) {
      failed = true;
      return;
    }
    if (n.event() == static_cast<int>(SocketEvent::Write)) {
      if (wouldBlocks > 0) ++writesAfterWouldBlock;
      while (sent < out.size()) {
        const int r = socket->send(out.data() + sent, out.size() - sent);
        if (r < 0) {
          if (socket->lastError() == SocketError::WouldBlock)
            ++wouldBlocks;
          else
            failed = true;
          break;
        }
        sent += static_cast<std::size_t>(r);
      }
    } else if (n.event() == static_cast<int>(SocketEvent::Read)) {
      unsigned char buffer[16384];
      const int r = socket->receive(buffer, sizeof buffer);
      if (r > 0) in.insert(in.end(), buffer, buffer + r);
    } else if (n.event() == static_cast<int>(SocketEvent::Close)) {
      failed = true;
    }
  };
  ASSERT_TRUE(socket->selectTraffic());
  EXPECT_TRUE(pumpUntil([&] { return failed || in.size() >= out.size(); }, 30000));
  EXPECT_FALSE(failed);
  EXPECT_EQ(sent, out.size());
  EXPECT_GT(wouldBlocks, 0);
  EXPECT_GE(writesAfterWouldBlock, wouldBlocks);
  EXPECT_TRUE(in == out);
}

}  // namespace
}  // namespace pom
