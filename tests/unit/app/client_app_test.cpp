// The whole application on fake ports and views: the modules' wiring, the
// designed orders, and the start-up and login paths through them.
#include "core/app/client_app.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/mainwindow/main_window_module.h"
#include "core/mainwindow/main_window_presenter.h"
#include "core/net/connection.h"
#include "core/net/messages/replies.h"
#include "core/net/packet_cipher.h"
#include "core/session/login_presenter.h"
#include "core/session/session_module.h"
#include "core/storage/storage_module.h"
#include "support/fake_app.h"

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
    fake.profile.writeText("Config", "BasicFolder", "c:\\down", "./PomConfig.ini");
    fake.registry.values["Software\\Pomvale2.0\\cver"] = "12";
  }
  ~ClientAppTest() override { ClientApp::teardown(); }

  ClientApp& start() {
    ClientApp* app = ClientApp::createAndInitialise(ports);
    EXPECT_EQ(app, ClientApp::instance());
    app->run(front);
    return *app;
  }
  SessionModule& session(ClientApp& app) { return app.module<SessionModule>(); }

  // The login-server connection's socket: the first one made.
  FakeSocket& socket() { return *fake.sockets.made().front(); }
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
  // Logs in with demo1 and answers with an accepting reply.
  void logIn(ClientApp& app) {
    front.login->id = "demo1";
    front.login->password = "demo1234";
    ASSERT_TRUE(session(app).login().tryLogin());
    socket().deliver(SocketEvent::Connect);
    LoginReply reply;
    reply.memberId = "demo1";
    reply.credit = 1200000;
    reply.flatRate = 1;
    reply.registrationNumber = "8501011234567";
    serverSends(reply.encode());
  }

  FakePorts fake;
  AppPorts ports = fake.ports();
  FakeFrontEnd front;
};

TEST_F(ClientAppTest, MembersAreCreatedAndDeletedInTheirOrders) {
  std::string log;
  ports.lifecycleObserver = [&log](const char* event) { log += std::string(event) + ","; };
  ClientApp& app = start();
  EXPECT_EQ(app.moduleNames(),
            std::vector<std::string>({"update", "session", "main window", "uploads", "downloads",
                                      "local browser", "web storage", "peers", "search"}));
  EXPECT_EQ(log,
            "+SessionState,+MainServerConnection,+UploadSessions,+DownloadSessions,"
            "+GameSettingsPath,+LoginWindow,+MainWindow,+FriendAddDialog,+MemoDialog,"
            "+ProgressDialog,+TermExtensionDialog,+WebFileList,+WebFolderTree,+PeerManager,");
  log.clear();
  ClientApp::teardown();
  EXPECT_EQ(log,
            "-MainServerConnection,-UploadSessions,-DownloadSessions,-SessionState,"
            "-GameSettingsPath,-LoginWindow,-MainWindow,-WebFolderTree,-WebFileList,"
            "-FriendAddDialog,-MemoDialog,-ProgressDialog,-TermExtensionDialog,-PeerManager,");
  EXPECT_EQ(ClientApp::instance(), nullptr);
  ClientApp::teardown();  // nothing left: a no-op
}

TEST_F(ClientAppTest, EveryReplyOfTheCatalogueHasItsHandler) {
  ClientApp& app = start();
  const ReplyDispatcher& replies = app.context().replies();
  std::vector<std::string> unhandled;
  std::apply(
      [&](auto... message) {
        ((replies.owners(decltype(message)::kType).empty()
              ? unhandled.push_back(std::to_string(static_cast<int>(decltype(message)::kType)))
              : void()),
         ...);
      },
      LoginServerReplies{});
  EXPECT_TRUE(unhandled.empty()) << "no handler for types " << ::testing::PrintToString(unhandled);
  // Each answer goes to the module that owns its reaction.
  EXPECT_EQ(replies.owners(ReplyType::LoginReply), std::vector<std::string>({"session"}));
  EXPECT_EQ(replies.owners(ReplyType::FolderList), std::vector<std::string>({"web storage"}));
  EXPECT_EQ(replies.owners(ReplyType::DownloadTicket), std::vector<std::string>({"downloads"}));
  EXPECT_EQ(replies.owners(ReplyType::UploadTicket), std::vector<std::string>({"uploads"}));
  EXPECT_EQ(replies.owners(ReplyType::SearchResults), std::vector<std::string>({"search"}));
}

TEST_F(ClientAppTest, FanOutOffersEveryMessageInTheDesignedOrder) {
  ClientApp& app = start();
  std::vector<std::string> log;
  RecordingSink mainSink(log, "main"), loginSink(log, "login");
  // The window-side receivers come last whenever they register.
  app.context().fanOut().add(FanOutSlot::LoginWindow, "LoginWindow", loginSink);
  app.context().fanOut().add(FanOutSlot::MainWindow, "MainWindow", mainSink);
  EXPECT_EQ(
      app.context().fanOut().order(),
      std::vector<std::string>({"MainServerConnection", "UploadSession0", "UploadSession1",
                                "UploadSession2", "DownloadSession0", "DownloadSession1",
                                "DownloadSession2", "PeerManager", "MainWindow", "LoginWindow"}));
  app.dispatchWindowMessage(512, 0, 0);
  EXPECT_EQ(log, std::vector<std::string>({"main 512", "login 512"}));

  // A socket notification reaches its connection through the fan-out.
  fake.random.values = {0, 0};
  session(app).flow().connectToServer();
  const FakeSocket& s = socket();
  app.dispatchWindowMessage(kMainServerKind.messageNumber(), s.handle(),
                            makeSocketLParam(SocketEvent::Connect));
  EXPECT_EQ(s.selection(), FakeSocket::Selection::Traffic);
  app.context().fanOut().remove(&mainSink);
  app.context().fanOut().remove(&loginSink);
}

TEST_F(ClientAppTest, MissingPortsFailTheStart) {
  ports.files = nullptr;
  EXPECT_EQ(ClientApp::createAndInitialise(ports), nullptr);
  EXPECT_EQ(ClientApp::startProblems(), std::vector<std::string>({"a port is missing"}));
  EXPECT_EQ(ClientApp::instance(), nullptr);
}

TEST_F(ClientAppTest, RunShowsTheLoginWindowWithVersionAndFetchesTheAdLine) {
  fake.http.reply("127.0.0.1:80", "/Ad/index.asp", "오늘의|광고|http://ad/x");
  ClientApp& app = start();
  EXPECT_EQ(front.login->title, "폼베일2.0b - 0.12");
  EXPECT_TRUE(front.login->shown);
  const MainWindowPresenter& main = app.module<MainWindowModule>().presenter();
  EXPECT_EQ(main.adLine().text(), "오늘의광고");
  EXPECT_EQ(main.adLine().link(), "http://ad/x");
  ASSERT_FALSE(fake.http.requests.empty());
  EXPECT_EQ(fake.http.requests.back().path, "/Ad/index.asp");
  EXPECT_EQ(fake.http.requests.back().agent, "HTTPTEST");
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
  fake.loop.setTick(4242);
  for (const Draw& d : draws) {
    fake.random.values = {d.r1, d.r2};
    EXPECT_TRUE(session(app).flow().connectToServer());
    EXPECT_EQ(socket().connectedHost(), d.host);
    EXPECT_EQ(socket().connectedPort(), d.port);
    EXPECT_EQ(fake.random.seeds.back(), 4242u);
  }
  EXPECT_TRUE(session(app).connection().enciphered);
}

TEST_F(ClientAppTest, AcceptedLoginTurnsTheWindowIntoTheMainWindowOnce) {
  ClientApp& app = start();
  logIn(app);
  EXPECT_TRUE(session(app).loggedIn());
  EXPECT_FALSE(session(app).loginPending());
  EXPECT_FALSE(session(app).login().busy());
  EXPECT_FALSE(front.login->controlsVisible);
  EXPECT_TRUE(app.module<MainWindowModule>().layoutBuilt());
  EXPECT_EQ(session(app).state().memberId, "demo1");
  EXPECT_EQ(front.main->calls.back(),
            "webPage http://127.0.0.1/help_desk/notice_program.asp?userid=demo1");
  // The tree asked for "내웹폴더"; its first page shows the window again.
  EXPECT_FALSE(front.main->visible);
  EXPECT_EQ(front.tree->childrenOf(front.tree->idOf("폼베일")),
            std::vector<std::string>({"내웹폴더", "내친구"}));
  EXPECT_TRUE(app.module<StorageModule>().listingPending());
  FolderList page;
  page.capacity = 30;
  serverSends(page.encode());
  EXPECT_FALSE(app.module<StorageModule>().listingPending());
  EXPECT_TRUE(front.main->visible);

  app.repaintAll();
  EXPECT_EQ(front.main->pointsText, "1,200,000P");
  EXPECT_EQ(front.main->connectionText, "정액제접속");
}

TEST_F(ClientAppTest, DecliningToReconnectDestroysTheTopWindow) {
  ClientApp& app = start();
  fake.random.values = {0, 0};
  session(app).flow().connectToServer();
  fake.dialogs.answers = {MessageAnswer::Cancel};
  socket().deliver(SocketEvent::Connect, SocketError::ConnectionRefused);
  EXPECT_TRUE(front.login->destroyed);
}

TEST_F(ClientAppTest, HeadlessFrontEndRunsThePresentersWithoutViews) {
  front.withViews = false;
  ClientApp& app = start();
  session(app).login().setCredentials("demo1", "demo1234");
  fake.random.values = {0, 0};
  session(app).flow().connectToServer();
  socket().deliver(SocketEvent::Connect);
  LoginReply reply;
  reply.memberId = "demo1";
  serverSends(reply.encode());
  EXPECT_TRUE(session(app).loggedIn());
  app.repaintAll();  // nothing to paint, nothing to crash
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
