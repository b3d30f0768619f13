// The keyword rules and the reading of a search reply: pure functions,
// table-driven.
#include <gtest/gtest.h>

#include "core/search/search_http.h"
#include "core/search/search_keyword.h"
#include "core/update/banned_word_list.h"
#include "search_harness.h"

namespace pom::test {
namespace {

using Outcome = PreparedKeyword::Outcome;

TEST(SearchKeyword, PreparesTheTextOfTheEdit) {
  BannedWordList banned;
  banned.insert("badword");
  struct Case {
    std::string typed;
    Outcome outcome;
    std::string keyword;
  };
  const Case cases[] = {
      {"ab", Outcome::TooShort, ""},
      {"가", Outcome::TooShort, ""},  // one Korean character is two bytes
      {"abc", Outcome::Ready, "abc"},
      {"  Hello", Outcome::Ready, "hello"},
      {"BadWord", Outcome::Banned, "badword"},
      {" badword", Outcome::Banned, "badword"},
      {"badwords", Outcome::Ready, "badwords"},  // exact match only
      // The trail byte 0x41 of "갂" is not a letter to lower.
      {"갂ABC", Outcome::Ready,
       "\x81\x41"
       "abc"},
      {std::string(70, 'x'), Outcome::Ready, std::string(63, 'x')},
      // A cut never leaves half a character: 62 bytes, then a 2-byte one.
      {std::string(62, 'x') + "가나", Outcome::Ready, std::string(62, 'x')},
  };
  for (const Case& c : cases) {
    const PreparedKeyword prepared =
        prepareKeyword(c.typed, [&banned](std::string_view k) { return banned.contains(k); });
    EXPECT_EQ(prepared.outcome, c.outcome) << c.typed;
    EXPECT_EQ(prepared.keyword, c.keyword) << c.typed;
  }
  EXPECT_EQ(bannedMessage("badword"),
            "(badword)은 금지된 검색어입니다.(저작권보호요청 이나 음란물)");
}

TEST(SearchKeyword, EncodesEveryByteTheServerCouldMisread) {
  const std::pair<std::string, std::string> cases[] = {
      {"a b&c", "a%20b%26c"},
      {"c++", "c%2B%2B"},
      {"100%", "100%25"},
      {"a=b?c/d#e;f@g", "a%3Db%3Fc%2Fd%23e%3Bf%40g"},
      {"Az09!\"$'()*,-.:<>_", "Az09!\"$'()*,-.:<>_"},
      {"\x81\x41", "%81A"},
      {"\xFF\x80", "%FF%80"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(encodeKeyword(in), out) << in;
}

TEST(SearchKeyword, RequestsCarryTheDesignedFormsAndABound) {
  const HttpRequest normal = normalSearchRequest({"127.0.0.8", 8080}, "me", "c++ 가", 1);
  EXPECT_EQ(normal.method, "GET");
  EXPECT_EQ(normal.host, "127.0.0.8:8080");
  EXPECT_EQ(normal.path, "/app/search_new4.asp?share=t&userid=me&chksum=&keyword=c%2B%2B%20%B0%A1");
  EXPECT_EQ(normal.agent, "ActiveWAB2");
  EXPECT_EQ(normal.timeoutMs, kSearchTimeoutMs);
  EXPECT_EQ(normalSearchRequest({"h", 80}, "me", "abc", 3).path,
            "/app/search_new4.asp?share=t&userid=me&chksum=&keyword=abc&page=3");

  const HttpRequest natural = naturalSearchRequest({"127.0.0.10", 80}, "a&b=c", 1);
  EXPECT_EQ(natural.method, "POST");
  EXPECT_EQ(natural.host, "127.0.0.10");
  EXPECT_EQ(natural.path, "/Pomvale/Search.asp");
  EXPECT_EQ(natural.agent, "");
  EXPECT_EQ(natural.body, "Keyword=a%26b%3Dc");
  // The HTTP layer writes the one Content-Length.
  EXPECT_EQ(natural.headers.find("Content-length"), std::string::npos);
  EXPECT_EQ(natural.headers,
            "Accept: text/*\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 5.0;* Windows NT)\r\n"
            "Content-type: application/x-www-form-urlencoded\r\n");
}

TEST(SearchReplyParse, SplitsRecordsOfSixteenFields) {
  const std::string body = record("kim", 42, "a.txt", 5000000000LL, 7) +
                           // runs of "|" are one separator
                           "lee||p|f|0|/webhard/folder/9/|c|b.avi|x|||12|a|b|c|keep|1|8|end|";
  const std::vector<SearchHit> hits = parseSearchHits(body);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0].ownerId, "kim");
  EXPECT_EQ(hits[0].folderKey, 42);
  EXPECT_EQ(hits[0].name, "a.txt");
  EXPECT_EQ(hits[0].sizeBytes, 5000000000LL);
  EXPECT_EQ(hits[0].keepText, "30일 남음");
  EXPECT_EQ(hits[0].fileId, 7);
  EXPECT_EQ(hits[1].ownerId, "lee");
  EXPECT_EQ(hits[1].folderKey, 9);
  EXPECT_EQ(hits[1].sizeBytes, 12);
  EXPECT_EQ(hits[1].fileId, 8);
}

TEST(SearchReplyParse, ShortLongAndMalformedRecords) {
  // Fewer than 16 fields: no hit.
  EXPECT_TRUE(parseSearchHits("kim|p|f|0|/a/b/1/|c|a.txt|").empty());
  EXPECT_TRUE(parseSearchHits("").empty());
  EXPECT_TRUE(parseSearchHits("||||||").empty());
  // Oversized fields are cut to their widths; numbers that are not numbers
  // read as 0, numbers too large are held at the limit.
  const std::string longName(300, 'n');
  const std::vector<SearchHit> hits =
      parseSearchHits(std::string(30, 'o') + "|p|f|0|/no/slashes|c|" + longName + "|x|big|k|d|3|" +
                      std::string(50, 'k') + "|1|99999999999|end|");
  ASSERT_EQ(hits.size(), 1u);
  EXPECT_EQ(hits[0].ownerId.size(), 20u);
  EXPECT_EQ(hits[0].name.size(), 259u);
  EXPECT_EQ(hits[0].keepText.size(), 37u);
  EXPECT_EQ(hits[0].folderKey, 0);
  EXPECT_EQ(hits[0].sizeBytes, 0);
  EXPECT_EQ(hits[0].fileId, 2147483647);

  const std::pair<std::string, std::int32_t> keys[] = {
      {"/webhard/folder/123/", 123},
      {"/a/b/77", 77},
      {"/a/b/", 0},
      {"/a/b", 0},
      {"", 0},
      {"/a/b/x1/", 0},
  };
  for (const auto& [path, key] : keys) EXPECT_EQ(folderKeyOf(path), key) << path;
}

TEST(SearchReplyParse, EachReplyGivesItsRowAndOnlyReadRepliesCount) {
  const auto response = [](bool sent, int status, bool hasLength, std::int64_t length,
                           std::string body) {
    HttpResponse r;
    r.sent = sent;
    r.status = status;
    r.hasContentLength = hasLength;
    r.contentLength = length;
    r.body = std::move(body);
    return r;
  };
  const std::string one = record("kim", 1, "a.txt", 10, 7);
  struct Case {
    HttpResponse response;
    bool read;
    std::string message;
    std::size_t hits;
  };
  const Case cases[] = {
      {response(false, 0, false, 0, ""), false, kNoReplyMessage, 0},
      {response(true, 200, false, 0, one), false, kNoReplyMessage, 0},
      {response(true, 500, true, 5, "error"), false, kNoReplyMessage, 0},
      {response(true, 200, true, 0, ""), true, kNoResultMessage, 0},
      {response(true, 200, true, 1, "x"), true, kNoResultMessage, 0},
      {response(true, 200, true, 60, "저작권 보호요청으로 차단"), true, kCopyrightMessage, 0},
      // "저작권" after the first 15 bytes is a name like any other.
      {response(true, 200, true, 400, "0123456789abcdef저작권"), true, "", 0},
      {response(true, 200, true, static_cast<std::int64_t>(one.size()), one), true, "", 1},
      // More bytes than announced: only the announced ones count.
      {response(true, 200, true, static_cast<std::int64_t>(one.size()), one + one), true, "", 1},
      // Fewer bytes than announced: what arrived is parsed.
      {response(true, 200, true, 1000000, one + "lee|p|f"), true, "", 1},
  };
  for (const Case& c : cases) {
    const SearchReply reply = readSearchReply(c.response);
    EXPECT_EQ(reply.read, c.read) << c.response.body;
    EXPECT_EQ(reply.message, c.message) << c.response.body;
    EXPECT_EQ(reply.hits.size(), c.hits) << c.response.body;
  }
}

}  // namespace
}  // namespace pom::test
