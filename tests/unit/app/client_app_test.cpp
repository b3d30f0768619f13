#include "core/app/client_app.h"

#include <gtest/gtest.h>

#include "core/session/login_presenter.h"
#include "core/mainwindow/main_window_presenter.h"
#include "core/hub/session_state.h"
#include "core/net/connection.h"
#include "core/net/messages/replies.h"
#include "core/net/packet_cipher.h"
#include "platform/posix/posix_file_system.h"
#include "support/fake_ports.h"
#include "support/fake_socket.h"
#include "support/fake_views.h"
#include "support/loop_helpers.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

class RecordingSink : public WindowMessageSink {
 public:
  RecordingSink(std::vector<std::string>& log, std::string name) : log_(log), name_(name) {}
  void onWindowMessage(std::uint32_t message, std::uintptr_t, std::intptr_t) override {
    log_.push_back(name_ + " " + std::to_string(message));
  }

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

class ClientAppTest : public ::testing::Test {
 protected:
  ClientAppTest() {
    profile.writeText("Config", "BasicFolder", dir.path().string(), "./PomConfig.ini");
    registry.values["Software\\Pomvale2.0\\cver"] = "12";
    ports.loop = &loop;
    ports.clock = &loop;
    ports.random = &random;
    ports.sockets = &sockets;
    ports.profile = &profile;
    ports.registry = &registry;
    ports.files = &files;
    ports.http = &http;
    ports.dialogs = &dialogs;
    ports.shell = &shell;
    ports.workingDir = dir.path().string();
  }
  ~ClientAppTest() override { ClientApp::teardown(); }

  ClientApp& start() {
    ClientApp* app = ClientApp::createAndInitialise(ports);
    EXPECT_EQ(app, ClientApp::instance());
    FrontEnd front;
    front.login = &loginView;
    front.main = &mainView;
    app->run(front);
    return *app;
  }

  FakeSocket& socket() { return sockets.last(); }
  void serverSends(Bytes body) {
    PacketCipher::instance().encipherBody(body.data(), body.size());
    Bytes frame = {0xFF, 0xFF, 0xFF, 0xFF};
    const std::uint32_t total = static_cast<std::uint32_t>(body.size() + 12);
    for (int i = 0; i < 4; ++i) frame.push_back(static_cast<std::uint8_t>(total >> (8 * i)));
    frame.insert(frame.end(), body.begin(), body.end());
    frame.insert(frame.end(), {0xFE, 0xFE, 0xFE, 0xFE});
    socket().scriptReceive(frame);
    socket().deliver(SocketEvent::Read);
  }

  test::TempDir dir;
  ManualLoop loop;
  FakeRandom random;
  FakeSocketFactory sockets;
  MemoryProfile profile;
  MemoryRegistry registry;
  PosixFileSystem files;
  FakeHttpClient http;
  FakeDialogs dialogs;
  FakeShell shell;
  AppPorts ports;
  FakeLoginView loginView;
  FakeMainWindowView mainView;
};

TEST_F(ClientAppTest, MembersAreCreatedAndDeletedInTheirOrders) {
  std::string log;
  ports.lifecycleObserver = [&log](const char* event) { log += std::string(event) + ","; };
  start();
  EXPECT_EQ(log,
            "+SessionState,+MainServerConnection,+GameSettingsPath,+LoginWindow,+MainWindow,"
            "+ProgressDialog,+TermExtensionDialog,");
  log.clear();
  ClientApp::teardown();
  EXPECT_EQ(log,
            "-MainServerConnection,-SessionState,-GameSettingsPath,-LoginWindow,-MainWindow,"
            "-ProgressDialog,-TermExtensionDialog,");
  EXPECT_EQ(ClientApp::instance(), nullptr);
  ClientApp::teardown();  // nothing left: a no-op
}

TEST_F(ClientAppTest, RunShowsTheLoginWindowWithVersionAndFetchesTheAdLine) {
  http.reply("127.0.0.1:80", "/Ad/index.asp", "오늘의|광고|http://ad/x");
  ClientApp& app = start();
  EXPECT_EQ(loginView.title, "폼베일2.0b - 0.12");
  EXPECT_TRUE(loginView.shown);
  EXPECT_EQ(app.mainWindow()->adLine().text(), "오늘의광고");
  EXPECT_EQ(app.mainWindow()->adLine().link(), "http://ad/x");
  EXPECT_EQ(http.requests[0].agent, "HTTPTEST");
}

TEST_F(ClientAppTest, ConnectDrawsHostThenPortIndependently) {
  ClientApp& app = start();
  struct Draw {
    int r1, r2;
    const char* host;
    std::uint16_t port;
  } draws[] = {{0, 0, "127.0.0.1", 7031},
               {0, 1, "127.0.0.1", 7032},
               {1, 0, "127.0.0.2", 7031},
               {3, 5, "127.0.0.2", 7032}};
  loop.setTick(4242);
  for (const Draw& d : draws) {
    random.values = {d.r1, d.r2};
    app.connectToServer();
    EXPECT_EQ(socket().connectedHost(), d.host);
    EXPECT_EQ(socket().connectedPort(), d.port);
    EXPECT_EQ(random.seeds.back(), 4242u);
  }
  EXPECT_TRUE(app.mainConnection()->enciphered);
}

TEST_F(ClientAppTest, FanOutOffersEveryMessageInOrder) {
  ClientApp& app = start();
  std::vector<std::string> log;
  RecordingSink mainSink(log, "main"), loginSink(log, "login");
  FrontEnd front = app.frontEnd();
  front.mainWindowSink = &mainSink;
  front.loginWindowSink = &loginSink;
  app.run(front);
  app.dispatchWindowMessage(512, 0, 0);
  EXPECT_EQ(log, std::vector<std::string>({"main 512", "login 512"}));

  // A socket notification reaches the connection through the fan-out.
  random.values = {0, 0};
  app.connectToServer();
  const FakeSocket& s = socket();
  app.dispatchWindowMessage(kMainServerKind.messageNumber(), s.handle(), makeSocketLParam(SocketEvent::Connect));
  EXPECT_EQ(s.selection(), FakeSocket::Selection::Traffic);
}

TEST_F(ClientAppTest, AcceptedLoginTurnsTheWindowIntoTheMainWindowOnce) {
  ClientApp& app = start();
  loginView.id = "demo1";
  loginView.password = "demo1234";
  ASSERT_TRUE(app.loginWindow()->tryLogin());
  socket().deliver(SocketEvent::Connect);
  EXPECT_TRUE(app.loginPending);
  EXPECT_GT(socket().sent().size(), 0u);

  LoginReply reply;
  reply.memberId = "demo1";
  reply.credit = 1200000;
  reply.flatRate = 1;
  reply.registrationNumber = "8501011234567";
  serverSends(reply.encode());
  EXPECT_TRUE(app.loggedIn());
  EXPECT_FALSE(app.loginPending);
  EXPECT_FALSE(app.loginWindow()->busy());
  EXPECT_FALSE(loginView.controlsVisible);
  EXPECT_TRUE(app.mainWindow()->layoutBuilt());
  EXPECT_TRUE(mainView.visible);
  EXPECT_EQ(app.sessionState()->memberId, "demo1");

  app.repaintAll();
  EXPECT_EQ(mainView.pointsText, "1,200,000P");
  EXPECT_EQ(mainView.connectionText, "정액제접속");
}

TEST_F(ClientAppTest, DecliningToReconnectDestroysTheTopWindow) {
  ClientApp& app = start();
  int ended = 0;
  FrontEnd front = app.frontEnd();
  front.endProgram = [&] { ++ended; };
  app.run(front);
  random.values = {0, 0};
  app.connectToServer();
  dialogs.answers = {MessageAnswer::Cancel};
  socket().deliver(SocketEvent::Connect, SocketError::ConnectionRefused);
  EXPECT_TRUE(loginView.destroyed);
  EXPECT_EQ(ended, 1);
}

TEST(AlreadyRunningTest, WarningHasNoOwnerAndTheDefaultCaption) {
  const MessageBoxRequest box = alreadyRunningBox();
  EXPECT_EQ(box.text, "폼베일2.0b가 이미 실행중입니다!     ");
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(box.icon, MessageIcon::Warning);
  EXPECT_EQ(box.owner, DialogOwner::None);
  EXPECT_EQ(kExitAlreadyRunning, -1);
}

}  // namespace
}  // namespace pom
