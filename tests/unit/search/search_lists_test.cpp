// The search module with its two lists on fakes: what a search sends and
// remembers, paging, the folder contents, the commands, sorting and the
// downloads.
#include <gtest/gtest.h>

#include "core/net/messages/messages.h"
#include "core/search/search_keyword.h"
#include "search_harness.h"

namespace pom::test {
namespace {

SearchEntry entry(std::int32_t fileId, const std::string& owner, const std::string& name,
                  std::int64_t size, std::int32_t days) {
  SearchEntry e;
  e.fileId = fileId;
  e.folderId = 5;
  e.ownerId = owner;
  e.name = name;
  e.fileSize = size;
  e.daysKept = days;
  return e;
}

TEST(SearchModuleTest, ASearchIsRememberedOnlyOnceItWasAnswered) {
  SearchHarness h;
  // The server is down: the message row, and the same text is sent again.
  h.type("  Hello");
  ASSERT_EQ(h.fakes.http.requests.size(), 1u);
  EXPECT_EQ(h.results().message(), kNoReplyMessage);
  EXPECT_EQ(h.views.searchBar.text, "hello");
  EXPECT_EQ(h.resultsView().caption, "입력하신 검색어:hello");
  h.type("hello");
  EXPECT_EQ(h.fakes.http.requests.size(), 2u);

  h.fakes.http.reply(kNormalHost, SearchHarness::normalPath("hello"),
                     record("kim", 4, "hello.txt", 3 << 20, 70));
  h.type("hello");
  ASSERT_EQ(h.fakes.http.requests.size(), 3u);
  EXPECT_EQ(h.resultsView().names(), std::vector<std::string>{"hello.txt"});
  EXPECT_EQ(h.resultsView().rows[0].texts[1], "3MB");
  // Answered: the same text and kind only switch the pane.
  h.main.mode = RightPaneMode::OwnList;
  h.type("hello");
  EXPECT_EQ(h.fakes.http.requests.size(), 3u);
  EXPECT_EQ(h.main.mode, RightPaneMode::SearchList);
  // A refused text in between replaces the list: the same text is sent again.
  h.type("ab");
  h.type("hello");
  EXPECT_EQ(h.fakes.http.requests.size(), 4u);
  // Another kind is another search.
  h.type("hello", SearchKind::Natural);
  ASSERT_EQ(h.fakes.http.requests.size(), 5u);
  EXPECT_EQ(h.fakes.http.requests.back().host, kNaturalHost);
  EXPECT_EQ(h.fakes.http.requests.back().body, "Keyword=hello");
}

TEST(SearchModuleTest, RefusedKeywordsSendNothing) {
  SearchHarness h;
  h.versions.words.insert("nope");
  h.type("ab");
  EXPECT_EQ(h.resultsView().names(), std::vector<std::string>{kTooShortMessage});
  EXPECT_EQ(h.views.searchBar.text, "ab");  // the edit keeps a short text
  h.type("NOPE");
  EXPECT_EQ(h.resultsView().names(),
            std::vector<std::string>{"(nope)은 금지된 검색어입니다.(저작권보호요청 이나 음란물)"});
  EXPECT_EQ(h.views.searchBar.text, "");
  EXPECT_TRUE(h.fakes.http.requests.empty());
  EXPECT_EQ(h.main.mode, RightPaneMode::SearchList);
}

TEST(SearchModuleTest, MoreResultsAppendUntilAnEmptyPage) {
  SearchHarness h;
  h.fakes.http.reply(kNormalHost, SearchHarness::normalPath("abc"),
                     record("kim", 1, "a1", 10, 1) + record("kim", 1, "a2", 10, 2));
  h.fakes.http.reply(kNormalHost, SearchHarness::normalPath("abc", 2),
                     record("lee", 2, "a3", 10, 3));
  h.fakes.http.reply(kNormalHost, SearchHarness::normalPath("abc", 3), "");
  h.type("abc");
  EXPECT_EQ(h.module->searchPage(), 1);
  h.resultsView().rows.clear();  // appended rows come below the ones shown
  h.results().scrolledToEnd();
  EXPECT_EQ(h.resultsView().names(), std::vector<std::string>{"a3"});
  EXPECT_EQ(h.module->hits().size(), 3u);
  EXPECT_EQ(h.module->searchPage(), 2);
  EXPECT_FALSE(h.module->searchMore());
  EXPECT_EQ(h.module->searchPage(), 0);
  const std::size_t sent = h.fakes.http.requests.size();
  EXPECT_FALSE(h.module->searchMore());  // paging has ended
  EXPECT_EQ(h.fakes.http.requests.size(), sent);
  EXPECT_EQ(h.module->hits().size(), 3u);
}

TEST(SearchModuleTest, LoginServerResultsFollowTheirPageCounter) {
  SearchHarness h;
  SearchResults results;
  results.entries = {entry(1, "kim", "x.avi", 2048, -3)};
  h.reply(results.encode());
  EXPECT_EQ(h.module->searchPage(), 1);
  EXPECT_EQ(h.resultsView().rows[0].texts[1], "2KB");
  EXPECT_EQ(h.resultsView().rows[0].texts[3], "0일");
  h.storage.pending = true;
  h.reply(SearchMoreResults{}.encode());
  EXPECT_EQ(h.module->searchPage(), 0);
  EXPECT_FALSE(h.storage.pending);
  EXPECT_EQ(h.module->hits().size(), 1u);
  h.storage.pending = true;
  h.reply(SearchResults{}.encode());
  EXPECT_EQ(h.results().message(), kNoResultMessage);
  EXPECT_TRUE(h.module->hits().empty());
}

TEST(SearchModuleTest, AHitsFolderOpensInPaneThree) {
  SearchHarness h;
  h.fakes.http.reply(kNormalHost, SearchHarness::normalPath("abc"),
                     record("kim", 1, "a1", 10, 1) + record("lee", 42, "b2.avi", 10, 2));
  h.type("abc");
  h.resultsView().selected = {1};
  h.results().key(SearchKey::CtrlF);
  const auto request = h.session.last<FolderContentRequest>();
  ASSERT_TRUE(request);
  EXPECT_EQ(request->ownerId, "lee");
  EXPECT_EQ(request->folderId, 42);
  EXPECT_EQ(h.main.mode, RightPaneMode::FolderList);
  EXPECT_TRUE(h.storage.pending);
  EXPECT_EQ(h.folderView().caption, "폴더내용:[b2.avi]");

  FolderContent content;
  content.entries = {entry(9, "lee", "c.txt", 100, 3), entry(10, "lee", "d.txt", 200, 8)};
  h.reply(content.encode());
  EXPECT_FALSE(h.storage.pending);
  EXPECT_EQ(h.folderView().names(), (std::vector<std::string>{"c.txt", "d.txt"}));
  EXPECT_EQ(h.folderView().rows[0].texts[2], "3일");
  // Only the first row selected, Ctrl+V: that file.
  h.folderView().selected = {0};
  h.folder().key(SearchKey::CtrlV);
  ASSERT_EQ(h.downloads.queued.size(), 1u);
  EXPECT_EQ(h.downloads.queued[0].fileId, 9);
  // Friend add from this menu: the folder's owner, not the result list's hit.
  h.resultsView().selected = {0};
  h.folderView().menuChoice = SearchCommand::FriendAdd;
  h.folder().rightClick();
  EXPECT_EQ(h.folderView().lastMenu.size(), 3u);
  EXPECT_EQ(h.storage.friendsAsked, std::vector<std::string>{"lee"});
  // The main window's download button: each list queues its selection.
  h.downloads.queued.clear();
  h.module->downloadSelection();
  ASSERT_EQ(h.downloads.queued.size(), 2u);
  EXPECT_EQ(h.downloads.queued[0].fileId, 9);
  EXPECT_EQ(h.downloads.queued[1].fileId, 1);

  // An empty folder shows its message once the request was pending.
  h.module->openFolderContents("kim", 1);
  h.reply(FolderContent{}.encode());
  EXPECT_EQ(h.folderView().names(), std::vector<std::string>{kEmptyFolderMessage});
  EXPECT_FALSE(h.storage.pending);
}

TEST(SearchModuleTest, CommandsOnAMessageRowDoNothing) {
  SearchHarness h;
  h.type("abc");  // the server is down: one message row
  h.resultsView().selected = {0};
  const std::size_t sent = h.fakes.http.requests.size();
  h.views.searchBar.text = "kept";
  const SearchCommand commands[] = {SearchCommand::Download,       SearchCommand::FolderContents,
                                    SearchCommand::PutInSearchBar, SearchCommand::FriendAdd,
                                    SearchCommand::WebLink,        SearchCommand::CombinedLink};
  for (const SearchCommand command : commands) h.results().command(command);
  h.results().doubleClick();
  h.results().dropReleased(SearchDropTarget::DownloadList);
  h.results().scrolledToEnd();
  EXPECT_TRUE(h.downloads.queued.empty());
  EXPECT_TRUE(h.session.sent.empty());
  EXPECT_TRUE(h.storage.friendsAsked.empty());
  EXPECT_TRUE(h.storage.webLinks.empty());
  EXPECT_TRUE(h.storage.combinedLinks.empty());
  EXPECT_EQ(h.views.searchBar.text, "kept");
  EXPECT_EQ(h.fakes.http.requests.size(), sent);
}

TEST(SearchModuleTest, DownloadsUseTheRecordAndOnlyDropsOnATarget) {
  SearchHarness h;
  const std::string longName = std::string(258, 'n') + "z";
  h.fakes.http.reply(kNormalHost, SearchHarness::normalPath("abc"),
                     record("kim", 1, longName, 10, 1) + record("kim", 1, "b", 5000000000LL, 2));
  h.type("abc");
  h.resultsView().selected = {1, 0, 7};  // a row beyond the records is skipped
  h.results().dropReleased(SearchDropTarget::Elsewhere);
  EXPECT_TRUE(h.downloads.queued.empty());
  h.local.shown = "d:\\local";
  h.results().dropReleased(SearchDropTarget::LocalList);
  h.results().doubleClick();
  ASSERT_EQ(h.downloads.queued.size(), 4u);
  EXPECT_EQ(h.downloads.queued[0].fileId, 2);
  EXPECT_EQ(h.downloads.queued[0].folder, "d:\\local") << "into the folder the local list shows";
  EXPECT_EQ(h.downloads.queued[2].folder, "") << "a double click: the download folder";
  EXPECT_EQ(h.downloads.queued[0].size, 5000000000LL);
  EXPECT_EQ(h.downloads.queued[1].name, longName);
  EXPECT_EQ(h.downloads.autoStarts, 2);
  EXPECT_TRUE(h.module->downloadFile(2));
  EXPECT_FALSE(h.module->downloadFile(99));

  // The other commands on a hit.
  h.resultsView().selected = {1};
  h.results().command(SearchCommand::PutInSearchBar);
  EXPECT_EQ(h.views.searchBar.text, "b");
  h.results().key(SearchKey::CtrlI);
  EXPECT_EQ(h.storage.friendsAsked, std::vector<std::string>{"kim"});
  h.resultsView().selected = {0, 1};
  h.results().key(SearchKey::CtrlW);
  h.results().command(SearchCommand::CombinedLink);
  ASSERT_EQ(h.storage.webLinks.size(), 1u);
  ASSERT_EQ(h.storage.combinedLinks.size(), 1u);
  for (const auto& files : {h.storage.webLinks[0], h.storage.combinedLinks[0]}) {
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, longName);
    EXPECT_EQ(files[1].fileId, 2);
    EXPECT_EQ(files[1].sizeBytes, 5000000000LL);
  }
}

TEST(SearchModuleTest, ColumnsSortAsDesigned) {
  SearchHarness h;
  h.fakes.http.reply(
      kNormalHost, SearchHarness::normalPath("abc"),
      record("k", 1, "b", 300, 1) + record("k", 1, "a", 100, 2) + record("k", 1, "c", 200, 3));
  h.type("abc");
  const auto names = [&h] { return h.resultsView().names(); };
  h.results().columnClick(SearchResultList::kNameColumn);
  EXPECT_EQ(names(), (std::vector<std::string>{"a", "b", "c"}));
  h.results().columnClick(SearchResultList::kNameColumn);
  EXPECT_EQ(names(), (std::vector<std::string>{"c", "b", "a"}));

  // A fresh list: the size column sorts descending first.
  SearchHarness fresh;
  fresh.fakes.http.replies = h.fakes.http.replies;
  fresh.type("abc");
  fresh.results().columnClick(SearchResultList::kSizeColumn);
  EXPECT_EQ(fresh.resultsView().names(), (std::vector<std::string>{"b", "c", "a"}));
  fresh.results().columnClick(SearchResultList::kSizeColumn);
  EXPECT_EQ(fresh.resultsView().names(), (std::vector<std::string>{"a", "c", "b"}));

  FolderContent content;
  content.entries = {entry(1, "k", "x", 1, 9), entry(2, "k", "y", 1, 2)};
  fresh.reply(content.encode());
  fresh.folder().columnClick(FolderContentList::kKeepColumn);
  EXPECT_EQ(fresh.folderView().names(), (std::vector<std::string>{"x", "y"}));
  fresh.folder().columnClick(FolderContentList::kKeepColumn);
  EXPECT_EQ(fresh.folderView().names(), (std::vector<std::string>{"y", "x"}));
}

}  // namespace
}  // namespace pom::test
