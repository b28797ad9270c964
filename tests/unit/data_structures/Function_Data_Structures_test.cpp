#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "code/Code_Function.h"
#include "game/Game.h"

namespace zorvex {
namespace {

constexpr const char* kNoSuchStructure = "Data structure with index does not exist.";

// Calls a built-in by name as the interpreter would: 16 argument slots, result preset to 0.
RValue Call(CGame& game, const char* name, std::vector<RValue> args = {}) {
  int32_t id = game.functions.Find(name);
  EXPECT_GE(id, 0) << name;
  if (id < 0) return RValue();
  const FunctionEntry* e = game.functions.Entry(id);
  EXPECT_EQ(e->argc, static_cast<int32_t>(args.size())) << name;
  RValue slots[16];
  for (size_t i = 0; i < args.size(); ++i)
    slots[i] = args[i];
  RValue result;
  e->handler(game, nullptr, nullptr, static_cast<int>(args.size()), slots, result);
  return result;
}

bool ErrorEndsWith(const CGame& game, const std::string& message) {
  const std::string& m = game.errors.last_message;
  return game.errors.occurred && m.size() >= message.size() &&
         m.compare(m.size() - message.size(), message.size(), message) == 0;
}

class DSFunctions : public ::testing::Test {
 protected:
  DSFunctions() { game.errors.settings.show_errors = false; }
  RValue operator()(const char* name, std::vector<RValue> args = {}) {
    return Call(game, name, std::move(args));
  }
  CGame game;
};

TEST_F(DSFunctions, RegisteredInOrderWithTheirArgumentCounts) {
  const int32_t first = game.functions.Find("ds_set_precision");
  ASSERT_GE(first, 0);
  const struct {
    int offset;
    const char* name;
    int32_t argc;
  } expected[] = {
      {0, "ds_set_precision", 1},    {1, "ds_stack_create", 0},
      {11, "ds_stack_read", 2},      {12, "ds_queue_create", 0},
      {24, "ds_list_create", 0},     {31, "ds_list_insert", 3},
      {40, "ds_map_create", 0},      {46, "ds_map_add", 3},
      {57, "ds_priority_create", 0}, {67, "ds_priority_delete_min", 1},
      {73, "ds_grid_create", 2},     {89, "ds_grid_set_grid_region", 8},
      {92, "ds_grid_get", 3},        {101, "ds_grid_value_exists", 6},
      {107, "ds_grid_shuffle", 1},   {109, "ds_grid_read", 2},
  };
  for (const auto& e : expected) {
    const FunctionEntry* entry = game.functions.Entry(first + e.offset);
    ASSERT_NE(entry, nullptr) << e.name;
    EXPECT_EQ(entry->name, e.name);
    EXPECT_EQ(entry->argc, e.argc) << e.name;
  }
  // 110 functions in all, and nothing after them from this family.
  const FunctionEntry* after = game.functions.Entry(first + 110);
  EXPECT_TRUE(after == nullptr || after->name.rfind("ds_", 0) != 0);
}

TEST_F(DSFunctions, IdsAreReusedLowestFirst) {
  EXPECT_EQ((*this)("ds_list_create").real, 0.0);
  EXPECT_EQ((*this)("ds_list_create").real, 1.0);
  (*this)("ds_list_destroy", {0.0});
  EXPECT_EQ((*this)("ds_list_create").real, 0.0);
  // Each kind has its own table.
  EXPECT_EQ((*this)("ds_map_create").real, 0.0);
  EXPECT_FALSE(game.errors.occurred);
}

TEST_F(DSFunctions, InvalidIdsReportAndReturnZero) {
  const char* one_id[] = {"ds_stack_size",     "ds_queue_dequeue",     "ds_list_size",
                          "ds_map_find_first", "ds_priority_find_min", "ds_grid_width",
                          "ds_list_destroy"};
  for (const char* name : one_id) {
    game.errors.occurred = false;
    RValue r = (*this)(name, {3.0});
    EXPECT_TRUE(ErrorEndsWith(game, kNoSuchStructure)) << name;
    EXPECT_TRUE(r.IsReal());
    EXPECT_EQ(r.real, 0.0);
  }
  // Ids are rounded halves to even: 0.5 is 0, which exists; 1.5 is 2, which does not.
  (*this)("ds_stack_create");
  (*this)("ds_stack_create");
  game.errors.occurred = false;
  (*this)("ds_stack_push", {0.5, 7.0});
  EXPECT_FALSE(game.errors.occurred);
  EXPECT_EQ((*this)("ds_stack_top", {0.0}).real, 7.0);
  (*this)("ds_stack_push", {1.5, 7.0});
  EXPECT_TRUE(ErrorEndsWith(game, kNoSuchStructure));
  // Copies need both ids.
  game.errors.occurred = false;
  (*this)("ds_stack_copy", {0.0, 5.0});
  EXPECT_TRUE(ErrorEndsWith(game, kNoSuchStructure));
  EXPECT_EQ((*this)("ds_stack_size", {0.0}).real, 1.0);
}

TEST_F(DSFunctions, ErrorCarriesTheContextPrefix) {
  game.errors.context.action_index = 2;
  (*this)("ds_grid_get", {0.0, 0.0, 0.0});
  EXPECT_EQ(game.errors.last_message.rfind("ERROR in\r\naction number 3\r\n", 0), 0u);
}

// Operation sequences with the results worked out by hand.
struct Step {
  const char* name;
  std::vector<RValue> args;
  RValue expected;
};

void RunSteps(CGame& game, const std::vector<Step>& steps) {
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& s = steps[i];
    RValue r = Call(game, s.name, s.args);
    EXPECT_TRUE(r == s.expected) << "step " << i << " " << s.name << ": got kind " << r.kind
                                 << " real " << r.real << " str '" << r.str << "'";
  }
  EXPECT_FALSE(game.errors.occurred) << game.errors.last_message;
}

TEST_F(DSFunctions, StackSequence) {
  RunSteps(game, {
                     {"ds_stack_create", {}, 0.0},
                     {"ds_stack_empty", {0.0}, 1.0},
                     {"ds_stack_pop", {0.0}, 0.0},
                     {"ds_stack_size", {0.0}, 0.0},
                     {"ds_stack_push", {0.0, 1.0}, 0.0},
                     {"ds_stack_push", {0.0, "two"}, 0.0},
                     {"ds_stack_top", {0.0}, "two"},
                     {"ds_stack_size", {0.0}, 2.0},
                     {"ds_stack_create", {}, 1.0},
                     {"ds_stack_copy", {1.0, 0.0}, 0.0},
                     {"ds_stack_pop", {0.0}, "two"},
                     {"ds_stack_pop", {0.0}, 1.0},
                     {"ds_stack_empty", {0.0}, 1.0},
                     {"ds_stack_size", {1.0}, 2.0},
                     {"ds_stack_clear", {1.0}, 0.0},
                     {"ds_stack_top", {1.0}, 0.0},
                 });
}

TEST_F(DSFunctions, QueueSequence) {
  RunSteps(game, {
                     {"ds_queue_create", {}, 0.0},
                     {"ds_queue_head", {0.0}, 0.0},
                     {"ds_queue_enqueue", {0.0, "a"}, 0.0},
                     {"ds_queue_enqueue", {0.0, 2.0}, 0.0},
                     {"ds_queue_enqueue", {0.0, 3.0}, 0.0},
                     {"ds_queue_head", {0.0}, "a"},
                     {"ds_queue_tail", {0.0}, 3.0},
                     {"ds_queue_dequeue", {0.0}, "a"},
                     {"ds_queue_size", {0.0}, 2.0},
                     {"ds_queue_write",
                      {0.0},
                      std::string("C9000000"
                                  "03000000"
                                  "01000000"
                                  "10000000"
                                  "01000000"
                                  "0000000000000000"
                                  "01000000"
                                  "61"
                                  "00000000"
                                  "0000000000000040"
                                  "00000000"
                                  "00000000"
                                  "0000000000000840"
                                  "00000000") +
                          std::string(13 * 32, '0')},
                     {"ds_queue_dequeue", {0.0}, 2.0},
                     {"ds_queue_dequeue", {0.0}, 3.0},
                     {"ds_queue_empty", {0.0}, 1.0},
                     {"ds_queue_dequeue", {0.0}, 0.0},
                 });
}

TEST_F(DSFunctions, ListSequence) {
  RunSteps(game, {
                     {"ds_list_create", {}, 0.0},
                     {"ds_list_add", {0.0, 3.0}, 0.0},
                     {"ds_list_add", {0.0, "a"}, 0.0},
                     {"ds_list_add", {0.0, 1.0}, 0.0},
                     {"ds_list_sort", {0.0, 1.0}, 0.0},
                     {"ds_list_find_value", {0.0, 0.0}, 1.0},
                     {"ds_list_find_value", {0.0, 2.0}, "a"},
                     {"ds_list_find_value", {0.0, 3.0}, 0.0},
                     {"ds_list_sort", {0.0, 0.49}, 0.0},  // below 0.5: descending
                     {"ds_list_find_value", {0.0, 0.0}, "a"},
                     {"ds_list_insert", {0.0, 1.0, 1.005}, 0.0},
                     {"ds_list_find_index", {0.0, 1.0}, 3.0},
                     {"ds_set_precision", {-0.01}, 0.0},  // the absolute value is used
                     {"ds_list_find_index", {0.0, 1.0}, 1.0},
                     {"ds_list_replace", {0.0, 0.0, "b"}, 0.0},
                     {"ds_list_delete", {0.0, 1.0}, 0.0},
                     {"ds_list_find_index", {0.0, 1.0}, 2.0},
                     {"ds_list_delete", {0.0, 9.0}, 0.0},
                     {"ds_list_size", {0.0}, 3.0},
                     {"ds_list_write",
                      {0.0},
                      "2D010000"
                      "03000000"
                      "01000000"
                      "0000000000000000"
                      "01000000"
                      "62"
                      "00000000"
                      "0000000000000840"
                      "00000000"
                      "00000000"
                      "000000000000F03F"
                      "00000000"},
                 });
}

TEST_F(DSFunctions, MapSequence) {
  RunSteps(game, {
                     {"ds_map_create", {}, 0.0},
                     {"ds_map_find_first", {0.0}, 0.0},
                     {"ds_map_add", {0.0, 2.0, "two"}, 0.0},
                     {"ds_map_add", {0.0, 1.0, "one"}, 0.0},
                     {"ds_map_add", {0.0, 3.0, "three"}, 0.0},
                     {"ds_map_add", {0.0, 2.0, "again"}, 0.0},
                     {"ds_map_size", {0.0}, 4.0},
                     {"ds_map_find_value", {0.0, 2.0}, "two"},
                     {"ds_map_find_previous", {0.0, 4.0}, 3.0},
                     {"ds_map_find_next", {0.0, 3.0}, 0.0},
                     {"ds_map_find_previous", {0.0, 1.0}, 0.0},
                     {"ds_map_find_next", {0.0, 1.0}, 2.0},
                     {"ds_map_find_last", {0.0}, 3.0},
                     {"ds_map_exists", {0.0, 4.0}, 0.0},
                     {"ds_map_delete", {0.0, 2.0}, 0.0},
                     {"ds_map_find_value", {0.0, 2.0}, "again"},
                     {"ds_map_replace", {0.0, 2.0, "new"}, 0.0},
                     {"ds_map_find_value", {0.0, 2.0}, "new"},
                     {"ds_map_exists", {0.0, 2.0}, 1.0},
                     {"ds_map_find_value", {0.0, 9.0}, 0.0},
                 });
}

TEST_F(DSFunctions, PrioritySequence) {
  RunSteps(game, {
                     {"ds_priority_create", {}, 0.0},
                     {"ds_priority_delete_min", {0.0}, 0.0},
                     {"ds_priority_add", {0.0, "a", 3.0}, 0.0},
                     {"ds_priority_add", {0.0, "b", 1.0}, 0.0},
                     {"ds_priority_add", {0.0, "c", 5.0}, 0.0},
                     {"ds_priority_add", {0.0, "d", 1.0}, 0.0},
                     {"ds_priority_find_min", {0.0}, "b"},
                     {"ds_priority_find_max", {0.0}, "c"},
                     {"ds_priority_delete_min", {0.0}, "b"},  // d moves to index 1
                     {"ds_priority_delete_min", {0.0}, "d"},
                     {"ds_priority_change_priority", {0.0, "c", 0.0}, 0.0},
                     {"ds_priority_find_priority", {0.0, "c"}, 0.0},
                     {"ds_priority_find_priority", {0.0, "a"}, 3.0},
                     {"ds_priority_delete_max", {0.0}, "a"},
                     {"ds_priority_size", {0.0}, 1.0},
                     {"ds_priority_delete_value", {0.0, "c"}, 0.0},
                     {"ds_priority_empty", {0.0}, 1.0},
                 });
}

TEST_F(DSFunctions, GridSequence) {
  RunSteps(game, {
                     {"ds_grid_create", {4.0, 3.0}, 0.0},
                     {"ds_grid_width", {0.0}, 4.0},
                     {"ds_grid_height", {0.0}, 3.0},
                     {"ds_grid_clear", {0.0, 2.0}, 0.0},
                     {"ds_grid_get_sum", {0.0, 0.0, 0.0, 3.0, 2.0}, 24.0},
                     {"ds_grid_set", {0.0, 1.0, 1.0, "s"}, 0.0},
                     {"ds_grid_add", {0.0, 1.0, 1.0, "t"}, 0.0},
                     {"ds_grid_get", {0.0, 1.0, 1.0}, "st"},
                     {"ds_grid_multiply_region", {0.0, 0.0, 0.0, 1.0, 2.0, 3.0}, 0.0},
                     // Five cells of 6 (the string cell is not multiplied) and six of 2.
                     {"ds_grid_get_sum", {0.0, 0.0, 0.0, 3.0, 2.0}, 42.0},
                     {"ds_grid_get_max", {0.0, 0.0, 0.0, 3.0, 2.0}, 6.0},
                     {"ds_grid_get_min", {0.0, 2.0, 0.0, 3.0, 2.0}, 2.0},
                     {"ds_grid_get_mean", {0.0, 0.0, 0.0, 0.0, 2.0}, 6.0},
                     {"ds_grid_value_exists", {0.0, 0.0, 0.0, 3.0, 2.0, "st"}, 1.0},
                     {"ds_grid_value_x", {0.0, 0.0, 0.0, 3.0, 2.0, "st"}, 1.0},
                     {"ds_grid_value_y", {0.0, 0.0, 0.0, 3.0, 2.0, "st"}, 1.0},
                     {"ds_grid_value_x", {0.0, 0.0, 0.0, 3.0, 2.0, 2.0}, 2.0},
                     {"ds_grid_value_disk_exists", {0.0, 1.0, 1.0, 0.5, "st"}, 1.0},
                     {"ds_grid_value_disk_y", {0.0, 3.0, 2.0, 0.9, 2.0}, 2.0},
                     {"ds_grid_get_disk_sum", {0.0, 3.0, 2.0, 1.0}, 6.0},
                     {"ds_grid_resize", {0.0, 2.0, 2.0}, 0.0},
                     {"ds_grid_get_sum", {0.0, 0.0, 0.0, 9.0, 9.0}, 18.0},
                     {"ds_grid_create", {2.0, 2.0}, 1.0},
                     {"ds_grid_set_grid_region", {1.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0}, 0.0},
                     {"ds_grid_get", {1.0, 1.0, 1.0}, 6.0},
                     {"ds_grid_get", {1.0, 0.0, 0.0}, 0.0},
                 });
}

TEST_F(DSFunctions, ReadRefusalsAndTheirErrors) {
  (*this)("ds_list_create");
  (*this)("ds_list_add", {0.0, 5.0});
  const RValue before = (*this)("ds_list_write", {0.0});
  // Another kind's string: silently refused.
  (*this)("ds_list_read", {0.0, "6500000000000000"});
  EXPECT_FALSE(game.errors.occurred);
  // Not hexadecimal, and cut short: refused with an error.
  (*this)("ds_list_read", {0.0, "2D01000001000000ZZ"});
  EXPECT_TRUE(ErrorEndsWith(game, "the string is not hexadecimal."));
  game.errors.occurred = false;
  (*this)("ds_list_read", {0.0, "2D01000001000000"});
  EXPECT_TRUE(ErrorEndsWith(game, "the string is incomplete or damaged."));
  EXPECT_TRUE((*this)("ds_list_write", {0.0}) == before);
  // A valid string of another list replaces the content.
  (*this)("ds_list_create");
  (*this)("ds_list_add", {1.0, "x"});
  (*this)("ds_list_read", {0.0, (*this)("ds_list_write", {1.0})});
  EXPECT_TRUE((*this)("ds_list_find_value", {0.0, 0.0}) == RValue("x"));
  EXPECT_EQ((*this)("ds_list_size", {0.0}).real, 1.0);
}

TEST_F(DSFunctions, EveryKindRoundTripsThroughItsWrittenForm) {
  const char* kinds[] = {"stack", "queue", "list", "map", "priority", "grid"};
  for (const char* kind : kinds) {
    const std::string k = kind;
    const std::string create = "ds_" + k + "_create";
    std::vector<RValue> create_args;
    if (k == "grid") create_args = {3.0, 2.0};
    double a = Call(game, create.c_str(), create_args).real;
    double b = Call(game, create.c_str(), create_args).real;
    if (k == "stack") Call(game, "ds_stack_push", {a, "p"});
    if (k == "queue") Call(game, "ds_queue_enqueue", {a, "q"});
    if (k == "list") Call(game, "ds_list_add", {a, "l"});
    if (k == "map") Call(game, "ds_map_add", {a, "key", 4.0});
    if (k == "priority") Call(game, "ds_priority_add", {a, "v", 2.0});
    if (k == "grid") Call(game, "ds_grid_set", {a, 2.0, 1.0, "g"});
    const std::string write = "ds_" + k + "_write", read = "ds_" + k + "_read";
    RValue w = Call(game, write.c_str(), {a});
    ASSERT_TRUE(w.IsString());
    Call(game, read.c_str(), {b, w});
    EXPECT_TRUE(Call(game, write.c_str(), {b}) == w) << kind;
  }
  EXPECT_FALSE(game.errors.occurred) << game.errors.last_message;
}

TEST_F(DSFunctions, GridTooLargeIsRefused) {
  EXPECT_EQ((*this)("ds_grid_create", {1e6, 1e6}).real, -1.0);
  EXPECT_TRUE(ErrorEndsWith(game, "Cannot make a grid that large."));
  EXPECT_EQ((*this)("ds_grid_create", {-2.0, 3.0}).real, 0.0);  // negative counts as 0
  EXPECT_EQ((*this)("ds_grid_width", {0.0}).real, 0.0);
}

TEST_F(DSFunctions, ShuffleUsesTheWiredGenerator) {
  struct Counter {
    int calls = 0;
    static uint32_t Draw(void* ctx, uint32_t n) {
      ++static_cast<Counter*>(ctx)->calls;
      return n - 1;
    }
  } counter;
  game.data_structures.random.draw = Counter::Draw;
  game.data_structures.random.context = &counter;
  (*this)("ds_list_create");
  for (double v : {1.0, 2.0, 3.0, 4.0})
    (*this)("ds_list_add", {0.0, v});
  (*this)("ds_list_shuffle", {0.0});
  EXPECT_EQ(counter.calls, 64);  // 4 x 8 pairs
  (*this)("ds_grid_create", {2.0, 2.0});
  (*this)("ds_grid_shuffle", {0.0});
  EXPECT_EQ(counter.calls, 64 + 2 * 2 * 8 * 4);
}

}  // namespace
}  // namespace zorvex
