#include "run/Run_Command.h"

#include <gtest/gtest.h>

#include "RunTestSupport.h"

namespace zorvex {
namespace {

// Rooms r0, r1, r2 played in the order r2, r0, r1.
class RoomCommandTest : public testing::RunGameTest {
 protected:
  void SetUp() override {
    AddRoom("r0");
    AddRoom("r1");
    AddRoom("r2");
    game.resources.room_order.order = {2, 0, 1};
    Start();
  }
  bool HasError(size_t i, const std::string& text) {
    return i < errors.size() && errors[i].find(text) != std::string::npos;
  }
};

TEST_F(RoomCommandTest, NeighboursFollowTheRoomOrder) {
  EXPECT_EQ(game.run.room_index, 2);
  EXPECT_EQ(Eval("return room_previous(r0)").real, 2);
  EXPECT_EQ(Eval("return room_next(r0)").real, 1);
  EXPECT_EQ(Eval("return room_next(r1)").real, -1);      // the last
  EXPECT_EQ(Eval("return room_previous(r2)").real, -1);  // the first
  EXPECT_EQ(Eval("return room_next(r2)").real, 0);
  EXPECT_EQ(Eval("return room_previous(9)").real, -1);
  EXPECT_EQ(Eval("return room_next(-1)").real, -1);
  Eval("room_goto_next()");
  EXPECT_EQ(game.run.request, 0);
  HandleRequest(game);
  Eval("room_goto_previous()");
  EXPECT_EQ(game.run.request, 2);
  Eval("room_restart()");
  EXPECT_EQ(game.run.request, 0);
  // Of several requests the last one wins.
  Eval("room_goto(r1); game_restart(); room_goto(r2)");
  EXPECT_EQ(game.run.request, 2);
  Eval("game_end()");
  EXPECT_EQ(game.run.request, kRequestEndGame);
  Eval("game_restart()");
  EXPECT_EQ(game.run.request, kRequestRestart);
  Eval("game_load('some.sav')");
  EXPECT_EQ(game.run.request, kRequestLoad);
  EXPECT_EQ(game.run.load_file_name, "some.sav");
  // A room change through the variable is the same request.
  Eval("room = r1");
  EXPECT_EQ(game.run.request, 1);
  EXPECT_TRUE(errors.empty()) << Errors();
}

TEST_F(RoomCommandTest, MovingBeforeTheFirstRoomEndsTheGameForGood) {
  Eval("room_goto_previous(); room_goto(r0); game_load('x.sav'); game_restart()");
  EXPECT_EQ(game.run.request, kRequestAbort);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(fatal[0]);
  EXPECT_TRUE(HasError(0, "Moving to previous room before the first room."));
  EXPECT_FALSE(HandleRequest(game));
}

TEST_F(RoomCommandTest, MovingAfterTheLastRoomEndsTheGame) {
  Eval("room_goto(r1)");
  HandleRequest(game);
  Eval("room_goto_next()");
  EXPECT_EQ(game.run.request, kRequestAbort);
  EXPECT_TRUE(HasError(0, "Moving to next room after the last room."));
}

TEST_F(RoomCommandTest, AnUnexistingRoomEndsTheGame) {
  Eval("room_goto(7)");
  EXPECT_EQ(game.run.request, kRequestAbort);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(fatal[0]);
  EXPECT_TRUE(HasError(0, "Unexisting room number: 7"));
}

// Time that moves 100 microseconds at every reading and by the whole amount of every sleep.
class SteppingTime final : public ITimeSource {
 public:
  int64_t MonotonicMicros() override { return now_ += 100; }
  void SleepMicros(int64_t us) override { now_ += us; }

 private:
  int64_t now_ = 0;
};

TEST_F(RoomCommandTest, SleepWaitsOnTheGameClock) {
  SteppingTime time;
  CClock& clock = game.graphics.clock;
  clock.SetSource(&time);
  clock.Start();
  int64_t before = clock.Now();
  Eval("sleep(3)");
  int64_t slept = clock.Now() - before;
  EXPECT_GE(slept, 3000);
  EXPECT_LE(slept, 3300);
  before = clock.Now();
  Eval("sleep(0); sleep(-5)");
  EXPECT_LE(clock.Now() - before, 100);
  clock.SetSource(nullptr);
}

}  // namespace
}  // namespace zorvex
