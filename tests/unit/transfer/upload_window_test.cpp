// The upload window's presenter with the real engines on fake sockets:
// tickets keyed by job, every index the service sends back checked, the
// completeness rule, stop in every bound state, the completion actions,
// a missing file, folder uploads, drops, speeds and the close question;
// and the module's wiring.
#include <gtest/gtest.h>

#include "core/hub/module_context.h"
#include "core/transfer/upload_module.h"
#include "upload_harness.h"

namespace pom::test {
namespace {

using State = UploadState;

TEST(UploadWindow, TheTicketReplyFindsItsJobAfterTheRowsMoved) {
  UploadHarness h;
  h.add("it's,a;b.txt");
  h.add("b.txt");
  h.window->start();
  h.tick();
  const auto requests = h.sent<UploadTicketRequest>();
  ASSERT_EQ(requests.size(), 1u) << "one slot, one request";
  EXPECT_EQ(requests[0].uploadRow, h.key(0));
  EXPECT_EQ(requests[0].fileName, "it!s!a!b.txt");
  EXPECT_EQ(requests[0].folderId, 5);
  const std::uint16_t keyOfA = h.key(0);

  h.view.selection = {0};
  h.window->onAction(TransferAction::MoveEnd);
  ASSERT_EQ(h.key(1), keyOfA);
  h.ticket(keyOfA, 100, 40);
  EXPECT_EQ(h.job(1).state, State::Connecting);
  EXPECT_EQ(h.job(1).sent, 40);
  EXPECT_EQ(h.job(1).serverFileId, 900 + keyOfA);
  EXPECT_EQ(h.job(0).state, State::Waiting) << "b is not touched";
  EXPECT_EQ(h.job(0).slot, -1);
  EXPECT_EQ(h.socket(0).connectedHost(), "127.0.0.3");
  EXPECT_EQ(h.socket(0).connectedPort(), kStoragePort);
}

TEST(UploadWindow, RepliesForNoWaitingJobOrFolderAreDropped) {
  UploadHarness h;
  h.add("a.txt");
  h.window->start();
  h.tick();
  const std::uint16_t key = h.key(0);
  h.ticket(static_cast<std::uint16_t>(key + 1), 100, 0);  // no such job
  h.ticket(0, 100, 0);
  EXPECT_TRUE(h.job(0).ticketPending);
  EXPECT_EQ(h.socket(0).connects(), 0);
  h.ticket(key, 100, 0);
  h.ticket(key, 100, 100);  // a second answer: the job no longer waits
  EXPECT_EQ(h.job(0).state, State::Connecting);
  EXPECT_EQ(h.socket(0).connects(), 1);

  h.fake.files.addFile("c:\\up\\photos\\p1.jpg", "jpeg");
  h.window->uploadLocalFolder("c:\\up\\photos\\", 7);
  const auto request = h.session.last<CreateFolderRequest>();
  ASSERT_TRUE(request);
  EXPECT_EQ(request->name, "photos");
  EXPECT_EQ(request->parentId, 7);
  EXPECT_TRUE(request->forUpload);
  EXPECT_EQ(request->sharingState, 'f');
  EXPECT_EQ(h.window->foldersPending(), 1);
  const std::uint16_t index = request->pendingIndex;
  struct Reply {
    const char* what;
    std::uint16_t index;
    std::uint8_t forUpload;
    std::uint8_t result;
    std::size_t jobs;
  } replies[] = {
      {"an index never asked for", static_cast<std::uint16_t>(index + 1), 1, 0, 1},
      {"not made for an upload", index, 0, 0, 1},
      {"not created", index, 1, 3, 1},
      {"created", index, 1, 0, 2},
      {"answered twice", index, 1, 0, 2},
  };
  for (const Reply& r : replies) {
    UploadFolderCreated reply;
    reply.folderId = 33;
    reply.pendingIndex = r.index;
    reply.forUpload = r.forUpload;
    reply.result = static_cast<UploadFolderCreated::Result>(r.result);
    h.window->onFolderCreated(reply);
    EXPECT_EQ(h.window->jobs().size(), r.jobs) << r.what;
  }
  EXPECT_EQ(h.job(1).folderId, 33);
  EXPECT_EQ(h.job(1).subFolder, "photos");
  EXPECT_EQ(h.window->foldersPending(), 0);
}

TEST(UploadWindow, OnlyTheSameFileHeldWholeIsComplete) {
  struct Case {
    const char* what;
    UploadTicket::Result result;
    std::int64_t size, held;
    State state;
    int connects;
    std::int64_t sent;
  } cases[] = {
      {"held whole", UploadTicket::Result::Go, 100, 100, State::Completed, 0, 100},
      {"part held: resumes", UploadTicket::Result::Go, 100, 40, State::Connecting, 1, 40},
      {"another file held whole", UploadTicket::Result::Go, 80, 80, State::Connecting, 1, 0},
      {"part of another file", UploadTicket::Result::Go, 200, 50, State::Connecting, 1, 0},
      {"more held than its size", UploadTicket::Result::Go, 50, 60, State::Failed, 0, 0},
      {"from nothing", UploadTicket::Result::FromNothing, 100, 100, State::Connecting, 1, 0},
      {"refused", static_cast<UploadTicket::Result>(3), 100, 0, State::Failed, 0, 0},
  };
  for (const Case& c : cases) {
    UploadHarness h;
    h.add("a.txt", 100);
    h.add("b.txt", 100);
    h.window->start();
    h.tick();
    h.ticket(h.key(0), c.size, c.held, c.result);
    EXPECT_EQ(h.job(0).state, c.state) << c.what;
    EXPECT_EQ(h.socket(0).connects(), c.connects) << c.what;
    EXPECT_EQ(h.job(0).sent, c.sent) << c.what;
    const TransferRow row = h.window->row(0);
    if (c.state == State::Connecting) {
      EXPECT_EQ(row.stateText, "대기") << c.what;
      continue;
    }
    EXPECT_EQ(row.stateText, c.state == State::Completed ? "완료" : "실패") << c.what;
    EXPECT_EQ(h.job(0).failure.empty(), c.state == State::Completed) << c.what;
    EXPECT_TRUE(h.window->settled()) << c.what << ": the slot is free";
    h.tick();
    EXPECT_EQ(h.job(1).slot, 0) << c.what << ": the next job takes the slot";
    if (c.state == State::Completed) {
      EXPECT_EQ(row.progressText, "100% ");
      EXPECT_EQ(h.view.scrolledTo, std::vector<int>({1}));
    }
  }
  UploadHarness h;
  h.add("a.txt", 100);
  h.window->start();
  h.tick();
  h.socket(0).setCreateFails(true);
  h.ticket(h.key(0), 100, 0);
  EXPECT_EQ(h.job(0).state, State::Failed);
  ASSERT_EQ(h.fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(h.fake.dialogs.boxes[0].text, "스토리지 접속에러.     ");
  EXPECT_EQ(h.fake.dialogs.boxes[0].caption, "Error");
  EXPECT_EQ(h.fake.dialogs.boxes[0].icon, MessageIcon::Error);
}

TEST(UploadWindow, StopEndsEveryBoundStateAndFreesTheSlot) {
  enum Phase { TicketPending, Connecting, Announced, Sending };
  for (Phase phase : {TicketPending, Connecting, Announced, Sending}) {
    UploadHarness h;
    h.add("a.txt", 5000);
    h.window->start();
    h.tick();
    if (phase >= Connecting) h.ticket(h.key(0), 5000, 0);
    if (phase >= Announced) h.connected(0);
    if (phase >= Sending) h.accept(0, 1000);
    h.fake.dialogs.answers = {MessageAnswer::Ok};
    h.window->onAction(TransferAction::Stop);
    EXPECT_EQ(h.fake.dialogs.lastText(),
              "현재 파일이 전송중입니다.\r\n\r\n전송을 중지 하시겠습니까?     ");
    EXPECT_EQ(h.job(0).state, State::Stopped) << phase;
    EXPECT_EQ(h.job(0).shownState, "중지") << phase;
    EXPECT_EQ(h.job(0).slot, -1) << phase;
    EXPECT_FALSE(h.job(0).ticketPending) << phase;
    EXPECT_FALSE(h.window->running()) << phase;
    const std::vector<std::uint32_t> types = h.sentTypes(0);
    const bool cancelled = std::find(types.begin(), types.end(), 2u) != types.end();
    EXPECT_EQ(cancelled, phase >= Announced) << phase;
    h.fake.loop.advance(kCancelGraceMs);
    EXPECT_TRUE(h.window->settled()) << phase << ": closed after the grace at the latest";
    h.window->start();
    h.tick();
    EXPECT_TRUE(h.job(0).ticketPending) << phase << ": starts again on the freed slot";
    EXPECT_EQ(h.sent<UploadTicketRequest>().size(), 2u) << phase;
  }
}

TEST(UploadWindow, CompletionActionsWaitWhileAJobConnectsOrIsAnnounced) {
  UploadHarness h;
  h.config.writeInt(ConfigKey::UpLoadCount, 2);
  h.add("a.txt", 100);
  h.window->onCheckBox(TransferCheckBox::CloseWhenDone, true);
  h.window->start();
  h.tick();
  h.ticket(h.key(0), 100, 0);
  for (int step = 0; step < 2; ++step) {
    if (step == 1) h.connected(0);
    h.tick();  // slot 1 is free and nothing is left to start
    EXPECT_EQ(h.job(0).state, step == 0 ? State::Connecting : State::Announced);
    EXPECT_TRUE(h.window->running()) << step;
    EXPECT_TRUE(h.window->exists()) << step;
    EXPECT_EQ(h.fake.profile.value("Config", "UpLoadWindowClose"), "<absent>") << step;
  }
  h.accept(0, 1 << 20);
  UploadDone done;
  done.value = 4;
  h.serve(0, done.encode());
  EXPECT_EQ(h.job(0).state, State::Completed);
  EXPECT_EQ(h.window->row(0).progressText, "100% ");
  ASSERT_EQ(h.sent<UploadFinished>().size(), 1u);
  h.tick();
  EXPECT_FALSE(h.window->exists()) << "closed when done";
  EXPECT_EQ(h.fake.profile.value("Config", "UpLoadWindowClose"), "1");
}

TEST(UploadWindow, AMissingFileFailsAloneAndTheNextOneStarts) {
  UploadHarness h;
  h.add("gone.txt");
  h.add("b.txt");
  ASSERT_TRUE(h.fake.files.remove("c:\\up\\gone.txt"));
  h.window->start();
  h.tick();
  EXPECT_EQ(h.job(0).state, State::Failed);
  EXPECT_EQ(h.job(0).failure, kUploadUnreadableText);
  EXPECT_EQ(h.window->row(0).stateText, "실패");
  EXPECT_FALSE(h.fake.files.has("c:\\up\\gone.txt")) << "never created";
  EXPECT_TRUE(h.job(1).ticketPending);
  const auto requests = h.sent<UploadTicketRequest>();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].uploadRow, h.key(1));
}

TEST(UploadWindow, FolderUploadsTakePlainFilesAndDescendOnlyWhenAsked) {
  UploadHarness h;
  h.fake.files.addFile("c:\\up\\my,album\\1.jpg", "one");
  h.fake.files.addFile("c:\\up\\my,album\\2.jpg", "");
  h.fake.files.addFile("c:\\up\\my,album\\sub\\3.jpg", "three");
  EXPECT_EQ(h.window->addUploadFolder("c:\\up\\my,album\\", 9), 1);
  ASSERT_EQ(h.window->jobs().size(), 1u);
  EXPECT_EQ(h.job(0).localPath, "c:\\up\\my,album\\1.jpg");
  EXPECT_EQ(h.job(0).subFolder, "my!album");
  EXPECT_EQ(h.job(0).folderId, 9);
  EXPECT_EQ(h.fake.files.contents("c:\\up\\my,album\\1.jpg"), "one") << "only read";

  UploadHarness tree;
  tree.fake.files.addFile("c:\\up\\top\\t.txt", "t");
  tree.fake.files.addFile("c:\\up\\top\\sub\\s.txt", "s");
  tree.window->uploadLocalFolder("c:\\up\\top", 7, true);
  UploadFolderCreated reply;
  reply.folderId = 40;
  reply.forUpload = 1;
  reply.pendingIndex = tree.session.last<CreateFolderRequest>()->pendingIndex;
  tree.window->onFolderCreated(reply);
  const auto sub = tree.session.last<CreateFolderRequest>();
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub->name, "sub");
  EXPECT_EQ(sub->parentId, 40) << "below the new folder";
  reply.folderId = 41;
  reply.pendingIndex = sub->pendingIndex;
  tree.window->onFolderCreated(reply);
  ASSERT_EQ(tree.window->jobs().size(), 2u);
  EXPECT_EQ(tree.job(1).localPath, "c:\\up\\top\\sub\\s.txt");
  EXPECT_EQ(tree.job(1).folderId, 41);
  EXPECT_EQ(tree.window->foldersPending(), 0);
}

TEST(UploadWindow, DropsQueuePlainFilesIntoTheFolderShown) {
  UploadHarness h;
  h.fake.files.addFolder("c:\\up\\dir");
  h.fake.files.addFile("c:\\up\\empty", "");
  h.fake.files.addFile("c:\\up\\f.txt", "five!");
  h.window->onFilesDropped({"c:\\up\\dir", "c:\\up\\empty", "c:\\up\\missing"});
  EXPECT_TRUE(h.window->jobs().empty());
  EXPECT_EQ(h.link.notices, 0);
  h.window->onFilesDropped({"c:\\up\\dir", "c:\\up\\f.txt"});
  ASSERT_EQ(h.window->jobs().size(), 1u);
  EXPECT_EQ(h.job(0).folderId, 7);
  EXPECT_EQ(h.job(0).subFolder, "폼베일/내웹폴더/사진/");
  EXPECT_EQ(h.link.notices, 1);
  EXPECT_EQ(h.link.noticeHeight, UploadLink::kUploadWindowNoticeHeight);
  EXPECT_TRUE(h.view.opened);
}

TEST(UploadWindow, SpeedsSmoothSlowlyFromTheirFirstValue) {
  UploadHarness h;
  h.add("big.bin", 4 << 20);
  h.window->start();
  h.tick();  // 800 ms
  h.toSending(0, 0);
  EXPECT_EQ(h.window->row(0).speedText, "");
  h.window->refreshDisplay();  // no time passed: nothing divides by it
  h.fake.loop.advance(1600);   // 2,400 ms: one update over 1,600 ms
  ASSERT_EQ(h.job(0).sent, 1 << 20);
  EXPECT_EQ(h.window->row(0).speedText, "5.1Mbps") << "1,024 KB * 8 / 1,600 ms";
  EXPECT_EQ(h.window->row(0).progressText, "25% ");

  for (int i = 0; i < 2; ++i) {
    h.serve(0, ChunkAck().encode());
    h.fake.loop.advance(kChunkPauseMs);
  }
  h.fake.loop.advance(1600 - 2 * kChunkPauseMs);  // 4,000 ms
  EXPECT_EQ(h.window->row(0).speedText, "5.2Mbps") << "(1,024 * 49 + 2,048) / 50 KB";
  EXPECT_EQ(h.window->row(0).progressText, "75% ");
  EXPECT_EQ(h.window->totals().amounts, "3MB/4MB");
}

TEST(UploadWindow, ClosingAsksWhileJobsAreActive) {
  UploadHarness h;
  h.add("a.txt");
  h.fake.dialogs.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
  h.window->onCloseRequested();
  EXPECT_TRUE(h.window->exists());
  EXPECT_EQ(h.fake.dialogs.lastText(),
            "업로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ");
  h.window->onCloseRequested();
  EXPECT_FALSE(h.window->exists());
  EXPECT_TRUE(h.window->jobs().empty());
  h.window->open();
  h.window->onCloseRequested();
  EXPECT_EQ(h.fake.dialogs.boxes.size(), 2u) << "nothing active: no question";
  EXPECT_FALSE(h.window->exists());
}

class UploadFrontEnd : public FakeFrontEnd {
 public:
  FakeTransferWindowView* upload = nullptr;
  std::unique_ptr<TransferWindowView> createTransferWindowView(TransferKind kind,
                                                               TransferWindowInput&) override {
    if (kind != TransferKind::Upload) return nullptr;
    auto view = std::make_unique<FakeTransferWindowView>();
    upload = view.get();
    return view;
  }
};

TEST(UploadModule, QueuesIntoTheFolderShownAndTakesRepliesFromTheDispatcher) {
  FakePorts fake;
  ModuleContext context{fake.ports()};
  FakeSessionLink session;
  FakeMainWindowLink main;
  ShownFolder storage;
  UploadFrontEnd front;
  context.provide<SessionLink>(session);
  context.provide<MainWindowLink>(main);
  context.provide<StorageLink>(storage);
  auto module = std::make_unique<UploadModule>(context);
  ASSERT_TRUE(module->connect());
  for (Stage stage : kCreationStages) module->create(stage);
  front.offerViews(context);
  module->attachViews();
  ASSERT_NE(front.upload, nullptr);

  UploadLink& link = *context.find<UploadLink>();
  fake.files.addFile("c:\\up\\a.txt", "abc");
  EXPECT_FALSE(link.uploadsPending());
  EXPECT_TRUE(link.queueFile("c:\\up\\a.txt"));
  EXPECT_TRUE(front.upload->opened);
  EXPECT_TRUE(link.uploadsPending());
  EXPECT_EQ(module->window().jobs()[0].folderId, 7);
  link.noteUploadStarted(UploadLink::kUploadWindowNoticeHeight);
  link.noteUploadStarted(UploadLink::kNoticeHeight);
  ASSERT_EQ(fake.shell.browsers.size(), 1u) << "the notice once per run";
  EXPECT_EQ(fake.shell.browsers[0].width, 460);
  EXPECT_EQ(fake.shell.browsers[0].height, UploadLink::kUploadWindowNoticeHeight);

  module->window().start();
  EXPECT_TRUE(link.transferring());
  fake.loop.advance(kUploadTimerMs);
  UploadTicket ticket;
  ticket.storageHost = "127.0.0.9";
  ticket.storagePort = 7202;
  ticket.uploadRow = module->window().jobs()[0].ticketKey;
  ticket.fileSize = 3;
  const Bytes body = ticket.encode();
  context.replies().dispatch(body.data(), body.size());
  EXPECT_EQ(static_cast<FakeSocket&>(module->sessions()[0].socket()).connectedHost(), "127.0.0.9");

  fake.files.addFile("c:\\up\\dir\\b.txt", "b");
  link.uploadLocalFolder("c:\\up\\dir");
  const auto request = session.last<CreateFolderRequest>();
  ASSERT_TRUE(request);
  EXPECT_EQ(request->parentId, 7);
  UploadFolderCreated made;
  made.folderId = 50;
  made.forUpload = 1;
  made.pendingIndex = request->pendingIndex;
  const Bytes reply = made.encode();
  context.replies().dispatch(reply.data(), reply.size());
  EXPECT_EQ(module->window().jobs().size(), 2u);

  for (Stage stage : kTeardownStages) module->destroy(stage);
  module.reset();
  fake.loop.advance(1000);  // nothing of the module may run any more
}

}  // namespace
}  // namespace pom::test
