#include "platform/Platform_Loop.h"

#include <gtest/gtest.h>

namespace zorvex {
namespace {

TEST(PlatformLoop, TimersTickWhenDueWithoutCatchingUp) {
  CManualClock clock;
  CMessageLoop loop(clock);
  int ticks = 0;
  loop.AddTimer(
      50, [&] { ++ticks; }, true);
  loop.ProcessMessages();
  EXPECT_EQ(ticks, 0);
  clock.Advance(49999);
  loop.ProcessMessages();
  EXPECT_EQ(ticks, 0);
  clock.Advance(1);
  loop.ProcessMessages();
  EXPECT_EQ(ticks, 1);
  loop.ProcessMessages();
  EXPECT_EQ(ticks, 1);
  clock.Advance(1000000);  // a long stall gives one tick, not twenty
  loop.ProcessMessages();
  EXPECT_EQ(ticks, 2);
  clock.Advance(50000);
  loop.ProcessMessages();
  EXPECT_EQ(ticks, 3);
}

TEST(PlatformLoop, OneShotStartTimerAndDisabledTimers) {
  CManualClock clock;
  CMessageLoop loop(clock);
  std::vector<std::string> log;
  CMessageLoop::TimerId start = 0, end = 0;
  end = loop.AddTimer(
      100, [&] { log.push_back("end"); }, false);
  start = loop.AddTimer(
      100,
      [&] {
        loop.SetTimerEnabled(start, false);
        log.push_back("start");
        // Pumping inside a handler neither re-enters it nor loses other messages.
        clock.Advance(200000);
        loop.ProcessMessages();
        loop.SetTimerEnabled(end, true);
      },
      true);
  for (int i = 0; i < 10; ++i) {
    clock.Advance(100000);
    loop.ProcessMessages();
  }
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0], "start");
  EXPECT_EQ(std::count(log.begin(), log.end(), "start"), 1);
  // The end timer began its interval when enabled and ticks every 100 ms from then on.
  EXPECT_EQ(std::count(log.begin(), log.end(), "end"), 9);
  EXPECT_FALSE(loop.TimerEnabled(start));
}

TEST(PlatformLoop, PostedInputArrivesInOrderAndRunEndsOnTerminate) {
  CManualClock clock;
  CMessageLoop loop(clock);
  std::vector<InputMessage> got;
  loop.on_input = [&](const InputMessage& m) { got.push_back(m); };
  loop.Post({InputKind::kKeyDown, 37, 0, 0});
  loop.Post({InputKind::kMouseMove, 0, 4, 5});
  int ticks = 0;
  CMessageLoop::TimerId t = loop.AddTimer(
      100,
      [&] {
        if (++ticks == 3) loop.Terminate();
      },
      true);
  loop.Run();  // sleeps on the manual clock, so this ends at once
  EXPECT_TRUE(loop.Terminated());
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(clock.NowMicros(), 300000);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].code, 37);
  EXPECT_EQ(got[1].y, 5);
  loop.RemoveTimer(t);
  EXPECT_FALSE(loop.TimerEnabled(t));
}

TEST(PlatformLoop, TimersCanRemoveThemselves) {
  CManualClock clock;
  CMessageLoop loop(clock);
  int a = 0, b = 0;
  CMessageLoop::TimerId ta = 0;
  ta = loop.AddTimer(
      10,
      [&] {
        ++a;
        loop.RemoveTimer(ta);
        loop.AddTimer(
            10, [&] { ++b; }, true);
      },
      true);
  for (int i = 0; i < 3; ++i) {
    clock.Advance(10000);
    loop.ProcessMessages();
  }
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
}

}  // namespace
}  // namespace zorvex
