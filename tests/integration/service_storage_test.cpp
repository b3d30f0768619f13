// The local service's support for the web-storage work: the request log, the
// result switches of the storage replies, the one-page folder, the bulk
// folder and the demo items with awkward names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "integration/service_client.h"
#include "service/demo_data.h"
#include "service/file_bodies.h"
#include "service/tickets.h"
#include "support/service_fixture.h"

namespace pom {
namespace {

using testing_support::LoggedRequest;
using testing_support::resultCode;
using testing_support::ServiceClient;
using testing_support::ServiceFixture;
namespace demo = service::demo;

class ServiceStorage : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
    ASSERT_TRUE(client_.connect(service_.ports().loginHosts[0], service_.ports().loginPorts[0]));
    LoginRequest login;
    login.memberId = demo::kMember1;
    login.password = demo::kPassword1;
    client_.send(login.encode());
    auto reply = client_.await<LoginReply>();
    ASSERT_TRUE(reply);
    ASSERT_EQ(resultCode(reply->result), 0);
  }

  std::int32_t idOf(const std::string& name, const std::string& owner = demo::kMember1) {
    return service::findItemId(service_.store(), owner, name);
  }
  FolderList listPage(std::int32_t folder, std::int32_t last = 0, std::uint8_t continuation = 0) {
    FolderListRequest request;
    request.folderId = folder;
    request.lastEntryId = last;
    request.continuation = continuation;
    client_.send(request.encode());
    auto page = client_.await<FolderList>();
    EXPECT_TRUE(page);
    return page.value_or(FolderList{});
  }
  // Every entry of a folder, page by page as the client asks for them.
  std::vector<FolderEntry> listAll(std::int32_t folder, std::vector<std::size_t>* sizes) {
    std::vector<FolderEntry> all;
    FolderList page = listPage(folder);
    for (;;) {
      sizes->push_back(page.entries.size());
      all.insert(all.end(), page.entries.begin(), page.entries.end());
      if (page.entries.size() < page.capacity || sizes->size() > 1000) return all;
      page = listPage(folder, page.entries.back().itemId, page.continuation);
    }
  }

  ServiceFixture service_{false};
  ServiceClient client_;
};

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(ServiceStorage, RequestLogHoldsEveryDecodedRequestWithItsFields) {
  AddFriendRequest add;
  add.friendId = "nobody";
  add.memo = "갂 메모";
  client_.send(add.encode());
  ASSERT_TRUE(client_.await<AddFriendReply>());
  SetSharingRequest share;
  share.parentId = 5;
  share.itemId = 123;
  share.kind = 'd';
  share.sharingState = 'c';
  client_.send(share.encode());
  ASSERT_TRUE(client_.await<SetSharingReply>());
  CombinedLinkRequest link;
  link.fileIds = {12, 345};
  client_.send(link.encode());
  ASSERT_TRUE(client_.await<CombinedLinkReply>());
  RenameFolderRequest rename;  // no reply: the test waits for its line
  rename.folderId = 77;
  rename.name = "새 이름";
  client_.send(rename.encode());
  auto renames =
      testing_support::waitForRequests(service_.requestLogPath(), RequestType::RenameFolder);

  auto all = service_.requests();
  ASSERT_EQ(all.size(), 5u);
  const LoggedRequest& login = all[0];
  EXPECT_EQ(login.member, "");  // not logged in yet when it came
  EXPECT_EQ(login.type, 0);
  EXPECT_EQ(login.name, "LoginRequest");
  EXPECT_EQ(login.text("memberId"), "demo1");
  EXPECT_EQ(login.text("password"), "***");
  EXPECT_EQ(fileText(service_.requestLogPath()).find(demo::kPassword1), std::string::npos);

  EXPECT_EQ(all[1].member, "demo1");
  EXPECT_EQ(all[1].type, 4);
  EXPECT_EQ(all[1].name, "AddFriendRequest");
  EXPECT_EQ(all[1].fields, (nlohmann::json{{"friendId", "nobody"}, {"memo", u8"갂 메모"}}));
  EXPECT_EQ(all[1].text("memo"), "갂 메모");  // UTF-8 in the file, CP949 back

  EXPECT_EQ(all[2].name, "SetSharingRequest");
  EXPECT_EQ(
      all[2].fields,
      (nlohmann::json{{"parentId", 5}, {"itemId", 123}, {"kind", "d"}, {"sharingState", "c"}}));
  EXPECT_EQ(all[3].name, "CombinedLinkRequest");
  EXPECT_EQ(all[3].fields["fileIds"], (nlohmann::json{12, 345}));
  ASSERT_EQ(renames.size(), 1u);
  EXPECT_EQ(renames[0].number("folderId"), 77);
  EXPECT_EQ(renames[0].text("name"), "새 이름");

  // Filtered by type.
  EXPECT_EQ(service_.requests(RequestType::AddFriend).size(), 1u);
  EXPECT_TRUE(service_.requests(RequestType::FolderList).empty());
}

// Each switch forces the reply's result; a non-zero value leaves the store
// as it was. The same request without the switch then does change it, so it
// was the switch that held it back.
TEST_F(ServiceStorage, ResultSwitchesForceTheReplyAndLeaveTheStoreAlone) {
  service::Store& store = service_.store();
  service::Member four;
  four.id = "demo4";
  four.password = "demo4444";
  ASSERT_TRUE(store.addMember(four));
  std::string linkCode;

  struct Case {
    const char* key;
    int forced;
    std::function<int()> exchange;       // sends the request, returns the result byte
    std::function<std::string()> state;  // what the request would change
  };
  auto memoOf = [&](const std::string& friendId) {
    for (const auto& f : store.friends(demo::kMember1))
      if (f.friendId == friendId) return "friend:" + f.memo;
    return std::string("no friend");
  };
  std::int32_t memoFile = idOf("메모.txt");
  std::int32_t hello = idOf("안녕.txt");
  std::int32_t documents = idOf("문서");
  std::int32_t report = idOf("보고서.doc");
  ASSERT_TRUE(memoFile && hello && documents && report);

  const std::vector<Case> cases = {
      {"add_friend_result", 2,
       [&] {
         AddFriendRequest r;
         r.friendId = "demo4";
         client_.send(r.encode());
         return resultCode(client_.await<AddFriendReply>()->result);
       },
       [&] { return memoOf("demo4"); }},
      {"remove_friend_result", 7,
       [&] {
         RemoveFriendRequest r;
         r.friendId = demo::kMember2;
         client_.send(r.encode());
         return resultCode(client_.await<RemoveFriendReply>()->result);
       },
       [&] { return memoOf(demo::kMember2); }},
      {"edit_memo_result", 9,
       [&] {
         EditMemoRequest r;
         r.memberId = demo::kMember1;
         r.friendId = demo::kMember3;
         r.memo = "바뀐 메모";
         client_.send(r.encode());
         return resultCode(client_.await<EditMemoReply>()->result);
       },
       [&] { return memoOf(demo::kMember3); }},
      {"sharing_result", 5,
       [&] {
         SetSharingRequest r;
         r.itemId = memoFile;
         r.kind = 'f';
         r.sharingState = 't';
         client_.send(r.encode());
         return resultCode(client_.await<SetSharingReply>()->result);
       },
       [&] { return std::string(1, store.item(memoFile)->share); }},
      {"delete_result", 1,
       [&] {
         DeleteItemRequest r;
         r.folderId = documents;
         r.itemId = hello;
         r.kind = 'f';
         client_.send(r.encode());
         return resultCode(client_.await<DeleteItemReply>()->result);
       },
       [&] { return std::string(store.item(hello) ? "there" : "gone"); }},
      {"rename_result", 1,
       [&] {
         RenameFileRequest r;
         r.fileId = memoFile;
         r.name = "새이름.txt";
         client_.send(r.encode());
         return resultCode(client_.await<RenameFileReply>()->result);
       },
       [&] { return store.item(memoFile)->name; }},
      {"extend_term_result", 4,
       [&] {
         ExtendTermRequest r;
         r.folderId = documents;
         client_.send(r.encode());
         return resultCode(client_.await<ExtendTermReply>()->result);
       },
       [&] { return std::to_string(store.item(report)->daysKept); }},
      {"combined_link_result", 1,
       [&] {
         CombinedLinkRequest r;
         r.fileIds = {memoFile};
         client_.send(r.encode());
         auto reply = client_.await<CombinedLinkReply>();
         linkCode = reply->linkCode;
         return resultCode(reply->result);
       },
       [&] {
         return linkCode.empty() ? "no link" : store.combinedLinkFiles(linkCode).value_or("?");
       }},
  };

  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    std::string before = c.state();
    ASSERT_TRUE(service_.faults().set(c.key, std::to_string(c.forced), 1));
    EXPECT_EQ(c.exchange(), c.forced);
    EXPECT_EQ(c.state(), before);
    EXPECT_FALSE(service_.faults().peek(c.key));  // used up by that one reply
    EXPECT_EQ(c.exchange(), 0);
    EXPECT_NE(c.state(), before);
  }
}

TEST_F(ServiceStorage, FolderCreatedByte152FollowsItsSwitch) {
  auto create = [&](const std::string& name) {
    CreateFolderRequest request;
    request.name = name;
    client_.send(request.encode());
    return client_.await<FolderCreated>();
  };
  auto plain = create("보통");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->skipLabelEdit, 0);
  service_.faults().set("folder_created_byte152", "1", 1);
  auto flagged = create("표시");
  ASSERT_TRUE(flagged);
  EXPECT_EQ(flagged->skipLabelEdit, 1);
  EXPECT_EQ(resultCode(flagged->result), 0);
  EXPECT_NE(idOf("표시"), 0);  // created all the same
}

TEST_F(ServiceStorage, OnePageFolderListsThirtyThenAnEmptyPage) {
  std::int32_t folder = idOf(demo::kOnePageFolder);
  ASSERT_NE(folder, 0);
  std::vector<std::size_t> sizes;
  auto entries = listAll(folder, &sizes);
  EXPECT_EQ(sizes, (std::vector<std::size_t>{30, 0}));
  ASSERT_EQ(entries.size(), 30u);

  // The second request carried the 30th id and the first page's byte 14.
  auto asked = service_.requests(RequestType::FolderList);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].number("lastEntryId"), 0);
  EXPECT_EQ(asked[1].number("folderId"), folder);
  EXPECT_EQ(asked[1].number("lastEntryId"), entries.back().itemId);
  EXPECT_EQ(asked[1].number("continuation"), 1);
}

TEST_F(ServiceStorage, DemoItemsForTheWebStorageViews) {
  client_.send(FriendListRequest{}.encode());
  auto friends = client_.await<FriendList>();
  ASSERT_TRUE(friends);
  ASSERT_EQ(friends->friends.size(), 2u);
  EXPECT_EQ(friends->friends[1].friendId, demo::kMember3);
  EXPECT_EQ(friends->friends[1].displayName, "");
  EXPECT_EQ(friends->friends[1].memo, "");

  std::map<std::string, FolderEntry> top;
  for (const auto& e : listPage(0).entries) top[e.name] = e;
  for (const char* name :
       {"사진", "문서", "동영상", "많은항목", "메모.txt", demo::kOnePageFolder,
        demo::kPunctuatedFolder, demo::kPunctuatedFile, demo::kLongFolder, demo::kTrailLetterFile})
    EXPECT_EQ(top.count(name), 1u) << cp949ToUtf8(name);
  EXPECT_EQ(top[demo::kPunctuatedFolder].fileSize, 0);
  EXPECT_NE(top[demo::kPunctuatedFile].fileSize, 0);
  for (std::string name : {demo::kPunctuatedFolder, demo::kPunctuatedFile})
    for (char c : {'\'', ',', ';'}) EXPECT_NE(name.find(c), std::string::npos) << c;
  EXPECT_EQ(std::string(demo::kLongFolder).size(), 100u);  // 50 syllables
  EXPECT_EQ(top[demo::kLongFolder].fileSize, 0);
  EXPECT_NE(std::string(demo::kTrailLetterFile)
                .find("\x81"
                      "A"),
            std::string::npos);
  // The bulk folder is made only on request.
  EXPECT_EQ(top.count(demo::kBulkFolder), 0u);
}

TEST(ServiceBulkFolder, HoldsTheCountAskedAndIsAddedOnce) {
  ServiceFixture service(false);
  service.setBulkFolder(10000);
  std::string error;
  ASSERT_TRUE(service.start(&error)) << error;
  ASSERT_TRUE(service.restart(&error)) << error;  // a second start adds nothing
  EXPECT_EQ(service.store().findByName(demo::kMember1, 0, demo::kBulkFolder).size(), 1u);
  std::int32_t folder = service::findItemId(service.store(), demo::kMember1, demo::kBulkFolder);
  ASSERT_NE(folder, 0);

  ServiceClient client;
  ASSERT_TRUE(client.connect(service.ports().loginHosts[0], service.ports().loginPorts[0]));
  LoginRequest login;
  login.memberId = demo::kMember1;
  login.password = demo::kPassword1;
  client.send(login.encode());
  ASSERT_EQ(resultCode(client.await<LoginReply>()->result), 0);
  std::size_t listed = 0;
  int pages = 0;
  FolderListRequest request;
  request.folderId = folder;
  for (;; ++pages) {
    client.send(request.encode());
    auto page = client.await<FolderList>();
    ASSERT_TRUE(page);
    listed += page->entries.size();
    if (page->entries.size() < page->capacity || pages > 400) break;
    request.lastEntryId = page->entries.back().itemId;
    request.continuation = page->continuation;
  }
  EXPECT_EQ(listed, 10000u);
  EXPECT_EQ(pages, 333);  // 333 full pages, then one of 10

  // Bodies are written when first read, and then follow the generator.
  auto file = service.store().item(request.lastEntryId);
  ASSERT_TRUE(file && !file->isFolder());
  std::string body = service.store().bodyPath(file->id);
  EXPECT_NE(::access(body.c_str(), F_OK), 0);
  ServiceClient storage(kDownloadSessionKind);
  ASSERT_TRUE(storage.connect(service.ports().storageHost, service.ports().downloadPort));
  DownloadRequest download;
  download.fileId = file->id;
  download.memberId = demo::kMember1;
  download.password = demo::kPassword1;
  download.path = service::downloadPathsFor(*file).joined();
  storage.send(download.encode());
  std::vector<std::uint8_t> data;
  while (auto chunk = storage.next(static_cast<std::int32_t>(FileData::kType))) {
    auto view = FileData::view(chunk->data(), chunk->size());
    ASSERT_TRUE(view);
    data.insert(data.end(), view->data, view->data + view->size);
    if (data.size() >= static_cast<std::size_t>(file->size)) break;
  }
  std::vector<std::uint8_t> expected(static_cast<std::size_t>(file->size));
  service::fillGenerated(static_cast<std::uint64_t>(file->id), 0, expected.data(), expected.size());
  EXPECT_EQ(data, expected);
  EXPECT_EQ(::access(body.c_str(), F_OK), 0);
}

}  // namespace
}  // namespace pom
