// The storage servers over real loopback sockets: downloads and uploads of
// several sizes from several offsets end byte-identical, credit is charged,
// refusals and shortages arrive where they apply, resumes append; the upload
// switches do what they promise without making the store lie, and the request
// log shows every upload message.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/net/packet_frame.h"
#include "integration/service_client.h"
#include "service/demo_data.h"
#include "service/file_bodies.h"
#include "service/tickets.h"
#include "support/service_fixture.h"

namespace pom {
namespace {

using testing_support::resultCode;
using testing_support::ServiceClient;
using testing_support::ServiceFixture;

std::vector<std::uint8_t> generated(std::int32_t id, std::int64_t offset, std::int64_t n) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(n));
  service::fillGenerated(static_cast<std::uint64_t>(id), offset, bytes.data(), bytes.size());
  return bytes;
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Body types of the replies the upload tests wait for.
constexpr std::int32_t kChunkAckType = 8;
constexpr std::int32_t kUploadDoneType = 2;
constexpr std::int32_t kFileRegisteredType = 10;
constexpr std::int32_t kCreditBalanceType = 24;

struct DownloadResult {
  std::optional<DownloadAccept> accept;
  std::vector<std::uint8_t> data;
  std::optional<CreditInfo> credit;
  std::optional<CreditShortage> shortage;
  bool refused = false;  // FileRefused
  bool closed = false;
};

class ServiceTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
  }
  std::int32_t idOf(const std::string& name, const std::string& owner = "demo1") {
    return service::findItemId(service_.store(), owner, name);
  }

  DownloadResult download(std::int32_t id, std::int64_t offset, const std::string& member = "demo1",
                          const std::string& password = "demo1234",
                          std::optional<std::string> path = std::nullopt) {
    DownloadResult result;
    ServiceClient client(kDownloadSessionKind);
    EXPECT_TRUE(client.connect(service_.ports().storageHost, service_.ports().downloadPort));
    DownloadRequest request;
    request.fileId = id;
    request.memberId = member;
    request.password = password;
    if (auto file = service_.store().item(id))
      request.path = service::downloadPathsFor(*file).joined();
    if (path) request.path = *path;
    request.offset = offset;
    client.send(request.encode());
    auto& bodies = client.connection().bodies;
    client.loop().runUntil(
        [&] {
          while (!bodies.empty()) {
            Bytes body = std::move(bodies.front());
            bodies.pop_front();
            switch (*bodyType(body.data(), body.size())) {
              case 3:
                result.accept = DownloadAccept::decode(body.data(), body.size());
                break;
              case 5: {
                auto view = FileData::view(body.data(), body.size());
                EXPECT_TRUE(view);
                EXPECT_LE(body.size() + 12, kDownloadSessionKind.receiveCapacity);
                result.data.insert(result.data.end(), view->data, view->data + view->size);
                break;
              }
              case 6:
                result.credit = CreditInfo::decode(body.data(), body.size());
                return true;
              case 7:
                result.shortage = CreditShortage::decode(body.data(), body.size());
                break;
              case 10:
                result.refused = true;
                break;
            }
          }
          // A client that holds everything closes after the acceptance.
          if (result.accept && result.accept->fileSize > 0 && result.accept->fileSize <= offset)
            return true;
          return client.connection().closed || !client.connection().isOpen();
        },
        20000);
    client.run(50);
    result.closed = client.connection().closed || !client.connection().isOpen();
    return result;
  }

  ServiceFixture service_{false};
};

TEST_F(ServiceTransfer, DownloadsOfSeveralSizesAndOffsetsAreByteIdentical) {
  struct Case {
    const char* name;
    std::int64_t size;
  };
  for (Case file : {Case{"안녕.txt", 5}, Case{"보고서.doc", 5000}, Case{"가족.jpg", 3145728},
                    Case{"큰파일.avi", 12ll << 20}}) {
    std::int32_t id = idOf(file.name);
    for (std::int64_t offset : {std::int64_t{0}, std::int64_t{1}, std::int64_t{65535},
                                std::int64_t{65536}, file.size / 2, file.size - 1}) {
      if (offset < 0 || offset >= file.size) continue;
      SCOPED_TRACE(std::string(file.name) + " from " + std::to_string(offset));
      DownloadResult result = download(id, offset);
      ASSERT_TRUE(result.accept);
      EXPECT_EQ(result.accept->refused, 0);
      EXPECT_EQ(result.accept->fileSize, file.size);
      EXPECT_EQ(result.accept->fileId, id);
      ASSERT_EQ(static_cast<std::int64_t>(result.data.size()), file.size - offset);
      EXPECT_TRUE(result.data == generated(id, offset, file.size - offset));
      EXPECT_TRUE(result.credit);
    }
  }
}

TEST_F(ServiceTransfer, DownloadChargesMembersWithoutFlatRate) {
  std::int32_t id = idOf("가족.jpg");
  DownloadResult result = download(id, 1000000);
  ASSERT_TRUE(result.credit);
  std::int64_t expected = 1200000 - service::creditCost(3145728 - 1000000);
  EXPECT_EQ(result.credit->credit, expected);
  EXPECT_EQ(service_.store().member("demo1")->credit, expected);
  EXPECT_EQ(service_.store().item(id)->downloads, 1);

  // demo2 has a flat rate: a public file of demo1 costs nothing.
  DownloadResult flat = download(id, 0, "demo2", "demo5678");
  ASSERT_TRUE(flat.credit);
  EXPECT_EQ(flat.credit->flatRate, 1);
  EXPECT_EQ(service_.store().member("demo2")->credit, 500000);
}

TEST_F(ServiceTransfer, DownloadAtTheEndSendsOnlyTheAcceptance) {
  DownloadResult result = download(idOf("보고서.doc"), 5000);
  ASSERT_TRUE(result.accept);
  EXPECT_EQ(result.accept->fileSize, 5000);
  EXPECT_TRUE(result.data.empty());
}

TEST_F(ServiceTransfer, RefusalsAndShortages) {
  std::int32_t id = idOf("가족.jpg");
  DownloadResult badPassword = download(id, 0, "demo1", "nope");
  ASSERT_TRUE(badPassword.accept);
  EXPECT_NE(badPassword.accept->refused, 0);
  EXPECT_TRUE(badPassword.closed);

  EXPECT_TRUE(download(id, 0, "demo1", "demo1234", std::string("/store/demo2/1")).refused);
  EXPECT_TRUE(download(idOf("비밀.txt", "demo2"), 0).refused);
  EXPECT_TRUE(download(idOf("미완성.zip"), 0).refused);

  service_.faults().set("download_refuse", "type", 1);
  EXPECT_TRUE(download(id, 0).refused);
  service_.faults().set("download_refuse", "flag", 1);
  EXPECT_NE(download(id, 0).accept->refused, 0);

  service_.faults().set("credit_shortage", "force", 1);
  DownloadResult forced = download(id, 0);
  ASSERT_TRUE(forced.shortage);
  EXPECT_EQ(forced.shortage->force, 1);
  EXPECT_GT(forced.data.size(), 0u);  // one data message, then the shortage
  EXPECT_LT(forced.data.size(), 3145728u);
  EXPECT_TRUE(forced.closed);

  service_.faults().set("credit_shortage", "soft", 1);
  DownloadResult soft = download(id, 0);
  ASSERT_TRUE(soft.shortage);
  EXPECT_EQ(soft.shortage->force, 0);
  EXPECT_EQ(soft.shortage->credit, 0);

  // Credit for 10 KiB only: the transfer stops there with a shortage.
  service_.store().setCredit("demo1", 10);
  DownloadResult shortOfCredit = download(id, 0);
  ASSERT_TRUE(shortOfCredit.shortage);
  EXPECT_EQ(shortOfCredit.data.size(), 10240u);
  EXPECT_TRUE(shortOfCredit.data == generated(id, 0, 10240));
  EXPECT_EQ(service_.store().member("demo1")->credit, 0);
}

// ---- uploads

struct UploadRun {
  std::optional<UploadAccept> accept;
  int acks = 0;
  std::optional<UploadDone> done;
  bool closed = false;
};

class ServiceUpload : public ServiceTransfer {
 protected:
  void SetUp() override {
    ServiceTransfer::SetUp();
    ASSERT_TRUE(login_.connect(service_.ports().loginHosts[0], service_.ports().loginPorts[0]));
    LoginRequest request;
    request.memberId = "demo1";
    request.password = "demo1234";
    login_.send(request.encode());
    ASSERT_EQ(resultCode(login_.await<LoginReply>()->result), 0);
    auto info = login_.await<SessionInfo>();
    ASSERT_TRUE(info);
    session_ = info->sessionNumber;
  }
  UploadTicket ticket(const std::string& name, std::int32_t folder = 0) {
    UploadTicketRequest request;
    request.fileName = name;
    request.folderId = folder;
    login_.send(request.encode());
    auto reply = login_.await<UploadTicket>();
    EXPECT_TRUE(reply);
    return reply.value_or(UploadTicket{});
  }
  // The UploadRequest a client sends for content under the ticket.
  UploadRequest requestFor(const UploadTicket& ticket, const std::vector<std::uint8_t>& content,
                           std::int64_t offset = 0) {
    UploadRequest request;
    request.sessionNumber = session_;
    request.serverFileId = ticket.serverFileId;
    request.folderId = 2;
    request.memberId = "demo1";
    request.subFolder = subFolder_;
    request.fileName = fileName_;
    request.totalSize = static_cast<std::int64_t>(content.size());
    request.offset = offset;
    request.sharingLetter = sharing_;
    request.sampleDigest = *digestFromHex(service::sampleDigestOf(content.data(), content.size()));
    return request;
  }
  // A connected upload session that has sent the request and read the
  // acceptance (nothing when none came).
  std::unique_ptr<ServiceClient> openUpload(const UploadRequest& request,
                                            std::optional<UploadAccept>& accept,
                                            const ConnectionKind& kind = kUploadSessionKind) {
    auto client = std::make_unique<ServiceClient>(kind);
    EXPECT_TRUE(client->connect(service_.ports().storageHost, service_.ports().uploadPort));
    client->send(request.encode());
    accept = client->await<UploadAccept>();
    return client;
  }
  // Sends content[offset, stopAt) in chunks of the accepted size, one per ack.
  UploadRun upload(const UploadTicket& ticket, const std::vector<std::uint8_t>& content,
                   std::int64_t offset, std::int64_t stopAt = -1,
                   std::optional<std::string> digest = std::nullopt) {
    UploadRun run;
    ServiceClient client(kUploadSessionKind);
    EXPECT_TRUE(client.connect(ticket.storageHost, ticket.storagePort));
    UploadRequest request = requestFor(ticket, content, offset);
    if (digest) request.sampleDigest = *digestFromHex(*digest);
    client.send(request.encode());
    run.accept = client.await<UploadAccept>();
    if (!run.accept ||
        (resultCode(run.accept->result) != 0 && resultCode(run.accept->result) != 255)) {
      run.closed = client.waitClosed();
      return run;
    }
    std::int64_t sent = resultCode(run.accept->result) == 255 ? 0 : offset;
    std::int64_t end = stopAt < 0 ? static_cast<std::int64_t>(content.size()) : stopAt;
    while (sent < end) {
      std::int64_t n = std::min<std::int64_t>(run.accept->chunkSize, end - sent);
      FileChunk chunk;
      chunk.data.assign(content.begin() + sent, content.begin() + sent + n);
      client.send(chunk.encode());
      sent += n;
      auto& bodies = client.connection().bodies;
      client.loop().runUntil([&] { return !bodies.empty() || client.connection().closed; }, 5000);
      if (bodies.empty()) break;
      Bytes body = std::move(bodies.front());
      bodies.pop_front();
      if (*bodyType(body.data(), body.size()) == 8) ++run.acks;
      if (*bodyType(body.data(), body.size()) == 2)
        run.done = UploadDone::decode(body.data(), body.size());
    }
    if (stopAt >= 0) client.send(UploadCancel{}.encode());
    client.run(50);
    return run;
  }

  // The types of the bodies that arrive up to and including the first of
  // `type` (all of them when it does not come before the connection closes).
  static std::vector<std::int32_t> typesUntil(ServiceClient& client, std::int32_t type) {
    std::vector<std::int32_t> types;
    auto& bodies = client.connection().bodies;
    client.loop().runUntil(
        [&] {
          while (!bodies.empty()) {
            types.push_back(*bodyType(bodies.front().data(), bodies.front().size()));
            bodies.pop_front();
            if (types.back() == type) return true;
          }
          return client.connection().closed;
        },
        5000);
    return types;
  }
  // Sends UploadFinished for the file and returns the types of the login
  // server's answers up to the balance that a TransferEnded behind it asks
  // for: [FileRegistered, CreditBalance] or [CreditBalance] alone.
  std::vector<std::int32_t> announceFinished(std::int32_t fileId, std::uint8_t result = 0) {
    UploadFinished finished;
    finished.value = fileId;
    finished.result = result;
    login_.send(finished.encode());
    login_.send(TransferEnded{}.encode());
    return typesUntil(login_, kCreditBalanceType);
  }
  std::vector<testing_support::LoggedRequest> storageLines(const std::string& name) const {
    std::vector<testing_support::LoggedRequest> lines;
    for (auto& line : service_.storageRequests()) {
      if (line.name == name) lines.push_back(std::move(line));
    }
    return lines;
  }

  ServiceClient login_;
  std::uint16_t session_ = 0;
  std::string subFolder_;
  std::string fileName_ = "x";
  char sharing_ = 't';
};

// The packet a Connection would frame around the body.
Bytes framed(const Bytes& body) {
  Bytes packet;
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) packet.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  put32(kPacketStartMarker);
  put32(static_cast<std::uint32_t>(body.size() + kPacketOverhead));
  packet.insert(packet.end(), body.begin(), body.end());
  put32(kPacketEndMarker);
  return packet;
}

Bytes chunkOf(const std::vector<std::uint8_t>& content, std::size_t from, std::size_t n) {
  FileChunk chunk;
  chunk.data.assign(content.begin() + static_cast<std::ptrdiff_t>(from),
                    content.begin() + static_cast<std::ptrdiff_t>(from + n));
  return chunk.encode();
}

TEST_F(ServiceUpload, UploadsOfSeveralSizesAreStoredByteIdentical) {
  for (std::int64_t size : {std::int64_t{10}, std::int64_t{40000}, std::int64_t{1500000}}) {
    SCOPED_TRACE(size);
    std::vector<std::uint8_t> content = generated(777, 3, size);
    UploadTicket t = ticket("올림" + std::to_string(size) + ".bin");
    ASSERT_EQ(resultCode(t.result), 255);
    UploadRun run = upload(t, content, 0);
    ASSERT_TRUE(run.accept);
    EXPECT_EQ(resultCode(run.accept->result), 0);
    EXPECT_EQ(run.accept->chunkSize, 1048576);
    ASSERT_TRUE(run.done);
    EXPECT_EQ(resultCode(run.done->result), 0);
    EXPECT_EQ(run.done->value, t.serverFileId);
    EXPECT_EQ(run.acks, static_cast<int>((size - 1) / 1048576));
    EXPECT_TRUE(fileBytes(service_.store().bodyPath(t.serverFileId)) == content);
    auto item = service_.store().item(t.serverFileId);
    EXPECT_EQ(item->stored, size);
    EXPECT_EQ(item->share, 't');
    EXPECT_EQ(item->uniqueCode.size(), 32u);

    UploadFinished finished;
    finished.value = run.done->value;
    login_.send(finished.encode());
    auto registered = login_.await<FileRegistered>();
    ASSERT_TRUE(registered);
    EXPECT_EQ(registered->fileId, t.serverFileId);
    EXPECT_EQ(registered->size, size);
    EXPECT_EQ(registered->name, "올림" + std::to_string(size) + ".bin");
  }
}

TEST_F(ServiceUpload, ResumedUploadAppendsFromTheHeldCount) {
  std::vector<std::uint8_t> content = generated(4242, 0, 1300000);
  UploadTicket first = ticket("이어올림.bin");
  UploadRun part = upload(first, content, 0, 524288);
  EXPECT_EQ(part.acks, 1);
  // The store and the body agree on what is held after the cancel.
  EXPECT_EQ(service_.store().item(first.serverFileId)->stored, 524288);
  EXPECT_EQ(fileBytes(service_.store().bodyPath(first.serverFileId)).size(), 524288u);

  UploadTicket second = ticket("이어올림.bin");
  EXPECT_EQ(resultCode(second.result), 0);
  EXPECT_EQ(second.serverFileId, first.serverFileId);
  EXPECT_EQ(second.storedBytes, 524288);
  EXPECT_EQ(second.fileSize, 1300000);
  UploadRun rest = upload(second, content, 524288);
  EXPECT_EQ(resultCode(rest.accept->result), 0);
  ASSERT_TRUE(rest.done);
  EXPECT_EQ(resultCode(rest.done->result), 0);
  EXPECT_TRUE(fileBytes(service_.store().bodyPath(first.serverFileId)) == content);

  // Resumed in this session, created in it too: still a new file to the client.
  UploadFinished finished;
  finished.value = first.serverFileId;
  login_.send(finished.encode());
  EXPECT_TRUE(login_.await<FileRegistered>());

  // The partly stored demo file resumes and is announced as a changed item.
  std::int32_t partial = idOf("미완성.zip");
  UploadTicket demo = ticket("미완성.zip", idOf("문서"));
  ASSERT_EQ(resultCode(demo.result), 0);
  std::vector<std::uint8_t> whole = generated(partial, 0, 4000000);
  UploadRun finish = upload(demo, whole, 1500000);
  ASSERT_TRUE(finish.done);
  EXPECT_EQ(resultCode(finish.done->result), 0);
  EXPECT_TRUE(fileBytes(service_.store().bodyPath(partial)) == whole);
  finished.value = partial;
  login_.send(finished.encode());
  auto update = login_.await<ItemSizeUpdate>();
  ASSERT_TRUE(update);
  EXPECT_EQ(update->itemId, partial);
  EXPECT_EQ(update->storedBytes, 4000000);
}

TEST_F(ServiceUpload, DifferentContentRestartsAndAWrongDigestIsRejected) {
  std::vector<std::uint8_t> content = generated(99, 0, 700000);
  UploadTicket first = ticket("바뀐파일.bin");
  upload(first, content, 0, 524288);
  // Same name, other content: the service starts over.
  std::vector<std::uint8_t> other = generated(100, 0, 700000);
  UploadTicket second = ticket("바뀐파일.bin");
  ASSERT_EQ(resultCode(second.result), 0);
  UploadRun restarted = upload(second, other, 524288);
  EXPECT_EQ(resultCode(restarted.accept->result), 255);
  ASSERT_TRUE(restarted.done);
  EXPECT_TRUE(fileBytes(service_.store().bodyPath(second.serverFileId)) == other);

  UploadTicket third = ticket("거짓.bin");
  UploadRun lied = upload(third, content, 0, -1, std::string(32, '0'));
  ASSERT_TRUE(lied.done);
  EXPECT_EQ(resultCode(lied.done->result), 2);
  EXPECT_EQ(service_.store().item(third.serverFileId)->stored, 0);

  // An upload names the member's login session; another number is refused.
  std::uint16_t real = session_;
  session_ = static_cast<std::uint16_t>(real + 1);
  UploadRun forged = upload(ticket("남의것.bin"), content, 0);
  EXPECT_EQ(resultCode(forged.accept->result), 1);
  EXPECT_TRUE(forged.closed);
  session_ = real;

  service_.faults().set("upload_accept_result", "7", 1);
  UploadRun refused = upload(ticket("거절.bin"), content, 0);
  EXPECT_EQ(resultCode(refused.accept->result), 7);
  EXPECT_TRUE(refused.closed);
}

TEST_F(ServiceUpload, ClientVanishingMidUploadLeavesAConsistentStore) {
  std::vector<std::uint8_t> content = generated(5, 0, 2000000);
  UploadTicket t = ticket("사라짐.bin");
  {
    ServiceClient client(kUploadSessionKind);
    ASSERT_TRUE(client.connect(t.storageHost, t.storagePort));
    UploadRequest request;
    request.sessionNumber = session_;
    request.serverFileId = t.serverFileId;
    request.memberId = "demo1";
    request.totalSize = static_cast<std::int64_t>(content.size());
    request.sampleDigest = *digestFromHex(service::sampleDigestOf(content.data(), content.size()));
    client.send(request.encode());
    ASSERT_TRUE(client.await<UploadAccept>());
    FileChunk chunk;
    chunk.data.assign(content.begin(), content.begin() + 524288);
    client.send(chunk.encode());
    ASSERT_TRUE(client.next(8));
    // Half a chunk, then the client is gone.
    Bytes half = chunk.encode();
    client.connection().socket().send(half.data(), half.size() / 2);
  }
  ASSERT_TRUE(service_.app().storageSessions() == 0 ||
              (ServiceClient().run(300), service_.app().storageSessions() == 0));
  auto item = service_.store().item(t.serverFileId);
  EXPECT_EQ(item->stored, 524288);
  EXPECT_EQ(fileBytes(service_.store().bodyPath(t.serverFileId)).size(), 524288u);
  // And the service still serves others.
  EXPECT_EQ(download(idOf("보고서.doc"), 0).data.size(), 5000u);
}

TEST_F(ServiceUpload, TheGrantedChunkSizeBoundsTheChunksASessionTakes) {
  // A test client that can send chunks beyond what the real client can.
  const ConnectionKind wide{(4u << 20) + 8192, 131072, false, 1044};
  struct Case {
    long long grant;
    std::size_t fits;  // the largest chunk taken; 0: none is
  };
  for (Case c : {Case{1000, 1000}, Case{1050604, 1050604}, Case{2147483647, 4u << 20}, Case{0, 0},
                 Case{-65536, 0}}) {
    SCOPED_TRACE(c.grant);
    service_.faults().set("upload_chunk_size", std::to_string(c.grant), 1);
    const auto content = generated(31, 0, static_cast<std::int64_t>(2 * c.fits + 10));
    const UploadTicket t = ticket("조각" + std::to_string(c.grant) + ".bin");
    std::optional<UploadAccept> accept;
    auto client = openUpload(requestFor(t, content), accept, wide);
    ASSERT_TRUE(accept);
    EXPECT_EQ(accept->chunkSize, c.grant);
    if (c.fits > 0) {
      client->send(chunkOf(content, 0, c.fits));
      EXPECT_TRUE(client->next(kChunkAckType));
    }
    // One byte more than granted: the session closes, the store keeps what it took.
    client->send(chunkOf(content, c.fits, c.fits + 1));
    EXPECT_TRUE(client->waitClosed());
    EXPECT_EQ(service_.store().item(t.serverFileId)->stored, static_cast<std::int64_t>(c.fits));
  }
  // The switch was used up: the default grant again.
  std::optional<UploadAccept> accept;
  const auto content = generated(32, 0, 100);
  openUpload(requestFor(ticket("기본조각.bin"), content), accept);
  ASSERT_TRUE(accept);
  EXPECT_EQ(accept->chunkSize, 1048576);
}

TEST_F(ServiceUpload, NoAckStoresEveryChunkWithoutAcknowledgingOne) {
  service_.faults().set("upload_chunk_size", "1000", 1);
  service_.faults().set("upload_no_ack", "1", 1);
  const auto content = generated(41, 0, 2500);
  const UploadTicket t = ticket("무응답.bin");
  std::optional<UploadAccept> accept;
  auto client = openUpload(requestFor(t, content), accept);
  ASSERT_TRUE(accept);
  for (std::size_t at = 0; at < content.size(); at += 1000)
    client->send(chunkOf(content, at, std::min<std::size_t>(1000, content.size() - at)));
  // Nothing but the UploadDone once every byte is held.
  EXPECT_EQ(typesUntil(*client, kUploadDoneType), std::vector<std::int32_t>{kUploadDoneType});
  EXPECT_TRUE(fileBytes(service_.store().bodyPath(t.serverFileId)) == content);
  // The second and third chunk came without an acknowledgement.
  std::vector<long long> early;
  for (const auto& line : storageLines("ChunkBeforeAck")) early.push_back(line.number("offset"));
  EXPECT_EQ(early, (std::vector<long long>{1000, 2000}));
  // Used up: the next session acknowledges again.
  const auto next = generated(42, 0, 1500000);
  EXPECT_EQ(upload(ticket("응답.bin"), next, 0).acks, 1);
}

TEST_F(ServiceUpload, EarlyDoneClaimsTheFileAfterOneChunkButTheStoreDoesNot) {
  service_.faults().set("upload_chunk_size", "1000", 1);
  service_.faults().set("upload_early_done", "1", 1);
  const auto content = generated(43, 0, 2500);
  const UploadTicket t = ticket("이른완료.bin");
  std::optional<UploadAccept> accept;
  auto client = openUpload(requestFor(t, content), accept);
  ASSERT_TRUE(accept);
  client->send(chunkOf(content, 0, 1000));
  auto done = client->await<UploadDone>();
  ASSERT_TRUE(done);
  EXPECT_EQ(resultCode(done->result), 0);
  EXPECT_EQ(done->value, t.serverFileId);
  EXPECT_EQ(service_.store().item(t.serverFileId)->stored, 1000);
  // A client that believes it is not answered with a registration.
  EXPECT_EQ(announceFinished(t.serverFileId), std::vector<std::int32_t>{kCreditBalanceType});
}

TEST_F(ServiceUpload, ForcedDoneResultsKeepTheFileOnlyForSuccess) {
  struct Case {
    int result;
    bool kept;
  };
  for (Case c : {Case{2, false}, Case{7, false}, Case{1, true}}) {
    SCOPED_TRACE(c.result);
    service_.faults().set("upload_done_result", std::to_string(c.result), 1);
    const auto content = generated(50 + c.result, 0, 3000);
    const UploadTicket t = ticket("결과" + std::to_string(c.result) + ".bin");
    UploadRun run = upload(t, content, 0);
    ASSERT_TRUE(run.done);
    EXPECT_EQ(resultCode(run.done->result), c.result);
    auto item = service_.store().item(t.serverFileId);
    EXPECT_EQ(item->stored, c.kept ? 3000 : 0);
    EXPECT_EQ(fileBytes(service_.store().bodyPath(t.serverFileId)).size(), c.kept ? 3000u : 0u);
    const std::vector<std::int32_t> registered{kFileRegisteredType, kCreditBalanceType};
    const std::vector<std::int32_t> nothing{kCreditBalanceType};
    EXPECT_EQ(announceFinished(t.serverFileId, static_cast<std::uint8_t>(c.result)),
              c.kept ? registered : nothing);
  }
}

TEST_F(ServiceUpload, FakedTicketSizesLeaveTheStoreAndRefuseMoreThanTheSize) {
  const std::int32_t partial = idOf("미완성.zip");
  struct Case {
    const char* name;
    std::int32_t folder;
    std::int64_t size, held;
    std::int32_t named;  // the record the ticket must name; 0: a new one
    bool refused;        // an upload to it afterwards
  };
  for (Case c :
       {Case{"같은크기.bin", 0, 5000, 5000, 0, false}, Case{"넘친크기.bin", 0, 100, 200, 0, true},
        Case{"미완성.zip", idOf("문서"), 4000000, 4000000, partial, false}}) {
    SCOPED_TRACE(c.name);
    service_.faults().set("upload_ticket_sizes",
                          std::to_string(c.size) + "," + std::to_string(c.held), 1);
    const UploadTicket t = ticket(c.name, c.folder);
    EXPECT_EQ(resultCode(t.result), 0);
    EXPECT_EQ(t.fileSize, c.size);
    EXPECT_EQ(t.storedBytes, c.held);
    if (c.named != 0) {
      EXPECT_EQ(t.serverFileId, c.named);
    }
    // The store holds what it held before.
    auto item = service_.store().item(t.serverFileId);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->name, c.name);
    EXPECT_EQ(item->stored, c.named != 0 ? 1500000 : 0);
    if (c.named == 0) {
      const auto content = generated(60, 0, c.size);
      UploadRun run = upload(t, content, 0);
      EXPECT_EQ(resultCode(run.accept->result), c.refused ? 1 : 0);
      EXPECT_EQ(run.closed, c.refused);
      EXPECT_EQ(run.done.has_value(), !c.refused);
    }
  }
  // Used up: the service's own answer (the fresh record is not resumed).
  const UploadTicket own = ticket("넘친크기.bin");
  EXPECT_EQ(resultCode(own.result), 255);
  EXPECT_EQ(own.storedBytes, 0);
}

TEST_F(ServiceUpload, AFileHeldWholeIsNeverOfferedNorOverwritten) {
  const auto first = generated(70, 0, 40000);
  const UploadTicket a = ticket("같은이름.bin");
  ASSERT_TRUE(upload(a, first, 0).done);
  // The ticket request names no content: the same name gets a new record.
  const UploadTicket b = ticket("같은이름.bin");
  EXPECT_EQ(resultCode(b.result), 255);
  EXPECT_NE(b.serverFileId, a.serverFileId);
  EXPECT_EQ(b.storedBytes, 0);
  // A session naming the whole file is refused, whatever it sends.
  const auto second = generated(71, 0, 40000);
  UploadRun overwrite = upload(a, second, 0);
  EXPECT_EQ(resultCode(overwrite.accept->result), 1);
  EXPECT_TRUE(overwrite.closed);
  ASSERT_TRUE(upload(b, second, 0).done);
  EXPECT_TRUE(fileBytes(service_.store().bodyPath(a.serverFileId)) == first);
  EXPECT_TRUE(fileBytes(service_.store().bodyPath(b.serverFileId)) == second);
}

TEST_F(ServiceUpload, AProtectedFileAnnouncedPublicEndsAsB) {
  struct Case {
    bool isProtected;
    char announced, stored;
  };
  int seed = 80;
  for (Case c :
       {Case{true, 't', 'b'}, Case{true, 'f', 'f'}, Case{true, 'c', 'c'}, Case{false, 'b', 'b'}}) {
    SCOPED_TRACE(std::string(1, c.announced) + (c.isProtected ? " protected" : ""));
    const auto content = generated(++seed, 0, 5000);
    if (c.isProtected) {
      service_.store().addProtected(
          service::uniqueCodeFor(service::sampleDigestOf(content.data(), content.size()), 5000));
    }
    sharing_ = c.announced;
    const UploadTicket t = ticket("보호" + std::to_string(seed) + ".mp3");
    ASSERT_TRUE(upload(t, content, 0).done);
    EXPECT_EQ(service_.store().item(t.serverFileId)->share, c.stored);
  }
}

TEST_F(ServiceUpload, TheRequestLogShowsEachUploadMessageWithoutItsData) {
  // A paced upload: its request in full, one short line per chunk.
  service_.faults().set("upload_chunk_size", "1000", 2);
  subFolder_ = "올린 폴더";
  fileName_ = "기록.bin";
  const auto content = generated(90, 0, 2500);
  const UploadTicket t = ticket("기록.bin");
  ASSERT_TRUE(upload(t, content, 0).done);
  auto requests = storageLines("UploadRequest");
  ASSERT_EQ(requests.size(), 1u);
  const auto& request = requests[0];
  EXPECT_EQ(request.member, "demo1");
  EXPECT_EQ(request.type, 0);
  EXPECT_EQ(request.number("sessionNumber"), session_);
  EXPECT_EQ(request.number("serverFileId"), t.serverFileId);
  EXPECT_EQ(request.number("folderId"), 2);
  EXPECT_EQ(request.text("memberId"), "demo1");
  EXPECT_EQ(request.text("subFolder"), "올린 폴더");
  EXPECT_EQ(request.fields.value("subFolder", ""), u8"올린 폴더");  // UTF-8 in the file
  EXPECT_EQ(request.text("fileName"), "기록.bin");
  EXPECT_EQ(request.number("totalSize"), 2500);
  EXPECT_EQ(request.number("offset"), 0);
  EXPECT_EQ(request.text("sharingLetter"), "t");
  EXPECT_EQ(request.text("sampleDigest"), service::sampleDigestOf(content.data(), content.size()));
  std::vector<std::pair<long long, long long>> chunks;
  for (const auto& line : storageLines("FileChunk")) {
    EXPECT_EQ(line.member, "demo1");
    EXPECT_EQ(line.fields.size(), 2u);  // size and offset, never data
    chunks.emplace_back(line.number("size"), line.number("offset"));
  }
  EXPECT_EQ(chunks,
            (std::vector<std::pair<long long, long long>>{{1000, 0}, {1000, 1000}, {500, 2000}}));
  EXPECT_TRUE(storageLines("ChunkBeforeAck").empty());

  // Three chunks in one write: the second and third were on their way before
  // the service acknowledged the one in front of them.
  const UploadTicket ahead = ticket("앞서감.bin");
  std::optional<UploadAccept> accept;
  auto client = openUpload(requestFor(ahead, content), accept);
  ASSERT_TRUE(accept);
  Bytes all;
  for (std::size_t at = 0; at < content.size(); at += 1000) {
    Bytes packet = framed(chunkOf(content, at, std::min<std::size_t>(1000, content.size() - at)));
    all.insert(all.end(), packet.begin(), packet.end());
  }
  ASSERT_EQ(client->connection().socket().send(all.data(), all.size()),
            static_cast<int>(all.size()));
  ASSERT_TRUE(client->await<UploadDone>());
  std::vector<long long> early;
  for (const auto& line : storageLines("ChunkBeforeAck")) early.push_back(line.number("offset"));
  EXPECT_EQ(early, (std::vector<long long>{1000, 2000}));

  // A cancel after one chunk of the default size: the file and what is held.
  const auto big = generated(91, 0, 1500000);
  const UploadTicket cancelled = ticket("취소.bin");
  UploadRun part = upload(cancelled, big, 0, 1048576);
  EXPECT_EQ(part.acks, 1);
  // The cancel gets no answer: wait for its line.
  std::vector<testing_support::LoggedRequest> cancels;
  for (int tries = 0; tries < 300 && cancels.empty(); ++tries) {
    if (tries > 0) login_.run(10);
    cancels = storageLines("UploadCancel");
  }
  ASSERT_EQ(cancels.size(), 1u);
  EXPECT_EQ(cancels[0].number("serverFileId"), cancelled.serverFileId);
  EXPECT_EQ(cancels[0].number("offset"), 1048576);
}

}  // namespace
}  // namespace pom
