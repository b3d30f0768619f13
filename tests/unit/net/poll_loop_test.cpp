// The POSIX loop's timers and the seeded random generator (no sockets here;
// those are exercised over loopback by the integration tests).
#include "platform/posix/poll_loop.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_random.h"

namespace pom {
namespace {

TEST(PollLoop, RunsPostedCallsTimersAndStopsThem) {
  PollLoop loop;
  std::vector<int> order;
  loop.postDelayed(30, [&] { order.push_back(30); });
  loop.post([&] { order.push_back(0); });
  const EventLoop::TimerId cancelled = loop.postDelayed(10, [&] { order.push_back(-1); });
  loop.stopTimer(cancelled);
  loop.stopTimer(12345);  // unknown ids are ignored

  int ticks = 0;
  EventLoop::TimerId repeating = 0;
  repeating = loop.startTimer(5, [&] {
    if (++ticks == 3) loop.stopTimer(repeating);  // a timer may stop itself
  });
  EXPECT_NE(repeating, 0u);
  ASSERT_TRUE(loop.runUntil([&] { return order.size() == 2 && ticks == 3; }, 2000));
  EXPECT_EQ(order, (std::vector<int>{0, 30}));
  loop.runFor(30);
  EXPECT_EQ(ticks, 3);
}

TEST(PollLoop, StopEndsRunFromACallback) {
  PollLoop loop;
  int calls = 0;
  loop.post([&] {
    ++calls;
    loop.post([&] {
      ++calls;
      loop.stop();
    });
  });
  loop.postDelayed(5000, [&] { calls = 100; });
  loop.run();
  EXPECT_EQ(calls, 2);
}

TEST(PollLoop, PostedCallsMadeWhileRunningWaitForTheNextTurn) {
  // A call that keeps posting itself must not keep the loop in one turn.
  PollLoop loop;
  int spins = 0;
  std::function<void()> again = [&] {
    ++spins;
    loop.post(again);
  };
  loop.post(again);
  loop.runOnce(0);
  EXPECT_EQ(spins, 1);
  EXPECT_FALSE(loop.runUntil([] { return false; }, 20));
  EXPECT_GT(spins, 1);
}

TEST(PosixRandom, FollowsTheCRuntimeSequenceAndRange) {
  PosixRandom random;
  random.seed(1);
  // The first values of rand() after srand(1) in the Windows C runtime.
  EXPECT_EQ(random.next(), 41);
  EXPECT_EQ(random.next(), 18467);
  EXPECT_EQ(random.next(), 6334);
  random.seed(1);
  EXPECT_EQ(random.next(), 41) << "seeding again repeats the sequence";
  random.seed(0xDEADBEEF);
  for (int i = 0; i < 10000; ++i) {
    const int v = random.next();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, random.maxValue());
  }
}

TEST(PosixClock, TicksForward) {
  PosixClock clock;
  PollLoop loop;
  const std::uint32_t before = clock.tickCount();
  loop.runFor(20);
  const std::uint32_t elapsed = clock.tickCount() - before;
  EXPECT_GE(elapsed, 19u);
}

}  // namespace
}  // namespace pom
