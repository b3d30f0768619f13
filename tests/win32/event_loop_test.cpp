// Win32EventLoop driven by a plain message pump, as the program's loop drives it.
#include "platform/win32/win32_event_loop.h"

#include <gtest/gtest.h>

#include <string>

#include "support/message_pump.h"

namespace pom {
namespace {

using test::pumpUntil;

TEST(Win32EventLoop, PostedCallsRunInOrderAtTheNextTurn) {
  Win32EventLoop loop;
  ASSERT_TRUE(loop.valid());
  std::string trace;
  const auto a = loop.post([&] { trace += 'a'; });
  const auto b = loop.post([&] {
    trace += 'b';
    loop.post([&] { trace += 'd'; });  // posted from a callback: runs later
  });
  loop.post([&] { trace += 'c'; });
  EXPECT_NE(a, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(trace, "");  // nothing runs synchronously
  EXPECT_TRUE(pumpUntil([&] { return trace.size() == 4; }, 2000));
  EXPECT_EQ(trace, "abcd");
}

TEST(Win32EventLoop, DelayedCallRunsOnceAndCancelledCallsNever) {
  Win32EventLoop loop;
  int delayed = 0;
  int cancelledPost = 0;
  int cancelledDelay = 0;
  loop.postDelayed(30, [&] { ++delayed; });
  loop.stopTimer(loop.post([&] { ++cancelledPost; }));
  loop.stopTimer(loop.postDelayed(20, [&] { ++cancelledDelay; }));
  loop.stopTimer(12345);  // unknown ids are ignored
  EXPECT_TRUE(pumpUntil([&] { return delayed > 0; }, 2000));
  test::pumpFor(150);
  EXPECT_EQ(delayed, 1);
  EXPECT_EQ(cancelledPost, 0);
  EXPECT_EQ(cancelledDelay, 0);
}

TEST(Win32EventLoop, RepeatingTimerStopsItselfFromItsCallback) {
  Win32EventLoop loop;
  int ticks = 0;
  EventLoop::TimerId id = 0;
  id = loop.startTimer(15, [&] {
    if (++ticks == 3) loop.stopTimer(id);
  });
  ASSERT_NE(id, 0u);
  EXPECT_TRUE(pumpUntil([&] { return ticks >= 3; }, 3000));
  test::pumpFor(120);
  EXPECT_EQ(ticks, 3);
}

TEST(Win32EventLoop, DestroyedLoopRunsNothingPending) {
  int ran = 0;
  {
    Win32EventLoop loop;
    loop.post([&] { ++ran; });
    loop.startTimer(10, [&] { ++ran; });
  }
  test::pumpFor(100);
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace pom
