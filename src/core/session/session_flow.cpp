#include "core/session/session_flow.h"

#include "core/base/servers.h"
#include "core/hub/app_ports.h"
#include "core/hub/session_state.h"
#include "core/net/messages/replies.h"
#include "core/net/messages/requests.h"
#include "core/net/reply_dispatcher.h"
#include "core/ports/clock.h"
#include "core/ports/dialogs.h"
#include "core/ports/event_loop.h"
#include "core/ports/random.h"

namespace pom {

SessionFlow::SessionFlow(SessionHost& host, Connection& connection, SessionState& session,
                         ReplyDispatcher& dispatcher, const AppPorts& ports, const Servers& servers)
    : host_(host),
      connection_(connection),
      session_(session),
      dispatcher_(dispatcher),
      ports_(ports),
      servers_(servers) {
  connection_.setHandler(this);
}

SessionFlow::~SessionFlow() {
  connection_.setHandler(nullptr);
  if (retryTimer_ != 0) ports_.loop->stopTimer(retryTimer_);
  if (failedConnectCall_ != 0) ports_.loop->stopTimer(failedConnectCall_);
}

bool SessionFlow::connectToServer() {
  bool started = connection_.initialise();
  ports_.random->seed(ports_.clock->tickCount());
  const int r1 = ports_.random->next() % 2;
  const int r2 = ports_.random->next() % 2;
  if (started) {
    const auto port = static_cast<std::uint16_t>(ports_.loginPortBase + r2);
    // A started non-blocking connect reports false with would-block; its
    // outcome arrives as a connect notification. Any other failure means no
    // notification will ever come.
    started = connection_.connectTo(servers_.loginHost(r1), port) ||
              connection_.socket().lastError() == SocketError::WouldBlock;
  }
  if (started) return true;
  connection_.reset();
  if (failedConnectCall_ == 0) {
    failedConnectCall_ = ports_.loop->post([this] {
      failedConnectCall_ = 0;
      connectionLost();
    });
  }
  return false;
}

void SessionFlow::onRead(Connection& connection) {
  if (connection.receivePacket()) dispatcher_.dispatch(connection.body(), connection.bodyLength());
}

void SessionFlow::onConnect(Connection&) {
  loginStep();
}

void SessionFlow::onClose(Connection&) {
  connectionLost();
}

void SessionFlow::registerReplies() {
  const char* owner = "session";
  dispatcher_.on<LoginReply>(owner, [this](const LoginReply& m) { onLoginReply(m); });
  dispatcher_.on<SessionInfo>(owner, [this](const SessionInfo& m) { onSessionInfo(m); });
  dispatcher_.on<CreditBalance>(owner, [this](const CreditBalance& m) { onCreditBalance(m); });
  dispatcher_.on<ServerNotice>(owner, [this](const ServerNotice& m) { onServerNotice(m); });
  dispatcher_.on<NoteNotice>(owner, [this](const NoteNotice& m) { onNoteNotice(m); });
  dispatcher_.ignore(ReplyType::KeepAlive, owner);
  dispatcher_.ignore(ReplyType::Unused52, owner);
  dispatcher_.ignore(ReplyType::MoveFileReply, owner);
}

void SessionFlow::sendLogin() {
  LoginRequest request;
  request.memberId = host_.loginId();
  request.password = host_.loginPassword();
  const Bytes body = request.encode();
  connection_.sendMessage(body.data(), body.size());
}

void SessionFlow::loginStep() {
  if (!connection_.isOpen() || host_.loginPending()) return;
  host_.setLoginPending(true);
  sendLogin();
}

void SessionFlow::connectionLost() {
  MessageBoxRequest box;
  box.text = "통신장애로 인하여 접속이 종료 되었습니다. \r\n\r\n 재 접속 하시겠습니까?     ";
  box.caption = "Error";
  box.icon = MessageIcon::Error;
  box.buttons = MessageButtons::OkCancel;
  box.owner = DialogOwner::None;
  if (host_.dialogs().messageBox(box) == MessageAnswer::Ok) {
    host_.setLoginPending(false);
    connectToServer();
  } else {
    host_.endProgram();
  }
}

void SessionFlow::onLoginReply(const LoginReply& reply) {
  switch (reply.result) {
    case LoginReply::Result::Accepted: {
      SessionState::Login login;
      login.memberId = reply.memberId;
      login.memberText = reply.memberText;
      login.registrationNumber = reply.registrationNumber;
      login.flatRate = reply.flatRate;
      login.credit = reply.credit;
      login.valueB = reply.valueB;
      login.valueC = reply.valueC;
      login.valueD = reply.valueD;
      session_.fillFromLogin(login, host_.currentYear());
      host_.loginAccepted();
      if (!host_.loggedIn()) {
        host_.switchToMain();
        const Bytes body = NoteCheckRequest().encode();
        connection_.sendMessage(body.data(), body.size());
      }
      break;
    }
    case LoginReply::Result::FlatRateExhausted:
      host_.dialogs().show("정액제 접속을 초과했습니다.     ", "Error", MessageIcon::Error,
                           DialogOwner::TopWindow);
      // Once the main window stands, the login controls stay hidden: the
      // refusal of a reconnect only shows its message.
      if (!host_.loggedIn()) host_.loginRefusedQuota();
      break;
    case LoginReply::Result::Retry:
      if (!retriedLogin_) {
        retriedLogin_ = true;
        // A pause before the second attempt, without blocking the loop.
        retryTimer_ = ports_.loop->postDelayed(kLoginRetryDelayMs, [this] {
          retryTimer_ = 0;
          sendLogin();
        });
      }
      break;
    default:
      host_.dialogs().show("아이디 패스워드 오류 또는 네트워크 오류.     ", "Error",
                           MessageIcon::Error, DialogOwner::TopWindow);
      if (!host_.loggedIn()) host_.loginRefused();
      break;
  }
  host_.clearLoginBusy();
  host_.setLoginPending(false);
}

void SessionFlow::onSessionInfo(const SessionInfo& info) {
  connection_.sessionNumber = info.sessionNumber;
  session_.sessionNumber = info.sessionNumber;
}

void SessionFlow::onCreditBalance(const CreditBalance& balance) {
  session_.credit = balance.credit;
  host_.repaintMainWindow();
}

void SessionFlow::onServerNotice(const ServerNotice& notice) {
  if (notice.show != 1) return;
  host_.dialogs().show(notice.text, "알림", MessageIcon::Warning, DialogOwner::TopWindow);
}

void SessionFlow::onNoteNotice(const NoteNotice& notice) {
  if (!notice.notesWaiting()) return;
  const MessageAnswer answer =
      host_.dialogs().show("쪽지가 도착했습니다. 확인하시겠습니까?     ", "Pomvale",
                           MessageIcon::Warning, DialogOwner::TopWindow, MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes) host_.openMemoList();
}

}  // namespace pom
