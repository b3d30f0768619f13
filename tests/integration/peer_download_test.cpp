// Downloads of a large file from the local service's peers over loopback,
// through the headless `get`: the peer list on the service's web port, the
// header each peer logged, the bytes on disk against the service's body, the
// reports the login server got, and the fall-back to the storage server when
// peers stall, crawl or close, or the list is of no use.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/download_run.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

using testing_support::LoggedRequest;
using testing_support::ServiceFixture;

constexpr char kFolderName[] = "동영상";
constexpr char kFileName[] = "큰파일.avi";
constexpr std::int64_t kFileSize = 12ll << 20;

class PeerDownloads : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
    into_ = (dir_.path() / "down").string();
    // The client finds the peer list on the service's web port and the peers
    // on its shifted peer port.
    testing_support::writePeerServers(service_, dir_.path());
  }

  testing_support::GetRun get(std::uint32_t timeoutMs = 20000) {
    return testing_support::runGet(service_, dir_.path(), into_,
                                   {std::string(kFolderName) + "/" + kFileName}, timeoutMs);
  }
  std::string localFile() const {
    return into_ + "/" + cp949ToUtf8(kFileName);  // a single file lands at the top
  }
  ::testing::AssertionResult complete() {
    return testing_support::matchesServiceBody(
        service_, localFile(), testing_support::demoFileId(service_, kFolderName, kFileName));
  }
  std::vector<LoggedRequest> reports() const { return service_.requests(RequestType::PeerReport); }

  test::TempDir dir_;
  ServiceFixture service_;
  std::string into_;
};

TEST_F(PeerDownloads, ALargeFileComesFromOnePeerAndIsReportedOnce) {
  const auto run = get();
  ASSERT_EQ(run.outcome, Outcome::Done) << run.errors;
  EXPECT_TRUE(complete());
  EXPECT_TRUE(service_.storageRequests().empty()) << "the storage server was not asked";
  const auto headers = service_.peerHeaders();
  ASSERT_EQ(headers.size(), 1u);
  EXPECT_EQ(headers[0].fields["totalSize"], kFileSize);
  EXPECT_EQ(headers[0].fields["offset"], 0);
  const auto sent = reports();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_TRUE(sent[0].fields["completed"].get<bool>());
  EXPECT_EQ(sent[0].fields["peerBytes"], kFileSize);
}

TEST_F(PeerDownloads, StalledSlowAndClosingPeersGiveWayToTheStorageServer) {
  // Whatever order the list is shuffled into, each of the three peers fails
  // its own way; after the third the storage server serves the rest.
  ASSERT_TRUE(service_.faults().set("peer_stall", "1@1"));
  ASSERT_TRUE(service_.faults().set("peer_rate", "20000@2"));
  ASSERT_TRUE(service_.faults().set("peer_close_after", "300000@3"));
  const auto run = get(40000);
  ASSERT_EQ(run.outcome, Outcome::Done) << run.errors;
  EXPECT_TRUE(complete());
  EXPECT_EQ(service_.peerHeaders().size(), 3u);
  const auto storage = service_.storageRequests();
  ASSERT_EQ(storage.size(), 1u);
  const std::int64_t resumedAt = storage[0].fields["offset"];
  EXPECT_GE(resumedAt, 300000) << "the bytes the peers gave stay";
  EXPECT_LT(resumedAt, kFileSize);
  EXPECT_TRUE(reports().empty()) << "under 4,194,304 bytes from peers nothing is reported";
}

TEST_F(PeerDownloads, AListOfNoUseLeavesTheFileToTheStorageServer) {
  for (const char* mode : {"404", "cut", "bad_only"}) {
    SCOPED_TRACE(mode);
    std::filesystem::remove_all(into_);
    const std::size_t before = service_.storageRequests().size();
    ASSERT_TRUE(service_.faults().set("peer_list", mode));
    const auto run = get();
    service_.faults().clear("peer_list");
    ASSERT_EQ(run.outcome, Outcome::Done) << run.errors;
    EXPECT_TRUE(complete());
    EXPECT_EQ(service_.storageRequests().size(), before + 1);
    EXPECT_TRUE(service_.peerHeaders().empty());
  }
}

}  // namespace
}  // namespace pom
