// Both searches and the peer list over real loopback HTTP against a store in
// a temporary folder. Expected replies are written out by hand from the
// 16-field record layout; the client's own keyword encoding and field reader
// check that awkward values (a "|" in a name, Korean bytes, "+" and "%")
// travel and land in the right fields.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/search/search_http.h"
#include "core/search/search_keyword.h"
#include "integration/web_test_client.h"
#include "service/faults.h"
#include "service/store.h"
#include "service/update_files.h"
#include "service/web_search.h"
#include "service/web_site.h"
#include "support/temp_dir.h"

namespace pom::service {
namespace {

using pom::test::httpGet;
using pom::test::HttpReply;
using pom::test::httpRequest;

const std::string kCode = "0123456789abcdef0123456789abcdef";

std::vector<SearchHit> readLikeClient(const std::string& body) {
  return parseSearchHits(body);
}

class WebSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    store = Store::open(dir.file("data"), &error);
    ASSERT_TRUE(store) << error;
    for (const char* id : {"alice", "bob"}) {
      Member member;
      member.id = id;
      member.password = "pw";
      ASSERT_TRUE(store->addMember(member));
    }
    folder = store->addFolder("alice", 0, "docs", 't');
    ASSERT_GT(folder, 0);
    WebSiteConfig config;
    config.endpoints = {{"127.0.0.7", 0}, {"127.0.0.10", 0}};
    config.updateFiles.bannedWords = defaultBannedWords();
    site = startWebSite(config, *store, faults, &error);
    ASSERT_TRUE(site) << error;
    normalPort = site->endpoints()[0].port;
    naturalPort = site->endpoints()[1].port;
  }

  std::int32_t addFile(const std::string& owner, const std::string& name, std::int64_t size,
                       char share = 't', std::int64_t stored = -1,
                       const std::string& code = std::string()) {
    Item file;
    file.owner = owner;
    file.parentId = folder;
    file.name = name;
    file.share = share;
    file.size = size;
    file.stored = stored < 0 ? size : stored;
    file.uniqueCode = code;
    file.createdAt = 1700000000;  // 2023-11-14 22:13:20 UTC
    return store->addFile(file);
  }

  HttpReply normal(const std::string& keyword, const std::string& extra = std::string()) {
    return httpGet("127.0.0.7", normalPort,
                   "/app/search_new4.asp?share=t&userid=bob&chksum=&keyword=" +
                       encodeKeyword(keyword) + extra);
  }

  // The natural search as the client sends it: its header block, and the
  // one Content-Length the HTTP layer writes.
  HttpReply natural(const std::string& keyword) {
    const HttpRequest request = naturalSearchRequest({"127.0.0.10", naturalPort}, keyword, 1);
    return httpRequest("127.0.0.10", naturalPort,
                       "POST " + request.path + " HTTP/1.0\r\n" + request.headers +
                           "Content-Length: " + std::to_string(request.body.size()) + "\r\n\r\n" +
                           request.body);
  }

  pom::test::TempDir dir;
  std::unique_ptr<Store> store;
  Faults faults;
  std::unique_ptr<WebSite> site;
  std::int32_t folder = 0;
  std::uint16_t normalPort = 0, naturalPort = 0;
};

TEST_F(WebSearchTest, NormalSearchAnswersTheExactSixteenFieldRecord) {
  Item file;
  file.owner = "alice";
  file.parentId = folder;
  file.name = "Report Final.txt";
  file.share = 't';
  file.size = file.stored = 5000000;
  file.uniqueCode = kCode;
  file.downloads = 2;
  file.createdAt = 1700000000;
  const std::int32_t id = store->addFile(file);

  const HttpReply reply = normal("report");
  ASSERT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, "alice|t|f|2|/webhard/folder/" + std::to_string(folder) + "/|" + kCode +
                            "|Report Final.txt|txt|5000000|4MB|2023-11-14 22:13|30|30일 남음|1|" +
                            std::to_string(id) + "|end|");
  EXPECT_NE(reply.headers.find("Content-Length: " + std::to_string(reply.body.size())),
            std::string::npos);

  const auto hits = readLikeClient(reply.body);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].folderKey, folder);
  EXPECT_EQ(hits[0].fileId, id);
  EXPECT_EQ(hits[0].sizeBytes, 5000000);
}

TEST_F(WebSearchTest, AwkwardValuesKeepTheFieldsInPlace) {
  // A "|" in a name, an empty unique code and a name without extension would
  // each shift the client's field counter if sent as they are.
  const std::int32_t piped = addFile("alice", "left|right", 1023);
  const std::int32_t korean = addFile("bob", "정가표.txt", 2048);
  const auto hits = readLikeClient(normal("left").body + normal("가표").body);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].name, "left!right");
  EXPECT_EQ(hits[0].fileId, piped);
  EXPECT_EQ(hits[0].sizeBytes, 1023);
  EXPECT_EQ(hits[0].keepText, "30일 남음");
  EXPECT_EQ(hits[1].ownerId, "bob");
  EXPECT_EQ(hits[1].name, "정가표.txt");
  EXPECT_EQ(hits[1].fileId, korean);
}

TEST_F(WebSearchTest, KeywordEncodingAsTheClientSendsIt) {
  addFile("alice", "a b&c notes.txt", 10);
  addFile("alice", "c++ guide.pdf", 10);
  addFile("alice", "100% done.txt", 10);
  EXPECT_EQ(encodeKeyword("a b&c"), "a%20b%26c");
  EXPECT_EQ(readLikeClient(normal("a b&c").body).size(), 1u);
  // "+" and "%" travel as "%2B" and "%25" and mean themselves, and so do the
  // same bytes sent unencoded by an older client.
  const auto plus = readLikeClient(normal("c++").body);
  ASSERT_EQ(plus.size(), 1u);
  EXPECT_EQ(plus[0].name, "c++ guide.pdf");
  EXPECT_EQ(readLikeClient(normal("100% ").body).size(), 1u);
  const std::string path = "/app/search_new4.asp?share=t&userid=bob&chksum=&keyword=";
  EXPECT_EQ(readLikeClient(httpGet("127.0.0.7", normalPort, path + "c++").body).size(), 1u);
  EXPECT_EQ(readLikeClient(httpGet("127.0.0.7", normalPort, path + "100%").body).size(), 1u);
  EXPECT_EQ(readLikeClient(natural("c++").body).size(), 1u);
  // Upper-case letters in a name match the client's lower-cased keyword.
  EXPECT_EQ(readLikeClient(normal("GUIDE").body).size(), 1u);
}

TEST_F(WebSearchTest, OnlyPublicCompleteFilesAndEmptyBodyForNoHit) {
  addFile("alice", "shared movie.avi", 100);
  addFile("alice", "private movie.avi", 100, 'f');
  addFile("alice", "partial movie.avi", 100, 't', 50);
  const auto hits = readLikeClient(normal("movie").body);
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].name, "shared movie.avi");

  const HttpReply none = normal("nothing like this");
  EXPECT_EQ(none.status, 200);
  EXPECT_EQ(none.body, "");
  EXPECT_NE(none.headers.find("Content-Length: 0"), std::string::npos);
}

TEST_F(WebSearchTest, BannedKeywordsAnswerTheCopyrightBlock) {
  addFile("alice", "warez pack.zip", 10);
  const std::string copyright = "저작권";
  ASSERT_EQ(copyright.size(), 6u);
  for (const char* keyword : {"warez", "WAREZ", "my crack tool"}) {
    const HttpReply reply = normal(keyword);
    EXPECT_EQ(reply.body.compare(0, 6, copyright), 0) << keyword;
    EXPECT_TRUE(readLikeClient(reply.body).empty());
  }
  EXPECT_EQ(natural("Keygen here").body, kCopyrightBlockedReply);
  EXPECT_EQ(normal("불법복제").body, kCopyrightBlockedReply);
}

TEST_F(WebSearchTest, NaturalSearchMatchesEveryWordInAnyOrder) {
  addFile("alice", "Hello Big World.txt", 10);
  addFile("alice", "hello only.txt", 10);
  const std::int32_t korean = addFile("bob", "정가표 2024.xls", 10);
  const auto both = readLikeClient(natural("world hello").body);
  ASSERT_EQ(both.size(), 1u);
  EXPECT_EQ(both[0].name, "Hello Big World.txt");
  EXPECT_EQ(readLikeClient(natural("hello").body).size(), 2u);
  // The body carries the keyword encoded, Korean bytes as "%XX".
  const auto raw = readLikeClient(natural("정가 2024").body);
  ASSERT_EQ(raw.size(), 1u);
  EXPECT_EQ(raw[0].fileId, korean);
  EXPECT_EQ(natural("   ").body, "");
}

TEST_F(WebSearchTest, PagesOfAHundredHits) {
  for (int i = 0; i < 105; ++i) addFile("alice", "bulk" + std::to_string(i) + ".dat", 1);
  EXPECT_EQ(readLikeClient(normal("bulk").body).size(), 100u);
  const HttpReply second = normal("bulk", "&page=2");
  const auto hits = readLikeClient(second.body);
  ASSERT_EQ(hits.size(), 5u);
  EXPECT_NE(second.body.find("|101|"), std::string::npos);
  EXPECT_EQ(readLikeClient(normal("bulk", "&page=x").body).size(), 100u);
}

TEST_F(WebSearchTest, PeerListNamesTheHoldersOfTheFileWithThatSize) {
  const std::string bigCode = "fedcba9876543210fedcba9876543210";
  addFile("alice", "big.iso", 3000000000LL, 't', -1, bigCode);
  addFile("alice", "mid.iso", 20000000, 't', -1, kCode);
  ASSERT_TRUE(store->addPeerHolder(kCode, "127.0.0.12"));
  ASSERT_TRUE(store->addPeerHolder(kCode, "127.0.0.11"));
  ASSERT_TRUE(store->addPeerHolder(bigCode, "127.0.0.13"));

  EXPECT_EQ(httpGet("127.0.0.7", normalPort, "/search.asp?chksum=" + kCode + "20000000").body,
            "127.0.0.11|127.0.0.12");
  // Low 32 bits of 3,000,000,000 as a signed number.
  EXPECT_EQ(httpGet("127.0.0.7", normalPort, "/search.asp?chksum=" + bigCode + "-1294967296").body,
            "127.0.0.13");
  for (const std::string& bad :
       {kCode + "20000001", kCode, std::string("junk"),
        std::string("00000000000000000000000000000000123"), std::string()}) {
    const HttpReply reply = httpGet("127.0.0.7", normalPort, "/search.asp?chksum=" + bad);
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.body, "") << bad;
  }
}

TEST(WebSearchText, MatchingRespectsDoubleByteCharacters) {
  // "가가" is B0 A1 B0 A1: the bytes A1 B0 straddle two characters.
  EXPECT_FALSE(containsText("가가", "\xA1\xB0"));
  EXPECT_TRUE(containsText("정가표", "가표"));
  // A trail byte in 'A'..'Z' is not a letter: 0x81 0x41 is not 0x81 0x61.
  EXPECT_FALSE(containsText("\x81\x41.txt", "\x81\x61"));
  EXPECT_EQ(lowerAscii("AB\x81\x41Z"), "ab\x81\x41z");
  EXPECT_EQ(queryValue("/p?keyword=a%20b%2&x=%zz+", "keyword"), "a b%2");
  EXPECT_EQ(queryValue("/p?keyword=a%20b%2&x=%zz+", "x"), "%zz+");
  EXPECT_EQ(queryValue("/p?keywordx=1", "keyword"), "");
  EXPECT_EQ(naturalKeyword("Keyword=a%26b%20c%2B%25"), "a&b c+%");
  EXPECT_EQ(naturalKeyword("Keyword=a+b%"), "a+b%");
  EXPECT_EQ(naturalKeyword("keyword=a"), "");
}

}  // namespace
}  // namespace pom::service
