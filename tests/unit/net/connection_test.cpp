#include "core/net/connection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/net/packet_cipher.h"
#include "support/fake_socket.h"
#include "support/recording_connection.h"

namespace pom {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes le32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

Bytes frame(const Bytes& body, std::uint32_t endMarker = kPacketEndMarker) {
  Bytes out = le32(kPacketStartMarker);
  const Bytes total = le32(static_cast<std::uint32_t>(body.size() + 12));
  out.insert(out.end(), total.begin(), total.end());
  out.insert(out.end(), body.begin(), body.end());
  const Bytes end = le32(endMarker);
  out.insert(out.end(), end.begin(), end.end());
  return out;
}

Bytes pattern(std::size_t n, std::uint8_t seed = 1) {
  Bytes out(n);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(seed + i * 13);
  return out;
}

class ConnectionTest : public ::testing::Test {
 protected:
  // A small connection unless a test builds its own.
  void open(RecordingConnection& c) {
    ASSERT_TRUE(c.initialise());
    c.connectTo("127.0.0.1", 7031);
    sockets.last().deliver(SocketEvent::Connect);
  }
  FakeSocketFactory sockets;
};

TEST_F(ConnectionTest, QueueFramesAndFlushesBeforeReturning) {
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  FakeSocket& s = sockets.last();
  EXPECT_TRUE(c.queue(nullptr, 0));
  EXPECT_EQ(s.sent(), frame({})) << "an empty body is a 12-byte packet";
  EXPECT_EQ(c.writes, 1);
  EXPECT_EQ(c.sendFill(), 0u);

  s.clearSent();
  const Bytes body = pattern(7);
  EXPECT_TRUE(c.queue(body.data(), body.size()));
  EXPECT_EQ(s.sent(), frame(body)) << "unenciphered connections send bodies as they are";
}

TEST_F(ConnectionTest, EnciphersWholeBlocksOfTheBodyOnly) {
  RecordingConnection c(sockets, kMainServerKind);
  ASSERT_TRUE(c.enciphered);
  open(c);
  for (std::size_t length : {38u, 8u, 7u}) {
    sockets.last().clearSent();
    const Bytes body = pattern(length, static_cast<std::uint8_t>(length));
    ASSERT_TRUE(c.queue(body.data(), body.size()));
    Bytes expected = body;
    PacketCipher::instance().encipherBody(expected.data(), expected.size());
    EXPECT_EQ(sockets.last().sent(), frame(expected)) << length;
    const std::size_t clear = length % 8;
    EXPECT_TRUE(std::equal(body.end() - clear, body.end(), sockets.last().sent().end() - 4 - clear))
        << "the last " << clear << " bytes travel in clear";
    if (length >= 8) {
      EXPECT_NE(expected, body);
    }
  }
}

TEST_F(ConnectionTest, RefusesAPacketThatWouldReachTheCapacity) {
  RecordingConnection c(sockets, kMainServerKind);
  c.enciphered = false;
  open(c);
  FakeSocket& s = sockets.last();
  s.setSendBlocked(true);
  const Bytes big(262000 - 12, 0x41);
  ASSERT_TRUE(c.queue(big.data(), big.size()));
  ASSERT_EQ(c.sendFill(), 262000u);

  const int writesBefore = c.writes;
  const Bytes b133(133, 1), b131(131, 2);
  EXPECT_FALSE(c.queue(b133.data(), b133.size()));
  EXPECT_EQ(c.sendFill(), 262000u);
  EXPECT_EQ(c.writes, writesBefore) << "a refused message signals nothing";
  EXPECT_TRUE(c.queue(b131.data(), b131.size()));
  EXPECT_EQ(c.sendFill(), 262143u);
  EXPECT_FALSE(c.queue(nullptr, 0)) << "even an empty packet no longer fits";

  // Absurd lengths are refused without wrapping arithmetic.
  EXPECT_FALSE(c.queue(b131.data(), static_cast<std::size_t>(-1)));
}

TEST_F(ConnectionTest, PartialSendKeepsTheUnsentBytesAtTheStart) {
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  FakeSocket& s = sockets.last();
  s.scriptSendAccept(100);
  s.scriptSendError(SocketError::WouldBlock);
  const Bytes body = pattern(288);
  const Bytes packet = frame(body);
  ASSERT_TRUE(c.queue(body.data(), body.size()));
  EXPECT_EQ(c.sendFill(), 200u);
  EXPECT_TRUE(std::equal(packet.begin() + 100, packet.end(), c.sendData()));
  EXPECT_EQ(s.sent(), Bytes(packet.begin(), packet.begin() + 100));

  // The next write notification sends the rest; the storage reads as zero.
  s.deliver(SocketEvent::Write);
  EXPECT_EQ(s.sent(), packet);
  EXPECT_EQ(c.sendFill(), 0u);
  for (int i = 0; i < 300; ++i) ASSERT_EQ(c.sendData()[i], 0) << i;
}

TEST_F(ConnectionTest, AnInPlaceBodyIsFramedAtItsCommittedLengthUnderTheQueueRule) {
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  FakeSocket& s = sockets.last();
  s.setSendBlocked(true);
  const Bytes first = pattern(100);
  ASSERT_TRUE(c.queue(first.data(), first.size()));
  ASSERT_EQ(c.sendFill(), 112u);
  EXPECT_EQ(c.reserveBody(900), nullptr) << "112 + 900 + 12 reaches the capacity";

  std::uint8_t* room = c.reserveBody(899);
  ASSERT_NE(room, nullptr);
  const Bytes second = pattern(600, 7);
  std::copy(second.begin(), second.end(), room);
  std::fill(room + 600, room + 899, 0xEE);  // written but not committed
  const int writesBefore = c.writes;
  ASSERT_TRUE(c.commitBody(600));
  EXPECT_EQ(c.writes, writesBefore + 1) << "flushed as queue does";
  EXPECT_EQ(c.sendFill(), 112u + 612u);
  const Bytes framed = frame(second);
  EXPECT_TRUE(std::equal(framed.begin(), framed.end(), c.sendData() + 112));

  // Nothing is queued without an open reservation, beyond it, or at zero.
  EXPECT_FALSE(c.commitBody(5)) << "the reservation was used";
  ASSERT_NE(c.reserveBody(10), nullptr);
  EXPECT_FALSE(c.commitBody(11));
  ASSERT_NE(c.reserveBody(10), nullptr);
  EXPECT_FALSE(c.commitBody(0));
  ASSERT_NE(c.reserveBody(10), nullptr);
  ASSERT_TRUE(c.queue(first.data(), 1));
  EXPECT_FALSE(c.commitBody(1)) << "another packet dropped the reservation";
  EXPECT_EQ(c.sendFill(), 112u + 612u + 13u);
  EXPECT_EQ(c.writes, writesBefore + 2);

  s.setSendBlocked(false);
  s.deliver(SocketEvent::Write);
  Bytes expected = frame(first);
  expected.insert(expected.end(), framed.begin(), framed.end());
  const Bytes third = frame(Bytes(first.begin(), first.begin() + 1));
  expected.insert(expected.end(), third.begin(), third.end());
  EXPECT_EQ(s.sent(), expected);
  for (int i = 0; i < 1024; ++i) ASSERT_EQ(c.sendData()[i], 0) << i;
}

TEST_F(ConnectionTest, ASendThatTakesNothingWaitsForTheNextWriteNotification) {
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  FakeSocket& s = sockets.last();
  // A socket that keeps taking nothing must not hold the loop thread.
  for (int i = 0; i < 3; ++i) s.scriptSendAccept(0);
  const Bytes body = pattern(50);
  ASSERT_TRUE(c.queue(body.data(), body.size()));
  EXPECT_EQ(c.sendFill(), 62u);
  EXPECT_TRUE(s.sent().empty());
  s.deliver(SocketEvent::Write);
  s.deliver(SocketEvent::Write);
  s.deliver(SocketEvent::Write);
  EXPECT_EQ(s.sent(), frame(body));
}

TEST_F(ConnectionTest, SendErrorKeepsQueuedBytesWithoutDuplicates) {
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  FakeSocket& s = sockets.last();
  s.scriptSendAccept(10);
  s.scriptSendError(SocketError::ConnectionReset);
  const Bytes packet = frame(pattern(50));
  ASSERT_TRUE(c.queue(pattern(50).data(), 50));
  // The flush in queue failed after 10 bytes; what stays queued is the rest,
  // so a later flush cannot send the first 10 bytes a second time.
  EXPECT_EQ(c.sendFill(), packet.size() - 10);
  EXPECT_TRUE(c.flush());
  EXPECT_EQ(s.sent(), packet);
}

TEST_F(ConnectionTest, AssemblesAPacketAcrossAnySplit) {
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  FakeSocket& s = sockets.last();
  const Bytes body = pattern(40);
  const Bytes packet = frame(body);

  s.scriptReceive(Bytes(packet.begin(), packet.begin() + 3));
  s.deliver(SocketEvent::Read);
  EXPECT_EQ(c.receivePosition(), 3u);
  EXPECT_TRUE(c.bodies.empty());
  s.scriptReceive(Bytes(packet.begin() + 3, packet.begin() + 8));
  s.deliver(SocketEvent::Read);
  EXPECT_EQ(c.receivePosition(), 8u);
  for (std::size_t i = 8; i < packet.size(); ++i) s.scriptReceive(Bytes{packet[i]});
  s.deliver(SocketEvent::Read);
  ASSERT_EQ(c.bodies.size(), 1u);
  EXPECT_EQ(c.bodies[0], body);
  EXPECT_EQ(c.receivePosition(), 0u);

  // Two packets in one chunk: one per read notification.
  Bytes two = frame(pattern(5));
  const Bytes second = frame(pattern(9, 3));
  two.insert(two.end(), second.begin(), second.end());
  s.scriptReceive(two);
  s.deliver(SocketEvent::Read);
  s.deliver(SocketEvent::Read);
  ASSERT_EQ(c.bodies.size(), 3u);
  EXPECT_EQ(c.bodies[1], pattern(5));
  EXPECT_EQ(c.bodies[2], pattern(9, 3));
  EXPECT_EQ(c.closes, 0);
}

TEST_F(ConnectionTest, DecipheredBodyRoundTripsThroughTheWire) {
  FakeSocketFactory otherSockets;
  RecordingConnection sender(sockets, kMainServerKind);
  RecordingConnection receiver(otherSockets, kMainServerKind);
  open(sender);
  ASSERT_TRUE(receiver.initialise());
  otherSockets.last().deliver(SocketEvent::Connect);
  for (std::size_t length : {0u, 7u, 8u, 38u, 1000u}) {
    sockets.last().clearSent();
    const Bytes body = pattern(length, 9);
    ASSERT_TRUE(sender.queue(body.data(), body.size()));
    otherSockets.last().scriptReceive(sockets.last().sent());
    otherSockets.last().deliver(SocketEvent::Read);
    ASSERT_FALSE(receiver.bodies.empty());
    EXPECT_EQ(receiver.bodies.back(), body) << length;
  }
}

TEST_F(ConnectionTest, BadLengthOrMarkerClosesSilently) {
  struct Case {
    const char* what;
    Bytes bytes;
  };
  Bytes total8 = le32(kPacketStartMarker);
  for (auto b : le32(8)) total8.push_back(b);
  Bytes totalCapacity = le32(kPacketStartMarker);
  for (auto b : le32(256)) totalCapacity.push_back(b);
  Bytes badStart = frame(pattern(4));
  badStart[0] = 0xFE;
  const Case cases[] = {
      {"total 8", total8},
      {"total equal to the capacity", totalCapacity},
      {"end marker FEFEFEFF", frame(pattern(4), 0xFEFEFEFF)},
      {"bad start marker", badStart},
  };
  for (const Case& tc : cases) {
    RecordingConnection c(sockets, plainKind(256, 256));
    open(c);
    FakeSocket& s = sockets.last();
    s.scriptReceive(tc.bytes);
    s.deliver(SocketEvent::Read);
    EXPECT_FALSE(s.isOpen()) << tc.what;
    EXPECT_EQ(s.closes(), 1) << tc.what;
    EXPECT_EQ(c.closes, 0) << tc.what << ": no onClose";
    EXPECT_TRUE(c.bodies.empty()) << tc.what;
    EXPECT_EQ(c.receivePosition(), 0u) << tc.what;
  }

  // One byte below the capacity is still a packet.
  RecordingConnection c(sockets, plainKind(256, 256));
  open(c);
  const Bytes body = pattern(255 - 12);
  sockets.last().scriptReceive(frame(body));
  sockets.last().deliver(SocketEvent::Read);
  ASSERT_EQ(c.bodies.size(), 1u);
  EXPECT_EQ(c.bodies[0], body);
}

TEST_F(ConnectionTest, NewSocketStartsFramingAfresh) {
  // A packet cut off by a close must not be continued on the next socket.
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  const Bytes packet = frame(pattern(20));
  sockets.last().scriptReceive(Bytes(packet.begin(), packet.begin() + 11));
  sockets.last().deliver(SocketEvent::Read);
  ASSERT_EQ(c.receivePosition(), 11u);
  c.close();
  open(c);
  sockets.last().scriptReceive(packet);
  sockets.last().deliver(SocketEvent::Read);
  ASSERT_EQ(c.bodies.size(), 1u);
  EXPECT_EQ(c.bodies[0], pattern(20));
}

TEST_F(ConnectionTest, DispatchesNotificationsByNumberAndError) {
  RecordingConnection c(sockets, plainKind(1024, 1024, 1055));
  ASSERT_TRUE(c.initialise());
  FakeSocket& s = sockets.last();
  EXPECT_EQ(c.onSocketMessage(1034, 0, makeSocketLParam(SocketEvent::Read)), 0);
  EXPECT_EQ(c.onSocketMessage(1056, 0, makeSocketLParam(SocketEvent::Close)), 0);
  EXPECT_EQ(c.reads + c.writes + c.closes + c.connects, 0) << "other numbers leave it untouched";
  EXPECT_TRUE(s.isOpen());

  const auto handle = static_cast<std::uintptr_t>(s.handle());
  EXPECT_EQ(
      c.onSocketMessage(1055, handle, makeSocketLParam(SocketEvent::Read, SocketError::WouldBlock)),
      0);
  EXPECT_EQ(c.reads + c.closes, 0) << "would-block errors are ignored";

  EXPECT_EQ(c.onSocketMessage(1055, handle, 8), 8) << "unknown events are reported, not handled";
  EXPECT_EQ(c.reads + c.writes + c.closes + c.connects, 0);

  EXPECT_EQ(s.deliver(SocketEvent::Read), 1);
  EXPECT_EQ(s.deliver(SocketEvent::Write), 2);
  EXPECT_EQ(s.deliver(SocketEvent::Connect), 16);
  EXPECT_EQ(c.reads, 1);
  EXPECT_EQ(c.writes, 1);
  EXPECT_EQ(c.connects, 1);
  EXPECT_EQ(s.selection(), FakeSocket::Selection::Traffic);
  EXPECT_EQ(s.deliver(SocketEvent::Close), 32);
  EXPECT_EQ(c.closes, 1);
  EXPECT_FALSE(s.isOpen());

  // A refused connect is a close, whatever the event.
  ASSERT_TRUE(c.initialise());
  EXPECT_EQ(s.deliver(SocketEvent::Connect, SocketError::ConnectionRefused), 0);
  EXPECT_EQ(c.connects, 1);
  EXPECT_EQ(c.closes, 2);
  EXPECT_FALSE(s.isOpen());
}

TEST_F(ConnectionTest, ConnectResetsWhenTrafficCannotBeSelected) {
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  ASSERT_TRUE(c.isOpen());
  FakeSocket& s = sockets.last();
  s.setSelectFails(true);
  s.deliver(SocketEvent::Connect);
  EXPECT_FALSE(c.isOpen());
}

TEST_F(ConnectionTest, InitialiseReplacesAnOpenSocket) {
  RecordingConnection c(sockets, kUploadSessionKind, 1);
  ASSERT_TRUE(c.initialise());
  FakeSocket& s = sockets.last();
  EXPECT_TRUE(s.lingerZero());
  EXPECT_EQ(s.messageNumber(), 1045u) << "the upload kind's number for slot 1";
  EXPECT_FALSE(s.create()) << "create on an open socket fails";
  EXPECT_EQ(s.creates(), 1);

  s.setSendBlocked(true);
  c.queue(pattern(10).data(), 10);
  ASSERT_GT(c.sendFill(), 0u);
  ASSERT_TRUE(c.initialise());
  EXPECT_EQ(s.closes(), 1);
  EXPECT_EQ(s.creates(), 2);
  EXPECT_EQ(c.sendFill(), 0u) << "the reset emptied the send buffer";
  EXPECT_EQ(c.messageNumber(), 1045u);

  s.setCreateFails(true);
  c.close();
  EXPECT_FALSE(c.initialise());
}

TEST_F(ConnectionTest, SendMessageReconnectsToTheRememberedServer) {
  RecordingConnection c(sockets, kMainServerKind);
  EXPECT_EQ(c.port(), 4001);
  ASSERT_TRUE(c.initialise());
  c.connectTo("127.0.0.2", 7032);
  FakeSocket& s = sockets.last();
  EXPECT_EQ(s.selection(), FakeSocket::Selection::Connect);
  s.deliver(SocketEvent::Connect);
  s.deliver(SocketEvent::Close);
  ASSERT_FALSE(c.isOpen());

  s.setSendBlocked(true);  // connecting: nothing can go out yet
  const Bytes body = pattern(20);
  EXPECT_TRUE(c.sendMessage(body.data(), body.size()));
  EXPECT_TRUE(s.isOpen());
  EXPECT_EQ(s.connects(), 2);
  EXPECT_EQ(s.connectedHost(), "127.0.0.2");
  EXPECT_EQ(s.connectedPort(), 7032);
  EXPECT_EQ(s.selection(), FakeSocket::Selection::Connect);
  EXPECT_EQ(c.sendFill(), 32u) << "queued while the connection comes up";

  // Once connected, the platform's first write notification sends it.
  s.setSendBlocked(false);
  s.deliver(SocketEvent::Connect);
  s.deliver(SocketEvent::Write);
  Bytes expected = body;
  PacketCipher::instance().encipherBody(expected.data(), expected.size());
  EXPECT_EQ(s.sent(), frame(expected));

  // An open socket is used as it is.
  EXPECT_TRUE(c.sendMessage(body.data(), body.size()));
  EXPECT_EQ(s.connects(), 2);
}

TEST_F(ConnectionTest, ShortPacketAfterALongOneReadsFFPastItsEnd) {
  // A handler reading a short body as a longer record must see 0xFF, never
  // the bytes of an earlier packet.
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  sockets.last().scriptReceive(frame(Bytes(300, 0x11)));
  sockets.last().scriptReceive(frame(Bytes(4, 0x22)));
  sockets.last().deliver(SocketEvent::Read);
  sockets.last().deliver(SocketEvent::Read);
  ASSERT_EQ(c.bodies.size(), 2u);
  const std::uint8_t* body = c.body();
  EXPECT_EQ(body[3], 0x22);
  for (int i = 8; i < 1024 - 8; ++i) ASSERT_EQ(body[i], 0xFF) << i;
}

TEST_F(ConnectionTest, CopyBodyOnlyAtTheExactSize) {
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  sockets.last().scriptReceive(frame(pattern(16)));
  sockets.last().deliver(SocketEvent::Read);
  ASSERT_EQ(c.bodyLength(), 16u);
  Bytes out(16, 0);
  EXPECT_FALSE(c.copyBody(out.data(), 15));
  EXPECT_FALSE(c.copyBody(out.data(), 17));
  EXPECT_EQ(out, Bytes(16, 0));
  EXPECT_TRUE(c.copyBody(out.data(), 16));
  EXPECT_EQ(out, pattern(16));
}

TEST_F(ConnectionTest, RawReadsTakeWhateverArrives) {
  RecordingConnection c(sockets, kPeerConnectionKind);
  open(c);
  FakeSocket& s = sockets.last();
  EXPECT_FALSE(c.readRaw()) << "nothing there: would block";
  s.scriptReceive(std::string("HTTP/1.0 200"));
  ASSERT_TRUE(c.readRaw());
  EXPECT_EQ(c.lastRawLength(), 12);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(c.rawData()), 12), "HTTP/1.0 200");
  EXPECT_EQ(c.rawData()[12], 0xFF) << "the rest of the storage reads 0xFF";
  s.scriptReceiveClosed();
  ASSERT_TRUE(c.readRaw());
  EXPECT_EQ(c.lastRawLength(), 0);
  EXPECT_EQ(c.rawData()[0], 0xFF);
}

TEST_F(ConnectionTest, ResetEmptiesBothBuffersAndKeepsTheServer) {
  RecordingConnection c(sockets, plainKind(1024, 1024));
  open(c);
  FakeSocket& s = sockets.last();
  s.setSendBlocked(true);
  c.queue(pattern(10).data(), 10);
  s.scriptReceive(Bytes{0xFF, 0xFF});
  s.deliver(SocketEvent::Read);
  c.sessionNumber = 77;
  c.reset();
  EXPECT_FALSE(c.isOpen());
  EXPECT_EQ(c.sendFill(), 0u);
  EXPECT_EQ(c.receivePosition(), 0u);
  EXPECT_EQ(c.host(), "127.0.0.1");
  EXPECT_EQ(c.port(), 7031);
  EXPECT_EQ(c.sessionNumber, 77);
}

TEST_F(ConnectionTest, IgnoresNotificationsRaisedForAnEarlierSocket) {
  RecordingConnection c(sockets, plainKind(1024, 1024));
  ASSERT_TRUE(c.initialise());
  const auto oldHandle = static_cast<std::uintptr_t>(sockets.last().handle());
  c.reset();
  EXPECT_EQ(c.onSocketMessage(1034, oldHandle, makeSocketLParam(SocketEvent::Close)), 0)
      << "nothing is open: a late notification finds no socket to act on";

  ASSERT_TRUE(c.initialise());
  FakeSocket& s = sockets.last();
  ASSERT_NE(static_cast<std::uintptr_t>(s.handle()), oldHandle);
  c.queue(pattern(10).data(), 10);
  EXPECT_EQ(c.onSocketMessage(1034, oldHandle, makeSocketLParam(SocketEvent::Close)), 0);
  EXPECT_EQ(c.closes, 0) << "a close queued for the old socket leaves the new one alone";
  EXPECT_TRUE(s.isOpen());
  EXPECT_EQ(s.deliver(SocketEvent::Close), 32);
  EXPECT_EQ(c.closes, 1);
}

}  // namespace
}  // namespace pom
