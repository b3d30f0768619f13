// The folder commands on a friend's nodes and listing, and what refresh
// lists once `current` has moved.
#include <gtest/gtest.h>

#include "storage_harness.h"

namespace pom::test {
namespace {

// Logs in, lists the friends and opens the friend's folder 공유 (id 50).
void openFriendsFolder(StorageHarness& h) {
  h.openRoot({entry(10, 0, "사진")});
  h.click("내친구");
  FriendList friends;
  friends.friends = {{"demo2", "둘", ""}};
  h.reply(friends.encode());
  h.click("둘(메모입력)");
  h.friendPage("demo2", 0, {entry(50, 0, "공유"), entry(51, 0, "f.bin", 5)});
  h.click("공유");
  h.friendPage("demo2", 50, {entry(60, 50, "안쪽"), entry(61, 50, "g.bin", 5)});
}

TEST(WebTreeCommands, AFriendsNodesAndListingTakeNoFolderCommands) {
  StorageHarness h;
  openFriendsFolder(h);
  const std::size_t before = h.session.sent.size();
  h.dialogs().defaultAnswer = MessageAnswer::Yes;  // a delete, if asked, is confirmed

  // The friend (kind 3, folder id 0) and the friend's folder (kind 5).
  for (const char* label : {"둘(메모입력)", "공유"}) {
    h.tree().onExpanding(h.treeView().idOf(label));  // `current`, nothing listed
    ASSERT_EQ(h.tree().current(), h.treeView().idOf(label)) << label;
    for (WebTreeCommand command :
         {WebTreeCommand::NewFolder, WebTreeCommand::Delete, WebTreeCommand::Public,
          WebTreeCommand::Rename, WebTreeCommand::ExtendTerm}) {
      h.tree().command(command);
    }
  }
  EXPECT_TRUE(h.dialogs().boxes.empty()) << "nothing is even asked";
  EXPECT_EQ(h.listView().editing, 0) << "no row of the friend's listing opens for renaming";

  h.dialogs().defaultAnswer = MessageAnswer::Ok;  // the term question, if asked, is confirmed
  h.listView().select({"안쪽"});
  h.list().key(WebKey::F2);
  h.list().endLabelEdit(60, std::string("mine"));
  h.list().command(WebListCommand::ExtendTerm);
  EXPECT_EQ(h.listView().editing, 0);
  EXPECT_EQ(h.list().find(60)->name, "안쪽");
  EXPECT_EQ(h.session.sent.size(), before) << "nothing went to the service";
}

TEST(WebTreeCommands, RefreshListsTheNodeOpenedAsItsOwnersFolder) {
  StorageHarness h;
  openFriendsFolder(h);
  h.tree().onExpanding(h.tree().ownRoot());  // `current` moves to the own root
  const std::size_t before = h.session.sent.size();
  h.list().key(WebKey::F5);
  ASSERT_EQ(h.session.sent.size(), before + 1);
  const auto asked = h.session.last<MemberFolderListRequest>();
  ASSERT_TRUE(asked);
  EXPECT_EQ(asked->friendId, "demo2");
  EXPECT_EQ(asked->folderId, 50);
  EXPECT_EQ(h.sent<FolderListRequest>().size(), 1u) << "only the first login's listing";
  h.friendPage("demo2", 50, {entry(61, 50, "g.bin", 5)});
  EXPECT_FALSE(h.list().ownListing());
  EXPECT_EQ(h.list().find(61)->ownerId, "demo2");
}

}  // namespace
}  // namespace pom::test
