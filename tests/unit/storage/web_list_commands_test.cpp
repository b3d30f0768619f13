// The commands of the web file list that change the service: sharing and
// delete queues, cut and paste, rename, new folder, and the records that a
// reply for another folder must not add.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "core/base/config_keys.h"
#include "storage_harness.h"

namespace pom::test {
namespace {

Bytes sharingReply(std::int32_t itemId, char state, int result) {
  SetSharingReply reply;
  reply.itemId = itemId;
  reply.sharingState = state;
  reply.result = static_cast<SetSharingReply::Result>(result);
  return reply.encode();
}

Bytes deleteReply(std::int32_t itemId, std::uint8_t kind, int result = 0) {
  DeleteItemReply reply;
  reply.itemId = itemId;
  reply.kind = kind;
  reply.result = static_cast<DeleteItemReply::Result>(result);
  return reply.encode();
}

std::string shareCell(StorageHarness& h, std::int32_t itemId) {
  return h.listView().find(itemId)->texts[kShareColumn];
}

TEST(WebListCommands, SharingGoesOutOneAtATimeAndAFailureDoesNotStallIt) {
  StorageHarness h;
  h.openRoot({entry(11, 0, "a", 10), entry(12, 0, "b", 10), entry(13, 0, "사진"),
              entry(2, 0, "reserved", 10)});
  h.listView().select({"a"});
  h.list().key(WebKey::AltT);
  h.listView().select({"b", "사진", "reserved"});
  h.list().key(WebKey::AltT);  // a second press before the first answer
  ASSERT_EQ(h.sent<SetSharingRequest>(),
            std::vector<SetSharingRequest>({{0, 11, item_kind::kFile, sharing::kPublic}}));
  EXPECT_EQ(h.list().pendingShares(), 3u) << "ids below 3 are never queued";

  h.reply(sharingReply(99, 't', 0));  // an answer for the tree's request
  EXPECT_EQ(h.sent<SetSharingRequest>().size(), 1u) << "only the head's answer advances";

  h.reply(sharingReply(11, 't', 0));
  EXPECT_EQ(shareCell(h, 11), "공개");
  EXPECT_EQ(h.sent<SetSharingRequest>().back().itemId, 12);

  h.reply(sharingReply(12, 't', 1));  // refused for another reason
  EXPECT_EQ(h.dialogs().lastText(), "공개설정이 정상적으로 이루어지지 않았습니다.     ");
  EXPECT_EQ(shareCell(h, 12), "비공개");
  EXPECT_EQ(h.sent<SetSharingRequest>().back(),
            (SetSharingRequest{0, 13, item_kind::kFolder, sharing::kPublic}))
      << "the failed head is dropped and the next goes out";

  h.reply(sharingReply(13, 't', 3));  // the copyright refusal
  EXPECT_EQ(h.dialogs().boxes.back().caption, "경고");
  EXPECT_EQ(shareCell(h, 13), "공개불가");
  EXPECT_EQ(h.list().find(13)->share, sharing::kRestricted);
  EXPECT_EQ(h.list().pendingShares(), 0u);
  EXPECT_EQ(h.sent<SetSharingRequest>().size(), 3u);
}

TEST(WebListCommands, DeleteActsOnTheRowsChosenBeforeTheQuestion) {
  StorageHarness h;
  h.openRoot({entry(10, 0, "사진"), entry(12, 0, "문서")});
  h.click("사진");
  h.ownPage(10, {entry(21, 10, "p1.jpg", 10), entry(22, 10, "p2.jpg", 10)});
  h.listView().select({"p1.jpg"});
  // While the question is open another folder is listed and a row selected.
  h.dialogs().whileOpen = [&h](const MessageBoxRequest&) {
    h.dialogs().whileOpen = nullptr;
    h.click("문서");
    h.ownPage(12, {entry(31, 12, "d1.txt", 10)});
    h.listView().select({"d1.txt"});
  };
  h.dialogs().answers = {MessageAnswer::Yes};
  h.list().key(WebKey::Delete);
  ASSERT_EQ(h.dialogs().boxes.size(), 1u);
  EXPECT_EQ(h.dialogs().boxes[0].buttons, MessageButtons::YesNo);
  EXPECT_EQ(h.sent<DeleteItemRequest>(),
            std::vector<DeleteItemRequest>({{10, 21, item_kind::kFile}}));
  h.reply(deleteReply(21, 'f'));
  EXPECT_EQ(h.names(), std::vector<std::string>({"d1.txt"})) << "the folder shown keeps its rows";
}

TEST(WebListCommands, AFolderDeleteRemovesItsTreeNodeBeforeItsRow) {
  StorageHarness h;
  h.openRoot({entry(10, 0, "사진"), entry(11, 0, "a.txt", 10)});
  const WebNodeId photos = h.treeView().idOf("사진");
  h.tree().onExpanding(photos);  // `current` is the folder that goes
  h.listView().select({"사진", "a.txt"});
  h.dialogs().answers = {MessageAnswer::Yes};
  h.list().key(WebKey::Delete);
  ASSERT_EQ(h.sent<DeleteItemRequest>(),
            std::vector<DeleteItemRequest>({{10, 10, item_kind::kFolder}}));

  bool nodeGoneFirst = false;
  h.listView().onRemoveRow = [&](std::int32_t itemId) {
    if (itemId == 10) nodeGoneFirst = h.treeView().idOf("사진") == 0;
  };
  h.reply(deleteReply(10, 100));
  EXPECT_TRUE(nodeGoneFirst);
  EXPECT_EQ(h.tree().node(photos), nullptr) << "the node is freed";
  EXPECT_EQ(h.tree().current(), h.tree().ownRoot());
  EXPECT_EQ(h.names(), std::vector<std::string>({"a.txt"}));
  EXPECT_EQ(h.sent<DeleteItemRequest>().back(), (DeleteItemRequest{0, 11, item_kind::kFile}));

  h.reply(deleteReply(11, 'f', 1));  // refused: the row stays
  EXPECT_EQ(h.names(), std::vector<std::string>({"a.txt"}));
  EXPECT_EQ(h.list().pendingDeletes(), 0u);
}

TEST(WebListCommands, PastedFilesMoveOnePerTickIntoTheFolderPastedInto) {
  StorageHarness h;
  h.session.member.sessionNumber = 77;
  h.openRoot({entry(10, 0, "사진"), entry(12, 0, "문서"), entry(21, 0, "a", 10),
              entry(22, 0, "b", 10), entry(23, 0, "sub")});
  h.listView().select({"a", "b", "sub"});
  h.list().key(WebKey::CtrlX);
  h.click("사진");
  h.ownPage(10, {});
  h.list().key(WebKey::CtrlV);
  ASSERT_EQ(h.sent<MoveFileRequest>(), std::vector<MoveFileRequest>({{77, 21, 0, 10}}))
      << "one request now, the next on the timer";
  EXPECT_TRUE(h.module->progressDialog().isOpen());

  h.click("내웹폴더");  // another folder is opened between two moves
  h.ownPage(0, {entry(10, 0, "사진")});
  h.fake.loop.advance(WebFileList::kMovePaceMs);
  EXPECT_EQ(h.sent<MoveFileRequest>().back(), (MoveFileRequest{77, 22, 0, 10}));
  const std::size_t sent = h.session.sent.size();
  h.fake.loop.advance(WebFileList::kMovePaceMs);
  EXPECT_EQ(h.sent<MoveFileRequest>().size(), 2u) << "folders are never moved";
  ASSERT_EQ(h.session.sent.size(), sent + 1);
  EXPECT_EQ(h.session.last<FolderListRequest>()->folderId, 0) << "the folder shown is refreshed";
  EXPECT_EQ(h.list().cutCount(), 0u);
  EXPECT_EQ(h.fake.loop.pendingCount(), 0u);

  // Pasting into the own root moves nothing, keeps the cut and still refreshes.
  h.ownPage(0, {entry(10, 0, "사진"), entry(24, 0, "c", 10)});
  h.listView().select({"c"});
  h.list().key(WebKey::CtrlX);
  const std::size_t before = h.session.sent.size();
  h.list().key(WebKey::CtrlV);
  EXPECT_EQ(h.sent<MoveFileRequest>().size(), 2u);
  ASSERT_EQ(h.session.sent.size(), before + 1);
  EXPECT_EQ(h.session.last<FolderListRequest>()->folderId, 0);
  EXPECT_EQ(h.list().cutCount(), 1u);
}

TEST(WebListCommands, RenameCleansFolderNamesAndCancelsWhatChangesNothing) {
  const std::string duplicate = "폴더명이 동일한 폴더가 존재합니다.     ";
  struct Case {
    const char* what;
    std::int32_t itemId;
    std::optional<std::string> typed;
    std::string kept;  // the name of record, row and tree node afterwards
    bool sent;
    std::string box;
  } cases[] = {
      {"marks in a folder name", 10, "a,b;c", "a!b!c", true, ""},
      {"a file keeps its marks", 11, "g,h.txt", "g,h.txt", true, ""},
      {"F2 then Enter unchanged", 10, "old", "old", false, ""},
      {"unchanged once cleaned", 13, "a,b", "a!b", false, ""},
      {"empty", 10, "", "old", false, ""},
      {"blank", 10, "  ", "old", false, ""},
      {"edit cancelled", 10, std::nullopt, "old", false, ""},
      {"a name that is taken", 10, "taken", "old", false, duplicate},
  };
  for (const Case& c : cases) {
    StorageHarness h;
    h.session.member.sessionNumber = 5;
    h.openRoot({entry(10, 0, "old"), entry(11, 0, "f.txt", 10), entry(12, 0, "taken"),
                entry(13, 0, "a!b")});
    h.listView().select({h.list().find(c.itemId)->name});
    h.list().key(WebKey::F2);
    ASSERT_EQ(h.listView().editing, c.itemId) << c.what;
    const std::size_t before = h.session.sent.size();
    h.list().endLabelEdit(c.itemId, c.typed);

    EXPECT_EQ(h.session.sent.size(), before + (c.sent ? 1 : 0)) << c.what;
    EXPECT_EQ(h.dialogs().lastText(), c.box) << c.what;
    EXPECT_EQ(h.list().find(c.itemId)->name, c.kept) << c.what;
    EXPECT_EQ(h.listView().find(c.itemId)->texts[kNameColumn], c.kept) << c.what;
    if (h.list().find(c.itemId)->isFolder()) {
      const WebNodeId node = h.tree().findFolder(h.tree().ownRoot(), c.itemId, nullptr);
      EXPECT_EQ(h.tree().node(node)->label, c.kept) << c.what;
      if (c.sent) {
        EXPECT_EQ(h.session.last<RenameFolderRequest>()->name, c.kept) << c.what;
      }
    } else if (c.sent) {
      EXPECT_EQ(h.session.last<RenameFileRequest>(), (RenameFileRequest{5, 11, 0, c.kept}));
    }
  }
}

TEST(WebListCommands, NewFolderTakesTheFirstFreeNameAndTheConfiguredState) {
  struct Case {
    const char* what;
    std::vector<FolderEntry> listing;
    std::map<std::string, std::string> settings;
    std::string name;
    char state;
  } cases[] = {
      {"nothing taken", {entry(20, 10, "x.txt", 5)}, {}, "새폴더", 'f'},
      {"taken by a file", {entry(20, 10, "새폴더", 5)}, {}, "새폴더(1)", 'f'},
      {"taken by a folder and a file",
       {entry(20, 10, "새폴더"), entry(21, 10, "새폴더(1)", 5)},
       {{"UpLoadPublic1", "1"}, {"UpLoadPublic3", "1"}},
       "새폴더(2)",
       'c'},
      {"only a numbered one taken",
       {entry(20, 10, "새폴더(1)")},
       {{"UpLoadPublic1", "1"}},
       "새폴더",
       't'},
  };
  for (const Case& c : cases) {
    StorageHarness h;
    for (const auto& [key, value] : c.settings)
      h.fake.profile.files[kConfigFile]["Config"][key] = value;
    h.openRoot({entry(10, 0, "사진")});
    h.click("사진");
    h.ownPage(10, c.listing);
    h.list().key(WebKey::CtrlN);
    h.tree().key(WebKey::CtrlN);  // the tree's node of the folder shown
    const auto made = h.sent<CreateFolderRequest>();
    ASSERT_EQ(made.size(), 2u) << c.what;
    EXPECT_EQ(made[0].name, c.name) << c.what;
    EXPECT_EQ(made[0].parentId, 10) << c.what;
    EXPECT_EQ(made[0].sharingState, c.state) << c.what;
    EXPECT_EQ(made[1], made[0]) << c.what;
  }
}

TEST(WebListCommands, CreatedItemsJoinOnlyTheFolderShown) {
  StorageHarness h;
  h.openRoot({entry(10, 0, "사진"), entry(11, 0, "b.txt", 10)});
  const auto folder = [](std::int32_t id, std::int32_t parent, const std::string& name) {
    FolderCreated made;
    made.folderId = id;
    made.parentId = parent;
    made.name = name;
    made.sharingState = 'f';
    return made;
  };
  FileRegistered file;
  file.fileId = 50;
  file.parentId = 77;
  file.name = "upload.bin";
  file.size = file.storedBytes = 100;
  h.reply(folder(40, 77, "elsewhere").encode());
  h.reply(file.encode());
  EXPECT_EQ(h.list().items().size(), 2u) << "records of another folder are kept out";
  EXPECT_EQ(h.listView().rows.size(), 2u);
  EXPECT_EQ(h.listView().editing, 0);

  h.reply(folder(41, 0, "새폴더").encode());
  EXPECT_EQ(h.listView().editing, 41) << "the new folder's name opens for editing";
  EXPECT_NE(h.tree().findFolder(h.tree().ownRoot(), 41, nullptr), 0);
  FolderCreated quiet = folder(42, 0, "quiet");
  quiet.skipLabelEdit = 1;
  h.reply(quiet.encode());
  file.parentId = 0;
  h.reply(file.encode());
  EXPECT_EQ(h.listView().editing, 41);
  // Row i is record i, so a command on a row acts on its own record.
  std::vector<std::int32_t> rows, records;
  for (const WebRow& row : h.listView().rows) rows.push_back(row.itemId);
  for (const WebItem& item : h.list().items()) records.push_back(item.itemId);
  EXPECT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows, records);
}

}  // namespace
}  // namespace pom::test
