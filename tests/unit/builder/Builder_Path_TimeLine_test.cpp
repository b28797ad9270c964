// Paths and time lines, through a built file, as the runner reads them.
#include <gtest/gtest.h>

#include "Builder_Test_Project.h"

namespace zorvex {
namespace {

TEST(BuilderPath, PointsAndOptionsReachTheRunner) {
  CTestProject t("paths");
  t.Write("paths/pth_loop.json", R"({"kind": "smooth", "precision": 6,
    "points": [[0, 0], [10.5, -4, 50], {"x": 3, "y": 9}, {"x": 1, "y": 2, "speed": 0}]})");
  t.Write("paths/pth_open.json", R"({"kind": 0, "closed": false, "points": [[1, 2], [4, 6]]})");
  t.Write("paths/pth_none.json", "{}");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const CPathTable& paths = game->resources.paths;
  ASSERT_EQ(paths.Count(), 3);
  const CPath& loop = *paths.Get(paths.Find("pth_loop"));
  EXPECT_EQ(loop.kind, 1);
  EXPECT_TRUE(loop.closed);
  EXPECT_EQ(loop.precision, 6);
  EXPECT_EQ(loop.points,
            (std::vector<CPathPoint>{{0, 0, 100}, {10.5, -4, 50}, {3, 9, 100}, {1, 2, 0}}));
  const CPath& open = *paths.Get(paths.Find("pth_open"));
  EXPECT_EQ(open.kind, 0);
  EXPECT_FALSE(open.closed);
  EXPECT_EQ(open.precision, 4);
  // The runner derives the curve: a straight open path from (1, 2) to (4, 6) is 5 long.
  EXPECT_DOUBLE_EQ(open.length, 5.0);
  const CPath& none = *paths.Get(paths.Find("pth_none"));
  EXPECT_TRUE(none.points.empty());

  t.Write("paths/pth_none.json", R"({"points": [[1, 2], [3]]})");
  EXPECT_EQ(t.Error(),
            "paths/pth_none.json: field \"points[1]\": expected [x, y], [x, y, speed] or "
            "{\"x\": .., \"y\": .., \"speed\": ..} (speed in percent, 100 when left out)");
  t.Write("paths/pth_none.json", R"({"points": [{"x": 1, "y": 2, "z": 3}]})");
  EXPECT_EQ(t.Error().rfind("paths/pth_none.json: field \"points[0]\": expected", 0), 0u);
  t.Write("paths/pth_none.json", R"({"precision": 9})");
  EXPECT_EQ(t.Error(), "paths/pth_none.json: field \"precision\": expected 0 to 8");
  t.Write("paths/pth_none.json", R"({"kind": "curvy"})");
  EXPECT_EQ(
      t.Error(),
      "paths/pth_none.json: field \"kind\": expected one of \"straight\" (0), \"smooth\" (1)");
}

TEST(BuilderTimeLine, MomentsInStepOrderWithTheirActions) {
  CTestProject t("timelines");
  t.Write("timelines/tl_main.json", R"({"moments": {
    "30": {"function": "action_set_alarm", "args": [10, 0], "relative": true,
           "library": 1, "action": 301},
    "0": "x = 1;",
    "-5": ["a = 1;", "later.gml"]
  }})");
  t.Write("timelines/later.gml", "b = 2;");
  auto game = t.Load();
  ASSERT_TRUE(game);
  CTimeLine& line = *game->resources.time_lines.Get(0);
  EXPECT_EQ(game->resources.time_lines.Name(0), "tl_main");
  ASSERT_EQ(line.MomentCount(), 3);
  EXPECT_EQ(line.MomentStep(0), -5);
  EXPECT_EQ(line.MomentStep(1), 0);
  EXPECT_EQ(line.MomentStep(2), 30);
  // Code becomes the code action: kind 7, code execution, the text as its first argument.
  const CEvent& first = *line.MomentEvent(0);
  ASSERT_EQ(first.ActionCount(), 2);
  EXPECT_EQ(first.actions[0], CAction::FromCode("a = 1;"));
  EXPECT_EQ(first.actions[1], CAction::FromCode("b = 2;"));
  const CAction& alarm = line.MomentEvent(2)->actions.at(0);
  EXPECT_EQ(alarm.library_id, 1);
  EXPECT_EQ(alarm.action_id, 301);
  EXPECT_EQ(alarm.kind, CAction::kNormal);
  EXPECT_EQ(alarm.exe_type, CAction::kExeFunction);
  EXPECT_EQ(alarm.function_name, "action_set_alarm");
  EXPECT_EQ(alarm.argument_count, 2);
  EXPECT_EQ(alarm.arguments[0], "10");
  EXPECT_EQ(alarm.arguments[1], "0");
  EXPECT_EQ(alarm.argument_kinds[0], 0);
  EXPECT_TRUE(alarm.relative);
  EXPECT_TRUE(alarm.may_be_relative);
  EXPECT_TRUE(alarm.applies_to_offered);
  EXPECT_EQ(alarm.applies_to, -1);
  EXPECT_FALSE(alarm.is_question);

  t.Write("timelines/tl_main.json", R"({"moments": {"10": "a;", "010": "b;"}})");
  EXPECT_EQ(t.Error(),
            "timelines/tl_main.json: field \"moments.010\": a second moment for step 10");
  t.Write("timelines/tl_main.json", R"({"moments": {"soon": "a;"}})");
  EXPECT_EQ(t.Error(),
            "timelines/tl_main.json: field \"moments.soon\": a moment's key is its step, a whole "
            "number");
  t.Write("timelines/tl_main.json", R"({"moments": {"1": "missing.gml"}})");
  EXPECT_EQ(t.Error(),
            "timelines/tl_main.json: field \"moments.1\": timelines/missing.gml: cannot be read");
  t.Write("timelines/tl_main.json", R"({"moments": [1]})");
  EXPECT_EQ(t.Error(),
            "timelines/tl_main.json: field \"moments\": expected an object of \"STEP\": actions");
}

}  // namespace
}  // namespace zorvex
