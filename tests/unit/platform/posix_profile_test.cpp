#include "platform/posix/posix_profile.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace pom {
namespace {

constexpr char kFile[] = "./PomConfig.ini";

class PosixProfileTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  PosixProfile profile_{dir_.path()};
};

TEST_F(PosixProfileTest, MissingFileSectionOrKeyGivesDefaults) {
  EXPECT_EQ(profile_.readInt("Config", "UserPwSave", 7, kFile), 7);
  EXPECT_EQ(profile_.readText("Config", "UserId", "none", 260, kFile), "none");
  dir_.write("PomConfig.ini", "[Other]\r\nUserId=x\r\n[Config]\r\nBasicFolder=c:\\d\r\n");
  EXPECT_EQ(profile_.readText("Config", "UserId", "", 260, kFile), "");
  EXPECT_EQ(profile_.readInt("Missing", "BasicFolder", -3, kFile), -3);
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "Nope.ini"));
}

TEST_F(PosixProfileTest, IntegersComeFromLeadingDigits) {
  struct Case {
    const char* stored;
    int expected;
  } cases[] = {
      {"12abc", 12}, {"abc", 0},   {"1", 1},   {"0", 0},
      {"-5", -5},    {" 42 ", 42}, {"3.9", 3}, {"\"8\"", 8},  // quotes are removed first
      {"", 99},                                               // an empty value reads as missing
  };
  for (const Case& c : cases) {
    dir_.write("PomConfig.ini", std::string("[Config]\nKey=") + c.stored + "\n");
    EXPECT_EQ(profile_.readInt("Config", "Key", 99, kFile), c.expected) << c.stored;
  }
}

TEST_F(PosixProfileTest, TextsAreCutToBufferSizeLessOne) {
  dir_.write("PomConfig.ini", "[Config]\nKey=0123456789\n");
  EXPECT_EQ(profile_.readText("Config", "Key", "", 5, kFile), "0123");
  EXPECT_EQ(profile_.readText("Config", "Key", "", 11, kFile), "0123456789");
  EXPECT_EQ(profile_.readText("Config", "Key", "", 1, kFile), "");
  // The default is cut too, after its trailing blanks are dropped.
  EXPECT_EQ(profile_.readText("Config", "None", "abcdef", 4, kFile), "abc");
  EXPECT_EQ(profile_.readText("Config", "None", "ab  ", 260, kFile), "ab");
  // A 30-character font face in a 30-byte buffer keeps 29.
  const std::string face(30, 'F');
  dir_.write("font.ini", "[FONT]\nfont=" + face + "\n");
  EXPECT_EQ(profile_.readText("FONT", "font", "", 30, "font.ini"), face.substr(0, 29));
}

TEST_F(PosixProfileTest, SectionsAndKeysIgnoreCaseAndBlanks) {
  dir_.write("PomConfig.ini",
             "; comment\n[ config ]\n  userid =  member1  \n[CONFIG]\nUserId=late\n");
  EXPECT_EQ(profile_.readText("Config", "UserId", "", 260, kFile), "member1");
  EXPECT_EQ(profile_.readText("CONFIG", "USERID", "", 260, kFile), "member1");
}

TEST_F(PosixProfileTest, WriteCreatesFileAndReadsBack) {
  EXPECT_TRUE(profile_.writeText("Config", "UserPwSave", "1", kFile));
  EXPECT_EQ(profile_.readInt("Config", "UserPwSave", 0, kFile), 1);
  EXPECT_EQ(dir_.read("PomConfig.ini"), "[Config]\r\nUserPwSave=1\r\n");
  EXPECT_TRUE(profile_.writeText("config", "USERPWSAVE", "0", kFile));
  EXPECT_EQ(dir_.read("PomConfig.ini"), "[Config]\r\nUserPwSave=0\r\n");
}

TEST_F(PosixProfileTest, WriteKeepsOtherLinesCommentsAndCp949Bytes) {
  const std::string korean = "굴림체";  // CP949 bytes in this build
  const std::string before = "; keep me\n[Config]\nUserId=" + korean + "\nBasicFolder=c:\\x\n\n" +
                             "[Servers]\nWebSite=127.0.0.1:8080\n";
  dir_.write("PomConfig.ini", before);
  EXPECT_TRUE(profile_.writeText("Config", "BasicFolder", "d:\\" + korean, kFile));
  EXPECT_TRUE(profile_.writeText("Config", "UserPw", "ABCD", kFile));
  EXPECT_TRUE(profile_.writeText("Font", "font", korean, kFile));
  EXPECT_EQ(dir_.read("PomConfig.ini"),
            "; keep me\n[Config]\nUserId=" + korean + "\nBasicFolder=d:\\" + korean +
                "\nUserPw=ABCD\n\n[Servers]\nWebSite=127.0.0.1:8080\n[Font]\nfont=" + korean +
                "\n");
  EXPECT_EQ(profile_.readText("Config", "UserId", "", 260, kFile), korean);
}

TEST_F(PosixProfileTest, WriteRefusesTextsThatWouldBreakLines) {
  dir_.write("PomConfig.ini", "[Config]\nUserId=a\n");
  EXPECT_FALSE(profile_.writeText("Config", "UserId", "b\nUserPwSave=1", kFile));
  EXPECT_FALSE(profile_.writeText("Config", "User=Id", "b", kFile));
  EXPECT_FALSE(profile_.writeText("Con]fig", "UserId", "b", kFile));
  EXPECT_EQ(dir_.read("PomConfig.ini"), "[Config]\nUserId=a\n");
}

TEST_F(PosixProfileTest, WriteIntoMissingFolderFails) {
  EXPECT_FALSE(profile_.writeText("Config", "UserId", "a", "./no/such/dir/x.ini"));
}

}  // namespace
}  // namespace pom
