#include "core/base/config_keys.h"

#include <gtest/gtest.h>

#include "platform/posix/posix_profile.h"
#include "platform/posix/posix_registry.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

class ConfigStoreTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  PosixProfile profile_{dir_.path()};
  PosixRegistry registry_{dir_.path()};
  ConfigStore store_{profile_, registry_, dir_.path().string()};
};

TEST_F(ConfigStoreTest, EveryKeyHasItsNameAndDefaultWithoutAFile) {
  struct Case {
    ConfigKey key;
    const char* name;
    int defaultValue;
    int dialogDefault;
  } cases[] = {
      {ConfigKey::UserId, "UserId", 0, 0},
      {ConfigKey::UserPw, "UserPw", 0, 0},
      {ConfigKey::UserPwSave, "UserPwSave", 0, 0},
      {ConfigKey::AotuLogin, "AotuLogin", 0, 0},
      {ConfigKey::AotoUpLoad, "AotoUpLoad", 0, 0},
      {ConfigKey::AotoDownLoad, "AotoDownLoad", 0, 0},
      {ConfigKey::UpLoadPublic1, "UpLoadPublic1", 0, 0},
      {ConfigKey::UpLoadPublic2, "UpLoadPublic2", 0, 1},
      {ConfigKey::UpLoadPublic3, "UpLoadPublic3", 0, 0},
      {ConfigKey::BasicFolder, "BasicFolder", 0, 0},
      {ConfigKey::BadSearch, "BadSearch", 0, 0},
      {ConfigKey::DownLoadCount, "DownLoadCount", 1, 1},
      {ConfigKey::DownLoadWindowClose, "DownLoadWindowClose", 0, 0},
      {ConfigKey::UpLoadCount, "UpLoadCount", 1, 1},
      {ConfigKey::UpLoadWindowClose, "UpLoadWindowClose", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(configKeyName(c.key), c.name);
    EXPECT_EQ(store_.readInt(c.key), c.defaultValue) << c.name;
    EXPECT_EQ(store_.readIntForSettingsDialog(c.key), c.dialogDefault) << c.name;
    EXPECT_EQ(store_.readText(c.key), "") << c.name;
  }
  EXPECT_EQ(store_.uploadSharingState(), 'f');
}

TEST_F(ConfigStoreTest, WritesAreSeenByTheNextRead) {
  ConfigStore other(profile_, registry_, dir_.path().string());
  EXPECT_TRUE(store_.writeBool(ConfigKey::AotoDownLoad, true));
  EXPECT_TRUE(other.readBool(ConfigKey::AotoDownLoad));
  EXPECT_TRUE(store_.writeInt(ConfigKey::DownLoadCount, 3));
  EXPECT_EQ(other.readInt(ConfigKey::DownLoadCount), 3);
  EXPECT_TRUE(store_.writeText(ConfigKey::BasicFolder, "d:\\받은파일\\"));
  EXPECT_EQ(other.readText(ConfigKey::BasicFolder), "d:\\받은파일\\");
  EXPECT_TRUE(store_.writeBool(ConfigKey::UpLoadPublic2, false));
  EXPECT_EQ(other.readIntForSettingsDialog(ConfigKey::UpLoadPublic2), 0);
  EXPECT_EQ(dir_.read("PomConfig.ini"),
            "[Config]\r\nAotoDownLoad=1\r\nDownLoadCount=3\r\nBasicFolder=d:\\받은파일\\\r\n"
            "UpLoadPublic2=0\r\n");
}

TEST_F(ConfigStoreTest, BadSearchAndBooleansReadAsIntegers) {
  dir_.write("PomConfig.ini", "[Config]\nBadSearch=1\nAotoUpLoad=yes\nUpLoadCount=2x\n");
  EXPECT_EQ(store_.readInt(ConfigKey::BadSearch), 1);
  EXPECT_FALSE(store_.readBool(ConfigKey::AotoUpLoad));
  EXPECT_EQ(store_.readInt(ConfigKey::UpLoadCount), 2);
}

TEST_F(ConfigStoreTest, SharingStateLetsTheLaterKeyWin) {
  struct Case {
    const char* one;
    const char* two;
    const char* three;
    char expected;
  } cases[] = {
      {"1", "0", "0", 't'}, {"0", "1", "0", 'f'}, {"0", "0", "1", 'c'},
      {"1", "1", "0", 'f'}, {"1", "0", "1", 'c'}, {"0", "0", "0", 'f'},
  };
  for (const Case& c : cases) {
    store_.writeText(ConfigKey::UpLoadPublic1, c.one);
    store_.writeText(ConfigKey::UpLoadPublic2, c.two);
    store_.writeText(ConfigKey::UpLoadPublic3, c.three);
    EXPECT_EQ(store_.uploadSharingState(), c.expected) << c.one << c.two << c.three;
  }
}

TEST_F(ConfigStoreTest, FontFaceDefaultsAndIsCutTo29Bytes) {
  EXPECT_EQ(store_.fontFilePath(), dir_.path().string() + "/font.ini");
  EXPECT_EQ(store_.fontFace(), "굴림체");
  dir_.write("font.ini", "[FONT]\nfont=" + std::string(30, 'x') + "\n");
  EXPECT_EQ(store_.fontFace(), std::string(29, 'x'));
  dir_.write("font.ini", "[FONT]\nfont=돋움체\n");
  EXPECT_EQ(store_.fontFace(), "돋움체");
}

TEST_F(ConfigStoreTest, RegistryVersionsAndSpeedHistory) {
  EXPECT_EQ(store_.uver(), "0.9");
  EXPECT_EQ(store_.cver(), "0.9");
  EXPECT_TRUE(store_.setUver("1.3"));
  EXPECT_EQ(store_.uver(), "1.3");
  EXPECT_EQ(store_.cver(), "0.9");

  bool ok = true;
  EXPECT_EQ(store_.pvDownloadSpeed(4, &ok), "0");
  EXPECT_FALSE(ok);
  // The missing value was written as "0", so the next read finds it.
  EXPECT_EQ(store_.pvDownloadSpeed(4, &ok), "0");
  EXPECT_TRUE(ok);
  EXPECT_TRUE(store_.setPvDownloadSpeed(10, "2.5"));
  EXPECT_EQ(store_.pvDownloadSpeed(10), "2.5");
  std::string raw;
  EXPECT_TRUE(registry_.readString("Software\\Pomvale2.0\\", "Pv_dl10", "", 256, raw));
  EXPECT_EQ(raw, "2.5");
}

}  // namespace
}  // namespace pom
