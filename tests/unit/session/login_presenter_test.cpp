#include "core/session/login_presenter.h"

#include <gtest/gtest.h>

#include "core/base/config_keys.h"
#include "core/base/servers.h"
#include "support/fake_ports.h"
#include "support/fake_views.h"
#include "support/memory_file_system.h"

namespace pom {
namespace {

class LoginPresenterTest : public ::testing::Test {
 protected:
  LoginPresenterTest() {
    view.paint.sizes[kLoginButtonBitmap] = {200, 25};  // 50 x 25 frames at (210, 97)
    profile.writeText("Servers", "WebSite", "127.0.0.1:8080", "./PomConfig.ini");
  }

  LoginPresenter& make() {
    LoginPresenter::Deps deps;
    deps.view = &view;
    deps.config = &config;
    deps.dialogs = &dialogs;
    deps.shell = &shell;
    deps.files = &files;
    deps.servers = &servers;
    deps.connectToServer = [this] { ++connects; };
    presenter = std::make_unique<LoginPresenter>(deps);
    presenter->initialise("9");
    return *presenter;
  }

  void save(const std::string& key, const std::string& value) {
    profile.writeText("Config", key, value, "./PomConfig.ini");
  }
  std::string saved(const std::string& key) const { return profile.value("Config", key); }

  bool login(const std::string& id, const std::string& password) {
    view.id = id;
    view.password = password;
    return presenter->tryLogin();
  }

  MemoryProfile profile;
  MemoryRegistry registry;
  ConfigStore config{profile, registry, "/tmp"};
  Servers servers{profile};
  FakeDialogs dialogs;
  FakeShell shell;
  MemoryFileSystem files;
  FakeLoginView view;
  std::unique_ptr<LoginPresenter> presenter;
  int connects = 0;
};

TEST_F(LoginPresenterTest, StartsEmptyWithoutSavedCredentials) {
  save("UserId", "kept");
  make();
  EXPECT_EQ(view.id, "");
  EXPECT_EQ(view.password, "");
  EXPECT_FALSE(view.save);
  EXPECT_EQ(view.focus, "id");
  EXPECT_EQ(view.title, "폼베일2.0b - 0.9");
}

TEST_F(LoginPresenterTest, FillsSavedCredentials) {
  save("UserPwSave", "1");
  save("UserId", "demo1");
  save("UserPw", "64656D6F31323334" + std::string(16, '0'));
  make();
  EXPECT_EQ(view.id, "demo1");
  EXPECT_EQ(view.password, "demo1234");
  EXPECT_TRUE(view.save);
}

TEST_F(LoginPresenterTest, ValidationLimitsAndTheirMessages) {
  make();
  struct Case {
    std::string id, password, message;
  } cases[] = {
      {std::string(21, 'a'), "pass", "아이디는 20자 이내로 입력하세요!     "},
      {std::string(40, 'a'), "pass", "아이디는 20자 이내로 입력하세요!     "},
      {"abc", "pass", "아이디을 입력하여주세요!     "},
      {"", "pass", "아이디을 입력하여주세요!     "},
      {"abcd", std::string(11, 'p'), "비번은 10자 이내로 입력하세요!     "},
      {"abcd", std::string(30, 'p'), "비번은 10자 이내로 입력하세요!     "},
      {"abcd", "ppp", "패스워드을 입력하여주세요!     "},
  };
  for (const Case& c : cases) {
    dialogs.boxes.clear();
    EXPECT_FALSE(login(c.id, c.password)) << c.id << "/" << c.password;
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, c.message);
    EXPECT_EQ(dialogs.boxes[0].caption, "Error");
    EXPECT_EQ(dialogs.boxes[0].icon, MessageIcon::Error);
    EXPECT_EQ(dialogs.boxes[0].owner, DialogOwner::LoginWindow);
  }
  EXPECT_EQ(connects, 0);
  EXPECT_FALSE(presenter->busy());
  EXPECT_EQ(saved("UserPwSave"), "<absent>");  // nothing saved on an error
  EXPECT_TRUE(files.hidden.empty());
}

TEST_F(LoginPresenterTest, AcceptedInputAtTheLimitsConnectsAndKeepsTheData) {
  make();
  EXPECT_TRUE(login(std::string(20, 'i'), std::string(10, 'p')));
  EXPECT_EQ(presenter->memberId(), std::string(20, 'i'));
  EXPECT_EQ(presenter->password(), std::string(10, 'p'));
  EXPECT_EQ(connects, 1);
  EXPECT_TRUE(presenter->busy());
  EXPECT_EQ(files.hidden, std::vector<std::string>({"./PomConfig.ini"}));

  // Busy: Enter in the password edit does nothing.
  presenter->onEditKey(LoginEdit::Password, LoginKey::Enter);
  EXPECT_EQ(connects, 1);
  presenter->clearBusy();
  view.id = "abcd";
  view.password = "wxyz";
  presenter->onEditKey(LoginEdit::Password, LoginKey::Enter);
  EXPECT_EQ(connects, 2);
  EXPECT_EQ(presenter->memberId(), "abcd");
}

TEST_F(LoginPresenterTest, SavingWritesTheEncodedPasswordAndUncheckingKeepsIt) {
  make();
  view.save = true;
  ASSERT_TRUE(login("demo1", "abcd"));
  EXPECT_EQ(saved("UserPwSave"), "1");
  EXPECT_EQ(saved("UserId"), "demo1");
  EXPECT_EQ(saved("UserPw"), "61626364" + std::string(24, '0'));

  presenter->clearBusy();
  view.save = false;
  ASSERT_TRUE(login("other", "wxyz"));
  EXPECT_EQ(saved("UserPwSave"), "0");
  EXPECT_EQ(saved("UserId"), "demo1");
  EXPECT_EQ(saved("UserPw"), "61626364" + std::string(24, '0'));
}

TEST_F(LoginPresenterTest, TabMovesToThePasswordEdit) {
  make();
  presenter->onEditKey(LoginEdit::Id, LoginKey::Tab);
  EXPECT_EQ(view.focus, "password");
  view.focus.clear();
  presenter->onEditKey(LoginEdit::Password, LoginKey::Tab);
  EXPECT_EQ(view.focus, "");
}

TEST_F(LoginPresenterTest, ButtonsLogInAndOpenThePages) {
  make();
  view.id = "demo1";
  view.password = "demo1234";
  presenter->onLeftDown(215, 100);
  presenter->onLeftUp(215, 100);
  EXPECT_EQ(connects, 1);

  presenter->onLeftDown(35, 195);  // sign up at (30, 190)
  presenter->onLeftUp(35, 195);
  presenter->onLeftDown(165, 195);  // find id/password at (160, 190)
  presenter->onLeftUp(165, 195);
  ASSERT_EQ(shell.launches.size(), 2u);
  EXPECT_EQ(shell.launches[0].parameters, "http://127.0.0.1:8080/member/member_step1.asp");
  EXPECT_EQ(shell.launches[1].parameters, "http://127.0.0.1:8080/member/id_pw_search.asp");
  EXPECT_EQ(shell.launches[1].file, "IEXPLORE.EXE");
  EXPECT_EQ(shell.launches[1].verb, "open");
}

TEST_F(LoginPresenterTest, SessionAnswersDriveTheControls) {
  make();
  presenter->hideControls();
  EXPECT_FALSE(view.controlsVisible);
  EXPECT_FALSE(presenter->background().isVisible());
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(presenter->button(i).isEnabled());

  presenter->loginRefused();
  EXPECT_TRUE(view.controlsVisible);
  EXPECT_TRUE(presenter->background().isVisible());
  EXPECT_TRUE(presenter->button(0).isEnabled());
  EXPECT_EQ(view.focus, "id");

  presenter->loginAccepted();
  EXPECT_FALSE(presenter->button(0).isEnabled());
  presenter->loginRefusedQuota();
  EXPECT_TRUE(presenter->button(0).isEnabled());
}

}  // namespace
}  // namespace pom
