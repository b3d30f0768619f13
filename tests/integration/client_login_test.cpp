// The client's core logging in to the local service over real loopback
// sockets with the POSIX backend: the login window's validation, the session
// flow's answers, notices, and a dropped connection answered with reconnect.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/client_app.h"
#include "core/session/login_presenter.h"
#include "core/mainwindow/main_window_presenter.h"
#include "core/hub/session_state.h"
#include "core/net/connection.h"
#include "core/session/session_flow.h"
#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_http_client.h"
#include "platform/posix/posix_profile.h"
#include "platform/posix/posix_random.h"
#include "platform/posix/posix_registry.h"
#include "platform/posix/posix_socket.h"
#include "support/fake_ports.h"
#include "support/fake_views.h"
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
      profile_.writeText("Servers", key, web, "./PomConfig.ini");
    }
    profile_.writeText("Config", "BasicFolder", dir_.path().string(), "./PomConfig.ini");

    ports_.loop = &loop_;
    ports_.clock = &clock_;
    ports_.random = &random_;
    ports_.sockets = &sockets_;
    ports_.profile = &profile_;
    ports_.registry = &registry_;
    ports_.files = &files_;
    ports_.http = &http_;
    ports_.dialogs = &dialogs_;
    ports_.shell = &shell_;
    ports_.workingDir = dir_.path().string();
    ports_.loginPortBase = at.loginPorts[0];
    app_ = ClientApp::createAndInitialise(ports_);
    ASSERT_NE(app_, nullptr);
    FrontEnd front;
    front.login = &loginView_;
    front.main = &mainView_;
    front.endProgram = [this] { ended_ = true; };
    app_->run(front);
  }
  void TearDown() override { ClientApp::teardown(); }

  // Types the credentials and presses Enter; waits until the server answered.
  bool login(const std::string& id, const std::string& password) {
    loginView_.id = id;
    loginView_.password = password;
    const std::size_t boxes = dialogs_.boxes.size();
    if (!app_->loginWindow()->tryLogin()) return false;
    return loop_.runUntil(
        [&] {
          return app_->loggedIn() ||
                 (!app_->loginWindow()->busy() && dialogs_.boxes.size() > boxes);
        },
        kWaitMs);
  }
  bool boxShown(const std::string& text) const {
    return std::any_of(dialogs_.boxes.begin(), dialogs_.boxes.end(),
                       [&](const MessageBoxRequest& box) { return box.text == text; });
  }
  int layoutBuilds() const {
    return static_cast<int>(std::count(mainView_.calls.begin(), mainView_.calls.end(), "panes"));
  }

  ServiceFixture service_;
  test::TempDir dir_;
  PollLoop loop_;
  PosixClock clock_;
  PosixRandom random_;
  PosixSocketFactory sockets_{loop_};
  PosixProfile profile_{dir_.path()};
  PosixRegistry registry_{dir_.path()};
  PosixFileSystem files_;
  PosixHttpClient http_{3000};
  FakeDialogs dialogs_;
  FakeShell shell_;
  AppPorts ports_;
  FakeLoginView loginView_;
  FakeMainWindowView mainView_;
  ClientApp* app_ = nullptr;
  bool ended_ = false;
};

TEST_F(ClientLogin, AcceptedLoginBuildsTheMainWindowAndShowsTheStatus) {
  EXPECT_EQ(app_->mainWindow()->adLine().text(),
            "Pomvale 로컬 서비스에 오신 것을 환영합니다. 도움말 보기");
  ASSERT_TRUE(login("demo1", "demo1234"));
  ASSERT_TRUE(app_->loggedIn());
  EXPECT_FALSE(app_->loginPending);
  EXPECT_FALSE(loginView_.controlsVisible);
  EXPECT_EQ(layoutBuilds(), 1);

  // The session number follows the login; the note check is answered with
  // the waiting-notes question (demo1 has notes).
  ASSERT_TRUE(loop_.runUntil(
      [&] { return boxShown("쪽지가 도착했습니다. 확인하시겠습니까?     "); }, kWaitMs));
  EXPECT_NE(app_->sessionState()->sessionNumber, 0);
  app_->repaintAll();
  EXPECT_EQ(mainView_.pointsText, "1,200,000P");
  EXPECT_EQ(mainView_.connectionText, "접속안됨");
  EXPECT_EQ(app_->sessionState()->memberId, "demo1");
}

TEST_F(ClientLogin, WrongPasswordIsRefusedAndTheLoginWindowComesBack) {
  ASSERT_TRUE(login("demo1", "wrong99"));
  EXPECT_FALSE(app_->loggedIn());
  EXPECT_TRUE(boxShown("아이디 패스워드 오류 또는 네트워크 오류.     "));
  EXPECT_FALSE(app_->loginWindow()->busy());
  EXPECT_TRUE(loginView_.controlsVisible);
  // A second attempt with the right password goes through.
  ASSERT_TRUE(login("demo1", "demo1234"));
  EXPECT_TRUE(app_->loggedIn());
}

TEST_F(ClientLogin, FlatRateExhaustedShowsItsMessage) {
  service_.faults().set("login_result", "3", 1);
  ASSERT_TRUE(login("demo1", "demo1234"));
  EXPECT_FALSE(app_->loggedIn());
  EXPECT_TRUE(boxShown("정액제 접속을 초과했습니다.     "));
  EXPECT_TRUE(app_->loginWindow()->button(0).isEnabled());
}

TEST_F(ClientLogin, RetryAnswerIsFollowedOnce) {
  service_.faults().set("login_result", "100", 1);
  loginView_.id = "demo1";
  loginView_.password = "demo1234";
  ASSERT_TRUE(app_->loginWindow()->tryLogin());
  ASSERT_TRUE(loop_.runUntil([&] { return app_->loggedIn(); }, kWaitMs));
  EXPECT_TRUE(app_->sessionFlow()->retriedLogin());
  EXPECT_FALSE(boxShown("아이디 패스워드 오류 또는 네트워크 오류.     "));
}

TEST_F(ClientLogin, ServerNoticeIsShown) {
  service_.faults().set("notice", "maintenance at midnight");
  ASSERT_TRUE(login("demo1", "demo1234"));
  ASSERT_TRUE(loop_.runUntil([&] { return boxShown("maintenance at midnight"); }, kWaitMs));
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
  ASSERT_TRUE(app_->loggedIn());
  const std::string question =
      "통신장애로 인하여 접속이 종료 되었습니다. \r\n\r\n 재 접속 하시겠습니까?     ";
  ASSERT_TRUE(loop_.runUntil([&] { return boxShown(question); }, kWaitMs));
  // Logged in again: the new session gets its number; the window stays.
  ASSERT_TRUE(loop_.runUntil(
      [&] { return app_->sessionState()->sessionNumber != 0 && !app_->loginPending; }, kWaitMs));
  loop_.runFor(200);
  EXPECT_TRUE(app_->mainConnection()->isOpen());
  EXPECT_EQ(layoutBuilds(), 1);
  EXPECT_FALSE(ended_);
  EXPECT_EQ(std::count_if(dialogs_.boxes.begin(), dialogs_.boxes.end(),
                          [&](const MessageBoxRequest& b) { return b.text == question; }),
            1);
}

TEST_F(ClientLogin, DroppedConnectionAnsweredWithCancelEndsTheProgram) {
  service_.faults().set("drop_login_after", "134", 1);
  dialogs_.answers = {MessageAnswer::Cancel};
  ASSERT_TRUE(login("demo1", "demo1234"));
  ASSERT_TRUE(loop_.runUntil([&] { return ended_; }, kWaitMs));
  EXPECT_TRUE(loginView_.destroyed);
}

}  // namespace
}  // namespace pom
