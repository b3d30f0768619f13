// Bytes on the wire of the local service, checked against vectors built by
// hand from the protocol's layouts: frames and bodies are written and read
// here with plain sockets and offsets, and login-server bodies are enciphered
// with OpenSSL's Blowfish, so nothing of the shared message catalogue or
// cipher is involved. Also: fault switches that damage the stream, and bad
// input that must only cost the sender its connection.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <openssl/blowfish.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "service/demo_data.h"
#include "service/file_bodies.h"
#include "support/service_fixture.h"

namespace pom {
namespace {

using Raw = std::vector<std::uint8_t>;
using testing_support::ServiceFixture;

void put32(Raw& b, std::size_t at, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
}
void put64(Raw& b, std::size_t at, std::uint64_t v) {
  for (int k = 0; k < 8; ++k) b[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
}
void putText(Raw& b, std::size_t at, const std::string& text) {
  std::memcpy(b.data() + at, text.data(), text.size());
}
std::uint64_t get(const Raw& b, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | b.at(at + k);
  return v;
}
Raw bytesOf(std::initializer_list<int> list) {
  return Raw(list.begin(), list.end());
}
Raw slice(const Raw& b, std::size_t at, std::size_t n) {
  return Raw(b.begin() + at, b.begin() + at + n);
}

// Blowfish keyed with "0X7E19"; each 8-byte block is two little-endian words,
// the first being the left half; a tail of fewer than 8 bytes stays as it is.
class HandCipher {
 public:
  HandCipher() { BF_set_key(&key_, 6, reinterpret_cast<const unsigned char*>("0X7E19")); }
  void apply(Raw& body, bool encipher) const {
    for (std::size_t at = 0; at + 8 <= body.size(); at += 8) {
      BF_LONG halves[2] = {static_cast<BF_LONG>(get(body, at, 4)),
                           static_cast<BF_LONG>(get(body, at + 4, 4))};
      encipher ? BF_encrypt(halves, &key_) : BF_decrypt(halves, &key_);
      put32(body, at, halves[0]);
      put32(body, at + 4, halves[1]);
    }
  }

 private:
  BF_KEY key_;
};

Raw frame(Raw body);

// DownloadRequest by hand: type 3, file id at 6, member at 10, password at
// 31, storage path and server path at 42, offset at 554; 562 bytes.
Raw downloadFrame(std::int32_t id, std::uint64_t offset) {
  Raw request(562, 0);
  put32(request, 0, 3);
  put32(request, 6, static_cast<std::uint32_t>(id));
  putText(request, 10, "demo1");
  putText(request, 31, "demo1234");
  putText(request, 42, "/store/demo1/" + std::to_string(id));
  put64(request, 554, offset);
  return frame(request);
}

Raw frame(Raw body) {
  Raw out(8, 0xFF);
  put32(out, 4, static_cast<std::uint32_t>(body.size() + 12));
  out.insert(out.end(), body.begin(), body.end());
  out.insert(out.end(), {0xFE, 0xFE, 0xFE, 0xFE});
  return out;
}

class RawClient {
 public:
  RawClient(const std::string& host, std::uint16_t port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawClient() { ::close(fd_); }
  bool connected() const { return connected_; }
  void send(const Raw& bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
  // Exactly n bytes, or fewer when the peer closes or 3 s pass.
  Raw receive(std::size_t n, int timeoutMs = 3000) {
    Raw out;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < n) {
      int left = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now())
                                      .count());
      pollfd p{fd_, POLLIN, 0};
      if (left <= 0 || ::poll(&p, 1, left) <= 0) break;
      std::uint8_t buffer[65536];
      ssize_t r = ::recv(fd_, buffer, std::min(sizeof buffer, n - out.size()), 0);
      if (r <= 0) break;
      out.insert(out.end(), buffer, buffer + r);
    }
    return out;
  }
  // One whole frame as it arrived (markers and length included).
  Raw receiveFrame() {
    Raw head = receive(8);
    if (head.size() < 8) return head;
    Raw rest = receive(static_cast<std::size_t>(get(head, 4, 4)) - 8);
    head.insert(head.end(), rest.begin(), rest.end());
    return head;
  }
  // Everything until the service closes (bounded).
  Raw receiveAll(int timeoutMs = 3000) { return receive(1 << 24, timeoutMs); }

 private:
  int fd_ = -1;
  bool connected_ = false;
};

class ServiceWire : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
  }
  RawClient loginClient() {
    return RawClient(service_.ports().loginHosts[1], service_.ports().loginPorts[1]);
  }
  // LoginRequest by hand: type 0, id at 6, password at 27, 38 bytes.
  Raw loginFrame(const std::string& id, const std::string& password) {
    Raw body(38, 0);
    putText(body, 6, id);
    putText(body, 27, password);
    cipher_.apply(body, true);
    return frame(body);
  }
  Raw openBody(const Raw& whole) {
    Raw body = slice(whole, 8, whole.size() - 12);
    cipher_.apply(body, false);
    return body;
  }
  std::int32_t idOf(const std::string& name) {
    return service::findItemId(service_.store(), "demo1", name);
  }

  ServiceFixture service_{false};
  HandCipher cipher_;
};

TEST_F(ServiceWire, LoginReplyAndSessionInfoBytes) {
  RawClient client = loginClient();
  ASSERT_TRUE(client.connected());
  Raw request = loginFrame("demo1", "demo1234");
  ASSERT_EQ(request.size(), 50u);
  // The last 6 body bytes (end of the password field) travel in clear.
  EXPECT_EQ(slice(request, 8 + 32, 6), bytesOf({'2', '3', '4', 0, 0, 0}));
  client.send(request);

  Raw reply = client.receiveFrame();
  ASSERT_EQ(reply.size(), 134u);
  EXPECT_EQ(slice(reply, 0, 8), bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 134, 0, 0, 0}));
  EXPECT_EQ(slice(reply, 130, 4), bytesOf({0xFE, 0xFE, 0xFE, 0xFE}));
  Raw body = openBody(reply);
  EXPECT_EQ(get(body, 0, 4), 0u);                                                   // type
  EXPECT_EQ(slice(body, 10, 6), bytesOf({'d', 'e', 'm', 'o', '1', 0}));             // member id
  EXPECT_EQ(slice(body, 31, 7), bytesOf({0xB5, 0xA5, 0xB8, 0xF0, 0xC0, 0xCF, 0}));  // 데모일
  EXPECT_EQ(std::string(body.begin() + 73, body.begin() + 86), "8501011234567");
  EXPECT_EQ(get(body, 87, 2), 0u);                                            // flat rate
  EXPECT_EQ(slice(body, 89, 8), bytesOf({0x80, 0x4F, 0x12, 0, 0, 0, 0, 0}));  // 1,200,000
  EXPECT_EQ(body[121], 0);                                                    // accepted

  // SessionInfo: 7 bytes, shorter than a block, so in clear.
  Raw info = client.receiveFrame();
  ASSERT_EQ(info.size(), 19u);
  EXPECT_EQ(slice(info, 4, 8), bytesOf({19, 0, 0, 0, 51, 0, 0, 0}));
  std::uint64_t number = get(info, 12, 2);
  EXPECT_NE(number, 0u);
  EXPECT_NE(number, 0xFFFFu);
}

TEST_F(ServiceWire, FolderListPageBytes) {
  RawClient client = loginClient();
  client.send(loginFrame("demo1", "demo1234"));
  client.receiveFrame();
  client.receiveFrame();

  std::int32_t folder = idOf("많은항목");
  std::int32_t first = idOf("항목001.txt");
  Raw request(15, 0);
  put32(request, 0, 2);
  put32(request, 6, static_cast<std::uint32_t>(folder));
  cipher_.apply(request, true);
  client.send(frame(request));

  Raw reply = client.receiveFrame();
  // 17-byte head, then 30 entries of 46 bytes and an 11-byte name each.
  ASSERT_EQ(reply.size(), 12u + 17 + 30 * (46 + 11));
  Raw body = openBody(reply);
  EXPECT_EQ(get(body, 0, 4), 2u);
  EXPECT_EQ(get(body, 6, 4), static_cast<std::uint32_t>(folder));
  EXPECT_EQ(slice(body, 14, 3), bytesOf({1, 30, 30}));  // continuation, capacity, count
  EXPECT_EQ(get(body, 17, 4), static_cast<std::uint32_t>(first));
  EXPECT_EQ(get(body, 21, 4), static_cast<std::uint32_t>(folder));
  EXPECT_EQ(body[25], 'f');
  EXPECT_EQ(get(body, 27, 8), 101u);     // stored
  EXPECT_EQ(get(body, 35, 8), 101u);     // size
  EXPECT_EQ(get(body, 43 + 4, 2), 30u);  // days kept in the day field
  EXPECT_EQ(get(body, 61, 2), 11u);
  EXPECT_EQ(slice(body, 63, 11),
            bytesOf({0xC7, 0xD7, 0xB8, 0xF1, '0', '0', '1', '.', 't', 'x', 't'}));
  EXPECT_EQ(get(body, 17 + 57, 4), static_cast<std::uint32_t>(first + 1));  // second entry
}

TEST_F(ServiceWire, DownloadSessionBytes) {
  std::int32_t id = idOf("안녕.txt");
  RawClient client(service_.ports().storageHost, service_.ports().downloadPort);
  client.send(downloadFrame(id, 2));

  Raw accept = client.receiveFrame();
  ASSERT_EQ(accept.size(), 31u);
  Raw body = slice(accept, 8, 19);
  EXPECT_EQ(get(body, 0, 4), 3u);
  EXPECT_EQ(get(body, 6, 8), 5u);
  EXPECT_EQ(get(body, 14, 4), static_cast<std::uint32_t>(id));
  EXPECT_EQ(body[18], 0);

  Raw data = client.receiveFrame();
  ASSERT_EQ(data.size(), 23u);
  Raw expected(3);
  service::fillGenerated(static_cast<std::uint64_t>(id), 2, expected.data(), 3);
  EXPECT_EQ(slice(data, 8, 8), bytesOf({5, 0, 0, 0, 3, 0, 0, 0}));
  EXPECT_EQ(slice(data, 16, 3), expected);

  Raw credit = client.receiveFrame();
  ASSERT_EQ(credit.size(), 28u);
  EXPECT_EQ(get(credit, 8, 4), 6u);
  EXPECT_EQ(get(credit, 8 + 6, 8), 1199999u);  // one point for the 3 bytes
  EXPECT_EQ(get(credit, 8 + 14, 2), 0u);
}

TEST_F(ServiceWire, UploadSessionBytesAndTheZeroPaddedSample) {
  service::Item record;
  record.owner = "demo1";
  record.name = "zeros.bin";
  std::int32_t id = service_.store().addFile(record);
  RawClient login = loginClient();
  login.send(loginFrame("demo1", "demo1234"));
  login.receiveFrame();
  Raw info = login.receiveFrame();
  ASSERT_EQ(info.size(), 19u);

  RawClient client(service_.ports().storageHost, service_.ports().uploadPort);
  Raw request(442, 0);
  put32(request, 0, 0);
  request[4] = info[12];  // the login session's number
  request[5] = info[13];
  put32(request, 6, static_cast<std::uint32_t>(id));
  put32(request, 10, 2);
  putText(request, 14, "demo1");
  putText(request, 135, "zeros.bin");
  put64(request, 391, 10);
  put64(request, 399, 0);
  request[407] = 'f';
  request[408] = 'f';
  // Ten zero bytes: the 65,536-byte sample is all zeros.
  putText(request, 409, "fcd6bcb56c1689fcef28b57c22475bad");
  client.send(frame(request));

  Raw accept = client.receiveFrame();
  ASSERT_EQ(accept.size(), 23u);
  EXPECT_EQ(get(accept, 8, 4), 0u);
  EXPECT_EQ(slice(accept, 8 + 6, 5), bytesOf({0x00, 0x00, 0x10, 0x00, 0}));  // 1,048,576; resume

  Raw chunk(8 + 10, 0);
  put32(chunk, 0, 1);
  put32(chunk, 4, 10);
  Raw chunkFrame = frame(chunk);
  ASSERT_EQ(chunkFrame.size(), 30u);  // n + 20
  client.send(chunkFrame);
  Raw done = client.receiveFrame();
  ASSERT_EQ(done.size(), 23u);
  EXPECT_EQ(get(done, 8, 4), 2u);
  EXPECT_EQ(get(done, 8 + 6, 4), static_cast<std::uint32_t>(id));
  EXPECT_EQ(done[8 + 10], 0);
  EXPECT_EQ(service_.store().item(id)->sampleDigest, "fcd6bcb56c1689fcef28b57c22475bad");
}

TEST_F(ServiceWire, SwitchesDamageOrCutTheStream) {
  service_.faults().set("corrupt_next", "marker", 1);
  {
    RawClient client = loginClient();
    client.send(loginFrame("demo1", "demo1234"));
    Raw reply = client.receiveFrame();
    ASSERT_EQ(reply.size(), 134u);
    EXPECT_EQ(slice(reply, 130, 4), bytesOf({0xFF, 0xFE, 0xFE, 0xFE}));
    EXPECT_EQ(slice(client.receiveFrame(), 15, 4), bytesOf({0xFE, 0xFE, 0xFE, 0xFE}));
  }
  service_.faults().set("corrupt_next", "length", 1);
  {
    RawClient client = loginClient();
    client.send(loginFrame("demo1", "demo1234"));
    EXPECT_EQ(slice(client.receive(8), 4, 4), bytesOf({0xF0, 0xFF, 0xFF, 0xFF}));
  }
  service_.faults().set("drop_login_after", "30", 1);
  {
    RawClient client = loginClient();
    client.send(loginFrame("demo1", "demo1234"));
    EXPECT_EQ(client.receiveAll().size(), 30u);
  }
  service_.faults().set("drop_download_after", "1000", 1);
  {
    std::int32_t id = idOf("보고서.doc");
    RawClient client(service_.ports().storageHost, service_.ports().downloadPort);
    client.send(downloadFrame(id, 0));
    EXPECT_EQ(client.receiveAll().size(), 1000u);
  }
}

TEST_F(ServiceWire, BadInputCostsOnlyTheSendersConnection) {
  Raw good = loginFrame("demo1", "demo1234");
  Raw badMarker = good;
  badMarker[49] = 0xFF;
  Raw shortLength = good;
  put32(shortLength, 4, 8);
  Raw hugeLength = good;
  put32(hugeLength, 4, 0x7FFFFFFF);
  Raw garbage(300);
  for (std::size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = static_cast<std::uint8_t>(i * 37 + 11);
  for (const Raw& bad : {badMarker, shortLength, hugeLength, garbage}) {
    RawClient client = loginClient();
    client.send(bad);
    EXPECT_TRUE(client.receiveAll(2000).empty());  // closed without an answer
  }
  // A wrong-length request of a known type is ignored, the session lives on.
  {
    RawClient client = loginClient();
    client.send(loginFrame("demo1", "demo1234"));
    client.receiveFrame();
    client.receiveFrame();
    Raw odd(9, 0);
    put32(odd, 0, 2);
    cipher_.apply(odd, true);
    client.send(frame(odd));
    Raw transferEnded(6, 0);
    put32(transferEnded, 0, 24);
    client.send(frame(transferEnded));
    Raw balance = client.receiveFrame();
    ASSERT_EQ(balance.size(), 27u);
    EXPECT_EQ(get(openBody(balance), 0, 4), 24u);
  }
  // Garbage on the data ports too; a client that vanishes mid-download.
  for (std::uint16_t port : {service_.ports().downloadPort, service_.ports().uploadPort}) {
    RawClient client(service_.ports().storageHost, port);
    client.send(garbage);
    EXPECT_TRUE(client.receiveAll(2000).empty());
  }
  {
    std::int32_t id = idOf("큰파일.avi");
    RawClient client(service_.ports().storageHost, service_.ports().downloadPort);
    client.send(downloadFrame(id, 0));
    EXPECT_EQ(client.receive(100000).size(), 100000u);
  }
  // Everyone else is still served.
  RawClient after = loginClient();
  after.send(loginFrame("demo1", "demo1234"));
  Raw reply = after.receiveFrame();
  ASSERT_EQ(reply.size(), 134u);
  EXPECT_EQ(openBody(reply)[121], 0);
  for (int i = 0; i < 50 && service_.app().storageSessions() > 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(service_.app().storageSessions(), 0u);
}

}  // namespace
}  // namespace pom
