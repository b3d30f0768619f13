// The download engine over fake sockets: the data session's handshake and
// messages, resume offsets, the ticket branches, and every way a transfer
// ends (each sending TransferEnded once, after its connection closed).
#include <gtest/gtest.h>

#include "download_harness.h"

namespace pom::test {
namespace {

using State = JobState;

// The bodies the client framed onto a socket.
std::vector<Bytes> bodiesSent(const FakeSocket& socket) {
  std::vector<Bytes> bodies;
  const Bytes& s = socket.sent();
  std::size_t at = 0;
  while (at + 12 <= s.size()) {
    const std::uint32_t total = s[at + 4] | s[at + 5] << 8 | s[at + 6] << 16 | s[at + 7] << 24;
    bodies.emplace_back(s.begin() + at + 8, s.begin() + at + total - 4);
    at += total;
  }
  return bodies;
}

Bytes counted(std::int32_t n, const std::string& bytes) {
  Bytes body = {5, 0, 0, 0};
  for (int i = 0; i < 4; ++i) body.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
  for (char c : bytes) body.push_back(static_cast<std::uint8_t>(c));
  return body;
}

// One job bound to slot 0 and waiting for its ticket.
void bound(DownloadHarness& h, std::int32_t id, const std::string& name, std::int64_t size) {
  h.add(id, name, size);
  h.window->start();
  h.tick();
  ASSERT_EQ(h.job(0).state, State::Requesting);
}

TEST(DownloadEngine, ResumesAtTheBytesOnDiskAndEndsOnceAfterTheLastByte) {
  for (bool withView : {true, false}) {
    DownloadHarness h(withView);
    h.fake.files.addFile("c:\\down\\a.txt", "abc");
    bound(h, 9, "a.txt", 6);
    h.add(10, "b.txt", 1);
    h.ticket(9);
    EXPECT_EQ(h.socket(0).connectedHost(), "127.0.0.5");
    EXPECT_EQ(h.socket(0).connectedPort(), 7201);
    EXPECT_EQ(h.session.member.flatRate, 2);
    h.connected(0);
    const auto sent = bodiesSent(h.socket(0));
    ASSERT_EQ(sent.size(), 1u);
    const auto request = DownloadRequest::decode(sent[0].data(), sent[0].size());
    ASSERT_TRUE(request);
    EXPECT_EQ(request->offset, 3) << "the bytes already on disk";
    EXPECT_EQ(request->path, "/store/srv/9");
    EXPECT_EQ(request->memberId, "demo1");
    EXPECT_EQ(request->password, "pw");
    EXPECT_EQ(request->sessionNumber, 77);
    EXPECT_EQ(h.job(0).state, State::Transferring);

    h.accept(0, 9, 6);
    h.serve(0, KeepAlive().encode());
    h.serve(0, SessionInfo{5}.encode());
    h.data(0, "defXYZ");  // more than the file lacks
    EXPECT_EQ(h.file("a.txt"), "abcdef") << "writes stop at the file's size";
    EXPECT_EQ(h.job(0).state, State::Completed);
    EXPECT_FALSE(h.socket(0).isOpen());
    EXPECT_FALSE(h.pool.busy(0));
    EXPECT_EQ(h.transferEnds(), 0) << "after the pause";
    h.fake.loop.advance(kTransferEndedDelayMs);
    EXPECT_EQ(h.transferEnds(), 1);
    h.tick();
    EXPECT_EQ(h.sent<DownloadTicketRequest>().back().fileId, 10) << "the next job follows";
    h.fake.loop.advance(10000);
    EXPECT_EQ(h.transferEnds(), 1) << "exactly once";
  }
}

TEST(DownloadEngine, RefusalsMarkTheJobUnavailableAndEndTheTransferOnce) {
  struct Case {
    const char* what;
    Bytes reply;
  } cases[] = {
      {"file refused", FileRefused().encode()},
      {"accept with refusal flag", DownloadAccept{10, 9, 1}.encode()},
      {"accept for file 0", DownloadAccept{10, 0, 0}.encode()},
      {"accept of size 0", DownloadAccept{0, 9, 0}.encode()},
      {"credit info", CreditInfo{123, 1}.encode()},
  };
  for (const Case& c : cases) {
    DownloadHarness h;
    bound(h, 9, "a.txt", 10);
    h.ticket(9);
    h.connected(0);
    h.serve(0, c.reply);
    EXPECT_EQ(h.job(0).state, State::Unavailable) << c.what;
    EXPECT_EQ(h.job(0).shownState, "저작권 위배 또는 복구 중 파일") << c.what;
    EXPECT_FALSE(h.pool.busy(0)) << c.what;
    EXPECT_FALSE(h.socket(0).isOpen()) << c.what;
    h.fake.loop.advance(1000);
    EXPECT_EQ(h.transferEnds(), 1) << c.what;
  }
}

TEST(DownloadEngine, AFileDataWhoseCountDoesNotMatchItsBodyWritesNothing) {
  struct Case {
    const char* what;
    Bytes body;
  } cases[] = {
      {"count above the body", counted(9, "abc")},
      {"count below the body", counted(2, "abc")},
      {"negative count", counted(-1, "abc")},
  };
  for (const Case& c : cases) {
    DownloadHarness h;
    bound(h, 9, "a.txt", 10);
    h.begin(0, 9, 10);
    h.serve(0, c.body);
    EXPECT_EQ(h.file("a.txt"), "") << c.what;
    EXPECT_FALSE(h.socket(0).isOpen()) << c.what;
    EXPECT_EQ(h.job(0).state, State::Stopped) << c.what;
    EXPECT_FALSE(h.pool.busy(0)) << c.what;
    h.fake.loop.advance(1000);
    EXPECT_EQ(h.transferEnds(), 1) << c.what;
  }
}

TEST(DownloadEngine, ADroppedConnectionStopsTheJobAndRetriesTwiceFromTheBytesOnDisk) {
  DownloadHarness h;
  bound(h, 9, "a.txt", 10);
  h.begin(0, 9, 10);
  h.data(0, "abcd");
  for (int drop = 1; drop <= 3; ++drop) {
    h.socket(0).deliver(SocketEvent::Close);
    EXPECT_EQ(h.job(0).state, State::Stopped) << "a drop is not a refusal";
    EXPECT_FALSE(h.pool.busy(0));
    h.fake.loop.advance(kRetryDelayMs + kStartTimerMs);
    EXPECT_EQ(h.transferEnds(), drop);
    const auto tickets = h.sent<DownloadTicketRequest>();
    if (drop < 3) {
      ASSERT_EQ(tickets.size(), std::size_t(drop + 1)) << drop;
      EXPECT_EQ(tickets.back().missingBytes, 6);
      h.ticket(9);
      h.connected(0);
      EXPECT_EQ(DownloadRequest::decode(bodiesSent(h.socket(0)).back().data(),
                                        bodiesSent(h.socket(0)).back().size())
                    ->offset,
                4);
    } else {
      EXPECT_EQ(tickets.size(), 3u) << "two retries without progress, then the member decides";
    }
  }
  h.window->onAction(TransferAction::Stop);
  h.window->start();
  h.tick();
  EXPECT_EQ(h.job(0).state, State::Requesting) << "the start button frees it";
}

TEST(DownloadEngine, AFileThatCannotBeOpenedEndsItsTransferAndTheQueueMovesOn) {
  DownloadHarness h;
  h.fake.files.addFile("c:\\down\\x", "a file where the sub-folder should be");
  h.add(9, "a.txt", 10, "x");
  h.add(10, "b.txt", 10);
  h.window->start();
  h.tick();
  h.ticket(9);
  h.connected(0);
  EXPECT_EQ(h.fake.dialogs.lastText(), "디스크에러 하드디스크을 점검해주세요.     ");
  EXPECT_FALSE(h.socket(0).isOpen());
  EXPECT_FALSE(h.pool.busy(0));
  EXPECT_TRUE(bodiesSent(h.socket(0)).empty()) << "no request without a file";
  h.fake.loop.advance(kTransferEndedDelayMs);
  EXPECT_EQ(h.transferEnds(), 1);
  h.tick();
  EXPECT_EQ(h.job(1).state, State::Requesting);
  EXPECT_EQ(h.job(0).state, State::Stopped);
}

TEST(DownloadEngine, AFailedWriteStopsEverythingAndEndsTheTransferOnce) {
  DownloadHarness h;
  h.fake.files.failWritesBeyond = 2;
  bound(h, 9, "a.txt", 10);
  h.begin(0, 9, 10);
  h.data(0, "abcd");
  EXPECT_EQ(h.fake.dialogs.lastText(), "디스크에러 하드디스크을 점검해주세요.     ");
  EXPECT_EQ(h.job(0).state, State::Stopped);
  EXPECT_FALSE(h.window->running());
  h.fake.loop.advance(1000);
  EXPECT_EQ(h.transferEnds(), 1);
}

TEST(DownloadEngine, CreditShortageStopsEverythingWhenForcedOrWhenNothingIsLeft) {
  struct Case {
    std::uint8_t force;
    std::int64_t credit;
    std::uint16_t flatRate;
    const char* text;  // nullptr: nothing happens
  } cases[] = {
      {1, 500, 1, "패킷이 모자랍니다. 충전후 이용해 주세요!     "},
      {0, -5, 0, "패킷이 모자랍니다. 충전후 이용해 주세요!"},
      {0, 10, 0, nullptr},
      {0, 0, 1, nullptr},
  };
  for (const Case& c : cases) {
    DownloadHarness h;
    bound(h, 9, "a.txt", 10);
    h.begin(0, 9, 10);
    h.serve(0, CreditShortage{c.credit, c.flatRate, c.force}.encode());
    EXPECT_EQ(h.session.member.credit, std::max<std::int64_t>(0, c.credit));
    if (c.text == nullptr) {
      EXPECT_TRUE(h.fake.dialogs.boxes.empty());
      EXPECT_EQ(h.job(0).state, State::Transferring);
      continue;
    }
    ASSERT_EQ(h.fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(h.fake.dialogs.boxes[0].text, c.text);
    EXPECT_EQ(h.fake.dialogs.boxes[0].caption, "Pomvale");
    EXPECT_EQ(h.job(0).state, State::Stopped);
    EXPECT_FALSE(h.window->running());
  }
}

TEST(DownloadEngine, TicketsThatDoNotGrantTheFileFailOnlyTheirJob) {
  {
    DownloadHarness h;
    bound(h, 9, "a.txt", 10);
    h.ticket(9, DownloadTicket::Result::Unavailable);
    EXPECT_EQ(h.job(0).state, State::Unavailable);
    EXPECT_EQ(h.job(0).shownState, "저작권 위배 또는 복구 중 파일");
    EXPECT_FALSE(h.pool.busy(0));
    EXPECT_EQ(h.socket(0).connects(), 0);
    h.window->onColumnClick(2);
    EXPECT_EQ(h.job(0).shownState, "삭제된파일") << "the list drawn again";
  }
  {
    DownloadHarness h;
    bound(h, 9, "a.txt", 10);
    h.add(10, "b.txt", 10);
    h.ticket(9, static_cast<DownloadTicket::Result>(7));
    EXPECT_EQ(h.fake.dialogs.lastText(), "예상치 못한 오류 고객센터에 문의해주세요!     ");
    EXPECT_FALSE(h.pool.busy(0));
    EXPECT_TRUE(h.window->exists()) << "the other jobs stay";
    h.tick();
    EXPECT_EQ(h.job(1).state, State::Requesting);
  }
  {
    DownloadHarness h;
    bound(h, 9, "a.txt", 10);
    h.socket(0).setCreateFails(true);
    h.ticket(9);
    EXPECT_EQ(h.fake.dialogs.lastText(), "다운로드을 다시 시작하여주세요.     ");
    EXPECT_EQ(h.job(0).state, State::Stopped);
    EXPECT_FALSE(h.pool.busy(0));
    EXPECT_TRUE(h.window->exists());
  }
}

TEST(DownloadEngine, APaymentDemandStopsAndDiscardsEverything) {
  DownloadHarness h;
  bound(h, 9, "a.txt", 10);
  h.add(10, "b.txt", 10);
  h.window->onConcurrencyChosen(1);
  h.tick();
  h.begin(0, 9, 10);
  h.ticket(10, DownloadTicket::Result::PaymentNeeded);
  EXPECT_TRUE(h.window->jobs().empty());
  EXPECT_FALSE(h.window->running());
  EXPECT_FALSE(h.window->exists());
  EXPECT_FALSE(h.view.opened);
  EXPECT_FALSE(h.socket(0).isOpen());
  EXPECT_FALSE(h.pool.busy(0) || h.pool.busy(1));
  ASSERT_EQ(h.fake.shell.launches.size(), 1u);
  EXPECT_EQ(h.fake.shell.launches[0].file, "IEXPLORE.EXE");
  EXPECT_NE(h.fake.shell.launches[0].parameters.find("/payment/pay.asp?userid=demo1&md6="),
            std::string::npos);
  h.fake.loop.advance(1000);
  EXPECT_EQ(h.transferEnds(), 1) << "the one open transfer";
}

}  // namespace
}  // namespace pom::test
