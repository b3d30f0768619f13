// The storage servers over real loopback sockets: downloads and uploads of
// several sizes from several offsets end byte-identical, credit is charged,
// refusals and shortages arrive where they apply, resumes append.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

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
  // Sends content[offset, stopAt) in chunks of the accepted size, one per ack.
  UploadRun upload(const UploadTicket& ticket, const std::vector<std::uint8_t>& content,
                   std::int64_t offset, std::int64_t stopAt = -1,
                   std::optional<std::string> digest = std::nullopt) {
    UploadRun run;
    ServiceClient client(kUploadSessionKind);
    EXPECT_TRUE(client.connect(ticket.storageHost, ticket.storagePort));
    UploadRequest request;
    request.sessionNumber = session_;
    request.serverFileId = ticket.serverFileId;
    request.folderId = 2;
    request.memberId = "demo1";
    request.fileName = "x";
    request.totalSize = static_cast<std::int64_t>(content.size());
    request.offset = offset;
    request.sharingLetter = 't';
    request.sampleDigest =
        *digestFromHex(digest ? *digest : service::sampleDigestOf(content.data(), content.size()));
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

  ServiceClient login_;
  std::uint16_t session_ = 0;
};

TEST_F(ServiceUpload, UploadsOfSeveralSizesAreStoredByteIdentical) {
  for (std::int64_t size : {std::int64_t{10}, std::int64_t{40000}, std::int64_t{1500000}}) {
    SCOPED_TRACE(size);
    std::vector<std::uint8_t> content = generated(777, 3, size);
    UploadTicket t = ticket("올림" + std::to_string(size) + ".bin");
    ASSERT_EQ(resultCode(t.result), 255);
    UploadRun run = upload(t, content, 0);
    ASSERT_TRUE(run.accept);
    EXPECT_EQ(resultCode(run.accept->result), 0);
    EXPECT_EQ(run.accept->chunkSize, 524288);
    ASSERT_TRUE(run.done);
    EXPECT_EQ(resultCode(run.done->result), 0);
    EXPECT_EQ(run.done->value, t.serverFileId);
    EXPECT_EQ(run.acks, static_cast<int>((size - 1) / 524288));
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

}  // namespace
}  // namespace pom
