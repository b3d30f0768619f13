// The web storage of the client's core against the local service over
// loopback, driven through the headless front end's commands (the same
// presenters the windows use): what the service received (its request log),
// what the list and tree show, and the exact text of every refusal.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <sstream>

#include "cli/headless_client.h"
#include "cli/web_commands.h"
#include "core/base/servers.h"
#include "core/ports/text_codec.h"
#include "core/storage/storage_module.h"
#include "core/storage/web_file_list.h"
#include "core/storage/web_folder_tree.h"
#include "support/service_fixture.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

using testing_support::LoggedRequest;
using testing_support::ServiceFixture;

class WebStorage : public ::testing::Test {
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
    web_ = std::make_unique<WebCommands>(*client_, out_);
  }
  void TearDown() override {
    web_.reset();
    client_.reset();
  }

  // The output of one command (UTF-8), emptied for the next.
  std::string output() {
    std::string text = out_.str();
    out_.str("");
    return text;
  }
  std::vector<LoggedRequest> logged(RequestType type) const { return service_.requests(type); }
  bool shown(const std::string& text) const {
    for (const MessageBoxRequest& box : client_->dialogs().shown) {
      if (box.text == text) return true;
    }
    return false;
  }
  const WebRow* row(const std::string& name) const {
    for (const WebRow& each : client_->front().list->rows) {
      if (each.texts[kNameColumn] == name) return &each;
    }
    return nullptr;
  }
  WebFolderTree& tree() { return client_->storage().tree(); }
  WebNodeId ownNode(const std::string& label) {
    for (WebNodeId child : tree().node(tree().ownRoot())->children) {
      if (tree().node(child)->label == label) return child;
    }
    return 0;
  }

  ServiceFixture service_;
  test::TempDir dir_;
  std::ostringstream out_, errors_;
  std::unique_ptr<HeadlessClient> client_;
  std::unique_ptr<WebCommands> web_;
};

TEST_F(WebStorage, PagedFoldersArriveWholeWithTheRightLastIdsAndContinuations) {
  ASSERT_EQ(web_->list(cp949ToUtf8("많은항목")), Outcome::Done);
  std::istringstream lines(output());
  int rows = 0;
  for (std::string line; std::getline(lines, line);) ++rows;
  EXPECT_EQ(rows, 75);

  const std::vector<WebItem>& items = client_->storage().list().items();
  const std::int32_t folder = client_->storage().list().folder();
  std::vector<LoggedRequest> pages;
  for (const LoggedRequest& request : logged(RequestType::FolderList)) {
    if (request.number("folderId") == folder) pages.push_back(request);
  }
  ASSERT_EQ(pages.size(), 3u);
  // Each page after the first continues after the last id of the one before
  // with the continuation byte it carried (the service counts them up).
  std::vector<std::int32_t> ids;
  for (const WebItem& item : items) ids.push_back(item.itemId);
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(pages[0].number("lastEntryId"), 0);
  EXPECT_EQ(pages[1].number("lastEntryId"), ids[29]);
  EXPECT_EQ(pages[2].number("lastEntryId"), ids[59]);
  EXPECT_EQ(pages[1].number("continuation"), 1);
  EXPECT_EQ(pages[2].number("continuation"), 2);

  // A folder of exactly one page asks once more and ends on the empty page.
  ASSERT_EQ(web_->list(cp949ToUtf8("한페이지")), Outcome::Done);
  const std::int32_t onePage = client_->storage().list().folder();
  int asked = 0;
  for (const LoggedRequest& request : logged(RequestType::FolderList))
    asked += request.number("folderId") == onePage;
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(client_->front().list->rows.size(), 30u);
}

TEST_F(WebStorage, OrganisingFoldersAndFilesReachesTheService) {
  // A new folder: Ctrl+N makes 새폴더, its name is typed over.
  ASSERT_EQ(web_->makeFolder(cp949ToUtf8("문서/보관함")), Outcome::Done) << errors_.str();
  const std::vector<LoggedRequest> created = logged(RequestType::CreateFolder);
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].text("name"), "새폴더");
  const std::vector<LoggedRequest> renamed = logged(RequestType::RenameFolder);
  ASSERT_EQ(renamed.size(), 1u);
  EXPECT_EQ(renamed[0].text("name"), "보관함");

  // A file renamed and moved into the new folder.
  ASSERT_EQ(web_->rename(cp949ToUtf8("문서/안녕.txt"), cp949ToUtf8("잘가.txt")), Outcome::Done);
  ASSERT_EQ(logged(RequestType::RenameFile).size(), 1u);
  EXPECT_EQ(logged(RequestType::RenameFile)[0].text("name"), "잘가.txt");
  ASSERT_EQ(web_->move({cp949ToUtf8("문서/잘가.txt")}, cp949ToUtf8("문서/보관함")), Outcome::Done)
      << errors_.str();
  EXPECT_NE(row("잘가.txt"), nullptr);
  EXPECT_EQ(logged(RequestType::MoveFile).size(), 1u);

  // Sharing: a public file shows 공개; the protected one is refused as 공개불가.
  ASSERT_EQ(web_->share(sharing::kPublic, {cp949ToUtf8("문서/보관함/잘가.txt")}), Outcome::Done);
  EXPECT_EQ(row("잘가.txt")->texts[kShareColumn], "공개");
  EXPECT_EQ(web_->share(sharing::kPublic, {cp949ToUtf8("동영상/보호영상.avi")}), Outcome::Failed);
  EXPECT_TRUE(shown("고유코드 값이 저작권또는 음란물에 포함되어 공개설정이 불가능합니다.     "));
  EXPECT_EQ(row("보호영상.avi")->texts[kShareColumn], "공개불가");

  // The term of a folder.
  ASSERT_EQ(web_->extendTerm(cp949ToUtf8("문서")), Outcome::Done);
  EXPECT_NE(output().find(cp949ToUtf8("기한 연장이 완료되었습니다.")), std::string::npos);

  // A folder with a file is not deleted; emptied, it is, with its tree node.
  EXPECT_EQ(web_->remove({cp949ToUtf8("문서/보관함")}), Outcome::Failed);
  ASSERT_EQ(web_->remove({cp949ToUtf8("문서/보관함/잘가.txt"), cp949ToUtf8("문서/보관함")}),
            Outcome::Done);
  EXPECT_EQ(logged(RequestType::DeleteItem).size(), 3u);
  EXPECT_EQ(row("보관함"), nullptr);
  const WebNodeId documents = ownNode("문서");
  ASSERT_NE(documents, 0);
  EXPECT_TRUE(tree().node(documents)->children.empty());
}

TEST_F(WebStorage, LinksArePrintedAsTheClipboardGetsThem) {
  ASSERT_EQ(web_->webLinks({cp949ToUtf8("작은'따옴표,쉼표;파일.txt")}), Outcome::Done);
  const std::string links = output();
  EXPECT_NE(links.find(cp949ToUtf8("(파일명:작은'따옴표,쉼표;파일.txt_크기:")), std::string::npos);
  EXPECT_TRUE(shown("복사되었습니다.     "));

  ASSERT_EQ(
      web_->combinedLink("<b>&", {cp949ToUtf8("문서/안녕.txt"), cp949ToUtf8("문서/보고서.doc")}),
      Outcome::Done);
  const std::string combined = output();
  EXPECT_NE(combined.find("(&lt;b&gt;&amp;)"), std::string::npos) << combined;
  const std::vector<LoggedRequest> asked = logged(RequestType::CombinedLink);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].fields["fileIds"].size(), 2u);
}

TEST_F(WebStorage, FriendsAreAddedEditedAndRemoved) {
  ASSERT_EQ(web_->listFriends(), Outcome::Done);
  EXPECT_EQ(output(), cp949ToUtf8("demo2\t데모이(대학 동기)\ndemo3\t*****(메모입력)\n"));

  ASSERT_EQ(web_->editMemo("demo3", cp949ToUtf8("이름없는 친구")), Outcome::Done);
  ASSERT_EQ(logged(RequestType::EditMemo).size(), 1u);
  EXPECT_EQ(logged(RequestType::EditMemo)[0].text("memo"), "이름없는 친구");
  ASSERT_EQ(web_->listFriends(), Outcome::Done);
  EXPECT_NE(output().find(cp949ToUtf8("*****(이름없는 친구)")), std::string::npos);

  ASSERT_EQ(web_->removeFriend("demo3"), Outcome::Done);
  ASSERT_EQ(web_->addFriend("demo3", cp949ToUtf8("다시")), Outcome::Done);
  EXPECT_TRUE(shown("*****님이 친구로 추가되었습니다.     "));
  ASSERT_EQ(web_->listFriends(), Outcome::Done);
  EXPECT_NE(output().find(cp949ToUtf8("demo3\t*****(다시)")), std::string::npos);

  // A friend's folder lists under the friend's id.
  ASSERT_EQ(web_->list("~demo2"), Outcome::Done);
  EXPECT_FALSE(client_->storage().list().ownListing());
  EXPECT_FALSE(logged(RequestType::MemberFolderList).empty());
}

TEST_F(WebStorage, EachRefusalShowsItsTextAndFails) {
  struct Case {
    const char* fault;
    const char* value;
    std::function<Outcome(WebCommands&)> run;
    const char* text;
  };
  const Case cases[] = {
      {"add_friend_result", "2", [](WebCommands& w) { return w.addFriend("nobody", ""); },
       "존재하지 않는 아이디 입니다.     "},
      {"remove_friend_result", "1", [](WebCommands& w) { return w.removeFriend("demo2"); },
       "친구목록에 등록되어있지 않습니다."},
      {"edit_memo_result", "1", [](WebCommands& w) { return w.editMemo("demo2", "x"); },
       "메모수정에 실패했습니다."},
      {"sharing_result", "1",
       [](WebCommands& w) { return w.share(sharing::kPublic, {cp949ToUtf8("문서/안녕.txt")}); },
       "공개설정이 정상적으로 이루어지지 않았습니다.     "},
      {"delete_result", "1",
       [](WebCommands& w) { return w.remove({cp949ToUtf8("문서/안녕.txt")}); },
       "삭제가 정상적으로 이루어지지 않았습니다.\r\n\r\n폴더나 파일이 존재하면 삭제할수없습니다."},
      {"rename_result", "1",
       [](WebCommands& w) { return w.rename(cp949ToUtf8("문서/안녕.txt"), "b.txt"); },
       "미완료 파일이거나 특정파일은 이름변경 불가 합니다.     "},
      {"combined_link_result", "1",
       [](WebCommands& w) { return w.combinedLink("t", {cp949ToUtf8("문서/안녕.txt")}); },
       "통합링크 생성에 실패했습니다.     "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    ASSERT_TRUE(service_.faults().set(c.fault, c.value, 1));
    EXPECT_EQ(c.run(*web_), Outcome::Failed);
    EXPECT_TRUE(shown(c.text));
  }
  // Nothing of it changed the service: the file keeps its name and place.
  ASSERT_EQ(web_->list(cp949ToUtf8("문서")), Outcome::Done);
  EXPECT_NE(row("안녕.txt"), nullptr);
}

// A login server that takes the connection and never answers: the login
// ends with "no answer in time".
TEST(HeadlessClientTimeout, ALoginWithoutAnswerEndsAsNoAnswer) {
  const int base = 20000 + static_cast<int>(::getpid() % 2000) * 5;
  std::vector<int> sockets;
  for (const char* host : {"127.0.0.1", "127.0.0.2"}) {
    for (int port : {kLoginPortBase + base, kLoginPortBase + 1 + base}) {
      const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
      const int yes = 1;
      ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
      sockaddr_in at{};
      at.sin_family = AF_INET;
      at.sin_port = htons(static_cast<std::uint16_t>(port));
      ::inet_pton(AF_INET, host, &at.sin_addr);
      ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at), 0) << host << ":" << port;
      ASSERT_EQ(::listen(fd, 4), 0);
      sockets.push_back(fd);
    }
  }
  test::TempDir dir;
  std::ostringstream errors;
  HeadlessOptions options;
  options.id = "demo1";
  options.password = "demo1234";
  options.portBase = base;
  options.workDir = dir.path();
  options.timeoutMs = 300;
  {
    HeadlessClient client(options, errors);
    ASSERT_TRUE(client.start());
    EXPECT_EQ(client.login(), Outcome::NoAnswer);
  }
  for (int fd : sockets) ::close(fd);
}

}  // namespace
}  // namespace pom
