#include "core/base/text_utils.h"

#include <gtest/gtest.h>

namespace pom {
namespace {

TEST(TextUtilsTest, BaseNameSplitsAtTheLastSeparator) {
  EXPECT_EQ(baseName("c:\\PomDownLoad\\sub\\a.txt"), "a.txt");
  EXPECT_EQ(baseName("/home/u/b.bin"), "b.bin");
  EXPECT_EQ(baseName("mixed/dir\\c.zip"), "c.zip");
  EXPECT_EQ(baseName("plain"), "plain");
  EXPECT_EQ(baseName("dir\\"), "");
  // Hangul whose trail bytes are letters must not confuse the scan.
  EXPECT_EQ(baseName("c:\\폴더\\노래.txt"), "노래.txt");
}

TEST(TextUtilsTest, SanitiseAndLowerCaseTouchOnlyTheirBytes) {
  std::string text = "it's a, b; c! 폴더";
  sanitise(text);
  EXPECT_EQ(text, "it!s a! b! c! 폴더");
  EXPECT_EQ(lowerAscii("Song.MP3"), "song.mp3");
  EXPECT_EQ(lowerAscii("\xB0\xA1"
                       "AB"),
            "\xB0\xA1"
            "ab");
  // Trail bytes that look like ASCII letters belong to their character.
  EXPECT_EQ(lowerAscii("\x81\x41Q\x81Z"), "\x81\x41q\x81Z");
  EXPECT_TRUE(endsWithNoCase("A.LZH", ".lzh"));
  EXPECT_FALSE(endsWithNoCase("zh", ".lzh"));
}

TEST(TextUtilsTest, SizesUseMegabytesFromOneMegabyteUp) {
  struct Case {
    std::int64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0KB"},
      {1023, "0KB"},
      {1024, "1KB"},
      {1048575, "1023KB"},
      {1048576, "1MB"},
      {12 * 1048576LL + 5, "12MB"},
      {5LL * 1024 * 1048576, "5120MB"},
  };
  for (const Case& c : cases) EXPECT_EQ(formatSize(c.bytes), c.text) << c.bytes;
}

TEST(TextUtilsTest, DatesAndThousands) {
  EXPECT_EQ(formatDate(2008, 4, 1, 9, 5), "2008-04-01 09:05");
  EXPECT_EQ(formatThousands(1200000), "1,200,000");
  EXPECT_EQ(formatThousands(999), "999");
  EXPECT_EQ(formatThousands(1000), "1,000");
  EXPECT_EQ(formatThousands(0), "0");
  EXPECT_EQ(formatThousands(-5), "0");
}

TEST(TextUtilsTest, CutsEndOnACharacterBoundary) {
  // "가나" is B0 A1 B3 AA; "갂" (81 41) has an ASCII-looking trail byte.
  struct Case {
    const char* text;
    std::size_t max;
    const char* cut;
  } cases[] = {
      {"\xB0\xA1\xB3\xAA", 3, "\xB0\xA1"},
      {"\xB0\xA1\xB3\xAA", 4, "\xB0\xA1\xB3\xAA"},
      {"a\x81\x41", 2, "a"},
      {"ab", 1, "a"},
      {"\xB0\xA1", 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(cutText(c.text, c.max), c.cut) << c.max;
}

}  // namespace
}  // namespace pom
