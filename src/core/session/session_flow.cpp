#include "core/session/session_flow.h"

#include "core/hub/session_state.h"
#include "core/net/connection.h"
#include "core/net/messages/replies.h"
#include "core/net/messages/requests.h"
#include "core/net/reply_dispatcher.h"
#include "core/ports/dialogs.h"
#include "core/ports/event_loop.h"

namespace pom {

SessionFlow::SessionFlow(SessionHost& host, Connection& connection, SessionState& session,
                         EventLoop& loop, ReplyDispatcher& dispatcher)
    : host_(host), connection_(connection), session_(session), loop_(loop), dispatcher_(dispatcher) {
  connection_.setHandler(this);
}

SessionFlow::~SessionFlow() {
  connection_.setHandler(nullptr);
  if (retryTimer_ != 0) loop_.stopTimer(retryTimer_);
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
  ReplyDispatcher& dispatcher = dispatcher_;
  dispatcher.on<LoginReply>([this](const LoginReply& m) { onLoginReply(m); });
  dispatcher.on<SessionInfo>([this](const SessionInfo& m) { onSessionInfo(m); });
  dispatcher.on<CreditBalance>([this](const CreditBalance& m) { onCreditBalance(m); });
  dispatcher.on<ServerNotice>([this](const ServerNotice& m) { onServerNotice(m); });
  dispatcher.on<NoteNotice>([this](const NoteNotice& m) { onNoteNotice(m); });
  const auto ignore = [](const std::uint8_t*, std::size_t) {};
  dispatcher.setHandler(ReplyType::KeepAlive, ignore);
  dispatcher.setHandler(ReplyType::Unused52, ignore);
  dispatcher.setHandler(ReplyType::MoveFileReply, ignore);
}

void SessionFlow::sendLogin() {
  LoginRequest request;
  request.memberId = host_.memberId();
  request.password = host_.password();
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
    host_.reconnect();
  } else {
    host_.endProgram();
  }
}

void SessionFlow::onLoginReply(const LoginReply& reply) {
  switch (reply.result) {
    case LoginReply::kAccepted: {
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
    case LoginReply::kFlatRateExhausted:
      host_.dialogs().show("정액제 접속을 초과했습니다.     ", "Error", MessageIcon::Error,
                           DialogOwner::TopWindow);
      host_.loginRefusedQuota();
      break;
    case LoginReply::kRetry:
      if (!retriedLogin_) {
        retriedLogin_ = true;
        // A pause before the second attempt, without blocking the loop.
        retryTimer_ = loop_.postDelayed(kLoginRetryDelayMs, [this] {
          retryTimer_ = 0;
          sendLogin();
        });
      }
      break;
    default:
      host_.dialogs().show("아이디 패스워드 오류 또는 네트워크 오류.     ", "Error",
                           MessageIcon::Error, DialogOwner::TopWindow);
      host_.loginRefused();
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
