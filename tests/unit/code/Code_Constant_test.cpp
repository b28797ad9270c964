#include "code/Code_Constant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "CodeTestSupport.h"
#include "game/Game.h"

namespace zorvex {
namespace {

double Constant(const CLanguage& lang, const char* name) {
  RValue v;
  EXPECT_TRUE(FindConstant(lang, name, v)) << name;
  EXPECT_TRUE(v.IsReal()) << name;
  return v.real;
}

TEST(Constants, TheBuiltinTableHas288DistinctNames) {
  CConstantTable t;
  AddBuiltinConstants(t);
  ASSERT_EQ(t.Count(), 288);
  std::set<std::string> names;
  for (int i = 0; i < t.Count(); ++i)
    names.insert(t.At(i).first);
  EXPECT_EQ(names.size(), 288u);
  EXPECT_EQ(t.At(0).first, "self");
  EXPECT_EQ(t.At(287).first, "ef_snow");
}

TEST(Constants, SpotValuesAcrossTheFamilies) {
  CGame game;
  const CLanguage& l = game.language;
  EXPECT_EQ(Constant(l, "self"), -1);
  EXPECT_EQ(Constant(l, "local"), -7);
  EXPECT_EQ(Constant(l, "true"), 1);
  EXPECT_EQ(Constant(l, "pi"), std::numbers::pi);
  EXPECT_EQ(Constant(l, "pr_trianglefan"), 6);
  EXPECT_EQ(Constant(l, "c_orange"), 4235519);  // 64*65536 + 160*256 + 255
  EXPECT_EQ(Constant(l, "c_silver"), Constant(l, "c_ltgray"));
  EXPECT_EQ(Constant(l, "c_teal"), 128 * 65536 + 128 * 256);
  EXPECT_EQ(Constant(l, "bm_src_alpha_sat"), 11);
  EXPECT_EQ(Constant(l, "se_equalizer"), 64);
  EXPECT_EQ(Constant(l, "fa_bottom"), 2);
  EXPECT_EQ(Constant(l, "mb_any"), -1);
  EXPECT_EQ(Constant(l, "vk_numpad7"), 103);
  EXPECT_EQ(Constant(l, "vk_subtract"), 109);
  EXPECT_EQ(Constant(l, "vk_f10"), 121);
  EXPECT_EQ(Constant(l, "vk_ralt"), 165);
  EXPECT_EQ(Constant(l, "ev_keyrelease"), 10);
  EXPECT_EQ(Constant(l, "ev_joystick1_button8"), 28);
  EXPECT_EQ(Constant(l, "ev_joystick2_button1"), 36);
  EXPECT_EQ(Constant(l, "ev_mouse_wheel_down"), 61);
  EXPECT_EQ(Constant(l, "ev_user15"), 25);
  EXPECT_EQ(Constant(l, "ev_close_button"), 30);
  EXPECT_EQ(Constant(l, "ev_step_end"), 2);
  EXPECT_EQ(Constant(l, "dll_stdcall"), 1);
  EXPECT_EQ(Constant(l, "fa_archive"), 32);
  EXPECT_EQ(Constant(l, "cr_arrow"), -2);
  EXPECT_EQ(Constant(l, "cr_arrrow"), -2);
  EXPECT_EQ(Constant(l, "cr_size_nesw"), -6);
  EXPECT_EQ(Constant(l, "cr_size_all"), -22);
  EXPECT_EQ(Constant(l, "pt_shape_snow"), 13);
  EXPECT_EQ(Constant(l, "ps_change_motion"), 2);
  EXPECT_EQ(Constant(l, "ef_rain"), 10);
  RValue v;
  EXPECT_FALSE(FindConstant(l, "C_RED", v));
  EXPECT_FALSE(FindConstant(l, "cr_size", v));
}

TEST(Constants, ResourceNamesComeFirstInKindOrderThenLatestDefinition) {
  CGame game;
  CLanguage& l = game.language;
  testing::TestLookup lookup;
  l.lookup = &lookup;
  lookup.resources[ResourceKind::kRoom] = {"r0", "shared"};
  lookup.resources[ResourceKind::kSprite] = {"", "c_red", "shared"};
  lookup.resources[ResourceKind::kObject] = {"o0", "o1", "o2", "shared"};
  EXPECT_EQ(Constant(l, "c_red"), 1);   // a sprite hides the colour
  EXPECT_EQ(Constant(l, "shared"), 3);  // objects before sprites and rooms
  EXPECT_EQ(Constant(l, "r0"), 0);
  l.constants.Add("c_blue", RValue(5.0));
  l.constants.Add("c_blue", RValue("later"));
  RValue v;
  ASSERT_TRUE(FindConstant(l, "c_blue", v));
  EXPECT_EQ(v, RValue("later"));
}

}  // namespace
}  // namespace zorvex
