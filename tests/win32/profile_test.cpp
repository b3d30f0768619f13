// Win32Profile on real INI files in a fresh working folder.
#include "platform/win32/win32_profile.h"

#include <gtest/gtest.h>

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_system.h"
#include "support/temp_folder.h"

namespace pom {
namespace {

const std::string kFile = "./PomConfig.ini";

class Win32ProfileTest : public ::testing::Test {
 protected:
  test::TempWorkingFolder folder;
  Win32Profile profile;
};

TEST_F(Win32ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(profile.readInt("Config", "DownLoadCount", 1, kFile), 1);
  EXPECT_EQ(profile.readText("Config", "UserId", "", 260, kFile), "");
  EXPECT_EQ(profile.readText("FONT", "font", "굴림체", 30, "./font.ini"), "굴림체");
  ASSERT_TRUE(profile.writeText("Config", "UserId", "member", kFile));
  EXPECT_EQ(profile.readInt("Other", "UserId", 7, kFile), 7);
  EXPECT_EQ(profile.readInt("Config", "Missing", -3, kFile), -3);
  EXPECT_EQ(profile.readText("Config", "Missing", "fallback", 260, kFile), "fallback");
}

TEST_F(Win32ProfileTest, IntegersComeFromTheLeadingDigits) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"1", 1}, {"0", 0}, {"42abc", 42}, {"abc", 0}, {"-7", -7}, {"3 4", 3}};
  for (const auto& c : cases) {
    ASSERT_TRUE(profile.writeText("Config", "Value", c.text, kFile));
    EXPECT_EQ(profile.readInt("Config", "Value", 99, kFile), c.value) << c.text;
  }
}

TEST_F(Win32ProfileTest, TextsAreCutToTheBuffer) {
  ASSERT_TRUE(profile.writeText("FONT", "font", "abcdefghijklmnopqrstuvwxyz0123456789", kFile));
  EXPECT_EQ(profile.readText("FONT", "font", "", 30, kFile), "abcdefghijklmnopqrstuvwxyz012");
  EXPECT_EQ(profile.readText("FONT", "font", "", 1, kFile), "");
  EXPECT_EQ(profile.readText("FONT", "missing", "0123456789", 5, kFile), "0123");
  // Two-byte characters are never split: 5 bytes hold two of them.
  ASSERT_TRUE(profile.writeText("FONT", "font", "한글한글", kFile));
  EXPECT_EQ(profile.readText("FONT", "font", "", 6, kFile), "한글");
  EXPECT_EQ(profile.readText("FONT", "font", "", 9, kFile), "한글한글");
}

TEST_F(Win32ProfileTest, SectionsAndKeysIgnoreCase) {
  ASSERT_TRUE(profile.writeText("Config", "UserPwSave", "1", kFile));
  EXPECT_EQ(profile.readInt("CONFIG", "userpwsave", 0, kFile), 1);
  ASSERT_TRUE(profile.writeText("config", "USERPWSAVE", "0", kFile));
  EXPECT_EQ(profile.readInt("Config", "UserPwSave", 1, kFile), 0);
}

// A new file starts with a UTF-16LE byte order mark, so the private-profile
// calls keep Hangul whatever the ANSI code page is.
TEST_F(Win32ProfileTest, HangulSurvivesInANewFileOnAnyLocale) {
  ASSERT_TRUE(profile.writeText("Config", "BasicFolder", "c:\\받은 파일\\", kFile));
  EXPECT_EQ(profile.readText("Config", "BasicFolder", "", 260, kFile), "c:\\받은 파일\\");
  const std::string bytes = folder.readFile(L"PomConfig.ini");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  // U+BC1B (받) as UTF-16LE within the file.
  EXPECT_NE(bytes.find(std::string("\x1B\xBC", 2)), std::string::npos);
}

TEST_F(Win32ProfileTest, ExistingCodePageFileIsReadAndKeptInItsEncoding) {
  ASSERT_TRUE(folder.writeFile(L"font.ini", "[FONT]\r\nfont=돋움체\r\n"));
  EXPECT_EQ(profile.readText("FONT", "font", "", 30, "./font.ini"), "돋움체");
  ASSERT_TRUE(profile.writeText("FONT", "size", "12", "./font.ini"));
  const std::string bytes = folder.readFile(L"font.ini");
  EXPECT_NE(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(profile.readText("FONT", "font", "", 30, "./font.ini"), "돋움체");
}

TEST_F(Win32ProfileTest, WritesStillWorkOnAHiddenFile) {
  ASSERT_TRUE(profile.writeText("Config", "UserId", "first", kFile));
  Win32FileSystem attributes;
  ASSERT_TRUE(attributes.setHidden(kFile));
  ASSERT_TRUE(profile.writeText("Config", "UserId", "second", kFile));
  EXPECT_EQ(profile.readText("Config", "UserId", "", 260, kFile), "second");
  EXPECT_FALSE(attributes.setHidden("./missing.ini"));
}

}  // namespace
}  // namespace pom
