#include "core/session/session_flow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/servers.h"
#include "core/hub/app_ports.h"
#include "core/hub/session_state.h"
#include "core/net/connection.h"
#include "core/net/messages/replies.h"
#include "core/net/messages/requests.h"
#include "core/net/packet_cipher.h"
#include "core/net/reply_dispatcher.h"
#include "support/fake_app.h"
#include "support/fake_ports.h"
#include "support/fake_socket.h"
#include "support/loop_helpers.h"

namespace pom {
namespace {

class FakeSessionHost : public SessionHost {
 public:
  bool pending = false;
  bool logged = false;
  std::string id = "demo1";
  std::string pw = "demo1234";
  FakeDialogs boxes;
  std::vector<std::string> calls;

  bool loginPending() const override { return pending; }
  void setLoginPending(bool p) override { pending = p; }
  bool loggedIn() const override { return logged; }
  std::string loginId() const override { return id; }
  std::string loginPassword() const override { return pw; }
  void switchToMain() override {
    calls.push_back("switchToMain");
    logged = true;
  }
  void loginAccepted() override { calls.push_back("accepted"); }
  void loginRefusedQuota() override { calls.push_back("refusedQuota"); }
  void loginRefused() override { calls.push_back("refused"); }
  void clearLoginBusy() override { calls.push_back("clearBusy"); }
  void endProgram() override { calls.push_back("end"); }
  void repaintMainWindow() override { calls.push_back("repaint"); }
  void openMemoList() override { calls.push_back("memoList"); }
  Dialogs& dialogs() override { return boxes; }
  int currentYear() const override { return 2024; }
};

Bytes framed(Bytes body) {
  PacketCipher::instance().encipherBody(body.data(), body.size());
  Bytes out(8 + body.size() + 4);
  const auto put32 = [&out](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put32(0, 0xFFFFFFFFu);
  put32(4, static_cast<std::uint32_t>(body.size() + 12));
  std::copy(body.begin(), body.end(), out.begin() + 8);
  put32(8 + body.size(), 0xFEFEFEFEu);
  return out;
}

class SessionFlowTest : public ::testing::Test {
 protected:
  SessionFlowTest() {
    flow.registerReplies();
    connectUp();
  }

  // Starts a connection and reports it established.
  void connectUp() {
    connection.initialise();
    sockets.last().clearSent();  // the connection reuses its socket object
    connection.connectTo("127.0.0.1", 7031);
    sockets.last().deliver(SocketEvent::Connect);
  }

  // Deciphered bodies of everything the client sent on the current socket.
  std::vector<Bytes> sentBodies() const {
    std::vector<Bytes> bodies;
    const Bytes& s = sockets.last().sent();
    std::size_t at = 0;
    while (at + 12 <= s.size()) {
      const std::uint32_t total = s[at + 4] | s[at + 5] << 8 | s[at + 6] << 16 | s[at + 7] << 24;
      Bytes body(s.begin() + at + 8, s.begin() + at + total - 4);
      PacketCipher::instance().decipherBody(body.data(), body.size());
      bodies.push_back(body);
      at += total;
    }
    return bodies;
  }
  std::vector<int> sentTypes() const {
    std::vector<int> types;
    for (const Bytes& b : sentBodies()) types.push_back(b[0] | b[1] << 8);
    return types;
  }

  void receive(const Bytes& body) {
    sockets.last().scriptReceive(framed(body));
    sockets.last().deliver(SocketEvent::Read);
  }
  void receiveLogin(int result, std::int64_t credit = 1200000) {
    LoginReply reply;
    reply.memberId = "demo1";
    reply.memberText = "text";
    reply.registrationNumber = "8501011234567";
    reply.flatRate = 2;
    reply.credit = credit;
    reply.result = static_cast<LoginReply::Result>(result);
    receive(reply.encode());
  }

  FakePorts fake;
  ManualLoop& loop = fake.loop;
  FakeSocketFactory& sockets = fake.sockets;
  Servers servers{fake.profile};
  AppPorts ports = fake.ports();
  Connection connection{sockets, kMainServerKind};
  FakeSessionHost host;
  SessionState session;
  ReplyDispatcher dispatcher;
  SessionFlow flow{host, connection, session, dispatcher, ports, servers};
};

TEST_F(SessionFlowTest, ConnectSendsOneLoginWithTheKeptCredentials) {
  const auto bodies = sentBodies();
  ASSERT_EQ(bodies.size(), 1u);
  const auto request = LoginRequest::decode(bodies[0].data(), bodies[0].size());
  ASSERT_TRUE(request);
  EXPECT_EQ(request->memberId, "demo1");
  EXPECT_EQ(request->password, "demo1234");
  EXPECT_TRUE(host.pending);
  EXPECT_EQ(sockets.last().selection(), FakeSocket::Selection::Traffic);
}

TEST_F(SessionFlowTest, SecondConnectNotificationSendsNoSecondLogin) {
  sockets.last().deliver(SocketEvent::Connect);
  EXPECT_EQ(sentTypes(), std::vector<int>({0}));
}

TEST_F(SessionFlowTest, AcceptedLoginFillsSessionSwitchesAndChecksNotesOnce) {
  receiveLogin(0);
  EXPECT_EQ(session.memberId, "demo1");
  EXPECT_EQ(session.credit, 1200000);
  EXPECT_EQ(session.flatRate, 2);
  EXPECT_EQ(session.age, 2024 - 1985 + 1);
  EXPECT_EQ(host.calls, std::vector<std::string>({"accepted", "switchToMain", "clearBusy"}));
  EXPECT_EQ(sentTypes(), std::vector<int>({0, 28}));
  EXPECT_FALSE(host.pending);
}

TEST_F(SessionFlowTest, ReconnectAfterLossLogsInAgainWithoutRebuildOrNoteCheck) {
  receiveLogin(0);
  host.calls.clear();
  host.boxes.answers = {MessageAnswer::Ok};
  sockets.last().deliver(SocketEvent::Close);
  EXPECT_EQ(sockets.last().connects(), 2) << "OK connects again";
  sockets.last().clearSent();
  sockets.last().deliver(SocketEvent::Connect);

  ASSERT_EQ(host.boxes.boxes.size(), 1u);
  const MessageBoxRequest& box = host.boxes.boxes[0];
  EXPECT_EQ(box.text,
            "통신장애로 인하여 접속이 종료 되었습니다. \r\n\r\n 재 접속 하시겠습니까?     ");
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
  EXPECT_EQ(box.icon, MessageIcon::Error);
  EXPECT_EQ(box.owner, DialogOwner::None);
  EXPECT_EQ(sentTypes(), std::vector<int>({0}));  // the new socket: a login only

  receiveLogin(0, 500);
  EXPECT_EQ(session.credit, 500);
  EXPECT_EQ(host.calls, std::vector<std::string>({"accepted", "clearBusy"}));
  EXPECT_EQ(sentTypes(), std::vector<int>({0}));  // no NoteCheckRequest
}

TEST_F(SessionFlowTest, DecliningToReconnectEndsTheProgram) {
  host.boxes.answers = {MessageAnswer::Cancel};
  sockets.last().deliver(SocketEvent::Close);
  EXPECT_EQ(host.calls, std::vector<std::string>({"end"}));
  EXPECT_FALSE(connection.isOpen());
}

TEST_F(SessionFlowTest, FailedConnectIsHandledAsALostConnection) {
  host.boxes.answers = {MessageAnswer::Cancel};
  connection.initialise();
  sockets.last().clearSent();
  connection.connectTo("127.0.0.1", 7032);
  sockets.last().deliver(SocketEvent::Connect, SocketError::ConnectionRefused);
  EXPECT_EQ(host.boxes.boxes.size(), 1u);
  EXPECT_TRUE(sentBodies().empty());
}

TEST_F(SessionFlowTest, RefusalsShowTheirMessagesAndFreeTheLoginWindow) {
  receiveLogin(3);
  ASSERT_EQ(host.boxes.boxes.size(), 1u);
  EXPECT_EQ(host.boxes.boxes[0].text, "정액제 접속을 초과했습니다.     ");
  EXPECT_EQ(host.boxes.boxes[0].caption, "Error");
  EXPECT_EQ(host.calls, std::vector<std::string>({"refusedQuota", "clearBusy"}));
  EXPECT_FALSE(host.pending);

  host.calls.clear();
  receiveLogin(7);
  ASSERT_EQ(host.boxes.boxes.size(), 2u);
  EXPECT_EQ(host.boxes.boxes[1].text, "아이디 패스워드 오류 또는 네트워크 오류.     ");
  EXPECT_EQ(host.calls, std::vector<std::string>({"refused", "clearBusy"}));
  EXPECT_TRUE(connection.isOpen());  // the connection stays open
  EXPECT_TRUE(session.memberId.empty());
}

TEST_F(SessionFlowTest, RefusalAfterAReconnectOnlyShowsItsMessage) {
  // Logged in once: a later refusal must not bring the login controls back
  // over the main window (their hidden button would still take clicks).
  host.logged = true;
  for (int result : {3, 7}) {
    host.calls.clear();
    receiveLogin(result);
    EXPECT_EQ(host.calls, std::vector<std::string>({"clearBusy"})) << result;
  }
  ASSERT_EQ(host.boxes.boxes.size(), 2u);
  EXPECT_EQ(host.boxes.boxes[0].text, "정액제 접속을 초과했습니다.     ");
  EXPECT_EQ(host.boxes.boxes[1].text, "아이디 패스워드 오류 또는 네트워크 오류.     ");
}

TEST_F(SessionFlowTest, ConnectThatCannotStartTakesTheLostConnectionPath) {
  struct Case {
    const char* what;
    bool createFails;
    SocketError connectError;
  } cases[] = {
      {"no socket", true, SocketError::WouldBlock},
      {"unresolvable host", false, SocketError::Invalid},
  };
  for (const Case& c : cases) {
    connection.reset();
    host.calls.clear();
    host.boxes.boxes.clear();
    sockets.last().setCreateFails(c.createFails);
    sockets.last().setConnectResult(false, c.connectError);
    EXPECT_FALSE(flow.connectToServer()) << c.what;
    EXPECT_TRUE(host.boxes.boxes.empty()) << c.what << ": asked on the next turn, not inside";
    EXPECT_FALSE(connection.isOpen()) << c.what;

    // The member declines the first time, accepts the second: the second
    // attempt is made, and it can work.
    sockets.last().setCreateFails(false);
    sockets.last().setConnectResult(false, SocketError::WouldBlock);
    host.boxes.answers = {MessageAnswer::Ok};
    loop.runPending();
    ASSERT_EQ(host.boxes.boxes.size(), 1u) << c.what;
    EXPECT_EQ(host.boxes.boxes[0].text,
              "통신장애로 인하여 접속이 종료 되었습니다. \r\n\r\n 재 접속 하시겠습니까?     ");
    EXPECT_TRUE(connection.isOpen()) << c.what << ": connecting again";
    EXPECT_FALSE(host.pending);
  }
  host.boxes.answers = {MessageAnswer::Cancel};
  sockets.last().setConnectResult(false, SocketError::Invalid);
  flow.connectToServer();
  loop.runPending();
  EXPECT_EQ(host.calls, std::vector<std::string>({"end"}));
}

TEST_F(SessionFlowTest, RetryAnswerIsFollowedOnceAfterAPause) {
  receiveLogin(100);
  EXPECT_EQ(sentTypes(), std::vector<int>({0}));
  loop.advance(99);
  EXPECT_EQ(sentTypes(), std::vector<int>({0}));
  loop.advance(1);
  EXPECT_EQ(sentTypes(), std::vector<int>({0, 0}));
  EXPECT_TRUE(flow.retriedLogin());

  receiveLogin(100);
  loop.advance(1000);
  EXPECT_EQ(sentTypes(), std::vector<int>({0, 0}));
  EXPECT_TRUE(host.boxes.boxes.empty());
}

TEST_F(SessionFlowTest, SessionInfoAndCreditUpdateTheSession) {
  SessionInfo info;
  info.sessionNumber = 0x1234;
  receive(info.encode());
  EXPECT_EQ(connection.sessionNumber, 0x1234);
  EXPECT_EQ(session.sessionNumber, 0x1234);

  CreditBalance balance;
  balance.credit = -5;
  receive(balance.encode());
  EXPECT_EQ(session.credit, -5);
  EXPECT_EQ(host.calls, std::vector<std::string>({"repaint"}));
}

TEST_F(SessionFlowTest, NoticesShowOnlyWhenFlagged) {
  ServerNotice notice;
  notice.show = 0;
  notice.text = "점검 안내";
  receive(notice.encode());
  NoteNotice note;
  note.flag = 1;
  receive(note.encode());
  EXPECT_TRUE(host.boxes.boxes.empty());

  notice.show = 1;
  receive(notice.encode());
  ASSERT_EQ(host.boxes.boxes.size(), 1u);
  EXPECT_EQ(host.boxes.boxes[0].text, "점검 안내");
  EXPECT_EQ(host.boxes.boxes[0].caption, "알림");
  EXPECT_EQ(host.boxes.boxes[0].icon, MessageIcon::Warning);

  host.boxes.answers = {MessageAnswer::No, MessageAnswer::Yes};
  note.flag = 0;
  receive(note.encode());
  EXPECT_TRUE(host.calls.empty());
  receive(note.encode());
  EXPECT_EQ(host.calls, std::vector<std::string>({"memoList"}));
  EXPECT_EQ(host.boxes.boxes[1].text, "쪽지가 도착했습니다. 확인하시겠습니까?     ");
  EXPECT_EQ(host.boxes.boxes[1].caption, "Pomvale");
  EXPECT_EQ(host.boxes.boxes[1].buttons, MessageButtons::YesNo);
}

TEST(SessionStateTest, BirthYearFollowsTheCenturyDigit) {
  EXPECT_EQ(SessionState::birthYear("8501011234567"), 1985);
  EXPECT_EQ(SessionState::birthYear("8501012234567"), 1985);
  EXPECT_EQ(SessionState::birthYear("0501013234567"), 2005);
  EXPECT_EQ(SessionState::birthYear("0501014234567"), 2005);
  EXPECT_EQ(SessionState::birthYear(""), 2000);  // nothing to read: no crash

  SessionState state;
  SessionState::Login login;
  login.registrationNumber = "0501013234567";
  login.memberText = std::string(30, 'x');
  state.fillFromLogin(login, 2024);
  EXPECT_EQ(state.centuryDigit, 3);
  EXPECT_EQ(state.age, 20);
  EXPECT_EQ(state.memberText.size(), 20u);
}

}  // namespace
}  // namespace pom
