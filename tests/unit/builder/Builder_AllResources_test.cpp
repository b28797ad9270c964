// The test project that uses every resource kind: it builds, and the runner reads the whole
// file with its own section table.
#include <gtest/gtest.h>

#include "Builder_Test_Project.h"

namespace zorvex {
namespace {

TEST(BuilderAllResources, TheProjectLoadsCompletely) {
  CProject project;
  std::string error;
  ASSERT_TRUE(ReadProject(std::filesystem::path(ZORVEX_TEST_DATA_DIR) / "games/all_resources",
                          project, error))
      << error;
  auto game = CTestProject::LoadBuilt(project);
  ASSERT_TRUE(game);
  const CResources& r = game->resources;
  EXPECT_EQ(game->game_id, 20240);
  EXPECT_EQ(game->settings.constant_names, (std::vector<std::string>{"START_LIVES", "GREETING"}));
  EXPECT_EQ(game->information.caption, "About");

  ASSERT_EQ(r.extensions.packages.size(), 1u);
  EXPECT_EQ(r.extensions.FindFunction("util_greet"), 7);
  EXPECT_EQ(r.extensions.packages[0].files[0].functions[1].code, "return argument0 * 2;");
  EXPECT_EQ(r.sounds.Count(), 2);
  EXPECT_EQ(r.sounds.Get(r.sounds.Find("snd_beep"))->effects, 2 | 16);
  EXPECT_EQ(r.sprites.Count(), 3);
  EXPECT_EQ(r.sprites.Get(r.sprites.Find("spr_ball"))->FrameCount(), 2);
  // The magenta surround of the block is keyed out: the box is the green part.
  const CSprite& block = *r.sprites.Get(r.sprites.Find("spr_block"));
  EXPECT_EQ((CRect{block.bbox_left, block.bbox_top, block.bbox_right, block.bbox_bottom}),
            (CRect{2, 4, 13, 11}));
  EXPECT_EQ(r.backgrounds.Count(), 2);
  EXPECT_EQ(r.paths.Count(), 2);
  EXPECT_EQ(r.scripts.Count(), 2);
  EXPECT_EQ(r.fonts.Count(), 2);
  EXPECT_EQ(r.time_lines.Count(), 1);
  ASSERT_EQ(r.objects.Count(), 4);
  EXPECT_EQ(r.objects.Name(0), "obj_base");  // listed first in game.json
  const CObject& player = *r.objects.Get(r.objects.Find("obj_player"));
  EXPECT_EQ(player.parent_index, 0);
  EXPECT_EQ(player.EventOf(0, 0)->actions[0].arguments[0], "hspeed_wanted = 0;\r\ndrawn = 0;\r\n");
  EXPECT_EQ(player.EventOf(8, 0)->ActionCount(), 3);
  ASSERT_EQ(r.rooms.Count(), 2);
  EXPECT_EQ(r.rooms.Get(0)->instances.size(), 3u);
  EXPECT_EQ(r.rooms.last_instance_id, 100004);
  EXPECT_EQ(r.included_files.files.size(), 2u);
  EXPECT_EQ(r.library_init.code,
            (std::vector<std::string>{"global.lib_ready = 1;", "global.lib_second = 2;\r\n"}));
  EXPECT_EQ(r.room_order.order, (std::vector<int32_t>{0, 1}));
}

// The demo game builds and loads too.
TEST(BuilderAllResources, TheDemoLoadsCompletely) {
  CProject project;
  std::string error;
  ASSERT_TRUE(
      ReadProject(std::filesystem::path(ZORVEX_TEST_DATA_DIR) / "../examples/demo", project, error))
      << error;
  auto game = CTestProject::LoadBuilt(project);
  ASSERT_TRUE(game);
  EXPECT_EQ(game->resources.rooms.Count(), 2);
  EXPECT_EQ(game->resources.room_order.order, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(game->resources.objects.Count(), 4);
}

}  // namespace
}  // namespace zorvex
