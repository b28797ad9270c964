#include "run/Run_Variables.h"

#include <gtest/gtest.h>

#include "RunTestSupport.h"
#include "run/IO_Main.h"

namespace zorvex {
namespace {

using Calls = std::vector<std::string>;

class VariablesTest : public testing::RunGameTest {
 protected:
  void SetUp() override {
    obj = AddObject("obj");
    room = AddRoom("rm", {{obj, 10, 20}});
    AddRoom("rm2");
    Start();
    self = Lists().ActiveAt(0);
  }
  std::string Run(const std::string& code) {
    RValue v = Eval(code, self);
    return testing::ValueText(v);
  }
  int32_t obj = 0;
  int32_t room = 0;
  CInstance* self = nullptr;
};

TEST_F(VariablesTest, IndexedVariablesTakeIndexZeroOutsideTheirRange) {
  EXPECT_EQ(Run("alarm[12] = 5; return alarm[0]"), "5");
  EXPECT_EQ(Run("alarm[3] = 7.5; return alarm[3]"), "8");
  EXPECT_EQ(Run("alarm[1, 2] = 6; return alarm[0]"), "6");  // combined index 32002
  EXPECT_EQ(Run("background_x[9] = 10; return background_x[0]"), "10");
  EXPECT_EQ(game.run.current->room.backgrounds[0].x, 10);
  EXPECT_EQ(Run("view_wview[2] = 320.4; return view_wview[2]"), "320");
  EXPECT_EQ(Run("argument[3] = 'a'; return argument3"), "a");
  EXPECT_EQ(Run("argument15 = 2; return argument[15] + argument[16]"), "2");
}

TEST_F(VariablesTest, BooleansStoreOneOrMoreAfterRounding) {
  EXPECT_EQ(Run("visible = 0.5; return visible"), "0");
  EXPECT_EQ(Run("visible = 0.6; return visible"), "1");
  EXPECT_EQ(Run("visible = -2; return visible"), "0");
  EXPECT_EQ(Run("solid = 1.5; return solid"), "1");
  EXPECT_EQ(Run("error_occurred = 0.5; return error_occurred"), "1");
}

TEST_F(VariablesTest, InstanceFieldsGoThroughTheirOperations) {
  EXPECT_EQ(Run("x = 30; return xprevious"), "10");
  EXPECT_EQ(self->x, 30);
  EXPECT_EQ(self->y, 20);
  EXPECT_EQ(Run("vspeed = -3; return direction"), "90");
  EXPECT_EQ(Run("direction = 180; return hspeed"), "-3");
  EXPECT_EQ(Run("path_position = 1.5; return path_position"), "1");
  EXPECT_EQ(Run("image_single = 2; return image_speed"), "0");
  EXPECT_EQ(Run("return image_single"), "2");
  EXPECT_EQ(Run("image_single = -1; return image_speed + image_index"), "3");
  EXPECT_EQ(Run("return image_single"), "-1");
  EXPECT_EQ(Run("return id + object_index"), "100001");
  EXPECT_EQ(Run("return bbox_left"), "-100000");
  EXPECT_EQ(Run("return image_number + sprite_width"), "0");
  EXPECT_EQ(Run("timeline_index = 99; return timeline_index"), "99");
  // Read-only ones fail as assignment targets.
  EXPECT_NE(Run("id = 3").find("Cannot assign to the variable"), std::string::npos);
  EXPECT_NE(Run("instance_count = 3").find("Cannot assign to the variable"), std::string::npos);
}

TEST_F(VariablesTest, SpriteMeasuresFollowTheScale) {
  self->SetSprite(AddSprite("spr", 8, 6, 2, 4, 3));
  EXPECT_EQ(Run("image_xscale = 2; image_yscale = -1; return sprite_width"), "16");
  EXPECT_EQ(Run("return sprite_height"), "-6");
  EXPECT_EQ(Run("return sprite_xoffset * 10 + sprite_yoffset"), "77");
  EXPECT_EQ(Run("return image_number"), "2");
}

TEST_F(VariablesTest, LivesAndHealthRaiseTheirEventsOnceWhenTheyRunOut) {
  Code(obj, kEventOther, kOtherNoMoreLives, "rec('no lives', lives)");
  Code(obj, kEventOther, kOtherNoMoreHealth, "rec('no health', health)");
  PrepareObjects(game);
  Run("lives = 3; lives = 0; lives = 0; lives = -1");
  EXPECT_EQ(TakeCalls(), (Calls{"no lives 0"}));
  Run("lives = 1; lives = -2");
  EXPECT_EQ(TakeCalls(), (Calls{"no lives -2"}));
  Run("health = 0.5; health = 0; health = 10");
  EXPECT_EQ(TakeCalls(), (Calls{"no health 0"}));
}

TEST_F(VariablesTest, GameValuesAndTheirLimits) {
  EXPECT_EQ(Run("transition_steps = 0; return transition_steps"), "1");
  EXPECT_EQ(Run("mouse_button = 2; mouse_button = 0; return mouse_button"), "2");
  EXPECT_EQ(Run("keyboard_lastkey = 300; keyboard_lastkey = 65; return keyboard_lastkey"), "65");
  EXPECT_EQ(Run("keyboard_lastchar = 'xy'; keyboard_lastchar = ''; return keyboard_lastchar"),
            "x");
  EXPECT_EQ(Run("keyboard_string = 'abc'; return keyboard_string"), "abc");
  EXPECT_EQ(Run("return instance_id[0]"), "100001");
  EXPECT_EQ(Run("return instance_id[instance_count]"), "-4");
  EXPECT_EQ(Run("return room_first * 10 + room_last"), "1");
  EXPECT_EQ(Run("room_caption = 'Hi'; return room_caption + string(room_width)"), "Hi640");
  EXPECT_EQ(Run("room_persistent = 1; return room_persistent"), "1");
  EXPECT_EQ(Run("score = 2.5; return score"), "2");
  EXPECT_EQ(Run("caption_score = 'S'; return caption_score"), "S");
  EXPECT_EQ(Run("show_score = 0; return show_score"), "0");
  EXPECT_TRUE(game.run.score_forced);
  EXPECT_EQ(Run("error_last = 'e'; return error_last"), "e");
  EXPECT_EQ(Run("return string(current_weekday >= 1 && current_weekday <= 7)"), "1");
  EXPECT_EQ(Run("return string(current_month >= 1 && current_second < 61)"), "1");
  EXPECT_EQ(Run("return argument_relative"), "0");
}

TEST_F(VariablesTest, RoomSpeedRefusesValuesBelowOne) {
  EXPECT_EQ(Run("room_speed = 60; return room_speed"), "60");
  std::string r = Run("room_speed = 0.4");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], kRoomSpeedMessage);  // without an action context
  EXPECT_NE(r.find("Cannot assign to the variable"), std::string::npos) << r;
  EXPECT_EQ(game.run.current->room.speed, 60);
}

TEST_F(VariablesTest, RoomAsksForARoomChange) {
  Run("room = rm2");
  EXPECT_EQ(game.run.request, 1);
  EXPECT_EQ(Run("return room"), "0");
  Run("room = 7");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(fatal[0]);
  EXPECT_NE(errors[0].find("Unexisting room number: 7"), std::string::npos);
  EXPECT_EQ(game.run.request, kRequestAbort);
}

TEST_F(VariablesTest, GameVariablesThroughAnyInstance) {
  EXPECT_EQ(Run("(100001).score = 9; return self.score + other.score"), "18");
  EXPECT_EQ(Run("return (100001).x"), "10");
}

}  // namespace
}  // namespace zorvex
