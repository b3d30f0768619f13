#include "core/net/reply_dispatcher.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/storage/progress_dialog.h"
#include "core/storage/term_extension_dialog.h"
#include "core/net/messages/replies.h"
#include "support/fake_ports.h"
#include "support/fake_views.h"

namespace pom {
namespace {

TEST(ReplyDispatcherTest, DispatchesByTypeAndDropsUnknownAndWrongLength) {
  ReplyDispatcher dispatcher;
  std::vector<std::size_t> credits;
  dispatcher.setHandler(ReplyType::CreditBalance,
                        [&](const std::uint8_t*, std::size_t n) { credits.push_back(n); });

  Bytes body = CreditBalance{}.encode();
  EXPECT_TRUE(dispatcher.dispatch(body.data(), body.size()));
  body.push_back(0);  // 16 bytes: not a CreditBalance
  EXPECT_FALSE(dispatcher.dispatch(body.data(), body.size()));
  EXPECT_EQ(credits, std::vector<std::size_t>({15}));

  Bytes unknown(12, 0);
  unknown[0] = 53;  // above the last type
  EXPECT_FALSE(dispatcher.dispatch(unknown.data(), unknown.size()));
  unknown[0] = 9;  // a type the client does not handle
  EXPECT_FALSE(dispatcher.dispatch(unknown.data(), unknown.size()));
  EXPECT_FALSE(dispatcher.dispatch(unknown.data(), 3));  // no type at all
  Bytes ticket = SessionInfo{}.encode();                 // known type, no handler registered
  EXPECT_FALSE(dispatcher.dispatch(ticket.data(), ticket.size()));
}

TEST(ReplyDispatcherTest, LaterSubsystemsAddAndReplaceBranches) {
  ReplyDispatcher dispatcher;
  int first = 0, second = 0;
  dispatcher.on<DownloadTicket>([&](const DownloadTicket&) { ++first; });
  dispatcher.on<DownloadTicket>([&](const DownloadTicket& t) { second += t.fileId; });
  DownloadTicket ticket;
  ticket.fileId = 7;
  Bytes body = ticket.encode();
  EXPECT_TRUE(dispatcher.dispatch(body.data(), body.size()));
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 7);
  body.pop_back();  // 517 bytes: ignored
  EXPECT_FALSE(dispatcher.dispatch(body.data(), body.size()));
  EXPECT_EQ(second, 7);
}

TEST(ReplyDispatcherTest, HandlerWorksOnItsOwnCopyOfTheBody) {
  ReplyDispatcher dispatcher;
  Bytes buffer = CreditBalance{}.encode();
  std::int32_t typeSeen = -1;
  dispatcher.setHandler(ReplyType::CreditBalance, [&](const std::uint8_t* body, std::size_t) {
    buffer.assign(buffer.size(), 0xEE);  // a re-entrant read overwrites the connection's buffer
    typeSeen = body[0];
  });
  dispatcher.dispatch(buffer.data(), buffer.size());
  EXPECT_EQ(typeSeen, 24);
}

TEST(ReplyDispatcherTest, ExtendTermReplyFillsAndOpensTheDialog) {
  FakeDialogs dialogs;
  FakeTermView view;
  TermExtensionDialog term;
  view.dialog = &term;
  term.attach(&view, &dialogs);
  ProgressDialog progress;
  FakeProgressView progressView;
  progress.attach(&progressView);
  ReplyDispatcher dispatcher;
  registerDialogBranches(dispatcher, term, progress);

  ExtendTermReply reply;
  reply.quotaBytes = 10485760;
  reply.usedBytes = 3145728;
  reply.result = 0;
  const Bytes body = reply.encode();
  dispatcher.dispatch(body.data(), body.size());
  EXPECT_TRUE(view.open);
  EXPECT_EQ(view.title, "기간 연장 알림");
  EXPECT_EQ(view.labels[kTermQuotaLabelId], "10MB");

  progress.openLoading();
  FolderList list;
  list.capacity = 30;
  const Bytes listing = list.encode();
  dispatcher.dispatch(listing.data(), listing.size());
  EXPECT_FALSE(progress.busy());
  EXPECT_FALSE(progressView.open);
}

}  // namespace
}  // namespace pom
