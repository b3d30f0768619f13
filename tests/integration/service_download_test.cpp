// What the local service offers the client's download engine, seen on the
// wire by small raw clients over loopback: the data-session and peer fault
// switches, the request log of storage servers and peers, files served under
// hostile names, and large bodies read beyond 4 GiB without filling the disk.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "integration/service_client.h"
#include "integration/web_test_client.h"
#include "service/control.h"
#include "service/demo_data.h"
#include "service/file_bodies.h"
#include "service/hostile_names.h"
#include "service/peer_server.h"
#include "service/tickets.h"
#include "service/web_search.h"
#include "support/service_fixture.h"

namespace pom {
namespace {

using testing_support::resultCode;
using testing_support::ServiceClient;
using testing_support::ServiceFixture;

std::uint32_t le32(const Bytes& body, std::size_t at) {
  return static_cast<std::uint32_t>(body[at]) | static_cast<std::uint32_t>(body[at + 1]) << 8 |
         static_cast<std::uint32_t>(body[at + 2]) << 16 |
         static_cast<std::uint32_t>(body[at + 3]) << 24;
}

std::string expectedBytes(const service::Item& file, std::int64_t offset, std::size_t n) {
  std::string bytes(n, '\0');
  service::fillGeneratedBody(static_cast<std::uint64_t>(file.id), file.size, offset,
                             reinterpret_cast<std::uint8_t*>(&bytes[0]), n);
  return bytes;
}

std::string peerHeader(const service::Item& file, std::int64_t offset) {
  return service::framePeerHeader("|header|" + file.uniqueCode + "|" + std::to_string(file.size) +
                                  "|" + std::to_string(offset) + "|||");
}

// Every body of one data session, FileData bytes taken as they are sent
// (whatever their count field says).
struct DataSession {
  std::optional<DownloadAccept> accept;
  std::vector<Bytes> fileData;
  std::string data;
  bool refused = false;  // FileRefused
  bool creditInfo = false;
  bool closed = false;
};

// Raw clients of each part of a ServiceFixture that the test starts.
class DownloadWire : public ::testing::Test {
 protected:
  service::Item file(const std::string& name) {
    auto item = service_.store().item(service::findItemId(service_.store(), "demo1", name));
    EXPECT_TRUE(item) << name;
    return item.value_or(service::Item{});
  }

  DownloadRequest requestFor(const service::Item& item, std::int64_t offset) {
    DownloadRequest request;
    request.fileId = item.id;
    request.memberId = "demo1";
    request.password = "demo1234";
    request.path = service::downloadPathsFor(item).joined();
    request.offset = offset;
    return request;
  }

  // Runs one data session until it ends, CreditInfo arrives or `enough` data
  // bytes are in.
  DataSession fetch(const DownloadRequest& request, std::size_t enough = SIZE_MAX) {
    DataSession session;
    ServiceClient client(kDownloadSessionKind);
    EXPECT_TRUE(client.connect(service_.ports().storageHost, service_.ports().downloadPort));
    client.send(request.encode());
    auto& bodies = client.connection().bodies;
    client.loop().runUntil(
        [&] {
          for (; !bodies.empty(); bodies.pop_front()) {
            const Bytes& body = bodies.front();
            switch (*bodyType(body.data(), body.size())) {
              case 3:
                session.accept = DownloadAccept::decode(body.data(), body.size());
                break;
              case 5:
                session.fileData.push_back(body);
                session.data.append(body.begin() + 8, body.end());
                break;
              case 6:
                session.creditInfo = true;
                return true;
              case 10:
                session.refused = true;
                break;
            }
          }
          return session.data.size() >= enough || client.connection().closed ||
                 !client.connection().isOpen();
        },
        10000);
    session.closed = client.connection().closed || !client.connection().isOpen();
    return session;
  }

  void login(ServiceClient& client) {
    ASSERT_TRUE(client.connect(service_.ports().loginHosts[0], service_.ports().loginPorts[0]));
    LoginRequest request;
    request.memberId = "demo1";
    request.password = "demo1234";
    client.send(request.encode());
    auto reply = client.await<LoginReply>();
    ASSERT_TRUE(reply);
    ASSERT_EQ(resultCode(reply->result), 0);
    ASSERT_TRUE(client.await<SessionInfo>());
  }

  // What peer number `peer` (1 for the first peer host, as the switches
  // count) answers to the bytes.
  std::string peerAnswer(int peer, const std::string& bytes, std::size_t maxBytes = 64 << 20,
                         int timeoutMs = 5000, bool* closed = nullptr) {
    test::RawClient client(service_.ports().peerHosts[static_cast<std::size_t>(peer - 1)],
                           service_.ports().peerPort);
    EXPECT_TRUE(client.connected());
    client.send(bytes);
    std::string answer = client.readAll(timeoutMs, maxBytes);
    if (answer.size() > maxBytes) answer.resize(maxBytes);
    if (closed) *closed = client.closed();
    return answer;
  }

  test::HttpReply peerList(const service::Item& item) {
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(item.size));
    return test::httpGet(service_.ports().peerListHost, service_.ports().webPort,
                         "/search.asp?chksum=" + item.uniqueCode + std::to_string(low));
  }

  ServiceFixture service_;
};

class ServiceDownload : public DownloadWire {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
  }
};

TEST_F(ServiceDownload, DataSessionSwitchesShowOnTheWire) {
  const service::Item photo = file("가족.jpg");  // 3 MiB: three FileData of 1 MiB
  const std::string whole = expectedBytes(photo, 0, static_cast<std::size_t>(photo.size));
  struct Case {
    const char* key;
    std::string value;
    std::int64_t acceptedSize;
    long long firstCountDelta;
  };
  for (const Case& c :
       {Case{"filedata_count_mismatch", "5", photo.size, 5},
        Case{"filedata_count_mismatch", "-3", photo.size, -3},
        Case{"download_accept_size", "-1", -1, 0},
        Case{"download_accept_size", std::to_string(photo.size + 1000), photo.size + 1000, 0}}) {
    SCOPED_TRACE(std::string(c.key) + " " + c.value);
    ASSERT_TRUE(service_.faults().set(c.key, c.value, 1));
    DataSession session = fetch(requestFor(photo, 0));
    ASSERT_TRUE(session.accept);
    EXPECT_EQ(session.accept->fileSize, c.acceptedSize);
    ASSERT_GE(session.fileData.size(), 2u);
    for (std::size_t i = 0; i < session.fileData.size(); ++i) {
      const Bytes& body = session.fileData[i];
      const long long real = static_cast<long long>(body.size()) - 8;
      EXPECT_EQ(static_cast<std::int32_t>(le32(body, 4)), real + (i == 0 ? c.firstCountDelta : 0))
          << "FileData " << i;
    }
    EXPECT_TRUE(session.data == whole);  // the bytes themselves are never spoiled
  }
}

TEST_F(ServiceDownload, GrantedTicketForAFileGoneAtTheStorageServer) {
  const service::Item report = file("보고서.doc");
  const service::Item photo = file("가족.jpg");
  ASSERT_TRUE(service_.faults().set("download_file_gone", std::to_string(report.id)));
  ServiceClient main;
  login(main);
  DownloadTicketRequest request;
  request.fileId = report.id;
  request.missingBytes = report.size;
  main.send(request.encode());
  auto ticket = main.await<DownloadTicket>();
  ASSERT_TRUE(ticket);
  EXPECT_EQ(resultCode(ticket->result), 0);

  DataSession gone = fetch(requestFor(report, 0));
  EXPECT_TRUE(gone.refused);
  EXPECT_FALSE(gone.accept);
  EXPECT_FALSE(gone.creditInfo);  // a refusal is the session's last word
  EXPECT_TRUE(gone.closed);
  // Other files are still served.
  EXPECT_EQ(fetch(requestFor(photo, photo.size - 10)).data,
            expectedBytes(photo, photo.size - 10, 10));
}

TEST_F(ServiceDownload, LogsTransferMessagesDataRequestsAndPeerHeaders) {
  const service::Item big = file("큰파일.avi");
  ServiceClient main;
  login(main);
  main.send(TransferEnded{}.encode());
  ASSERT_TRUE(main.await<CreditBalance>());
  PeerReport report;
  report.sessionNumber = 77;
  report.fileId = big.id;
  report.memberId = "demo1";
  report.totalSize = big.size;
  report.peerBytes = 5000000;
  report.completed = true;
  report.flatRate = 2;
  main.send(report.encode());

  DownloadRequest request = requestFor(big, big.size - 100);
  request.sessionNumber = 9;
  EXPECT_EQ(fetch(request).data.size(), 100u);
  EXPECT_EQ(peerAnswer(2, peerHeader(big, big.size - 5)).size(), 5u);
  peerAnswer(3, service::framePeerHeader("|header|nonsense|||"));

  const std::string log = service_.requestLogPath();
  auto reports = testing_support::waitForRequests(log, RequestType::PeerReport);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].fields, (nlohmann::json{{"sessionNumber", 77},
                                               {"fileId", big.id},
                                               {"memberId", "demo1"},
                                               {"totalSize", big.size},
                                               {"peerBytes", 5000000},
                                               {"completed", true},
                                               {"flatRate", 2}}));
  ASSERT_EQ(service_.requests(RequestType::TransferEnded).size(), 1u);
  EXPECT_EQ(service_.requests(RequestType::TransferEnded)[0].member, "demo1");

  // A DownloadRequest shares type 3 with MemberFolderListRequest: only the
  // server tells them apart.
  EXPECT_TRUE(service_.requests(RequestType::MemberFolderList).empty());
  auto data = service_.storageRequests();
  ASSERT_EQ(data.size(), 1u);
  EXPECT_EQ(data[0].name, "DownloadRequest");
  EXPECT_EQ(data[0].type, 3);
  EXPECT_EQ(data[0].member, "demo1");
  EXPECT_EQ(data[0].fields, (nlohmann::json{{"sessionNumber", 9},
                                            {"fileId", big.id},
                                            {"memberId", "demo1"},
                                            {"password", "***"},
                                            {"path", request.path},
                                            {"offset", big.size - 100}}));

  auto peers = testing_support::waitForServerLog(log, testing_support::kPeerServer, 2);
  ASSERT_EQ(peers.size(), 2u);
  // The two peers log from their own threads: find each by its address.
  std::sort(peers.begin(), peers.end(),
            [](const auto& a, const auto& b) { return a.peer < b.peer; });
  EXPECT_EQ(peers[0].peer, "127.0.0.12");
  EXPECT_EQ(peers[0].fields,
            (nlohmann::json{
                {"checksum", big.uniqueCode}, {"totalSize", big.size}, {"offset", big.size - 5}}));
  EXPECT_FALSE(peers[0].malformed);
  EXPECT_EQ(peers[1].peer, "127.0.0.13");
  EXPECT_TRUE(peers[1].malformed);

  std::ifstream in(log, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text.find("demo1234"), std::string::npos);
}

TEST_F(ServiceDownload, PeerSwitchesApplyToTheNamedPeerOnly) {
  const service::Item big = file("큰파일.avi");
  const std::string header = peerHeader(big, 1000);
  const std::string expected = expectedBytes(big, 1000, 200000);

  // Peer 1 stalls; peers 2 and 3 serve as usual and leave the switch alone.
  ASSERT_TRUE(service_.faults().set("peer_stall", "1@1", 1));
  EXPECT_EQ(peerAnswer(1, peerHeader(big, 0), SIZE_MAX, 300), "");
  ASSERT_TRUE(service_.faults().set("peer_stall", "1@1", 1));
  EXPECT_TRUE(peerAnswer(2, header, expected.size()) == expected);
  EXPECT_TRUE(peerAnswer(3, header, expected.size()) == expected);
  EXPECT_TRUE(service_.faults().peek("peer_stall"));

  // Peer 3, named by its address, closes after 70,000 bytes.
  ASSERT_TRUE(service_.faults().set("peer_close_after", "70000@127.0.0.13", 1));
  bool closed = false;
  EXPECT_TRUE(peerAnswer(3, header, SIZE_MAX, 5000, &closed) == expected.substr(0, 70000));
  EXPECT_TRUE(closed);

  // Peer 2 inverts its answer from byte 10 on.
  ASSERT_TRUE(service_.faults().set("peer_corrupt", "10@2", 1));
  const std::string wrong = peerAnswer(2, header, expected.size());
  ASSERT_EQ(wrong.size(), expected.size());
  EXPECT_EQ(wrong.substr(0, 10), expected.substr(0, 10));
  for (std::size_t i = 10; i < wrong.size(); i += 4099)
    EXPECT_EQ(static_cast<char>(~wrong[i]), expected[i]) << i;

  // Peer 2 is slow: 2,000 bytes a second cannot deliver 12 MiB in 300 ms.
  ASSERT_TRUE(service_.faults().set("peer_rate", "2000@2", 1));
  const std::string part = peerAnswer(2, header, SIZE_MAX, 300);
  EXPECT_LT(part.size(), expected.size());
  EXPECT_TRUE(part == expected.substr(0, part.size()));
}

TEST_F(ServiceDownload, HangingPeerAnswersNoConnect) {
  // Non-blocking connect with a bounded wait: neither connected nor refused.
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(service_.ports().peerPort);
  ::inet_pton(AF_INET, service_.ports().hangingPeerHost.c_str(), &address.sin_addr);
  const int started = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  EXPECT_TRUE(started != 0 && errno == EINPROGRESS);
  pollfd p{fd, POLLOUT, 0};
  EXPECT_EQ(::poll(&p, 1, 300), 0);
  ::close(fd);
}

TEST_F(ServiceDownload, PeerListSwitches) {
  const service::Item big = file("큰파일.avi");
  const std::string holders = "127.0.0.11|127.0.0.12|127.0.0.13";
  EXPECT_EQ(peerList(big).body, holders);
  struct Case {
    const char* mode;
    int status;
    std::string body;
  };
  for (const Case& c :
       {Case{"hang", 200, "127.0.0.14|" + holders}, Case{"hang_only", 200, "127.0.0.14"},
        Case{"bad", 200, service::badPeerEntries() + holders},
        Case{"bad_only", 200, service::badPeerEntries()}, Case{"404", 404, ""},
        Case{"500", 500, ""}}) {
    SCOPED_TRACE(c.mode);
    ASSERT_TRUE(service_.faults().set("peer_list", c.mode, 1));
    test::HttpReply reply = peerList(big);
    EXPECT_EQ(reply.status, c.status);
    if (c.status == 200) {
      EXPECT_EQ(reply.body, c.body);
    }
  }
  EXPECT_EQ(peerList(big).body, holders);  // each was good for one reply

  // Not one of the bad entries is a dotted IPv4 address; there are empty
  // pieces and one of 300 bytes.
  const std::string bad = service::badPeerEntries();
  std::size_t start = 0, empty = 0, longest = 0;
  for (std::size_t end; (end = bad.find('|', start)) != std::string::npos; start = end + 1) {
    const std::string piece = bad.substr(start, end - start);
    in_addr parsed{};
    EXPECT_NE(::inet_pton(AF_INET, piece.c_str(), &parsed), 1) << piece;
    empty += piece.empty();
    longest = std::max(longest, piece.size());
  }
  EXPECT_GE(empty, 2u);
  EXPECT_EQ(longest, 300u);

  // A cut body: the announced length is more than arrives before the close.
  ASSERT_TRUE(service_.faults().set("peer_list", "cut", 1));
  test::HttpReply cut = peerList(big);
  EXPECT_EQ(cut.status, 200);
  EXPECT_EQ(cut.body, holders);
  const auto at = cut.headers.find("Content-Length: ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_GT(std::stoul(cut.headers.substr(at + 16)), cut.body.size());
}

TEST_F(ServiceDownload, HostileNamesInListingsTicketsAndDataRequests) {
  const service::Item hello = file("안녕.txt");
  ServiceClient main;
  login(main);
  std::string longName;
  for (int i = 0; i < 148; ++i) longName += "긴";
  longName += ".txt";
  struct Case {
    const char* kind;
    std::string name;
  };
  for (const Case& c : {Case{"dotdot", "..\\x"}, Case{"drive", "C:\\x"}, Case{"unc", "\\\\host\\x"},
                        Case{"con", "CON"}, Case{"slash", "a/b"}, Case{"dot", "x."},
                        Case{"blank", "x "}, Case{"long", longName}}) {
    SCOPED_TRACE(c.kind);
    ASSERT_EQ(
        service::runControlCommand(service_.faults(), std::string("set hostile_name ") + c.kind +
                                                          "@" + std::to_string(hello.id)),
        "ok");
    FolderListRequest list;
    list.folderId = hello.parentId;
    main.send(list.encode());
    auto page = main.await<FolderList>();
    ASSERT_TRUE(page);
    auto entry = std::find_if(page->entries.begin(), page->entries.end(),
                              [&](const FolderEntry& e) { return e.itemId == hello.id; });
    ASSERT_NE(entry, page->entries.end());
    EXPECT_EQ(entry->name, c.name);  // all of it, 300 bytes included

    DownloadTicketRequest request;
    request.fileId = hello.id;
    request.missingBytes = hello.size;
    main.send(request.encode());
    auto ticket = main.await<DownloadTicket>();
    ASSERT_TRUE(ticket);
    ASSERT_EQ(resultCode(ticket->result), 0);
    const std::string full = std::to_string(hello.id) + "/" + c.name;
    EXPECT_EQ(full.compare(0, ticket->serverPath.size(), ticket->serverPath), 0);
    EXPECT_GE(ticket->serverPath.size(), std::min<std::size_t>(full.size(), 254));

    // The path the client sends back is the one the ticket carried.
    DownloadRequest data = requestFor(hello, 0);
    data.path = ticket->storagePathHead + ticket->storagePathTail + ticket->serverPath;
    EXPECT_EQ(fetch(data).data, expectedBytes(hello, 0, 5));
    data.path = service::downloadPathsFor(hello).joined();
    EXPECT_TRUE(fetch(data).refused);
  }
  EXPECT_EQ(service::runControlCommand(service_.faults(), "clear hostile_name"), "ok");
  EXPECT_EQ(file("안녕.txt").name, "안녕.txt");  // the store keeps the real name
}

TEST(ServiceDownloadSwitches, ValuesAreCheckedWhenSet) {
  service::Faults faults;
  for (const char* good :
       {"set peer_stall 1", "set peer_rate 100@3", "set peer_corrupt 0@127.0.0.12",
        "set peer_close_after 10", "set peer_list cut", "set hostile_name long@12",
        "set filedata_count_mismatch -4", "set download_accept_size -1",
        "set download_file_gone 0"}) {
    EXPECT_EQ(service::runControlCommand(faults, good), "ok") << good;
  }
  for (const char* bad : {"set peer_stall x", "set peer_rate 100@", "set peer_list 403",
                          "set hostile_name long", "set hostile_name nope@12",
                          "set hostile_name con@-1", "set filedata_count_mismatch many"}) {
    EXPECT_EQ(service::runControlCommand(faults, bad).rfind("error", 0), 0u) << bad;
  }
}

class ServiceLargeFiles : public DownloadWire {
 protected:
  static constexpr std::int64_t kHuge = (std::int64_t{1} << 32) + (5 << 20) + 7;
  static constexpr std::int64_t kBench = 3 << 20;
};

TEST_F(ServiceLargeFiles, HugeSparseBodyReadsRightBeyondFourGiB) {
  service_.setHugeFile(kHuge);
  std::string error;
  ASSERT_TRUE(service_.start(&error)) << error;
  auto& store = service_.store();
  auto huge = store.item(service::findItemId(store, "demo1", service::demo::kHugeFile));
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->size, kHuge);
  EXPECT_EQ(huge->parentId, 0);
  struct stat body {};
  ASSERT_EQ(::stat(store.bodyPath(huge->id).c_str(), &body), 0);
  EXPECT_EQ(body.st_size, kHuge);
  EXPECT_LT(static_cast<std::int64_t>(body.st_blocks) * 512, std::int64_t{32} << 20);

  // Across the 4 GiB boundary into the hole and to the end, from storage.
  const std::int64_t from = (std::int64_t{1} << 32) - 100;
  DataSession session = fetch(requestFor(*huge, from));
  ASSERT_TRUE(session.accept);
  EXPECT_EQ(session.accept->fileSize, kHuge);
  ASSERT_EQ(static_cast<std::int64_t>(session.data.size()), kHuge - from);
  EXPECT_TRUE(session.data == expectedBytes(*huge, from, session.data.size()));
  EXPECT_NE(session.data.substr(0, 100), std::string(100, '\0'));
  EXPECT_EQ(session.data[static_cast<std::size_t>((2 << 20) + 100)], '\0');  // inside the hole

  // The three peers hold it and serve it past 4 GiB as well.
  EXPECT_EQ(peerList(*huge).body, "127.0.0.11|127.0.0.12|127.0.0.13");
  const std::int64_t peerFrom = kHuge - (1 << 20) - 50;  // the hole's end
  EXPECT_TRUE(peerAnswer(3, peerHeader(*huge, peerFrom)) ==
              expectedBytes(*huge, peerFrom, static_cast<std::size_t>(kHuge - peerFrom)));
}

TEST_F(ServiceLargeFiles, BenchAndSmallFilesOnRequestOnly) {
  {
    ServiceFixture plain;
    ASSERT_TRUE(plain.start());
    for (const char* name :
         {service::demo::kHugeFile, service::demo::kBenchFolder, service::demo::kSmallFolder})
      EXPECT_EQ(service::findItemId(plain.store(), "demo1", name), 0) << name;
  }
  service_.setBenchFile(kBench);
  service_.setSmallFiles(5);
  std::string error;
  ASSERT_TRUE(service_.start(&error)) << error;
  auto& store = service_.store();
  const std::int32_t benchId = service::findItemId(store, "demo1", service::demo::kBenchFile);
  auto bench = store.item(benchId);
  ASSERT_TRUE(bench);
  EXPECT_EQ(bench->size, kBench);
  EXPECT_EQ(store.item(bench->parentId)->name, service::demo::kBenchFolder);
  EXPECT_EQ(store.peerHolders(bench->uniqueCode).size(), 3u);
  struct stat body {};
  ASSERT_EQ(::stat(store.bodyPath(benchId).c_str(), &body), 0);
  EXPECT_EQ(body.st_size, kBench);

  const std::int32_t small = service::findItemId(store, "demo1", service::demo::kSmallFolder);
  auto files = store.filesIn("demo1", small, false);
  ASSERT_EQ(files.size(), 5u);
  for (const auto& f : files) EXPECT_EQ(f.size, 4096);

  // A restart reuses the body and adds nothing twice.
  ASSERT_TRUE(service_.restart(&error)) << error;
  struct stat again {};
  ASSERT_EQ(::stat(service_.store().bodyPath(benchId).c_str(), &again), 0);
  EXPECT_EQ(again.st_mtim.tv_nsec, body.st_mtim.tv_nsec);
  EXPECT_EQ(again.st_ino, body.st_ino);
  EXPECT_EQ(service::findItemId(service_.store(), "demo1", service::demo::kBenchFile), benchId);
  EXPECT_EQ(service_.store().filesIn("demo1", small, false).size(), 5u);
}

}  // namespace
}  // namespace pom
