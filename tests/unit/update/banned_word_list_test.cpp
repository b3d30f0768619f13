// The banned-word list: how "dblist.dat" lines become entries, and when the
// local copy is replaced from the update server.
#include "core/update/banned_word_list.h"

#include <gtest/gtest.h>

#include "core/update/banned_word_load.h"
#include "support/fake_ports.h"
#include "support/memory_file_system.h"

namespace pom::test {
namespace {

using Words = std::set<std::string, std::less<>>;

TEST(BannedWordListTest, LinesBecomeLowerCaseEntries) {
  struct Case {
    const char* name;
    std::string body;
    Words words;
  } cases[] = {
      {"upper case line", "WAREZ\nKeyGen\n", {"warez", "keygen"}},
      {"CR LF is one break", "Crack\r\n", {"crack"}},
      {"last line without a break loses its last character", "warez\ncrackz", {"warez", "crack"}},
      {"an empty line is the empty entry", "a\n\nb\n", {"a", "", "b"}},
      {"duplicates are one entry", "x\nX\n", {"x"}},
      // "갂" is 0x81 0x41: its trail byte looks like 'A' and must stay.
      {"Hangul trail bytes are not letters", "\x81\x41Q\n", {"\x81\x41q"}},
      {"ASCII after Hangul is lowered", "음란물XY\n", {"음란물xy"}},
  };
  for (const Case& c : cases) {
    BannedWordList list;
    list.parse(c.body);
    EXPECT_EQ(list.words(), c.words) << c.name;
  }
}

TEST(BannedWordListTest, ALineOverTheReadSizeIsSeveralEntries) {
  // 127 characters per read: a 200-letter line gives pieces of 127 and 74
  // (the line break included), each losing its last character.
  BannedWordList list;
  list.parse(std::string(200, 'A') + "\n");
  EXPECT_EQ(list.words(), (Words{std::string(126, 'a'), std::string(73, 'a')}));
  EXPECT_TRUE(list.contains(std::string(126, 'a')));
  EXPECT_FALSE(list.contains(std::string(200, 'a')));
}

class BannedWordLoadTest : public ::testing::Test {
 protected:
  BannedWordLoadTest() { files.addFolder("c:\\work"); }
  BannedWordLoad load(bool askServer = true) {
    return loadBannedWords(http, files, "127.0.0.1:80", "c:\\work", askServer, kBannedWordTimeoutMs,
                           words);
  }
  void serve(const std::string& body, int status = 200) {
    http.reply("127.0.0.1:80", "/UpdateFiles/dblist.dat", body, status);
  }

  FakeHttpClient http;
  MemoryFileSystem files;
  BannedWordList words;
};

TEST_F(BannedWordLoadTest, ANewListReplacesTheLocalCopyHidden) {
  files.addFile("c:\\work/dblist.dat", "old\n");
  serve("warez\ncrack\n");
  EXPECT_TRUE(load().replaced);
  EXPECT_EQ(files.contents("c:\\work/dblist.dat"), "warez\ncrack\n");
  EXPECT_EQ(words.words(), (Words{"warez", "crack"}));
  EXPECT_EQ(files.hidden.back(), "c:\\work/dblist.dat");
  EXPECT_EQ(http.requests.at(0).timeoutMs, kBannedWordTimeoutMs);
}

TEST_F(BannedWordLoadTest, ALocalCopyOfTheSameSizeIsKeptEvenWhenItDiffers) {
  files.addFile("c:\\work/dblist.dat", "aaaa\n");
  serve("bbbb\n");
  EXPECT_FALSE(load().replaced);
  EXPECT_EQ(words.words(), Words{"aaaa"});
}

TEST_F(BannedWordLoadTest, AFailingServerLeavesTheLocalListInUse) {
  files.addFile("c:\\work/dblist.dat", "keep\n");
  struct Case {
    const char* name;
    int status;
    bool cut;
    bool answer;
  } cases[] = {{"404", 404, false, true},
               {"500", 500, false, true},
               {"cut", 200, true, true},
               {"no answer", 200, false, false}};
  for (const Case& c : cases) {
    http.replies.clear();
    if (c.answer) serve("a much longer new list\n", c.status);
    if (c.cut) http.replies.begin()->second.body.resize(4);
    const BannedWordLoad result = load();
    EXPECT_FALSE(result.replaced) << c.name;
    EXPECT_EQ(files.contents("c:\\work/dblist.dat"), "keep\n") << c.name;
    EXPECT_EQ(words.words(), Words{"keep"}) << c.name;
  }
}

TEST_F(BannedWordLoadTest, NoRequestWhenTheServerWasFoundDown) {
  files.addFile("c:\\work/dblist.dat", "keep\n");
  EXPECT_FALSE(load(false).asked);
  EXPECT_TRUE(http.requests.empty());
  EXPECT_TRUE(words.contains("keep"));
}

}  // namespace
}  // namespace pom::test
