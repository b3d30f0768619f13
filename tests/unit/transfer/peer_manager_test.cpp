// The peer manager behind the download window: which files ask for peers,
// the header, bytes written through the window's capped path, the watchdog,
// the fall-back to the storage server, the reports and the speed history.
#include <gtest/gtest.h>

#include "download_harness.h"

namespace pom::test {
namespace {

constexpr std::int64_t kBig = 10485760 + 6000;

std::vector<std::string> hostsTried(PeerHarness& h, std::vector<std::string>& seen) {
  const std::string host = h.peerSocket(0).connectedHost();
  if (seen.empty() || seen.back() != host) seen.push_back(host);
  return seen;
}

TEST(PeerManager, OnlyFilesAboveTenMebibytesAskThePeerList) {
  for (std::int64_t size : {std::int64_t{10485760}, std::int64_t{10485761}}) {
    PeerHarness h;
    h.listPeers(size, "127.0.0.11");
    h.queued(1, "a.bin", size);
    h.ticket(1);
    if (size == 10485760) {
      EXPECT_TRUE(h.fake.http.requests.empty());
      EXPECT_EQ(h.socket(0).connectedHost(), "127.0.0.5");
      continue;
    }
    ASSERT_EQ(h.fake.http.requests.size(), 1u);
    const HttpRequest& request = h.fake.http.requests[0];
    EXPECT_EQ(request.agent, "PeerSvrList");
    EXPECT_EQ(request.path, std::string("/search.asp?chksum=") + kPeerCode + "10485761");
    EXPECT_GT(request.timeoutMs, 0) << "the request must not hold the window";
    EXPECT_EQ(h.peerSocket(0).connectedHost(), "127.0.0.11");
    EXPECT_EQ(h.peerSocket(0).connectedPort(), 4881);
    EXPECT_EQ(h.socket(0).connects(), 0) << "no storage-server connection";
    EXPECT_EQ(h.manager->source(1)->mode, 2);
  }
}

TEST(PeerManager, UnusableListsAndCodesLeaveTheFileToTheStorageServer) {
  struct Case {
    const char* what;
    std::string body;
    int status;
    bool cut;
    std::string code;
  };
  const std::vector<Case> cases = {
      {"not found", "127.0.0.11", 404, false, kPeerCode},
      {"server error", "127.0.0.11", 500, false, kPeerCode},
      {"one byte", "|", 200, false, kPeerCode},
      {"no address", "peer.example|1.2.3", 200, false, kPeerCode},
      {"cut short", "127.0.0.11|127.0.0.1", 200, true, kPeerCode},
      {"no reply", "", 0, false, kPeerCode},
      {"bad code", "127.0.0.11", 200, false, "../../x"},
  };
  for (const Case& c : cases) {
    PeerHarness h;
    if (c.status != 0) h.listPeers(kBig, c.body, c.status);
    if (c.cut) h.fake.http.replies.begin()->second.contentLength += 2;
    h.queued(1, "a.bin", kBig);
    DownloadTicket t;
    t.fileId = 1;
    t.serverPath = "/srv/1";
    t.storageHost = "127.0.0.5";
    t.uniqueCode = c.code;
    h.window->onTicket(t);
    EXPECT_EQ(h.socket(0).connectedHost(), "127.0.0.5") << c.what;
    EXPECT_EQ(h.peerSocket(0).connects(), 0) << c.what;
    EXPECT_EQ(h.manager->source(1)->mode, 1) << c.what;
    if (c.code != kPeerCode) {
      EXPECT_TRUE(h.fake.http.requests.empty());
    }
  }
}

TEST(PeerManager, AResumedFileAsksFromItsBytesAndCompletesWithOneReport) {
  PeerHarness h;
  const std::string whole(static_cast<std::size_t>(kBig), 'p');
  h.fake.files.addFile("c:\\down\\a.bin", whole.substr(0, 10485000));
  h.listPeers(kBig, "127.0.0.11");
  h.queued(1, "a.bin", kBig);
  h.ticket(1);
  h.peerUp(0);
  const auto header = h.header(0);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->checksum, kPeerCode);
  EXPECT_EQ(header->totalSize, kBig);
  EXPECT_EQ(header->offset, 10485000);
  EXPECT_EQ(h.job(0).state, JobState::Transferring);
  // The rest and more than the file lacks: the surplus is not written.
  h.peerSends(0, std::string(3000, 'p'));
  h.peerSends(0, std::string(5000, 'p'));
  h.peerSends(0, "late");
  h.fake.loop.advance(1000);
  EXPECT_EQ(h.file("a.bin"), whole);
  EXPECT_EQ(h.job(0).state, JobState::Completed);
  const auto reports = h.sent<PeerReport>();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(reports[0].completed);
  EXPECT_EQ(reports[0].fileId, 1);
  EXPECT_EQ(reports[0].memberId, "demo1");
  EXPECT_EQ(reports[0].totalSize, kBig);
  EXPECT_EQ(reports[0].peerBytes, kBig - 10485000);
  EXPECT_EQ(reports[0].flatRate, 2);
  EXPECT_EQ(h.transferEnds(), 1);
  EXPECT_EQ(h.socket(0).connects(), 0);
}

TEST(PeerManager, SilenceOfEightSecondsReplacesAPeerEvenBeforeItConnected) {
  PeerHarness h;
  h.listPeers(kBig, "127.0.0.11|127.0.0.12|127.0.0.13");
  h.queued(1, "a.bin", kBig);
  h.ticket(1);
  std::vector<std::string> seen;
  hostsTried(h, seen);
  // The first connect never completes.
  h.fake.loop.advance(7900);
  EXPECT_EQ(hostsTried(h, seen).size(), 1u);
  h.fake.loop.advance(1200);
  ASSERT_EQ(hostsTried(h, seen).size(), 2u);
  // The second connects, sends a little, then falls silent: it goes at 8 s,
  // before any speed check, and the third resumes after its bytes.
  h.peerUp(0);
  h.peerSends(0, std::string(2000, 'p'));
  h.peerSocket(0).clearSent();
  h.fake.loop.advance(7900);
  EXPECT_EQ(hostsTried(h, seen).size(), 2u);
  h.fake.loop.advance(1200);
  ASSERT_EQ(hostsTried(h, seen).size(), 3u);
  EXPECT_EQ(h.job(0).state, JobState::Requesting) << "the file waits for the next peer";
  h.peerUp(0);
  const auto header = h.header(0);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->offset, 2000);
  EXPECT_EQ(h.job(0).received, 2000);
}

TEST(PeerManager, APeerSlowerThanRequiredTwiceIsDroppedAndAFastOneKept) {
  // A usual speed of 10.0 Mbps asks 2.5 Mbps of a peer (312.5 KB/s).
  for (std::size_t chunk : {std::size_t{1024}, std::size_t{300 * 1024}}) {
    PeerHarness h({"10.0"});
    h.listPeers(kBig * 2, "127.0.0.11|127.0.0.12");
    h.queued(1, "a.bin", kBig * 2);
    h.ticket(1);
    h.peerUp(0);
    int switchedAt = 0;
    for (int ms = 500; ms <= 16000 && switchedAt == 0; ms += 500) {
      h.fake.loop.advance(500);
      if (h.peerSocket(0).connects() > 1) switchedAt = ms;
      if (switchedAt == 0) h.peerSends(0, std::string(chunk, 'p'));
    }
    if (chunk == 1024) {
      EXPECT_GE(switchedAt, 11000) << "two slow checks after the first 10 s";
      EXPECT_LE(switchedAt, 13000);
    } else {
      EXPECT_EQ(switchedAt, 0) << "600 KB/s is fast enough";
    }
  }
}

TEST(PeerManager, AfterThreeAttemptsOrTheListTheStorageServerResumesAtTheBytesOnDisk) {
  for (int listed : {4, 2}) {
    PeerHarness h;
    std::string list;
    for (int i = 0; i < listed; ++i) list += "127.0.0." + std::to_string(11 + i) + "|";
    h.listPeers(kBig, list);
    h.queued(1, "a.bin", kBig);
    h.ticket(1);
    const int tried = std::min(listed, 3);
    for (int i = 0; i < tried; ++i) {
      ASSERT_EQ(h.peerSocket(0).connects(), i + 1);
      h.peerUp(0);
      h.peerSends(0, std::string(1000, 'p'));
      h.peerCloses(0);
    }
    EXPECT_EQ(h.peerSocket(0).connects(), tried) << listed;
    EXPECT_EQ(h.socket(0).connectedHost(), "127.0.0.5") << listed;
    EXPECT_EQ(h.manager->source(1)->mode, 1);
    EXPECT_TRUE(h.sent<PeerReport>().empty()) << "under 4,194,304 bytes nothing is reported";
    h.connected(0);
    const Bytes& sent = h.socket(0).sent();
    const auto request = DownloadRequest::decode(sent.data() + 8, sent.size() - 12);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->offset, 1000 * tried);
  }
}

TEST(PeerManager, AbandonedPeersAreReportedOnceFromFourMebibytes) {
  for (std::int64_t given : {std::int64_t{4194304 - 1}, std::int64_t{4194304}}) {
    PeerHarness h;
    h.listPeers(kBig, "127.0.0.11");
    h.queued(1, "a.bin", kBig);
    h.ticket(1);
    h.peerUp(0);
    for (std::int64_t left = given; left > 0; left -= 32768) {
      h.peerSends(0,
                  std::string(static_cast<std::size_t>(std::min<std::int64_t>(left, 32768)), 'p'));
    }
    h.peerCloses(0);
    const auto reports = h.sent<PeerReport>();
    if (given < 4194304) {
      EXPECT_TRUE(reports.empty());
      continue;
    }
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_FALSE(reports[0].completed);
    EXPECT_EQ(reports[0].peerBytes, given);
    // The storage server finishes the file: no report of peers follows.
    h.connected(0);
    h.accept(0, 1, kBig);
    for (std::int64_t left = kBig - given; left > 0; left -= 16384) {
      h.data(0, std::string(static_cast<std::size_t>(std::min<std::int64_t>(left, 16384)), 's'));
    }
    EXPECT_EQ(h.job(0).state, JobState::Completed);
    EXPECT_EQ(h.sent<PeerReport>().size(), 1u);
  }
}

TEST(PeerManager, StoppingAPeerTransferClosesItAndEndsTheTransferOnce) {
  PeerHarness h;
  h.listPeers(kBig, "127.0.0.11");
  h.queued(1, "a.bin", kBig);
  h.ticket(1);
  h.peerUp(0);
  h.peerSends(0, "abc");
  h.window->queue().stopJob(0, true);
  EXPECT_EQ(h.job(0).state, JobState::Stopped);
  EXPECT_FALSE(h.peerSocket(0).isOpen());
  h.fake.loop.advance(100);
  EXPECT_EQ(h.transferEnds(), 1);
  EXPECT_EQ(h.manager->source(1), nullptr) << "a stopped job's record goes";
}

TEST(PeerManager, TheUsualSpeedIsTheMeanOfTheStoredSpeedsAndOnlyServerSpeedsAreStored) {
  struct Case {
    std::vector<std::string> stored;  // "Pv_dl1" on; the rest missing
    double usual;
  };
  const std::vector<Case> cases = {
      {{}, 3.0},
      {{"0", "0"}, 3.0},
      {{"2.0", "5.0"}, 3.5},
      {{"10.0", "11.0", "10.9"}, 10.6},
  };
  for (const Case& c : cases) {
    PeerHarness h(c.stored);
    EXPECT_DOUBLE_EQ(h.manager->usualSpeed(), c.usual);
    EXPECT_EQ(h.fake.registry.values.at(std::string(kRegistrySubkey) + "Pv_dl10"), "0")
        << "a missing value is created";
  }
  {
    PeerHarness h;
    h.queued(1, "small.bin", 100);
    h.ticket(1);
    for (int i = 0; i < 11; ++i) h.manager->speedSample(1, 5.26 + i);
    EXPECT_EQ(h.config.pvDownloadSpeed(1), "15.3") << "the eleventh sample overwrote the first";
    EXPECT_EQ(h.config.pvDownloadSpeed(2), "6.3");
  }
  PeerHarness h;
  h.listPeers(kBig, "127.0.0.11");
  h.queued(1, "a.bin", kBig);
  h.ticket(1);
  h.manager->speedSample(1, 7.0);
  h.manager->speedSample(2, 7.0);  // no record
  EXPECT_EQ(h.config.pvDownloadSpeed(1), "0") << "speeds of peers say nothing of the server";
}

}  // namespace
}  // namespace pom::test
