// The client's core logging in to the local service over real loopback
// sockets with the POSIX backend: the login window's validation, the session
// flow's answers, notices, and a dropped connection answered with reconnect.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/client_app.h"
#include "core/hub/session_state.h"
#include "core/mainwindow/main_window_module.h"
#include "core/mainwindow/main_window_presenter.h"
#include "core/net/connection.h"
#include "core/session/login_presenter.h"
#include "core/session/session_module.h"
#include "platform/posix/posix_ports.h"
#include "support/fake_app.h"
#include "support/service_fixture.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

using testing_support::ServiceFixture;

constexpr std::uint32_t kWaitMs = 5000;

class ClientLogin : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
    const auto& at = service_.ports();
    const std::string web = at.webHost + ":" + std::to_string(at.webPort);
    for (const char* key : {"UpdateServer", "WebSite", "ClubSite", "FileBoxSite", "PaymentSite"}) {
      platform_.profile.writeText("Servers", key, web, "./PomConfig.ini");
    }
    platform_.profile.writeText("Config", "BasicFolder", dir_.path().string(), "./PomConfig.ini");
    app_ = ClientApp::createAndInitialise(platform_.ports(at.loginPorts[0]));
    ASSERT_NE(app_, nullptr);
    app_->run(front_);
  }
  void TearDown() override { ClientApp::teardown(); }

  SessionModule& session() { return app_->module<SessionModule>(); }
  bool loggedIn() { return session().loggedIn(); }

  // Types the credentials and presses Enter; waits until the server answered.
  bool login(const std::string& id, const std::string& password) {
    front_.login->id = id;
    front_.login->password = password;
    const std::size_t boxes = dialogs_.boxes.size();
    if (!session().login().tryLogin()) return false;
    return loop().runUntil(
        [&] { return loggedIn() || (!session().login().busy() && dialogs_.boxes.size() > boxes); },
        kWaitMs);
  }
  bool boxShown(const std::string& text) const { return boxCount(text) > 0; }
  long boxCount(const std::string& text) const {
    return std::count_if(dialogs_.boxes.begin(), dialogs_.boxes.end(),
                         [&](const MessageBoxRequest& box) { return box.text == text; });
  }
  int layoutBuilds() const {
    return static_cast<int>(std::count_if(front_.main->calls.begin(), front_.main->calls.end(),
                                          [](const std::string& c) { return c == "controls"; }));
  }
  PollLoop& loop() { return platform_.loop; }

  ServiceFixture service_;
  test::TempDir dir_;
  FakeDialogs dialogs_;
  FakeShell shell_;
  PosixPorts platform_{dir_.path(), dialogs_, shell_};
  FakeFrontEnd front_;
  ClientApp* app_ = nullptr;
};

TEST_F(ClientLogin, AcceptedLoginBuildsTheMainWindowAndShowsTheStatus) {
  EXPECT_EQ(app_->module<MainWindowModule>().presenter().adLine().text(),
            "Pomvale 로컬 서비스에 오신 것을 환영합니다. 도움말 보기");
  ASSERT_TRUE(login("demo1", "demo1234"));
  ASSERT_TRUE(loggedIn());
  EXPECT_FALSE(session().loginPending());
  EXPECT_FALSE(front_.login->controlsVisible);
  EXPECT_EQ(layoutBuilds(), 1);

  // The session number follows the login; the note check is answered with
  // the waiting-notes question (demo1 has notes).
  ASSERT_TRUE(loop().runUntil(
      [&] { return boxShown("쪽지가 도착했습니다. 확인하시겠습니까?     "); }, kWaitMs));
  EXPECT_NE(session().state().sessionNumber, 0);
  app_->repaintAll();
  EXPECT_EQ(front_.main->pointsText, "1,200,000P");
  EXPECT_EQ(front_.main->connectionText, "접속안됨");
  EXPECT_EQ(session().state().memberId, "demo1");
}

TEST_F(ClientLogin, WrongPasswordIsRefusedAndTheLoginWindowComesBack) {
  ASSERT_TRUE(login("demo1", "wrong99"));
  EXPECT_FALSE(loggedIn());
  EXPECT_TRUE(boxShown("아이디 패스워드 오류 또는 네트워크 오류.     "));
  EXPECT_FALSE(session().login().busy());
  EXPECT_TRUE(front_.login->controlsVisible);
  // A second attempt with the right password goes through.
  ASSERT_TRUE(login("demo1", "demo1234"));
  EXPECT_TRUE(loggedIn());
}

TEST_F(ClientLogin, FlatRateExhaustedShowsItsMessage) {
  service_.faults().set("login_result", "3", 1);
  ASSERT_TRUE(login("demo1", "demo1234"));
  EXPECT_FALSE(loggedIn());
  EXPECT_TRUE(boxShown("정액제 접속을 초과했습니다.     "));
  EXPECT_TRUE(session().login().button(0).isEnabled());
}

TEST_F(ClientLogin, RetryAnswerIsFollowedOnce) {
  service_.faults().set("login_result", "100", 1);
  front_.login->id = "demo1";
  front_.login->password = "demo1234";
  ASSERT_TRUE(session().login().tryLogin());
  ASSERT_TRUE(loop().runUntil([&] { return loggedIn(); }, kWaitMs));
  EXPECT_TRUE(session().flow().retriedLogin());
  EXPECT_FALSE(boxShown("아이디 패스워드 오류 또는 네트워크 오류.     "));
}

TEST_F(ClientLogin, ServerNoticeIsShown) {
  service_.faults().set("notice", "maintenance at midnight");
  ASSERT_TRUE(login("demo1", "demo1234"));
  ASSERT_TRUE(loop().runUntil([&] { return boxShown("maintenance at midnight"); }, kWaitMs));
  const auto box = std::find_if(dialogs_.boxes.begin(), dialogs_.boxes.end(),
                                [](const MessageBoxRequest& b) { return b.caption == "알림"; });
  ASSERT_NE(box, dialogs_.boxes.end());
  EXPECT_EQ(box->icon, MessageIcon::Warning);
}

TEST_F(ClientLogin, DroppedConnectionAnsweredWithReconnectLogsInAgain) {
  // The first connection is cut once the login reply has gone out (134
  // bytes); the reconnect gets a fresh connection without the fault.
  service_.faults().set("drop_login_after", "134", 1);
  dialogs_.answers = {MessageAnswer::Ok};
  ASSERT_TRUE(login("demo1", "demo1234"));
  ASSERT_TRUE(loggedIn());
  const std::string question =
      "통신장애로 인하여 접속이 종료 되었습니다. \r\n\r\n 재 접속 하시겠습니까?     ";
  ASSERT_TRUE(loop().runUntil([&] { return boxShown(question); }, kWaitMs));
  // Logged in again: the new session gets its number; the window stays.
  ASSERT_TRUE(loop().runUntil(
      [&] { return session().state().sessionNumber != 0 && !session().loginPending(); }, kWaitMs));
  loop().runFor(200);
  EXPECT_TRUE(session().connection().isOpen());
  EXPECT_EQ(layoutBuilds(), 1);
  EXPECT_FALSE(front_.login->destroyed);
  EXPECT_EQ(boxCount(question), 1);
}

TEST_F(ClientLogin, RefusedReloginAfterADropKeepsTheMainWindow) {
  ASSERT_TRUE(login("demo1", "demo1234"));
  ASSERT_TRUE(loop().runUntil([&] { return session().state().sessionNumber != 0; }, kWaitMs));
  service_.faults().set("login_result", "3", 1);
  service_.faults().set("drop_logins", "1", 1);
  dialogs_.answers = {MessageAnswer::No, MessageAnswer::Ok};  // the notes, then reconnect
  ASSERT_TRUE(
      loop().runUntil([&] { return boxShown("정액제 접속을 초과했습니다.     "); }, kWaitMs));
  EXPECT_FALSE(front_.login->controlsVisible) << "the login controls stay hidden";
  EXPECT_FALSE(session().login().background().isVisible());
  EXPECT_FALSE(session().login().button(0).isEnabled());
  EXPECT_TRUE(loggedIn());
  EXPECT_EQ(layoutBuilds(), 1);
}

TEST_F(ClientLogin, DroppedConnectionAnsweredWithCancelEndsTheProgram) {
  service_.faults().set("drop_login_after", "134", 1);
  dialogs_.answers = {MessageAnswer::Cancel};
  ASSERT_TRUE(login("demo1", "demo1234"));
  ASSERT_TRUE(loop().runUntil([&] { return front_.login->destroyed; }, kWaitMs));
}

}  // namespace
}  // namespace pom
