// The download queue's rules through the download window: scheduling,
// resume by file length, duplicates, removals, reordering, sorting, the
// concurrency limit, and where server names may land on disk.
#include <gtest/gtest.h>

#include "core/base/local_path.h"
#include "download_harness.h"

namespace pom::test {
namespace {

using State = JobState;

TEST(DownloadQueue, ACompleteLocalFileIsDoneWithoutTrafficAndTheNextJobStartsInTheSamePass) {
  DownloadHarness h;
  h.fake.files.addFile("c:\\down\\done.bin", std::string(100, 'x'));
  h.add(1, "done.bin", 100);
  h.add(2, "next.bin", 50);
  h.window->start();
  h.tick();
  EXPECT_EQ(h.job(0).state, State::Completed);
  EXPECT_EQ(h.job(0).received, 100);
  EXPECT_EQ(h.job(1).state, State::Requesting);
  EXPECT_EQ(h.job(1).slot, 0) << "the slot of the complete file was given back";
  const auto tickets = h.sent<DownloadTicketRequest>();
  ASSERT_EQ(tickets.size(), 1u);
  EXPECT_EQ(tickets[0].fileId, 2);
  EXPECT_EQ(tickets[0].missingBytes, 50);
}

TEST(DownloadQueue, ResumesByTheBytesOnDiskAndNeverReusesALargerFile) {
  struct Case {
    const char* what;
    int onDisk;  // -1: no file
    State state;
    const char* path;
    std::int64_t missing;
  } cases[] = {
      {"no file", -1, State::Requesting, "c:\\down\\a.bin", 100},
      {"empty file", 0, State::Requesting, "c:\\down\\a.bin", 100},
      {"partial file", 40, State::Requesting, "c:\\down\\a.bin", 60},
      {"exact size", 100, State::Completed, "c:\\down\\a.bin", -1},
      {"larger file", 150, State::Requesting, "c:\\down\\a (1).bin", 100},
  };
  for (const Case& c : cases) {
    DownloadHarness h;
    if (c.onDisk >= 0) h.fake.files.addFile("c:\\down\\a.bin", std::string(c.onDisk, 'o'));
    h.add(7, "a.bin", 100);
    h.window->start();
    h.tick();
    EXPECT_EQ(h.job(0).state, c.state) << c.what;
    EXPECT_EQ(h.job(0).localPath, c.path) << c.what;
    const auto tickets = h.sent<DownloadTicketRequest>();
    EXPECT_EQ(tickets.empty() ? -1 : tickets[0].missingBytes, c.missing) << c.what;
    if (c.onDisk >= 0) {
      EXPECT_EQ(h.file("a.bin").size(), std::size_t(c.onDisk)) << c.what << ": never cut";
    }
  }
}

TEST(DownloadQueue, WithALimitOfOneNoSecondJobStartsWhileSlotZeroIsBusy) {
  DownloadHarness h;
  for (int id = 1; id <= 3; ++id) h.add(id, "f" + std::to_string(id), 10);
  h.window->start();
  for (int i = 0; i < 3; ++i) h.tick();
  EXPECT_EQ(h.job(0).state, State::Requesting);
  EXPECT_EQ(h.job(1).state, State::Waiting);
  EXPECT_EQ(h.sent<DownloadTicketRequest>().size(), 1u);
  EXPECT_FALSE(h.pool.busy(1));

  h.window->onConcurrencyChosen(1);
  h.tick();
  h.tick();
  EXPECT_EQ(h.job(1).slot, 1);
  EXPECT_EQ(h.job(2).state, State::Waiting) << "at most one start per tick, and only two slots";
  EXPECT_EQ(h.fake.profile.value("Config", "DownLoadCount"), "2");

  // Lowering the limit stops the job on slot 1 and gives the slot back.
  h.window->onConcurrencyChosen(0);
  EXPECT_EQ(h.job(1).state, State::Stopped);
  EXPECT_FALSE(h.pool.busy(1));
  EXPECT_EQ(h.job(0).state, State::Requesting);
}

TEST(DownloadQueue, AStoppedJobEarlierInTheQueueStartsBeforeALaterWaitingOne) {
  DownloadHarness h;
  h.add(1, "first", 10);
  h.add(2, "second", 10);
  h.window->start();
  h.tick();
  h.view.selection = {0};
  h.window->onAction(TransferAction::StopSelected);
  EXPECT_EQ(h.job(0).state, State::Stopped);
  EXPECT_EQ(h.job(0).shownState, "중지");
  EXPECT_FALSE(h.pool.busy(0)) << "a job still waiting for its ticket gives its slot back";
  h.tick();
  EXPECT_EQ(h.job(0).state, State::Requesting);
  EXPECT_EQ(h.job(1).state, State::Waiting);
  // Its late first ticket names a job that asked again: only the newer
  // request's state counts, and the stale one of a removed job is ignored.
  h.view.selection = {0};
  h.window->onAction(TransferAction::StopSelected);
  h.ticket(1);
  EXPECT_EQ(h.socket(0).connects(), 0) << "a ticket for a job no longer requesting is ignored";
}

TEST(DownloadQueue, DuplicatesAreTheSameLocalPathInAnyLetterCase) {
  DownloadHarness h;
  h.add(1, "Movie.AVI", 10);
  h.add(2, "movie.avi", 10);
  h.add(3, "web\\movie.avi", 10);  // the same base name
  h.add(4, "movie.avi", 10, "sub");
  h.add(5, "MOVIE.avi", 10, "SUB");
  ASSERT_EQ(h.window->jobs().size(), 2u);
  EXPECT_EQ(h.job(1).subFolder, "sub");
}

TEST(DownloadQueue, TransferringJobsSurviveRemovalsAndRemovedOnesGiveTheirSlotsBack) {
  DownloadHarness h;
  h.fake.files.addFile("c:\\down\\done", "xx");
  h.add(1, "moving", 10);
  h.add(2, "done", 2);
  h.add(3, "asking", 10);
  h.window->onConcurrencyChosen(2);
  h.window->start();
  h.tick();
  h.begin(0, 1, 10);  // job 1 transfers on slot 0
  h.tick();           // "done" completes on disk, "asking" binds slot 1
  ASSERT_EQ(h.job(0).state, State::Transferring);
  ASSERT_EQ(h.job(1).state, State::Completed);
  ASSERT_EQ(h.job(2).slot, 1);

  h.window->onAction(TransferAction::RemoveCompleted);
  EXPECT_EQ(h.window->jobs().size(), 2u);
  h.view.selection = {0, 1};
  h.window->onAction(TransferAction::DeleteSelected);
  ASSERT_EQ(h.window->jobs().size(), 1u);
  EXPECT_EQ(h.job(0).name, "moving");
  EXPECT_FALSE(h.pool.busy(1));
  EXPECT_EQ(h.peers.dropped, (std::vector<std::int32_t>{2, 3}));
  EXPECT_EQ(h.window->queue().queuedBytes(), 10);
}

TEST(DownloadQueue, MovesAndDragsKeepTheMovedRowsSelected) {
  struct Case {
    const char* what;
    TransferAction action;  // SelectAll stands for a drag before row 0
    std::vector<int> selected;
    std::string order;
    std::vector<int> after;
  } cases[] = {
      {"top", TransferAction::MoveTop, {2, 4}, "ceabd", {0, 1}},
      {"end", TransferAction::MoveEnd, {0, 2}, "bdeac", {3, 4}},
      {"up", TransferAction::MoveUp, {0, 2, 3}, "acdbe", {0, 1, 2}},
      {"down", TransferAction::MoveDown, {1, 4}, "acbde", {2, 4}},
      {"drag", TransferAction::SelectAll, {3, 4}, "deabc", {0, 1}},
  };
  for (const Case& c : cases) {
    DownloadHarness h;
    for (char n = 'a'; n <= 'e'; ++n) h.add(n, std::string(1, n), 1);
    h.view.selection = c.selected;
    if (c.action == TransferAction::SelectAll) {
      h.window->onRowsDragged(0);
    } else {
      h.window->onAction(c.action);
    }
    std::string order;
    for (const TransferJob& job : h.window->jobs()) order += job.name;
    EXPECT_EQ(order, c.order) << c.what;
    EXPECT_EQ(h.view.selection, c.after) << c.what;
  }
}

TEST(DownloadQueue, ColumnClicksShareOneDirection) {
  DownloadHarness h;
  h.add(1, "b", 5);
  h.add(2, "c", 50);
  h.add(3, "a", 500);
  const auto names = [&h] {
    std::string s;
    for (const TransferJob& job : h.window->jobs()) s += job.name;
    return s;
  };
  h.window->onColumnClick(0);
  EXPECT_EQ(names(), "abc") << "the first click sorts names from lowest to highest";
  h.window->onColumnClick(0);
  EXPECT_EQ(names(), "cba");
  h.window->onColumnClick(4);
  EXPECT_EQ(names(), "cba") << "no sort key, no flip";
  h.window->onColumnClick(1);
  EXPECT_EQ(names(), "acb") << "two flips later the flag is clear: sizes descend";

  DownloadHarness fresh;
  fresh.add(1, "b", 5);
  fresh.add(2, "c", 50);
  fresh.add(3, "a", 500);
  fresh.window->onColumnClick(1);
  EXPECT_EQ(fresh.job(0).name, "a") << "a first click on the size puts the largest first";
}

TEST(DownloadQueue, ServerNamesStayInsideTheDownloadFolder) {
  struct Case {
    const char* name;
    const char* sub;
    const char* path;  // nullptr: the job fails
  } cases[] = {
      {"..\\..\\evil.exe", "", "c:\\down\\evil.exe"},
      {"c:\\windows\\x.dll", "", "c:\\down\\x.dll"},
      {"CON", "", nullptr},
      {"a?b", "", nullptr},
      {"dots.", "", nullptr},
      {"..", "", nullptr},
      {"ok.txt", "..\\up", nullptr},
      {"ok.txt", "a/b", "c:\\down\\a\\b\\ok.txt"},
  };
  for (const Case& c : cases) {
    DownloadHarness h;
    h.add(1, c.name, 10, c.sub);
    h.window->start();
    h.tick();
    if (c.path == nullptr) {
      EXPECT_EQ(h.job(0).state, State::Cancelled) << c.name;
      EXPECT_EQ(h.fake.dialogs.boxes.size(), 1u) << c.name;
      EXPECT_FALSE(h.pool.busy(0)) << c.name;
      EXPECT_TRUE(h.sent<DownloadTicketRequest>().empty()) << c.name;
      continue;
    }
    EXPECT_EQ(h.job(0).localPath, c.path) << c.name;
    EXPECT_TRUE(h.fake.files.info(parentFolder(c.path)).isDirectory) << "made with its parents";
  }
}

TEST(DownloadQueue, TheFolderIsFixedAtTheFirstBindingAndRestartsCountOnce) {
  DownloadHarness h;
  h.fake.files.addFile("c:\\down\\a.bin", std::string(40, 'o'));
  h.add(1, "a.bin", 100);
  h.window->start();
  h.tick();
  h.view.selection = {0};
  h.window->onAction(TransferAction::StopSelected);
  h.main.folder = "c:\\other";
  h.tick();
  EXPECT_EQ(h.job(0).localPath, "c:\\down\\a.bin");
  EXPECT_EQ(h.window->queue().doneBytes(), 40) << "a restarted job is counted once";
  h.fake.loop.advance(kDisplayTimerMs);
  EXPECT_EQ(h.window->queue().doneBytes(), 40);
}

// A job queued into another local folder (a drop on the local list) binds
// there, and counts as a duplicate only of jobs for the same path there.
TEST(DownloadQueue, AJobForAnotherFolderBindsThereAndIsNoDuplicateOfTheDownloadFolders) {
  DownloadHarness h;
  h.fake.files.addFolder("d:\\local");
  h.add(1, "a.bin", 10);
  ASSERT_TRUE(h.window->add(2, "a.bin", 10, "", "d:\\local"));
  EXPECT_FALSE(h.window->add(3, "A.BIN", 10, "", "D:\\Local"));
  ASSERT_TRUE(h.window->add(4, "b.bin", 10, "sub", "d:\\local"));
  h.window->setMaxConcurrent(3);
  h.window->start();
  for (int i = 0; i < 3; ++i) h.tick();
  EXPECT_EQ(h.job(0).localPath, "c:\\down\\a.bin");
  EXPECT_EQ(h.job(1).localPath, "d:\\local\\a.bin");
  EXPECT_EQ(h.job(2).localPath, "d:\\local\\sub\\b.bin");
}

}  // namespace
}  // namespace pom::test
