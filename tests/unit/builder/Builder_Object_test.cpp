// Objects with their events and actions, through a built file, as the runner reads them.
#include <gtest/gtest.h>

#include "Builder_Test_Project.h"
#include "zorvex-build/Builder_Events.h"

namespace zorvex {
namespace {

CTestProject ObjectProject(const std::string& name) {
  CTestProject t(name);
  t.WriteSolidPng("sprites/spr_s/0.png", 2, 2, 0xFFFFFFFF);
  t.WriteSolidPng("sprites/spr_m/0.png", 2, 2, 0xFFFFFFFF);
  t.Write("objects/obj_base.json", "{}");
  t.Write("objects/obj_wall.json", R"({"solid": true})");
  return t;
}

TEST(BuilderObject, FieldsAndNamesReachTheRunner) {
  CTestProject t = ObjectProject("objects");
  t.Write("objects/obj_a.json", R"({"sprite": "spr_s", "solid": true, "visible": false,
    "depth": -5, "persistent": true, "parent": "obj_base", "mask": "spr_m"})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const CObjectTable& objects = game->resources.objects;
  ASSERT_EQ(objects.Count(), 3);
  EXPECT_EQ(objects.Name(0), "obj_a");
  EXPECT_EQ(objects.Name(1), "obj_base");
  EXPECT_EQ(objects.Name(2), "obj_wall");
  const CObject& a = *objects.Get(0);
  EXPECT_EQ(a.sprite_index, game->resources.sprites.Find("spr_s"));
  EXPECT_EQ(a.mask_index, game->resources.sprites.Find("spr_m"));
  EXPECT_EQ(a.sprite_index, 1);  // spr_m sorts first
  EXPECT_TRUE(a.solid);
  EXPECT_FALSE(a.visible);
  EXPECT_EQ(a.depth, -5);
  EXPECT_TRUE(a.persistent);
  EXPECT_EQ(a.parent_index, 1);
  const CObject& base = *objects.Get(1);
  EXPECT_EQ(base.sprite_index, -1);
  EXPECT_EQ(base.parent_index, -1);
  EXPECT_EQ(base.mask_index, -1);
  EXPECT_TRUE(base.visible);
  EXPECT_TRUE(objects.Get(2)->solid);
}

TEST(BuilderObject, EveryEventKeyGivesItsTypeAndNumber) {
  CTestProject t = ObjectProject("eventkeys");
  t.Write("objects/obj_a.json", R"({"events": {
    "create": "c;", "destroy": "d;", "alarm:11": "a;", "step": "s;", "step_begin": "sb;",
    "step_end": "se;", "collision:obj_wall": "co;", "keyboard:vk_left": "kl;",
    "keyboard:a": "ka;", "keypress:vk_f12": "kp;", "keyrelease:7": "kr;",
    "keyrelease:vk_numpad0": "kn;", "keyboard:186": "semicolon;",
    "mouse:left_press": "ml;", "mouse:ev_joystick2_button8": "mj;",
    "mouse:mouse_wheel_down": "mw;", "other:user15": "ou;", "other:boundary_view7": "ob;",
    "other:close_button": "oc;", "other:ev_room_start": "or;", "other:99": "o99;",
    "draw": "dr;"}})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const CObject& a = *game->resources.objects.Get(0);
  const struct {
    int32_t type, number;
    const char* code;
  } want[] = {{0, 0, "c;"},           {1, 0, "d;"},    {2, 11, "a;"},   {3, 0, "s;"},
              {3, 1, "sb;"},          {3, 2, "se;"},   {4, 2, "co;"},   {5, 37, "kl;"},
              {5, 65, "ka;"},         {9, 123, "kp;"}, {10, 55, "kr;"}, {10, 96, "kn;"},
              {5, 186, "semicolon;"}, {6, 4, "ml;"},   {6, 43, "mj;"},  {6, 61, "mw;"},
              {7, 25, "ou;"},         {7, 57, "ob;"},  {7, 30, "oc;"},  {7, 4, "or;"},
              {7, 99, "o99;"},        {8, 0, "dr;"}};
  size_t total = 0;
  for (int32_t type = 0; type < kEventTypeCount; ++type)
    total += a.Events(type).size();
  EXPECT_EQ(total, std::size(want));
  for (const auto& w : want) {
    const CEvent* e = a.EventOf(w.type, w.number);
    ASSERT_NE(e, nullptr) << w.type << " " << w.number;
    ASSERT_EQ(e->ActionCount(), 1);
    EXPECT_EQ(e->actions[0], CAction::FromCode(w.code)) << w.type << " " << w.number;
  }
}

TEST(BuilderObject, ActionsByLibraryAndIdKeepEveryField) {
  CTestProject t = ObjectProject("actions");
  t.Write("objects/step.gml", "speed = 2;");
  t.Write("objects/obj_a.json", R"({"events": {"step": [
    "step.gml",
    {"function": "action_if_variable", "args": ["x", "y", 1], "question": true, "not": true,
     "applies_to": "other", "library": 1, "action": 408},
    {"kind": "begin"},
    {"kind": "repeat", "args": [3], "library": 1, "action": 423},
    {"function": "action_message", "args": ["Hello#world"], "arg_kinds": ["string"],
     "applies_to": "obj_wall", "applies_to_offered": true},
    {"kind": "else"},
    {"kind": "variable", "args": ["score", "10"], "relative": true},
    {"kind": "end"},
    {"code": "exit_code.gml", "kind": "normal"},
    {"kind": "exit"},
    {"function": "action_sound", "args": ["snd", true], "arg_kinds": [2, 5],
     "exe_type": "none", "may_be_relative": true}
  ]}})");
  t.Write("objects/exit_code.gml", "instance_destroy();");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const CEvent& e = *game->resources.objects.Get(0)->EventOf(3, 0);
  ASSERT_EQ(e.ActionCount(), 11);
  EXPECT_EQ(e.actions[0], CAction::FromCode("speed = 2;"));

  const CAction& question = e.actions[1];
  EXPECT_EQ(question.exe_type, CAction::kExeFunction);
  EXPECT_EQ(question.function_name, "action_if_variable");
  EXPECT_TRUE(question.is_question);
  EXPECT_TRUE(question.not_flag);
  EXPECT_EQ(question.applies_to, -2);
  EXPECT_EQ(question.argument_count, 3);
  EXPECT_EQ(question.arguments[2], "1");
  EXPECT_FALSE(question.may_be_relative);
  EXPECT_EQ(question.library_id, 1);
  EXPECT_EQ(question.action_id, 408);

  EXPECT_EQ(e.actions[2].kind, CAction::kBeginBlock);
  EXPECT_EQ(e.actions[2].exe_type, CAction::kExeNone);
  EXPECT_EQ(e.actions[3].kind, CAction::kRepeat);
  EXPECT_EQ(e.actions[3].argument_count, 1);
  EXPECT_EQ(e.actions[3].arguments[0], "3");

  const CAction& message = e.actions[4];
  EXPECT_EQ(message.applies_to, 2);  // obj_wall
  EXPECT_EQ(message.argument_kinds[0], 1);
  EXPECT_EQ(message.arguments[0], "Hello#world");

  EXPECT_EQ(e.actions[5].kind, CAction::kElse);
  const CAction& variable = e.actions[6];
  EXPECT_EQ(variable.kind, CAction::kSetVariable);
  EXPECT_EQ(variable.exe_type, CAction::kExeCode);
  EXPECT_TRUE(variable.may_be_relative);
  EXPECT_TRUE(variable.relative);
  EXPECT_EQ(variable.argument_count, 2);
  EXPECT_EQ(variable.arguments[0], "score");
  EXPECT_EQ(variable.arguments[1], "10");
  EXPECT_EQ(e.actions[7].kind, CAction::kEndBlock);

  // Code in a normal action is the action's own code, not a code action.
  const CAction& code = e.actions[8];
  EXPECT_EQ(code.kind, CAction::kNormal);
  EXPECT_EQ(code.exe_type, CAction::kExeCode);
  EXPECT_EQ(code.code, "instance_destroy();");
  EXPECT_EQ(code.argument_count, 0);
  EXPECT_EQ(e.actions[9].kind, CAction::kExit);

  const CAction& sound = e.actions[10];
  EXPECT_EQ(sound.exe_type, CAction::kExeNone);
  EXPECT_EQ(sound.arguments[1], "1");
  EXPECT_EQ(sound.argument_kinds[0], 2);
  EXPECT_EQ(sound.argument_kinds[1], 5);
  EXPECT_TRUE(sound.may_be_relative);
  EXPECT_FALSE(sound.relative);
}

TEST(BuilderObject, BadObjectsNameTheFileAndTheField) {
  CTestProject t = ObjectProject("badobjects");
  auto error = [&](const std::string& json) {
    t.Write("objects/obj_a.json", json);
    return t.Error();
  };
  EXPECT_EQ(error(R"({"sprite": "spr_plr"})"),
            "objects/obj_a.json: field \"sprite\": no sprite named \"spr_plr\"");
  EXPECT_EQ(error(R"({"sprite": 0})"),
            "objects/obj_a.json: field \"sprite\": expected the name of a sprite (or null)");
  EXPECT_EQ(error(R"({"mask": "obj_base"})"),
            "objects/obj_a.json: field \"mask\": no sprite named \"obj_base\"");
  EXPECT_EQ(error(R"({"parent": "obj_a"})"),
            "objects/obj_a.json: field \"parent\": an object cannot be its own parent");
  t.Write("objects/obj_base.json", R"({"parent": "obj_wall"})");
  t.Write("objects/obj_wall.json", R"({"parent": "obj_a"})");
  EXPECT_EQ(error(R"({"parent": "obj_base"})"),
            "objects/obj_a.json: field \"parent\": the parents form a cycle (obj_a -> obj_base "
            "-> obj_wall -> obj_a)");
  t.Write("objects/obj_base.json", "{}");
  t.Write("objects/obj_wall.json", "{}");
  EXPECT_EQ(error(R"({"events": {"jump": "x;"}})"),
            "objects/obj_a.json: field \"events.jump\": unknown event (events are create, "
            "destroy, step, step_begin, step_end, draw, alarm:N, collision:OBJECT, keyboard:KEY, "
            "keypress:KEY, keyrelease:KEY, mouse:NAME and other:NAME)");
  EXPECT_EQ(error(R"({"events": {"alarm:12": "x;"}})"),
            "objects/obj_a.json: field \"events.alarm:12\": alarms are numbered 0 to 11");
  EXPECT_EQ(error(R"({"events": {"collision": "x;"}})"),
            "objects/obj_a.json: field \"events.collision\": give the collision event as "
            "\"collision:...\"");
  EXPECT_EQ(error(R"({"events": {"collision:obj_wal": "x;"}})"),
            "objects/obj_a.json: field \"events.collision:obj_wal\": no object named \"obj_wal\"");
  EXPECT_EQ(error(R"({"events": {"keyboard:vk_nope": "x;"}})"),
            "objects/obj_a.json: field \"events.keyboard:vk_nope\": no key named \"vk_nope\" (keys "
            "are vk_ names, a letter or digit, or a key code of two or more digits)");
  EXPECT_EQ(error(R"({"events": {"mouse:left_pressed": "x;"}})"),
            "objects/obj_a.json: field \"events.mouse:left_pressed\": no mouse event named "
            "\"left_pressed\"");
  EXPECT_EQ(error(R"({"events": {"other:user16": "x;"}})"),
            "objects/obj_a.json: field \"events.other:user16\": no other event named \"user16\"");
  EXPECT_EQ(error(R"({"events": {"keyboard:vk_left": "x;", "keyboard:37": "y;"}})"),
            "objects/obj_a.json: field \"events.keyboard:37\": the same event as "
            "\"events.keyboard:vk_left\"");
  EXPECT_EQ(error(R"({"events": {"step": "a;", "draw": "b;", "step": "c;"}})"),
            "objects/obj_a.json: field \"step\": given twice in one object");
  EXPECT_EQ(error(R"({"events": {"step": 5}})"),
            "objects/obj_a.json: field \"events.step\": expected code, a .gml file name, an "
            "action object or a list of these");
  EXPECT_EQ(error(R"({"events": {"step": ["x;", {"args": [1,2,3,4,5,6,7,8,9]}]}})"),
            "objects/obj_a.json: field \"events.step[1].args\": an action takes at most 8 "
            "arguments");
  EXPECT_EQ(error(R"({"events": {"step": {"exe_type": "function"}}})"),
            "objects/obj_a.json: field \"events.step.function\": an action that calls a function "
            "needs its name");
  EXPECT_EQ(error(R"({"events": {"step": {"function": "f", "applies_to": "obj_x"}}})"),
            "objects/obj_a.json: field \"events.step.applies_to\": no object named \"obj_x\" "
            "(expected \"self\", \"other\" or an object name)");
  EXPECT_EQ(error(R"({"events": {"step": {"function": "f", "relatve": true}}})"),
            "objects/obj_a.json: field \"events.step.relatve\": unknown field");
  EXPECT_EQ(error(R"({"events": {"step": {"kind": "variable", "args": ["a"]}}})"),
            "objects/obj_a.json: field \"events.step.args\": a variable action takes the "
            "variable and the value");
  EXPECT_EQ(error(R"({"events": {"step": {"function": "f", "args": [1], "arg_kinds": ["x"]}}})"),
            "objects/obj_a.json: field \"events.step.arg_kinds[0]\": expected \"expression\", "
            "\"string\", \"string_or_expression\" or a kind number");
  EXPECT_EQ(error(R"({"events": {"create": "setup.gml"}})"),
            "objects/obj_a.json: field \"events.create\": objects/setup.gml: cannot be read");
}

TEST(BuilderObject, KeyNames) {
  int32_t code = 0;
  EXPECT_TRUE(ParseKeyName("vk_f1", code));
  EXPECT_EQ(code, 112);
  EXPECT_TRUE(ParseKeyName("vk_numpad9", code));
  EXPECT_EQ(code, 105);
  EXPECT_FALSE(ParseKeyName("vk_f13", code));
  EXPECT_FALSE(ParseKeyName("vk_numpad10", code));
  EXPECT_TRUE(ParseKeyName("z", code));
  EXPECT_EQ(code, 'Z');
  EXPECT_TRUE(ParseKeyName("0", code));  // the digit key, not code 0
  EXPECT_EQ(code, '0');
  EXPECT_TRUE(ParseKeyName("00", code));
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(ParseKeyName("256", code));
  EXPECT_FALSE(ParseKeyName("!", code));
}

}  // namespace
}  // namespace zorvex
