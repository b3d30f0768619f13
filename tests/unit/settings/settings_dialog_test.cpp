// The settings dialog over a real PomConfig.ini in a temporary folder: what
// it shows at opening, what OK writes, that nothing is written before OK, and
// the folder button.
#include "core/settings/settings_dialog.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/base/config_keys.h"
#include "core/session/saved_credentials.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_profile.h"
#include "platform/posix/posix_registry.h"
#include "support/fake_ports.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

// The dialog's boxes and radios as plain flags; the member "clicks" by
// setting them.
class FakeSettingsView : public SettingsDialogView {
 public:
  bool exists() override { return open; }
  bool create(const std::string& title) override {
    ++creations;
    this->title = title;
    open = true;
    checks.clear();
    return true;
  }
  void setChecked(SettingsControl control, bool checked) override { checks[control] = checked; }
  bool isChecked(SettingsControl control) override { return checks[control]; }
  void setCredentials(const std::string& shownId, const std::string& shownPassword) override {
    id = shownId;
    password = shownPassword;
  }
  void setFolder(const std::string& path) override { folder = path; }
  void showAndFocus() override {}
  void destroy() override { open = false; }

  std::vector<SettingsControl> checkedControls() const {
    std::vector<SettingsControl> on;
    for (const auto& [control, checked] : checks) {
      if (checked) on.push_back(control);
    }
    return on;
  }

  bool open = false;
  int creations = 0;
  std::string title, id, password, folder;
  std::map<SettingsControl, bool> checks;
};

class RecordingHost : public SettingsDialogHost {
 public:
  std::string downloadFolder() override { return current; }
  void downloadFolderChosen(const std::string& path) override { chosen.push_back(path); }
  std::string current = "c:\\PomDownLoad\\";
  std::vector<std::string> chosen;
};

using C = SettingsControl;

class SettingsDialogTest : public ::testing::Test {
 protected:
  SettingsDialogTest() { dialog_.attach(&view_); }

  void writeIni(const std::string& body) { dir_.write("PomConfig.ini", "[Config]\r\n" + body); }
  std::string ini() const { return dir_.read("PomConfig.ini"); }
  std::string value(ConfigKey key) {
    return profile_.readText(kConfigSection, configKeyName(key), "<absent>", 260, kConfigFile);
  }
  std::string sharingKeys() {
    return value(ConfigKey::UpLoadPublic1) + value(ConfigKey::UpLoadPublic2) +
           value(ConfigKey::UpLoadPublic3);
  }

  test::TempDir dir_;
  PosixProfile profile_{dir_.path()};
  PosixRegistry registry_{dir_.path()};
  PosixFileSystem files_;
  ConfigStore config_{profile_, registry_, dir_.path().string()};
  FakeDialogs dialogs_;
  RecordingHost host_;
  FakeSettingsView view_;
  SettingsDialog dialog_{config_, files_, &dialogs_, &host_};
};

// Exactly one sharing radio is checked, the one new uploads get by the upload
// engine's rule, and OK keeps that state with exactly one key set.
TEST_F(SettingsDialogTest, OneSharingRadioTheUploadEngineWouldUseAndOkKeepsIt) {
  struct Case {
    const char* ini;
    C radio;
    const char* saved;  // UpLoadPublic1, 2, 3 after OK
  } cases[] = {
      {"", C::Private, "010"},  // no keys at all: private
      {"UpLoadPublic1=1\r\n", C::Public, "100"},
      {"UpLoadPublic3=1\r\n", C::Club, "001"},
      {"UpLoadPublic1=1\r\nUpLoadPublic2=1\r\n", C::Private, "010"},
      {"UpLoadPublic1=1\r\nUpLoadPublic3=1\r\n", C::Club, "001"},
      {"UpLoadPublic1=1\r\nUpLoadPublic2=1\r\nUpLoadPublic3=1\r\n", C::Club, "001"},
      {"UpLoadPublic1=0\r\nUpLoadPublic2=0\r\nUpLoadPublic3=0\r\n", C::Private, "010"},
      {"UpLoadPublic1=yes\r\nUpLoadPublic3=2\r\n", C::Club, "001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    writeIni(c.ini);
    const char engineBefore = config_.uploadSharingState();
    ASSERT_TRUE(dialog_.open());
    EXPECT_EQ(view_.checkedControls(), std::vector<C>{c.radio});  // no box either
    dialog_.ok();
    EXPECT_FALSE(dialog_.isOpen());
    EXPECT_EQ(sharingKeys(), c.saved);
    EXPECT_EQ(config_.uploadSharingState(), engineBefore);
  }
}

TEST_F(SettingsDialogTest, OkWritesExactlyWhatWasChosenAndNothingElse) {
  writeIni("UserId=member01\r\nUserPw=" + encodeSavedPassword("pass") +
           "\r\nAotoUpLoad=1\r\nBasicFolder=d:\\down\r\n");
  ASSERT_TRUE(dialog_.open());
  EXPECT_EQ(view_.title, "환경설정");
  EXPECT_EQ(view_.id, "member01");
  EXPECT_EQ(view_.password, "pass");
  EXPECT_EQ(view_.folder, "c:\\PomDownLoad\\") << "the main window's folder";
  EXPECT_FALSE(dialog_.open()) << "a second press opens no second dialog";
  EXPECT_EQ(view_.creations, 1);

  // The member clicks: auto-login on, auto-upload off, auto-download on, and
  // club-only (a view that fails to clear "비공개" still saves one choice).
  view_.checks[C::AutoLogin] = true;
  view_.checks[C::AutoUpload] = false;
  view_.checks[C::AutoDownload] = true;
  view_.checks[C::Club] = true;
  dialog_.ok();
  EXPECT_EQ(value(ConfigKey::AotuLogin), "1");
  EXPECT_EQ(value(ConfigKey::AotoUpLoad), "0");
  EXPECT_EQ(value(ConfigKey::AotoDownLoad), "1");
  EXPECT_EQ(sharingKeys(), "001");
  EXPECT_EQ(value(ConfigKey::UserId), "member01");
  EXPECT_EQ(value(ConfigKey::UserPw), encodeSavedPassword("pass"));
  EXPECT_EQ(value(ConfigKey::BasicFolder), "d:\\down");
  EXPECT_EQ(value(ConfigKey::UserPwSave), "<absent>");

  // Opened again, it shows what was saved.
  ASSERT_TRUE(dialog_.open());
  EXPECT_EQ(view_.checkedControls(), (std::vector<C>{C::AutoLogin, C::AutoDownload, C::Club}));
}

TEST_F(SettingsDialogTest, DefaultsThenCancelLeavesTheFileByteIdentical) {
  const std::string before =
      "; kept as it is\r\n[Config]\r\nAotuLogin = 1\r\nUpLoadPublic1=1\r\nUpLoadPublic2=0\r\n"
      "AotoDownLoad=1\r\n[Other]\r\nx=y\r\n";
  dir_.write("PomConfig.ini", before);
  ASSERT_TRUE(dialog_.open());
  EXPECT_EQ(view_.checkedControls(), (std::vector<C>{C::AutoLogin, C::AutoDownload, C::Public}));
  dialog_.defaults();
  EXPECT_EQ(view_.checkedControls(), std::vector<C>{C::Private});
  dialog_.cancel();
  EXPECT_FALSE(dialog_.isOpen());
  EXPECT_EQ(ini(), before);

  // Without a file none is made.
  std::filesystem::remove(dir_.path() / "PomConfig.ini");
  ASSERT_TRUE(dialog_.open());
  dialog_.defaults();
  dialog_.cancel();
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "PomConfig.ini"));
}

TEST_F(SettingsDialogTest, FolderButtonKeepsTheFolderUnlessAnExistingOneIsChosen) {
  std::filesystem::create_directory(dir_.path() / "chosen");
  const std::string chosen = dir_.file("chosen");
  writeIni("BasicFolder=" + dir_.path().string() + "\r\n");
  host_.current = dir_.path().string();
  struct Case {
    std::string picked;  // empty: the picker is cancelled
    bool taken;
  } cases[] = {
      {"", false},
      {dir_.file("missing"), false},
      {"/" + std::string(kMaxFolderBytes, 'a'), false},  // would read back cut
      {chosen, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picked);
    ASSERT_TRUE(dialog_.open());
    dialogs_.folderToPick = c.picked;
    dialog_.chooseFolder();
    EXPECT_EQ(dialogs_.folderTitles.back(), "디렉토리를 선택하세요");
    const std::string expected = c.taken ? chosen : dir_.path().string();
    EXPECT_EQ(view_.folder, expected);
    EXPECT_EQ(value(ConfigKey::BasicFolder), expected);
    EXPECT_EQ(host_.chosen,
              c.taken ? std::vector<std::string>{chosen} : std::vector<std::string>{});
    dialog_.cancel();  // the chosen folder stays
    EXPECT_EQ(value(ConfigKey::BasicFolder), expected);
  }
}

}  // namespace
}  // namespace pom
