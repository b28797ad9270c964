#include "functions/Function_Math_Random.h"

#include <gtest/gtest.h>

#include "Function_Test_Call.h"

namespace zorvex {
namespace {

using testing::FunctionCaller;

// Seeds worked out from seed = seed * 134775813 + 1 (mod 2^32), starting at 0:
// 1, 134775814, 3698175007, 870078620, 1172187917.
TEST(MathRandom, SequenceFromSeedZero) {
  CRandom r;
  r.SetSeed(0);
  EXPECT_EQ(r.Next(), 1u);
  EXPECT_EQ(r.Next(), 134775814u);
  EXPECT_EQ(r.Next(), 3698175007u);
  EXPECT_EQ(r.Next(), 870078620u);
  EXPECT_EQ(r.Next(), 1172187917u);
}

TEST(MathRandom, RealAndIntegerDraws) {
  CRandom r;
  r.SetSeed(0);
  EXPECT_EQ(r.NextReal(), 1.0 / 4294967296.0);
  EXPECT_EQ(r.NextReal(), 134775814.0 / 4294967296.0);
  // Integer draws are the high half of n * seed: 10 * 3698175007 >> 32 is 8.
  EXPECT_EQ(r.NextBelow(10), 8u);
  EXPECT_EQ(r.NextBelow(10), 2u);  // 10 * 870078620 >> 32
  EXPECT_EQ(r.NextBelow(0), 0u);
  // 1298181734 * 134775813 + 1 is 2^32 - 1 (mod 2^32): the largest seed draws n - 1.
  r.SetSeed(1298181734u);
  EXPECT_EQ(r.NextBelow(7), 6u);
  EXPECT_EQ(r.seed(), 0xFFFFFFFFu);
  EXPECT_EQ(r.Next(), 4160191484u);  // (2^32 - 1) * 134775813 + 1 is 1 - 134775813 (mod 2^32)
}

TEST(MathRandom, FixedStartSeedReplacesTheClock) {
  CRandom r;
  r.FixStartSeed(12345);
  EXPECT_EQ(r.seed(), 12345u);
  r.Next();
  r.SeedFromClock();  // game start and randomize
  EXPECT_EQ(r.seed(), 12345u);
  EXPECT_EQ(r.Next(), 1655067934u);
}

TEST(MathRandom, GameFunctionsShareTheSequence) {
  FunctionCaller f;
  f.Call("random_set_seed", {0.0});
  EXPECT_EQ(f.Real("random", {1.0}), 1.0 / 4294967296.0);
  EXPECT_EQ(f.Real("random_get_seed", {}), 1.0);
  EXPECT_EQ(f.Real("random", {100.0}), 134775814.0 / 4294967296.0 * 100.0);
  // The third seed, 3698175007, reads as a signed 32-bit integer.
  EXPECT_EQ(f.Real("choose", {10.0, 20.0, 30.0}), 30.0);  // 3 * 3698175007 >> 32 = 2
  EXPECT_EQ(f.Real("random_get_seed", {}), -596792289.0);
  EXPECT_EQ(f.Real("choose", {10.0, 20.0, 30.0}), 10.0);  // 3 * 870078620 >> 32 = 0
  // choose() without arguments does not draw.
  EXPECT_EQ(f.Real("choose", {}), 0.0);
  EXPECT_EQ(f.Real("random_get_seed", {}), 870078620.0);
  EXPECT_EQ(f.game.random.seed(), 870078620u);
}

TEST(MathRandom, SetSeedTakesTheLowBitsOfTheRoundedValue) {
  FunctionCaller f;
  f.Call("random_set_seed", {-1.0});
  EXPECT_EQ(f.game.random.seed(), 0xFFFFFFFFu);
  EXPECT_EQ(f.Real("random_get_seed", {}), -1.0);
  f.Call("random_set_seed", {4294967297.0});
  EXPECT_EQ(f.Real("random_get_seed", {}), 1.0);
  f.Call("random_set_seed", {2.5});  // halves to even
  EXPECT_EQ(f.Real("random_get_seed", {}), 2.0);
  f.Call("random_set_seed", {3.5});
  EXPECT_EQ(f.Real("random_get_seed", {}), 4.0);
  // The same seed replays the same draws.
  f.Call("random_set_seed", {777.0});
  double a = f.Real("random", {50.0});
  double b = f.Real("choose", {1.0, 2.0, 3.0, 4.0, 5.0});
  f.Call("random_set_seed", {777.0});
  EXPECT_EQ(f.Real("random", {50.0}), a);
  EXPECT_EQ(f.Real("choose", {1.0, 2.0, 3.0, 4.0, 5.0}), b);
}

TEST(MathRandom, RandomizeUsesTheFixedSeedWhenOneIsGiven) {
  FunctionCaller f;
  f.game.random.FixStartSeed(99);
  f.Call("random", {1.0});
  EXPECT_EQ(f.Real("randomize", {}), 0.0);
  EXPECT_EQ(f.Real("random_get_seed", {}), 99.0);
}

}  // namespace
}  // namespace zorvex
