// Peers over real loopback sockets: the answer byte for byte from several
// offsets, bad headers of every kind closed without an answer, and the stall
// and rate fault switches.
#include <gtest/gtest.h>

#include <cstring>

#include "integration/web_test_client.h"
#include "service/faults.h"
#include "service/file_bodies.h"
#include "service/peer_server.h"
#include "service/store.h"
#include "support/temp_dir.h"

namespace pom::service {
namespace {

using pom::test::RawClient;

constexpr char kHost[] = "127.0.0.11";
const std::string kCode = "00112233445566778899aabbccddeeff";
constexpr std::int64_t kSize = 300000;
constexpr std::uint64_t kSeed = 77;

std::string expectedBytes(std::int64_t offset) {
  std::string bytes(static_cast<std::size_t>(kSize - offset), '\0');
  fillGenerated(kSeed, offset, reinterpret_cast<std::uint8_t*>(&bytes[0]), bytes.size());
  return bytes;
}

std::string header(const std::string& code, long long total, long long offset) {
  return "|header|" + code + "|" + std::to_string(total) + "|" + std::to_string(offset) + "|||";
}

class PeerServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    store = Store::open(dir.file("data"), &error);
    ASSERT_TRUE(store) << error;
    Member member;
    member.id = "alice";
    member.password = "pw";
    ASSERT_TRUE(store->addMember(member));
    Item file;
    file.owner = "alice";
    file.name = "big.bin";
    file.size = file.stored = kSize;
    file.uniqueCode = kCode;
    const std::int32_t id = store->addFile(file);
    ASSERT_TRUE(writeGeneratedBody(store->bodyPath(id), kSeed, kSize));
    file.name = "half.bin";
    file.stored = kSize / 2;
    file.uniqueCode = "ffffffffffffffffffffffffffffffff";
    ASSERT_TRUE(writeGeneratedBody(store->bodyPath(store->addFile(file)), kSeed, kSize / 2));

    PeerServerConfig config;
    config.hosts = {kHost, "127.0.0.12"};
    config.port = 0;
    config.headerTimeoutMs = 1000;
    peers = startPeerServer(config, *store, faults, &error);
    ASSERT_TRUE(peers) << error;
    port = peers->ports()[0];
  }

  // Sends the bytes and returns everything that arrives before the close.
  std::string exchange(const std::string& bytes, bool* closed = nullptr) {
    RawClient client(kHost, port);
    EXPECT_TRUE(client.connected());
    client.send(bytes);
    std::string answer = client.readAll(5000);
    if (closed) *closed = client.closed();
    return answer;
  }

  pom::test::TempDir dir;
  std::unique_ptr<Store> store;
  Faults faults;
  std::unique_ptr<PeerServer> peers;
  std::uint16_t port = 0;
};

TEST_F(PeerServerTest, AnswersTheRawBytesFromTheOffset) {
  for (std::int64_t offset : {std::int64_t{0}, std::int64_t{1}, std::int64_t{65537}, kSize - 1}) {
    bool closed = false;
    const std::string answer = exchange(framePeerHeader(header(kCode, kSize, offset)), &closed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(answer.size(), static_cast<std::size_t>(kSize - offset)) << offset;
    EXPECT_TRUE(answer == expectedBytes(offset)) << offset;
  }
  bool closed = false;
  EXPECT_EQ(exchange(framePeerHeader(header(kCode, kSize, kSize)), &closed), "");
  EXPECT_TRUE(closed);
  // The second host serves the same files.
  RawClient other("127.0.0.12", peers->ports()[1]);
  other.send(framePeerHeader(header(kCode, kSize, kSize - 10)));
  EXPECT_EQ(other.readAll(), expectedBytes(kSize - 10));
}

TEST_F(PeerServerTest, HeaderSentInPiecesIsStillRead) {
  const std::string packet = framePeerHeader(header(kCode, kSize, 100));
  RawClient client(kHost, port);
  for (char byte : packet) client.send(std::string(1, byte));
  EXPECT_TRUE(client.readAll() == expectedBytes(100));
}

TEST_F(PeerServerTest, BadHeadersAreClosedWithoutAnswer) {
  const std::string good = framePeerHeader(header(kCode, kSize, 0));
  std::string badEnd = good;
  badEnd[badEnd.size() - 1] = 0;
  std::string hugeLength = good;
  std::memcpy(&hugeLength[4], "\xF0\xFF\xFF\xFF", 4);
  std::string shortLength = good;
  std::memcpy(&shortLength[4], "\x0B\x00\x00\x00", 4);
  const std::vector<std::string> bad = {
      std::string(64, '\x5A'),                           // no start marker
      badEnd,                                            // wrong end marker
      hugeLength,                                        // length past any header
      shortLength,                                       // length below 12
      framePeerHeader(""),                               // empty body
      framePeerHeader("garbage"),                        // not a header
      framePeerHeader(header(kCode, kSize, -1)),         // negative offset
      framePeerHeader(header(kCode, kSize, kSize + 1)),  // past the end
      framePeerHeader(header(kCode, kSize + 1, 0)),      // size differs
      framePeerHeader(header("ffffffffffffffffffffffffffffffff", kSize, 0)),    // incomplete file
      framePeerHeader(header("0000", kSize, 0)),                                // unknown code
      framePeerHeader("|header|" + kCode + "|300000|99999999999999999999|||"),  // overflow
      framePeerHeader("|header|" + kCode + "|300000|0|x||"),                    // extra field
  };
  for (std::size_t i = 0; i < bad.size(); ++i) {
    bool closed = false;
    EXPECT_EQ(exchange(bad[i], &closed), "") << i;
    EXPECT_TRUE(closed) << i;
  }
  // A client that connects and says nothing is dropped after the header timeout.
  RawClient silent(kHost, port);
  EXPECT_EQ(silent.readAll(5000), "");
  EXPECT_TRUE(silent.closed());
  EXPECT_TRUE(exchange(good) == expectedBytes(0));
}

TEST_F(PeerServerTest, StallAndRateSwitchesHoldBackTheBytes) {
  ASSERT_TRUE(faults.set("peer_stall", "1", 1));
  {
    RawClient stalled(kHost, port);
    stalled.send(framePeerHeader(header(kCode, kSize, 0)));
    EXPECT_EQ(stalled.readAll(300), "");
    EXPECT_FALSE(stalled.closed());  // accepted, silent, still open
  }
  // The switch was good for one connection.
  EXPECT_TRUE(exchange(framePeerHeader(header(kCode, kSize, 0))) == expectedBytes(0));

  // 2,000 bytes per second cannot deliver 300,000 bytes in 300 ms, whatever
  // the machine's speed; what arrives is still the right prefix.
  ASSERT_TRUE(faults.set("peer_rate", "2000", 1));
  RawClient slow(kHost, port);
  slow.send(framePeerHeader(header(kCode, kSize, 0)));
  const std::string part = slow.readAll(300);
  EXPECT_LT(part.size(), static_cast<std::size_t>(kSize));
  EXPECT_EQ(part, expectedBytes(0).substr(0, part.size()));
}

TEST_F(PeerServerTest, StopEndsStalledAndBusyConnections) {
  ASSERT_TRUE(faults.set("peer_stall", "1"));
  RawClient a(kHost, port);
  a.send(framePeerHeader(header(kCode, kSize, 0)));
  RawClient b(kHost, port);  // never sends its header
  EXPECT_EQ(a.readAll(200), "");
  peers->stop();
  EXPECT_EQ(a.readAll(2000), "");
  EXPECT_TRUE(a.closed());
  b.readAll(2000);
  EXPECT_TRUE(b.closed());
}

TEST(PeerHeader, ParsesOnlyTheExactForm) {
  const auto request = parsePeerHeader("|header|abc|12345678901|-0|||");
  ASSERT_TRUE(request);
  EXPECT_EQ(request->uniqueCode, "abc");
  EXPECT_EQ(request->totalSize, 12345678901LL);
  EXPECT_EQ(request->offset, 0);
  EXPECT_EQ(parsePeerHeader("|header|abc|1|-5|||")->offset, -5);
  for (const char* text : {"", "|header|", "|header|abc|1|2||", "|header||1|2|||",
                           "|header|abc|1||||", "|header|abc|1|2|3|||", "|Header|abc|1|2|||",
                           "|header|abc|+1|2|||", "|header|abc|1|2 |||", "|header|abc|-|2|||"}) {
    EXPECT_FALSE(parsePeerHeader(text)) << text;
  }
  EXPECT_EQ(framePeerHeader("ab"), std::string("\xFF\xFF\xFF\xFF\x0E\x00\x00\x00"
                                               "ab\xFE\xFE\xFE\xFE",
                                               14));
}

}  // namespace
}  // namespace pom::service
