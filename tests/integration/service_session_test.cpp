// The login server over real loopback sockets, spoken to through the core's
// Connection and message catalogue: logins, listings, friends, folders and
// files, tickets and the service's own notices.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "integration/service_client.h"
#include "service/demo_data.h"
#include "service/file_bodies.h"
#include "support/service_fixture.h"

namespace pom {
namespace {

using service::Item;
using testing_support::resultCode;
using testing_support::ServiceClient;
using testing_support::ServiceFixture;

class ServiceSession : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
    ASSERT_TRUE(connect(client_));
  }

  bool connect(ServiceClient& client, int host = 0, int port = 0) {
    return client.connect(service_.ports().loginHosts[host], service_.ports().loginPorts[port]);
  }

  std::optional<LoginReply> login(ServiceClient& client, const std::string& id,
                                  const std::string& password) {
    LoginRequest request;
    request.memberId = id;
    request.password = password;
    client.send(request.encode());
    return client.await<LoginReply>();
  }
  void loginDemo1() {
    auto reply = login(client_, "demo1", "demo1234");
    ASSERT_TRUE(reply);
    ASSERT_EQ(resultCode(reply->result), 0);
    ASSERT_TRUE(client_.await<SessionInfo>());
  }
  std::int32_t idOf(const std::string& name, const std::string& owner = "demo1") {
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

  ServiceFixture service_{false};
  ServiceClient client_;
};

TEST_F(ServiceSession, LoginAcceptsDemoMemberAndAssignsASessionNumber) {
  auto refused = login(client_, "demo1", "wrong");
  ASSERT_TRUE(refused);
  EXPECT_NE(resultCode(refused->result), 0);
  EXPECT_NE(resultCode(refused->result), 100);
  EXPECT_NE(resultCode(refused->result), 3);

  // The connection stays open after a refusal; the next attempt succeeds.
  auto reply = login(client_, "demo1", "demo1234");
  ASSERT_TRUE(reply);
  EXPECT_EQ(resultCode(reply->result), 0);
  EXPECT_EQ(reply->memberId, "demo1");
  EXPECT_EQ(reply->memberText, "데모일");
  EXPECT_EQ(reply->registrationNumber, "8501011234567");
  EXPECT_EQ(reply->flatRate, 0);
  EXPECT_EQ(reply->credit, 1200000);
  auto info = client_.await<SessionInfo>();
  ASSERT_TRUE(info);
  EXPECT_NE(info->sessionNumber, 0);
  EXPECT_NE(info->sessionNumber, 0xFFFF);

  client_.send(NoteCheckRequest{}.encode());
  auto note = client_.await<NoteNotice>();
  ASSERT_TRUE(note);
  EXPECT_TRUE(note->notesWaiting());

  // A second client gets a different session number.
  ServiceClient other;
  ASSERT_TRUE(connect(other, 1, 1));
  ASSERT_EQ(resultCode(login(other, "demo2", "demo5678")->result), 0);
  auto otherInfo = other.await<SessionInfo>();
  ASSERT_TRUE(otherInfo);
  EXPECT_NE(otherInfo->sessionNumber, info->sessionNumber);
}

TEST_F(ServiceSession, LoginResultCodesFromSwitchesAndFlatRateLimit) {
  service_.faults().set("login_result", "100", 1);
  EXPECT_EQ(resultCode(login(client_, "demo1", "demo1234")->result), 100);
  EXPECT_EQ(resultCode(login(client_, "demo1", "demo1234")->result), 0);

  // demo2 has a flat rate and two connections; the third is refused with 3.
  ServiceClient a, b, c;
  ASSERT_TRUE(connect(a) && connect(b, 1) && connect(c, 0, 1));
  EXPECT_EQ(resultCode(login(a, "demo2", "demo5678")->result), 0);
  EXPECT_EQ(resultCode(login(b, "demo2", "demo5678")->result), 0);
  EXPECT_EQ(resultCode(login(c, "demo2", "demo5678")->result), 3);
  // Logging in again on a connection that is already in counts once.
  EXPECT_EQ(resultCode(login(b, "demo2", "demo5678")->result), 0);
}

TEST_F(ServiceSession, RequestsBeforeLoginAreIgnored) {
  FolderListRequest request;
  client_.send(request.encode());
  EXPECT_FALSE(client_.await<FolderList>(300));
  loginDemo1();
  EXPECT_EQ(listPage(0).folderId, 0);
}

TEST_F(ServiceSession, FolderListingComesInPagesOfThirty) {
  loginDemo1();
  FolderList root = listPage(0);
  EXPECT_EQ(root.capacity, 30);
  std::vector<std::string> names;
  for (const auto& e : root.entries) names.push_back(e.name);
  EXPECT_NE(std::find(names.begin(), names.end(), "사진"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "메모.txt"), names.end());

  std::int32_t many = idOf("많은항목");
  ASSERT_GE(many, 3);
  std::set<std::int32_t> ids;
  std::vector<std::size_t> sizes;
  FolderList page = listPage(many);
  for (;;) {
    EXPECT_EQ(page.folderId, many);
    sizes.push_back(page.entries.size());
    for (const auto& e : page.entries) {
      ids.insert(e.itemId);
      EXPECT_EQ(e.parentId, many);
      EXPECT_EQ(e.storedBytes, e.fileSize);
    }
    if (page.entries.size() < page.capacity) break;
    ASSERT_LT(sizes.size(), 5u);
    page = listPage(many, page.entries.back().itemId, page.continuation);
  }
  EXPECT_EQ(sizes, (std::vector<std::size_t>{30, 30, 15}));
  EXPECT_EQ(ids.size(), 75u);

  // A partly stored file reports what the service holds.
  FolderList documents = listPage(idOf("문서"));
  auto partial = std::find_if(documents.entries.begin(), documents.entries.end(),
                              [](const FolderEntry& e) { return e.name == "미완성.zip"; });
  ASSERT_NE(partial, documents.entries.end());
  EXPECT_EQ(partial->fileSize, 4000000);
  EXPECT_EQ(partial->storedBytes, 1500000);
  EXPECT_EQ(partial->date.day, 30);  // days kept

  // Someone else's folder lists as empty.
  EXPECT_TRUE(listPage(idOf("공유자료", "demo2")).entries.empty());
}

TEST_F(ServiceSession, FriendsAddRemoveAndMemos) {
  loginDemo1();
  client_.send(FriendListRequest{}.encode());
  auto list = client_.await<FriendList>();
  ASSERT_TRUE(list);
  ASSERT_EQ(list->friends.size(), 2u);  // demo2, then demo3 (no name, no memo)
  EXPECT_EQ(list->friends[0].friendId, "demo2");
  EXPECT_EQ(list->friends[0].displayName, "데모이");
  EXPECT_EQ(list->friends[0].memo, "대학 동기");

  auto add = [&](const std::string& id, const std::string& memo) {
    AddFriendRequest request;
    request.friendId = id;
    request.memo = memo;
    client_.send(request.encode());
    return client_.await<AddFriendReply>();
  };
  EXPECT_EQ(resultCode(add("demo1", "")->result), 4);
  EXPECT_EQ(resultCode(add("nobody", "")->result), 2);
  EXPECT_EQ(resultCode(add("demo2", "")->result), 3);

  RemoveFriendRequest remove;
  remove.friendId = "demo2";
  client_.send(remove.encode());
  EXPECT_EQ(resultCode(client_.await<RemoveFriendReply>()->result), 0);
  client_.send(remove.encode());
  EXPECT_NE(resultCode(client_.await<RemoveFriendReply>()->result), 0);

  auto added = add("demo2", "새 메모");
  ASSERT_TRUE(added);
  EXPECT_EQ(resultCode(added->result), 0);
  EXPECT_EQ(added->record.displayName, "데모이");
  EXPECT_EQ(added->record.memo, "새 메모");

  EditMemoRequest edit;
  edit.memberId = "demo1";
  edit.friendId = "demo2";
  edit.memo = "고친 메모";
  client_.send(edit.encode());
  EXPECT_EQ(resultCode(client_.await<EditMemoReply>()->result), 0);
  EXPECT_EQ(service_.store().friends("demo1").back().memo, "고친 메모");  // re-added last
  edit.memberId = "demo2";  // not the member logged in
  client_.send(edit.encode());
  EXPECT_NE(resultCode(client_.await<EditMemoReply>()->result), 0);
}

TEST_F(ServiceSession, FriendFoldersShowOnlyPublicItems) {
  loginDemo1();
  MemberFolderListRequest request;
  request.friendId = "demo2";
  client_.send(request.encode());
  auto top = client_.await<MemberFolderList>();
  ASSERT_TRUE(top);
  EXPECT_EQ(top->friendId, "demo2");
  std::set<std::string> names;
  for (const auto& e : top->entries) names.insert(e.name);
  EXPECT_EQ(names, (std::set<std::string>{"공유자료", "공지사항.txt"}));

  request.folderId = idOf("공유자료", "demo2");
  client_.send(request.encode());
  EXPECT_EQ(client_.await<MemberFolderList>()->entries.size(), 2u);

  FolderContentRequest content;
  content.ownerId = "demo2";
  content.folderId = request.folderId;
  client_.send(content.encode());
  auto files = client_.await<FolderContent>();
  ASSERT_TRUE(files);
  ASSERT_EQ(files->entries.size(), 2u);
  EXPECT_EQ(files->entries[0].ownerId, "demo2");
  EXPECT_EQ(files->entries[0].name, "공개문서.pdf");
  EXPECT_EQ(files->entries[0].fileSize, 250000);

  request.friendId = "nobody";
  request.folderId = 0;
  client_.send(request.encode());
  EXPECT_TRUE(client_.await<MemberFolderList>()->entries.empty());
}

TEST_F(ServiceSession, CreateShareDeleteRenameAndMove) {
  loginDemo1();
  CreateFolderRequest create;
  create.name = "새폴더";
  create.parentId = idOf("사진");
  create.sharingState = 'c';
  client_.send(create.encode());
  auto created = client_.await<FolderCreated>();
  ASSERT_TRUE(created);
  EXPECT_EQ(resultCode(created->result), 0);
  EXPECT_EQ(created->name, "새폴더");
  EXPECT_EQ(created->parentId, create.parentId);
  EXPECT_EQ(created->sharingState, 'c');
  std::int32_t folder = created->folderId;
  EXPECT_GE(folder, 3);

  create.forUpload = true;
  create.pendingIndex = 7;
  create.name = "올린폴더";
  client_.send(create.encode());
  auto forUpload = client_.await<UploadFolderCreated>();
  ASSERT_TRUE(forUpload);
  EXPECT_EQ(resultCode(forUpload->result), 0);
  EXPECT_EQ(forUpload->pendingIndex, 7);
  EXPECT_EQ(forUpload->forUpload, 1);

  create.forUpload = false;
  create.parentId = idOf("공유자료", "demo2");  // not ours
  client_.send(create.encode());
  EXPECT_NE(resultCode(client_.await<FolderCreated>()->result), 0);

  auto share = [&](std::int32_t id, char kind, char state) {
    SetSharingRequest request;
    request.itemId = id;
    request.kind = kind;
    request.sharingState = state;
    client_.send(request.encode());
    return client_.await<SetSharingReply>();
  };
  auto shared = share(idOf("보고서.doc"), 'f', 't');
  EXPECT_EQ(resultCode(shared->result), 0);
  EXPECT_EQ(shared->sharingState, 't');
  auto guarded = share(idOf("보호영상.avi"), 'f', 't');
  EXPECT_EQ(resultCode(guarded->result), 3);
  EXPECT_EQ(guarded->sharingState, 'b');
  EXPECT_EQ(service_.store().item(idOf("보호영상.avi"))->share, 'b');
  EXPECT_EQ(resultCode(share(folder, 'd', 't')->result), 0);
  EXPECT_NE(resultCode(share(folder, 'f', 't')->result), 0);  // wrong kind

  auto remove = [&](std::int32_t folderField, std::int32_t id, char kind) {
    DeleteItemRequest request;
    request.folderId = folderField;
    request.itemId = id;
    request.kind = kind;
    client_.send(request.encode());
    return client_.await<DeleteItemReply>();
  };
  EXPECT_NE(resultCode(remove(idOf("문서"), idOf("문서"), 'd')->result), 0);  // not empty
  std::int32_t hello = idOf("안녕.txt");
  auto deletedFile = remove(idOf("문서"), hello, 'f');
  EXPECT_EQ(resultCode(deletedFile->result), 0);
  EXPECT_FALSE(service_.store().item(hello));
  auto deletedFolder = remove(folder, folder, 'd');
  EXPECT_EQ(resultCode(deletedFolder->result), 0);
  EXPECT_EQ(deletedFolder->kind, 100);

  RenameFolderRequest renameFolder;
  renameFolder.folderId = idOf("동영상");
  renameFolder.name = "영화";
  client_.send(renameFolder.encode());
  RenameFileRequest renameFile;
  renameFile.fileId = idOf("보고서.doc");
  renameFile.name = "결과.doc";
  client_.send(renameFile.encode());
  EXPECT_EQ(resultCode(client_.await<RenameFileReply>()->result), 0);
  EXPECT_NE(idOf("영화"), 0);
  renameFile.fileId = idOf("미완성.zip");  // incomplete files keep their name
  client_.send(renameFile.encode());
  EXPECT_NE(resultCode(client_.await<RenameFileReply>()->result), 0);

  MoveFileRequest move;
  move.fileId = idOf("결과.doc");
  move.fromFolderId = idOf("문서");
  move.toFolderId = idOf("사진");
  client_.send(move.encode());
  EXPECT_TRUE(client_.await<MoveFileReply>());
  EXPECT_EQ(service_.store().item(move.fileId)->parentId, move.toFolderId);
}

TEST_F(ServiceSession, TermExtensionAndCombinedLinks) {
  loginDemo1();
  auto extend = [&](std::int32_t folder) {
    ExtendTermRequest request;
    request.folderId = folder;
    client_.send(request.encode());
    return client_.await<ExtendTermReply>();
  };
  std::int32_t documents = idOf("문서");
  auto extended = extend(documents);
  EXPECT_EQ(resultCode(extended->result), 0);
  EXPECT_EQ(extended->quotaBytes, 100ll << 20);
  EXPECT_EQ(service_.store().item(idOf("보고서.doc"))->daysKept, 60);
  EXPECT_EQ(resultCode(extend(0)->result), 2);
  EXPECT_EQ(resultCode(extend(idOf("공유자료", "demo2"))->result), 2);
  Item huge;
  huge.owner = "demo1";
  huge.parentId = documents;
  huge.name = "huge.bin";
  huge.size = 200ll << 20;
  ASSERT_NE(service_.store().addFile(huge), 0);
  EXPECT_EQ(resultCode(extend(documents)->result), 4);

  CombinedLinkRequest link;
  link.fileIds = {idOf("보고서.doc"), idOf("공개문서.pdf", "demo2")};
  client_.send(link.encode());
  auto reply = client_.await<CombinedLinkReply>();
  ASSERT_TRUE(reply);
  EXPECT_EQ(resultCode(reply->result), 0);
  EXPECT_FALSE(reply->linkCode.empty());
  EXPECT_LE(reply->linkCode.size(), 19u);
  auto stored = service_.store().combinedLinkFiles(reply->linkCode);
  ASSERT_TRUE(stored);
  EXPECT_EQ(*stored, std::to_string(link.fileIds[0]) + "," + std::to_string(link.fileIds[1]));

  link.fileIds = {idOf("비밀.txt", "demo2")};  // someone else's private file
  client_.send(link.encode());
  EXPECT_NE(resultCode(client_.await<CombinedLinkReply>()->result), 0);
}

TEST_F(ServiceSession, DownloadTicketsNameTheStorageHostAndRefuseWhatTheyMust) {
  loginDemo1();
  auto ticket = [&](std::int32_t id, std::int64_t missing) {
    DownloadTicketRequest request;
    request.fileId = id;
    request.missingBytes = missing;
    client_.send(request.encode());
    return client_.await<DownloadTicket>();
  };
  std::int32_t photo = idOf("가족.jpg");
  auto go = ticket(photo, 3145728);
  ASSERT_TRUE(go);
  EXPECT_EQ(resultCode(go->result), 0);
  EXPECT_EQ(go->fileId, photo);
  EXPECT_EQ(go->storageHost, "127.0.0.3");
  EXPECT_EQ(go->uniqueCode, service_.store().item(photo)->uniqueCode);
  EXPECT_EQ(go->uniqueCode.size(), 32u);
  EXPECT_FALSE(go->serverPath.empty());

  EXPECT_EQ(resultCode(ticket(idOf("미완성.zip"), 4000000)->result), 255);     // incomplete
  EXPECT_EQ(resultCode(ticket(999999, 10)->result), 255);                      // no such file
  EXPECT_EQ(resultCode(ticket(idOf("비밀.txt", "demo2"), 300)->result), 255);  // private to demo2
  EXPECT_EQ(resultCode(ticket(idOf("공개문서.pdf", "demo2"), 250000)->result), 0);

  // 1 point per KiB: 1,200,000 points do not cover 2 GB, nor 3 MB at 100 points.
  EXPECT_EQ(resultCode(ticket(photo, 2000000000)->result), 1);
  service_.store().setCredit("demo1", 100);
  EXPECT_EQ(resultCode(ticket(photo, 3145728)->result), 1);
  EXPECT_EQ(resultCode(ticket(photo, 100 * 1024)->result), 0);

  service_.faults().set("download_ticket_result", "7", 1);
  EXPECT_EQ(resultCode(ticket(photo, 10)->result), 7);
}

TEST_F(ServiceSession, UploadTicketsStartNewFilesAndResumePartlyStoredOnes) {
  loginDemo1();
  auto ticket = [&](const std::string& name, std::int32_t folder) {
    UploadTicketRequest request;
    request.uploadRow = 4;
    request.fileName = name;
    request.folderId = folder;
    client_.send(request.encode());
    return client_.await<UploadTicket>();
  };
  auto fresh = ticket("새파일.bin", 2);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(resultCode(fresh->result), 255);
  EXPECT_EQ(fresh->uploadRow, 4);
  EXPECT_EQ(fresh->storageHost, "127.0.0.3");
  EXPECT_EQ(fresh->storagePort, service_.ports().uploadPort);
  EXPECT_EQ(fresh->storedBytes, 0);
  auto record = service_.store().item(fresh->serverFileId);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->parentId, 0);  // folder 2 is the top level

  auto resume = ticket("미완성.zip", idOf("문서"));
  EXPECT_EQ(resultCode(resume->result), 0);
  EXPECT_EQ(resume->serverFileId, idOf("미완성.zip"));
  EXPECT_EQ(resume->fileSize, 4000000);
  EXPECT_EQ(resume->storedBytes, 1500000);

  EXPECT_NE(resultCode(ticket("x.bin", idOf("공유자료", "demo2"))->result), 0);  // not our folder
  service_.faults().set("upload_ticket_result", "9", 1);
  EXPECT_EQ(resultCode(ticket("y.bin", 0)->result), 9);
}

TEST_F(ServiceSession, BalanceNoticesKeepAlivesAndPeerReports) {
  loginDemo1();
  client_.send(TransferEnded{}.encode());
  auto balance = client_.await<CreditBalance>();
  ASSERT_TRUE(balance);
  EXPECT_EQ(balance->credit, 1200000);

  PeerReport report;
  report.fileId = idOf("큰파일.avi");
  report.memberId = "demo1";
  report.totalSize = 12ll << 20;
  report.peerBytes = 5000000;
  report.completed = true;
  client_.send(report.encode());

  service_.faults().set("notice", "점검 안내");
  auto notice = client_.await<ServerNotice>(2000);
  ASSERT_TRUE(notice);
  EXPECT_EQ(notice->show, 1);
  EXPECT_EQ(notice->text, "점검 안내");

  service_.faults().set("keepalive_ms", "200");
  EXPECT_TRUE(client_.await<KeepAlive>(2000));

  auto reports = service_.store().peerReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].fileId, report.fileId);
  EXPECT_EQ(reports[0].peerBytes, 5000000);
  EXPECT_TRUE(reports[0].completed);
}

TEST_F(ServiceSession, RestartKeepsMembersFoldersAndFiles) {
  loginDemo1();
  CreateFolderRequest create;
  create.name = "남길폴더";
  client_.send(create.encode());
  std::int32_t folder = client_.await<FolderCreated>()->folderId;
  service_.store().setCredit("demo1", 4321);

  std::string error;
  ASSERT_TRUE(service_.restart(&error)) << error;
  ServiceClient again;
  ASSERT_TRUE(connect(again));
  auto reply = login(again, "demo1", "demo1234");
  ASSERT_EQ(resultCode(reply->result), 0);
  EXPECT_EQ(reply->credit, 4321);
  FolderListRequest request;
  again.send(request.encode());
  auto root = again.await<FolderList>();
  ASSERT_TRUE(root);
  EXPECT_TRUE(std::any_of(root->entries.begin(), root->entries.end(),
                          [&](const FolderEntry& e) { return e.itemId == folder; }));
  std::int32_t last = service::findItemId(service_.store(), "demo1", "항목075.txt");
  ASSERT_NE(last, 0);
  // The body is still there, byte for byte.
  std::ifstream body(service_.store().bodyPath(last), std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(body)), {});
  std::vector<std::uint8_t> expected(175);
  service::fillGenerated(static_cast<std::uint64_t>(last), 0, expected.data(), expected.size());
  EXPECT_EQ(bytes, expected);
}

}  // namespace
}  // namespace pom
