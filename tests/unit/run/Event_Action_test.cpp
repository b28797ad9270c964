#include "run/Event_Action.h"

#include <gtest/gtest.h>

#include "RunTestSupport.h"
#include "code/Code_Main.h"

namespace zorvex {
namespace {

using Calls = std::vector<std::string>;

class ActionTest : public testing::RunGameTest {
 protected:
  // A function action; argument kinds default to expressions.
  CAction Fn(const std::string& function, std::vector<std::string> args = {},
             std::vector<int32_t> kinds = {}) {
    CAction a;
    a.exe_type = CAction::kExeFunction;
    a.function_name = function;
    a.function_id = game.functions.Find(function);
    a.argument_count = static_cast<int32_t>(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
      a.arguments[i] = args[i];
      a.argument_kinds[i] = i < kinds.size() ? kinds[i] : 0;
    }
    return a;
  }
  CAction Rec(const std::string& text) { return Fn("rec", {text}, {1}); }
  // A question through abs(): true for 1, false for 0.
  CAction Ask(bool answer, bool negate = false) {
    CAction a = Fn("abs", {answer ? "1" : "0"});
    a.is_question = true;
    a.not_flag = negate;
    return a;
  }
  CAction Of(int32_t kind) {
    CAction a;
    a.kind = kind;
    return a;
  }
  CAction Repeat(const std::string& count) {
    CAction a = Of(CAction::kRepeat);
    a.argument_count = 1;
    a.arguments[0] = count;
    return a;
  }

  // An object "a" whose create event holds the actions; placed once in a room.
  void RunCreate(std::vector<CAction> actions) {
    int32_t a = AddObject("a");
    Event(a, kEventCreate, 0).actions = std::move(actions);
    AddRoom("r", {{a}});
    Start();
  }
};

TEST_F(ActionTest, BlocksQuestionsAndElse) {
  RunCreate({Ask(false), Rec("A"), Of(CAction::kElse), Of(CAction::kBeginBlock), Rec("B"),
             Rec("C"), Of(CAction::kEndBlock), Rec("D"), Ask(true), Of(CAction::kBeginBlock),
             Rec("E"), Of(CAction::kEndBlock), Of(CAction::kElse), Rec("F"), Ask(true, true),
             Rec("G"), Rec("H")});
  EXPECT_EQ(TakeCalls(), (Calls{"B", "C", "D", "E", "H"}));
}

TEST_F(ActionTest, TheInnerElseServesTheOuterQuestion) {
  // Two questions and no block: with the outer answer false, the inner question and its action
  // are skipped together and the else runs.
  RunCreate({Ask(false), Ask(true), Rec("A"), Of(CAction::kElse), Rec("B"), Rec("C")});
  EXPECT_EQ(TakeCalls(), (Calls{"B", "C"}));
}

TEST_F(ActionTest, RepeatCountsRoundHalvesToEven) {
  RunCreate({Repeat("2.5"), Rec("x"), Repeat("3.5"), Rec("y"), Repeat("-1"), Rec("z"),
             Repeat("2"), Of(CAction::kBeginBlock), Rec("a"), Rec("b"), Of(CAction::kEndBlock)});
  EXPECT_EQ(TakeCalls(), (Calls{"x", "x", "y", "y", "y", "y", "a", "b", "a", "b"}));
}

TEST_F(ActionTest, ExitEndsOnlyItsOwnEvent) {
  int32_t a = AddObject("a");
  Event(a, kEventOther, kOtherUser0).actions = {Rec("inner"), Of(CAction::kExit), Rec("never")};
  Event(a, kEventCreate, 0).actions = {Fn("event_user", {"0"}), Rec("after")};
  AddRoom("r", {{a}});
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"inner", "after"}));
}

TEST_F(ActionTest, AppliesToOtherAndToObjects) {
  int32_t a = AddObject("a");
  int32_t b = AddObject("b");
  int32_t bchild = AddObject("bchild", b);
  int32_t none = AddObject("none");
  CAction to_other = Fn("rec", {"id"});
  to_other.applies_to_offered = true;
  to_other.applies_to = -2;
  CAction to_b = Fn("rec", {"id", "other.id"});
  to_b.applies_to_offered = true;
  to_b.applies_to = b;
  CAction not_offered = Fn("rec", {"id"});
  not_offered.applies_to = b;  // without the offer the action applies to self
  CAction ask_none = Ask(false);
  ask_none.applies_to_offered = true;
  ask_none.applies_to = none;  // no instances: true
  Event(a, kEventOther, kOtherUser0).actions = {to_other, to_b, not_offered, ask_none, Rec("yes")};
  AddRoom("r", {{b}, {bchild}, {b}, {a}});
  Start();
  ASSERT_NE(game.run.current, nullptr) << Errors() << game.run.request;
  Find(100003)->marked = true;  // destroyed: skipped
  CInstance* self = Find(100004);
  PerformEvent(game, self, self, kEventOther, kOtherUser0);
  EXPECT_EQ(TakeCalls(), (Calls{"100004", "100001 100004", "100002 100004", "100004", "yes"}));
}

TEST_F(ActionTest, QuestionsForAllInstancesOfAnObject) {
  int32_t a = AddObject("a");
  int32_t b = AddObject("b");
  CAction all_b = Fn("abs", {"x"});
  all_b.is_question = true;
  all_b.applies_to_offered = true;
  all_b.applies_to = b;
  Event(a, kEventOther, kOtherUser0).actions = {all_b, Rec("all"), Of(CAction::kElse),
                                                Rec("not all")};
  AddRoom("r", {{b, 1, 0}, {b, 1, 0}, {a}});
  Start();
  CInstance* inst = Find(100003);
  PerformEvent(game, inst, inst, kEventOther, kOtherUser0);
  Find(100002)->SetPosition(0, 0);
  PerformEvent(game, inst, inst, kEventOther, kOtherUser0);
  EXPECT_EQ(TakeCalls(), (Calls{"all", "not all"}));
}

TEST_F(ActionTest, RequestsStopTheEventAndAllFurtherEvents) {
  int32_t a = AddObject("a");
  int32_t b = AddObject("b");
  Event(a, kEventCreate, 0).actions = {Rec("1"), Fn("room_goto", {"second"}), Rec("2")};
  Event(b, kEventCreate, 0).actions = {Rec("b")};
  AddRoom("first", {{a}, {b}});
  AddRoom("second");
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"1"}));
  EXPECT_EQ(game.run.request, 1);
}

TEST_F(ActionTest, RelativeChoiceAndArgumentsOfActions) {
  CAction rel = Fn("rec", {"argument_relative", "x + 1", "'q'"});
  rel.may_be_relative = true;
  rel.relative = true;
  CAction offered_only = Fn("rec", {"argument_relative"});
  offered_only.relative = true;  // not offered: never relative
  RunCreate({rel, offered_only, Fn("rec", {"argument_relative"})});
  EXPECT_EQ(TakeCalls(), (Calls{"1 1 q", "0", "0"}));
}

TEST_F(ActionTest, VariableAndCodeActionsBecomeCode) {
  int32_t a = AddObject("a");
  CAction set = Of(CAction::kSetVariable);
  set.exe_type = CAction::kExeCode;
  set.arguments[0] = "score";
  set.arguments[1] = "10";
  set.relative = true;
  set.may_be_relative = true;
  set.argument_count = 2;
  CAction plain = set;
  plain.relative = false;
  plain.arguments[0] = "global.g";
  Event(a, kEventStep, 0).actions = {set, plain};
  AddRoom("r", {{a}});
  Start();
  const CAction& prepared = Event(a, kEventStep, 0).actions[0];
  EXPECT_EQ(prepared.kind, CAction::kNormal);
  EXPECT_EQ(prepared.argument_count, 0);
  EXPECT_TRUE(prepared.compiled);
  Step(2);
  EXPECT_EQ(game.run.score, 20);
  EXPECT_EQ(Eval("return global.g").real, 10);
}

TEST_F(ActionTest, ArgumentsBecomeConstantsWherePossible) {
  int32_t a = AddObject("a");
  CEvent& e = Event(a, kEventCreate, 0);
  e.actions = {Fn("rec", {"hello", "'hello'", "3+4", "x+1", "a b", "\"q\"+\"r\"", "1+2", "c"},
                  {2, 2, 0, 0, 1, 2, 15, 5})};
  ASSERT_TRUE(PrepareObjects(game)) << Errors();
  const CAction& p = e.actions[0];
  EXPECT_EQ(p.argument_kinds[0], -1);
  EXPECT_EQ(p.argument_values[0], RValue("hello"));
  EXPECT_EQ(p.argument_kinds[1], -1);
  EXPECT_EQ(p.argument_values[1], RValue("hello"));
  EXPECT_EQ(p.argument_kinds[2], -1);
  EXPECT_EQ(p.argument_values[2], RValue(7.0));
  EXPECT_FALSE(p.argument_codes[2]);
  EXPECT_EQ(p.argument_kinds[3], 0);
  EXPECT_TRUE(p.argument_codes[3]);
  EXPECT_EQ(p.argument_values[4], RValue("a b"));
  EXPECT_EQ(p.argument_values[5], RValue("qr"));
  EXPECT_EQ(p.argument_values[6], RValue("1+2"));  // kind 15 is literal text
  EXPECT_EQ(p.argument_kinds[7], 0);              // any other kind: an expression
  EXPECT_TRUE(p.arguments[3].empty());            // the texts are gone
}

TEST_F(ActionTest, CompileErrorsAreFatalAndNameTheirPlace) {
  int32_t a = AddObject("obj_hero");
  Code(a, kEventCreate, 0, "x = 1");
  Code(a, kEventCreate, 0, "x = ");
  EXPECT_FALSE(PrepareObjects(game));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(fatal[0]);
  const std::string prefix =
      "FATAL ERROR in\r\naction number 2\r\nof Create Event\r\nfor object obj_hero:\r\n\r\n"
      "COMPILATION ERROR in code action\r";
  EXPECT_EQ(errors[0].substr(0, prefix.size()), prefix) << errors[0];
  EXPECT_EQ(game.run.request, kRequestAbort);
}

TEST_F(ActionTest, ArgumentCompileErrorsNameTheArgument) {
  int32_t a = AddObject("obj");
  Event(a, kEventAlarm, 3).actions = {Fn("rec", {"1", "(2"})};
  EXPECT_FALSE(PrepareObjects(game));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("of Alarm Event for alarm 3\r\n"), std::string::npos) << errors[0];
  EXPECT_NE(errors[0].find("COMPILATION ERROR in argument 1\r"), std::string::npos) << errors[0];
}

TEST_F(ActionTest, TimeLineCompileErrorsNameTheMoment) {
  auto tl = std::make_unique<CTimeLine>();
  tl->AddMoment(5)->AddCodeAction("x = ");
  game.resources.time_lines.Append(std::move(tl), "tl_intro");
  EXPECT_FALSE(CompileTimeLines(game));
  ASSERT_EQ(errors.size(), 1u);
  const std::string prefix =
      "FATAL ERROR in\r\naction number 1\r\nat time step 5\r\nof time line tl_intro:\r\n\r\n"
      "COMPILATION ERROR in code action\r";
  EXPECT_EQ(errors[0].substr(0, prefix.size()), prefix) << errors[0];
}

TEST_F(ActionTest, RunTimeErrorsOfActionsAreShownAndTheEventGoesOn) {
  RunCreate({Fn("rec", {"x / 0"}), Rec("after")});
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_FALSE(fatal[0]);
  EXPECT_EQ(TakeCalls(), (Calls{"0", "after"}));
}

}  // namespace
}  // namespace zorvex
