// The search of the client's core against the local service over loopback,
// driven through SearchLink as the headless front end drives it: what the
// search servers received (their "SearchRequest" log lines), the hits and
// the message row of each kind of reply, more results, and another member's
// folder through the login server.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <sstream>

#include "cli/headless_client.h"
#include "core/app/client_app.h"
#include "core/base/servers.h"
#include "core/hub/search_link.h"
#include "core/ports/profile.h"
#include "core/search/folder_content_list.h"
#include "core/search/search_http.h"
#include "support/service_fixture.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

using testing_support::LoggedRequest;
using testing_support::ServiceFixture;

// A loopback port that nobody listens on: bound, then let go.
std::uint16_t closedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof at;
  ::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&at), &size);
  ::close(fd);
  return ntohs(at.sin_port);
}

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
    HeadlessOptions options;
    options.id = "demo1";
    options.password = "demo1234";
    options.portBase = service_.ports().loginPorts[0] - kLoginPortBase;
    options.workDir = dir_.path();
    options.timeoutMs = 5000;
    client_ = std::make_unique<HeadlessClient>(options, errors_);
    ASSERT_TRUE(client_->start());
    ASSERT_EQ(client_->loginAndList(), Outcome::Done) << errors_.str();
    pointSearchAt(service_.ports().webPort);
    search_ = client_->app().context().find<SearchLink>();
    ASSERT_NE(search_, nullptr);
    folder_ = service_.store().addFolder("demo2", 0, "shared", 't');
    ASSERT_GT(folder_, 0);
  }
  void TearDown() override { client_.reset(); }

  void pointSearchAt(std::uint16_t port) {
    Profile& profile = *client_->app().context().ports().profile;
    const std::string suffix = ":" + std::to_string(port);
    profile.writeText(kServersSection, "SearchPrefix", "127.0.0." + suffix, "./PomConfig.ini");
    profile.writeText(kServersSection, "NaturalSearch", "127.0.0.10" + suffix, "./PomConfig.ini");
  }
  std::int32_t share(const std::string& name, std::int64_t size = 1000) {
    service::Item file;
    file.owner = "demo2";
    file.parentId = folder_;
    file.name = name;
    file.share = 't';
    file.size = file.stored = size;
    return service_.store().addFile(file);
  }
  std::vector<LoggedRequest> searchLog() const {
    return testing_support::readServerLog(service_.requestLogPath(), "search");
  }

  ServiceFixture service_;
  test::TempDir dir_;
  std::ostringstream errors_;
  std::unique_ptr<HeadlessClient> client_;
  SearchLink* search_ = nullptr;
  std::int32_t folder_ = 0;
};

TEST_F(SearchTest, BothKindsFindTheSharedFileAndTheServiceReadsTheKeyword) {
  const std::int32_t id = share("C++ 입문 100%.pdf", 3 << 20);
  search_->search("  C++ 입문 100%", SearchKind::Normal);
  ASSERT_EQ(search_->hits().size(), 1u) << search_->resultMessage();
  const SearchHit& hit = search_->hits()[0];
  EXPECT_EQ(hit.fileId, id);
  EXPECT_EQ(hit.ownerId, "demo2");
  EXPECT_EQ(hit.folderKey, folder_);
  EXPECT_EQ(hit.name, "C++ 입문 100%.pdf");
  EXPECT_EQ(hit.sizeBytes, 3 << 20);

  search_->search("100% c++", SearchKind::Natural);
  ASSERT_EQ(search_->hits().size(), 1u) << search_->resultMessage();

  const std::vector<LoggedRequest> log = searchLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].member, "demo1");
  EXPECT_EQ(log[0].fields.value("kind", ""), "normal");
  EXPECT_EQ(log[0].text("keyword"), "c++ 입문 100%");
  EXPECT_EQ(log[0].number("hits"), 1);
  EXPECT_EQ(log[1].fields.value("kind", ""), "natural");
  EXPECT_EQ(log[1].text("keyword"), "100% c++");
}

TEST_F(SearchTest, MoreResultsFetchTheNextPagesUntilAnEmptyOne) {
  for (int i = 0; i < 105; ++i) share("bulk" + std::to_string(i) + ".dat");
  search_->search("bulk", SearchKind::Normal);
  EXPECT_EQ(search_->hits().size(), 100u);
  EXPECT_TRUE(search_->searchMore());
  EXPECT_EQ(search_->hits().size(), 105u);
  EXPECT_FALSE(search_->searchMore());
  EXPECT_FALSE(search_->searchMore());  // paging ended: nothing is asked
  const std::vector<LoggedRequest> log = searchLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1].number("page"), 2);
  EXPECT_EQ(log[1].number("hits"), 5);
  EXPECT_EQ(log[2].number("page"), 3);
  EXPECT_EQ(log[2].number("hits"), 0);
}

TEST_F(SearchTest, EachFailingReplyShowsItsRow) {
  share("warez pack.zip");
  // A banned word inside a keyword: the client's exact match lets it pass
  // (whether or not it could load the list at start), the search server's
  // copyright block refuses it.
  search_->search("warez pack", SearchKind::Normal);
  EXPECT_EQ(search_->resultMessage(), kCopyrightMessage);
  EXPECT_TRUE(search_->hits().empty());
  search_->search("nothing like it", SearchKind::Natural);
  EXPECT_EQ(search_->resultMessage(), kNoResultMessage);

  // The server is down: the row, and the same search is sent again once it
  // is back.
  share("retry me.txt");
  pointSearchAt(closedPort());
  search_->search("retry me", SearchKind::Normal);
  EXPECT_EQ(search_->resultMessage(), kNoReplyMessage);
  pointSearchAt(service_.ports().webPort);
  search_->search("retry me", SearchKind::Normal);
  EXPECT_EQ(search_->hits().size(), 1u);
  EXPECT_EQ(searchLog().size(), 3u);
}

TEST_F(SearchTest, AHitsFolderListsItsFilesThroughTheLoginServer) {
  const std::int32_t first = share("folder a.txt", 10);
  share("folder b.txt", 20);
  search_->search("folder a", SearchKind::Normal);
  ASSERT_EQ(search_->hits().size(), 1u);
  search_->openFolderContents(search_->hits()[0].ownerId, search_->hits()[0].folderKey);
  ASSERT_TRUE(client_->waitUntil([this] { return search_->folderItems().size() == 2; }));
  EXPECT_EQ(search_->folderItems()[0].ownerId, "demo2");
  const auto logged = service_.requests(RequestType::FolderContent);
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0].text("ownerId"), "demo2");
  EXPECT_EQ(logged[0].number("folderId"), folder_);
  EXPECT_TRUE(search_->downloadFile(first));

  const std::int32_t empty = service_.store().addFolder("demo2", 0, "empty", 't');
  search_->openFolderContents("demo2", empty);
  ASSERT_TRUE(client_->waitUntil([this] { return !search_->folderMessage().empty(); }));
  EXPECT_EQ(search_->folderMessage(), kEmptyFolderMessage);
  EXPECT_TRUE(search_->folderItems().empty());
}

}  // namespace
}  // namespace pom
