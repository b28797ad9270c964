#include "graphics/Graphics_Timer.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorvex {
namespace {

// Time moves 10 us per reading and by the requested amount per sleep.
class FakeTime : public ITimeSource {
 public:
  int64_t now = 1000000;
  int64_t step = 10;
  std::vector<int64_t> sleeps;
  int64_t MonotonicMicros() override {
    int64_t t = now;
    now += step;
    return t;
  }
  void SleepMicros(int64_t us) override {
    sleeps.push_back(us);
    now += us;
  }
};

TEST(GraphicsTimer, SleepsOnlyWithTwoMillisecondsLeftAndSpinsTheRest) {
  FakeTime time;
  CClock clock;
  clock.SetSource(&time);
  int pumped = 0;
  clock.process_messages = [&] { ++pumped; };
  clock.Start();
  clock.Wait(1999);
  EXPECT_TRUE(time.sleeps.empty());
  EXPECT_GE(pumped, 199);  // spun the whole time, processing messages each round

  int64_t before = clock.Now();
  pumped = 0;
  clock.Wait(2000);
  ASSERT_EQ(time.sleeps.size(), 1u);
  EXPECT_EQ(time.sleeps[0], 1000);  // (2000 - 1000) div 1000 ms
  EXPECT_GE(clock.Now() - before, 2000);
  EXPECT_GE(pumped, 1);

  time.sleeps.clear();
  clock.Wait(33333);
  ASSERT_EQ(time.sleeps.size(), 1u);
  EXPECT_EQ(time.sleeps[0], 32000);

  pumped = 0;
  clock.Wait(0);
  clock.Wait(-5);
  EXPECT_EQ(pumped, 0);
}

TEST(GraphicsTimer, ClockGoingBackEndsTheWait) {
  FakeTime time;
  time.step = -100;
  CClock clock;
  clock.SetSource(&time);
  int pumped = 0;
  clock.process_messages = [&] { ++pumped; };
  clock.Start();
  clock.Wait(1500);
  EXPECT_EQ(pumped, 1);
}

TEST(GraphicsTimer, NowCountsFromStartAndVerticalBlankWaitsForTheNextTick) {
  FakeTime time;
  time.step = 0;
  CClock clock;
  clock.SetSource(&time);
  clock.Start();
  time.now += 20000;
  EXPECT_EQ(clock.Now(), 20000);
  clock.WaitVerticalBlank(0);  // 60 Hz: ticks every 16666 us, the next at 33332
  ASSERT_EQ(time.sleeps.size(), 1u);
  EXPECT_EQ(time.sleeps[0], 13332);
  clock.WaitVerticalBlank(100);  // now 33332; ticks every 10000: next at 40000
  EXPECT_EQ(time.sleeps[1], 6668);
}

TEST(GraphicsTimer, SystemClockIsMonotonic) {
  CClock clock;
  clock.Start();
  int64_t a = clock.Now();
  clock.Wait(3000);
  int64_t b = clock.Now();
  EXPECT_GE(a, 0);
  EXPECT_GE(b - a, 3000);
}

}  // namespace
}  // namespace zorvex
