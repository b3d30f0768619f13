// The upload queue on its own: what is queued, ticket keys that travel with
// their job, the member's moves, removal and its totals, the sort with its
// own direction flag, the cancel toggle, the limit, and the indices of the
// folders waiting for their web folder.
#include "core/transfer/upload_queue.h"

#include <gtest/gtest.h>

#include <set>

#include "support/memory_file_system.h"

namespace pom {
namespace {

class RecordingHost : public UploadQueueHost {
 public:
  std::vector<int> stopped;
  void stopUpload(int slot) override { stopped.push_back(slot); }
};

class QueueTest : public ::testing::Test {
 protected:
  // Queues c:\up\<name> of size bytes; the row's index.
  int add(const std::string& name, std::size_t size) {
    files.addFile("c:\\up\\" + name, std::string(size, 'x'));
    EXPECT_TRUE(queue.add("c:\\up\\" + name, 5, "sub")) << name;
    return queue.size() - 1;
  }
  std::string names() const {
    std::string out;
    for (const UploadJob& job : queue.jobs()) out += job.localPath.substr(6);
    return out;
  }
  // Binds the job at index to slot as the window does when it asks for a
  // ticket, then sets its state.
  void bind(int index, int slot, UploadState state) {
    UploadJob& job = queue.job(index);
    job.slot = slot;
    job.ticketPending = state == UploadState::Waiting;
    job.state = state;
  }

  MemoryFileSystem files;
  RecordingHost host;
  UploadQueue queue{files, host};
};

TEST_F(QueueTest, QueuesOnlyNonEmptyFilesWithKeysThatAreUniqueAndNeverZero) {
  files.addFile("c:\\up\\empty", "");
  files.addFolder("c:\\up\\dir");
  EXPECT_FALSE(queue.add("c:\\up\\empty", 5, ""));
  EXPECT_FALSE(queue.add("c:\\up\\dir", 5, ""));
  EXPECT_FALSE(queue.add("c:\\up\\missing", 5, ""));
  EXPECT_FALSE(files.has("c:\\up\\missing")) << "nothing is created";
  std::set<std::uint16_t> keys;
  for (int i = 0; i < 5; ++i) add(std::string(1, static_cast<char>('a' + i)), 10);
  queue.removeRows({1, 3});
  add("f", 10);
  for (const UploadJob& job : queue.jobs()) {
    EXPECT_NE(job.ticketKey, 0);
    EXPECT_TRUE(keys.insert(job.ticketKey).second) << "key " << job.ticketKey << " twice";
    EXPECT_EQ(job.state, UploadState::Waiting);
    EXPECT_EQ(job.shownState, "대기");
  }
  EXPECT_EQ(queue.jobForKey(0), -1);
  // A long folder text is cut at a character boundary: 49 two-byte
  // characters and not half of the 50th.
  std::string longText;
  for (int i = 0; i < 60; ++i) longText += "가";
  files.addFile("c:\\up\\g", "g");
  ASSERT_TRUE(queue.add("c:\\up\\g", 5, longText));
  EXPECT_EQ(queue.jobs().back().subFolder.size(), 98u);
}

TEST_F(QueueTest, MovesKeepEachJobWithItsKey) {
  for (const char* name : {"a", "b", "c", "d"}) add(name, 10);
  const std::uint16_t keyOfC = queue.job(2).ticketKey;
  struct Step {
    const char* what;
    std::vector<int> (UploadQueue::*move)(const std::vector<int>&);
    std::vector<int> rows;
    const char* order;
    std::vector<int> selected;
  } steps[] = {
      {"c to the top", &UploadQueue::moveTop, {2}, "cabd", {0}},
      {"a and d to the end", &UploadQueue::moveEnd, {1, 3}, "cbad", {2, 3}},
      {"b and a one up", &UploadQueue::moveUp, {1, 2}, "bacd", {0, 1}},
      {"the top row stays on top", &UploadQueue::moveUp, {0}, "bacd", {0}},
      {"a and c one down", &UploadQueue::moveDown, {1, 2}, "bdac", {2, 3}},
  };
  for (const Step& step : steps) {
    EXPECT_EQ((queue.*step.move)(step.rows), step.selected) << step.what;
    EXPECT_EQ(names(), step.order) << step.what;
  }
  EXPECT_EQ(queue.moveBefore({3}, 0), std::vector<int>({0}));
  EXPECT_EQ(names(), "cbda");
  EXPECT_EQ(queue.jobForKey(keyOfC), 0) << "the key went with c";
}

TEST_F(QueueTest, RemovalKeepsSendingJobsAndTheTotalsFollow) {
  add("a", 1000);  // completed
  add("b", 2000);  // sending
  add("c", 3000);  // waiting for its ticket on slot 1
  add("d", 4000);  // failed part-way
  queue.job(0).sent = 1000;
  queue.resetTo(0, UploadState::Completed);
  bind(1, 0, UploadState::Sending);
  queue.job(1).sent = 500;
  bind(2, 1, UploadState::Waiting);
  queue.job(3).sent = 100;
  queue.resetTo(3, UploadState::Failed);
  queue.recomputeDone();
  EXPECT_EQ(queue.queuedBytes(), 10000);
  EXPECT_EQ(queue.doneBytes(), 1600);

  queue.removeRows({1, 2});
  EXPECT_EQ(names(), "abd") << "a job that sends is never removed";
  EXPECT_EQ(host.stopped, std::vector<int>({1})) << "the ticket's slot is let go";
  EXPECT_EQ(queue.queuedBytes(), 7000);
  queue.removeCompleted();
  EXPECT_EQ(names(), "bd");
  EXPECT_EQ(queue.queuedBytes(), 6000);
  EXPECT_EQ(queue.doneBytes(), 600);
  EXPECT_EQ(queue.doneAtRefresh(), 600);
}

TEST_F(QueueTest, SortsByPathSizeAndStateWithOneDirectionFlag) {
  add("b", 30);
  add("a", 10);
  add("c", 20);
  queue.resetTo(2, UploadState::Completed);
  struct Click {
    int column;
    const char* order;
  } clicks[] = {{0, "abc"}, {0, "cba"}, {1, "bca"}, {1, "acb"}, {2, "abc"}};
  for (const Click& click : clicks) {
    EXPECT_TRUE(queue.sortBy(click.column));
    EXPECT_EQ(names(), click.order) << "column " << click.column;
  }
  EXPECT_FALSE(queue.sortBy(3));
}

TEST_F(QueueTest, CancelToggleAndLimitStopEveryBoundJob) {
  add("a", 10);
  add("b", 10);
  add("c", 10);
  bind(0, 0, UploadState::Connecting);
  bind(1, 1, UploadState::Announced);
  bind(2, 2, UploadState::Waiting);  // ticket pending
  queue.running = true;

  queue.setMaxConcurrent(2);
  EXPECT_EQ(host.stopped, std::vector<int>({2}));
  EXPECT_EQ(queue.job(2).state, UploadState::Stopped);
  EXPECT_EQ(queue.job(2).shownState, "중지");
  EXPECT_EQ(queue.job(2).slot, -1);
  EXPECT_FALSE(queue.job(2).ticketPending);

  queue.toggleCancel(0);
  EXPECT_EQ(queue.job(0).state, UploadState::Cancelled);
  EXPECT_TRUE(queue.running) << "b and c still have work";
  queue.stopAll();
  EXPECT_EQ(host.stopped, std::vector<int>({2, 0, 1}));
  EXPECT_FALSE(queue.running);
  queue.resetTo(1, UploadState::Completed);
  queue.resetTo(2, UploadState::Completed);
  bind(0, 0, UploadState::Connecting);
  queue.running = true;
  queue.toggleCancel(0);
  EXPECT_FALSE(queue.running) << "nothing is left to do";
  queue.toggleCancel(0);
  EXPECT_EQ(queue.job(0).state, UploadState::Waiting);
  EXPECT_TRUE(queue.running);
  EXPECT_EQ(queue.maxConcurrent, 2);
  queue.setMaxConcurrent(7);
  EXPECT_EQ(queue.maxConcurrent, 1) << "a limit outside 1..3 becomes 1";
}

TEST_F(QueueTest, PendingFolderIndicesAreAnsweredOnceAndNeverReusedSoon) {
  const std::uint16_t first = queue.addPendingFolder("c:\\up\\x", false);
  const std::uint16_t second = queue.addPendingFolder("c:\\up\\y", true);
  EXPECT_NE(first, second);
  EXPECT_EQ(queue.foldersPending(), 2);
  EXPECT_FALSE(queue.takePendingFolder(static_cast<std::uint16_t>(second + 1)));
  const auto taken = queue.takePendingFolder(second);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->path, "c:\\up\\y");
  EXPECT_TRUE(taken->descend);
  EXPECT_FALSE(queue.takePendingFolder(second)) << "answered already";
  queue.clear();
  EXPECT_EQ(queue.foldersPending(), 0);
  const std::uint16_t third = queue.addPendingFolder("c:\\up\\z", false);
  EXPECT_NE(third, first) << "a late answer for a dropped folder finds nothing";
  EXPECT_NE(third, second);
}

}  // namespace
}  // namespace pom
