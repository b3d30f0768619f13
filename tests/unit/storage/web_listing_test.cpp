// The folder tree and the paged listings: what is requested, which pages are
// taken, what the tree and the list show, and the faults of the listing that
// must not come back.
#include <gtest/gtest.h>

#include "storage_harness.h"

namespace pom::test {
namespace {

constexpr int kFolderListRequest = 2;
constexpr int kMemberFolderListRequest = 3;

TEST(WebListing, FirstLoginListsTheOwnRootAndBuildsItsFolders) {
  StorageHarness h;
  h.login();
  EXPECT_EQ(h.treeView().childrenOf(h.treeView().idOf("폼베일")),
            std::vector<std::string>({"내웹폴더", "내친구"}));
  ASSERT_EQ(h.session.sentTypes(), std::vector<int>({kFolderListRequest}));
  EXPECT_TRUE(h.module->listingPending());
  EXPECT_EQ(h.main.mode, RightPaneMode::NoticePage) << "the notice page stays in front";

  h.ownPage(0, {entry(10, 0, "사진"), entry(11, 0, "a.txt", 5000), entry(12, 0, "문서")});
  EXPECT_FALSE(h.module->listingPending());
  EXPECT_TRUE(h.main.visible) << "the first own page shows the window";
  EXPECT_EQ(h.treeView().childrenOf(h.treeView().idOf("내웹폴더")),
            std::vector<std::string>({"사진", "문서"}));
  EXPECT_EQ(h.listView().caption, "폼베일/내웹폴더/");
  EXPECT_EQ(h.names().size(), 3u);
}

TEST(WebListing, FullPagesAskForTheNextOneAndShortOnesEndIt) {
  StorageHarness h;
  h.login();
  std::vector<FolderEntry> page;
  for (int i = 1; i <= 30; ++i) page.push_back(entry(100 + i, 0, "f" + std::to_string(i), 10));
  h.ownPage(0, page, 30, 7);
  const auto next = h.session.last<FolderListRequest>();
  ASSERT_TRUE(next);
  EXPECT_EQ(next->lastEntryId, 130) << "the id of the 30th entry";
  EXPECT_EQ(next->continuation, 7) << "the reply's continuation byte";
  EXPECT_TRUE(h.module->listingPending());
  page.resize(29);
  for (int i = 0; i < 29; ++i) page[i] = entry(200 + i, 0, "g" + std::to_string(i), 10);
  h.ownPage(0, page, 30);
  EXPECT_FALSE(h.module->listingPending());
  EXPECT_EQ(h.names().size(), 59u);
  EXPECT_EQ(h.session.sentTypes().size(), 2u);
}

TEST(WebListing, PagesThatCouldOnlyRepeatEndTheListing) {
  struct Case {
    const char* what;
    int capacity;
    std::vector<FolderEntry> second;  // the page after a full first one
  } cases[] = {
      {"capacity 0", 0, {entry(5, 0, "x", 1)}},
      {"last id 0", 1, {entry(0, 0, "")}},
      {"last id does not rise", 1, {entry(3, 0, "again", 1)}},
  };
  for (const Case& c : cases) {
    StorageHarness h;
    h.login();
    h.ownPage(0, {entry(3, 0, "first", 1)}, 1);  // full: asks for more
    ASSERT_EQ(h.session.sentTypes().size(), 2u) << c.what;
    h.ownPage(0, c.second, c.capacity);
    EXPECT_EQ(h.session.sentTypes().size(), 2u) << c.what << ": no third request";
    EXPECT_FALSE(h.module->listingPending()) << c.what;
  }
}

TEST(WebListing, AFolderClickedDuringAListingIsListedAfterItAlone) {
  StorageHarness h;
  h.openRoot({entry(10, 0, "사진"), entry(12, 0, "문서")});
  h.click("사진");
  EXPECT_EQ(h.main.mode, RightPaneMode::OwnList);
  h.click("문서");  // while 사진 is still listing
  EXPECT_TRUE(h.names().empty());
  EXPECT_EQ(h.session.sentTypes().size(), 2u) << "문서 waits";
  // The rest of 사진 arrives: not shown; 문서 goes out.
  h.ownPage(10, {entry(20, 10, "여행"), entry(21, 10, "p.jpg", 10)});
  EXPECT_TRUE(h.names().empty());
  const auto asked = h.session.last<FolderListRequest>();
  ASSERT_TRUE(asked);
  EXPECT_EQ(asked->folderId, 12);
  h.ownPage(10, {entry(22, 10, "late.jpg", 10)});  // another folder's page: ignored
  h.ownPage(12, {entry(30, 12, "doc.txt", 10)});
  EXPECT_EQ(h.names(), std::vector<std::string>({"doc.txt"}));
  EXPECT_EQ(h.listView().caption, "폼베일/내웹폴더/문서/");
  EXPECT_FALSE(h.module->listingPending());
}

TEST(WebListing, ALoginAfterALostConnectionForgetsWhatWasOutstanding) {
  StorageHarness h;
  h.openRoot({entry(10, 0, "사진")});
  h.click("사진");
  ASSERT_TRUE(h.module->listingPending());
  h.session.tellLoggedIn(true);  // the answer died with the old connection
  EXPECT_FALSE(h.module->listingPending());
  h.click("사진");
  EXPECT_EQ(h.session.sentTypes().size(), 3u) << "the folder opens again";
}

TEST(WebListing, FolderDownloadWaitsForTheWholeListing) {
  StorageHarness h;
  h.openRoot({entry(10, 0, "많은항목")});
  h.listView().select({"많은항목"});
  h.list().command(WebListCommand::Download);
  h.ownPage(10, {entry(11, 10, "a", 1)}, 1);  // page 1 of more
  EXPECT_TRUE(h.downloads.queued.empty()) << "not on page 1";
  h.ownPage(10, {entry(12, 10, "b", 2), entry(13, 10, "sub")}, 30);
  ASSERT_EQ(h.downloads.queued.size(), 2u);
  EXPECT_EQ(h.downloads.queued[0].subFolder, "많은항목");
  EXPECT_EQ(h.downloads.autoStarts, 1);
}

TEST(WebListing, FriendsAndTheirFolders) {
  StorageHarness h;
  h.openRoot({});
  h.click("내친구");
  FriendList friends;
  friends.friends = {{"demo2", "둘", "메모"}, {"pal", "", ""}};
  h.reply(friends.encode());
  const WebNodeId friendsNode = h.treeView().idOf("내친구");
  EXPECT_EQ(h.treeView().childrenOf(friendsNode),
            std::vector<std::string>({"둘(메모)", "*****(메모입력)"}));
  EXPECT_TRUE(h.treeView().expanded.count(friendsNode));

  // A friend's folder is listed as the friend's, and refresh keeps it so.
  h.click("둘(메모)");
  ASSERT_EQ(h.session.sentTypes().back(), kMemberFolderListRequest);
  h.friendPage("demo2", 0, {entry(50, 0, "공유"), entry(51, 0, "f.bin", 5)});
  EXPECT_FALSE(h.list().ownListing());
  EXPECT_EQ(h.treeView().childrenOf(h.treeView().idOf("둘(메모)")),
            std::vector<std::string>({"공유"}));
  h.tree().command(WebTreeCommand::Refresh);
  EXPECT_EQ(h.session.sentTypes().back(), kMemberFolderListRequest);

  // The friend list comes again while `current` sits elsewhere: only
  // "내친구" is cleared, the own tree stays.
  h.tree().onExpanding(h.treeView().idOf("내웹폴더"));
  h.reply(friends.encode());
  EXPECT_EQ(h.treeView().childrenOf(h.treeView().idOf("폼베일")),
            std::vector<std::string>({"내웹폴더", "내친구"}));
  EXPECT_EQ(h.treeView().childrenOf(friendsNode).size(), 2u);
}

TEST(WebListing, AnExpandedNodeIsStillListedWhenSelected) {
  StorageHarness h;
  h.openRoot({entry(10, 0, "사진")});
  const WebNodeId photos = h.treeView().idOf("사진");
  h.tree().onExpanding(photos);
  EXPECT_EQ(h.tree().current(), photos);
  h.tree().onSelectionChanged(photos);
  EXPECT_EQ(h.session.last<FolderListRequest>()->folderId, 10);
}

TEST(WebListing, FolderCommandsActOnlyOnTheMembersOwnFolders) {
  StorageHarness h;
  h.openRoot({entry(10, 0, "사진")});
  h.click("내친구");
  FriendList friends;
  friends.friends = {{"demo2", "둘", ""}};
  h.reply(friends.encode());
  h.click("둘(메모입력)");
  h.friendPage("demo2", 0, {entry(50, 0, "공유"), entry(51, 0, "f.bin", 5)});
  const std::size_t before = h.session.sent.size();
  // In a friend's listing and on friend nodes, nothing changes the service.
  h.listView().select({"공유", "f.bin"});
  for (WebKey key : {WebKey::Delete, WebKey::AltT, WebKey::CtrlN, WebKey::CtrlX, WebKey::CtrlV}) {
    h.dialogs().answers = {MessageAnswer::Yes};
    h.list().key(key);
  }
  h.tree().onSelectionChanged(h.treeView().idOf("공유"));
  for (WebKey key : {WebKey::Delete, WebKey::AltT, WebKey::CtrlN}) h.tree().key(key);
  EXPECT_EQ(h.session.sent.size(), before + 1) << "only the listing of 공유 went out";
}

TEST(WebListing, DeletedFolderNodesLeaveNoCurrentBehind) {
  StorageHarness h;
  h.openRoot({entry(10, 0, "사진")});
  h.click("사진");
  h.ownPage(10, {entry(20, 10, "여행")});
  const WebNodeId trip = h.treeView().idOf("여행");
  h.tree().onExpanding(trip);
  h.tree().removeFolder(10);
  EXPECT_EQ(h.treeView().idOf("여행"), 0);
  EXPECT_EQ(h.tree().node(h.tree().current()), h.tree().node(h.tree().ownRoot()));
}

TEST(WebListing, ADroppedDragDownloadsFilesOnlyOnATargetAndAFolderAnywhere) {
  struct Case {
    std::vector<std::string> selected;
    bool onTarget;
    std::size_t queued;  // files queued at once
    bool folderAsked;    // the folder is listed for its download
  };
  const Case cases[] = {
      {{"a.txt", "b.txt"}, true, 2, false},
      {{"a.txt"}, false, 0, false},
      {{"많은항목"}, false, 0, true},
      {{"많은항목", "a.txt"}, false, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selected.size());
    StorageHarness h;
    h.openRoot({entry(10, 0, "많은항목"), entry(11, 0, "a.txt", 5), entry(12, 0, "b.txt", 6)});
    const std::size_t sent = h.session.sentTypes().size();
    h.listView().select(c.selected);
    h.list().dropForDownload(c.onTarget);
    EXPECT_EQ(h.downloads.queued.size(), c.queued);
    EXPECT_EQ(h.session.sentTypes().size() > sent, c.folderAsked);
  }
}

// Released inside the local file list, files go into the folder it shows; a
// web folder (one row of the list, or a tree node) goes there too, into a
// sub-folder of its name, once it is listed.
TEST(WebListing, DropsOnTheLocalListDownloadIntoTheFolderItShows) {
  StorageHarness h;
  h.local.shown = "D:\\받음";
  h.openRoot({entry(10, 0, "사진"), entry(11, 0, "a.txt", 5), entry(12, 0, "b.txt", 6)});
  h.listView().select({"a.txt", "b.txt"});
  h.list().dropOnLocalList();
  ASSERT_EQ(h.downloads.queued.size(), 2u);
  EXPECT_EQ(h.downloads.queued[0].folder, "D:\\받음");
  EXPECT_EQ(h.downloads.queued[1].subFolder, "");

  h.listView().select({"사진"});
  h.list().dropOnLocalList();  // listed first, then its files follow
  h.ownPage(10, {entry(20, 10, "c.jpg", 7)});
  ASSERT_EQ(h.downloads.queued.size(), 3u);
  EXPECT_EQ(h.downloads.queued[2].name, "c.jpg");
  EXPECT_EQ(h.downloads.queued[2].folder, "D:\\받음");
  EXPECT_EQ(h.downloads.queued[2].subFolder, "사진");

  // A tree node that is not the folder listed: listed, then downloaded.
  h.click("내웹폴더");
  h.ownPage(0, {entry(10, 0, "사진"), entry(11, 0, "a.txt", 5)});
  h.local.shown = "E:\\다른곳";
  h.tree().dropOnLocalList(h.treeView().idOf("사진"));
  h.ownPage(10, {entry(20, 10, "c.jpg", 7)});
  ASSERT_EQ(h.downloads.queued.size(), 4u);
  EXPECT_EQ(h.downloads.queued[3].folder, "E:\\다른곳");
  EXPECT_EQ(h.downloads.queued[3].subFolder, "사진");

  // The tree's own download command still goes to the download folder.
  h.tree().command(WebTreeCommand::Download);
  ASSERT_GT(h.downloads.queued.size(), 4u);
  EXPECT_EQ(h.downloads.queued.back().folder, "");
}

}  // namespace
}  // namespace pom::test
